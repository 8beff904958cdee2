#include "recognitionfixture.h"

#include "writingstyles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>
#include <QTransform>

#include <algorithm>
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
            result.append({ words.value(1).toInt(), words.value(2), 0, {}, {} });
        } else if (words.first() == QLatin1String("variant")) {
            Template next = result.last();
            next.variant += 1;
            next.strokes.clear();
            next.style.clear();
            result.append(next);
        } else if (words.first() == QLatin1String("from") && !result.isEmpty()) {
            result.last().style = words.value(1);
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

bool writeTemplates(const QString &modelFile, const QList<Template> &templates)
{
    QFile file(modelFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    QTextStream out(&file);
    out.setCodec("UTF-8");
    QSet<int> given;
    for (const Template &shape : templates) {
        if (given.contains(shape.classId)) {
            out << "variant\n";
        } else {
            out << "shape " << shape.classId << ' ' << shape.label << '\n';
            given.insert(shape.classId);
        }
        if (!shape.style.isEmpty())
            out << "from " << shape.style << '\n';
        for (const QVector<QPointF> &stroke : shape.strokes) {
            out << "stroke";
            for (const QPointF &point : stroke)
                out << ' ' << point.x() << ',' << point.y();
            out << '\n';
        }
    }
    out.flush();
    return file.error() == QFileDevice::NoError;
}

QStringList styleNames()
{
    QStringList names;
    for (const WritingStyles::Style &style : WritingStyles::read(QStringLiteral(LIPI_STYLE_LIST)))
        names << style.name;
    return names;
}

QString modelFileIn(const QString &root)
{
    return root + QStringLiteral("/projects/alphanumeric/config/default/templates.mdt");
}

bool layOutEngineWithout(const QString &fromRoot, const QString &style, const QString &toRoot)
{
    // The build learnt a model without every style, beside the engine folder: that one takes
    // the place of the model.
    const QString config = QStringLiteral("/projects/alphanumeric/config/");
    const QString heldOut = fromRoot + QStringLiteral("-heldout/") + style;
    if (style.isEmpty() || !QFileInfo(heldOut).isDir())
        return false;
    QDirIterator files(fromRoot, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString from = files.next();
        const QString to = toRoot + from.mid(fromRoot.size());
        QFile::remove(to);
        if (!QDir().mkpath(QFileInfo(to).absolutePath()) || !QFile::copy(from, to))
            return false;
    }
    for (const QString &name : { QStringLiteral("templates.mdt"), QStringLiteral("network.txt") }) {
        const QString to = toRoot + config + QStringLiteral("default/") + name;
        if (!QFile::remove(to) || !QFile::copy(heldOut + QLatin1Char('/') + name, to))
            return false;
    }
    return true;
}

QStringList networkStyles(const QString &root)
{
    QFile file(root + QStringLiteral("/projects/alphanumeric/config/default/network.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    file.readLine();
    QStringList words = QString::fromUtf8(file.readLine()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty() || words.takeFirst() != QLatin1String("from"))
        return {};
    for (QString &word : words)
        word = word.trimmed();
    return words;
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

Hand randomHand(QRandomGenerator &random)
{
    const auto between = [&](qreal low, qreal high) {
        return low + random.generateDouble() * (high - low);
    };
    Hand hand;
    hand.scale = between(0.3, 2.0);
    hand.stretch = between(0.85, 1.15);
    hand.slant = between(-0.3, 0.3);
    hand.degrees = between(-10.0, 10.0);
    hand.jitter = between(0.005, 0.025);
    // Anywhere on a board that pans far: scene coordinates are passed on as they are.
    hand.offset = QPointF(between(-1.0e5, 1.0e5), between(-1.0e5, 1.0e5));
    return hand;
}

QList<Strokes> writtenLine(const QList<Strokes> &characters, const Hand &hand,
                           QRandomGenerator &random)
{
    const auto between = [&](qreal low, qreal high) {
        return low + random.generateDouble() * (high - low);
    };
    QTransform line;
    line.translate(hand.offset.x(), hand.offset.y());
    line.rotate(hand.degrees);
    line.scale(hand.scale * hand.stretch, hand.scale);
    // Slant about the baseline (y = 100 in the letter box).
    line = QTransform(1, 0, -hand.slant, 1, 100 * hand.slant, 0) * line;
    const qreal shake = hand.jitter * 100.0 * hand.scale;
    QList<Strokes> result;
    qreal x = 0.0;
    for (const Strokes &character : characters) {
        qreal left = 1e9;
        qreal right = -1e9;
        for (const QVector<QPointF> &stroke : character) {
            for (const QPointF &point : stroke) {
                left = qMin(left, point.x());
                right = qMax(right, point.x());
            }
        }
        // Each character a little bigger or smaller, standing on the same baseline.
        const qreal size = between(0.9, 1.1);
        QTransform place;
        place.translate(x - left * size, 100.0 * (1.0 - size));
        place.scale(size, size);
        const QTransform transform = place * line;
        x += (right - left) * size + between(15.0, 30.0);
        Strokes written;
        for (const QVector<QPointF> &stroke : character) {
            // A slow wobble along the stroke, as an unsteady hand gives.
            const qreal wobble = between(0.0, 0.02) * 100.0 * hand.scale;
            const qreal phase = between(0.0, 6.283);
            QVector<QPointF> dense;
            for (int i = 0; i < stroke.size(); ++i) {
                const QPointF to = transform.map(stroke.at(i));
                if (i > 0) {
                    const QPointF from = transform.map(stroke.at(i - 1));
                    const int steps = qMax(1, int(QLineF(from, to).length() / between(3.0, 6.0)));
                    for (int k = 1; k < steps; ++k)
                        dense.append(from + (to - from) * (qreal(k) / steps));
                }
                dense.append(to);
            }
            for (int i = 0; i < dense.size(); ++i) {
                const qreal wave = std::sin(phase + i * 0.15) * wobble;
                dense[i] += QPointF(between(-shake, shake) + wave, between(-shake, shake) - wave);
            }
            written.append(dense);
        }
        result.append(written);
    }
    return result;
}

Strokes reversedStrokes(const Strokes &strokes)
{
    Strokes result;
    for (const QVector<QPointF> &stroke : strokes) {
        QVector<QPointF> backwards(stroke.crbegin(), stroke.crend());
        result.prepend(backwards);
    }
    return result;
}

Strokes reorderedStrokes(const Strokes &strokes, QRandomGenerator &random)
{
    Strokes result = strokes;
    if (strokes.size() < 2)
        return result;
    // Bounded: strokes that are all alike have no other order.
    for (int attempt = 0; attempt < 16 && result == strokes; ++attempt) {
        for (int i = result.size() - 1; i > 0; --i)
            result.swapItemsAt(i, int(random.bounded(i + 1)));
    }
    return result;
}

} // namespace RecognitionFixture
