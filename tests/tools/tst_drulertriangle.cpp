#include "board/boardtypes.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "support/boardfixture.h"
#include "support/instrumentsfixture.h"
#include "support/testsupport.h"
#include "tools/drulertriangle.h"
#include "tools/instrumentrules.h"

#include <QtTest>

using namespace InstrumentsFixture;

class tst_DRulerTriangle : public QObject
{
    Q_OBJECT
private slots:
    void body();
    void pressModes_data();
    void pressModes();
    void windowIsNotPartOfTheBody();
    void drawsAlongEitherEdgeInTheBoardPen_data();
    void drawsAlongEitherEdgeInTheBoardPen();
    void clickWithoutMoveAddsNothing();
    void resizeFollowsThePointerX();
    void turnsByItsIcon();

private:
    // The set square moved left so that its icons and resize span are on screen.
    DRulerTriangle *placeSquare(BoardFixture::Board &board);
};

DRulerTriangle *tst_DRulerTriangle::placeSquare(BoardFixture::Board &board)
{
    board.current()->insertTriangleRuler();
    DRulerTriangle *square = board.current()->classroomTools().triangleRuler;
    dragItem(board.view(), square, { { 300, 40 }, { 200, 40 }, { -150, 40 } });
    return square;
}

void tst_DRulerTriangle::body()
{
    DRulerTriangle square;
    QCOMPARE(square.type(), int(ItemTypeInstrument));
    const QVector<QPointF> corners = pointsOf(square.path());
    QCOMPARE(corners,
             (QVector<QPointF>{ { 0, 0 },
                                { 600, 0 },
                                { 383, 60 },
                                { 60, 60 },
                                { 60, 254 },
                                { 383, 60 },
                                { 600, 0 },
                                { 0, 360 },
                                { 0, 0 } }));
    QCOMPARE(square.boundingRect(), QRectF(0, 0, 600, 360)); // cosmetic outline: no margin
    QCOMPARE(square.pen().width(), 0);
}

void tst_DRulerTriangle::pressModes_data()
{
    QTest::addColumn<QPointF>("press");
    QTest::addColumn<int>("mode");
    QTest::newRow("corner square is the top edge") << QPointF(7, 7) << int(tmDraw);
    QTest::newRow("left strip") << QPointF(7, 15) << int(tmDrawSecond);
    QTest::newRow("rotate icon") << QPointF(430, 70) << int(tmRotate);
    QTest::newRow("resize icon") << QPointF(390, 70) << int(tmResize);
    QTest::newRow("20 from both icons") << QPointF(410, 70) << int(tmMove);
    QTest::newRow("body") << QPointF(200, 40) << int(tmMove);
}

void tst_DRulerTriangle::pressModes()
{
    QFETCH(QPointF, press);
    QFETCH(int, mode);
    BoardFixture::Board board;
    DRulerTriangle *square = placeSquare(board);
    const QPoint at = viewPoint(board.view(), square, press);
    QTest::mousePress(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(square->mode(), mode);
    QTest::mouseRelease(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void tst_DRulerTriangle::windowIsNotPartOfTheBody()
{
    BoardFixture::Board board;
    DRulerTriangle *square = placeSquare(board);
    const QPoint inWindow = viewPoint(board.view(), square, { 100, 100 });
    QVERIFY(board.view()->itemAt(inWindow) != static_cast<QGraphicsItem *>(square));
    const QPoint onBody = viewPoint(board.view(), square, { 30, 200 });
    QCOMPARE(board.view()->itemAt(onBody), static_cast<QGraphicsItem *>(square));
}

void tst_DRulerTriangle::drawsAlongEitherEdgeInTheBoardPen_data()
{
    QTest::addColumn<QVector<QPointF>>("drag");
    QTest::addColumn<QVector<QPointF>>("line");
    QTest::newRow("top edge") << QVector<QPointF>{ { 50, 5 }, { 120, 40 }, { 250, -20 } }
                              << QVector<QPointF>{ { 50, 0 }, { 250, 0 } };
    QTest::newRow("left edge, past its corner")
            << QVector<QPointF>{ { 6, 300 }, { 30, 350 }, { -10, 420 } }
            << QVector<QPointF>{ { 0, 300 }, { 0, 420 } };
}

void tst_DRulerTriangle::drawsAlongEitherEdgeInTheBoardPen()
{
    QFETCH(QVector<QPointF>, drag);
    QFETCH(QVector<QPointF>, line);
    BoardFixture::Board board;
    DPage *page = board.current();
    page->insertTriangleRuler();
    DRulerTriangle *square = page->classroomTools().triangleRuler;
    // The board's pen changes while the set square lies on the page: the next line takes it.
    board.view()->m_penPencil[PenUserMain].setColor(QColor(0, 128, 0));
    board.view()->m_penPencil[PenUserMain].setWidth(7);
    dragItem(board.view(), square, drag);

    const auto drawn = vertexObjects(page);
    QCOMPARE(drawn.size(), 1);
    auto *object = static_cast<QGraphicsPathItem *>(drawn.first());
    QCOMPARE(pointsOf(object->path()), line);
    QCOMPARE(object->pen().color(), QColor(0, 128, 0));
    QCOMPARE(object->pen().width(), 7);
    QCOMPARE(object->scenePos(), square->scenePos());
    page->undoStack()->undo();
    QVERIFY(vertexObjects(page).isEmpty());
}

void tst_DRulerTriangle::clickWithoutMoveAddsNothing()
{
    BoardFixture::Board board;
    DPage *page = board.current();
    page->insertTriangleRuler();
    DRulerTriangle *square = page->classroomTools().triangleRuler;
    clickItem(board.view(), square, { 6, 200 });
    QCOMPARE(square->mode(), int(tmDrawSecond));
    QVERIFY(vertexObjects(page).isEmpty());
    QCOMPARE(page->undoStack()->count(), 0);
}

void tst_DRulerTriangle::resizeFollowsThePointerX()
{
    BoardFixture::Board board;
    DRulerTriangle *square = placeSquare(board);
    dragItem(board.view(), square, { { 390, 70 }, { 500, 70 }, { 700, 70 } });
    QCOMPARE(square->length(), 1000);
    QCOMPARE(square->boundingRect(), QRectF(0, 0, 1000, 600));
    // Outside the span the size stays; the icon now sits further right.
    const QPoint icon = viewPoint(board.view(), square, { 670, 110 });
    QTest::mousePress(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, icon);
    TestSupport::moveTo(board.view()->viewport(), viewPoint(board.view(), square, { 300, 110 }));
    QTest::mouseRelease(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, icon);
    QCOMPARE(square->mode(), int(tmResize));
    QCOMPARE(square->length(), 1000);
}

void tst_DRulerTriangle::turnsByItsIcon()
{
    BoardFixture::Board board;
    DRulerTriangle *square = placeSquare(board);
    const QPointF icon(430, 70);
    QLineF arm(QPointF(), icon);
    arm.setAngle(arm.angle() - 45); // clockwise on the screen
    const QPointF pointerScene =
            board.view()->mapToScene(viewPoint(board.view(), square, arm.p2()));
    dragItem(board.view(), square, { icon, arm.p2() });
    // The turn is counted counter-clockwise from the press: a clockwise swing of 45 degrees
    // is a turn of -315, which looks the same and reads 315.
    QVERIFY2(qAbs(square->rotation() + 315) < 0.3, qPrintable(QString::number(square->rotation())));
    QCOMPARE(InstrumentRules::shownAngle(square->rotation()), -int(std::trunc(square->rotation())));
    // The icon followed the pointer about the right-angle corner.
    const QPointF corner = square->scenePos();
    const qreal iconAngle = QLineF(corner, square->mapToScene(icon)).angle();
    QVERIFY(qAbs(iconAngle - QLineF(corner, pointerScene).angle()) < 0.3);
}

QTEST_MAIN(tst_DRulerTriangle)
#include "tst_drulertriangle.moc"
