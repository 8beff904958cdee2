// Every pen kind written by mouse on a real X server, then the board as shown: each stroke's
// band holds ink once committed. Set VELTORINA_SCREENSHOT to a file name to keep the picture.
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
    const int pens[] = { 50, 54, 58, 60, 66, 67, 69 };
    int row = 0;
    for (int tool : pens) {
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
        QVERIFY2(inked > 200, qPrintable(QStringLiteral("pen %1: %2").arg(pens[r]).arg(inked)));
    }
}

QTEST_MAIN(tst_InkPens)
#include "tst_inkpens_xvfb.moc"
