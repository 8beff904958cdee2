// Every pen kind written by mouse on a real X server, then the board as shown: each stroke's
// ink is committed in the pen's colour, where the stroke went. Set VELTORINA_SCREENSHOT to a
// file name to keep the picture.
#include "support/boardfixture.h"
#include "support/inkfixture.h"
#include "support/testsupport.h"

#include "board/dpage.h"
#include "board/dview.h"
#include "board/scribblearea.h"

#include <QtTest>

#include <cmath>

using namespace BoardFixture;
using namespace InkFixture;

class tst_InkPens : public QObject
{
    Q_OBJECT
private slots:
    void everyPenOnTheBoard();
};

void tst_InkPens::everyPenOnTheBoard()
{
    Board board;
    DView *view = board.view();
    view->m_penPencil[0] = QPen(QColor(20, 40, 160), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    view->m_penHighlighter[0] =
            QPen(QColor(240, 200, 0, 100), 18, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    view->m_penFountain[0] = QPen(QColor(160, 20, 40), 5);
    view->m_penSmart = QPen(QColor(0, 140, 60), 4);
    struct PenInk
    {
        int tool;
        QColor ink; // as shown over the white page
        bool straight; // the smart pen keeps a straight stroke's ends only
    };
    const QColor texture(0x2b, 0x3a, 0x4a); // the brush stamp, built up by overlapping stamps
    const PenInk pens[] = {
        { 50, QColor(20, 40, 160), false },
        { 54, QColor(249, 233, 155), false }, // 100/255 of the yellow over white
        { 58, QColor(20, 40, 160), false }, // the texture brush keeps the pencil's pen
        { 60, QColor(160, 20, 40), false },
        { 66, texture, false },
        { 67, texture, false },
        { 69, QColor(0, 140, 60), true },
    };
    auto waveY = [](int y, double x) { return y + 25 * std::sin((x - 120) / 12.0 / 5.0); };
    int row = 0;
    for (const PenInk &pen : pens) {
        const int tool = pen.tool;
        chooseTool(view, tool);
        const int y = 70 + row * 95;
        QVector<QPoint> wave;
        for (int i = 0; i <= 60; ++i)
            wave << QPoint(120 + 12 * i, y + int(std::lround(25 * std::sin(i / 5.0))));
        TestSupport::drag(view->m_scribbleArea, wave);
        ++row;
    }
    QCOMPARE(boardObjects(board.current()).size(), int(sizeof pens / sizeof pens[0]));
    view->setSelect();
    QTest::qWait(200);
    const QImage shown = board.window()->grab().toImage();
    if (!qEnvironmentVariableIsEmpty("VELTORINA_SCREENSHOT"))
        shown.save(qEnvironmentVariable("VELTORINA_SCREENSHOT"));
    for (int r = 0; r < row; ++r) {
        const int y = 70 + r * 95;
        int inked = 0;
        for (int x = 120; x < 840; x += 2) {
            for (int dy = -35; dy <= 35; ++dy) {
                const QColor pixel = shown.pixelColor(x, y + dy);
                if (pixel.red() < 235 || pixel.green() < 235 || pixel.blue() < 235) {
                    ++inked;
                    break;
                }
            }
        }
        const PenInk &pen = pens[r];
        QVERIFY2(inked > 200, qPrintable(QStringLiteral("pen %1: %2").arg(pen.tool).arg(inked)));
        // Column by column: the ink's middle lies on the stroke, and there it has the pen's
        // colour.
        int columns = 0;
        int placed = 0;
        QString misses;
        for (int x = 160; x <= 800; x += 16) {
            ++columns;
            const double expectedY =
                    pen.straight ? y + (waveY(y, 840) - y) * (x - 120) / 720.0 : waveY(y, x);
            double sum = 0;
            int count = 0;
            for (int dy = -40; dy <= 40; ++dy) {
                const QColor pixel = shown.pixelColor(x, y + dy);
                if (765 - pixel.red() - pixel.green() - pixel.blue() > 60) {
                    sum += y + dy;
                    ++count;
                }
            }
            if (count == 0)
                continue;
            const double middle = sum / count;
            const QColor there = shown.pixelColor(x, qRound(middle));
            const bool onStroke = qAbs(middle - expectedY) <= 8;
            const bool coloured = qAbs(there.red() - pen.ink.red()) <= 45
                    && qAbs(there.green() - pen.ink.green()) <= 45
                    && qAbs(there.blue() - pen.ink.blue()) <= 45;
            if (onStroke && coloured)
                ++placed;
            else
                misses += QStringLiteral(" x%1: y %2 (want %3) %4")
                                  .arg(x)
                                  .arg(middle, 0, 'f', 1)
                                  .arg(expectedY, 0, 'f', 1)
                                  .arg(there.name());
        }
        QVERIFY2(placed * 10 >= columns * 9,
                 qPrintable(QStringLiteral("pen %1: %2 of %3 columns;%4")
                                    .arg(pen.tool)
                                    .arg(placed)
                                    .arg(columns)
                                    .arg(misses)));
    }
}

QTEST_MAIN(tst_InkPens)
#include "tst_inkpens_xvfb.moc"
