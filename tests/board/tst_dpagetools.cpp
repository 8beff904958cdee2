#include "support/boardfixture.h"
#include "support/inkfixture.h"
#include "support/testsupport.h"

#include "board/boardtypes.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpathtableitem.h"
#include "board/dgpathvertexitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgtextitem.h"
#include "board/dpage.h"
#include "board/drotateitem.h"
#include "board/drotateitemfocus.h"
#include "board/dview.h"
#include "board/dwidget.h"
#include "board/scribblearea.h"
#include "board/shapegeometry.h"

#include <QtTest>

using namespace BoardFixture;
using namespace InkFixture;

class tst_DPageTools : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void cleanup() { QVERIFY(TestSupport::takeConnectWarnings().isEmpty()); }

    void shapeDrag_data();
    void shapeDrag();
    void shapeClickLeavesNothingVisible();
    void tableIsRecordedOnce();
    void polygonClosesNearItsStart();
    void textAtReleasePoint();
    void objectEraserDeletesCrossedObjects();
    void objectEraserStrokesStartAfresh();
    void pointEraserThinsStrokesAndShowsTrail();
    void bucketFillThenSelect();
    void toolsThatMakeNothing_data();
    void toolsThatMakeNothing();
};

namespace {

QMenu *frameMenu(QGraphicsItem *item)
{
    return DCustomItem::fromItem(item)->rotateItem()->m_focus->m_menu;
}

} // namespace

void tst_DPageTools::shapeDrag_data()
{
    QTest::addColumn<int>("tool");
    for (int tool = BtMenus::btLine; tool <= BtMenus::btShape93; ++tool) {
        if (tool != BtMenus::btPolygon)
            QTest::addRow("tool %d", tool) << tool;
    }
}

void tst_DPageTools::shapeDrag()
{
    QFETCH(int, tool);
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    view->setShapeFillPenColour(QColor(10, 200, 30), FillSolid, QString());
    view->setShapeType(static_cast<BtMenus::btType>(tool));
    const QPoint press(300, 250);
    const QPoint release(450, 360);

    TestSupport::drag(view->viewport(), line(press, release, 10));

    const QList<QGraphicsItem *> objects = boardObjects(page);
    QCOMPARE(objects.size(), 1);
    QCOMPARE(page->undoStack()->count(), 1);
    auto *shape = dynamic_cast<DGPathCurveItem *>(objects.first());
    QVERIFY(shape);
    QCOMPARE(shape->type(), int(ItemTypePath));
    QCOMPARE(int(shape->shapeType()), tool);
    QCOMPARE(shape->scenePos(), view->mapToScene(press));
    QCOMPARE(shape->pen(), view->getShapePen());
    QCOMPARE(shape->path(),
             ShapeGeometry::pathFor(tool, view->mapToScene(press), view->mapToScene(release),
                                    shape));
    QVERIFY(!shape->redrawAlways());
    QCOMPARE(frameMenu(shape), shape->couldFilled() ? view->m_menuVertex : view->m_menuPath);
    if (ShapeGeometry::takesFill(tool)) {
        QCOMPARE(shape->brush().color(), QColor(10, 200, 30));
        QCOMPARE(shape->getGradColor(), QColor(10, 200, 30));
    } else {
        QCOMPARE(shape->brush().style(), Qt::NoBrush);
    }
    page->setUndo();
    QCOMPARE(shape->scene(), nullptr);
}

void tst_DPageTools::shapeClickLeavesNothingVisible()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    view->setShapeType(BtMenus::btEllipse);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(400, 400));
    QCOMPARE(boardObjects(page).size(), 0);
    // The addition made at the press stays in the history, as a step that shows nothing.
    QCOMPARE(page->undoStack()->count(), 1);
    QCOMPARE(page->m_pDrawItem, nullptr);
}

void tst_DPageTools::tableIsRecordedOnce()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    view->setTableRowColumn(4, 2);
    chooseTool(view, BtMenus::btTableTool);
    TestSupport::drag(view->viewport(), line(QPoint(200, 200), QPoint(500, 420), 12));

    const QList<QGraphicsItem *> objects = boardObjects(page);
    QCOMPARE(objects.size(), 1);
    auto *table = dynamic_cast<DGPathTableItem *>(objects.first());
    QVERIFY(table);
    QCOMPARE(table->type(), int(ItemTypeTable));
    QCOMPARE(table->m_rows, 4);
    QCOMPARE(table->m_cols, 2);
    QCOMPARE(table->scenePos(), view->mapToScene(QPoint(200, 200)));
    QVERIFY(qAbs(table->path().boundingRect().width() - 300) < 6);
    QVERIFY(qAbs(table->path().boundingRect().height() - 220) < 6);
    QCOMPARE(page->undoStack()->count(), 1);
    QCOMPARE(view->getPenType(PenUserMain), int(BtMenus::btSelect));
    QCOMPARE(frameMenu(table), view->m_menuPath);

    page->setUndo();
    QCOMPARE(table->scene(), nullptr);
    page->setRedo();
    QCOMPARE(table->scene(), page);
}

void tst_DPageTools::polygonClosesNearItsStart()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    chooseTool(view, BtMenus::btPolygon);
    const QVector<QPoint> clicks = { QPoint(200, 200), QPoint(450, 220), QPoint(320, 430) };
    for (const QPoint &click : clicks) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, click);
        QTest::qWait(QApplication::doubleClickInterval() + 50); // separate clicks
    }
    QVERIFY(page->m_bPolygon);
    QVERIFY(view->testAttribute(Qt::WA_MouseTracking));
    const QList<QGraphicsItem *> open = boardObjects(page);
    QCOMPARE(open.size(), 1);
    auto *polygon = dynamic_cast<DGPathVertexItem *>(open.first());
    QVERIFY(polygon);
    QCOMPARE(polygon->path().elementCount(), 3);

    // A click 4 pixels from the first vertex closes the outline there.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(203, 203));
    QVERIFY(!page->m_bPolygon);
    QVERIFY(!view->testAttribute(Qt::WA_MouseTracking));
    QCOMPARE(view->getPenType(PenUserMain), int(BtMenus::btSelect));
    QVERIFY(polygon->isSelected());
    const QPainterPath outline = polygon->path();
    QCOMPARE(outline.elementCount(), 4);
    QCOMPARE(QPointF(outline.elementAt(3).x, outline.elementAt(3).y), QPointF(0, 0));
    QCOMPARE(polygon->mapToScene(QPointF(outline.elementAt(1).x, outline.elementAt(1).y)),
             view->mapToScene(clicks.at(1)));
    QCOMPARE(page->undoStack()->count(), 0); // the polygon is not recorded
    QCOMPARE(frameMenu(polygon), view->m_menuPath);
}

void tst_DPageTools::textAtReleasePoint()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    view->insertText();
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(520, 310));

    const QList<QGraphicsItem *> objects = boardObjects(page);
    QCOMPARE(objects.size(), 1);
    auto *text = dynamic_cast<DGTextItem *>(objects.first());
    QVERIFY(text);
    QCOMPARE(text->toPlainText(), QStringLiteral("text"));
    QCOMPARE(text->font().family(), QStringLiteral("Arial"));
    QCOMPARE(text->font().pointSize(), 25);
    QCOMPARE(text->scenePos(), view->mapToScene(QPoint(520, 310)));
    QCOMPARE(page->undoStack()->count(), 1);
    QCOMPARE(view->getPenType(PenUserMain), int(BtMenus::btSelect));
}

void tst_DPageTools::objectEraserDeletesCrossedObjects()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    QGraphicsItem *crossed = addCurve(page, stroke(40, 60, 1), QPointF(200, 300));
    auto *locked = addCurve(page, stroke(40, 60, 2), QPointF(400, 300));
    locked->lock(true);
    QGraphicsItem *missed = addCurve(page, stroke(40, 60, 3), QPointF(600, 500));
    RectObject *sound = addRect(page, QRectF(0, 0, 50, 50), QPointF(700, 300));
    auto *soundObject = new RectObject(QRectF(0, 0, 50, 50), ItemTypeSound);
    soundObject->setPos(800, 300);
    page->addItem(soundObject);
    Q_UNUSED(sound)
    view->setEraser(BtMenus::btObjectEraser);

    TestSupport::drag(view->viewport(), line(QPoint(150, 330), QPoint(900, 330), 40));

    QCOMPARE(crossed->scene(), nullptr);
    QCOMPARE(locked->scene(), nullptr); // no lock test: the eraser takes what it crosses
    QCOMPARE(missed->scene(), page);
    QCOMPARE(soundObject->scene(), page); // sound and video are not erased this way
    QCOMPARE(page->undoStack()->count(), 1);
    QVERIFY(!view->m_eraserTrail->isVisible());
    page->setUndo();
    QCOMPARE(crossed->scene(), page);
    QCOMPARE(locked->scene(), page);
}

void tst_DPageTools::objectEraserStrokesStartAfresh()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    QGraphicsItem *first = addCurve(page, stroke(40, 60, 1), QPointF(200, 300));
    chooseTool(view, BtMenus::btEraserUser1);
    TestSupport::drag(view->viewport(), line(QPoint(150, 330), QPoint(300, 330), 10));
    QCOMPARE(first->scene(), nullptr);

    // Drawn later where the first stroke passed; a stroke elsewhere leaves it alone.
    QGraphicsItem *later = addCurve(page, stroke(40, 60, 5), QPointF(200, 300));
    TestSupport::drag(view->viewport(), line(QPoint(600, 600), QPoint(700, 650), 10));
    QCOMPARE(later->scene(), page);
    QCOMPARE(page->undoStack()->count(), 1);
}

void tst_DPageTools::pointEraserThinsStrokesAndShowsTrail()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    QPainterPath horizontal(QPointF(0, 0));
    for (int x = 10; x <= 400; x += 10)
        horizontal.lineTo(x, 0);
    auto *ink = addCurve(page, horizontal, view->mapToScene(QPoint(100, 300)));
    page->setModified(false);
    view->setEraser(BtMenus::btBitmapEraser);

    const QVector<QPoint> rub = line(QPoint(180, 280), QPoint(260, 320), 16);
    TestSupport::drag(view->viewport(), rub);

    QVERIFY(!ink->erased().isEmpty());
    QVERIFY(ink->erased().size() < 41);
    QVERIFY(ink->isVisible());
    QVERIFY(page->isModified());
    QCOMPARE(page->undoStack()->count(), 0);

    DWidget *trail = view->m_eraserTrail;
    QVERIFY(trail->isVisible());
    QCOMPARE(trail->cursorPos(), rub.last());
    QCOMPARE(trail->canvas().toImage().pixelColor(220, 300), QColor(200, 200, 200));
    QImage shown(trail->size(), QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::transparent);
    trail->render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
    QCOMPARE(shown.pixelColor(100, 100).alpha(), 0); // no marker dot
    // The eraser picture is centred on the last point.
    QVERIFY(!trail->eraserImage().isNull());
    QVERIFY(shown.pixelColor(rub.last()).alpha() > 0);

    // The trail stays up but lets presses through: rubbing on thins the stroke further.
    const int erased = ink->erased().size();
    TestSupport::drag(view->viewport(), line(QPoint(380, 300), QPoint(460, 300), 16));
    QVERIFY(ink->erased().size() > erased);
}

void tst_DPageTools::bucketFillThenSelect()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    view->setShapePenColour(QColor(0, 0, 0));
    view->setShapePenWidth(3);
    view->setShapeType(BtMenus::btRectangle);
    TestSupport::drag(view->viewport(), line(QPoint(200, 200), QPoint(400, 350), 10));
    QCOMPARE(boardObjects(page).size(), 1);
    const int steps = page->undoStack()->count();

    view->setShapePenColour(QColor(0, 160, 0));
    chooseTool(view, BtMenus::btFill);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(300, 280));

    const QList<QGraphicsItem *> objects = boardObjects(page);
    QCOMPARE(objects.size(), 2);
    auto *filled = dynamic_cast<DGPixmapItem *>(objects.last());
    QVERIFY(filled);
    QCOMPARE(page->undoStack()->count(), steps); // the fill is not recorded
    // The picture covers the inside of the rectangle, in the fill colour.
    const QRectF area(filled->scenePos(), QSizeF(filled->pixmap().size()));
    QVERIFY2(area.contains(view->mapToScene(QPoint(210, 210)))
                     && area.contains(view->mapToScene(QPoint(390, 340))),
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(area.x())
                                .arg(area.y())
                                .arg(area.width())
                                .arg(area.height())));
    QVERIFY2(area.width() < 205 && area.height() < 155,
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(area.x())
                                .arg(area.y())
                                .arg(area.width())
                                .arg(area.height())));
    const QPointF inside = filled->mapFromScene(view->mapToScene(QPoint(300, 280)));
    QCOMPARE(filled->pixmap().toImage().pixelColor(inside.toPoint()), QColor(0, 160, 0));
    QCOMPARE(frameMenu(filled), view->m_menuGeneric);
    QCOMPARE(view->getPenType(PenUserMain), int(BtMenus::btSelect));
    QCOMPARE(view->dragMode(), QGraphicsView::RubberBandDrag);
}

void tst_DPageTools::toolsThatMakeNothing_data()
{
    QTest::addColumn<int>("tool");
    QTest::newRow("temporary tool") << int(BtMenus::btTemporaryTool);
    QTest::newRow("pencil reaching the page") << int(BtMenus::btPencil);
    QTest::newRow("select") << int(BtMenus::btSelect);
}

void tst_DPageTools::toolsThatMakeNothing()
{
    QFETCH(int, tool);
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    view->m_penType[PenUserMain] = tool;
    view->setVisibleScribbleArea(false);
    TestSupport::drag(view->viewport(), line(QPoint(200, 200), QPoint(400, 300), 10));
    QCOMPARE(boardObjects(page).size(), 0);
    QCOMPARE(page->undoStack()->count(), 0);
    QCOMPARE(page->m_pDrawItem, nullptr);
}

QTEST_MAIN(tst_DPageTools)
#include "tst_dpagetools.moc"
