#pragma once

// What a painter draws, kept to be drawn again elsewhere: the board's objects can only be drawn
// on the board's thread, while what a PDF makes of them (its pictures compressed, its letters
// embedded) takes long enough to hold the board, and is done on another thread from this.
//
// Pictures are kept as they were drawn, shared rather than copied (a picture shown as a photo
// viewer shows it is made ready for the sheet as it is drawn again), and letters as their text
// in their font, so that a PDF receives text, not shapes of letters.

#include "board/smoothpicture.h"

#include <QPaintDevice>
#include <QSet>
#include <QSize>

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QTransform;
class RecordingEngine;

class PaintRecording : public QPaintDevice, public SmoothPicture::SheetRecorder
{
public:
    // A surface of size dots at dpi, as the device it is drawn on again reports itself: what an
    // object sizes in points comes out the same.
    PaintRecording(QSize size, int dpi);
    ~PaintRecording() override;
    PaintRecording(const PaintRecording &) = delete;
    PaintRecording &operator=(const PaintRecording &) = delete;

    QPaintEngine *paintEngine() const override;

    // Draws what was recorded onto painter, from its state as it is (on any one thread at a
    // time; the recording is not changed by it).
    void replay(QPainter *painter) const;

    void drawLater(const QImage &picture) override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    friend class RecordingEngine;
    // Each is drawn on the painter, base the transform it had when the replay began.
    using Step = std::function<void(QPainter &, const QTransform &base)>;

    QSize m_size;
    int m_dpi;
    std::vector<Step> m_steps;
    QSet<qint64> m_later; // the pictures drawn again as SmoothPicture draws them
    std::unique_ptr<RecordingEngine> m_engine;
};
