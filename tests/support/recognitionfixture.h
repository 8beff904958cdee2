#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QVector>

using Strokes = QList<QVector<QPointF>>;

namespace RecognitionFixture {

// A written-out template of the engine's model: its class, the label given beside it, and
// which variant of that class it is (0 for the first).
struct Template
{
    int classId = -1;
    QString label;
    int variant = 0;
    Strokes strokes;
};
// Every template of a model file; empty when unreadable.
QList<Template> templates(const QString &modelFile);

// The strokes as a hand would give them again: scaled by scale (with a little more on one
// axis), turned by degrees, moved to offset, points interpolated every few units and shaken by
// jitter (a share of the shape's size). The same seed gives the same strokes.
Strokes distorted(const Strokes &strokes, quint32 seed, qreal scale, qreal degrees, QPointF offset,
                  qreal jitter);

#ifdef VELTORINA_BINARY_DIR // defined for test programs only
// The engine folder the build lays out (the library and its project files).
inline QString lipiRoot()
{
    return QStringLiteral(VELTORINA_BINARY_DIR "/lipi");
}
inline QString modelFile()
{
    return lipiRoot() + QStringLiteral("/projects/alphanumeric/config/default/templates.mdt");
}
#endif

} // namespace RecognitionFixture
