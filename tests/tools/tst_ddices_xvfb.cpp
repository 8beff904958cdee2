#include "support/testsupport.h"
#include "support/toolsfixture.h"
#include "tools/ddices.h"
#include "tools/dimagelabel.h"
#include "tools/glwidget.h"

#include <QLabel>
#include <QScreen>
#include <QtTest>

// The dice need an OpenGL context, which a real X server with Mesa gives.
class tst_DDiceSXvfb : public QObject
{
    Q_OBJECT

private slots:
    void startsWithTheTopRowOfDice();
    void rollEndsWithAFaceOnEveryDie();
    void doubleClickRollsAgain();
    void handleResizesDownToTheMinimum();
    void draggingACubeTurnsOnlyThatCube();
    void draggingThePanelMovesIt();
    void closeHandleHides();
};

void tst_DDiceSXvfb::startsWithTheTopRowOfDice()
{
    QWidget board;
    board.resize(1200, 900);
    DDiceS dice(&board);
    board.show();
    QVERIFY(!dice.isVisible());
    QCOMPARE(dice.geometry(), QRect(300, 300, 500, 160));
    dice.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    for (int i = 0; i < DDiceS::kDiceCount; ++i) {
        QVERIFY(dice.cube(i)->isVisible());
        QVERIFY(!dice.result(i)->isVisible());
        // A native window: on a busy machine the X server's notice of its first size may come
        // after the window was shown, and the toolkit takes the size from it.
        QTRY_COMPARE_WITH_TIMEOUT(dice.cube(i)->size(), QSize(150, 150), 30000);
        QCOMPARE(dice.result(i)->geometry(),
                 QRect(dice.cube(i)->pos() + QPoint(45, 45), QSize(60, 60)));
        QCOMPARE(dice.face(i).size(), QSize(60, 60));
        QVERIFY(!QImage(QStringLiteral(":/images/side%1.bmp").arg(i + 1)).isNull());
    }
    // The cubes are native windows, so their siblings are too: a configure notice the X server
    // sends for a sibling's first place can arrive after the panel has laid it out, and the
    // later one puts it back.
    QTRY_COMPARE(dice.findChild<DImageLabel *>(QStringLiteral("BClose"))->pos(), QPoint(465, 30));
    QTRY_COMPARE(dice.findChild<DImageLabel *>(QStringLiteral("BRightBottom"))->pos(),
                 QPoint(479, 139));
    QCOMPARE(dice.cube(2)->angleX(), 832);
    QCOMPARE(dice.cube(2)->angleZ(), -336);
    const QImage picture = board.grab().toImage();
    // The panel is cyan around the white squares of the dice.
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(picture, QPoint(302, 458)), Qt::cyan, 0));

    // Each die is a textured cube on white: the corner shows the clear colour, the middle the
    // faces with their pips and borders.
    QTest::qWait(200);
    ToolsFixture::saveShot(QGuiApplication::primaryScreen()->grabWindow(0).toImage(),
                           QStringLiteral("dice-screen"));
    const QImage cube = dice.cube(0)->grabFrameBuffer();
    QCOMPARE(cube.size(), QSize(150, 150));
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(cube, QPoint(2, 2)), Qt::white, 0));
    QSet<QRgb> colours;
    for (int y = 40; y < 110; ++y) {
        for (int x = 40; x < 110; ++x)
            colours.insert(cube.pixel(x, y));
    }
    QVERIFY2(colours.size() > 10, "no texture on the cube");
}

void tst_DDiceSXvfb::rollEndsWithAFaceOnEveryDie()
{
    QWidget board;
    board.resize(1200, 900);
    DDiceS dice(&board);
    board.show();
    dice.show();
    dice.setFixedSize(500, 320); // both rows
    dice.startRotate();
    QVERIFY(dice.isRolling());
    const int turnedFrom = dice.cube(0)->angleX();
    QTRY_VERIFY_WITH_TIMEOUT(dice.cube(0)->angleX() != turnedFrom, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!dice.isRolling(), 3 * DDiceS::kRollMs);
    for (int i = 0; i < DDiceS::kDiceCount; ++i) {
        QVERIFY(!dice.cube(i)->isVisible());
        QVERIFY(dice.result(i)->isVisible());
        const int face = dice.resultFace(i);
        QVERIFY(face >= 0 && face < 6);
        QCOMPARE(dice.result(i)->pixmap(Qt::ReturnByValue).toImage(), dice.face(face).toImage());
    }
    const QImage picture = board.grab().toImage();
    ToolsFixture::saveShot(picture, QStringLiteral("dice-rolled"));
}

void tst_DDiceSXvfb::doubleClickRollsAgain()
{
    QWidget board;
    board.resize(1200, 900);
    DDiceS dice(&board);
    board.show();
    dice.show();
    dice.startRotate();
    QTRY_VERIFY_WITH_TIMEOUT(!dice.isRolling(), 3 * DDiceS::kRollMs);
    QTest::mouseDClick(&dice, Qt::LeftButton, Qt::NoModifier, QPoint(480, 100));
    QVERIFY(dice.isRolling());
    QVERIFY(dice.cube(1)->isVisible());
    QVERIFY(!dice.result(1)->isVisible());
}

void tst_DDiceSXvfb::handleResizesDownToTheMinimum()
{
    QWidget board;
    board.resize(1200, 900);
    DDiceS dice(&board);
    board.show();
    dice.show();
    auto *handle = dice.findChild<DImageLabel *>(QStringLiteral("BRightBottom"));
    ToolsFixture::dragMoving(handle, { 5, 5 }, { { 60, 200 } });
    QCOMPARE(dice.size(), QSize(560, 360));
    QCOMPARE(handle->pos(), QPoint(539, 339));
    ToolsFixture::dragMoving(handle, { 5, 5 }, { { -400, -400 } });
    QCOMPARE(dice.size(), QSize(500, 160));
}

void tst_DDiceSXvfb::draggingACubeTurnsOnlyThatCube()
{
    QWidget board;
    board.resize(1200, 900);
    DDiceS dice(&board);
    board.show();
    dice.show();
    TestSupport::drag(dice.cube(1), { { 50, 50 }, { 60, 53 } });
    QCOMPARE(dice.cube(1)->angleX(), 512 + 8 * 3);
    QCOMPARE(dice.cube(1)->angleY(), 512 + 8 * 10);
    QCOMPARE(dice.cube(0)->angleX(), 192);
    QCOMPARE(dice.cube(2)->angleY(), 192);
    TestSupport::drag(dice.cube(1), { { 50, 50 }, { 54, 50 } }, Qt::RightButton);
    QCOMPARE(dice.cube(1)->angleZ(), -336 + 8 * 4);
    QCOMPARE(dice.pos(), QPoint(300, 300));
}

void tst_DDiceSXvfb::draggingThePanelMovesIt()
{
    QWidget board;
    board.resize(1200, 900);
    DDiceS dice(&board);
    board.show();
    dice.show();
    ToolsFixture::dragMoving(&dice, { 480, 80 }, { { -50, 20 }, { -100, 40 } });
    QCOMPARE(dice.pos(), QPoint(200, 340));
}

void tst_DDiceSXvfb::closeHandleHides()
{
    QWidget board;
    DDiceS dice(&board);
    board.show();
    dice.show();
    QTest::mouseClick(dice.findChild<DImageLabel *>(QStringLiteral("BClose")), Qt::LeftButton);
    QVERIFY(!dice.isVisible());
}

QTEST_MAIN(tst_DDiceSXvfb)
#include "tst_ddices_xvfb.moc"
