#include "support/boardfixture.h"
#include "support/groupsfixture.h"
#include "support/itemmedia.h"
#include "support/testsupport.h"

#include "board/boardtypes.h"
#include "board/dggifitem.h"
#include "board/dgitemgroup.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpathtableitem.h"
#include "board/dgpathvertexitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgsounditem.h"
#include "board/dgtextitem.h"
#include "board/dgvideoitem.h"
#include "board/dpage.h"
#include "board/drotateitem.h"
#include "board/dview.h"

#include "shell/globals.h"

#include <QInputDialog>
#include <QLabel>
#include <QPointer>
#include <QtTest>

using namespace BoardFixture;
using namespace GroupsFixture;

namespace {

DGPixmapItem *addPicture(DPage *page, QPointF pos, QColor colour = Qt::red)
{
    QPixmap pixmap(80, 60);
    pixmap.fill(colour);
    return page->addPixmapItem(pixmap, pos, 0, 1.0f, QTransform(), false);
}

QList<QGraphicsItem *> topLevelObjects(DPage *page)
{
    QList<QGraphicsItem *> found;
    for (QGraphicsItem *item : page->items(Qt::AscendingOrder)) {
        if (!item->parentItem() && isBoardObjectType(item->type()))
            found << item;
    }
    return found;
}

QList<QGraphicsItem *> newObjects(DPage *page, const QList<QGraphicsItem *> &before)
{
    QList<QGraphicsItem *> found;
    for (QGraphicsItem *item : topLevelObjects(page)) {
        if (!before.contains(item))
            found << item;
    }
    return found;
}

void selectOnly(DPage *page, const QList<QGraphicsItem *> &items)
{
    page->clearSelection();
    for (QGraphicsItem *item : items)
        item->setSelected(true);
}

DCustomItem *custom(QGraphicsItem *item)
{
    return DCustomItem::fromItem(item);
}

QPainterPath box(qreal w, qreal h)
{
    QPainterPath path;
    path.addRect(0, 0, w, h);
    return path;
}

} // namespace

class tst_DPageObjects : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void cleanup()
    {
        QVERIFY(TestSupport::takeConnectWarnings().isEmpty());
        m_pCopyPasteListItems.clear();
    }

    // Clipboard and cloning
    void copyPasteTwice();
    void pasteOntoAnotherPage();
    void cutPasteAndUndo();
    void pastedSetKeepsZOrder();
    void pasteAfterSourcePageDeleted_data();
    void pasteAfterSourcePageDeleted();
    void everyKindIsCopied();
    void lockedAndGroupedObjectsAreNotCopied();
    void emptySelectionAndEmptyClipboard();
    void pasteShowsSourceAsItIsNow();
    void pastedCopyReportsItsMoves();

    // Object commands
    void rotateTurnsAboutCentreUndoably();
    void rotateLeavesGroupsButRecordsThem();
    void bringToFront();
    void sendToBack();
    void webLinkDialog();
    void pageLinkDialog();
    void clearPageAsksFirst_data();
    void clearPageAsksFirst();
};

void tst_DPageObjects::copyPasteTwice()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *a = addPicture(page, QPointF(100, 100));
    DGPathCurveItem *b = addCurve(page, stroke(20, 50, 1), QPointF(300, 200));
    selectOnly(page, { a, b });
    page->copyObj();
    const QList<QGraphicsItem *> sources = topLevelObjects(page);

    page->pasteObj();
    const QList<QGraphicsItem *> first = newObjects(page, sources);
    page->pasteObj();
    QList<QGraphicsItem *> second = newObjects(page, sources);
    for (QGraphicsItem *item : first)
        second.removeAll(item);
    QCOMPARE(first.size(), 2);
    QCOMPARE(second.size(), 2);
    QCOMPARE(page->undoStack()->count(), 2);
    for (const QList<QGraphicsItem *> &set : { first, second }) {
        for (QGraphicsItem *copy : set) {
            QGraphicsItem *source = copy->type() == a->type() ? static_cast<QGraphicsItem *>(a)
                                                              : static_cast<QGraphicsItem *>(b);
            QCOMPARE(copy->type(), source->type());
            QVERIFY(sameCorners(sceneCorners(copy), sceneCorners(source).translated(15, 15)));
        }
    }
    page->setUndo();
    for (QGraphicsItem *item : second)
        QVERIFY(!item->scene());
    for (QGraphicsItem *item : first)
        QCOMPARE(item->scene(), page);
    page->setRedo();
    QCOMPARE(newObjects(page, sources).size(), 4);
}

void tst_DPageObjects::pasteOntoAnotherPage()
{
    Board board(2);
    DPage *one = board.page(0);
    DPage *two = board.page(1);
    addPicture(two, QPointF(0, 0)); // page 2's counter is ahead
    addPicture(two, QPointF(0, 0));
    addPicture(two, QPointF(0, 0));
    DGPixmapItem *source = addPicture(one, QPointF(120, 140));
    selectOnly(one, { source });
    one->copyObj();
    board.selectPage(1);
    const QList<QGraphicsItem *> before = topLevelObjects(two);
    const float counter = two->zCounter();
    two->pasteObj();
    const QList<QGraphicsItem *> pasted = newObjects(two, before);
    QCOMPARE(pasted.size(), 1);
    QCOMPARE(pasted.first()->scenePos(), QPointF(135, 155));
    QCOMPARE(pasted.first()->zValue(), qreal(counter));
    QCOMPARE(one->undoStack()->count(), 0);
    QCOMPARE(two->undoStack()->count(), 1);
}

void tst_DPageObjects::cutPasteAndUndo()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *a = addPicture(page, QPointF(100, 100));
    selectOnly(page, { a });
    page->cutObj();
    QVERIFY(!a->scene());
    QCOMPARE(page->undoStack()->count(), 1);
    page->pasteObj();
    const QList<QGraphicsItem *> pasted = topLevelObjects(page);
    QCOMPARE(pasted.size(), 1);
    QCOMPARE(pasted.first()->scenePos(), QPointF(115, 115));
    page->setUndo(); // the paste
    QVERIFY(topLevelObjects(page).isEmpty());
    page->setUndo(); // the cut
    QCOMPARE(a->scene(), page);
    QCOMPARE(a->scenePos(), QPointF(100, 100));
    page->setRedo();
    page->setRedo();
    QCOMPARE(topLevelObjects(page).size(), 1);
    QCOMPARE(topLevelObjects(page).first(), pasted.first());
}

void tst_DPageObjects::pastedSetKeepsZOrder()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *five = addPicture(page, QPointF(100, 100), Qt::red);
    DGPixmapItem *two = addPicture(page, QPointF(120, 110), Qt::green);
    DGPixmapItem *nine = addPicture(page, QPointF(140, 120), Qt::blue);
    five->setZValue(5);
    two->setZValue(2);
    nine->setZValue(9);
    selectOnly(page, { nine, five, two });
    page->copyObj();
    QCOMPARE(m_pCopyPasteListItems,
             (QList<QGraphicsItem *>{ two, five, nine })); // by z, whatever the selection order
    page->pasteObj();
    const QList<QGraphicsItem *> pasted = newObjects(page, { five, two, nine });
    QCOMPARE(pasted.size(), 3);
    // In stacking order: the copies of 2, 5 and 9, all above the sources.
    const QList<QGraphicsItem *> stack = newObjects(page, { five, two, nine });
    QCOMPARE(stack[0]->scenePos(), two->scenePos() + QPointF(15, 15));
    QCOMPARE(stack[1]->scenePos(), five->scenePos() + QPointF(15, 15));
    QCOMPARE(stack[2]->scenePos(), nine->scenePos() + QPointF(15, 15));
    QVERIFY(stack[0]->zValue() < stack[1]->zValue());
    QVERIFY(stack[1]->zValue() < stack[2]->zValue());

    // Cut keeps the page's selection order.
    page->setUndo();
    selectOnly(page, { nine, five, two });
    const QList<QGraphicsItem *> order = page->validItems(false);
    page->cutObj();
    QCOMPARE(m_pCopyPasteListItems, order);
}

void tst_DPageObjects::pasteAfterSourcePageDeleted_data()
{
    QTest::addColumn<bool>("cut");
    QTest::newRow("copied, still on the page") << false;
    QTest::newRow("cut, alive in the page's history") << true;
}

void tst_DPageObjects::pasteAfterSourcePageDeleted()
{
    QFETCH(bool, cut);
    Board board;
    DPage *kept = board.page(0);
    auto *doomed = new DPage(board.view(), board.window());
    QPointer<DGPixmapItem> picture = addPicture(doomed, QPointF(100, 100));
    QPointer<DGPathCurveItem> curve = addCurve(doomed, stroke(20, 40, 5), QPointF(300, 300));
    selectOnly(doomed, { picture, curve });
    cut ? doomed->cutObj() : doomed->copyObj();
    delete doomed;
    // Nothing of the page outlives it, not even what the clipboard named.
    QVERIFY(picture.isNull() && curve.isNull());

    kept->pasteObj();
    QVERIFY(topLevelObjects(kept).isEmpty());
    QCOMPARE(kept->undoStack()->count(), 0);
    QVERIFY(m_pCopyPasteListItems.isEmpty()); // dead entries are dropped
}

void tst_DPageObjects::everyKindIsCopied()
{
    Board board;
    DPage *page = board.page(0);
    QList<QGraphicsItem *> sources;
    DGPixmapItem *picture = addPicture(page, QPointF(10, 10));
    picture->setRotation(-30);
    picture->setScale(1.5);
    sources << picture;
    sources << page->addSoundItem(QStringLiteral("/tmp/bell.mp3"), QPointF(200, 10), 0, 1.0f,
                                  QTransform(), false);
    sources << page->addTextItem(QStringLiteral("<b>Hola</b> clase"), QFont(), QPointF(400, 10), 0,
                                 1.0f, QTransform(), false);
    // A text wrapped to its box keeps the box: its copy wraps the same.
    sources << page->addTextItem(QStringLiteral("Hola clase de las nueve"), QFont(),
                                 QPointF(400, 120), 0, 1.0f, QTransform(), false, 60);
    sources << page->addVideoItem(QStringLiteral("/tmp/none.mp4"), QPointF(600, 10), 0, 1.0f,
                                  QTransform(), false);
    sources << addCurve(page, box(60, 40), QPointF(10, 300), BtMenus::btRectangle);
    sources << addVertex(page, box(50, 50), QPointF(200, 300));
    sources << page->addTableItem(box(150, 100).translated(400, 300), 3, 2, 0, 1.0f, QTransform(),
                                  false);
    const bool gif = ItemMedia::haveConvert();
    if (gif) {
        const QString file = QDir::current().filePath(QStringLiteral("anim.gif"));
        QCOMPARE(ItemMedia::makeGif(file), QString());
        sources << page->addGifItem(DGGifItem::makeAnimation(file), QPointF(600, 300), 0, 1.0f,
                                    QTransform(), false);
    }
    for (QGraphicsItem *source : sources) {
        QVERIFY(source);
        custom(source)->changeLinks(QStringLiteral("http://a.example"), QStringLiteral("2"),
                                    QStringLiteral("/tmp/f.pdf"),
                                    source->type() == ItemTypeSound ? custom(source)->m_linkMedia
                                                                    : QStringLiteral("/tmp/m.mp3"));
    }
    selectOnly(page, sources);
    page->copyObj();
    page->pasteObj();
    const QList<QGraphicsItem *> pasted = newObjects(page, sources);
    QCOMPARE(pasted.size(), sources.size()); // tables too
    for (QGraphicsItem *source : sources) {
        QGraphicsItem *copy = nullptr;
        for (QGraphicsItem *each : pasted) {
            if (sameCorners(sceneCorners(each), sceneCorners(source).translated(15, 15))
                && each->type() == source->type())
                copy = each;
        }
        QVERIFY2(copy, qPrintable(QString::number(source->type())));
        QCOMPARE(copy->rotation(), source->rotation());
        QCOMPARE(copy->scale(), source->scale());
        QVERIFY(custom(copy)->m_linkWeb.isEmpty());
        QVERIFY(custom(copy)->m_linkPage.isEmpty());
        QVERIFY(custom(copy)->m_linkFile.isEmpty());
        if (source->type() == ItemTypeSound)
            QCOMPARE(custom(copy)->m_linkMedia, QStringLiteral("/tmp/bell.mp3"));
        else if (source->type() != ItemTypeVideo)
            QVERIFY(custom(copy)->m_linkMedia.isEmpty());
        QCOMPARE(bool(dynamic_cast<DGGifItem *>(copy)), bool(dynamic_cast<DGGifItem *>(source)));
        if (source->type() == ItemTypeText) {
            const auto *text = static_cast<DGTextItem *>(source);
            QCOMPARE(static_cast<DGTextItem *>(copy)->toPlainText(), text->toPlainText());
            QCOMPARE(static_cast<DGTextItem *>(copy)->textWidth(), text->textWidth());
        }
        if (source->type() == ItemTypeTable) {
            auto *table = static_cast<DGPathTableItem *>(copy);
            QCOMPARE(table->path(), static_cast<DGPathTableItem *>(source)->path());
        }
    }
    QCOMPARE(page->undoStack()->count(), 1);
    page->setUndo();
    QVERIFY(newObjects(page, sources).isEmpty());
}

void tst_DPageObjects::lockedAndGroupedObjectsAreNotCopied()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *earlier = addPicture(page, QPointF(500, 500));
    selectOnly(page, { earlier });
    page->copyObj();
    DGPixmapItem *locked = addPicture(page, QPointF(100, 100));
    locked->lock(true);
    selectOnly(page, { locked });
    page->copyObj();
    page->cutObj();
    page->cloneObj();
    QCOMPARE(m_pCopyPasteListItems, QList<QGraphicsItem *>{ earlier });
    QCOMPARE(page->undoStack()->count(), 0);

    DGPixmapItem *a = addPicture(page, QPointF(100, 300));
    DGPixmapItem *b = addPicture(page, QPointF(300, 300));
    selectOnly(page, { a, b });
    page->addObjToGroup();
    selectOnly(page, { a }); // selecting a member selects its group
    page->copyObj();
    QCOMPARE(m_pCopyPasteListItems, QList<QGraphicsItem *>{ a->parentItem() });
}

void tst_DPageObjects::emptySelectionAndEmptyClipboard()
{
    Board board;
    DPage *page = board.page(0);
    addPicture(page, QPointF(100, 100));
    page->clearSelection();
    page->cloneObj();
    QVERIFY(!page->isModified());
    page->pasteObj(); // nothing on the clipboard
    QVERIFY(page->isModified());
    QCOMPARE(page->undoStack()->count(), 0);
    QCOMPARE(topLevelObjects(page).size(), 1);
}

void tst_DPageObjects::pasteShowsSourceAsItIsNow()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *a = addPicture(page, QPointF(100, 100));
    selectOnly(page, { a });
    page->copyObj();
    a->setPos(400, 300);
    page->clearSelection();
    page->pasteObj();
    const QList<QGraphicsItem *> pasted = newObjects(page, { a });
    QCOMPARE(pasted.size(), 1);
    QCOMPARE(pasted.first()->scenePos(), QPointF(415, 315));
}

void tst_DPageObjects::pastedCopyReportsItsMoves()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPixmapItem *a = addPicture(page, QPointF(100, 100));
    selectOnly(page, { a });
    page->cloneObj();
    QGraphicsItem *copy = newObjects(page, { a }).first();
    page->clearSelection();
    const int steps = page->undoStack()->count();
    const QPoint from = view->mapFromScene(copy->mapToScene(QPointF(70, 50)));
    TestSupport::drag(view->viewport(), { from, from + QPoint(30, 0), from + QPoint(50, 20) });
    QCOMPARE(copy->scenePos(), QPointF(165, 135));
    QCOMPARE(a->scenePos(), QPointF(100, 100));
    QCOMPARE(page->undoStack()->count(), steps + 1);
    page->setUndo();
    QCOMPARE(copy->scenePos(), QPointF(115, 115));
}

void tst_DPageObjects::rotateTurnsAboutCentreUndoably()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *a = addPicture(page, QPointF(100, 100));
    const QPointF centre = a->mapToScene(a->boundingRect().center());
    selectOnly(page, { a });
    page->rotateObj(90);
    QCOMPARE(a->rotation(), -90.0);
    QVERIFY(QLineF(a->mapToScene(a->boundingRect().center()), centre).length() < 0.01);
    page->setUndo();
    QCOMPARE(a->rotation(), 0.0);
    page->setRedo();
    page->rotateObj(90);
    QCOMPARE(a->rotation(), -180.0);
    page->setUndo();
    QCOMPARE(a->rotation(), -90.0);
}

void tst_DPageObjects::rotateLeavesGroupsButRecordsThem()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *a = addPicture(page, QPointF(100, 100));
    DGPixmapItem *b = addPicture(page, QPointF(300, 100));
    selectOnly(page, { a, b });
    page->addObjToGroup();
    auto *group = static_cast<DGItemGroup *>(a->parentItem());
    group->setTransformOriginPoint(group->boundingRect().center());
    group->setRotation(30); // turned earlier
    DGPathCurveItem *path = addCurve(page, stroke(20, 50, 9), QPointF(300, 400));
    selectOnly(page, { group, path });
    const int steps = page->undoStack()->count();
    page->rotateObj(45);
    QCOMPARE(group->rotation(), 30.0);
    QCOMPARE(path->rotation(), -45.0);
    QCOMPARE(page->undoStack()->count(), steps + 1);
    page->setUndo();
    QCOMPARE(group->rotation(), 30.0);
    QCOMPARE(path->rotation(), 0.0);
}

void tst_DPageObjects::bringToFront()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *low = addPicture(page, QPointF(100, 100));
    DGPixmapItem *middle = addPicture(page, QPointF(120, 110));
    DGPixmapItem *high = addPicture(page, QPointF(140, 120));
    selectOnly(page, { low });
    page->bringObjToFront();
    QCOMPARE(low->zValue(), high->zValue() + 1.0);
    QVERIFY(page->isModified());
    QCOMPARE(page->undoStack()->count(), 0);
    // Two together keep their order between them.
    selectOnly(page, { middle, high });
    page->bringObjToFront();
    QVERIFY(middle->zValue() > low->zValue());
    QCOMPARE(high->zValue(), middle->zValue() + 1.0);
    // What is made next still lands on top.
    DGPixmapItem *next = addPicture(page, QPointF(0, 0));
    QVERIFY(next->zValue() > high->zValue());
}

void tst_DPageObjects::sendToBack()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *low = addPicture(page, QPointF(100, 100));
    DGPixmapItem *middle = addPicture(page, QPointF(120, 110));
    DGPixmapItem *high = addPicture(page, QPointF(140, 120));
    QCOMPARE(low->zValue(), 0.0);
    selectOnly(page, { high });
    page->sendObjToBack();
    // The frames' handles at z 0 count too: the floor lies below them.
    QCOMPARE(high->zValue(), -1.0);
    QCOMPARE(low->zValue(), 1.0);
    QCOMPARE(middle->zValue(), 2.0);
    QVERIFY(page->isModified());
    QCOMPARE(page->undoStack()->count(), 0);
    DGPixmapItem *next = addPicture(page, QPointF(0, 0));
    QVERIFY(next->zValue() > middle->zValue());
    // Two together keep their order and end below everything else.
    selectOnly(page, { next, middle });
    page->sendObjToBack();
    QVERIFY(middle->zValue() < next->zValue());
    QVERIFY(next->zValue() < high->zValue());
    QVERIFY(next->zValue() < low->zValue());
}

void tst_DPageObjects::webLinkDialog()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *a = addPicture(page, QPointF(100, 100));
    DGPixmapItem *b = addPicture(page, QPointF(300, 100));
    a->changeLinks(QStringLiteral("http://old.example"), QString(), QString(), QString());
    selectOnly(page, { a });
    QString offered;
    auto answered = TestSupport::answerNextModal([&](QWidget *dialog) {
        auto *input = qobject_cast<QInputDialog *>(dialog);
        offered = input->textValue();
        input->setTextValue(QStringLiteral("http://new.example"));
        input->accept();
    });
    page->editLinkObj();
    QVERIFY(*answered);
    QCOMPARE(offered, QStringLiteral("http://old.example"));
    QCOMPARE(a->m_linkWeb, QStringLiteral("http://new.example"));
    page->setUndo();
    QCOMPARE(a->m_linkWeb, QStringLiteral("http://old.example"));

    selectOnly(page, { a, b });
    answered = TestSupport::answerNextModal([&](QWidget *dialog) {
        auto *input = qobject_cast<QInputDialog *>(dialog);
        offered = input->textValue();
        input->setTextValue(QStringLiteral("http://both.example"));
        input->accept();
    });
    page->editLinkObj();
    QVERIFY(*answered);
    QCOMPARE(offered, QString());
    QCOMPARE(a->m_linkWeb, QStringLiteral("http://both.example"));
    QCOMPARE(b->m_linkWeb, QStringLiteral("http://both.example"));

    const int steps = page->undoStack()->count();
    answered =
            TestSupport::answerNextModal([](QWidget *dialog) { TestSupport::pressEscape(dialog); });
    page->editLinkObj();
    QVERIFY(*answered);
    QCOMPARE(b->m_linkWeb, QStringLiteral("http://both.example"));
    QCOMPARE(page->undoStack()->count(), steps);
}

void tst_DPageObjects::pageLinkDialog()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *a = addPicture(page, QPointF(100, 100));
    selectOnly(page, { a });
    int minimum = -1;
    int start = -1;
    auto answered = TestSupport::answerNextModal([&](QWidget *dialog) {
        auto *input = qobject_cast<QInputDialog *>(dialog);
        minimum = input->intMinimum();
        start = input->intValue();
        input->setIntValue(0); // refused: stays at 1
        QCOMPARE(input->intValue(), 1);
        input->setIntValue(3);
        input->accept();
    });
    page->editLinkPageObj();
    QVERIFY(*answered);
    QCOMPARE(minimum, 1);
    QCOMPARE(start, 1);
    QCOMPARE(a->m_linkPage, QStringLiteral("3"));
    page->setUndo();
    QCOMPARE(a->m_linkPage, QString());
}

void tst_DPageObjects::clearPageAsksFirst_data()
{
    QTest::addColumn<QString>("answer"); // empty: Escape
    QTest::addColumn<bool>("cleared");
    QTest::newRow("Si") << "Si" << true;
    QTest::newRow("No") << "No" << false;
    QTest::newRow("Escape") << QString() << false;
}

void tst_DPageObjects::clearPageAsksFirst()
{
    QFETCH(QString, answer);
    QFETCH(bool, cleared);
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *a = addPicture(page, QPointF(100, 100));
    DGPixmapItem *locked = addPicture(page, QPointF(300, 100));
    DGPixmapItem *b = addPicture(page, QPointF(100, 300));
    DGPixmapItem *c = addPicture(page, QPointF(300, 300));
    locked->lock(true);
    selectOnly(page, { b, c });
    page->addObjToGroup();
    QString text;
    auto answered = TestSupport::answerNextModal([&](QWidget *dialog) {
        text = dialog->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))->text();
        if (answer.isEmpty())
            TestSupport::pressEscape(dialog);
        else
            QVERIFY(TestSupport::clickButton(dialog, answer));
    });
    const int steps = page->undoStack()->count();
    board.view()->m_bRefreshOverlay = false;
    page->clearPage();
    QVERIFY(*answered);
    QCOMPARE(text, QStringLiteral("Desea limpiar la página"));
    QVERIFY(board.view()->m_bRefreshOverlay);
    QCOMPARE(locked->scene(), page);
    QCOMPARE(a->scene() == nullptr, cleared);
    QCOMPARE(b->scene() == nullptr, cleared); // with its group
    QCOMPARE(page->undoStack()->count(), steps + (cleared ? 1 : 0));
    if (cleared) {
        page->setUndo();
        QCOMPARE(a->scene(), page);
        QCOMPARE(b->scene(), page);
        QCOMPARE(b->parentItem()->type(), int(ItemTypeGroup));
    }
}

QTEST_MAIN(tst_DPageObjects)
#include "tst_dpageobjects.moc"
