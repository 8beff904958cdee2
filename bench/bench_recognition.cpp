// Offline handwriting recognition: accuracy and time per character. Builds its labelled sets in
// the same run: hand-made characters (written apart from the engine's templates) in writing
// order, the same strokes drawn backwards and in another order, and characters traced from the
// Hershey single-stroke fonts (package hershey-fonts-data). Every character of 0-9, A-Z and a-z
// is written 10 times, each time in a line between two neighbours by a random hand (scale,
// stretch, slant, rotation, jitter, place), and read as the page reads a line. Prints accuracy
// exact and with look-alikes counted as right, the commonest misreadings, and the median time
// per character against its 20 ms budget, then whether each target is met (the font target is
// on the roman letters; the joined-up script styles are shown beside them). Asserts nothing.
#include "recognition/handwritingline.h"
#include "recognition/shaperectst.h"
#include "support/recognitionfixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QPolygonF>
#include <QRandomGenerator>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace RecognitionFixture;

namespace {

const QString kChars = QString::fromUtf8(
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,?-@:;()+ñ");
constexpr int kSamples = 10;
constexpr double kBudgetMs = 20.0;

// The ways of writing each class: index = class number.
using Alphabet = QVector<QList<Strokes>>;

Alphabet fromSamples(const QString &file)
{
    Alphabet alphabet(kChars.size());
    for (const Template &shape : templates(file))
        alphabet[shape.classId] << shape.strokes;
    return alphabet;
}

// A Hershey font (.jhf: one glyph a line from the space on, vertices as letter pairs around
// 'R', " R" lifting the pen) in the letter box: capitals and digits from 0 to 100.
Alphabet fromHershey(const QString &fileName)
{
    Alphabet alphabet(kChars.size());
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return alphabet;
    QList<QByteArray> lines = file.readAll().split('\n');
    QVector<Strokes> glyphs;
    for (const QByteArray &line : lines) {
        if (line.size() < 10)
            continue;
        const QByteArray vertices = line.mid(10);
        Strokes strokes{ {} };
        for (int i = 0; i + 1 < vertices.size(); i += 2) {
            if (vertices.at(i) == ' ' && vertices.at(i + 1) == 'R') {
                strokes.append(QVector<QPointF>());
                continue;
            }
            strokes.last() << QPointF(vertices.at(i) - 'R', vertices.at(i + 1) - 'R');
        }
        strokes.removeAll(QVector<QPointF>());
        glyphs << strokes;
    }
    const auto glyph = [&](QChar c) { return glyphs.value(c.unicode() - 32); };
    qreal top = 1e9;
    qreal bottom = -1e9;
    for (const QVector<QPointF> &stroke : glyph(QLatin1Char('H'))) {
        for (const QPointF &point : stroke) {
            top = qMin(top, point.y());
            bottom = qMax(bottom, point.y());
        }
    }
    const qreal scale = 100.0 / (bottom - top);
    for (int id = 0; id < 62; ++id) {
        Strokes strokes = glyph(kChars.at(id));
        for (QVector<QPointF> &stroke : strokes) {
            for (QPointF &point : stroke)
                point = QPointF(point.x() * scale, (point.y() - top) * scale);
        }
        if (!strokes.isEmpty())
            alphabet[id] << strokes;
    }
    return alphabet;
}

enum class Order { Written, Reversed, Reordered };

struct Score
{
    int total = 0;
    int exact = 0;
    int lookAlike = 0;
    QMap<QString, int> misread;
};

QList<int> category(int id)
{
    QList<int> ids;
    const int from = id < 26 ? 0 : id < 52 ? 26 : 52;
    for (int i = from; i < from + (id < 52 ? 26 : 10); ++i)
        ids << i;
    return ids;
}

// Every character kSamples times, each in a line of three by its own random hand.
Score measure(recog &recogniser, const Alphabet &alphabet, Order order, quint32 seed)
{
    Score score;
    QRandomGenerator random(seed);
    const auto pick = [&](const QList<int> &ids) {
        for (;;) {
            const int id = ids.at(int(random.bounded(ids.size())));
            if (!alphabet.at(id).isEmpty())
                return alphabet.at(id).at(int(random.bounded(alphabet.at(id).size())));
        }
    };
    for (int id = 0; id < 62; ++id) {
        if (alphabet.at(id).isEmpty())
            continue;
        for (int sample = 0; sample < kSamples; ++sample) {
            const Strokes target = alphabet.at(id).at(sample % alphabet.at(id).size());
            QList<Strokes> characters;
            int at = 1;
            if (id < 26 && random.bounded(2) == 0) {
                // A capital starting a word of small letters.
                characters = { target, pick(category(26)), pick(category(26)) };
                at = 0;
            } else {
                characters = { pick(category(id)), target, pick(category(id)) };
            }
            const Hand hand = randomHand(random);
            QList<Strokes> line = writtenLine(characters, hand, random);
            QVector<HandwritingLine::Character> read;
            for (Strokes &strokes : line) {
                if (order == Order::Reversed)
                    strokes = reversedStrokes(strokes);
                else if (order == Order::Reordered)
                    strokes = reorderedStrokes(strokes, random);
                QRectF box;
                for (const QVector<QPointF> &stroke : strokes)
                    box |= QPolygonF(stroke).boundingRect();
                read << HandwritingLine::Character{ recogniser.reconocer(strokes), box };
            }
            const int result = HandwritingLine::read(read).at(at);
            ++score.total;
            if (result == id)
                ++score.exact;
            if (HandwritingLine::lookAlike(result, id))
                ++score.lookAlike;
            else
                ++score.misread[QStringLiteral("%1→%2")
                                        .arg(kChars.at(id))
                                        .arg(result >= 0 && result < kChars.size()
                                                     ? QString(kChars.at(result))
                                                     : QStringLiteral("∅"))];
        }
    }
    return score;
}

void print(const char *name, const Score &score)
{
    std::printf("%-34s %5d  exact %5.1f %%  with look-alikes %5.1f %%\n", name, score.total,
                100.0 * score.exact / qMax(1, score.total),
                100.0 * score.lookAlike / qMax(1, score.total));
    QList<QPair<int, QString>> worst;
    for (auto it = score.misread.cbegin(); it != score.misread.cend(); ++it)
        worst << qMakePair(it.value(), it.key());
    std::sort(worst.begin(), worst.end(), std::greater<>());
    QString line;
    for (int i = 0; i < qMin(12, worst.size()); ++i)
        line += QStringLiteral(" %1×%2").arg(worst.at(i).second).arg(worst.at(i).first);
    if (!line.isEmpty())
        std::printf("    misread:%s\n", qPrintable(line));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The engine the build lays out, unless another one is named.
    if (qEnvironmentVariableIsEmpty("LIPI_ROOT"))
        qputenv("LIPI_ROOT", QByteArray(VELTORINA_BINARY_DIR "/lipi"));
    recog recogniser;
    if (!recogniser.isAvailable()) {
        std::fprintf(stderr, "the handwriting engine did not load\n");
        return 1;
    }
    const Alphabet hand = fromSamples(handwritingSamples());
    std::printf("Offline recognition, %d samples of each of 0-9, A-Z, a-z per set\n", kSamples);
    const Score written = measure(recogniser, hand, Order::Written, 1);
    const Score reversed = measure(recogniser, hand, Order::Reversed, 1);
    print("hand-made, writing order", written);
    print("hand-made, every stroke reversed", reversed);
    print("hand-made, strokes reordered", measure(recogniser, hand, Order::Reordered, 1));
    // The roman simplex letters and digits ("futural"; "rowmans" has the same ones) are the
    // target; the joined-up script styles are shown beside them.
    Score fonts;
    Score roman;
    for (const char *font : { "futural", "scripts", "cursive" }) {
        const QString file = QStringLiteral("/usr/share/hershey-fonts/%1.jhf").arg(font);
        if (!QFile::exists(file)) {
            std::printf("%s missing: install hershey-fonts-data\n", qPrintable(file));
            continue;
        }
        const Score score = measure(recogniser, fromHershey(file), Order::Written, 2);
        print(qPrintable(QStringLiteral("Hershey %1").arg(font)), score);
        if (qstrcmp(font, "futural") == 0)
            roman = score;
        fonts.total += score.total;
        fonts.exact += score.exact;
        fonts.lookAlike += score.lookAlike;
    }
    print("Hershey, all three", fonts);

    // Time: the hand-made set in writing order, one character at a time, median of 5 runs.
    QRandomGenerator random(3);
    QList<Strokes> inputs;
    for (int id = 0; id < 62; ++id) {
        for (const Strokes &strokes : hand.at(id))
            inputs << writtenLine({ strokes }, randomHand(random), random).first();
    }
    QVector<double> runs;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        for (const Strokes &strokes : qAsConst(inputs))
            recogniser.reconocer(strokes);
        runs << timer.nsecsElapsed() / 1e6 / inputs.size();
    }
    std::sort(runs.begin(), runs.end());
    std::printf(
            "time per character: %.2f ms (median of 5 runs of %d), %.3f of the %.0f ms budget\n",
            runs.at(2), int(inputs.size()), runs.at(2) / kBudgetMs, kBudgetMs);
    const auto share = [](int part, int total) { return 100.0 * part / qMax(1, total); };
    const auto verdict = [](bool met) { return met ? "met" : "NOT met"; };
    std::printf("targets: hand-made with look-alikes >= 95 %%: %.1f %% and %.1f %% reversed (%s); "
                "Hershey roman >= 90 %%: %.1f %% (%s); exact in writing order >= 90 %%: %.1f %% "
                "(%s); under 20 ms a character: %.2f ms (%s)\n",
                share(written.lookAlike, written.total), share(reversed.lookAlike, reversed.total),
                verdict(share(written.lookAlike, written.total) >= 95.0
                        && share(reversed.lookAlike, reversed.total) >= 95.0),
                share(roman.lookAlike, roman.total),
                verdict(roman.total > 0 && share(roman.lookAlike, roman.total) >= 90.0),
                share(written.exact, written.total),
                verdict(share(written.exact, written.total) >= 90.0), runs.at(2),
                verdict(runs.at(2) < kBudgetMs));
    return 0;
}
