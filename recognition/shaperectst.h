#pragma once

#include <QList>
#include <QPointF>
#include <QVector>

// The offline handwriting recogniser: one character's strokes in, the class number of the
// best match out. The engine is shared by the whole process and loaded on first use from the
// directory named by LIPI_ROOT; without it a page still works and every call answers kNoMatch.
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
    // Strokes in scene coordinates, in drawing order; kNoMatch without an engine.
    int reconocer(const QList<QVector<QPointF>> &strokes);
};
