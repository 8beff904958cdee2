#include "board/dpage.h"
#include "support/boardfixture.h"
#include "tools/ddices.h"

#include <QtTest>

// The dice draw their cubes with OpenGL, which needs a real X server.
class tst_DPageInstrumentsXvfb : public QObject
{
    Q_OBJECT
private slots:
    void diceToggle();
};

void tst_DPageInstrumentsXvfb::diceToggle()
{
    BoardFixture::Board board;
    DPage *page = board.current();
    page->insertDice();
    QPointer<DDiceS> dice = page->classroomTools().dice.data();
    QVERIFY(dice);
    QCOMPARE(dice->parentWidget(), board.window());
    QVERIFY(dice->isVisible());

    page->insertDice(); // taken off the board and hidden
    QCOMPARE(page->classroomTools().dice.data(), dice.data());
    QVERIFY(!dice->parentWidget());
    QVERIFY(!dice->isVisible());

    page->insertDice(); // back over the board, rolling
    QCOMPARE(dice->parentWidget(), board.window());
    QVERIFY(dice->isVisible());

    page->insertDice(); // hidden without a parent: the page still frees it
    QVERIFY(!dice->parentWidget());
}

QTEST_MAIN(tst_DPageInstrumentsXvfb)
#include "tst_dpageinstruments_xvfb.moc"
