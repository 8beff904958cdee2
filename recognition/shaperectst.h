#pragma once

#include "recognition/lipitk/ltkcapturedevice.h"
#include "recognition/lipitk/ltkscreencontext.h"
#include "recognition/lipitk/ltkshaperecoresult.h"

#include <QList>
#include <QPointF>
#include <QVector>

#include <string>
#include <vector>

// The offline handwriting recogniser: one character's strokes in, the class number of the best
// match out. The engine library, its recogniser and model are shared by every recogniser of the
// process: loaded on first use from the folder named by LIPI_ROOT (when it is unset or empty,
// the folder "lipi" beside the program) and released with the last recogniser. Without an
// engine a page still works and every call answers kNoMatch.
// GUI thread only.
class recog
{
public:
    static constexpr int kNoMatch = -1;

    recog();
    ~recog();
    recog(const recog &) = delete;
    recog &operator=(const recog &) = delete;

    // Loads the engine if it is not loaded yet; false when it cannot be found or loaded.
    bool isAvailable();
    // Strokes in scene coordinates, in drawing order; kNoMatch without an engine, without any
    // point or when the engine finds no class.
    int reconocer(const QList<QVector<QPointF>> &strokes);
    // The count best classes for the strokes, best first (the first is reconocer's answer); empty
    // where reconocer answers kNoMatch. A line of writing picks among them (HandwritingLine).
    QVector<int> choices(const QList<QVector<QPointF>> &strokes, int count);

private:
    bool recognise(const QList<QVector<QPointF>> &strokes, int count);

    LTKCaptureDevice m_captureDevice;
    LTKScreenContext m_screenContext;
    std::vector<LTKShapeRecoResult> m_results;
    std::vector<int> m_subset; // empty: every class
    int m_numChoices = 1;
    float m_confThreshold = 0.0f;
    std::string m_project = "SHAPEREC_ALPHANUM";
};
