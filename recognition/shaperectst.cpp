#include "shaperectst.h"

#include <QDir>
#include <QLibrary>

namespace {

// The engine is reached through a small C entry point of its library: points as x,y float
// pairs, one length per stroke; it answers the class number or a negative value.
using RecognizeFunction = int (*)(const float *points, const int *strokeLengths, int strokeCount);

struct Engine
{
    bool tried = false;
    QLibrary library;
    RecognizeFunction recognize = nullptr;
};

Engine &engine()
{
    static Engine shared;
    if (!shared.tried) {
        shared.tried = true;
        const QString root = qEnvironmentVariable("LIPI_ROOT");
        if (!root.isEmpty()) {
            shared.library.setFileName(QDir(root).filePath(QStringLiteral("lib/lipiengine")));
            if (shared.library.load()) {
                shared.recognize = reinterpret_cast<RecognizeFunction>(
                        shared.library.resolve("lipiRecognizeStrokes"));
            }
        }
    }
    return shared;
}

} // namespace

recog::recog() = default;

recog::~recog() = default;

bool recog::isAvailable()
{
    return engine().recognize != nullptr;
}

int recog::reconocer(const QList<QVector<QPointF>> &strokes)
{
    if (!isAvailable() || strokes.isEmpty())
        return kNoMatch;
    QVector<float> points;
    QVector<int> lengths;
    for (const QVector<QPointF> &stroke : strokes) {
        lengths << stroke.size();
        for (const QPointF &point : stroke)
            points << float(point.x()) << float(point.y());
    }
    const int answer = engine().recognize(points.constData(), lengths.constData(), lengths.size());
    return answer < 0 ? kNoMatch : answer;
}
