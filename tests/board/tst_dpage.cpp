#include "support/boardfixture.h"
#include "support/testsupport.h"

#include "board/boardtypes.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "board/scribblearea.h"

#include <QSignalSpy>
#include <QtTest>

using namespace BoardFixture;

class tst_DPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void cleanup() { QVERIFY(TestSupport::takeConnectWarnings().isEmpty()); }

    void construction();
    void zOrderOnlyRises();
    void eachPageKeepsItsZoomAndCentre();
    void zoomToScaleStopsOffTheLattice();
    void moveBackPage_data();
    void moveBackPage();
    void zoomFloorRefusesButReports_data();
    void zoomFloorRefusesButReports();
    void transparentPagePixmap();
    void colourPagePixmap();
    void dragPageScrollsAndFreezesObjects();
    void doubleClickEndsPolygon();
    void undoOnEmptyStackStillReports();
    void worksWithoutRecognitionEngine();
};

void tst_DPage::construction()
{
    Board board;
    DPage *page = board.page(0);
    QCOMPARE(page->sceneRect(), QRectF(0, 0, kBoardWidth, kBoardHeight));
    QCOMPARE(page->savedCenter(), QPointF(512, 384));
    QCOMPARE(page->zoom(), 1.0f);
    QVERIFY(!page->isModified());
    QCOMPARE(page->recogChars().size(), 73);
    QCOMPARE(page->recogChars().toUtf8().size(), 74);
    QCOMPARE(page->recogChars().at(72), QChar(0xf1));
    QCOMPARE(board.view()->m_scribbleArea->dpage(), page);
}

void tst_DPage::zOrderOnlyRises()
{
    Board board;
    DPage *page = board.page(0);
    RectObject *first = addRect(page, QRectF(0, 0, 50, 50), QPointF(10, 10));
    RectObject *second = addRect(page, QRectF(0, 0, 50, 50), QPointF(100, 10));
    RectObject *third = addRect(page, QRectF(0, 0, 50, 50), QPointF(200, 10));
    QCOMPARE(first->zValue(), 0.0);
    QCOMPARE(second->zValue(), 1.0);
    QCOMPARE(third->zValue(), 2.0);
    // Taken off and put back: above everything, never reusing a value.
    page->removeItem(first);
    page->addItem(first);
    QCOMPARE(first->zValue(), 3.0);
    QCOMPARE(page->zCounter(), 4.0f);
}

void tst_DPage::eachPageKeepsItsZoomAndCentre()
{
    Board board(2);
    DView *view = board.view();
    DPage *first = board.page(0);
    first->zoomPage(1.1f);
    first->zoomPage(1.1f);
    QCOMPARE(QString::number(first->zoom(), 'f', 2), QStringLiteral("1.21"));
    view->centerOn(QPointF(300, 200));
    const QPointF firstCentre = view->mapToScene(view->viewport()->rect().center());

    QSignalSpy zooms(view, &DView::zoomPage);
    board.selectPage(1);
    QCOMPARE(QString::number(view->getScale(), 'f', 2), QStringLiteral("1.00"));
    QCOMPARE(zooms.count(), 2); // two steps of 1 / 1.1
    QCOMPARE(view->transform().m11(), view->getScale());

    board.selectPage(0);
    QCOMPARE(QString::number(view->getScale(), 'f', 2), QStringLiteral("1.21"));
    QCOMPARE(zooms.count(), 4);
    QVERIFY(qAbs(view->transform().m11() - 1.21) < 1e-6);
    const QPointF restored = view->mapToScene(view->viewport()->rect().center());
    QVERIFY2(QLineF(restored, firstCentre).length() < 2.0,
             qPrintable(QStringLiteral("%1,%2").arg(restored.x()).arg(restored.y())));
    QCOMPARE(board.page(1)->zoom(), 1.0f);
}

void tst_DPage::zoomToScaleStopsOffTheLattice()
{
    Board board(2);
    DView *view = board.view();
    board.page(0)->zoomPage(1.055f); // never met by steps of 1.1 from 1.0
    board.selectPage(1);
    QSignalSpy zooms(view, &DView::zoomPage);
    board.selectPage(0);
    QVERIFY(zooms.count() <= 2);
    QVERIFY(view->getScale() < 1.2);
}

void tst_DPage::moveBackPage_data()
{
    QTest::addColumn<int>("zoomIns");
    QTest::addColumn<int>("zoomOuts");
    QTest::addColumn<int>("expectedSteps");
    // The zoom steps meet 100 % exactly: neither one step past it nor a hair above it.
    QTest::newRow("at 1.21") << 2 << 0 << 2;
    QTest::newRow("at 0.826") << 0 << 2 << 2;
    QTest::newRow("at 1.0") << 0 << 0 << 0;
}

void tst_DPage::moveBackPage()
{
    QFETCH(int, zoomIns);
    QFETCH(int, zoomOuts);
    QFETCH(int, expectedSteps);
    Board board;
    DPage *page = board.page(0);
    DView *view = board.view();
    for (int i = 0; i < zoomIns; ++i)
        page->zoomPage(1.1f);
    for (int i = 0; i < zoomOuts; ++i)
        page->zoomPage(0.90909094f);
    view->centerOn(QPointF(100, 100));
    QSignalSpy zooms(view, &DView::zoomPage);
    page->moveBackPage();
    QCOMPARE(zooms.count(), expectedSteps);
    QCOMPARE(page->zoom(), 1.0f);
    QCOMPARE(view->transform(), QTransform());
    const QPointF centre = view->mapToScene(view->viewport()->rect().center());
    QVERIFY(QLineF(centre, page->sceneRect().center()).length() < 2.0);
}

void tst_DPage::zoomFloorRefusesButReports_data()
{
    QTest::addColumn<float>("step");
    QTest::addColumn<int>("steps"); // accepted
    QTest::addColumn<double>("lowest");
    QTest::addColumn<double>("highest");
    QTest::newRow("floor: out to 0.3855") << 0.90909094f << 10 << 0.38 << 0.39;
    // Past about a million the view could not centre any more: refused from 64 on.
    QTest::newRow("ceiling: in to 60.2") << 1.1f << 43 << 60.0 << 60.5;
}

void tst_DPage::zoomFloorRefusesButReports()
{
    QFETCH(float, step);
    QFETCH(int, steps);
    QFETCH(double, lowest);
    QFETCH(double, highest);
    Board board;
    DPage *page = board.page(0);
    DView *view = board.view();
    for (int i = 0; i < steps; ++i)
        page->zoomPage(step);
    page->zoomPage(step); // refused
    const double atLimit = view->getScale();
    QVERIFY2(atLimit > lowest && atLimit < highest, qPrintable(QString::number(atLimit)));
    const QTransform before = view->transform();
    QSignalSpy zooms(view, &DView::zoomPage);
    page->zoomPage(step);
    QCOMPARE(zooms.count(), 1);
    QCOMPARE(zooms.at(0).at(0).toFloat(), float(atLimit));
    QCOMPARE(view->transform(), before);
    QCOMPARE(page->zoom(), float(atLimit));
    // As many steps back meet 100 % exactly: single-precision steps do not cancel, and 43 each
    // way left the board 2e-6 larger, a turned photo's pixels drawn anew.
    for (int i = 0; i < steps; ++i)
        page->zoomPage(step > 1 ? 0.90909094f : 1.1f);
    QCOMPARE(view->transform(), QTransform());
    if (step > 1)
        return;

    // 0.4 -> 0.3636 is still accepted.
    Board other;
    other.view()->setScale(0.4);
    other.view()->setScale(0.90909094);
    QVERIFY(qAbs(other.view()->getScale() - 0.36363637) < 1e-6);
    other.view()->setScale(0.90909094);
    QVERIFY(qAbs(other.view()->getScale() - 0.36363637) < 1e-6);
}

void tst_DPage::transparentPagePixmap()
{
    Board board;
    DPage *page = board.newPage(PageTypeTransparent);
    const QImage tiles = page->getPagePixmap(1).toImage();
    QCOMPARE(tiles.size(), QSize(kBoardWidth, kBoardHeight));
    const QColor grey(Qt::gray);
    QCOMPARE(tiles.pixelColor(100, 100), grey);
    QCOMPARE(tiles.pixelColor(300, 100), QColor(Qt::white));
    QCOMPARE(tiles.pixelColor(100, 300), QColor(Qt::white));
    QCOMPARE(tiles.pixelColor(300, 300), grey);
    QCOMPARE(tiles.pixelColor(500, 100), grey);
    // The white tiles' outline runs 5 px into the grey one at (200, 0).
    QCOMPARE(tiles.pixelColor(196, 100), QColor(Qt::white));
    QCOMPARE(tiles.pixelColor(194, 100), grey);

    const QImage plain = page->getPagePixmap(0).toImage();
    QCOMPARE(plain.pixelColor(100, 100), QColor(255, 255, 255, 2));
    QCOMPARE(plain.pixelColor(300, 300), QColor(255, 255, 255, 2));
    // The border is drawn with the painter's default pen.
    QVERIFY(plain.pixelColor(0, 300).alpha() > 100);
    QVERIFY(plain.pixelColor(kBoardWidth - 1, 300).alpha() > 100);
}

void tst_DPage::colourPagePixmap()
{
    Board board;
    DPage *page = board.page(0);
    page->setPageBackgroundColor(QColor(0, 128, 0));
    addRect(page, QRectF(0, 0, 100, 100), QPointF(400, 400));
    const QImage image = page->getPagePixmap(1).toImage();
    QCOMPARE(image.pixelColor(100, 100), QColor(0, 128, 0));
    QCOMPARE(image.pixelColor(450, 450), QColor(Qt::blue));
    // The antialiased border line darkens the edge pixels, and only them.
    QVERIFY(image.pixelColor(0, 100).green() < 100);
    QVERIFY(image.pixelColor(100, 0).green() < 100);
    QCOMPARE(image.pixelColor(2, 100), QColor(0, 128, 0));
}

void tst_DPage::dragPageScrollsAndFreezesObjects()
{
    Board board;
    DView *view = board.view();
    view->setPenType(BtMenus::btPencil, 255, QString(), PenUserMain);
    QVERIFY(view->m_scribbleArea->isVisible());
    board.page(0)->dragPage();
    QVERIFY(!view->m_scribbleArea->isVisible());
    QCOMPARE(view->getPenType(PenUserMain), int(BtMenus::btDragPage));
    QCOMPARE(view->dragMode(), QGraphicsView::ScrollHandDrag);
    QVERIFY(!view->isInteractive());
    view->setSelect();
    QVERIFY(view->isInteractive());
    QCOMPARE(view->dragMode(), QGraphicsView::RubberBandDrag);
}

void tst_DPage::doubleClickEndsPolygon()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    RectObject *object = addRect(page, QRectF(0, 0, 100, 100), QPointF(100, 100));
    view->setShapeType(BtMenus::btPolygon);
    page->m_pDrawItem = object;
    page->m_bPolygon = true;
    view->setAttribute(Qt::WA_MouseTracking, true);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(600, 600));
    QVERIFY(!page->m_bPolygon);
    QCOMPARE(view->getPenType(PenUserMain), int(BtMenus::btSelect));
    QVERIFY(!view->testAttribute(Qt::WA_MouseTracking));

    // Any other tool: the double click only reaches the object under the pointer.
    view->setShapeType(BtMenus::btRectangle);
    page->m_bPolygon = true;
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(150, 150));
    QVERIFY(page->m_bPolygon);
    QCOMPARE(view->getPenType(PenUserMain), int(BtMenus::btRectangle));
}

void tst_DPage::undoOnEmptyStackStillReports()
{
    Board board;
    DPage *page = board.page(0);
    board.view()->m_bRefreshOverlay = false;
    QSignalSpy updates(page, &DPage::updateRes);
    page->setUndo();
    QCOMPARE(updates.count(), 1);
    QVERIFY(board.view()->m_bRefreshOverlay);
    page->setRedo();
    QCOMPARE(updates.count(), 2);
    QCOMPARE(page->undoStack()->count(), 0);
    QVERIFY(!page->isModified());
}

void tst_DPage::worksWithoutRecognitionEngine()
{
    QVERIFY(qEnvironmentVariable("LIPI_ROOT").isEmpty());
    Board board;
    DPage *page = board.page(0);
    QVERIFY(!page->recogniser().isAvailable());
    QCOMPARE(page->recogniser().reconocer({ { QPointF(1, 1), QPointF(5, 5) } }), recog::kNoMatch);
    addRect(page, QRectF(0, 0, 10, 10), QPointF(5, 5));
    QCOMPARE(page->items().isEmpty(), false);
}

QTEST_MAIN(tst_DPage)
#include "tst_dpage.moc"
