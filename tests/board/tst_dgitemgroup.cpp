#include "support/boardfixture.h"
#include "support/groupsfixture.h"
#include "support/testsupport.h"

#include "board/boardtypes.h"
#include "board/dgitemgroup.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpixmapitem.h"
#include "board/dpage.h"
#include "board/drotateitem.h"
#include "board/drotateitembutton.h"
#include "board/drotateitemfocus.h"
#include "board/dview.h"

#include "shell/globals.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

using namespace BoardFixture;
using namespace GroupsFixture;

namespace {

DGPixmapItem *addPicture(DPage *page, QPointF pos, QSize size = QSize(80, 60),
                         QColor colour = Qt::red)
{
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return page->addPixmapItem(pixmap, pos, 0, 1.0f, QTransform(), false);
}

QList<QGraphicsItem *> topLevelObjects(DPage *page)
{
    QList<QGraphicsItem *> found;
    for (QGraphicsItem *item : page->items()) {
        if (!item->parentItem() && isBoardObjectType(item->type()))
            found << item;
    }
    return found;
}

DGItemGroup *onlyGroup(DPage *page)
{
    DGItemGroup *group = nullptr;
    for (QGraphicsItem *item : topLevelObjects(page)) {
        if (item->type() == ItemTypeGroup) {
            if (group)
                return nullptr;
            group = static_cast<DGItemGroup *>(item);
        }
    }
    return group;
}

void selectOnly(DPage *page, const QList<QGraphicsItem *> &items)
{
    page->clearSelection();
    for (QGraphicsItem *item : items)
        item->setSelected(true);
}

} // namespace

class tst_DGItemGroup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::recordConnectWarnings(); }
    void cleanup()
    {
        QVERIFY(TestSupport::takeConnectWarnings().isEmpty());
        m_pCopyPasteListItems.clear();
    }

    void groupOfThreeUndoRedo();
    void fewerThanTwoMakeNoGroup();
    void ungroupAmongOtherObjects();
    void dissolvingSingleMember();
    void dragMovesGroupAsOneStep();
    void lockedGroupStaysAndLockButtonUnlocks();
    void pageButtonJumpsWithoutRecording();
    void webAndFileButtonsOpenTheirLinks();
    void focusClickOpensMenuAndRecordsNothing();
    void focusDragTurnsGroupUndoably();
    void transformedGroupKeepsMemberGeometry_data();
    void transformedGroupKeepsMemberGeometry();
    void nestedGroupShowsNoFrame();
    void discardedGroupingDeletesItsGroup();
};

void tst_DGItemGroup::groupOfThreeUndoRedo()
{
    Board board;
    DPage *page = board.page(0);
    const QList<QGraphicsItem *> objects = { addPicture(page, QPointF(100, 100)),
                                             addPicture(page, QPointF(300, 120)),
                                             addCurve(page, stroke(30, 60, 7), QPointF(200, 300)) };
    QList<QPolygonF> corners;
    for (QGraphicsItem *object : objects)
        corners << sceneCorners(object);
    selectOnly(page, objects);

    page->addObjToGroup();
    DGItemGroup *group = onlyGroup(page);
    QVERIFY(group);
    QCOMPARE(group->type(), int(ItemTypeGroup));
    QCOMPARE(group->members().size(), 3);
    QCOMPARE(group->childItems().size(), 4); // and its frame
    QCOMPARE(topLevelObjects(page).size(), 1);
    QCOMPARE(page->undoStack()->count(), 1);
    QCOMPARE(page->validItems(false), QList<QGraphicsItem *>{ group });
    QVERIFY(group->isSelected());
    for (int i = 0; i < objects.size(); ++i)
        QVERIFY(sameCorners(sceneCorners(objects[i]), corners[i]));

    page->setUndo();
    QVERIFY(!group->scene());
    QCOMPARE(topLevelObjects(page).size(), 3);
    for (int i = 0; i < objects.size(); ++i) {
        QVERIFY(!objects[i]->parentItem());
        QVERIFY(sameCorners(sceneCorners(objects[i]), corners[i]));
    }

    page->setRedo();
    QCOMPARE(group->scene(), page);
    QCOMPARE(group->members().size(), 3);
    QCOMPARE(topLevelObjects(page).size(), 1);
}

void tst_DGItemGroup::fewerThanTwoMakeNoGroup()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *one = addPicture(page, QPointF(100, 100));
    DGPixmapItem *locked = addPicture(page, QPointF(300, 100));
    locked->lock(true);
    selectOnly(page, { one, locked });
    const int items = page->items().size();
    page->addObjToGroup();
    QVERIFY(!onlyGroup(page));
    QCOMPARE(page->items().size(), items);
    QCOMPARE(page->undoStack()->count(), 0);
}

void tst_DGItemGroup::ungroupAmongOtherObjects()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *a = addPicture(page, QPointF(100, 100));
    DGPixmapItem *b = addPicture(page, QPointF(250, 100));
    DGPixmapItem *other = addPicture(page, QPointF(100, 400));
    selectOnly(page, { a, b });
    page->addObjToGroup();
    DGItemGroup *group = onlyGroup(page);
    QVERIFY(group);
    selectOnly(page, { group, other });

    page->detachObjFromGroup();
    QVERIFY(!group->scene());
    QVERIFY(!a->parentItem());
    QVERIFY(!b->parentItem());
    QVERIFY(!other->parentItem());
    QCOMPARE(other->scene(), page);
    QVERIFY(other->isSelected()); // only the group was touched
    QCOMPARE(page->undoStack()->count(), 2);

    page->setUndo();
    QCOMPARE(group->scene(), page);
    QCOMPARE(group->members().size(), 2);
    QVERIFY(!other->parentItem());
}

void tst_DGItemGroup::dissolvingSingleMember()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *a = addPicture(page, QPointF(100, 100));
    DGPixmapItem *b = addPicture(page, QPointF(250, 140));
    selectOnly(page, { a, b });
    page->addObjToGroup();
    DGItemGroup *group = onlyGroup(page);
    group->setPos(40, 30);
    const QPolygonF bCorners = sceneCorners(b);
    b->setSelected(true);

    page->removeItemFromGroup(group, a, true);
    QVERIFY(!group->scene());
    QVERIFY(!b->parentItem());
    QCOMPARE(b->scene(), page);
    QVERIFY(!b->isSelected());
    QVERIFY(sameCorners(sceneCorners(b), bCorners));

    // Without dissolving, a group may be left with one member.
    DGPixmapItem *c = addPicture(page, QPointF(100, 400));
    DGPixmapItem *d = addPicture(page, QPointF(250, 400));
    selectOnly(page, { c, d });
    page->addObjToGroup();
    DGItemGroup *kept = onlyGroup(page);
    QVERIFY(kept);
    page->removeItemFromGroup(kept, c, false);
    QCOMPARE(kept->scene(), page);
    QCOMPARE(kept->members(), QList<QGraphicsItem *>{ d });
    // A group holding only its frame: nothing to take out.
    page->removeItemFromGroup(kept, d, false);
    page->removeItemFromGroup(kept, kept->rotateItem(), true);
    QCOMPARE(kept->childItems().size(), 1);
}

void tst_DGItemGroup::dragMovesGroupAsOneStep()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPixmapItem *a = addPicture(page, QPointF(100, 100));
    DGPixmapItem *b = addPicture(page, QPointF(300, 100));
    selectOnly(page, { a, b });
    page->addObjToGroup();
    DGItemGroup *group = onlyGroup(page);
    const int steps = page->undoStack()->count();
    const QPointF aStart = a->scenePos();
    const QPointF bStart = b->scenePos();

    const QPoint from = view->mapFromScene(QPointF(140, 130)); // on a member
    TestSupport::drag(view->viewport(), { from, from + QPoint(20, 10), from + QPoint(60, 40) });
    QCOMPARE(a->scenePos(), aStart + QPointF(60, 40));
    QCOMPARE(b->scenePos(), bStart + QPointF(60, 40));
    QCOMPARE(a->parentItem(), group);
    QCOMPARE(page->undoStack()->count(), steps + 1);

    page->setUndo();
    QCOMPARE(a->scenePos(), aStart);
    QCOMPARE(b->scenePos(), bStart);
    page->setRedo();
    QCOMPARE(b->scenePos(), bStart + QPointF(60, 40));
}

void tst_DGItemGroup::lockedGroupStaysAndLockButtonUnlocks()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPixmapItem *a = addPicture(page, QPointF(100, 100));
    DGPixmapItem *b = addPicture(page, QPointF(300, 100));
    selectOnly(page, { a, b });
    page->addObjToGroup();
    DGItemGroup *group = onlyGroup(page);
    page->lockObj();
    QVERIFY(group->isLocked());
    QVERIFY(!a->isLocked()); // members keep their own state
    QVERIFY(page->validItems(false).isEmpty());

    const QPoint from = view->mapFromScene(QPointF(140, 130));
    TestSupport::drag(view->viewport(), { from, from + QPoint(30, 30), from + QPoint(60, 40) });
    QCOMPARE(group->pos(), QPointF(0, 0));

    group->setSelected(true);
    paintPage(page);
    DRotateItemButton *lock = group->rotateItem()->m_btLock;
    QVERIFY(lock->isVisible());
    const int steps = page->undoStack()->count();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      view->mapFromScene(lock->sceneBoundingRect().center()));
    QVERIFY(!group->isLocked());
    QCOMPARE(page->undoStack()->count(), steps + 1);
    page->setUndo();
    QVERIFY(group->isLocked());
}

void tst_DGItemGroup::pageButtonJumpsWithoutRecording()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPixmapItem *a = addPicture(page, QPointF(100, 200));
    DGPixmapItem *b = addPicture(page, QPointF(300, 200));
    selectOnly(page, { a, b });
    page->addObjToGroup();
    DGItemGroup *group = onlyGroup(page);
    group->changeLinks(QString(), QStringLiteral("3"), QString(), QString());
    paintPage(page);
    DRotateItemButton *button = group->rotateItem()->m_btPageLink;
    QVERIFY(button->isVisible());
    QSignalSpy jumps(page, &DPage::goToPage);
    const int steps = page->undoStack()->count();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      view->mapFromScene(button->sceneBoundingRect().center()));
    QCOMPARE(jumps.count(), 1);
    QCOMPARE(jumps.first().first().toInt(), 2);
    QCOMPARE(page->undoStack()->count(), steps);
    QCOMPARE(group->pos(), QPointF(0, 0));
}

// Takes the URLs the desktop would open.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

void tst_DGItemGroup::webAndFileButtonsOpenTheirLinks()
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPixmapItem *a = addPicture(page, QPointF(100, 200));
    DGPixmapItem *b = addPicture(page, QPointF(300, 200));
    selectOnly(page, { a, b });
    page->addObjToGroup();
    DGItemGroup *group = onlyGroup(page);
    group->changeLinks(QStringLiteral("https://escuela.example/tema"), QString(),
                       QStringLiteral("/tmp/ficha.pdf"), QString());
    paintPage(page);
    const int steps = page->undoStack()->count();
    for (DRotateItemButton *button :
         { group->rotateItem()->m_btWebLink, group->rotateItem()->m_btFileLink }) {
        QVERIFY(button->isVisible());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                          view->mapFromScene(button->sceneBoundingRect().center()));
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(catcher.opened,
             (QList<QUrl>{ QUrl(QStringLiteral("https://escuela.example/tema")),
                           QUrl::fromLocalFile(QStringLiteral("/tmp/ficha.pdf")) }));
    QCOMPARE(page->undoStack()->count(), steps);
}

void tst_DGItemGroup::focusClickOpensMenuAndRecordsNothing()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPixmapItem *a = addPicture(page, QPointF(100, 200));
    DGPixmapItem *b = addPicture(page, QPointF(300, 200));
    selectOnly(page, { a, b });
    page->addObjToGroup();
    DGItemGroup *group = onlyGroup(page);
    QCOMPARE(group->rotateItem()->m_focus->m_menu, view->m_menuGeneric);
    paintPage(page);
    QVERIFY(group->rotateItem()->m_focus->isVisible());
    const int steps = page->undoStack()->count();
    bool shown = false;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&]() {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            shown = popup == view->m_menuGeneric;
            popup->close();
        }
    });
    closer.start(10);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, handlePoint(view, group));
    QVERIFY(shown);
    QCOMPARE(page->undoStack()->count(), steps);
    QCOMPARE(group->pos(), QPointF(0, 0));
    QVERIFY(group->isSelected());
}

void tst_DGItemGroup::focusDragTurnsGroupUndoably()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.page(0);
    view->setSelect();
    DGPixmapItem *a = addPicture(page, QPointF(200, 300), QSize(100, 100));
    DGPixmapItem *b = addPicture(page, QPointF(400, 300), QSize(100, 100));
    selectOnly(page, { a, b });
    page->addObjToGroup();
    DGItemGroup *group = onlyGroup(page);
    paintPage(page);
    const QPolygonF before = sceneCorners(a);
    const int steps = page->undoStack()->count();
    // The handle sits above the centre: a quarter turn to the right of the centre.
    const QPointF centre = group->mapToScene(group->boundingRect().center());
    const QPoint start = handlePoint(view, group);
    const qreal radius = QLineF(view->mapToScene(start), centre).length();
    const QPoint end = view->mapFromScene(centre + QPointF(radius, 0));
    TestSupport::drag(view->viewport(), { start, (start + end) / 2, end });
    // A quarter turn clockwise on screen, whichever way round the angle is written.
    const qreal turned = std::fmod(group->rotation() + 720.0, 360.0);
    QVERIFY2(qAbs(turned - 90.0) < 3.0, qPrintable(QString::number(group->rotation())));
    QCOMPARE(group->pos(), QPointF(0, 0));
    QCOMPARE(page->undoStack()->count(), steps + 1);
    QVERIFY(!sameCorners(sceneCorners(a), before, 1.0));

    page->setUndo();
    QCOMPARE(group->rotation(), 0.0);
    QVERIFY(sameCorners(sceneCorners(a), before));
}

void tst_DGItemGroup::transformedGroupKeepsMemberGeometry_data()
{
    QTest::addColumn<qreal>("rotation");
    QTest::addColumn<qreal>("scale");
    QTest::newRow("turned 30") << 30.0 << 1.0;
    QTest::newRow("scaled 1.5") << 0.0 << 1.5;
    QTest::newRow("turned and scaled") << -70.0 << 0.6;
}

// Through ungroup, its undo and redo, a move, and copy and paste, the members show where they
// showed (the pasted set 15 right and 15 down).
void tst_DGItemGroup::transformedGroupKeepsMemberGeometry()
{
    QFETCH(qreal, rotation);
    QFETCH(qreal, scale);
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *a = addPicture(page, QPointF(200, 200), QSize(120, 50));
    DGPathCurveItem *b = addCurve(page, stroke(40, 80, 3), QPointF(380, 260));
    b->setRotation(20);
    selectOnly(page, { a, b });
    page->addObjToGroup();
    DGItemGroup *group = onlyGroup(page);
    group->setTransformOriginPoint(group->boundingRect().center());
    group->setRotation(rotation);
    group->setScale(scale);
    const QPolygonF aShown = sceneCorners(a);
    const QPolygonF bShown = sceneCorners(b);

    selectOnly(page, { group });
    page->copyObj();
    page->pasteObj();
    DGItemGroup *pasted = nullptr;
    for (QGraphicsItem *item : topLevelObjects(page)) {
        if (item != group && item->type() == ItemTypeGroup)
            pasted = static_cast<DGItemGroup *>(item);
    }
    QVERIFY(pasted);
    QCOMPARE(pasted->rotation(), rotation);
    QCOMPARE(pasted->scale(), scale);
    const QList<QGraphicsItem *> copies = pasted->members();
    QCOMPARE(copies.size(), 2);
    QList<QPolygonF> expected = { aShown.translated(15, 15), bShown.translated(15, 15) };
    int matched = 0;
    for (QGraphicsItem *copy : copies) {
        for (const QPolygonF &shape : expected)
            matched += sameCorners(sceneCorners(copy), shape) ? 1 : 0;
    }
    QCOMPARE(matched, 2);

    selectOnly(page, { group });
    page->detachObjFromGroup();
    QVERIFY(!a->parentItem());
    QVERIFY(sameCorners(sceneCorners(a), aShown));
    QVERIFY(sameCorners(sceneCorners(b), bShown));
    page->setUndo();
    QCOMPARE(a->parentItem(), group);
    QVERIFY(sameCorners(sceneCorners(a), aShown));
    QVERIFY(sameCorners(sceneCorners(b), bShown));
    page->setRedo();
    QVERIFY(sameCorners(sceneCorners(a), aShown));
    QVERIFY(sameCorners(sceneCorners(b), bShown));
    // Copying a former member copies what the screen shows.
    selectOnly(page, { b });
    page->cloneObj();
    QGraphicsItem *bCopy = page->m_pDrawItem;
    QVERIFY(bCopy != b);
    bool found = false;
    for (QGraphicsItem *item : topLevelObjects(page))
        found |= item != b && sameCorners(sceneCorners(item), bShown.translated(15, 15));
    QVERIFY(found);
}

void tst_DGItemGroup::nestedGroupShowsNoFrame()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *a = addPicture(page, QPointF(100, 100));
    DGPixmapItem *b = addPicture(page, QPointF(250, 100));
    DGPixmapItem *c = addPicture(page, QPointF(100, 300));
    selectOnly(page, { a, b });
    page->addObjToGroup();
    DGItemGroup *inner = onlyGroup(page);
    selectOnly(page, { inner, c });
    page->addObjToGroup();
    DGItemGroup *outer = nullptr;
    for (QGraphicsItem *item : topLevelObjects(page))
        outer = static_cast<DGItemGroup *>(item);
    QVERIFY(outer && outer != inner);
    QCOMPARE(inner->parentItem(), outer);
    inner->setSelected(true);
    outer->setSelected(true);
    paintPage(page);
    QVERIFY(outer->rotateItem()->m_focus->isVisible());
    QVERIFY(!inner->rotateItem()->m_focus->isVisible());

    // Copying the outer group copies the inner one as a group.
    selectOnly(page, { outer });
    page->cloneObj();
    DGItemGroup *copy = nullptr;
    for (QGraphicsItem *item : topLevelObjects(page)) {
        if (item != outer)
            copy = dynamic_cast<DGItemGroup *>(item);
    }
    QVERIFY(copy);
    QCOMPARE(copy->members().size(), 2);
    int nested = 0;
    for (QGraphicsItem *member : copy->members())
        nested += member->type() == ItemTypeGroup ? 1 : 0;
    QCOMPARE(nested, 1);
    QCOMPARE(copy->members().size(), 2);
}

void tst_DGItemGroup::discardedGroupingDeletesItsGroup()
{
    Board board;
    DPage *page = board.page(0);
    DGPixmapItem *a = addPicture(page, QPointF(100, 100));
    DGPixmapItem *b = addPicture(page, QPointF(250, 100));
    selectOnly(page, { a, b });
    page->addObjToGroup();
    DGItemGroup *group = onlyGroup(page);
    selectOnly(page, { group });
    page->copyObj();
    QPointer<DGItemGroup> watched(group);
    page->setUndo();
    selectOnly(page, { a });
    page->lockObj(); // discards the undone grouping, whose group goes with it
    QVERIFY(watched.isNull());
    page->pasteObj(); // the clipboard's group is gone: nothing to paste, no crash
    QCOMPARE(topLevelObjects(page).size(), 2);
}

QTEST_MAIN(tst_DGItemGroup)
#include "tst_dgitemgroup.moc"
