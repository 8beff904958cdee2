#include "support/boardfixture.h"
#include "support/testsupport.h"

#include "board/boardtypes.h"
#include "board/dcommands.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpathtableitem.h"
#include "board/dgpathvertexitem.h"
#include "board/dgpixmapitem.h"
#include "board/dpage.h"
#include "board/dview.h"

#include <QColorDialog>
#include <QtTest>

using namespace BoardFixture;

class tst_DPageFills : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void cleanup() { QVERIFY(TestSupport::takeConnectWarnings().isEmpty()); }

    void shapeTakesThePaletteFill();
    void gradientRunsDownTheShapesBox();
    void polygonTakesTheBrushButNoFillKind();
    void fillColourIsOneUndoableStep();
    void transparentFillRemovesTheFillKind();
    void borderColourKeepsHighlighterInkPerObject_data();
    void borderColourKeepsHighlighterInkPerObject();
    void borderColourCoversPolygonsAndTables();
    void cancelledOrEmptyChangesNothing();
    void bucketFillOfTheRenderedPage();
};

namespace {

QPainterPath box(QPointF from, QPointF to)
{
    QPainterPath path;
    path.addRect(QRectF(from, to).normalized());
    return path;
}

// Chooses colour in the next colour dialog, or cancels it when colour is invalid.
std::shared_ptr<bool> answerColour(const QColor &colour, QColor *initial = nullptr)
{
    return TestSupport::answerNextModal([colour, initial](QWidget *widget) {
        auto *dialog = qobject_cast<QColorDialog *>(widget);
        QVERIFY(dialog);
        if (initial)
            *initial = dialog->currentColor();
        if (!colour.isValid()) {
            dialog->reject();
            return;
        }
        dialog->setOption(QColorDialog::ShowAlphaChannel);
        dialog->setCurrentColor(colour);
        dialog->accept();
    });
}

} // namespace

void tst_DPageFills::shapeTakesThePaletteFill()
{
    Board board;
    DPage *page = board.current();
    DView *view = board.view();
    auto *shape =
            addCurve(page, box({ 0, 0 }, { 80, 60 }), QPointF(100, 100), BtMenus::btRectangle);
    page->m_pDrawItem = shape;
    view->m_penShapeFill.setColor(QColor(200, 10, 10));
    view->setFillType(FillSolid);
    page->fillFigure();
    QCOMPARE(shape->m_fillType, short(ItemFillSolid));
    QCOMPARE(shape->brush(), QBrush(QColor(200, 10, 10), Qt::SolidPattern));

    // No fill colour and a solid fill: the shape keeps what it had.
    view->m_penShapeFill.setColor(QColor(0, 0, 0, 0));
    page->fillFigure();
    QCOMPARE(shape->brush(), QBrush(QColor(200, 10, 10), Qt::SolidPattern));

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ladrillo.png"));
    QImage tile(12, 12, QImage::Format_RGB32);
    tile.fill(Qt::darkRed);
    QVERIFY(tile.save(file));
    view->setFillType(FillPattern);
    view->setFillFileName(file);
    page->fillFigure();
    QCOMPARE(shape->m_fillType, short(ItemFillTexture));
    QCOMPARE(shape->fillFileName(), file);
    QCOMPARE(shape->brush().style(), Qt::TexturePattern);
}

void tst_DPageFills::gradientRunsDownTheShapesBox()
{
    Board board;
    DPage *page = board.current();
    DView *view = board.view();
    // Drawn upward: the shape lies above its press point (0, 0), in the box (300, 210) 70 x 90.
    auto *shape = addCurve(page, box({ 0, 0 }, { 70, -90 }), QPointF(300, 300), BtMenus::btEllipse);
    page->m_pDrawItem = shape;
    view->m_penShapeFill.setColor(Qt::yellow);
    view->m_penShape.setColor(Qt::darkBlue);
    view->setFillType(FillGradient);
    page->fillFigure();
    QCOMPARE(shape->m_fillType, short(ItemFillGradient));
    // Down the middle: the fill colour at the box's top, the outline colour at its bottom.
    const QImage shown = shownArea(page, QRectF(335, 210, 1, 90));
    for (int row : { 10, 45, 80 }) {
        const qreal t = (row + 0.5) / 90;
        const QColor expected(qRound(255 * (1 - t)), qRound(255 * (1 - t)), qRound(128 * t));
        const QColor seen = shown.pixelColor(0, row);
        QVERIFY2(qAbs(seen.red() - expected.red()) <= 3 && qAbs(seen.blue() - expected.blue()) <= 3,
                 qPrintable(QStringLiteral("row %1: %2, not %3")
                                    .arg(row)
                                    .arg(seen.name(), expected.name())));
    }
}

void tst_DPageFills::polygonTakesTheBrushButNoFillKind()
{
    Board board;
    DPage *page = board.current();
    DGPathVertexItem *polygon = addVertex(page, box({ 0, 0 }, { 50, 50 }), QPointF(50, 50));
    page->m_pDrawItem = polygon;
    board.view()->m_penShapeFill.setColor(Qt::green);
    board.view()->setFillType(FillSolid);
    page->fillFigure();
    QCOMPARE(polygon->brush(), QBrush(Qt::green, Qt::SolidPattern));
}

void tst_DPageFills::fillColourIsOneUndoableStep()
{
    Board board;
    DPage *page = board.current();
    auto *ellipse =
            addCurve(page, box({ 0, 0 }, { 80, 60 }), QPointF(100, 100), BtMenus::btEllipse);
    auto *line = addCurve(page, box({ 0, 0 }, { 80, 1 }), QPointF(300, 100), BtMenus::btLine);
    DGPixmapItem *picture =
            page->addPixmapItem(QPixmap(20, 20), QPointF(500, 100), 0, 1.0f, QTransform(), false);
    const QPen ellipsePen = ellipse->pen();
    for (QGraphicsItem *item : page->validItems(true))
        item->setSelected(true);

    QColor initial;
    auto answered = answerColour(QColor(0, 128, 255), &initial);
    page->editFillColor();
    QVERIFY(*answered);
    QCOMPARE(initial, QColor(Qt::blue));
    QCOMPARE(ellipse->brush(), QBrush(QColor(0, 128, 255), Qt::SolidPattern));
    QCOMPARE(ellipse->m_fillType, short(ItemFillSolid));
    QCOMPARE(line->brush().style(), Qt::NoBrush); // a line cannot be filled
    QVERIFY(picture->scene());
    QVERIFY(page->isModified());
    QCOMPARE(page->undoStack()->count(), 1);
    QVERIFY(dynamic_cast<const ColorCommand *>(page->undoStack()->command(0)));

    page->setUndo();
    QCOMPARE(ellipse->brush().style(), Qt::NoBrush);
    QCOMPARE(ellipse->m_fillType, short(ItemFillNone));
    QCOMPARE(ellipse->pen(), ellipsePen); // the outline is not touched by undo either
    page->setRedo();
    QCOMPARE(ellipse->brush(), QBrush(QColor(0, 128, 255), Qt::SolidPattern));
    QCOMPARE(ellipse->m_fillType, short(ItemFillSolid));
}

void tst_DPageFills::transparentFillRemovesTheFillKind()
{
    Board board;
    DPage *page = board.current();
    auto *shape = addCurve(page, box({ 0, 0 }, { 80, 60 }), QPointF(100, 100), BtMenus::btStar);
    shape->setBrush(QBrush(Qt::red));
    shape->m_fillType = ItemFillSolid;
    shape->setSelected(true);
    auto answered = answerColour(QColor(10, 20, 30, 0));
    page->editFillColor();
    QVERIFY(*answered);
    QCOMPARE(shape->m_fillType, short(ItemFillNone));
    QCOMPARE(shape->brush().color(), QColor(10, 20, 30, 0));
}

void tst_DPageFills::borderColourKeepsHighlighterInkPerObject_data()
{
    QTest::addColumn<bool>("highlighterFirst");
    QTest::newRow("highlighter, then pencil") << true;
    QTest::newRow("pencil, then highlighter") << false;
}

void tst_DPageFills::borderColourKeepsHighlighterInkPerObject()
{
    QFETCH(bool, highlighterFirst);
    Board board;
    DPage *page = board.current();
    const QPen highlighterPen(QColor(255, 255, 0, 100), 20);
    const QPen pencilPen(QColor(0, 0, 0), 3);
    const QPainterPath path = stroke(20, 60, 3);
    // Whatever order the selection comes in, each object keeps its own kind of ink.
    DGPathCurveItem *second = addCurve(page, path, QPointF(300, 300), BtMenus::btPencil, false,
                                       highlighterFirst ? pencilPen : highlighterPen);
    DGPathCurveItem *first = addCurve(page, path, QPointF(100, 100), BtMenus::btPencil, false,
                                      highlighterFirst ? highlighterPen : pencilPen);
    first->setSelected(true);
    second->setSelected(true);
    DGPathCurveItem *highlighter = highlighterFirst ? first : second;
    DGPathCurveItem *pencil = highlighterFirst ? second : first;

    auto answered = answerColour(QColor(200, 0, 100));
    page->editBoderColor();
    QVERIFY(*answered);
    QCOMPARE(highlighter->pen().color(), QColor(200, 0, 100, 100));
    QCOMPARE(pencil->pen().color(), QColor(200, 0, 100, 255));
    QCOMPARE(pencil->pen().width(), 3);
    QCOMPARE(page->undoStack()->count(), 1);
    QVERIFY(page->isModified());
    page->setUndo();
    QCOMPARE(highlighter->pen(), highlighterPen);
    QCOMPARE(pencil->pen(), pencilPen);
}

void tst_DPageFills::borderColourCoversPolygonsAndTables()
{
    Board board;
    DPage *page = board.current();
    DGPathVertexItem *polygon = addVertex(page, box({ 0, 0 }, { 50, 50 }), QPointF(50, 50));
    DGPathTableItem *table =
            page->addTableItem(box({ 300, 300 }, { 400, 380 }), 3, 2, 0, 1.0f, QTransform(), false);
    const QPen polygonPen = polygon->pen();
    const QPen tablePen = table->pen();
    polygon->setSelected(true);
    table->setSelected(true);
    QColor initial;
    auto answered = answerColour(QColor(Qt::darkMagenta), &initial);
    page->editBoderColor();
    QVERIFY(*answered);
    QCOMPARE(initial, QColor(Qt::black));
    QCOMPARE(polygon->pen().color(), QColor(Qt::darkMagenta));
    QCOMPARE(table->pen().color(), QColor(Qt::darkMagenta));
    page->setUndo();
    QCOMPARE(polygon->pen(), polygonPen);
    QCOMPARE(table->pen(), tablePen);
}

void tst_DPageFills::cancelledOrEmptyChangesNothing()
{
    Board board;
    DPage *page = board.current();
    auto *shape =
            addCurve(page, box({ 0, 0 }, { 80, 60 }), QPointF(100, 100), BtMenus::btRectangle);
    // Nothing selected: no dialog at all.
    page->editFillColor();
    page->editBoderColor();
    shape->setSelected(true);
    auto answered = answerColour(QColor());
    page->editFillColor();
    QVERIFY(*answered);
    answered = answerColour(QColor());
    page->editBoderColor();
    QVERIFY(*answered);
    QCOMPARE(shape->brush().style(), Qt::NoBrush);
    QCOMPARE(shape->pen(), QPen(Qt::black, 4));
    QCOMPARE(page->undoStack()->count(), 0);
    QVERIFY(!page->isModified());
}

// The bucket fill's road: the page's picture, filled from a point, lands over the area.
void tst_DPageFills::bucketFillOfTheRenderedPage()
{
    Board board;
    DPage *page = board.current();
    addCurve(page, box({ 0, 0 }, { 100, 80 }), QPointF(200, 150), BtMenus::btRectangle, false,
             QPen(Qt::black, 4));
    const QImage pagePicture = page->getPagePixmap(0).toImage();
    QPoint topLeft;
    const QImage area = page->FillShapeArea(pagePicture, QPoint(250, 190), Qt::red, &topLeft);
    // Inside the outline: the pen (4 wide, centred on the path) leaves 96 x 76 inside.
    QCOMPARE(topLeft, QPoint(202, 152));
    QCOMPARE(area.size(), QSize(96, 76));
    QCOMPARE(area.pixel(0, 0), QColor(Qt::red).rgba());
    QCOMPARE(area.pixel(95, 75), QColor(Qt::red).rgba());
    QCOMPARE(DPage::shortest_distance(QPointF(3, 4), QLineF(0, 0, 10, 0)), 4.0);
}

QTEST_MAIN(tst_DPageFills)
#include "tst_dpagefills.moc"
