#include "recognitionfixture.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>
#include <QTransform>

#include <cmath>

namespace RecognitionFixture {

QList<Template> templates(const QString &modelFile)
{
    QFile file(modelFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QList<Template> result;
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    while (!stream.atEnd()) {
        const QStringList words = stream.readLine().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty() || words.first().startsWith(QLatin1Char('#')))
            continue;
        if (words.first() == QLatin1String("shape")) {
            result.append({ words.value(1).toInt(), words.value(2), 0, {} });
        } else if (words.first() == QLatin1String("variant")) {
            Template next = result.last();
            next.variant += 1;
            next.strokes.clear();
            result.append(next);
        } else if (words.first() == QLatin1String("stroke")) {
            QVector<QPointF> stroke;
            for (int i = 1; i < words.size(); ++i) {
                const QStringList xy = words.at(i).split(QLatin1Char(','));
                stroke.append(QPointF(xy.value(0).toDouble(), xy.value(1).toDouble()));
            }
            result.last().strokes.append(stroke);
        }
    }
    return result;
}

Strokes distorted(const Strokes &strokes, quint32 seed, qreal scale, qreal degrees, QPointF offset,
                  qreal jitter)
{
    QRandomGenerator random(seed);
    const auto between = [&](qreal low, qreal high) {
        return low + random.generateDouble() * (high - low);
    };
    QTransform transform;
    transform.translate(offset.x(), offset.y());
    transform.rotate(degrees);
    transform.scale(scale * between(0.92, 1.08), scale * between(0.92, 1.08));
    const qreal shake = jitter * 100.0 * scale;
    Strokes result;
    for (const QVector<QPointF> &stroke : strokes) {
        QVector<QPointF> dense;
        for (int i = 0; i < stroke.size(); ++i) {
            const QPointF from = transform.map(stroke.at(i));
            if (i > 0) {
                const QPointF start = transform.map(stroke.at(i - 1));
                // A point every 4 units or so, as a pen reports them.
                const int steps = qMax(1, int(QLineF(start, from).length() / between(3.0, 6.0)));
                for (int k = 1; k < steps; ++k)
                    dense.append(start + (from - start) * (qreal(k) / steps));
            }
            dense.append(from);
        }
        for (QPointF &point : dense)
            point += QPointF(between(-shake, shake), between(-shake, shake));
        result.append(dense);
    }
    return result;
}

} // namespace RecognitionFixture
