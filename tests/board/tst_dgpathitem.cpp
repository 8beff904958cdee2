#include "support/boardfixture.h"
#include "support/inkfixture.h"
#include "support/testsupport.h"

#include "board/boardtypes.h"
#include "board/dgitemgroup.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpathtableitem.h"
#include "board/dgpathvertexitem.h"
#include "board/dpage.h"
#include "board/drotateitem.h"
#include "board/drotateitemfocus.h"
#include "board/tiledpicture.h"
#include "board/dview.h"
#include "board/scribblearea.h"
#include "board/strokepictures.h"
#include "shell/cores.h"

#include <QGraphicsItemGroup>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QStyleOptionGraphicsItem>
#include <QtTest>

#include <sched.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

using namespace BoardFixture;

class tst_DGPathItem : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void cleanup() { QVERIFY(TestSupport::takeConnectWarnings().isEmpty()); }

    void typesAndBounds();
    void penAndBrushRememberPrevious();
    void pointEraser();
    void oneReleasePerDragNoneForClick();
    void vertexDrag_data();
    void vertexDrag();
    void tableGrid();
    void tableGrowsByPenWidthAtEachReset();
    void renderCacheIsUsed();
    void renderCacheDroppedOnChanges_data();
    void renderCacheDroppedOnChanges();
    void cachedEqualsUncached_data();
    void cachedEqualsUncached();
    void pictureDrawnAheadEqualsPainted_data() { cachedEqualsUncached_data(); }
    void pictureDrawnAheadEqualsPainted();
    void pictureOfAChangedObjectIsNotTaken_data();
    void pictureOfAChangedObjectIsNotTaken();
    void pictureThreadsFollowTheCoresAllowed_data();
    void pictureThreadsFollowTheCoresAllowed();
    void picturesStopWithTheApplication_data();
    void picturesStopWithTheApplication();
    void tableGridAtEverySize();
    void tableGridVisibleAtEveryZoom_data();
    void tableGridVisibleAtEveryZoom();
    void turnedTableWholeWhenZoomed_data();
    void turnedTableWholeWhenZoomed();
    void inkSharpAtEveryZoom_data();
    void inkSharpAtEveryZoom();
    void zoomStepStandsInWithTheBoardAlone_data();
    void zoomStepStandsInWithTheBoardAlone();
    void longStrokeInPiecesLooksWhole_data();
    void longStrokeInPiecesLooksWhole();
    void strokeIsAsDarkAsItsLine_data();
    void strokeIsAsDarkAsItsLine();
    void mouseStrokeIsWhole_data();
    void mouseStrokeIsWhole();
    void groupMembersKeepTheirPictures();
    void largePictureInTilesShowsAsPainted_data();
    void largePictureInTilesShowsAsPainted();
    void curveClone();
    void vertexCloneKeepsCentre();
};

namespace {

// This program run again to end its application while pictures are being drawn: the row's
// way of drawing them.
const char kEndWhileDrawing[] = "VELTORINA_END_WHILE_DRAWING";

QPainterPath polyline(const QVector<QPointF> &points, bool closed = false)
{
    QPainterPath path;
    path.moveTo(points.first());
    for (int i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    if (closed)
        path.lineTo(points.first());
    return path;
}

QImage renderPage(DPage *page)
{
    QImage image(page->sceneRect().size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    page->render(&painter);
    return image;
}

enum ObjectKind { KindStroke, KindLongStroke, KindShape, KindPolygon, KindTable };
enum DrawingChange {
    ChangePath,
    ChangePen,
    ChangeBrush,
    ChangeFill,
    ChangeSize,
    ChangeTransform,
    ChangeRowsColumns,
    ChangeSelection,
    ChangeLock
};

DGPathItem *makeObject(DPage *page, int kind)
{
    switch (kind) {
    case KindStroke:
        return addCurve(page, stroke(30, 80, 7), QPointF(60, 60), BtMenus::btPencil, false,
                        QPen(QColor(200, 30, 30), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    case KindLongStroke: // drawn in pieces
        return addCurve(page, stroke(600, 300, 11), QPointF(60, 60), BtMenus::btPencil, false,
                        QPen(QColor(20, 40, 160), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    case KindShape: {
        QPainterPath oval;
        oval.addEllipse(0, 0, 120, 80);
        DGPathCurveItem *shape =
                addCurve(page, oval, QPointF(60, 60), BtMenus::btEllipse, false, QPen(Qt::blue, 3));
        shape->setBrush(QColor(255, 200, 0));
        return shape;
    }
    case KindPolygon:
        return addVertex(page, polyline({ QPointF(0, 0), QPointF(120, 10), QPointF(60, 90) }, true),
                         QPointF(60, 60));
    default: {
        auto *table = new DGPathTableItem(2, 3, QPointF(60, 60), QPen(Qt::black), nullptr);
        table->setTableRect(QRectF(0, 0, 150, 100));
        page->addItem(table);
        return table;
    }
    }
}

void applyChange(DGPathItem *object, int change)
{
    auto *table = dynamic_cast<DGPathTableItem *>(object);
    switch (change) {
    case ChangePath:
        if (table)
            table->setTableRect(QRectF(0, 0, 240, 170)); // the table tool's drag
        else
            object->setPath(polyline({ QPointF(0, 0), QPointF(200, 40), QPointF(30, 150) }));
        break;
    case ChangePen:
        object->setPen(QPen(QColor(0, 150, 0), 9, Qt::DashLine));
        break;
    case ChangeBrush:
        object->setBrush(QColor(120, 0, 200, 180));
        break;
    case ChangeFill: {
        // As the fill palette does it: the end colour, then the gradient brush.
        object->setGradColor(Qt::green);
        const QRectF bounds = object->boundingRect();
        QLinearGradient gradient(bounds.topLeft(), bounds.bottomRight());
        gradient.setColorAt(0, Qt::red);
        gradient.setColorAt(1, Qt::green);
        object->setBrush(gradient);
        break;
    }
    case ChangeSize:
        object->setScale(1.7);
        break;
    case ChangeTransform:
        object->setTransform(QTransform().shear(0.3, 0.1));
        break;
    case ChangeRowsColumns:
        table->setRowsColumns(4, 5);
        break;
    case ChangeSelection:
        object->setSelected(true);
        break;
    case ChangeLock:
        object->setSelected(true);
        renderPage(static_cast<DPage *>(object->scene())); // cached while selected and free
        object->lock(true);
        break;
    }
}

} // namespace

void tst_DGPathItem::typesAndBounds()
{
    QPainterPath path = polyline({ QPointF(10, 20), QPointF(110, 70) });
    DGPathCurveItem curve(QPointF(5, 5), QPen(Qt::black, 4), BtMenus::btLine, nullptr);
    curve.setPath(path);
    QCOMPARE(curve.type(), int(ItemTypePath));
    QCOMPARE(curve.boundingRect(), QRectF(-4, 6, 128, 78)); // pen + 10 on every side
    QCOMPARE(curve.pos(), QPointF(5, 5));
    QCOMPARE(curve.m_pressPos, QPointF(5, 5));
    QCOMPARE(curve.m_fillType, short(ItemFillNone));
    QVERIFY(!curve.couldFilled());
    DGPathVertexItem polygon(QPointF(), QPen(Qt::black, 3), nullptr);
    polygon.setPath(path);
    QCOMPARE(polygon.type(), int(ItemTypeVertex));
    QCOMPARE(polygon.boundingRect(), QRectF(7, 17, 106, 56));
    DGPathTableItem table(2, 3, QPointF(), QPen(Qt::black, 1), nullptr);
    QCOMPARE(table.type(), int(ItemTypeTable));
    QCOMPARE(DCustomItem::fromItem(&table), static_cast<DCustomItem *>(&table));
    QVERIFY(DGPathCurveItem(QPointF(), QPen(), BtMenus::btStar, nullptr).couldFilled());
    QVERIFY(!DGPathCurveItem(QPointF(), QPen(), BtMenus::btCube, nullptr).couldFilled());
    QCOMPARE(curve.points().size(), 2);
    QCOMPARE(curve.points().at(1), QPointF(110, 70));
}

void tst_DGPathItem::penAndBrushRememberPrevious()
{
    DGPathCurveItem curve(QPointF(), QPen(Qt::black, 2), BtMenus::btRectangle, nullptr);
    curve.setPen(QPen(Qt::red, 3));
    curve.setPen(QPen(Qt::blue, 4));
    QCOMPARE(curve.pen(), QPen(Qt::blue, 4));
    QCOMPARE(curve.prevPen(), QPen(Qt::red, 3));
    QCOMPARE(curve.QGraphicsPathItem::pen(), QPen(Qt::blue, 4));
    QCOMPARE(curve.brush(), QBrush());
    curve.setBrush(QBrush(Qt::yellow));
    QCOMPARE(curve.prevBrush(), QBrush());
    QCOMPARE(curve.brush(), QBrush(Qt::yellow));
}

void tst_DGPathItem::pointEraser()
{
    QVector<QPointF> points;
    for (int i = 0; i < 10; ++i)
        points << QPointF(i * 10, 0);
    DGPathCurveItem curve(QPointF(), QPen(Qt::black, 2), BtMenus::btPencil, nullptr);
    curve.setPath(polyline(points));
    const QPainterPath before = curve.path();
    curve.erasePointF(QPointF(25, 0), 21); // 10, 20, 30, 40
    QCOMPARE(curve.erased(), (QList<int>{ 1, 2, 3, 4 }));
    curve.erasePointF(QPointF(25, 0), 21); // the same again: counted once
    QCOMPARE(curve.erased().size(), 4);
    curve.erasePointF(QPointF(60, 0), 11); // 50, 60, (70 is exactly 10 away: kept)... radius 11
    QCOMPARE(curve.erased().size(), 7);
    QVERIFY(!curve.isVisible()); // 10 - 3 = 7 is no longer more than 7
    QCOMPARE(curve.path(), before); // the eraser never rebuilds the path

    DGPathCurveItem six(QPointF(), QPen(Qt::black, 2), BtMenus::btPencil, nullptr);
    six.setPath(polyline(points));
    six.erasePointF(QPointF(25, 0), 21);
    six.erasePointF(QPointF(50, 0), 5);
    six.erasePointF(QPointF(60, 0), 1);
    QCOMPARE(six.erased().size(), 6);
    QVERIFY(six.isVisible());

    DGPathCurveItem tick(QPointF(), QPen(Qt::black, 2), BtMenus::btPencil, nullptr);
    tick.setPath(polyline({ QPointF(0, 0), QPointF(5, 5), QPointF(10, 0) }));
    tick.erasePointF(QPointF(500, 500), 21);
    QVERIFY(tick.erased().isEmpty());
    QVERIFY(!tick.isVisible());
}

void tst_DGPathItem::oneReleasePerDragNoneForClick()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPathCurveItem *curve = addCurve(page, stroke(50, 100, 7), QPointF(300, 300));
    QSignalSpy released(curve, &DGPathCurveItem::releaseBt);
    const QPoint onStroke = view->mapFromScene(
            curve->mapToScene(curve->path().elementAt(10).x, curve->path().elementAt(10).y));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, onStroke);
    QCOMPARE(released.count(), 0);
    QCOMPARE(page->undoStack()->count(), 0);
    TestSupport::drag(view->viewport(),
                      { onStroke, onStroke + QPoint(20, 5), onStroke + QPoint(41, 17) });
    QCOMPARE(released.count(), 1);
    const QPointF scenePoint = view->mapToScene(onStroke + QPoint(41, 17));
    QCOMPARE(released.at(0).at(0).toPoint(), QPoint(int(scenePoint.x()), int(scenePoint.y())));
    QCOMPARE(curve->pos(), QPointF(341, 317));
    QCOMPARE(page->undoStack()->count(), 1);
    QVERIFY(!curve->m_bMoved); // the recording consumed it
}

void tst_DGPathItem::vertexDrag_data()
{
    QTest::addColumn<int>("kind"); // 0 curve, 1 vertex item
    QTest::addColumn<int>("tool");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("grab"); // element index pressed
    QTest::addColumn<bool>("reshaped");
    QTest::newRow("closed shape, first vertex")
            << 0 << int(BtMenus::btTriangle) << false << true << 0 << true;
    QTest::newRow("closed shape, middle vertex")
            << 0 << int(BtMenus::btTriangle) << false << true << 1 << true;
    QTest::newRow("straight line") << 0 << int(BtMenus::btLine) << false << false << 1 << false;
    QTest::newRow("freehand stroke") << 0 << int(BtMenus::btPencil) << false << true << 1 << false;
    QTest::newRow("locked shape") << 0 << int(BtMenus::btTriangle) << true << true << 1 << false;
    QTest::newRow("locked polygon") << 1 << 0 << true << true << 1 << true;
    QTest::newRow("polygon as a line") << 1 << 0 << false << false << 1 << true;
}

void tst_DGPathItem::vertexDrag()
{
    QFETCH(int, kind);
    QFETCH(int, tool);
    QFETCH(bool, locked);
    QFETCH(bool, closed);
    QFETCH(int, grab);
    QFETCH(bool, reshaped);
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    const QVector<QPointF> corners = closed
            ? QVector<QPointF>{ QPointF(0, 200), QPointF(100, 0), QPointF(200, 200) }
            : QVector<QPointF>{ QPointF(0, 0), QPointF(200, 100) };
    const QPainterPath path = polyline(corners, closed);
    DGPathItem *object = kind == 0
            ? static_cast<DGPathItem *>(
                    addCurve(page, path, QPointF(300, 200), BtMenus::btType(tool)))
            : static_cast<DGPathItem *>(addVertex(page, path, QPointF(300, 200)));
    object->lock(locked);
    const QPainterPath before = object->path();
    const QPointF grabbed(before.elementAt(grab).x, before.elementAt(grab).y);
    // Press a few pixels from the vertex, on the outline towards its neighbour.
    const QPointF neighbour(before.elementAt(grab == 0 ? 1 : grab - 1).x,
                            before.elementAt(grab == 0 ? 1 : grab - 1).y);
    const QLineF towards(grabbed, neighbour);
    const QPoint start =
            view->mapFromScene(object->mapToScene(towards.pointAt(4 / towards.length())));
    TestSupport::drag(view->viewport(), { start, start + QPoint(15, 10), start + QPoint(30, 20) });
    const QPainterPath after = object->path();
    if (!reshaped) {
        QCOMPARE(after, before);
        if (!locked && tool != BtMenus::btPencil)
            QCOMPARE(object->pos(), QPointF(300, 200)); // the line neither reshapes nor moves
        return;
    }
    QCOMPARE(object->pos(), QPointF(300, 200));
    const QPointF moved = object->mapFromScene(view->mapToScene(start + QPoint(30, 20)));
    QCOMPARE(QPointF(after.elementAt(grab).x, after.elementAt(grab).y), moved);
    const int last = after.elementCount() - 1;
    for (int i = 0; i <= last; ++i) {
        const QPointF point(after.elementAt(i).x, after.elementAt(i).y);
        const bool endsTogether =
                after.elementCount() > 2 && (grab == 0 || grab == last) && (i == 0 || i == last);
        if (i == grab || endsTogether)
            QCOMPARE(point, moved);
        else
            QCOMPARE(point, QPointF(before.elementAt(i).x, before.elementAt(i).y));
    }
    QVERIFY(object->rotateItem()->m_focus->m_bReshaped);
    QCOMPARE(page->undoStack()->count(), 0); // a reshape records nothing
}

void tst_DGPathItem::tableGrid()
{
    DGPathTableItem table(2, 3, QPointF(), QPen(Qt::black, 0), nullptr);
    QPainterPath box;
    box.addRect(0, 0, 100, 80);
    table.setPath(box);
    table.resetPath();
    QCOMPARE(table.m_rowHeight, 30.0);
    QVERIFY(qAbs(table.m_colWidth - 100.0 / 3) < 1e-9);
    QList<qreal> horizontal;
    QList<qreal> verticalTops;
    const QPainterPath grid = table.path();
    for (int i = 5; i < grid.elementCount(); ++i) { // after the outline rectangle
        const QPainterPath::Element from = grid.elementAt(i - 1);
        const QPainterPath::Element to = grid.elementAt(i);
        if (!to.isLineTo())
            continue;
        if (from.y == to.y)
            horizontal << to.y;
        else
            verticalTops << qMin(from.y, to.y);
    }
    QCOMPARE(horizontal, (QList<qreal>{ 20, 50, 80 }));
    QCOMPARE(verticalTops.size(), 4);
    for (qreal top : verticalTops)
        QCOMPARE(top, 20.0); // below the header band only
}

void tst_DGPathItem::tableGrowsByPenWidthAtEachReset()
{
    DGPathTableItem table(0, 0, QPointF(), QPen(Qt::black, 2), nullptr);
    QCOMPARE(table.m_rows, 1); // at least one row and column
    QPainterPath box;
    box.addRect(0, 0, 100, 80);
    table.setPath(box);
    table.resetPath();
    QCOMPARE(table.path().boundingRect(), QRectF(-2, -2, 104, 84));
    table.resetPath();
    QCOMPARE(table.path().boundingRect(), QRectF(-4, -4, 108, 88));
}

void tst_DGPathItem::renderCacheIsUsed()
{
    Board board;
    DPage *page = board.page(0);
    DGPathCurveItem *curve =
            addCurve(page, polyline({ QPointF(0, 0), QPointF(100, 100) }), QPointF(100, 100),
                     BtMenus::btPencil, false, QPen(Qt::red, 6));
    // Drawn from its own picture, it keeps no second one in the toolkit's cache: every render
    // reaches paint.
    QCOMPARE(curve->cacheMode(), QGraphicsItem::NoCache);
    QImage first = renderPage(page);
    QCOMPARE(curve->renderCacheBuilds(), 1);
    QCOMPARE(first.pixelColor(150, 150), QColor(Qt::red));
    renderPage(page);
    QCOMPARE(curve->renderCacheBuilds(), 1);
    // Moving does not redraw the stroke: the picture travels with it.
    curve->setPos(100, 300);
    const QImage moved = renderPage(page);
    QCOMPARE(curve->renderCacheBuilds(), 1);
    QCOMPARE(moved.pixelColor(125, 325), QColor(Qt::red));
    // A new path of the same bounds is drawn afresh at once: the picture never outlives it.
    curve->setPath(polyline({ QPointF(100, 0), QPointF(0, 100) }));
    const QImage fresh = renderPage(page);
    QCOMPARE(fresh.pixelColor(125, 325), QColor(Qt::white));
    QCOMPARE(fresh.pixelColor(175, 325), QColor(Qt::red));
    QCOMPARE(curve->renderCacheBuilds(), 2);
    curve->restorePx();
    renderPage(page);
    QCOMPARE(curve->renderCacheBuilds(), 3);
}

void tst_DGPathItem::renderCacheDroppedOnChanges_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("selection") << 0;
    QTest::newRow("parent") << 1;
    QTest::newRow("flags") << 2;
    QTest::newRow("pen") << 5;
    QTest::newRow("brush") << 6;
    QTest::newRow("links") << 7;
}

void tst_DGPathItem::renderCacheDroppedOnChanges()
{
    QFETCH(int, change);
    Board board;
    DPage *page = board.page(0);
    DGPathCurveItem *curve = addCurve(page, stroke(30, 80, 3), QPointF(100, 100));
    renderPage(page);
    QVERIFY(curve->hasRenderCache());
    QGraphicsRectItem holder;
    switch (change) {
    case 0:
        curve->setSelected(true);
        break;
    case 1:
        page->addItem(&holder);
        curve->setParentItem(&holder);
        break;
    case 2:
        curve->lock(true);
        break;
    case 5:
        curve->setPen(QPen(Qt::green));
        break;
    case 6:
        curve->setBrush(QBrush(Qt::green));
        break;
    case 7:
        curve->changeLinks(QStringLiteral("http://x"), QString(), QString(), QString());
        break;
    }
    QVERIFY(!curve->hasRenderCache());
    if (change == 1) {
        curve->setParentItem(nullptr);
        page->removeItem(&holder);
    }
}

void tst_DGPathItem::cachedEqualsUncached_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("change");
    const char *kinds[] = { "stroke", "long stroke", "shape", "polygon", "table" };
    const char *changes[] = {
        "path", "pen", "brush", "fill", "size", "transform", "rows and columns", "selection", "lock"
    };
    for (int kind = KindStroke; kind <= KindTable; ++kind) {
        for (int change = ChangePath; change <= ChangeLock; ++change) {
            if (change == ChangeRowsColumns && kind != KindTable)
                continue;
            QTest::addRow("%s, %s", kinds[kind], changes[change]) << kind << change;
        }
    }
}

void tst_DGPathItem::cachedEqualsUncached()
{
    // The same object in the same state, once painted before the change (through whatever it
    // cached) and once never painted before: the page must look the same, pixel for pixel.
    QFETCH(int, kind);
    QFETCH(int, change);
    Board board;
    DPage *page = board.page(0);
    const QImage blank = renderPage(page);
    DGPathItem *cached = makeObject(page, kind);
    renderPage(page);
    QCOMPARE(cached->hasRenderCache(), kind != KindTable); // a table draws at the scale shown
    applyChange(cached, change);
    const QImage throughCache = renderPage(page);
    delete cached;

    DGPathItem *fresh = makeObject(page, kind);
    applyChange(fresh, change);
    fresh->invalidateCache();
    const QImage uncached = renderPage(page);
    QVERIFY(throughCache != blank);
    QCOMPARE(throughCache, uncached);
}

namespace {

// The picture of an object drawn at its own size is the one its painting caches, pixel for
// pixel; one of another scale is set against the object drawn straight there (a page rendered
// into a picture keeps the board's pictures), and only the rounding of a layer laid over white
// may differ.
void compareWithPainted(const QImage &shown, const QImage &painted, int change)
{
    if (change != ChangeSize && change != ChangeTransform) {
        QCOMPARE(shown, painted);
        return;
    }
    const TestSupport::InkDifference difference =
            TestSupport::inkDifference(painted, shown, 0);
    QVERIFY2(difference.ink > 0 && difference.largest <= 2, qPrintable(difference.toString()));
}

} // namespace

void tst_DGPathItem::pictureDrawnAheadEqualsPainted()
{
    // The picture other threads draw from what an object shows is the one its own painting
    // would have cached: the page looks the same, pixel for pixel.
    QFETCH(int, kind);
    QFETCH(int, change);
    Board board;
    board.window()->hide(); // the board would paint the object itself as it changes
    DPage *page = board.page(0);
    DGPathItem *object = makeObject(page, kind);
    applyChange(object, change);
    object->invalidateCache();
    const QImage painted = renderPage(page);
    object->invalidateCache();
    StrokePictures pictures(page);
    pictures.finish();
    // Selected objects keep the outline in their picture: the GUI thread draws those, and tables
    // draw at the scale shown.
    const bool drawnAhead = kind != KindTable && change != ChangeSelection && change != ChangeLock;
    QCOMPARE(object->hasRenderCache(), drawnAhead);
    const int builds = object->renderCacheBuilds();
    compareWithPainted(renderPage(page), painted, change);
    if (drawnAhead)
        QCOMPARE(object->renderCacheBuilds(), builds); // painted from the picture taken

    // Handed over as the board paints the object, the picture shows the same (one begun ahead
    // meanwhile is handed over when it comes, the board having drawn its own).
    object->invalidateCache();
    StrokePictures shown(page);
    shown.showFirst();
    compareWithPainted(renderPage(page), painted, change);
    // Scaled or turned, a page rendered into a picture draws the object straight (it keeps the
    // board's pictures), and the object has its picture once all are handed over.
    const bool atItsSize = change != ChangeSize && change != ChangeTransform;
    if (atItsSize)
        QCOMPARE(object->hasRenderCache(), kind != KindTable);
    QTRY_VERIFY_WITH_TIMEOUT(shown.isHandedOver(), 60000);
    QCOMPARE(object->hasRenderCache(), kind != KindTable);

    // Drawn ahead, at low priority, for a page nobody turns to: the pictures come all the same.
    object->invalidateCache();
    StrokePictures ahead(page);
    QTRY_VERIFY_WITH_TIMEOUT(ahead.isHandedOver(), 60000);
    QCOMPARE(object->hasRenderCache(), drawnAhead);
    compareWithPainted(renderPage(page), painted, change);
}

enum PicturesTaken { TakenWhenFinished, TakenAhead, TakenAsPainted };

void tst_DGPathItem::pictureOfAChangedObjectIsNotTaken_data()
{
    QTest::addColumn<int>("taken");
    QTest::addColumn<bool>("colourOnly"); // the picture keeps its size
    const char *takers[] = { "finished", "drawn ahead", "shown first, as the board paints" };
    for (int taken = TakenWhenFinished; taken <= TakenAsPainted; ++taken) {
        QTest::addRow("%s, another pen", takers[taken]) << taken << false;
        QTest::addRow("%s, another colour", takers[taken]) << taken << true;
    }
}

void tst_DGPathItem::pictureOfAChangedObjectIsNotTaken()
{
    QFETCH(int, taken);
    QFETCH(bool, colourOnly);
    Board board;
    board.window()->hide();
    DPage *page = board.page(0);
    DGPathItem *object = makeObject(page, KindLongStroke);
    const int builds = object->renderCacheBuilds();
    StrokePictures pictures(page);
    QCOMPARE(pictures.count(), 1);
    // While its picture is being drawn from the old pen.
    if (colourOnly) {
        QPen pen = object->pen();
        pen.setColor(Qt::green);
        object->setPen(pen);
    } else {
        applyChange(object, ChangePen);
    }
    QImage shown;
    if (taken == TakenWhenFinished) {
        pictures.finish();
    } else if (taken == TakenAhead) {
        QTRY_VERIFY_WITH_TIMEOUT(pictures.isHandedOver(), 60000);
    } else {
        pictures.showFirst();
        shown = renderPage(page);
        // The board drew the object's picture itself, from the new pen.
        QCOMPARE(object->renderCacheBuilds(), builds + 1);
        QTRY_VERIFY_WITH_TIMEOUT(pictures.isHandedOver(), 60000);
        QCOMPARE(object->renderCacheBuilds(), builds + 1);
    }
    // Finished at once, a picture begun ahead is drawn afresh rather than waited for: the
    // object may have that one. The pixels tell whether it shows the old pen.
    if (taken != TakenWhenFinished)
        QCOMPARE(object->hasRenderCache(), taken == TakenAsPainted);
    if (shown.isNull())
        shown = renderPage(page);
    object->invalidateCache();
    QCOMPARE(renderPage(page), shown);
    // A page that goes first takes its pictures with it, however far they got.
    auto dropped = std::make_unique<StrokePictures>(page);
    object->invalidateCache();
    dropped.reset();
    QVERIFY(!object->hasRenderCache());
}

void tst_DGPathItem::pictureThreadsFollowTheCoresAllowed_data()
{
    QTest::addColumn<int>("cpus"); // 0: all this process may use
    for (int cpus : { 1, 2, 0 })
        QTest::addRow("%d", cpus) << cpus;
}

void tst_DGPathItem::pictureThreadsFollowTheCoresAllowed()
{
    // A program kept to a few of the machine's CPUs (taskset, a container) draws its pictures
    // on that many threads, the GUI thread's one left to it, not on the machine's count.
    QFETCH(int, cpus);
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    QCOMPARE(sched_getaffinity(0, sizeof allowed, &allowed), 0);
    if (cpus > CPU_COUNT(&allowed))
        QSKIP("fewer CPUs allowed than the row asks for");
    cpu_set_t kept;
    CPU_ZERO(&kept);
    int count = 0;
    for (int cpu = 0; cpu < CPU_SETSIZE && (cpus == 0 || count < cpus); ++cpu) {
        if (CPU_ISSET(cpu, &allowed)) {
            CPU_SET(cpu, &kept);
            ++count;
        }
    }
    QCOMPARE(sched_setaffinity(0, sizeof kept, &kept), 0);
    const int usable = Cores::usable();
    const int threads = StrokePictures::threads();
    sched_setaffinity(0, sizeof allowed, &allowed);
    QCOMPARE(usable, count);
    QCOMPARE(threads, qMax(1, count - 1));
}

void tst_DGPathItem::picturesStopWithTheApplication_data()
{
    // How the pictures are drawn, then how the program ends: "return" from main, or "exit"
    // with the application alive, as libFuzzer ends a run.
    QTest::addColumn<QString>("how");
    for (const char *how : { "ahead return", "shown return", "ahead exit", "shown exit" })
        QTest::newRow(how) << QString(how);
}

void tst_DGPathItem::picturesStopWithTheApplication()
{
    // The threads drew on through the end of the program, the toolkit they draw with being
    // torn down under them: it crashed as it ended.
    QFETCH(QString, how);
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kEndWhileDrawing), how);
    // exit() leaves the application and the font library's undone, as libFuzzer does.
    if (how.endsWith(QLatin1String("exit")) && environment.contains(QStringLiteral("ASAN_OPTIONS")))
        environment.insert(QStringLiteral("ASAN_OPTIONS"),
                           environment.value(QStringLiteral("ASAN_OPTIONS"))
                                   + QStringLiteral(":detect_leaks=0"));
    run.setProcessEnvironment(environment);
    run.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(run.waitForFinished(120000));
    const QByteArray errors = run.readAllStandardError();
    QCOMPARE(QString::fromLatin1(run.readAllStandardOutput()).trimmed(), QStringLiteral("drawing"));
    QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0, errors.constData());
    // A thread's crash at the end may come after the exit status is given.
    QVERIFY2(!errors.contains("Sanitizer") && !errors.contains("DEADLYSIGNAL"),
             errors.constData());
}

void tst_DGPathItem::longStrokeInPiecesLooksWhole_data()
{
    QTest::addColumn<bool>("zigzag");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("straight"); // drawn straight by the board's thread, shared out
    QTest::newRow("small steps") << false << 5 << false;
    // A quick hand's zigzag: steps as long as the stroke is high, cut into pieces by length.
    QTest::newRow("long steps") << true << 3 << false;
    // As a released stroke is laid on the overlay: runs of pieces on several threads.
    QTest::newRow("small steps, shared out") << false << 5 << true;
    QTest::newRow("long steps, shared out") << true << 3 << true;
}

void tst_DGPathItem::longStrokeInPiecesLooksWhole()
{
    QFETCH(bool, zigzag);
    QFETCH(int, width);
    QFETCH(bool, straight);
    QPainterPath path = stroke(900, 400, 5);
    if (zigzag) {
        path = QPainterPath(QPointF(0, 0));
        for (int p = 1; p < 400; ++p)
            path.lineTo(p * 2.31, (p * p) % 37 + 0.5);
    }
    Board board;
    DPage *page = board.page(0);
    const QPen pen(QColor(20, 40, 160), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    DGPathCurveItem *drawn = addCurve(page, path, QPointF(100, 100), BtMenus::btPencil, false, pen);
    QImage pieces = renderPage(page);
    if (straight) {
        pieces.fill(Qt::white);
        QPainter onto(&pieces);
        onto.setTransform(drawn->sceneTransform());
        QStyleOptionGraphicsItem option;
        drawn->paintWithoutCache(&onto, &option);
    }
    const InkFixture::InkFaults faults = InkFixture::inkFaults(
            InkFixture::fineInk(path, pen, drawn->sceneTransform(), pieces.size()), pieces,
            pen.color());
    QVERIFY2(faults.whole(), qPrintable(faults.toString()));
}

void tst_DGPathItem::strokeIsAsDarkAsItsLine_data()
{
    QTest::addColumn<QPolygonF>("line"); // none: an arc, as the protractor hands one over
    QTest::addColumn<qreal>("width");
    // Levelling out at the top of a bend, where the toolkit's round join turns the long way
    // round and draws a whole circle about the corner: a dark notch on both edges.
    QTest::newRow("levels out at a corner")
            << QPolygonF({ { 0, 12 }, { 50, 3 }, { 100, 0 }, { 150, 3 }, { 200, 12 } }) << 5.0;
    QTest::newRow("levels out between two corners")
            << QPolygonF({ { 0, 10 }, { 50, 3 }, { 90, 0 }, { 150, 1 }, { 200, 8 } }) << 5.0;
    QTest::newRow("arc") << QPolygonF() << 5.0;
    // A wide pen moved slowly round a bend: an edge pixel lies within the circles about dozens
    // of points, and measured by only the first few dozen it came out too light.
    QPolygonF slow;
    for (qreal angle = 0; angle < 3; angle += 0.1 / 60)
        slow << QPointF(100 + 60 * std::cos(angle), 80 + 60 * std::sin(angle));
    QTest::newRow("a wide pen moved slowly round a bend") << slow << 40.0;
}

void tst_DGPathItem::strokeIsAsDarkAsItsLine()
{
    // The board's pencil stroke against its fine ink.
    QFETCH(QPolygonF, line);
    QFETCH(qreal, width);
    QPainterPath path;
    path.addPolygon(line);
    if (line.isEmpty()) {
        path.arcMoveTo(QRectF(0, 0, 200, 200), 20);
        path.arcTo(QRectF(0, 0, 200, 200), 20, 140);
    }
    Board board;
    DPage *page = board.page(0);
    const QPen pen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    DGPathItem *drawn = addCurve(page, path, QPointF(60, 60), BtMenus::btPencil, false, pen);
    const QImage shown = renderPage(page);
    const InkFixture::InkFaults faults = InkFixture::inkFaults(
            InkFixture::fineInk(path, pen, drawn->sceneTransform(), shown.size()), shown,
            Qt::black);
    QVERIFY2(faults.whole(), qPrintable(faults.toString()));
}

void tst_DGPathItem::tableGridAtEverySize()
{
    // A table dragged out from nothing, as the table tool does it, shows lines, not a
    // stretched picture of its first size: every body cell is white inside.
    Board board;
    DPage *page = board.page(0);
    auto *table = new DGPathTableItem(3, 4, QPointF(100, 100), QPen(Qt::black), nullptr);
    table->resetPath();
    page->addItem(table);
    for (int size = 10; size <= 300; size += 29) {
        QPainterPath outline;
        outline.addRect(0, 0, size, size * 2 / 3);
        table->setPath(outline);
        table->resetPath();
        renderPage(page);
    }
    const QImage shown = renderPage(page);
    const QRectF r = table->mapRectToScene(table->path().boundingRect());
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            const QPointF centre(r.left() + (column + 0.5) * table->m_colWidth,
                                 r.top() + 20 + (row + 0.5) * table->m_rowHeight);
            QCOMPARE(shown.pixelColor(centre.toPoint()), QColor(Qt::white));
        }
    }
    // And the lines themselves are where the grid says.
    const int y = qRound(r.top() + 20 + 0.5 * table->m_rowHeight);
    for (int column = 0; column <= 4; ++column) {
        const int x = qRound(r.left() + column * table->m_colWidth);
        int darkest = 255;
        for (int dx = -1; dx <= 1; ++dx)
            darkest = qMin(darkest, qGray(shown.pixel(x + dx, y)));
        QVERIFY2(darkest < 160, qPrintable(QStringLiteral("column line %1").arg(column)));
    }
}

namespace {

// Dark runs (lines) met along one row or column of a picture, between from and to.
int linesAlong(const QImage &picture, QPoint from, QPoint to)
{
    const QPoint step = from.x() == to.x() ? QPoint(0, 1) : QPoint(1, 0);
    int lines = 0;
    bool onLine = false;
    for (QPoint at = from; at != to + step; at += step) {
        const bool dark = picture.rect().contains(at) && qGray(picture.pixel(at)) < 160;
        lines += dark && !onLine ? 1 : 0;
        onLine = dark;
    }
    return lines;
}

} // namespace

void tst_DGPathItem::tableGridVisibleAtEveryZoom_data()
{
    QTest::addColumn<QString>("shown"); // "board" or "thumbnail"
    QTest::addColumn<double>("zoom");
    QTest::addColumn<bool>("drawnByTool"); // at 121 %, with the table tool
    for (double zoom : { 0.25, 0.36, 0.5, 0.75, 0.9, 1.0, 1.21, 1.5, 2.0, 3.0, 4.0 })
        QTest::addRow("board at %d %%", qRound(zoom * 100)) << "board" << zoom << false;
    QTest::newRow("drawn at 121 %, shown at 75 %") << "board" << 0.75 << true;
    QTest::newRow("thumbnail") << "thumbnail" << 1.0 << false;
    QTest::newRow("thumbnail of a table drawn at 121 %") << "thumbnail" << 1.0 << true;
}

// Every line of a 3 x 4 table (its border, the header's lower edge, the row and column lines)
// shows dark at every zoom of the board and in the page's thumbnail.
void tst_DGPathItem::tableGridVisibleAtEveryZoom()
{
    QFETCH(QString, shown);
    QFETCH(double, zoom);
    QFETCH(bool, drawnByTool);
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    DGPathTableItem *table = nullptr;
    if (drawnByTool) {
        page->zoomPage(1.1f);
        page->zoomPage(1.1f);
        view->setTableRowColumn(3, 4);
        view->m_penType[PenUserMain] = BtMenus::btTableTool; // what the table dialog leaves
        view->setDragMode(QGraphicsView::NoDrag);
        TestSupport::drag(view->viewport(),
                          { QPoint(301, 203), QPoint(420, 300), QPoint(563, 411) });
        table = dynamic_cast<DGPathTableItem *>(page->validItems(true).value(0));
        QVERIFY(table);
        while (view->getScale() > 0.76)
            page->zoomPage(0.90909094f);
        QCOMPARE(qRound(view->getScale() * 100), 75);
    } else {
        table = new DGPathTableItem(3, 4, QPointF(0, 0), QPen(Qt::black), nullptr);
        table->setTableRect(QRectF(313.3, 207.7, 200.6, 150.3));
        page->addItem(table);
        view->setTransform(QTransform::fromScale(zoom, zoom));
    }
    page->clearSelection();
    const QRectF grid = table->mapRectToScene(table->path().boundingRect());
    const QPointF inRow(grid.center().x(), grid.top() + 20 + 1.5 * table->m_rowHeight);
    const QPointF inColumn(grid.left() + 1.5 * table->m_colWidth, grid.center().y());

    QImage picture;
    QRect onPicture;
    QPoint rowPoint;
    QPoint columnPoint;
    if (shown == QLatin1String("board")) {
        view->centerOn(grid.center());
        picture = view->viewport()->grab().toImage();
        onPicture = view->mapFromScene(grid).boundingRect();
        rowPoint = view->mapFromScene(inRow);
        columnPoint = view->mapFromScene(inColumn);
    } else {
        const QSize size(198, 149);
        picture = page->getPagePixmap(1, size).toImage();
        const QTransform shrink = QTransform::fromScale(size.width() / page->sceneRect().width(),
                                                        size.height() / page->sceneRect().height());
        onPicture = shrink.mapRect(grid).toRect();
        rowPoint = shrink.map(inRow).toPoint();
        columnPoint = shrink.map(inColumn).toPoint();
    }
    const QRect around = onPicture.adjusted(-3, -3, 3, 3);
    QCOMPARE(linesAlong(picture, QPoint(around.left(), rowPoint.y()),
                        QPoint(around.right(), rowPoint.y())),
             4 + 1);
    QCOMPARE(linesAlong(picture, QPoint(columnPoint.x(), around.top()),
                        QPoint(columnPoint.x(), around.bottom())),
             3 + 2); // the border's two, the header's lower edge, two between the rows
    QCOMPARE(table->pen().widthF(), 1.0); // the width a document keeps
}

enum SharpKind { SharpCurve, SharpPictureFill, SharpTable };
// How the object is shown larger or smaller: the board zoomed to that share (by its transform,
// or by the zoom buttons' steps when negative), or the object by its own scale at 100 %.
struct Showing
{
    const char *name;
    qreal zoom;
    int zoomSteps; // of 1.1 each, out when negative
    qreal ownScale;
};
constexpr Showing kShowings[] = {
    { "board at 250 %", 2.5, 0, 1 },
    { "board at 400 %", 4.0, 0, 1 },
    { "board zoomed out 10 steps (39 %)", 1, -10, 1 },
    { "board zoomed in 15 steps (418 %)", 1, 15, 1 },
    { "scaled 3x by its own scale", 1, 0, 3 },
};

void tst_DGPathItem::inkSharpAtEveryZoom_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("showing");
    const char *kinds[] = { "curved stroke", "ellipse filled with a picture", "table" };
    for (int kind = SharpCurve; kind <= SharpTable; ++kind) {
        for (int showing = 0; showing < int(std::size(kShowings)); ++showing)
            QTest::addRow("%s, %s", kinds[kind], kShowings[showing].name) << kind << showing;
    }
}

namespace {

DGPathItem *makeSharpObject(DPage *page, int kind)
{
    if (kind == SharpTable) {
        auto *table = new DGPathTableItem(3, 4, QPointF(0, 0), QPen(Qt::black), nullptr);
        table->setTableRect(QRectF(700.3, 400.6, 160.4, 110.2));
        page->addItem(table);
        return table;
    }
    if (kind == SharpCurve) {
        QPainterPath curve(QPointF(0, 40));
        curve.cubicTo(QPointF(40, -30), QPointF(90, 110), QPointF(150, 30));
        curve.quadTo(QPointF(190, -10), QPointF(170, 70));
        return addCurve(page, curve, QPointF(700.4, 420.7), BtMenus::btPencil, false,
                        QPen(QColor(30, 40, 150), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    // A picture of sharp checks: stretched, their edges would blur or step.
    QImage checks(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            checks.setPixel(x, y, (x / 4 + y / 4) % 2 ? qRgb(200, 40, 40) : qRgb(40, 160, 60));
    }
    QPainterPath oval;
    oval.addEllipse(0, 0, 150, 90);
    DGPathCurveItem *shape = addCurve(page, oval, QPointF(705.6, 410.2), BtMenus::btEllipse,
                                      false, QPen(Qt::black, 2));
    shape->setBrush(QBrush(QPixmap::fromImage(checks)));
    shape->m_fillType = ItemFillTexture;
    return shape;
}

// Where widgets (the bin, a palette) lie over the board, in the viewport's pixels.
QRegion widgetsOverBoard(DView *view)
{
    QWidget *viewport = view->viewport();
    const QPoint origin = viewport->mapTo(viewport->window(), QPoint());
    QRegion over;
    for (const QWidget *widget : viewport->window()->findChildren<QWidget *>()) {
        if (widget->isVisible() && widget != viewport && !widget->isAncestorOf(viewport))
            over += QRect(widget->mapTo(viewport->window(), QPoint()) - origin, widget->size());
    }
    return over;
}

void blank(QImage *image, const QRegion &region)
{
    QPainter painter(image);
    for (const QRect &rect : region)
        painter.fillRect(rect, Qt::white);
}

// The board as the screen shows it, the widgets over it blanked out.
QImage boardOnScreen(DView *view)
{
    QImage screen = TestSupport::shownOnScreen(view->viewport());
    blank(&screen, widgetsOverBoard(view));
    return screen;
}

// The object's ink as the board shows it, against the same object drawn straight by QPainter
// at that size, both over the white page.
TestSupport::InkDifference sharpness(DView *view, DGPathItem *object)
{
    const QImage shown = boardOnScreen(view);
    QImage straight(shown.size(), QImage::Format_RGB32);
    straight.fill(Qt::white);
    QPainter painter(&straight);
    painter.setTransform(object->deviceTransform(view->viewportTransform()));
    QStyleOptionGraphicsItem option;
    object->paintWithoutCache(&painter, &option);
    painter.end();
    return TestSupport::inkDifference(straight, shown, 64);
}

bool sharp(const TestSupport::InkDifference &difference)
{
    return difference.ink > 200 && difference.differing * 100 <= difference.ink * 4;
}

} // namespace

void tst_DGPathItem::inkSharpAtEveryZoom()
{
    // Zooming the board or scaling the object showed the picture made at 100 % stretched:
    // stairs of 3 pixels at 314 %, blocks at 985 %. Once the board settles, the ink is as sharp
    // as the same path drawn straight at that size; and back at 100 %, no picture of another
    // size is left on the screen.
    QFETCH(int, kind);
    QFETCH(int, showing);
    const Showing how = kShowings[showing];
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    DGPathItem *object = makeSharpObject(page, kind);
    view->centerOn(object->sceneBoundingRect().center());
    QTRY_VERIFY2(sharp(sharpness(view, object)), qPrintable(sharpness(view, object).toString()));

    object->setTransformOriginPoint(object->boundingRect().center());
    object->setScale(how.ownScale);
    if (how.zoom != 1)
        view->setTransform(QTransform::fromScale(how.zoom, how.zoom));
    for (int step = 0; step < qAbs(how.zoomSteps); ++step)
        page->zoomPage(how.zoomSteps > 0 ? 1.1f : 0.90909094f);
    view->centerOn(object->sceneBoundingRect().center());
    // The picture of 100 % may stand in for a few frames.
    QTRY_VERIFY2_WITH_TIMEOUT(sharp(sharpness(view, object)),
                              qPrintable(sharpness(view, object).toString()), 30000);

    object->setScale(1);
    view->setTransform(QTransform());
    page->zoomPage(1.0f);
    view->centerOn(object->sceneBoundingRect().center());
    QTRY_VERIFY2_WITH_TIMEOUT(sharp(sharpness(view, object)),
                              qPrintable(sharpness(view, object).toString()), 30000);
}

namespace {

// A hand's loops across the board, as the mouse reports them: whole pixels, a point repeated
// wherever the hand moved less than one, lines levelling out at the top and bottom of each loop.
QVector<QPoint> loopsByHand(int loops)
{
    constexpr int kStepsALoop = 160;
    const int steps = loops * kStepsALoop;
    QVector<QPoint> points;
    for (int step = 0; step <= steps; ++step) {
        const qreal turn = step * 2 * M_PI / kStepsALoop;
        points << QPointF(150 + 700.0 * step / steps - 75 * std::sin(turn),
                          250 + 125 * (1 - std::cos(turn)))
                          .toPoint();
    }
    return points;
}

// The ink of the black stroke drawn as the board shows it, against its fine ink.
InkFixture::InkFaults inkOnBoard(DView *view, const QImage &fine)
{
    return InkFixture::inkFaults(fine, boardOnScreen(view), Qt::black);
}

} // namespace

void tst_DGPathItem::mouseStrokeIsWhole_data()
{
    QTest::addColumn<int>("drawnAt"); // zoom-in steps of the board as the stroke is drawn
    QTest::addColumn<int>("shownAt"); // and as it is looked at
    QTest::addColumn<qreal>("ownScale");
    QTest::addColumn<int>("loops");
    // Long: its release is shared out among threads, its picture drawn in pieces.
    QTest::newRow("100 %, shared out") << 0 << 0 << 1.0 << 6;
    QTest::newRow("214 %") << 8 << 8 << 1.0 << 6;
    QTest::newRow("418 %") << 15 << 15 << 1.0 << 6;
    QTest::newRow("scaled 3x") << 0 << 0 << 3.0 << 2;
    // Whole pixels of the mouse, levelling out in steps, looked at closely.
    QTest::newRow("drawn at 100 %, shown at 418 %") << 0 << 15 << 1.0 << 2;
}

// A pencil stroke drawn with the mouse shows no seam, speck or notch: as its release lays it on
// the overlay, then as the board shows it, against the path's own ink.
void tst_DGPathItem::mouseStrokeIsWhole()
{
    QFETCH(int, drawnAt);
    QFETCH(int, shownAt);
    QFETCH(qreal, ownScale);
    QFETCH(int, loops);
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    for (int step = 0; step < drawnAt; ++step)
        page->zoomPage(1.1f);
    InkFixture::chooseTool(view, BtMenus::btPencil);
    view->m_penPencil[PenUserMain].setColor(Qt::black);
    QTRY_VERIFY(!view->m_bRefreshOverlay);
    ScribbleArea *overlay = view->m_scribbleArea;
    const QVector<QPoint> points = loopsByHand(loops);
    TestSupport::drag(overlay, points);
    DGPathItem *drawn = DGPathItem::pathObject(InkFixture::boardObjects(page).value(0));
    QVERIFY(drawn);
    const QPoint firstBottom = *std::max_element(points.begin(), points.end(),
                                                 [](QPoint a, QPoint b) { return a.y() < b.y(); });
    const QPointF lookedAt = drawn->mapFromScene(view->mapToScene(firstBottom));
    if (shownAt == drawnAt && ownScale == 1) {
        const QImage settled = overlay->grab().toImage();
        const QImage fine = InkFixture::fineInk(drawn->path(), drawn->pen(),
                                                drawn->sceneTransform() * view->sceneToOverlay(),
                                                settled.size());
        const InkFixture::InkFaults faults = InkFixture::inkFaults(fine, settled, Qt::black);
        QVERIFY2(faults.whole(), qPrintable(QStringLiteral("overlay: ") + faults.toString()));
    }

    InkFixture::chooseTool(view, BtMenus::btSelect);
    for (int step = drawnAt; step < shownAt; ++step)
        page->zoomPage(1.1f);
    drawn->setTransformOriginPoint(drawn->boundingRect().center());
    drawn->setScale(ownScale);
    view->centerOn(drawn->mapToScene(lookedAt));
    QImage fine = InkFixture::fineInk(drawn->path(), drawn->pen(),
                                      drawn->deviceTransform(view->viewportTransform()),
                                      view->viewport()->size());
    blank(&fine, widgetsOverBoard(view));
    // Pictures of another scale may stand in for a few frames.
    QTRY_VERIFY2_WITH_TIMEOUT(inkOnBoard(view, fine).whole(),
                              qPrintable(inkOnBoard(view, fine).toString()), 30000);
}

void tst_DGPathItem::turnedTableWholeWhenZoomed_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPointF>("lookedAt"); // in the table's units, from its top left
    QTest::newRow("1,000 %, larger than the board") << 10.0 << QPointF(60, 40);
    QTest::newRow("2,000 %, where a row and a column cross") << 20.0 << QPointF(40, 47.5);
    QTest::newRow("6,024 %, a corner of the border") << 60.24 << QPointF(160, 110);
}

// A turned table zoomed in far shows its lines, their joins and their crossings as the same
// grid drawn whole does, though only what the board shows is drawn, and in parts.
void tst_DGPathItem::turnedTableWholeWhenZoomed()
{
    QFETCH(double, zoom);
    QFETCH(QPointF, lookedAt);
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    DGPathItem *table = makeSharpObject(page, SharpTable);
    const QRectF grid = table->path().boundingRect();
    table->setTransformOriginPoint(grid.center());
    table->setRotation(30);
    page->clearSelection();
    view->setTransform(QTransform::fromScale(zoom, zoom));
    view->centerOn(table->mapToScene(grid.topLeft() + lookedAt));
    const QTransform shown = table->deviceTransform(view->viewportTransform());
    QImage fine = InkFixture::fineInk(table->path(), table->pen(), shown, view->viewport()->size());
    blank(&fine, widgetsOverBoard(view));
    // The toolkit's own smoothing of the whole grid at that size strays from the fine ink by
    // half a pixel here and there: the board may stray no further.
    QImage whole(fine.size(), QImage::Format_RGB32);
    whole.fill(Qt::white);
    QPainter painter(&whole);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(shown);
    painter.setPen(table->pen());
    painter.drawPath(table->path());
    painter.end();
    blank(&whole, widgetsOverBoard(view));
    const InkFixture::InkFaults toolkit = InkFixture::inkFaults(fine, whole, Qt::black);
    QVERIFY2(toolkit.inside > 0 && toolkit.lightInside == 0, qPrintable(toolkit.toString()));
    const auto likeTheWhole = [&] {
        const InkFixture::InkFaults faults = inkOnBoard(view, fine);
        return faults.inside == toolkit.inside && faults.lightInside == 0
                && faults.wrongEdges <= toolkit.wrongEdges + 4;
    };
    QTRY_VERIFY2(likeTheWhole(), qPrintable(inkOnBoard(view, fine).toString() + QStringLiteral(
                                                    "; the toolkit's: ") + toolkit.toString()));
}

void tst_DGPathItem::zoomStepStandsInWithTheBoardAlone_data()
{
    QTest::addColumn<float>("step");
    QTest::newRow("in") << 1.1f;
    // The picture fills less than the board, whose border the page paints as it is.
    QTest::newRow("out") << 0.90909094f;
}

void tst_DGPathItem::zoomStepStandsInWithTheBoardAlone()
{
    // A zoom step shows the board's last picture stretched until the pictures of the new scale
    // come: a picture of the board alone, not of a palette lying over it.
    QFETCH(float, step);
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    QPainterPath wave(QPointF(0, 60));
    for (int x = 10; x <= 700; x += 10)
        wave.lineTo(x, 60 + 50 * std::sin(x / 40.0));
    for (int i = 0; i < 8; ++i)
        addCurve(page, wave, QPointF(80 + 10 * i, 100 + 70 * i));
    QWidget palette(board.window());
    palette.setGeometry(300, 200, 160, 120);
    palette.setAutoFillBackground(true);
    palette.setPalette(QPalette(Qt::red));
    palette.show();
    const auto inkShown = [view] {
        return TestSupport::countPixels(TestSupport::shownOnScreen(view->viewport()),
                                        [](const QColor &colour) { return colour.value() < 60; });
    };
    QTRY_VERIFY(!view->isSharpening() && inkShown() > 5000);
    // The screen shows the page as it is: what the page still had to report, painted.
    page->contentRevision();
    view->viewport()->repaint();
    const QTransform before = view->viewportTransform();
    QImage last(view->viewport()->size(), QImage::Format_RGB32);
    last.fill(Qt::white);
    QPainter lastPainter(&last);
    view->render(&lastPainter, QRectF(last.rect()), view->viewport()->rect());
    lastPainter.end();

    page->zoomPage(step);
    QImage stretched(last.size(), QImage::Format_RGB32);
    stretched.fill(Qt::white);
    QPainter painter(&stretched);
    painter.setTransform(before.inverted() * view->viewportTransform());
    painter.drawImage(0, 0, last);
    painter.end();
    // What the screen shows, but for the widgets over the board (the palette, the bin); and a
    // grab of the board, as an open takes.
    QWidget *viewport = view->viewport();
    viewport->repaint();
    const QImage screen = boardOnScreen(view);
    QImage screenExpected = stretched;
    blank(&screenExpected, widgetsOverBoard(view));
    const QImage grabbed = viewport->grab().toImage();
    for (const auto &[shown, expected] :
         { std::pair(screen, screenExpected), std::pair(grabbed, stretched) }) {
        const TestSupport::InkDifference difference =
                TestSupport::inkDifference(expected, shown, 64);
        QVERIFY2(difference.ink > 5000 && difference.differing * 100 <= difference.ink,
                 qPrintable(difference.toString()));
    }
}

void tst_DGPathItem::groupMembersKeepTheirPictures()
{
    // A member drawn afresh at each paint, through the toolkit's cache of it and of its group,
    // cost pictures of the whole group at the size shown: gigabytes zoomed in. It keeps its
    // own picture as any object does, and never shows its own selection.
    Board board;
    DPage *page = board.page(0);
    DGPathCurveItem *curve = addCurve(page, stroke(30, 80, 3), QPointF(10, 10));
    DGPathCurveItem *other = addCurve(page, stroke(20, 40, 3), QPointF(200, 40));
    DGItemGroup *group = page->addGroupItem();
    page->addItemToGroup(group, curve);
    page->addItemToGroup(group, other);
    QCOMPARE(curve->cacheMode(), QGraphicsItem::NoCache);
    QCOMPARE(group->cacheMode(), QGraphicsItem::NoCache);
    group->setSelected(true);
    renderPage(page);
    renderPage(page);
    QCOMPARE(curve->renderCacheBuilds(), 1);
    QVERIFY(!curve->rotateItem()->m_focus->isVisible());
}

void tst_DGPathItem::largePictureInTilesShowsAsPainted_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("filled");
    QTest::addColumn<bool>("fewerBytes");
    QTest::addColumn<QTransform>("shown"); // stretched, it is drawn smoothly
    QTest::addColumn<int>("tolerance"); // grey levels
    // A stroke across a zoomed-in screen: most tiles clear, left out.
    QTest::newRow("a stroke across the screen")
            << QSize(2400, 1350) << false << true << QTransform() << 0;
    // Sides that no tile divides, and ink up to them.
    QTest::newRow("odd sides, ink to the edges")
            << QSize(1001, 777) << true << false << QTransform() << 0;
    QTest::newRow("small, kept whole") << QSize(300, 200) << false << false << QTransform() << 0;
    // Standing in for a picture of a new scale: tiles filtered apart blended their edges with
    // the clear beyond them, a seam of half-lit pixels along every tile's side. (Filtered in
    // pieces, an edge's shades may differ by a few levels.)
    QTest::newRow("stretched and turned, smoothly")
            << QSize(1001, 777) << true << false << QTransform().rotate(7).scale(1.37, 1.29) << 16;
}

void tst_DGPathItem::largePictureInTilesShowsAsPainted()
{
    // A large picture is painted a row of tiles at a time and keeps only the tiles with ink:
    // laid on the board it must show what painting it whole shows, to the pixel, and stretched
    // as good as.
    QFETCH(QSize, size);
    QFETCH(bool, filled);
    QFETCH(bool, fewerBytes);
    QFETCH(QTransform, shown);
    QFETCH(int, tolerance);
    const auto paint = [&](QPainter *painter) {
        painter->setPen(QPen(QColor(20, 30, 160), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter->setBrush(filled ? QBrush(QColor(200, 60, 40, 180)) : QBrush());
        QPainterPath path(QPointF(3.3, size.height() * 0.8));
        path.cubicTo(size.width() * 0.3, -40, size.width() * 0.6, size.height() + 40,
                     size.width() - 2.7, size.height() * 0.3);
        if (filled)
            path.addEllipse(QRectF(QPointF(-5, -5), size + QSize(10, 10)));
        painter->drawPath(path);
    };
    const TiledPicture tiled = TiledPicture::paint(size, paint);
    // Whole, with the clear that lies about any picture of an object.
    QImage whole(size + QSize(4, 4), QImage::Format_ARGB32_Premultiplied);
    whole.fill(Qt::transparent);
    QPainter wholePainter(&whole);
    wholePainter.setRenderHint(QPainter::Antialiasing);
    wholePainter.translate(2, 2);
    wholePainter.setClipRect(QRect(QPoint(), size));
    paint(&wholePainter);
    wholePainter.end();
    const QRect device = shown.mapRect(QRectF(QPointF(), size)).toAlignedRect();
    const auto onWhite = [&](const std::function<void(QPainter *)> &draw) {
        QImage image(device.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, !shown.isIdentity());
        painter.setTransform(shown * QTransform::fromTranslate(-device.x(), -device.y()));
        draw(&painter);
        return image;
    };
    const TestSupport::InkDifference difference = TestSupport::inkDifference(
            onWhite([&](QPainter *painter) { painter->drawImage(-2, -2, whole); }),
            onWhite([&](QPainter *painter) { tiled.draw(painter); }), tolerance);
    QVERIFY2(difference.largest <= tolerance, qPrintable(difference.toString()));
    QCOMPARE(tiled.bytes() * 2 < qint64(size.width()) * size.height() * 4, fewerBytes);
}

void tst_DGPathItem::curveClone()
{
    QMenu menu;
    DGPathCurveItem source(QPointF(40, 50), QPen(Qt::blue, 3), BtMenus::btEllipse, nullptr);
    QPainterPath ellipse;
    ellipse.addEllipse(0, 0, 100, 60);
    source.setPath(ellipse);
    source.setBrush(QBrush(Qt::yellow));
    source.setGradColor(QColor(Qt::cyan));
    source.setFillFileName(QStringLiteral("/tmp/fill.png"));
    source.m_fillType = ItemFillGradient;
    source.setTransformOriginPoint(source.boundingRect().center());
    source.setRotation(30);
    source.setScale(2);
    source.lock(true);
    source.erasePointF(QPointF(100, 30), 2);
    source.rotateItem()->m_focus->m_menu = &menu;
    source.changeLinks(QStringLiteral("http://x"), QString(), QString(), QString());
    std::unique_ptr<DGPathCurveItem> copy(source.clone());
    QCOMPARE(copy->pos(), source.pos());
    QCOMPARE(copy->pen(), source.pen());
    QCOMPARE(copy->shapeType(), BtMenus::btEllipse);
    QCOMPARE(copy->path(), source.path());
    QCOMPARE(copy->erased(), source.erased());
    QCOMPARE(copy->flags(), source.flags());
    QVERIFY(copy->isLocked());
    QCOMPARE(copy->m_fillType, short(ItemFillGradient));
    QCOMPARE(copy->transformOriginPoint(), source.boundingRect().center());
    QCOMPARE(copy->rotation(), 30.0);
    QCOMPARE(copy->scale(), 2.0);
    QCOMPARE(copy->rotateItem()->scale(), 0.5);
    QCOMPARE(copy->rotateItem()->m_focus->m_menu, &menu);
    QCOMPARE(copy->brush(), QBrush(Qt::yellow));
    QCOMPARE(copy->getGradColor(), QColor(Qt::cyan)); // kept: a saved copy keeps its fill
    QCOMPARE(copy->fillFileName(), QStringLiteral("/tmp/fill.png"));
    QVERIFY(copy->m_linkWeb.isEmpty());
    QCOMPARE(copy->scene(), nullptr);
}

void tst_DGPathItem::vertexCloneKeepsCentre()
{
    Board board;
    DPage *page = board.page(0);
    DGPathVertexItem *source =
            addVertex(page, polyline({ QPointF(0, 0), QPointF(80, 0), QPointF(40, 60) }, true),
                      QPointF(200, 100));
    source->setTransformOriginPoint(source->boundingRect().center());
    source->setRotation(90);
    source->setScale(3);
    source->setBrush(QBrush(Qt::red));
    std::unique_ptr<DGPathVertexItem> copy(source->clone());
    QCOMPARE(copy->scale(), 1.0);
    QCOMPARE(copy->brush(), QBrush());
    QCOMPARE(copy->rotation(), 90.0);
    const QPointF centre = source->boundingRect().center();
    QVERIFY(QLineF(copy->mapToScene(centre), source->mapToScene(centre)).length() < 1e-9);
}

namespace {

// The program ends while threads still draw a page's pictures, kept past its end as a page
// list that is never destroyed keeps them (the fuzz targets' does); nothing was painted before,
// so the threads would be the first to need what the toolkit makes for drawing. Prints whether
// they were still being drawn at the end.
int endWhileDrawing(int argc, char **argv)
{
    QApplication app(argc, argv);
    StrokePictures *pictures = nullptr;
    {
        Board board;
        DPage *page = board.page(0);
        // A gradient's colours are cached by the toolkit, made on first use.
        QLinearGradient gradient(0, 0, 600, 600);
        gradient.setColorAt(0, QColor(20, 40, 160));
        gradient.setColorAt(1, QColor(200, 30, 30));
        // Every other stroke in one colour, drawn in pieces.
        for (int n = 0; n < 300; ++n) {
            const QBrush ink = n % 2 ? QBrush(QColor(20, 120, 40)) : QBrush(gradient);
            addCurve(page, stroke(400, 600, quint32(n)), QPointF(20, 20), BtMenus::btPencil,
                     false, QPen(ink, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        }
        static StrokePictures *const kept = new StrokePictures(page);
        pictures = kept;
        if (qgetenv(kEndWhileDrawing).startsWith("shown"))
            pictures->showFirst();
    }
    std::printf("%s\n", pictures->isHandedOver() ? "drawn" : "drawing");
    std::fflush(stdout);
    if (qgetenv(kEndWhileDrawing).endsWith("exit"))
        std::exit(0);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet(kEndWhileDrawing))
        return endWhileDrawing(argc, argv);
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    tst_DGPathItem test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dgpathitem.moc"
