#include "support/testsupport.h"
#include "support/toolsfixture.h"
#include "tools/dsearchlight.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>

namespace {
// The board under the spotlight: white, and counting what reaches it.
class Board : public QWidget
{
public:
    Board()
    {
        setFixedSize(1920, 1080);
        setAutoFillBackground(true);
        QPalette white = palette();
        white.setColor(QPalette::Window, Qt::white);
        setPalette(white);
    }
    int releases = 0;
    int doubleClicks = 0;

protected:
    void mouseReleaseEvent(QMouseEvent *) override { ++releases; }
    void mouseDoubleClickEvent(QMouseEvent *) override { ++doubleClicks; }
};

const QColor kCover(0, 85, 120);
const QColor kBoard(Qt::white);
const QPoint kBoardCentre(960, 540);
} // namespace

class tst_DSearchlight : public QObject
{
    Q_OBJECT

private slots:
    void coversTwiceTheBoardAroundItsCentre();
    void holeShowsTheBoard();
    void dragStopsWithTheHoleOnTheEdge_data();
    void dragStopsWithTheHoleOnTheEdge();
    void buttonsStayOnTheBoardAfterDragAndReuse();
    void shapeButtonsMarkTheChosenShape();
    void holeSizeIsBounded();
    void releasesAndDoubleClicksEndOnTheCover();

private:
    static QPushButton *button(DSearchlight &light, const char *name)
    {
        return light.findChild<QPushButton *>(QLatin1String(name));
    }
    static QImage boardPicture(Board &board) { return board.grab().toImage(); }
};

void tst_DSearchlight::coversTwiceTheBoardAroundItsCentre()
{
    Board board;
    DSearchlight light(&board);
    QCOMPARE(light.size(), QSize(3840, 2160));
    QCOMPARE(light.pos(), QPoint(-960, -540));
    QCOMPARE(light.holeSize(), 300);
    QVERIFY(!light.isRectHole());
    // From left to right: rectangle, ellipse, zoom out, zoom in, close, 45 px apart.
    const char *row[] = { "bSelectRect", "bSelectEllipse", "bZoomOut", "bZoomIn", "bClose" };
    for (int i = 0; i < 5; ++i) {
        QPushButton *b = button(light, row[i]);
        QVERIFY2(b, row[i]);
        QCOMPARE(b->mapTo(&board, QPoint(0, 0)), QPoint(1640 + 45 * i, 980));
        QCOMPARE(b->size(), QSize(40, 40));
    }
}

void tst_DSearchlight::holeShowsTheBoard()
{
    Board board;
    DSearchlight light(&board);
    board.show();
    QImage picture = boardPicture(board);
    ToolsFixture::saveShot(picture, QStringLiteral("spotlight-ellipse"));
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(picture, kBoardCentre), kBoard));
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(picture, { 100, 100 }), kCover));
    // Just inside the corner of the hole's square: outside the circle, inside the square.
    const QPoint corner = kBoardCentre + QPoint(-140, -140);
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(picture, corner), kCover));
    // The buttons are grey squares over the cover, the chosen shape blue.
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(picture, { 1822, 1000 }),
                               QColor(180, 180, 180)));
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(picture, { 1687, 1000 }), QColor(0, 150, 255)));

    QTest::mouseClick(button(light, "bSelectRect"), Qt::LeftButton);
    picture = boardPicture(board);
    ToolsFixture::saveShot(picture, QStringLiteral("spotlight-rectangle"));
    QVERIFY(light.isRectHole());
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(picture, corner), kBoard));
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(picture, corner - QPoint(20, 20)), kCover));
}

void tst_DSearchlight::dragStopsWithTheHoleOnTheEdge_data()
{
    QTest::addColumn<QPoint>("pull");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("far left") << QPoint(-5000, 0) << QPoint(-1920, -540);
    QTest::newRow("far right") << QPoint(5000, 0) << QPoint(0, -540);
    QTest::newRow("far up") << QPoint(0, -5000) << QPoint(-960, -1080);
    QTest::newRow("far down") << QPoint(0, 5000) << QPoint(-960, 0);
    QTest::newRow("a little") << QPoint(30, -20) << QPoint(-930, -560);
}

void tst_DSearchlight::dragStopsWithTheHoleOnTheEdge()
{
    QFETCH(QPoint, pull);
    QFETCH(QPoint, position);
    Board board;
    DSearchlight light(&board);
    board.show();
    const QPoint grip = QPoint(200, 200) - light.pos(); // board point (200, 200)
    ToolsFixture::dragMoving(&light, grip, { pull / 2, pull });
    QCOMPARE(light.pos(), position);
}

void tst_DSearchlight::buttonsStayOnTheBoardAfterDragAndReuse()
{
    Board board;
    DSearchlight light(&board);
    board.show();
    ToolsFixture::dragMoving(&light, QPoint(1500, 900), { { -100, 50 }, { -300, 120 } });
    QCOMPARE(light.pos(), QPoint(-1260, -420));
    QCOMPARE(button(light, "bClose")->mapTo(&board, QPoint(0, 0)), QPoint(1820, 980));
    QCOMPARE(button(light, "bSelectRect")->mapTo(&board, QPoint(0, 0)), QPoint(1640, 980));

    // Closed and used again, as the page does it: centred again, buttons in their place.
    QTest::mouseClick(button(light, "bClose"), Qt::LeftButton);
    QVERIFY(!light.isVisible());
    light.show();
    light.move(-light.width() / 4, -light.height() / 4);
    light.raise();
    QCOMPARE(light.pos(), QPoint(-960, -540));
    QCOMPARE(button(light, "bClose")->mapTo(&board, QPoint(0, 0)), QPoint(1820, 980));
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(boardPicture(board), kBoardCentre), kBoard));
}

void tst_DSearchlight::shapeButtonsMarkTheChosenShape()
{
    Board board;
    DSearchlight light(&board);
    QPushButton *rect = button(light, "bSelectRect");
    QPushButton *ellipse = button(light, "bSelectEllipse");
    const auto isBlue = [](QPushButton *b) {
        return b->styleSheet().contains(QLatin1String("rgb(0, 150, 255)"));
    };
    QVERIFY(isBlue(ellipse));
    QVERIFY(!isBlue(rect));
    for (int twice = 0; twice < 2; ++twice) {
        QTest::mouseClick(rect, Qt::LeftButton);
        QVERIFY(isBlue(rect));
        QVERIFY(!isBlue(ellipse));
        QVERIFY(light.isRectHole());
    }
    QTest::mouseClick(ellipse, Qt::LeftButton);
    QVERIFY(isBlue(ellipse));
    QVERIFY(!isBlue(rect));
    QVERIFY(!light.isRectHole());
    QVERIFY(!isBlue(button(light, "bZoomIn")));
}

void tst_DSearchlight::holeSizeIsBounded()
{
    Board board;
    DSearchlight light(&board);
    board.show();
    QPushButton *zoomIn = button(light, "bZoomIn");
    QPushButton *zoomOut = button(light, "bZoomOut");
    for (int i = 0; i < 6; ++i)
        QTest::mouseClick(zoomIn, Qt::LeftButton);
    QCOMPARE(light.holeSize(), 0);
    // Further presses keep it shut instead of opening a mirrored hole.
    QTest::mouseClick(zoomIn, Qt::LeftButton);
    QCOMPARE(light.holeSize(), 0);
    const QImage shut = boardPicture(board);
    ToolsFixture::saveShot(shut, QStringLiteral("spotlight-shut"));
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(shut, kBoardCentre), kCover));
    QTest::mouseClick(zoomOut, Qt::LeftButton);
    QCOMPARE(light.holeSize(), 50);
    for (int i = 0; i < 60; ++i)
        QTest::mouseClick(zoomOut, Qt::LeftButton);
    QCOMPARE(light.holeSize(), 2160); // the cover's own height: nothing more to uncover
}

void tst_DSearchlight::releasesAndDoubleClicksEndOnTheCover()
{
    Board board;
    DSearchlight light(&board);
    board.show();
    const QPoint inHole = kBoardCentre - light.pos();
    QTest::mouseClick(&light, Qt::LeftButton, Qt::NoModifier, inHole);
    QTest::mouseDClick(&light, Qt::LeftButton, Qt::NoModifier, inHole);
    QTest::mouseClick(&light, Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
    QCOMPARE(board.releases, 0);
    QCOMPARE(board.doubleClicks, 0);
    QCOMPARE(light.pos(), QPoint(-960, -540));
}

QTEST_MAIN(tst_DSearchlight)
#include "tst_dsearchlight.moc"
