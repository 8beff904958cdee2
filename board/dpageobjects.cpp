// The page's object commands: groups, the clipboard and cloning, layering, turning, links and
// clearing the page.

#include "dpage.h"

#include "boardtypes.h"
#include "dcommands.h"
#include "dcustomitem.h"
#include "dggifitem.h"
#include "dgitemgroup.h"
#include "dgpathitem.h"
#include "dgpixmapitem.h"
#include "dgtextitem.h"
#include "dgvideoitem.h"
#include "drotateitem.h"
#include "drotateitembutton.h"
#include "drotateitemfocus.h"
#include "dview.h"

#include "shell/globals.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QHash>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <climits>
#include <utility>

namespace {

constexpr qreal kPasteOffset = 15.0;

// The clipboard holds the source objects themselves. Each entry keeps guards on its object and
// on the page it was copied from, so that a paste never reaches an object that was destroyed
// and never brings back anything of a page that is gone.
struct ClipboardGuard
{
    QPointer<QObject> object;
    QPointer<DPage> page;
};

QHash<QGraphicsItem *, ClipboardGuard> &clipboardGuards()
{
    static QHash<QGraphicsItem *, ClipboardGuard> guards;
    return guards;
}

// Entries the clipboard no longer names: an object that only the clipboard kept alive (its
// addition undone and dropped from the history, say) can never be pasted again and is freed.
void releaseDropped(const QList<QGraphicsItem *> &dropped,
                    const QHash<QGraphicsItem *, ClipboardGuard> &droppedGuards)
{
    for (QGraphicsItem *item : dropped) {
        if (m_pCopyPasteListItems.contains(item))
            continue;
        // Skipped: one freed with an earlier entry's group, and one nobody can vouch for.
        const auto guard = droppedGuards.constFind(item);
        if (guard != droppedGuards.constEnd() && guard->object)
            CoveredItems::releaseIfUnheld(item, guard->page);
    }
}

void fillClipboard(const QList<QGraphicsItem *> &items, DPage *page)
{
    QHash<QGraphicsItem *, ClipboardGuard> &guards = clipboardGuards();
    const QHash<QGraphicsItem *, ClipboardGuard> previous = std::exchange(guards, {});
    for (QGraphicsItem *item : items)
        guards.insert(item, { dynamic_cast<QObject *>(item), page });
    const QList<QGraphicsItem *> dropped = std::exchange(m_pCopyPasteListItems, items);
    releaseDropped(dropped, previous);
}

template <typename Object> bool wireAs(DPage *page, QGraphicsItem *item)
{
    auto *object = dynamic_cast<Object *>(item);
    if (!object)
        return false;
    QObject::connect(object, &Object::releaseBt, page, &DPage::isValidRelease);
    object->setFrameReceiver(page);
    return true;
}

// A copy reports its releases to the page as a new object does (a group's members report
// through the group).
void wireReleases(DPage *page, QGraphicsItem *item)
{
    wireAs<DGItemGroup>(page, item) || wireAs<DGPathItem>(page, item)
            || wireAs<DGPixmapItem>(page, item) || wireAs<DGGifItem>(page, item)
            || wireAs<DGTextItem>(page, item) || wireAs<DGVideoItem>(page, item);
}

// A copy of source lying where source shows in the scene, moved by offset, unparented.
QGraphicsItem *sceneCopy(QGraphicsItem *source, qreal offset)
{
    QGraphicsItem *copy = DGItemGroup::cloneObject(source);
    if (!copy)
        return nullptr;
    if (copy->type() == ItemTypeGroup && static_cast<DGItemGroup *>(copy)->members().isEmpty()) {
        delete copy; // a group dissolved since it was copied: nothing to show
        return nullptr;
    }
    if (QGraphicsItem *parent = source->parentItem()) {
        // Joined a group after it was copied: the copy takes the whole chain to the scene.
        copy->setTransform(source->transform()
                           * QTransform::fromTranslate(source->pos().x(), source->pos().y())
                           * parent->sceneTransform());
        copy->setPos(0, 0);
    }
    copy->setPos(copy->pos() + QPointF(offset, offset));
    return copy;
}

QList<QGraphicsItem *> sortedByZ(QList<QGraphicsItem *> items)
{
    std::stable_sort(items.begin(), items.end(),
                     [](QGraphicsItem *a, QGraphicsItem *b) { return a->zValue() < b->zValue(); });
    return items;
}

// Every item of the page, the highest z first (items of equal z in the scene's order).
QList<QGraphicsItem *> byZDescending(const QList<QGraphicsItem *> &items)
{
    QList<QGraphicsItem *> sorted = items;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](QGraphicsItem *a, QGraphicsItem *b) { return a->zValue() > b->zValue(); });
    return sorted;
}

qreal highestTopLevelZ(const QList<QGraphicsItem *> &items, bool *found)
{
    qreal highest = 0;
    *found = false;
    for (QGraphicsItem *item : items) {
        if (item->parentItem())
            continue;
        if (!*found || item->zValue() > highest)
            highest = item->zValue();
        *found = true;
    }
    return highest;
}

void rememberLinks(DCustomItem *object)
{
    object->m_prevLinkWeb = object->m_linkWeb;
    object->m_prevLinkPage = object->m_linkPage;
    object->m_prevLinkFile = object->m_linkFile;
    object->m_prevLinkMedia = object->m_linkMedia;
}

enum class LinkField { Web, Page, File, Media };

void setLink(QGraphicsItem *item, LinkField field, const QString &value)
{
    DCustomItem *object = DCustomItem::fromItem(item);
    if (!object)
        return;
    rememberLinks(object);
    QString web = object->m_linkWeb;
    QString page = object->m_linkPage;
    QString file = object->m_linkFile;
    QString media = object->m_linkMedia;
    switch (field) {
    case LinkField::Web:
        web = value;
        break;
    case LinkField::Page:
        page = value;
        break;
    case LinkField::File:
        file = value;
        break;
    case LinkField::Media:
        media = value;
        break;
    }
    object->changeLinks(web, page, file, media);
}

} // namespace

// ---- groups

DGItemGroup *DPage::addGroupItem()
{
    auto *group = new DGItemGroup(nullptr);
    m_pGroupItem = group;
    wireReleases(this, group);
    addItem(group);
    group->setFrameMenu(m_view->m_menuGeneric);
    return group;
}

void DPage::addItemToGroup(DGItemGroup *group, QGraphicsItem *item)
{
    if (!group || !item || !isBoardObjectType(item->type()) || item == group)
        return;
    if (group->scene() != item->scene()) {
        if (group->scene())
            group->scene()->removeItem(group);
        if (item->scene())
            item->scene()->addItem(group); // keeps the group's own z
    }
    // Once inside, selecting the member selects the group: a member's own selection would
    // only leave a stale outline inside the group's.
    item->setSelected(false);
    group->addMember(item);
}

void DPage::removeItemFromGroup(DGItemGroup *group, QGraphicsItem *item, bool dissolve)
{
    if (!group || group->childItems().size() < 2)
        return;
    if (item && item->type() != ItemTypeHandle && item->parentItem() == group) {
        group->removeMember(item);
        item->setSelected(false);
    }
    if (group->childItems().size() > 2 || !dissolve)
        return;
    for (QGraphicsItem *rest : group->members()) {
        group->removeMember(rest);
        rest->setSelected(false);
    }
    if (group->scene())
        group->scene()->removeItem(group);
    update(QRectF());
}

void DPage::removeAllItemFromGroup(DGItemGroup *group)
{
    recordOperation(BtMenus::stDeleteGroup, group->childItems(), group);
}

void DPage::addSelectedItemToGroup(DGItemGroup *group)
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.size() >= 2)
        recordOperation(BtMenus::stAddGroup, selection, group);
}

void DPage::addObjToGroup()
{
    if (validItems(false).size() < 2)
        return; // no empty group is ever made
    DGItemGroup *group = addGroupItem();
    addSelectedItemToGroup(group);
    group->setSelected(true); // what the user acts on next
}

void DPage::detachObjFromGroup()
{
    for (QGraphicsItem *item : validItems(false)) {
        if (item->type() == ItemTypeGroup)
            removeAllItemFromGroup(static_cast<DGItemGroup *>(item));
    }
}

// ---- clipboard and cloning

QList<QGraphicsItem *> DPage::liveClipboard()
{
    const QHash<QGraphicsItem *, ClipboardGuard> &guards = clipboardGuards();
    QList<QGraphicsItem *> live;
    for (QGraphicsItem *item : qAsConst(m_pCopyPasteListItems)) {
        const auto guard = guards.constFind(item);
        if (guard != guards.constEnd() && guard->object && guard->page)
            live << item;
    }
    m_pCopyPasteListItems = live;
    return live;
}

void DPage::releaseClipboardOf(DPage *page)
{
    QHash<QGraphicsItem *, ClipboardGuard> &guards = clipboardGuards();
    QList<QGraphicsItem *> kept;
    QList<QGraphicsItem *> dropped;
    QHash<QGraphicsItem *, ClipboardGuard> droppedGuards;
    for (QGraphicsItem *item : qAsConst(m_pCopyPasteListItems)) {
        const auto guard = guards.constFind(item);
        const bool ofPage = guard == guards.constEnd() ? item->scene() == page
                                                       : !guard->object || guard->page == page;
        if (!ofPage) {
            kept << item;
            continue;
        }
        dropped << item;
        if (guard != guards.constEnd())
            droppedGuards.insert(item, guards.take(item));
    }
    m_pCopyPasteListItems = kept;
    releaseDropped(dropped, droppedGuards);
}

void DPage::copyObj()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (!selection.isEmpty())
        fillClipboard(sortedByZ(selection), this);
}

void DPage::cutObj()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.isEmpty())
        return;
    fillClipboard(selection, this);
    recordOperation(BtMenus::stDelete, selection, nullptr);
}

void DPage::pasteObj()
{
    QList<QGraphicsItem *> copies;
    for (QGraphicsItem *source : liveClipboard()) {
        if (QGraphicsItem *copy = sceneCopy(source, kPasteOffset)) {
            wireReleases(this, copy);
            copies << copy;
        }
    }
    recordOperation(BtMenus::stAdd, copies, nullptr);
}

void DPage::cloneObj()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.isEmpty())
        return;
    QList<QGraphicsItem *> copies;
    for (QGraphicsItem *source : selection) {
        if (QGraphicsItem *copy = sceneCopy(source, kPasteOffset)) {
            wireReleases(this, copy);
            copies << copy;
        }
    }
    recordOperation(BtMenus::stAdd, copies, nullptr);
}

// ---- layers

void DPage::bringObjToFront()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.isEmpty())
        return;
    qreal low = selection.first()->zValue();
    for (QGraphicsItem *item : selection)
        low = std::min(low, item->zValue());
    qreal top = 0.0;
    for (QGraphicsItem *item : byZDescending(items())) {
        if (item->zValue() >= top)
            top = item->zValue() + 1.0;
    }
    for (QGraphicsItem *item : selection)
        item->setZValue(item->zValue() - low + top);
    // Whatever is made next still lands on top.
    bool found = false;
    const qreal highest = highestTopLevelZ(items(), &found);
    if (found)
        m_zCounter = std::max(m_zCounter, float(highest + 1.0));
    m_bModified = true;
}

void DPage::sendObjToBack()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.isEmpty())
        return;
    const int n = selection.size();
    qreal floor = 0.0;
    for (QGraphicsItem *item : byZDescending(items())) {
        if (item->zValue() <= floor && !selection.contains(item))
            floor = item->zValue() - 1.0;
    }
    for (QGraphicsItem *item : items()) {
        if (!selection.contains(item))
            item->setZValue(item->zValue() + n);
    }
    const QList<QGraphicsItem *> sorted = sortedByZ(selection);
    for (int i = 0; i < sorted.size(); ++i)
        sorted[i]->setZValue(floor + i);
    // Whatever is made next lands on top, above the objects that moved up.
    bool found = false;
    const qreal highest = highestTopLevelZ(items(), &found);
    if (found)
        m_zCounter = float(highest + 1.0);
    m_bModified = true;
}

// ---- turning and scaling

void DPage::rotateObj(int degrees)
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.isEmpty())
        return;
    for (QGraphicsItem *item : selection) {
        if (DCustomItem *object = DCustomItem::fromItem(item))
            object->saveTransformOf(item);
        // Groups, sounds and videos keep their turn (they still share the undo step).
        if (item->type() >= ItemTypePath && item->type() <= ItemTypeText) {
            item->setTransformOriginPoint(item->boundingRect().center());
            item->setRotation(item->rotation() - degrees);
        }
    }
    recordOperation(BtMenus::stTrans, selection, nullptr);
}

void DPage::zoomObj(float fscale)
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.isEmpty() || !(fscale > 0))
        return;
    for (QGraphicsItem *item : selection) {
        DCustomItem *object = DCustomItem::fromItem(item);
        if (object)
            object->saveTransformOf(item);
        item->setScale(fscale);
        if (object && object->madeRotateItem())
            object->madeRotateItem()->setScale(1.0 / fscale);
    }
    recordOperation(BtMenus::stTrans, selection, nullptr);
}

void DPage::zoomInObj()
{
    zoomObj(1.1f);
}

void DPage::zoomOutObj()
{
    zoomObj(0.90909094f);
}

// ---- links

void DPage::editLinkObj()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.isEmpty())
        return;
    const QString present =
            selection.size() == 1 ? DCustomItem::fromItem(selection.first())->m_linkWeb : QString();
    bool ok = false;
    const QString link =
            QInputDialog::getText(m_parent, tr("Editar enlace"), tr("Inserte un enlace web"),
                                  QLineEdit::Normal, present, &ok);
    if (!ok)
        return;
    for (QGraphicsItem *item : selection)
        setLink(item, LinkField::Web, link);
    recordOperation(BtMenus::stLinks, selection, nullptr);
}

void DPage::editLinkPageObj()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.isEmpty())
        return;
    bool ok = false;
    const int number =
            QInputDialog::getInt(m_parent, tr("Editar enlace"),
                                 tr("Inserte número de página a enlazar"), 1, 1, INT_MAX, 1, &ok);
    if (!ok)
        return;
    for (QGraphicsItem *item : selection)
        setLink(item, LinkField::Page, QString::number(number));
    recordOperation(BtMenus::stLinks, selection, nullptr);
}

void DPage::editLinkFileObj()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.isEmpty())
        return;
    const QString file = QFileDialog::getOpenFileName(m_parent, tr("Abrir Imagen"), QString());
    if (file.isEmpty())
        return;
    for (QGraphicsItem *item : selection)
        setLink(item, LinkField::File, file);
    recordOperation(BtMenus::stLinks, selection, nullptr);
}

void DPage::editLinkSoundObj()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.isEmpty())
        return;
    const QString file = QFileDialog::getOpenFileName(m_parent, tr("Abrir Audio"), QString(),
                                                      QStringLiteral("Sound Files (*.mp3)"));
    if (file.isEmpty())
        return;
    for (QGraphicsItem *item : selection)
        setLink(item, LinkField::Media, file);
    recordOperation(BtMenus::stLinks, selection, nullptr);
}

void DPage::editLinkVideoObj()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.isEmpty())
        return;
    const QString file = QFileDialog::getOpenFileName(m_parent, tr("Abrir Vídeo"), QString(),
                                                      QStringLiteral("Video Files (*.mp4)"));
    if (file.isEmpty())
        return;
    for (QGraphicsItem *item : selection)
        setLink(item, LinkField::Media, file);
    recordOperation(BtMenus::stLinks, selection, nullptr);
}

// ---- clearing the page and the unconnected operations

void DPage::clearPage()
{
    QMessageBox question(QMessageBox::Warning, tr("Atención"), tr("Desea limpiar la página"));
    QPushButton *yes = question.addButton(tr("Si"), QMessageBox::YesRole);
    QPushButton *no = question.addButton(tr("No"), QMessageBox::NoRole);
    question.setDefaultButton(no);
    question.setEscapeButton(no); // Escape keeps the page
    question.exec();
    m_view->m_bRefreshOverlay = true;
    if (question.clickedButton() != yes || items().isEmpty())
        return;
    recordOperation(BtMenus::stDelete, validItems(true), nullptr);
    m_view->m_bRefreshOverlay = true;
}

void DPage::editSetAV()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.isEmpty())
        return;
    const QString file =
            QFileDialog::getOpenFileName(m_parent, tr("Open Audio"), QString(),
                                         QStringLiteral("Audio Files (*.mp3 *.wav *.wma *.mpg "
                                                        "*.mp4 *.avi)"));
    if (file.isEmpty())
        return;
    for (QGraphicsItem *item : selection)
        item->setData(ItemDataMedia, file);
}

void DPage::clearAV()
{
    for (QGraphicsItem *item : validItems(false))
        item->setData(ItemDataMedia, QString());
}

void DPage::setTextFont()
{
    QFontDialog dialog(m_parent);
    const QFont font = dialog.currentFont();
    for (QGraphicsItem *item : validItems(false)) {
        if (auto *text = item->type() == ItemTypeText ? dynamic_cast<DGTextItem *>(item) : nullptr)
            text->setFont(font);
    }
}
