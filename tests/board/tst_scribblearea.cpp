#include "support/boardfixture.h"
#include "support/inkfixture.h"
#include "support/testsupport.h"

#include "board/boardtypes.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpixmapitem.h"
#include "board/dpage.h"
#include "board/drotateitem.h"
#include "board/dview.h"
#include "board/scribblearea.h"

#include <QSignalSpy>
#include <QtTest>

using namespace BoardFixture;
using namespace InkFixture;

class tst_ScribbleArea : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void cleanup() { QVERIFY(TestSupport::takeConnectWarnings().isEmpty()); }

    void mouseStrokeOfEachPen_data();
    void mouseStrokeOfEachPen();
    void liveInkShowsBeforeRelease();
    void releaseAddsTheStrokeToTheBoardPicture_data();
    void releaseAddsTheStrokeToTheBoardPicture();
    void undoAndRedoRepaintTheOverlayOverTheDesktop();
    void onePointStroke_data();
    void onePointStroke();
    void inkLandsUnderTheStroke_data();
    void inkLandsUnderTheStroke();
    void liveInkIsTheStrokeItBecomes_data();
    void liveInkIsTheStrokeItBecomes();
    void fountainPenInkOnThePointersPath_data();
    void fountainPenInkOnThePointersPath();
    void twoFingersCommitInLiftOrder();
    void touchDuringMouseStrokeDropsIt();
    void touchCancelLeavesOverlayUsable();
    void handLaidFlatSwitchesToObjectEraser_data();
    void handLaidFlatSwitchesToObjectEraser();
    void multiUserHalves_data();
    void multiUserHalves();
    void lassoErasesInsideOutlineOnShownPage();
    void lassoReleasedOnOtherHalfErasesNothing();
};

namespace {

const QVector<QPoint> kStroke = line(QPoint(100, 150), QPoint(400, 300), 30);

DGPathItem *asPath(QGraphicsItem *item)
{
    return dynamic_cast<DGPathItem *>(item);
}

// Alpha of the picture object's pixel lying at scene point, or -1 outside it.
int pictureAlphaAt(QGraphicsItem *item, const QPointF &scenePoint)
{
    auto *picture = dynamic_cast<DGPixmapItem *>(item);
    if (!picture)
        return -1;
    const QImage image = picture->pixmap().toImage();
    const QPointF local = item->mapFromScene(scenePoint);
    const QPoint pixel(qFloor(local.x()), qFloor(local.y()));
    if (!image.rect().contains(pixel))
        return -1;
    return image.pixelColor(pixel).alpha();
}

} // namespace

void tst_ScribbleArea::mouseStrokeOfEachPen_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<int>("type"); // 0: nothing is kept
    QTest::addColumn<bool>("withPen"); // the object carries the user's pen
    // Vertices of the kept path: every point of the 31-point stroke (repeats are not kept), the
    // texture brush's point every 30 pixels of travel, the press point alone for pen 59, and
    // the two ends of a straight smart-pen stroke.
    QTest::addColumn<int>("vertices");

    // clang-format off
    QTest::newRow("pencil")          << 50 << int(ItemTypePath)   << true  << 31;
    QTest::newRow("highlighter")     << 54 << int(ItemTypePath)   << true  << 31;
    QTest::newRow("texture brush")   << 58 << int(ItemTypePath)   << true  << 11;
    QTest::newRow("pen 59")          << 59 << int(ItemTypePath)   << true  << 0;
    QTest::newRow("fountain pen")    << 60 << int(ItemTypePixmap) << false << 0;
    QTest::newRow("brush pen")       << 66 << int(ItemTypePixmap) << false << 0;
    QTest::newRow("rainbow pen")     << 67 << int(ItemTypePixmap) << false << 0;
    QTest::newRow("laser pen")       << 68 << 0                   << false << 0;
    QTest::newRow("smart pen")       << 69 << int(ItemTypePath)   << true  << 2;
    // clang-format on
}

void tst_ScribbleArea::mouseStrokeOfEachPen()
{
    QFETCH(int, tool);
    QFETCH(int, type);
    QFETCH(bool, withPen);
    QFETCH(int, vertices);
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    view->m_penHighlighter[PenUserMain].setColor(QColor(0, 128, 0, 100));
    chooseTool(view, tool);
    const QPen pen = view->getPen(PenUserMain);
    QVERIFY(view->m_scribbleArea->isVisible());

    TestSupport::drag(view->m_scribbleArea, kStroke);

    const QList<QGraphicsItem *> objects = boardObjects(page);
    QCOMPARE(objects.size(), type ? 1 : 0);
    QCOMPARE(page->undoStack()->count(), type ? 1 : 0);
    QCOMPARE(view->m_scribbleArea->finishedStrokeCount(), 0);
    QCOMPARE(view->m_scribbleArea->openStrokeCount(), 0);
    if (!type)
        return;
    QGraphicsItem *object = objects.first();
    QCOMPARE(object->type(), type);
    if (type == ItemTypePath) {
        DGPathItem *stroke = asPath(object);
        QCOMPARE(stroke->shapeType(), BtMenus::btPencil);
        QCOMPARE(object->scenePos(), view->mapToScene(kStroke.first()));
        if (withPen)
            QCOMPARE(stroke->pen(), pen);
        if (vertices)
            QCOMPARE(stroke->path().elementCount(), vertices);
    } else {
        // The picture holds ink where the stroke ran.
        const QPointF middle = view->mapToScene(kStroke.at(kStroke.size() / 2));
        QVERIFY2(pictureAlphaAt(object, middle) > 1, qPrintable(QString::number(tool)));
    }
    page->setUndo();
    QCOMPARE(object->scene(), nullptr);
    QCOMPARE(boardObjects(page).size(), 0);
}

void tst_ScribbleArea::liveInkShowsBeforeRelease()
{
    Board board;
    DView *view = board.view();
    chooseTool(view, BtMenus::btPencil);
    view->m_penPencil[PenUserMain].setColor(QColor(200, 0, 0));
    ScribbleArea *overlay = view->m_scribbleArea;
    QTest::mousePress(overlay, Qt::LeftButton, {}, QPoint(300, 300));
    for (const QPoint &point : line(QPoint(300, 300), QPoint(500, 300), 10))
        TestSupport::moveTo(overlay, point);
    QCoreApplication::processEvents();
    // Nothing is on the page yet, the ink is on the overlay.
    QCOMPARE(boardObjects(board.current()).size(), 0);
    const QImage shown = overlay->grab().toImage();
    QCOMPARE(shown.pixelColor(400, 300), QColor(200, 0, 0));
    QTest::mouseRelease(overlay, Qt::LeftButton, {}, QPoint(500, 300));
    QCOMPARE(boardObjects(board.current()).size(), 1);
    // The canvas was cleared and refreshed from the board: the stroke is now drawn by the page.
    QCoreApplication::processEvents();
    QTRY_COMPARE(overlay->grab().toImage().pixelColor(400, 300), QColor(200, 0, 0));
}

void tst_ScribbleArea::releaseAddsTheStrokeToTheBoardPicture_data()
{
    QTest::addColumn<int>("zoomSteps");
    QTest::addColumn<int>("tool");
    QTest::newRow("pencil") << 0 << int(BtMenus::btPencil);
    QTest::newRow("pencil, zoomed in") << 3 << int(BtMenus::btPencil);
    QTest::newRow("fountain pen, zoomed in") << 3 << int(BtMenus::btFountainPen);
}

void tst_ScribbleArea::releaseAddsTheStrokeToTheBoardPicture()
{
    QFETCH(int, zoomSteps);
    QFETCH(int, tool);
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    for (int i = 0; i < 20; ++i)
        addCurve(page, stroke(40, 120, quint32(i)), QPointF(40 + 45 * i, 500));
    for (int i = 0; i < zoomSteps; ++i)
        page->zoomPage(1.1f);
    chooseTool(view, tool);
    view->m_penFountain[PenUserMain].setColor(QColor(0, 120, 0));
    view->m_penPencil[PenUserMain].setColor(QColor(0, 120, 0));
    ScribbleArea *overlay = view->m_scribbleArea;
    QCoreApplication::processEvents();
    // Zoomed in, the strokes' pictures of the new scale come from other threads and have the
    // overlay drawn again when they do: the stroke starts once they all came.
    QTRY_VERIFY(!view->m_bRefreshOverlay && !view->isSharpening());
    const int renders = view->overlayRenders();

    TestSupport::drag(overlay, line(QPoint(100, 480), QPoint(700, 560), 40));
    QCoreApplication::processEvents();
    QCOMPARE(boardObjects(page).size(), 21);
    if (tool == BtMenus::btFountainPen) {
        // The nib's bar is centred on each point.
        QCOMPARE(overlay->grab().toImage().pixelColor(400, 520), QColor(0, 120, 0));
    }
    // The page was not drawn again: the new stroke joined the picture the overlay holds, and
    // no live ink is left above it.
    QCOMPARE(view->overlayRenders(), renders);
    QVERIFY(!view->m_bRefreshOverlay);
    QCOMPARE(overlay->ink().toImage().pixelColor(400, 520).alpha(), 0);
    const QImage settled = overlay->grab().toImage();
    if (tool == BtMenus::btPencil)
        QCOMPARE(settled.pixelColor(400, 520), QColor(0, 120, 0));

    // What the overlay shows is what a full drawing of the page shows.
    view->refreshOverlay();
    QTRY_COMPARE(view->overlayRenders(), renders + 1);
    const QImage redrawn = overlay->grab().toImage();
    int differing = 0;
    for (int y = 0; y < redrawn.height(); y += 2) {
        for (int x = 0; x < redrawn.width(); x += 2) {
            const QColor a = settled.pixelColor(x, y);
            const QColor b = redrawn.pixelColor(x, y);
            if (qAbs(a.red() - b.red()) > 40 || qAbs(a.green() - b.green()) > 40
                || qAbs(a.blue() - b.blue()) > 40)
                ++differing;
        }
    }
    QVERIFY2(differing < 20, qPrintable(QString::number(differing)));

    // Whatever else changes the page (here an undo) still has it drawn afresh.
    page->setUndo();
    QTRY_COMPARE(view->overlayRenders(), renders + 2);
}

void tst_ScribbleArea::undoAndRedoRepaintTheOverlayOverTheDesktop()
{
    // Ink over the desktop: the page is transparent, so an undone stroke must really go.
    Board board;
    DPage *page = board.newPage(3);
    board.selectPage(1);
    DView *view = board.view();
    chooseTool(view, BtMenus::btPencil);
    view->m_penPencil[PenUserMain].setColor(QColor(200, 0, 200));
    ScribbleArea *overlay = view->m_scribbleArea;
    QCoreApplication::processEvents();
    TestSupport::drag(overlay, line(QPoint(200, 200), QPoint(500, 260), 20));
    QCoreApplication::processEvents();
    QCOMPARE(boardObjects(page).size(), 1);
    const QPoint onStroke(350, 230);
    QTRY_COMPARE(overlay->grab().toImage().pixelColor(onStroke), QColor(200, 0, 200));

    page->setUndo();
    QCOMPARE(boardObjects(page).size(), 0);
    QTRY_COMPARE(overlay->grab().toImage().pixelColor(onStroke).alpha(), 0);
    QCOMPARE(overlay->canvas()->toImage().pixelColor(onStroke).alpha(), 0);

    page->setRedo();
    QTRY_COMPARE(overlay->grab().toImage().pixelColor(onStroke), QColor(200, 0, 200));
}

void tst_ScribbleArea::onePointStroke_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<int>("alpha"); // of the pen
    QTest::addColumn<bool>("kept");
    QTest::newRow("pencil: a dot") << int(BtMenus::btPencil) << 255 << true;
    QTest::newRow("texture brush: a dot") << int(BtMenus::btTextureBrush) << 255 << true;
    QTest::newRow("smart pen: a dot") << int(BtMenus::btSmartPen) << 255 << true;
    QTest::newRow("fountain pen: one nib") << int(BtMenus::btFountainPen) << 255 << true;
    QTest::newRow("pencil that cannot show") << int(BtMenus::btPencil) << 0 << false;
    QTest::newRow("brush pen: nothing") << int(BtMenus::btBrushPen) << 255 << false;
    QTest::newRow("rainbow pen: nothing") << int(BtMenus::btRainbowPen) << 255 << false;
}

void tst_ScribbleArea::onePointStroke()
{
    QFETCH(int, tool);
    QFETCH(int, alpha);
    QFETCH(bool, kept);
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    chooseTool(view, tool);
    const QColor colour(10, 60, 200, alpha);
    view->m_penPencil[PenUserMain] = QPen(colour, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    view->m_penSmart = view->m_penPencil[PenUserMain];
    view->m_penFountain[PenUserMain] = view->m_penPencil[PenUserMain];
    // A tap: the press point alone (the brush pens and the smart pen add nothing at release).
    const QPoint tap(420, 330);
    QTest::mousePress(view->m_scribbleArea, Qt::LeftButton, {}, tap);
    QTest::mouseRelease(view->m_scribbleArea, Qt::LeftButton, {}, tap);
    QCoreApplication::processEvents();
    QCOMPARE(boardObjects(page).size(), kept ? 1 : 0);
    QCOMPARE(page->undoStack()->count(), kept ? 1 : 0);
    if (!kept)
        return;
    view->setSelect();
    QTest::qWait(50);
    const QImage shown = board.window()->grab().toImage();
    if (tool == BtMenus::btFountainPen) {
        // The nib, 3 wide and 20 high, is centred on the point.
        QCOMPARE(shown.pixelColor(tap + QPoint(-1, -9)), QColor(10, 60, 200));
        QCOMPARE(shown.pixelColor(tap + QPoint(-3, 0)), QColor(Qt::white));
        return;
    }
    // A round dot of the pen's width on the point, nothing beyond it.
    QCOMPARE(shown.pixelColor(tap), QColor(10, 60, 200));
    QCOMPARE(shown.pixelColor(tap + QPoint(3, 0)), QColor(10, 60, 200));
    QCOMPARE(shown.pixelColor(tap + QPoint(0, -3)), QColor(10, 60, 200));
    QCOMPARE(shown.pixelColor(tap + QPoint(7, 0)), QColor(Qt::white));
    QCOMPARE(shown.pixelColor(tap + QPoint(0, 7)), QColor(Qt::white));
    auto *dot = asPath(boardObjects(page).first());
    QVERIFY(dot);
    QVERIFY(dot->shape().contains(dot->mapFromScene(view->mapToScene(tap))));
}

void tst_ScribbleArea::inkLandsUnderTheStroke_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPointF>("centre"); // where the view is panned to; null: not panned

    const struct
    {
        const char *name;
        int tool;
    } pens[] = { { "pencil", 50 }, { "fountain", 60 }, { "brush", 66 }, { "smart", 69 } };
    for (const auto &pen : pens) {
        QTest::addRow("%s zoom 1", pen.name) << pen.tool << 1.0 << QPointF();
        QTest::addRow("%s zoom 0.5", pen.name) << pen.tool << 0.5 << QPointF();
        QTest::addRow("%s zoom 2 panned", pen.name) << pen.tool << 2.0 << QPointF(300, 250);
        QTest::addRow("%s zoom 1.5 panned", pen.name) << pen.tool << 1.5 << QPointF(700, 500);
    }
}

void tst_ScribbleArea::inkLandsUnderTheStroke()
{
    QFETCH(int, tool);
    QFETCH(double, zoom);
    QFETCH(QPointF, centre);
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    page->zoomPage(float(zoom));
    if (!centre.isNull())
        view->centerOn(centre);
    chooseTool(view, tool);
    // A corner, so that the smart pen keeps more than the ends.
    QVector<QPoint> stroke = line(QPoint(200, 200), QPoint(500, 220), 30);
    stroke += line(QPoint(500, 220), QPoint(480, 520), 30).mid(1);

    TestSupport::drag(view->m_scribbleArea, stroke);

    const QList<QGraphicsItem *> objects = boardObjects(page);
    QCOMPARE(objects.size(), 1);
    QGraphicsItem *object = objects.first();
    // Within one screen pixel each way: the stroke is placed from its first point rounded.
    const qreal tolerance = 1.5 / zoom;
    if (DGPathItem *path = asPath(object)) {
        // Every vertex kept lies on the scene point under a point of the stroke.
        const QPainterPath kept = path->path();
        QVERIFY(kept.elementCount() > 2);
        for (int e = 0; e < kept.elementCount(); ++e) {
            const QPointF vertex =
                    object->mapToScene(QPointF(kept.elementAt(e).x, kept.elementAt(e).y));
            qreal nearest = 1e9;
            for (const QPoint &point : stroke)
                nearest = qMin(nearest, QLineF(vertex, view->mapToScene(point)).length());
            QVERIFY2(nearest <= tolerance, qPrintable(QString::number(nearest)));
        }
    } else {
        // The fountain nib and the brush stamp are centred on the point.
        for (int i = 2; i < stroke.size() - 2; i += 5) {
            const QPointF under = view->mapToScene(stroke.at(i));
            QVERIFY2(pictureAlphaAt(object, under) > 1,
                     qPrintable(QStringLiteral("point %1 at %2,%3")
                                        .arg(i)
                                        .arg(under.x())
                                        .arg(under.y())));
        }
    }
}

void tst_ScribbleArea::liveInkIsTheStrokeItBecomes_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPointF>("centre"); // where the view is panned to; null: not panned
    // A quick dash: the press and the few moves between it and the release; none: a long
    // stroke with a corner.
    QTest::addColumn<QVector<QPoint>>("dash");
    const QVector<QPoint> stroke;
    const QVector<QPoint> three = { { 300, 400 }, { 450, 400 }, { 600, 400 } };
    const QVector<QPoint> four = { { 300, 400 }, { 400, 430 }, { 500, 370 }, { 600, 400 } };
    // clang-format off
    QTest::newRow("pencil 200 %")                    << 50 << 2.0  << QPointF()             << stroke;
    QTest::newRow("pencil 400 % panned")             << 50 << 4.0  << QPointF(613.3, 411.7) << stroke;
    QTest::newRow("highlighter 200 %")               << 54 << 2.0  << QPointF()             << stroke;
    QTest::newRow("smart pen 400 %")                 << 69 << 4.0  << QPointF()             << stroke;
    QTest::newRow("user 3 highlighter 200 % panned") << 57 << 2.0  << QPointF(400.6, 300.2) << stroke;
    QTest::newRow("fountain pen 418 % panned")       << 60 << 4.18 << QPointF(613.3, 411.7) << stroke;
    QTest::newRow("brush pen 214 %")                 << 66 << 2.14 << QPointF()             << stroke;
    QTest::newRow("rainbow pen 214 % panned")        << 67 << 2.14 << QPointF(400.6, 300.2) << stroke;
    QTest::newRow("pencil dash of three")            << 50 << 1.0  << QPointF()             << three;
    QTest::newRow("highlighter dash of four 200 %")  << 54 << 2.0  << QPointF()             << four;
    // clang-format on
}

void tst_ScribbleArea::liveInkIsTheStrokeItBecomes()
{
    QFETCH(int, tool);
    QFETCH(double, zoom);
    QFETCH(QPointF, centre);
    QFETCH(QVector<QPoint>, dash);
    Board board;
    DView *view = board.view();
    board.current()->zoomPage(float(zoom));
    if (!centre.isNull())
        view->centerOn(centre);
    view->m_bMultiUser = tool == BtMenus::btHighlighterUser3;
    view->m_penType[PenUser3] = tool;
    chooseTool(view, tool);
    QTRY_VERIFY(!view->m_bRefreshOverlay);
    // Steps closer than the ink is wide, a corner, on user 3's half; at 400 % the first point
    // lands a pixel up and left of where it was pressed.
    QVector<QPoint> stroke = line(QPoint(561, 301), QPoint(820, 331), 70);
    stroke += line(QPoint(820, 331), QPoint(790, 560), 70).mid(1);
    if (!dash.isEmpty())
        stroke = dash;
    ScribbleArea *overlay = view->m_scribbleArea;
    QTest::mousePress(overlay, Qt::LeftButton, {}, stroke.first());
    for (const QPoint &point : qAsConst(stroke))
        TestSupport::moveTo(overlay, point);
    const QImage live = overlay->grab().toImage();
    QTest::mouseRelease(overlay, Qt::LeftButton, {}, stroke.last());
    // Edges within a pixel differ in a few pixels; a stroke half as wide or a pixel off differs
    // all along its edges, and translucent ink laid twice where segments overlap inside it.
    const auto difference = TestSupport::inkDifference(overlay->grab().toImage(), live, 64);
    QVERIFY2(difference.differing * 20 < difference.ink, qPrintable(difference.toString()));
}

void tst_ScribbleArea::fountainPenInkOnThePointersPath_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPointF>("centre"); // where the view is panned to; null: not panned
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to"); // a level stroke
    // clang-format off
    QTest::newRow("100 %")                << 60 << 1.0  << QPointF()             << QPoint(150, 400) << QPoint(870, 400);
    QTest::newRow("214 %")                << 60 << 2.14 << QPointF()             << QPoint(150, 400) << QPoint(870, 400);
    QTest::newRow("418 %")                << 60 << 4.18 << QPointF()             << QPoint(150, 400) << QPoint(870, 400);
    QTest::newRow("418 % panned")         << 60 << 4.18 << QPointF(613.3, 411.7) << QPoint(150, 400) << QPoint(870, 400);
    QTest::newRow("user 1, 214 % panned") << 61 << 2.14 << QPointF(400.6, 300.2) << QPoint(60, 300)  << QPoint(480, 300);
    QTest::newRow("user 3, 418 %")        << 63 << 4.18 << QPointF()             << QPoint(560, 500) << QPoint(960, 500);
    // clang-format on
}

void tst_ScribbleArea::fountainPenInkOnThePointersPath()
{
    QFETCH(int, tool);
    QFETCH(double, zoom);
    QFETCH(QPointF, centre);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    Board board;
    DView *view = board.view();
    board.current()->zoomPage(float(zoom));
    if (!centre.isNull())
        view->centerOn(centre);
    view->m_bMultiUser = tool != BtMenus::btFountainPen;
    view->m_penType[PenUser1] = view->m_penType[PenUser3] = tool;
    for (int user : { PenUserMain, PenUser1, PenUser3 })
        view->m_penFountain[user] = QPen(QColor(160, 20, 40), 5);
    chooseTool(view, tool);
    QTRY_VERIFY(!view->m_bRefreshOverlay);
    ScribbleArea *overlay = view->m_scribbleArea;
    QTest::mousePress(overlay, Qt::LeftButton, {}, from);
    for (const QPoint &point : line(from, to, (to.x() - from.x()) / 6))
        TestSupport::moveTo(overlay, point);
    const QRect live = TestSupport::darkBounds(overlay->grab().toImage(), 128);
    QTest::mouseRelease(overlay, Qt::LeftButton, {}, to);
    QCOMPARE(boardObjects(board.current()).size(), 1);
    const QRect landed = TestSupport::darkBounds(overlay->grab().toImage(), 128);
    // A bar 3 x 20 on the page, centred on each pixel the pointer passed over: within a screen
    // pixel for where the page lays the stroke's first point (on a whole pixel), half a pixel
    // for the pointer's own, and half a pixel of the page, the finest step of its picture.
    const QPointF halfBar(1.5 * zoom, 10 * zoom);
    const QRectF path(from + QPointF(0.5, 0.5) - halfBar, to + QPointF(0.5, 0.5) + halfBar);
    const auto near = [](const QRectF &one, const QRectF &other, qreal by) {
        return one.adjusted(-by, -by, by, by).contains(other)
                && other.adjusted(-by, -by, by, by).contains(one);
    };
    QString shown;
    QDebug(&shown) << "live" << live << "landed" << landed << "path" << path;
    QVERIFY2(near(landed, path, 1.5 + zoom / 2), qPrintable(shown));
    QVERIFY2(near(live, landed, 2), qPrintable(shown));
}

void tst_ScribbleArea::twoFingersCommitInLiftOrder()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    chooseTool(view, BtMenus::btPencil);
    ScribbleArea *overlay = view->m_scribbleArea;
    QSignalSpy started(overlay, &ScribbleArea::signals_touchEvent);
    const QVector<QPoint> first = line(QPoint(100, 100), QPoint(300, 200), 12);
    const QVector<QPoint> second = line(QPoint(600, 400), QPoint(800, 300), 12);

    auto touch = QTest::touchEvent(overlay, TestSupport::touchScreen(), false);
    touch.press(0, first.first(), overlay).press(1, second.first(), overlay);
    touch.commit();
    for (int i = 1; i < first.size(); ++i) {
        touch.move(0, first.at(i), overlay).move(1, second.at(i), overlay);
        touch.commit();
    }
    touch.release(1, second.last(), overlay).stationary(0);
    touch.commit();
    // A lifted finger's stroke waits on the overlay while another finger still writes.
    QCOMPARE(boardObjects(page).size(), 0);
    QCOMPARE(overlay->finishedStrokeCount(), 1);
    touch.release(0, first.last(), overlay);
    touch.commit();

    QCOMPARE(started.count(), 2);
    const QList<QGraphicsItem *> objects = boardObjects(page);
    QCOMPARE(objects.size(), 2);
    QCOMPARE(page->undoStack()->count(), 2);
    // Bottom first: the finger lifted first was committed first.
    QCOMPARE(objects.at(0)->scenePos(), view->mapToScene(second.first()));
    QCOMPARE(objects.at(1)->scenePos(), view->mapToScene(first.first()));
    QCOMPARE(overlay->inputMode(), 0);
}

void tst_ScribbleArea::touchDuringMouseStrokeDropsIt()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    chooseTool(view, BtMenus::btPencil);
    ScribbleArea *overlay = view->m_scribbleArea;
    QTest::mousePress(overlay, Qt::LeftButton, {}, QPoint(100, 500));
    for (const QPoint &point : line(QPoint(100, 500), QPoint(300, 500), 8))
        TestSupport::moveTo(overlay, point);

    const QVector<QPoint> finger = line(QPoint(500, 200), QPoint(700, 260), 8);
    auto touch = QTest::touchEvent(overlay, TestSupport::touchScreen(), false);
    touch.press(3, finger.first(), overlay);
    touch.commit();
    for (const QPoint &point : finger) {
        touch.move(3, point, overlay);
        touch.commit();
    }
    touch.release(3, finger.last(), overlay);
    touch.commit();
    QTest::mouseRelease(overlay, Qt::LeftButton, {}, QPoint(300, 500));

    const QList<QGraphicsItem *> objects = boardObjects(page);
    QCOMPARE(objects.size(), 1);
    QCOMPARE(objects.first()->scenePos(), view->mapToScene(finger.first()));
    QCOMPARE(overlay->openStrokeCount(), 0);

    // The overlay is idle again: the mouse writes.
    TestSupport::drag(overlay, line(QPoint(100, 600), QPoint(300, 650), 8));
    QCOMPARE(boardObjects(page).size(), 2);
}

void tst_ScribbleArea::touchCancelLeavesOverlayUsable()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    chooseTool(view, BtMenus::btPencil);
    ScribbleArea *overlay = view->m_scribbleArea;
    auto touch = QTest::touchEvent(overlay, TestSupport::touchScreen(), false);
    touch.press(0, QPoint(200, 200), overlay).press(1, QPoint(400, 200), overlay);
    touch.commit();
    touch.move(0, QPoint(260, 240), overlay).move(1, QPoint(460, 240), overlay);
    touch.commit();
    QCOMPARE(overlay->openStrokeCount(), 2);

    QTouchEvent cancel(QEvent::TouchCancel, TestSupport::touchScreen());
    QCoreApplication::sendEvent(overlay, &cancel);
    QCOMPARE(overlay->openStrokeCount(), 0);
    QCOMPARE(overlay->inputMode(), 0);
    QCOMPARE(boardObjects(page).size(), 0); // cut-off strokes are not committed

    TestSupport::drag(overlay, line(QPoint(100, 400), QPoint(300, 450), 10));
    QCOMPARE(boardObjects(page).size(), 1);
    // And a new touch sequence commits again.
    auto again = QTest::touchEvent(overlay, TestSupport::touchScreen(), false);
    again.press(5, QPoint(600, 500), overlay);
    again.commit();
    for (const QPoint &point : line(QPoint(600, 500), QPoint(700, 560), 8)) {
        again.move(5, point, overlay);
        again.commit();
    }
    again.release(5, QPoint(700, 560), overlay);
    again.commit();
    QCOMPARE(boardObjects(page).size(), 2);
}

void tst_ScribbleArea::handLaidFlatSwitchesToObjectEraser_data()
{
    QTest::addColumn<int>("spread"); // pixels between neighbouring fingers
    QTest::addColumn<bool>("multiUser");
    QTest::addColumn<bool>("switches");
    QTest::newRow("hand") << 12 << false << true;
    QTest::newRow("fingers far apart") << 200 << false << false;
    QTest::newRow("multi-user") << 12 << true << false;
}

void tst_ScribbleArea::handLaidFlatSwitchesToObjectEraser()
{
    QFETCH(int, spread);
    QFETCH(bool, multiUser);
    QFETCH(bool, switches);
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    addCurve(page, stroke(40, 60, 7), QPointF(500, 300));
    view->m_bMultiUser = multiUser;
    chooseTool(view, BtMenus::btPencil);
    if (multiUser)
        view->m_penType[PenUser1] = view->m_penType[PenUser3] = BtMenus::btPencilUser1;
    ScribbleArea *overlay = view->m_scribbleArea;

    auto touch = QTest::touchEvent(overlay, TestSupport::touchScreen(), false);
    for (int finger = 0; finger < 5; ++finger)
        touch.press(finger, QPoint(150 + finger * spread, 150 + (finger % 2) * spread), overlay);
    touch.commit();

    QCOMPARE(view->getPenType(PenUserMain), switches ? 1 : 50);
    QCOMPARE(overlay->isVisible(), !switches);
    QCOMPARE(overlay->toolBeforePalm(), switches ? 50 : 1);
    for (int finger = 0; finger < 5; ++finger)
        touch.release(finger, QPoint(150 + finger * spread, 150 + (finger % 2) * spread), overlay);
    touch.commit();
    if (!switches)
        return;

    // The page now erases whole objects, and hands the board back to the pencil after it.
    QList<int> selected;
    connect(page, &DPage::selectBt, this, [&](BtMenus::btType tool) { selected << tool; });
    TestSupport::drag(view->viewport(), line(QPoint(480, 330), QPoint(580, 330), 10));
    QCOMPARE(boardObjects(page).size(), 0);
    QCOMPARE(selected, QList<int>{ 50 });
}

void tst_ScribbleArea::multiUserHalves_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("user");
    QTest::newRow("left") << 1.0 << QPoint(100, 300) << QPoint(800, 400) << 1;
    QTest::newRow("right") << 1.0 << QPoint(900, 300) << QPoint(200, 200) << 3;
    QTest::newRow("left zoomed out") << 0.5 << QPoint(300, 300) << QPoint(480, 350) << 1;
    QTest::newRow("right zoomed in") << 2.0 << QPoint(600, 300) << QPoint(1000, 350) << 3;
}

void tst_ScribbleArea::multiUserHalves()
{
    QFETCH(double, zoom);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(int, user);
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    page->zoomPage(float(zoom));
    view->m_bMultiUser = true;
    view->m_penType[PenUserMain] = BtMenus::btPencilUser1;
    view->m_penType[PenUser1] = BtMenus::btPencilUser1;
    view->m_penType[PenUser3] = BtMenus::btPencilUser3;
    view->m_penPencil[PenUser1] = QPen(QColor(220, 0, 0), 4);
    view->m_penPencil[PenUser3] = QPen(QColor(0, 0, 220), 9);
    view->setVisibleScribbleArea(true);
    const int half = kBoardWidth / 2;

    TestSupport::drag(view->m_scribbleArea, line(from, to, 40));

    const QList<QGraphicsItem *> objects = boardObjects(page);
    QCOMPARE(objects.size(), 1);
    DGPathItem *ink = asPath(objects.first());
    QVERIFY(ink);
    QCOMPARE(ink->pen(), view->m_penPencil[user]);
    // Only the points on the user's own half were collected.
    const QPainterPath kept = ink->path();
    for (int e = 0; e < kept.elementCount(); ++e) {
        const QPointF onScreen = view->mapFromScene(
                ink->mapToScene(QPointF(kept.elementAt(e).x, kept.elementAt(e).y)));
        if (user == 1)
            QVERIFY2(onScreen.x() < half + 1, qPrintable(QString::number(onScreen.x())));
        else
            QVERIFY2(onScreen.x() > half - 1, qPrintable(QString::number(onScreen.x())));
    }
}

void tst_ScribbleArea::lassoErasesInsideOutlineOnShownPage()
{
    Board board(2); // the second page is the newest one; the first is shown
    DView *view = board.view();
    DPage *shown = board.page(0);
    DPage *hidden = board.page(1);
    QGraphicsItem *inside = addCurve(shown, stroke(30, 40, 1), QPointF(190, 390));
    RectObject *selected = addRect(shown, QRectF(0, 0, 40, 30), QPointF(230, 360));
    selected->setSelected(true); // its frame and handles lie inside the lasso too
    QGraphicsItem *cornerSide = addCurve(shown, stroke(30, 40, 2), QPointF(60, 60));
    QGraphicsItem *rightHalf = addCurve(shown, stroke(30, 40, 3), QPointF(700, 400));
    QGraphicsItem *otherPage = addCurve(hidden, stroke(30, 40, 4), QPointF(190, 390));

    view->m_bMultiUser = true;
    view->setPenType(BtMenus::btEraserUser1, 255, QString(), PenUser1);
    QVERIFY(view->m_scribbleArea->isVisible());
    QCOMPARE(view->getPenType(PenUser1), int(BtMenus::btEraserUser1));
    // A closed loop around (220, 400) of radius 110, drawn by the mouse.
    QVector<QPoint> lasso;
    for (int i = 0; i <= 36; ++i)
        lasso << QPoint(220 + int(110 * std::cos(i * M_PI / 18)),
                        400 + int(110 * std::sin(i * M_PI / 18)));
    TestSupport::drag(view->m_scribbleArea, lasso);

    QCOMPARE(inside->scene(), nullptr);
    QCOMPARE(selected->scene(), nullptr);
    QCOMPARE(selected->rotateItem()->parentItem(), selected); // the frame went with its object
    QCOMPARE(cornerSide->scene(), shown);
    QCOMPARE(rightHalf->scene(), shown);
    QCOMPARE(otherPage->scene(), hidden);
    QCOMPARE(hidden->undoStack()->count(), 0);
    QCOMPARE(shown->undoStack()->count(), 1);
    QCOMPARE(boardObjects(shown).size(), 2); // the lasso itself leaves nothing

    shown->setUndo();
    QCOMPARE(inside->scene(), shown);
    QCOMPARE(selected->scene(), shown);
}

void tst_ScribbleArea::lassoReleasedOnOtherHalfErasesNothing()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    QGraphicsItem *inside = addCurve(page, stroke(30, 40, 1), QPointF(400, 390));
    view->m_bMultiUser = true;
    view->setPenType(BtMenus::btEraserUser1, 255, QString(), PenUser1);
    TestSupport::drag(view->m_scribbleArea,
                      { QPoint(300, 300), QPoint(500, 300), QPoint(500, 500), QPoint(300, 500),
                        QPoint(700, 420) });
    QCOMPARE(inside->scene(), page);
    QCOMPARE(page->undoStack()->count(), 0);
    QCOMPARE(boardObjects(page).size(), 1);
}

QTEST_MAIN(tst_ScribbleArea)
#include "tst_scribblearea.moc"
