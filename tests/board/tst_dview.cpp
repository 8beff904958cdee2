#include "support/boardfixture.h"
#include "support/inkfixture.h"
#include "support/testsupport.h"

#include "board/boardtypes.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpathtableitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgtextitem.h"
#include "board/dpage.h"
#include "board/drotateitem.h"
#include "board/dview.h"
#include "board/dwidget.h"
#include "board/scribblearea.h"
#include "content/dtabledlg.h"
#include "tools/dclock.h"

#include <QBuffer>
#include <QGestureEvent>
#include <QLabel>
#include <QPainterPath>
#include <QPinchGesture>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtTest>

#include <algorithm>
#include <utility>

using namespace BoardFixture;

class tst_DView : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void cleanup() { QVERIFY(TestSupport::takeConnectWarnings().isEmpty()); }

    void startState();
    void penOfUserAndTool_data();
    void penOfUserAndTool();
    void setterReachesOnlyTheChosenPen_data();
    void setterReachesOnlyTheChosenPen();
    void highlighterAlphaIsForced();
    void lassoEraserBecomesBoardTool();
    void toolSlots();
    void everyToolWorksAfterTheHandTool_data();
    void everyToolWorksAfterTheHandTool();
    void brushTextureThatDoesNotLoad();
    void leftAndRightKeysAreSwallowed();
    void overlayRefreshProtocol();
    void clockToggles();
    void releaseOverBinDeletesOnlyWhatWasDropped_data();
    void releaseOverBinDeletesOnlyWhatWasDropped();
    void pinchTurnsAndScalesOnlyFreeObjects();
    void pinchWithOverlayShownDoesNothing();
    void pinchUndoPutsTheObjectBack_data();
    void pinchUndoPutsTheObjectBack();
};

void tst_DView::startState()
{
    Board board;
    DView *view = board.view();
    QCOMPARE(view->getPenType(PenUserMain), int(BtMenus::btSelect));
    QCOMPARE(view->getPenType(PenUser1), 51);
    QCOMPARE(view->getPenType(PenUser2), 52);
    QCOMPARE(view->getPenType(PenUser3), 53);
    QCOMPARE(view->getPenType(7), int(BtMenus::btSelect));
    QCOMPARE(view->getPenType(-1), int(BtMenus::btSelect));
    QCOMPARE(view->m_boardRect, QRect(0, 0, kBoardWidth, kBoardHeight));
    QCOMPARE(view->m_binLabel->geometry(), QRect(kBoardWidth - 120, kBoardHeight - 120, 100, 100));
    QCOMPARE(view->m_tableRows, 5);
    QCOMPARE(view->m_tableColumns, 3);
    QCOMPARE(view->getFillType(), short(FillSolid));
    QVERIFY(!view->m_scribbleArea->isVisible());
    QVERIFY(!view->m_eraserTrail->isVisible());
    QCOMPARE(view->m_penHighlighter[0].color(), QColor(0, 0, 0, 127));
    QCOMPARE(view->m_penHighlighter[2].color(), QColor(255, 0, 0, 127));
    QCOMPARE(view->getShapeFillPen().color(), QColor(0, 0, 0, 0));
    const QPen pencil = view->m_penPencil[1];
    QCOMPARE(pencil.width(), 5);
    QCOMPARE(pencil.capStyle(), Qt::RoundCap);
    QCOMPARE(pencil.joinStyle(), Qt::RoundJoin);
}

// Each row distinguishes the pens by a width set on them beforehand.
void tst_DView::penOfUserAndTool_data()
{
    QTest::addColumn<int>("user");
    QTest::addColumn<int>("tool");
    QTest::addColumn<QString>("expected");
    QTest::newRow("main pencil") << 0 << 50 << "pencil0";
    QTest::newRow("main highlighter") << 0 << 54 << "highlighter0";
    QTest::newRow("main fountain") << 0 << 60 << "fountain0";
    QTest::newRow("main smart") << 0 << 69 << "smart";
    QTest::newRow("main select falls back") << 0 << 110 << "pencil0";
    QTest::newRow("user1 pencil") << 1 << 51 << "pencil1";
    QTest::newRow("user1 lasso") << 1 << 64 << "eraser1";
    QTest::newRow("user1 main pencil falls back") << 1 << 50 << "pencil0";
    QTest::newRow("user2 highlighter") << 2 << 56 << "highlighter2";
    QTest::newRow("user3 fountain") << 3 << 63 << "fountain3";
    QTest::newRow("user3 lasso") << 3 << 65 << "eraser3";
    QTest::newRow("user3 with user1 pencil") << 3 << 51 << "pencil0";
    QTest::newRow("user out of range") << 9 << 50 << "pencil0";
}

void tst_DView::penOfUserAndTool()
{
    QFETCH(int, user);
    QFETCH(int, tool);
    QFETCH(QString, expected);
    Board board;
    DView *view = board.view();
    QMap<QString, QPen *> pens;
    for (int u = 0; u < kPenUserCount; ++u) {
        pens.insert(QStringLiteral("pencil%1").arg(u), &view->m_penPencil[u]);
        pens.insert(QStringLiteral("highlighter%1").arg(u), &view->m_penHighlighter[u]);
        pens.insert(QStringLiteral("fountain%1").arg(u), &view->m_penFountain[u]);
    }
    pens.insert(QStringLiteral("smart"), &view->m_penSmart);
    pens.insert(QStringLiteral("eraser1"), &view->m_penEraserUser1);
    pens.insert(QStringLiteral("eraser3"), &view->m_penEraserUser3);
    int width = 10;
    for (QPen *pen : qAsConst(pens))
        pen->setWidth(width++);
    if (user >= 0 && user < kPenUserCount)
        view->m_penType[user] = tool;
    QCOMPARE(view->getPen(user).width(), pens.value(expected)->width());
}

void tst_DView::setterReachesOnlyTheChosenPen_data()
{
    QTest::addColumn<int>("user");
    QTest::addColumn<int>("tool");
    QTest::addColumn<bool>("changes");
    QTest::newRow("main pencil") << 0 << 50 << true;
    QTest::newRow("main smart") << 0 << 69 << true;
    QTest::newRow("main select") << 0 << 110 << false;
    QTest::newRow("user1 fountain") << 1 << 61 << true;
    QTest::newRow("user1 lasso") << 1 << 64 << false;
    QTest::newRow("user3 lasso") << 3 << 65 << false;
    QTest::newRow("user3 other user's tool") << 3 << 51 << false;
}

void tst_DView::setterReachesOnlyTheChosenPen()
{
    QFETCH(int, user);
    QFETCH(int, tool);
    QFETCH(bool, changes);
    Board board;
    DView *view = board.view();
    view->m_penType[user] = tool;
    const QPen before = view->getPen(user);
    const QPen pencil0 = view->m_penPencil[0];
    view->setPenWidth(17, user);
    view->setPenStyle(Qt::DashLine, user);
    view->setPenTransparence(40, user);
    const QPen after = view->getPen(user);
    QCOMPARE(after.width() == 17, changes);
    QCOMPARE(after.style() == Qt::DashLine, changes);
    QCOMPARE(after.color().alpha() == 40, changes);
    if (changes)
        QCOMPARE(after.color().rgb(), before.color().rgb()); // transparence keeps the colour
    else
        QCOMPARE(view->m_penPencil[0], pencil0);
}

void tst_DView::highlighterAlphaIsForced()
{
    Board board;
    DView *view = board.view();
    view->m_penType[0] = BtMenus::btHighlighter;
    view->setPenColour(QColor(10, 200, 30, 255));
    QCOMPARE(view->getPen(0).color(), QColor(10, 200, 30, 100));
    view->m_penType[0] = BtMenus::btPencil;
    view->setPenColour(QColor(10, 200, 30, 255));
    QCOMPARE(view->getPen(0).color(), QColor(10, 200, 30, 255));
    view->m_penType[3] = BtMenus::btHighlighterUser3;
    view->setPenColour(QColor(1, 2, 3), PenUser3);
    QCOMPARE(view->m_penHighlighter[3].color(), QColor(1, 2, 3, 100));
}

void tst_DView::lassoEraserBecomesBoardTool()
{
    Board board;
    DView *view = board.view();
    view->setPenType(BtMenus::btEraserUser1, 100, QString(), PenUser1);
    QCOMPARE(view->getPenType(PenUser1), 64);
    QCOMPARE(view->getPenType(PenUserMain), 64);
    QVERIFY(view->m_scribbleArea->isVisible());
    view->setPenType(BtMenus::btPencilUser2, 80, QString(), PenUser2);
    QCOMPARE(view->getPenType(PenUser2), 52); // user 2's tool never follows its buttons
    view->setPenType(BtMenus::btHighlighterUser3, 255, QString(), PenUser3);
    QCOMPARE(view->getPenType(PenUser3), 57);
    QCOMPARE(view->getPenType(PenUserMain), 64);
}

void tst_DView::toolSlots()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    RectObject *object = addRect(page, QRectF(0, 0, 50, 50), QPointF(100, 100));
    object->setSelected(true);

    view->setPenType(BtMenus::btPencil, 255, QStringLiteral(":/Icon/Lock.png"));
    QVERIFY(view->m_scribbleArea->isVisible());
    QCOMPARE(view->dragMode(), QGraphicsView::NoDrag);
    QVERIFY(!object->isSelected());
    QCOMPARE(view->cursor().hotSpot(), QPoint(5, 28));

    view->setShapeType(BtMenus::btStar);
    QVERIFY(!view->m_scribbleArea->isVisible());
    QCOMPARE(view->getPenType(0), int(BtMenus::btStar));

    view->insertText();
    QCOMPARE(view->getPenType(0), int(BtMenus::btText));

    view->setEraser(BtMenus::btObjectEraser);
    QCOMPARE(view->getPenType(0), int(BtMenus::btObjectEraser));

    object->setSelected(true);
    view->setSelect();
    QCOMPARE(view->getPenType(0), int(BtMenus::btSelect));
    QCOMPARE(view->dragMode(), QGraphicsView::RubberBandDrag);
    QVERIFY(object->isSelected());

    // Escaped, the table dialog leaves the board selecting; confirmed, it takes the table tool.
    TestSupport::answerNextModal([](QWidget *dialog) { TestSupport::pressEscape(dialog); });
    view->editSetTableDlg();
    QCOMPARE(view->getPenType(0), int(BtMenus::btSelect));
    TestSupport::answerNextModal([](QWidget *dialog) {
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("pushButton_ok")),
                          Qt::LeftButton);
    });
    view->editSetTableDlg();
    QCOMPARE(view->getPenType(0), int(BtMenus::btTableTool));
    view->setTableRowColumn(4, 6);
    QCOMPARE(view->m_tableRows, 4);
    QCOMPARE(view->m_tableColumns, 6);

    view->setShapeFillPenColour(QColor(1, 2, 3), FillPattern, QStringLiteral("/tmp/x.png"));
    QCOMPARE(view->getFillType(), short(FillPattern));
    QCOMPARE(view->getFillFileName(), QStringLiteral("/tmp/x.png"));
    QCOMPARE(view->getShapeFillPen().color(), QColor(1, 2, 3));
}

void tst_DView::everyToolWorksAfterTheHandTool_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<int>("objectsAfter"); // a stroke lies on the page before
    QTest::newRow("shape") << "shape" << 2;
    QTest::newRow("text") << "text" << 2;
    QTest::newRow("table") << "table" << 2;
    QTest::newRow("pencil") << "pencil" << 2;
    QTest::newRow("object eraser") << "object eraser" << 0;
    QTest::newRow("point eraser") << "point eraser" << 0;
    QTest::newRow("select") << "select" << 1;
}

void tst_DView::everyToolWorksAfterTheHandTool()
{
    QFETCH(QString, tool);
    QFETCH(int, objectsAfter);
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    QPainterPath line(QPointF(0, 0));
    line.lineTo(30, 0);
    line.lineTo(60, 0);
    DGPathCurveItem *stroke = addCurve(page, line, QPointF(300, 300));
    QCOMPARE(InkFixture::boardObjects(page).size(), 1);

    page->dragPage(); // the hand tool
    QWidget *surface = view->viewport();
    if (tool == QLatin1String("shape")) {
        view->setShapeType(BtMenus::btRectangle);
    } else if (tool == QLatin1String("text")) {
        view->insertText();
    } else if (tool == QLatin1String("table")) {
        QTimer::singleShot(0, view->m_tableDlg, [view] { view->m_tableDlg->accept(); });
        view->editSetTableDlg();
    } else if (tool == QLatin1String("pencil")) {
        view->setPenType(BtMenus::btPencil, 255, QString());
        surface = view->m_scribbleArea;
    } else if (tool == QLatin1String("object eraser")) {
        view->setEraser(BtMenus::btObjectEraser, PenUserMain);
    } else if (tool == QLatin1String("point eraser")) {
        view->setEraser(BtMenus::btBitmapEraser, PenUserMain);
    } else {
        view->setSelect();
    }
    QVERIFY(view->isInteractive());
    if (tool.endsWith(QLatin1String("eraser")))
        TestSupport::drag(surface, InkFixture::line(QPoint(330, 260), QPoint(330, 340), 8));
    else if (tool == QLatin1String("text") || tool == QLatin1String("select"))
        QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier,
                          tool == QLatin1String("text") ? QPoint(600, 500) : QPoint(330, 300));
    else
        TestSupport::drag(surface, InkFixture::line(QPoint(500, 100), QPoint(700, 250), 10));
    QCoreApplication::processEvents();
    QCOMPARE(InkFixture::boardObjects(page).size(), objectsAfter);
    if (tool == QLatin1String("select"))
        QVERIFY(stroke->isSelected());
}

void tst_DView::brushTextureThatDoesNotLoad()
{
    Board board;
    DView *view = board.view();
    const QBrush before = view->m_penFountain[0].brush();
    view->setBrushType(BtMenus::btTextureBrush, QStringLiteral("/nonexistent.png"), QString());
    QCOMPARE(view->getPenType(0), int(BtMenus::btSelect));
    QCOMPARE(view->m_penFountain[0].brush(), before);
    view->setBrushType(BtMenus::btTextureBrush, QStringLiteral(":/Icon/Lock.png"), QString());
    QCOMPARE(view->getPenType(0), int(BtMenus::btTextureBrush));
    QCOMPARE(view->m_penFountain[0].brush().style(), Qt::TexturePattern);
}

void tst_DView::leftAndRightKeysAreSwallowed()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    page->setSceneRect(0, 0, 4000, 4000); // room to scroll
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->centerOn(2000, 2000);
    const int horizontal = view->horizontalScrollBar()->value();
    const int vertical = view->verticalScrollBar()->value();
    QTest::keyClick(view, Qt::Key_Left);
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(view->horizontalScrollBar()->value(), horizontal);
    QTest::keyClick(view, Qt::Key_Down);
    QVERIFY(view->verticalScrollBar()->value() != vertical);
}

void tst_DView::overlayRefreshProtocol()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    page->setPageBackgroundColor(QColor(0, 0, 255));

    // Hidden overlay: a paint leaves the flag set for the next time it shows.
    view->m_bRefreshOverlay = false;
    view->viewport()->repaint();
    QVERIFY(view->m_bRefreshOverlay);

    view->setPenType(BtMenus::btPencil, 255, QString());
    QVERIFY(view->m_scribbleArea->isVisible());
    QCOMPARE(view->m_scribbleArea->canvas()->toImage().pixelColor(50, 50).alpha(), 0);
    view->viewport()->repaint();
    QVERIFY(!view->m_bRefreshOverlay);
    QCOMPARE(view->m_scribbleArea->canvas()->toImage().pixelColor(50, 50), QColor(0, 0, 255));

    // Flag down: the view paints nothing and the canvas keeps the old board.
    page->setPageBackgroundColor(QColor(255, 0, 0));
    view->resetCachedContent();
    view->viewport()->repaint();
    QCOMPARE(view->m_scribbleArea->canvas()->toImage().pixelColor(50, 50), QColor(0, 0, 255));

    // A refresh request renders the board once more.
    view->setBackgroundColor(QColor(0, 255, 0));
    QVERIFY(view->m_bRefreshOverlay);
    view->resetCachedContent();
    view->viewport()->repaint();
    QVERIFY(!view->m_bRefreshOverlay);
    QCOMPARE(view->m_scribbleArea->canvas()->toImage().pixelColor(50, 50), QColor(0, 255, 0));

    // Hiding the overlay asks for a refresh; showing it clears the canvas.
    view->setSelect();
    QVERIFY(view->m_bRefreshOverlay);
    view->setPenType(BtMenus::btPencil, 255, QString());
    QCOMPARE(view->m_scribbleArea->canvas()->toImage().pixelColor(50, 50).alpha(), 0);

    // Zoom asks for a refresh too.
    view->viewport()->repaint();
    QVERIFY(!view->m_bRefreshOverlay);
    page->zoomPage(1.1f);
    QVERIFY(view->m_bRefreshOverlay);
}

void tst_DView::clockToggles()
{
    Board board;
    DView *view = board.view();
    view->insertClock();
    QPointer<DClock> first = view->m_clock.data();
    QVERIFY(first && first->isVisible());
    QCOMPARE(first->parentWidget(), board.window());
    view->insertClock();
    QVERIFY(!view->m_clock);
    QTRY_VERIFY(!first);
    view->insertClock();
    QVERIFY(view->m_clock && view->m_clock->isVisible());

    // Dropped on the bin (release point in the parent's coordinates): deleted.
    QPointer<DClock> second = view->m_clock.data();
    const QPoint onBin = view->m_binLabel->geometry().center();
    QTest::mouseRelease(second, Qt::LeftButton, Qt::NoModifier, second->mapFromParent(onBin));
    QVERIFY(!view->m_clock);
    QTRY_VERIFY(!second);
}

// Where the page, written as a lesson is saved, puts its strokes: the first point of each, top
// to bottom.
static QList<QPointF> writtenStrokes(DPage *page, const QString &dir)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter stream(&buffer);
    stream.writeStartDocument();
    stream.writeStartElement(QStringLiteral("svg:pageset"));
    stream.writeAttribute(QStringLiteral("xmlns:svg"),
                          QStringLiteral("http://www.w3.org/2000/svg"));
    page->savePageDataToIWB(stream, dir, 0);
    stream.writeEndElement();
    stream.writeEndDocument();
    QList<QPointF> starts;
    QXmlStreamReader reader(bytes);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement
            || reader.qualifiedName() != QLatin1String("svg:polyline"))
            continue;
        const QStringList first = reader.attributes()
                                          .value(QLatin1String("points"))
                                          .toString()
                                          .section(QLatin1Char(' '), 0, 0)
                                          .split(QLatin1Char(','));
        starts << (first.size() == 2 ? QPointF(first[0].toDouble(), first[1].toDouble())
                                     : QPointF(-1, -1));
    }
    std::sort(starts.begin(), starts.end(), [](QPointF a, QPointF b) {
        return std::make_pair(a.y(), a.x()) < std::make_pair(b.y(), b.x());
    });
    return starts;
}

void tst_DView::releaseOverBinDeletesOnlyWhatWasDropped_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<QString>("held"); // how the strokes stand: apart, or two of them a group
    QTest::addColumn<bool>("deleted");
    // clang-format off
    QTest::newRow("click on the bin")               << "click"       << "strokes" << false;
    QTest::newRow("rubber band ending on the bin")  << "rubber band" << "strokes" << false;
    QTest::newRow("shape drawn to the bin")         << "shape"       << "strokes" << false;
    QTest::newRow("text placed on the bin")         << "text"        << "strokes" << false;
    QTest::newRow("selection dragged onto the bin") << "drag"        << "strokes" << true;
    QTest::newRow("group dragged by itself onto the bin") << "drag" << "group alone" << true;
    QTest::newRow("selection dragged onto the bin by its group")
            << "drag" << "group and stroke" << true;
    // clang-format on
}

void tst_DView::releaseOverBinDeletesOnlyWhatWasDropped()
{
    QFETCH(QString, gesture);
    QFETCH(QString, held);
    QFETCH(bool, deleted);
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    if (gesture == "shape")
        view->setShapeType(BtMenus::btRectangle);
    else if (gesture == "text")
        view->insertText();
    else
        view->setSelect();
    QPainterPath line;
    line.lineTo(60, 0);
    QList<DGPathCurveItem *> strokes;
    for (int i = 0; i < 3; ++i) {
        strokes << addCurve(page, line, QPointF(700, 500 + 30 * i));
        strokes.last()->setSelected(true); // as a select-all would leave them
    }
    // The objects the drag carries: all three, or the group of the first two (alone or with
    // the third).
    QList<QGraphicsItem *> carried(strokes.begin(), strokes.end());
    QGraphicsItem *group = nullptr;
    if (held != "strokes") {
        strokes[2]->setSelected(false);
        page->addObjToGroup();
        group = strokes[0]->parentItem();
        QVERIFY(group && group->type() == ItemTypeGroup);
        if (held == "group alone") {
            page->clearSelection(); // the press picks it up by itself
            carried = { group };
        } else {
            strokes[2]->setSelected(true);
            carried = { group, strokes[2] };
        }
    }
    const int recordedBefore = page->undoStack()->count();
    const QPoint onBin = view->m_binLabel->geometry().center();
    const QPoint grip = view->mapFromScene(strokes.first()->sceneBoundingRect().center());
    if (gesture == "click") {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, onBin);
    } else if (gesture == "rubber band") {
        TestSupport::drag(view->viewport(), { QPoint(650, 450), QPoint(800, 600), onBin });
        for (DGPathCurveItem *stroke : qAsConst(strokes))
            QVERIFY(stroke->isSelected());
    } else if (gesture == "drag") {
        // A move recorded first: undo goes on from where the drag to the bin began.
        TestSupport::drag(view->viewport(), { grip, grip + QPoint(20, -50), grip + QPoint(0, -100) });
        const QPoint moved = view->mapFromScene(strokes.first()->sceneBoundingRect().center());
        TestSupport::drag(view->viewport(), { moved, moved + QPoint(40, 40), onBin });
    } else { // the shape or text tool
        TestSupport::drag(view->viewport(), { QPoint(600, 650), onBin });
    }

    const auto isCarried = [&](DGPathCurveItem *stroke) {
        return deleted && (carried.contains(stroke) || carried.contains(stroke->parentItem()));
    };
    for (DGPathCurveItem *stroke : qAsConst(strokes))
        QCOMPARE(stroke->scene() == nullptr, isCarried(stroke));
    if (gesture == "click" || gesture == "rubber band")
        QCOMPARE(page->undoStack()->count(), 0);
    if (gesture == "text") { // what the tool made is not thrown away where it landed
        const QList<QGraphicsItem *> items = page->items();
        QVERIFY(std::any_of(items.begin(), items.end(),
                            [](QGraphicsItem *item) { return item->type() == ItemTypeText; }));
    }
    if (!deleted)
        return;
    // The first move and the deletion, no move to the bin.
    QCOMPARE(page->undoStack()->count(), recordedBefore + 2);
    // Each stroke comes back where the drag to the bin picked it up, in its old stacking
    // place; undo and redo go on from there. What the page holds is what a save writes.
    QTemporaryDir dir;
    const auto standAt = [&](qreal top) {
        QList<QPointF> shown;
        for (int i = 0; i < strokes.size(); ++i) {
            const QPointF expected(700, (isCarried(strokes.at(i)) ? top : 500) + 30 * i);
            if (strokes.at(i)->scene() != page || strokes.at(i)->scenePos() != expected)
                return false;
            shown << expected;
        }
        return writtenStrokes(page, dir.path()) == shown;
    };
    const auto carriedGone = [&] {
        QList<QPointF> shown;
        for (DGPathCurveItem *stroke : qAsConst(strokes)) {
            if (isCarried(stroke) == (stroke->scene() != nullptr))
                return false;
            if (stroke->scene())
                shown << stroke->scenePos();
        }
        return writtenStrokes(page, dir.path()) == shown;
    };
    QVERIFY(carriedGone());
    page->setUndo();
    QVERIFY(standAt(400));
    QCOMPARE(strokes.first()->zValue(), 0.0);
    if (group)
        QCOMPARE(group->zValue(), 3.0); // above the three strokes, as it was made
    page->setUndo();
    QVERIFY(standAt(500));
    page->setRedo();
    QVERIFY(standAt(400));
    page->setRedo();
    QVERIFY(carriedGone());
    if (!group)
        return;
    // Further back the grouping is undone where the strokes were grouped, and made again.
    for (int i = 0; i < 3; ++i)
        page->setUndo();
    QVERIFY(!group->scene());
    QVERIFY(standAt(500));
    for (DGPathCurveItem *stroke : qAsConst(strokes))
        QVERIFY(!stroke->parentItem());
    page->setRedo();
    QCOMPARE(strokes[0]->parentItem(), group);
    QCOMPARE(strokes[1]->parentItem(), group);
    page->setRedo();
    page->setRedo();
    QVERIFY(carriedGone());
}

void tst_DView::pinchTurnsAndScalesOnlyFreeObjects()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    RectObject *free = addRect(page, QRectF(0, 0, 40, 40), QPointF(100, 100));
    RectObject *locked = addRect(page, QRectF(0, 0, 40, 40), QPointF(200, 100));
    locked->lock(true);
    auto *video = new RectObject(QRectF(0, 0, 40, 40), ItemTypeVideo);
    page->addItem(video);
    auto *group = new RectObject(QRectF(0, 0, 40, 40), ItemTypeGroup);
    page->addItem(group);
    auto *member = new RectObject(QRectF(0, 0, 10, 10));
    member->setParentItem(group);
    for (QGraphicsItem *item :
         { static_cast<QGraphicsItem *>(free), static_cast<QGraphicsItem *>(locked),
           static_cast<QGraphicsItem *>(video), static_cast<QGraphicsItem *>(group),
           static_cast<QGraphicsItem *>(member) })
        item->setSelected(true);

    view->applyPinch(Qt::GestureStarted, false, 0, false, 1);
    view->applyPinch(Qt::GestureUpdated, true, 30, true, 2);
    QCOMPARE(free->rotation(), 30.0);
    QCOMPARE(free->scale(), 2.0);
    QCOMPARE(free->rotateItem()->scale(), 0.5);
    QCOMPARE(free->transformOriginPoint(), QPointF(20, 20));
    for (RectObject *still : { locked, video, group, member }) {
        QCOMPARE(still->rotation(), 0.0);
        QCOMPARE(still->scale(), 1.0);
    }
    view->applyPinch(Qt::GestureFinished, false, 0, false, 2);
    QCOMPARE(page->undoStack()->count(), 2); // a move and a transform
    page->setUndo(); // the transform
    QCOMPARE(free->rotation(), 0.0);
    QCOMPARE(free->scale(), 1.0);
    QCOMPARE(video->rotation(), 0.0);
    page->setRedo();
    QCOMPARE(free->rotation(), 30.0);
    QCOMPARE(free->scale(), 2.0);
}

void tst_DView::pinchWithOverlayShownDoesNothing()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    RectObject *free = addRect(page, QRectF(0, 0, 40, 40), QPointF(100, 100));
    free->setSelected(true);
    view->setPenType(BtMenus::btPencil, 255, QString());
    free->setSelected(true);
    QList<QGesture *> gestures;
    auto *pinch = new QPinchGesture;
    gestures << pinch;
    QGestureEvent event(gestures);
    QVERIFY(QCoreApplication::sendEvent(view, &event)); // consumed
    QCOMPARE(free->rotation(), 0.0);
    QCOMPARE(page->undoStack()->count(), 0);
    delete pinch;
}

void tst_DView::pinchUndoPutsTheObjectBack_data()
{
    // Where the two fingers go down and where they lift, about the object's centre.
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QPointF>("firstFrom");
    QTest::addColumn<QPointF>("secondFrom");
    QTest::addColumn<QPointF>("firstTo");
    QTest::addColumn<QPointF>("secondTo");
    const qreal turn = qDegreesToRadians(30.0);
    const QPointF turned(60 * std::cos(turn), 60 * std::sin(turn));
    for (const char *kind : { "picture", "rectangle" }) {
        QTest::addRow("%s: spread", kind) << kind << QPointF(-40, -10) << QPointF(40, 10)
                                          << QPointF(-74.4, -18.6) << QPointF(74.4, 18.6);
        QTest::addRow("%s: squeeze", kind) << kind << QPointF(-80, -20) << QPointF(80, 20)
                                           << QPointF(-40, -10) << QPointF(40, 10);
        QTest::addRow("%s: turn", kind)
                << kind << QPointF(-60, 0) << QPointF(60, 0) << -turned << turned;
        QTest::addRow("%s: first finger still", kind)
                << kind << QPointF(-60, 0) << QPointF(60, 0) << QPointF(-60, 0) << QPointF(150, 50);
        QTest::addRow("%s: first finger moving", kind)
                << kind << QPointF(-50, 0) << QPointF(50, 0) << QPointF(30, 60) << QPointF(170, 70);
    }
}

// A pinch as the fingers make it, touch events on the board: undoing the steps it recorded puts
// the object back exactly, redoing them brings it where the fingers left it.
void tst_DView::pinchUndoPutsTheObjectBack()
{
    QFETCH(QString, kind);
    QFETCH(QPointF, firstFrom);
    QFETCH(QPointF, secondFrom);
    QFETCH(QPointF, firstTo);
    QFETCH(QPointF, secondTo);
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    QGraphicsItem *object = nullptr;
    if (kind == QLatin1String("picture")) {
        QPixmap picture(240, 160);
        picture.fill(Qt::darkCyan);
        object = page->addPixmapItem(picture, QPointF(300, 200), 0, 1.0f, QTransform(), true);
    } else {
        QPainterPath box;
        box.addRect(0, 0, 240, 160);
        object = addCurve(page, box, QPointF(300, 200), BtMenus::btRectangle, true);
    }
    object->setSelected(true);
    const QPointF startPos = object->pos();
    const int stepsBefore = page->undoStack()->index();

    QWidget *viewport = view->viewport();
    const QPointF centre = object->sceneBoundingRect().center();
    const auto at = [&](QPointF offset) { return view->mapFromScene(centre + offset); };
    QTest::touchEvent(viewport, TestSupport::touchScreen()).press(0, at(firstFrom), viewport);
    QTest::touchEvent(viewport, TestSupport::touchScreen())
            .stationary(0)
            .press(1, at(secondFrom), viewport);
    constexpr int kMoves = 10;
    for (int i = 1; i <= kMoves; ++i) {
        const qreal part = qreal(i) / kMoves;
        QTest::touchEvent(viewport, TestSupport::touchScreen())
                .move(0, at(firstFrom + (firstTo - firstFrom) * part), viewport)
                .move(1, at(secondFrom + (secondTo - secondFrom) * part), viewport);
    }
    QTest::touchEvent(viewport, TestSupport::touchScreen())
            .release(0, at(firstTo), viewport)
            .release(1, at(secondTo), viewport);
    QTRY_VERIFY(page->undoStack()->index() > stepsBefore);
    QCoreApplication::processEvents();
    const QPointF endPos = object->pos();
    const qreal endScale = object->scale();
    const qreal endRotation = object->rotation();
    // The gesture took: the object grew, shrank or turned with the fingers.
    const qreal spread =
            QLineF(secondTo, firstTo).length() / QLineF(secondFrom, firstFrom).length();
    const qreal turn = QLineF(firstFrom, secondFrom).angleTo(QLineF(firstTo, secondTo));
    QCOMPARE(endScale > 1.05, spread > 1.1);
    QCOMPARE(endScale < 0.95, spread < 0.9);
    QCOMPARE(qAbs(endRotation) > 5, qMin(turn, 360 - turn) > 5);

    const int stepsAfter = page->undoStack()->index();
    while (page->undoStack()->index() > stepsBefore)
        page->setUndo();
    QVERIFY(QLineF(object->pos(), startPos).length() < 1e-6);
    QCOMPARE(object->scale(), 1.0);
    QCOMPARE(object->rotation(), 0.0);
    while (page->undoStack()->index() < stepsAfter)
        page->setRedo();
    QVERIFY(QLineF(object->pos(), endPos).length() < 1e-6);
    QCOMPARE(object->scale(), endScale);
    QCOMPARE(object->rotation(), endRotation);
}

QTEST_MAIN(tst_DView)
#include "tst_dview.moc"
