#include "support/boardfixture.h"
#include "support/testsupport.h"

#include "board/boardtypes.h"
#include "board/dcommands.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgtextitem.h"
#include "board/dpage.h"
#include "board/drotateitem.h"
#include "board/drotateitembutton.h"
#include "board/dview.h"

#include "shell/globals.h"

#include <QColorDialog>
#include <QInputDialog>
#include <QLabel>
#include <QPointer>
#include <QtTest>

using namespace BoardFixture;

class tst_DCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void cleanup() { QVERIFY(TestSupport::takeConnectWarnings().isEmpty()); }

    void addRoundTrip();
    void moveOfMultiSelection();
    void moveWithoutMovedFlagChangesNothing();
    void deleteRestoresWhereDeleted();
    void lockAndUnlock();
    void transformRestoresEachOwnTransform();
    void linksRoundTrip();
    void colourRoundTrip();
    void emptySelectionOnlyMarksModified();
    void validItemsFilter();
    void binReleaseAtZoomRecordsNoMove();
    void droppedCommandsFreeWhatOnlyTheyHeld_data();
    void droppedCommandsFreeWhatOnlyTheyHeld();
    void thumbnailFollowsEachStep_data();
    void thumbnailFollowsEachStep();
};

namespace {

QPainterPath square(qreal size)
{
    QPainterPath path;
    path.addRect(0, 0, size, size);
    return path;
}

} // namespace

void tst_DCommands::addRoundTrip()
{
    Board board;
    DPage *page = board.page(0);
    DGPathCurveItem *first = addCurve(page, square(50), QPointF(10, 10));
    DGPathCurveItem *second = addCurve(page, square(50), QPointF(100, 10), BtMenus::btPencil, true);
    QVERIFY(page->isModified());
    QCOMPARE(page->undoStack()->count(), 1);
    QCOMPARE(second->scene(), page); // the push added it
    QCOMPARE(second->zValue(), 1.0);
    page->setUndo();
    QCOMPARE(second->scene(), nullptr);
    QCOMPARE(first->scene(), page);
    page->setRedo();
    QCOMPARE(second->scene(), page);
    QCOMPARE(second->zValue(), 2.0); // back on top with a fresh value
    QCOMPARE(second->pos(), QPointF(100, 10));
}

void tst_DCommands::moveOfMultiSelection()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    QList<DGPathCurveItem *> curves;
    for (int i = 0; i < 3; ++i)
        curves << addCurve(page, square(60), QPointF(100 + 150 * i, 100), BtMenus::btRectangle);
    for (DGPathCurveItem *curve : curves)
        curve->setSelected(true);
    // Drag the middle one by its inside (away from its vertices), the others come along.
    const QPoint start = view->mapFromScene(QPointF(280, 120));
    TestSupport::drag(view->viewport(), { start, start + QPoint(10, 10), start + QPoint(40, 25) },
                      Qt::LeftButton, Qt::NoModifier);
    QCOMPARE(page->undoStack()->count(), 1);
    const QPointF delta(40, 25);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(curves[i]->pos(), QPointF(100 + 150 * i, 100) + delta);
    page->setUndo();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(curves[i]->pos(), QPointF(100 + 150 * i, 100));
    page->setRedo();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(curves[i]->pos(), QPointF(100 + 150 * i, 100) + delta);
    // Differences, not absolute places: a later hand move is kept by undo.
    curves[0]->setPos(curves[0]->pos() + QPointF(5, 0));
    page->setUndo();
    QCOMPARE(curves[0]->pos(), QPointF(105, 100));
}

void tst_DCommands::moveWithoutMovedFlagChangesNothing()
{
    Board board;
    DPage *page = board.page(0);
    DGPathCurveItem *curve = addCurve(page, square(40), QPointF(50, 50));
    curve->setSelected(true);
    page->recordOperation(BtMenus::stMove, page->validItems(false), nullptr);
    QCOMPARE(page->undoStack()->count(), 1);
    page->setUndo();
    QCOMPARE(curve->pos(), QPointF(50, 50));
    page->setRedo();
    QCOMPARE(curve->pos(), QPointF(50, 50));
}

void tst_DCommands::deleteRestoresWhereDeleted()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPathCurveItem *below = addCurve(page, square(60), QPointF(300, 300), BtMenus::btRectangle);
    DGPathCurveItem *above = addCurve(page, square(20), QPointF(600, 600));
    // Moved by hand, without a recorded move (the press position stays at the start).
    below->setPos(400, 320);
    below->setSelected(true);
    page->deleteObj();
    QCOMPARE(below->scene(), nullptr);
    QCOMPARE(above->scene(), page);
    page->setUndo();
    QCOMPARE(below->scene(), page);
    QCOMPARE(below->pos(), QPointF(400, 320));
    QCOMPARE(below->zValue(), 0.0); // its old stacking place, under the later object
    page->setRedo();
    QCOMPARE(below->scene(), nullptr);
}

void tst_DCommands::lockAndUnlock()
{
    Board board;
    DPage *page = board.page(0);
    DGPathCurveItem *free = addCurve(page, square(40), QPointF(10, 10));
    DGPathCurveItem *locked = addCurve(page, square(40), QPointF(100, 10));
    locked->lock(true);
    free->setSelected(true);
    locked->setSelected(true);
    page->lockObj(); // the already locked one is not covered
    QVERIFY(free->isLocked());
    QVERIFY(!(free->flags() & QGraphicsItem::ItemIsMovable));
    page->setUndo();
    QVERIFY(!free->isLocked());
    QVERIFY(locked->isLocked());
    page->setRedo();
    QVERIFY(free->isLocked());

    page->recordOperation(BtMenus::stUnlock, { locked }, nullptr);
    QVERIFY(!locked->isLocked());
    page->setUndo();
    QVERIFY(locked->isLocked());
    QVERIFY(free->isLocked());
}

void tst_DCommands::transformRestoresEachOwnTransform()
{
    Board board;
    DPage *page = board.page(0);
    DGPathCurveItem *first = addCurve(page, square(40), QPointF(10, 10));
    DGPathCurveItem *second = addCurve(page, square(40), QPointF(200, 10));
    // An earlier gesture on the second object, recorded.
    second->saveTransform();
    second->setRotation(30);
    second->setScale(1.5);
    second->rotateItem()->setScale(1 / 1.5);
    page->recordOperation(BtMenus::stTrans, { second }, nullptr);
    // Now a gesture on the first, with both selected.
    first->saveTransform();
    first->setRotation(-60);
    first->setScale(2);
    first->rotateItem()->setScale(0.5);
    page->recordOperation(BtMenus::stTrans, { first, second }, nullptr);
    QCOMPARE(first->rotation(), -60.0); // the push did not repeat the change
    page->setUndo();
    QCOMPARE(first->rotation(), 0.0);
    QCOMPARE(first->scale(), 1.0);
    QCOMPARE(first->rotateItem()->scale(), 1.0);
    QCOMPARE(first->transformOriginPoint(), first->boundingRect().center());
    QCOMPARE(second->rotation(), 30.0); // not turned by this gesture: unchanged
    QCOMPARE(second->scale(), 1.5);
    page->setRedo();
    QCOMPARE(first->rotation(), -60.0);
    QCOMPARE(first->scale(), 2.0);
    QCOMPARE(first->rotateItem()->scale(), 0.5);
    page->setUndo();
    page->setUndo();
    QCOMPARE(second->rotation(), 0.0);
    QCOMPARE(second->scale(), 1.0);
    QVERIFY(qAbs(second->rotateItem()->scale() - 1.0) < 1e-12);
}

void tst_DCommands::linksRoundTrip()
{
    Board board;
    DPage *page = board.page(0);
    DGPathCurveItem *curve = addCurve(page, square(40), QPointF(10, 10));
    curve->changeLinks(QStringLiteral("http://old"), QStringLiteral("2"), QString(), QString());
    // As a link editor does: remember, change, record.
    curve->m_prevLinkWeb = curve->m_linkWeb;
    curve->m_prevLinkPage = curve->m_linkPage;
    curve->changeLinks(QStringLiteral("http://new"), QString(), QStringLiteral("/tmp/a.pdf"),
                       QStringLiteral("/tmp/b.ogg"));
    curve->setSelected(true);
    page->recordOperation(BtMenus::stLinks, page->validItems(false), nullptr);
    QCOMPARE(curve->m_linkWeb, QStringLiteral("http://new"));
    page->setUndo();
    QCOMPARE(curve->m_linkWeb, QStringLiteral("http://old"));
    QCOMPARE(curve->m_linkPage, QStringLiteral("2"));
    QVERIFY(curve->m_linkFile.isEmpty());
    QVERIFY(curve->m_linkMedia.isEmpty());
    page->setRedo();
    QCOMPARE(curve->m_linkFile, QStringLiteral("/tmp/a.pdf"));
    QCOMPARE(curve->m_linkMedia, QStringLiteral("/tmp/b.ogg"));
    QVERIFY(curve->m_linkPage.isEmpty());
}

void tst_DCommands::colourRoundTrip()
{
    Board board;
    DPage *page = board.page(0);
    DGPathCurveItem *curve = addCurve(page, square(40), QPointF(10, 10), BtMenus::btRectangle,
                                      false, QPen(Qt::black, 2));
    RectObject *other = addRect(page, QRectF(0, 0, 10, 10), QPointF(300, 300));
    curve->setPen(QPen(Qt::red, 5));
    curve->setBrush(QBrush(Qt::yellow));
    page->recordOperation(BtMenus::stColor, { curve, other }, nullptr);
    page->setUndo();
    QCOMPARE(curve->pen(), QPen(Qt::black, 2)); // the previous pen...
    QCOMPARE(curve->brush(), QBrush()); // ...and the previous brush
    page->setRedo();
    QCOMPARE(curve->pen(), QPen(Qt::red, 5));
    QCOMPARE(curve->brush(), QBrush(Qt::yellow));
    QCOMPARE(other->brush(), QBrush(Qt::blue));
}

void tst_DCommands::emptySelectionOnlyMarksModified()
{
    Board board;
    DPage *page = board.page(0);
    QVERIFY(!page->isModified());
    page->recordOperation(BtMenus::stDelete, {}, nullptr);
    QVERIFY(page->isModified());
    QCOMPARE(page->undoStack()->count(), 0);
    page->deleteObj();
    QCOMPARE(page->undoStack()->count(), 0);
}

void tst_DCommands::validItemsFilter()
{
    Board board;
    DPage *page = board.page(0);
    DGPathCurveItem *free = addCurve(page, square(40), QPointF(10, 10));
    DGPathCurveItem *locked = addCurve(page, square(40), QPointF(100, 10));
    locked->lock(true);
    auto *group = new RectObject(QRectF(0, 0, 100, 100), ItemTypeGroup);
    page->addItem(group);
    DGPathCurveItem *member = addCurve(page, square(10), QPointF(5, 5));
    member->setParentItem(group);
    auto *instrument = new QGraphicsRectItem(0, 0, 10, 10);
    instrument->setFlag(QGraphicsItem::ItemIsSelectable);
    page->addItem(instrument);
    for (QGraphicsItem *item : page->items())
        item->setSelected(true);
    const QList<QGraphicsItem *> valid = page->validItems(false);
    QCOMPARE(valid.size(), 2);
    QVERIFY(valid.contains(free));
    QVERIFY(valid.contains(group));
    const QList<QGraphicsItem *> all = page->validItems(true);
    QCOMPARE(all.size(), 2);
    QCOMPARE(all.first(), static_cast<QGraphicsItem *>(group)); // descending stacking order
}

void tst_DCommands::binReleaseAtZoomRecordsNoMove()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    page->zoomPage(1.1f);
    page->zoomPage(1.1f);
    view->centerOn(0, 0); // the scene point under the bin is far from the bin's view rectangle
    DGPathCurveItem *curve = addCurve(page, square(40), QPointF(300, 250), BtMenus::btRectangle);
    const QPoint start = view->mapFromScene(QPointF(320, 270));
    const QPoint onBin = view->m_binLabel->geometry().center();
    QVERIFY(!view->m_binLabel->geometry().contains(view->mapToScene(onBin).toPoint()));
    TestSupport::drag(view->viewport(), { start, start + QPoint(30, 30), onBin });
    QCOMPARE(curve->scene(), nullptr);
    QCOMPARE(page->undoStack()->count(), 1); // the deletion only
    page->setUndo(); // back where the drag began
    QCOMPARE(curve->scene(), page);
    QCOMPARE(view->mapFromScene(curve->mapToScene(QPointF(20, 20))), start);
}

void tst_DCommands::droppedCommandsFreeWhatOnlyTheyHeld_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<bool>("freed");
    // A new step after undo drops the undone steps; the page's end drops its whole history.
    QTest::newRow("undone addition, then a new step") << "add undo step" << true;
    QTest::newRow("undone addition and deletion, then a new step") << "add delete undo undo step"
                                                                     << true;
    QTest::newRow("deletion kept in the history, page gone") << "add delete end" << true;
    QTest::newRow("undone addition, page gone") << "add undo end" << true;
    QTest::newRow("undone deletion: back on the page") << "add delete undo step" << false;
    QTest::newRow("undone addition still on the clipboard") << "add copy undo step" << false;
    QTest::newRow("undone addition, clipboard refilled") << "add copy undo step copyother" << true;
    QTest::newRow("cut, page gone") << "add cut end" << true;
    QTest::newRow("cut, clipboard refilled: undo can bring it back") << "add cut copyother"
                                                                      << false;
}

void tst_DCommands::droppedCommandsFreeWhatOnlyTheyHeld()
{
    QFETCH(QString, history);
    QFETCH(bool, freed);
    auto board = std::make_unique<Board>();
    DPage *page = board->page(0);
    QPointer<DGPathCurveItem> curve;
    for (const QString &step : history.split(QLatin1Char(' '))) {
        if (step == QLatin1String("add")) {
            curve = addCurve(page, square(40), QPointF(10, 10), BtMenus::btPencil, true);
        } else if (step == QLatin1String("delete")) {
            page->clearSelection();
            curve->setSelected(true);
            page->deleteObj();
        } else if (step == QLatin1String("copy") || step == QLatin1String("cut")) {
            page->clearSelection();
            curve->setSelected(true);
            step == QLatin1String("copy") ? page->copyObj() : page->cutObj();
        } else if (step == QLatin1String("copyother")) {
            page->clearSelection();
            addCurve(page, square(30), QPointF(300, 10), BtMenus::btPencil, true)->setSelected(true);
            page->copyObj();
        } else if (step == QLatin1String("undo")) {
            page->setUndo();
        } else if (step == QLatin1String("step")) {
            addCurve(page, square(20), QPointF(200, 10), BtMenus::btPencil, true);
        } else if (step == QLatin1String("end")) {
            board.reset();
        }
    }
    // Freed objects are gone for good (AddressSanitizer watches every later touch of them).
    QCOMPARE(curve.isNull(), freed);
    if (!curve)
        return;
    QVERIFY(curve->scene() == page || m_pCopyPasteListItems.contains(curve.data())
            || CoveredItems::coverCount(curve.data()) > 0);
    // Whoever still holds it, nothing outlives the page it came from.
    board.reset();
    QVERIFY(curve.isNull());
    QVERIFY(m_pCopyPasteListItems.isEmpty());
}

namespace {

const QSize kThumbnailSize(256, 192);

// The page drawn afresh, no picture that the toolkit keeps of an object used; those pictures
// are made again after, for the board and for thumbnails, as they were before.
QImage freshPicture(DPage *page)
{
    QList<QGraphicsItem *> cached;
    for (QGraphicsItem *item : page->items()) {
        if (item->cacheMode() == QGraphicsItem::DeviceCoordinateCache) {
            item->setCacheMode(QGraphicsItem::NoCache);
            cached << item;
        }
    }
    const QImage picture = page->getPagePixmap(1, kThumbnailSize).toImage();
    for (QGraphicsItem *item : qAsConst(cached))
        item->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
    page->getPagePixmap(1, kThumbnailSize);
    if (DView *view = page->view(); view->scene() == page)
        view->viewport()->grab();
    return picture;
}

// Pixels of the page's thumbnail, asked for after the board painted the page (as the gallery
// asks for it), with nothing within a shade of them at or next to the same place in the page
// drawn afresh: the toolkit places a kept picture of a moved object to the nearest pixel.
int staleInThumbnail(DPage *page)
{
    if (DView *view = page->view(); view->scene() == page)
        view->viewport()->grab();
    const QImage shown =
            page->thumbnail(kThumbnailSize).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage fresh = freshPicture(page).convertToFormat(QImage::Format_ARGB32);
    const auto alike = [](QRgb a, QRgb b) {
        return qMax(qAbs(qRed(a) - qRed(b)),
                    qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))))
                <= 32;
    };
    int stale = 0;
    for (int y = 1; y < shown.height() - 1; ++y) {
        for (int x = 1; x < shown.width() - 1; ++x) {
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy) {
                for (int dx = -1; dx <= 1 && !found; ++dx)
                    found = alike(shown.pixel(x, y), fresh.pixel(x + dx, y + dy));
            }
            stale += found ? 0 : 1;
        }
    }
    return stale;
}

} // namespace

void tst_DCommands::thumbnailFollowsEachStep_data()
{
    QTest::addColumn<QString>("step");
    for (const char *step : { "add", "move", "delete", "lock", "unlock", "turn", "group", "ungroup",
                              "text", "links", "fill colour", "border colour" })
        QTest::newRow(step) << step;
}

// Each kind of step, its undo and its redo show in the page's thumbnail, asked for after the
// board has painted them, and still after the page is left.
void tst_DCommands::thumbnailFollowsEachStep()
{
    QFETCH(QString, step);
    Board board(2);
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    QPainterPath box;
    box.addRect(0, 0, 300, 200);
    DGPathCurveItem *shape = addCurve(page, box, QPointF(100, 100), BtMenus::btRectangle, true,
                                      QPen(Qt::darkBlue, 8));
    shape->setBrush(QColor(250, 200, 0));
    QPixmap photo(240, 160);
    photo.fill(QColor(200, 60, 60));
    DGPixmapItem *picture =
            page->addPixmapItem(photo, QPointF(600, 150), 0, 1.0f, QTransform(), true);
    DGTextItem *text = page->addTextItem(QStringLiteral("Hola"), QFont(QString(), 40),
                                         QPointF(150, 450), 0, 1.0f, QTransform(), true);
    const auto select = [page](const QList<QGraphicsItem *> &items) {
        page->clearSelection();
        for (QGraphicsItem *item : items)
            item->setSelected(true);
    };
    if (step == QLatin1String("unlock")) {
        select({ picture });
        view->lockObj();
    } else if (step == QLatin1String("ungroup")) {
        select({ shape, picture });
        page->addObjToGroup();
    }
    QCOMPARE(staleInThumbnail(page), 0);

    if (step == QLatin1String("add")) {
        QPainterPath oval;
        oval.addEllipse(0, 0, 200, 150);
        page->addCurveItem(oval, QPen(Qt::darkGreen, 12), 0, BtMenus::btEllipse,
                           BtMenus::fnPathAtPos, QPointF(500, 400), 1.0f, QTransform(), true);
    } else if (step == QLatin1String("move")) {
        const QPoint from = view->mapFromScene(shape->mapToScene(150, 100));
        TestSupport::drag(view->viewport(),
                          { from, from + QPoint(80, 60), from + QPoint(200, 160) });
    } else if (step == QLatin1String("delete")) {
        select({ shape });
        page->deleteObj();
    } else if (step == QLatin1String("lock")) {
        select({ picture });
        view->lockObj();
    } else if (step == QLatin1String("unlock")) {
        const QRectF mark = picture->rotateItem()->m_btLock->sceneBoundingRect();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                          view->mapFromScene(mark.center()));
    } else if (step == QLatin1String("turn")) {
        select({ shape });
        view->rotate90Obj();
    } else if (step == QLatin1String("group")) {
        select({ shape, picture });
        page->addObjToGroup();
    } else if (step == QLatin1String("ungroup")) {
        page->detachObjFromGroup();
    } else if (step == QLatin1String("text")) {
        select({ text });
        text->m_prevHtml = text->toHtml(); // as its editor does
        text->setText(QStringLiteral("<p>Adiós a <b>todos</b></p>"));
    } else if (step == QLatin1String("links")) {
        select({ picture });
        auto answered = TestSupport::answerNextModal([](QWidget *dialog) {
            auto *input = qobject_cast<QInputDialog *>(dialog);
            input->setTextValue(QStringLiteral("https://escuela.example"));
            input->accept();
        });
        page->editLinkObj();
        QVERIFY(*answered);
    } else {
        select({ shape });
        const bool fill = step == QLatin1String("fill colour");
        auto answered = TestSupport::answerNextModal([fill](QWidget *dialog) {
            auto *colours = qobject_cast<QColorDialog *>(dialog);
            colours->setCurrentColor(fill ? QColor(0, 160, 80) : QColor(220, 0, 160));
            colours->accept();
        });
        fill ? page->editFillColor() : page->editBoderColor();
        QVERIFY(*answered);
    }
    const int steps = page->undoStack()->index();
    QCOMPARE(staleInThumbnail(page), 0);
    page->setUndo();
    QCOMPARE(page->undoStack()->index(), steps - 1);
    QCOMPARE(staleInThumbnail(page), 0);
    page->setRedo();
    QCOMPARE(staleInThumbnail(page), 0);
    page->setUndo();
    view->viewport()->grab();
    board.selectPage(1);
    QCOMPARE(staleInThumbnail(page), 0);
}

QTEST_MAIN(tst_DCommands)
#include "tst_dcommands.moc"
