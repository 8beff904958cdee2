#pragma once

#include <QList>
#include <QPointF>
#include <QRandomGenerator>
#include <QString>
#include <QVector>

using Strokes = QList<QVector<QPointF>>;

namespace RecognitionFixture {

// A written-out template of the engine's model: its class, the label given beside it, which
// variant of that class it is (0 for the first) and the writing style it was learnt from.
struct Template
{
    int classId = -1;
    QString label;
    int variant = 0;
    Strokes strokes;
    QString style;
};
// Every template of a model file; empty when unreadable.
QList<Template> templates(const QString &modelFile);
// The templates as a model file; false when it cannot be written.
bool writeTemplates(const QString &modelFile, const QList<Template> &templates);

// The writing styles the build learns from: the list the build reads.
QStringList styleNames();
// A copy of the engine folder fromRoot in toRoot with the model the build learnt without the
// style (its templates and network, in the folder fromRoot-heldout): the engine as it would be
// had it never seen that style. False on failure.
bool layOutEngineWithout(const QString &fromRoot, const QString &style, const QString &toRoot);
// The styles the network of the engine in root was learnt from.
QStringList networkStyles(const QString &root);
// The model file of the engine in root.
QString modelFileIn(const QString &root);

// The strokes as a hand would give them again: scaled by scale (with a little more on one
// axis), turned by degrees, moved to offset, points interpolated every few units and shaken by
// jitter (a share of the shape's size). The same seed gives the same strokes.
Strokes distorted(const Strokes &strokes, quint32 seed, qreal scale, qreal degrees, QPointF offset,
                  qreal jitter);

// How one writer sizes, stretches, slants, turns and places a line of characters.
struct Hand
{
    qreal scale = 1.0; // scene units per unit of the 100-unit letter box
    qreal stretch = 1.0; // width against height
    qreal slant = 0.0; // x moved right by this share of the height above the baseline
    qreal degrees = 0.0; // the whole line turned
    qreal jitter = 0.0; // shake of every point, as a share of the letter box
    QPointF offset;
};
// A hand with everything drawn at random in the ranges a child's writing on a board spans.
Hand randomHand(QRandomGenerator &random);

// Characters given in the letter box (as in the model files) written side by side in one line
// by the hand: each character is moved right of the one before it with a small random gap and
// sized a little differently, then the line is slanted, turned, placed, and its points
// interpolated as a pen reports them and shaken. One entry per character.
QList<Strokes> writtenLine(const QList<Strokes> &characters, const Hand &hand,
                           QRandomGenerator &random);
// The same strokes drawn backwards, the last one first.
Strokes reversedStrokes(const Strokes &strokes);
// The same strokes in another order (a different one whenever there are two or more).
Strokes reorderedStrokes(const Strokes &strokes, QRandomGenerator &random);

#ifdef VELTORINA_BINARY_DIR // defined for test programs only
// The engine folder the build lays out (the library and its project files).
inline QString lipiRoot()
{
    return QStringLiteral(VELTORINA_BINARY_DIR "/lipi");
}
// Characters written apart from the templates (same layout as a model file).
inline QString handwritingSamples()
{
    return QStringLiteral(VELTORINA_SOURCE_DIR "/tests/support/handwritingsamples.txt");
}
inline QString modelFile()
{
    return modelFileIn(lipiRoot());
}
#endif

} // namespace RecognitionFixture
