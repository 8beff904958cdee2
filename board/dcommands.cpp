#include "dcommands.h"

#include "boardtypes.h"
#include "dcustomitem.h"
#include "dgitemgroup.h"
#include "dgpathcurveitem.h"
#include "dgpathitem.h"
#include "dpage.h"
#include "drotateitem.h"

#include "shell/globals.h"

#include <QGraphicsItem>
#include <QHash>

#include <algorithm>

namespace {

void updatePage(DPage *page)
{
    page->update(QRectF());
}

short fillTypeOf(const QBrush &brush)
{
    switch (brush.style()) {
    case Qt::NoBrush:
        return ItemFillNone;
    case Qt::LinearGradientPattern:
    case Qt::RadialGradientPattern:
    case Qt::ConicalGradientPattern:
        return ItemFillGradient;
    case Qt::TexturePattern:
        return ItemFillTexture;
    default:
        return brush.color().alpha() != 0 ? ItemFillSolid : ItemFillNone;
    }
}

QHash<const QGraphicsItem *, int> &coverCounts()
{
    static QHash<const QGraphicsItem *, int> counts;
    return counts;
}

// Whether a member of item (at any depth) is still covered by a command or on the clipboard.
bool heldBelow(const QGraphicsItem *item)
{
    const QList<QGraphicsItem *> children = item->childItems();
    return std::any_of(children.cbegin(), children.cend(), [](QGraphicsItem *child) {
        return coverCounts().contains(child) || m_pCopyPasteListItems.contains(child)
                || heldBelow(child);
    });
}

// Nobody holds item: no page, no group, no command and no clipboard entry, for it or a member.
bool unheld(QGraphicsItem *item)
{
    return !item->scene() && !item->parentItem() && !coverCounts().contains(item)
            && !m_pCopyPasteListItems.contains(item) && !heldBelow(item);
}

} // namespace

CoveredItems::CoveredItems(const QList<QGraphicsItem *> &items, DPage *page)
    : m_items(items), m_page(page)
{
    for (const QGraphicsItem *item : items) {
        if (item)
            ++coverCounts()[item];
    }
}

CoveredItems::~CoveredItems()
{
    QHash<const QGraphicsItem *, int> &counts = coverCounts();
    QList<QGraphicsItem *> unowned;
    for (QGraphicsItem *item : qAsConst(m_items)) {
        if (!item)
            continue;
        const auto count = counts.find(item);
        if (count == counts.end() || --*count > 0)
            continue;
        counts.erase(count);
        if (!item->scene() && !item->parentItem() && !m_pCopyPasteListItems.contains(item)
            && !unowned.contains(item))
            unowned << item;
    }
    for (QGraphicsItem *item : qAsConst(unowned)) {
        // A member that is still held elsewhere must not go with its group.
        if (heldBelow(item))
            continue;
        if (m_page)
            m_page->forgetItem(item);
        delete item;
    }
}

int CoveredItems::coverCount(const QGraphicsItem *item)
{
    return coverCounts().value(item);
}

void CoveredItems::releaseIfUnheld(QGraphicsItem *item, DPage *page)
{
    QGraphicsItem *owner = item->topLevelItem();
    if (!unheld(owner))
        return;
    if (page)
        page->forgetItem(owner);
    delete owner;
}

AddCommand::AddCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent)
    : QUndoCommand(parent), m_items(items), m_page(page), m_covered(items, page)
{
}

void AddCommand::redo()
{
    for (QGraphicsItem *item : qAsConst(m_items)) {
        if (item->scene() != m_page)
            m_page->addItem(item); // a fresh z: the object comes back on top
    }
}

void AddCommand::undo()
{
    for (QGraphicsItem *item : qAsConst(m_items)) {
        if (item->scene() == m_page)
            m_page->removeItem(item);
    }
    updatePage(m_page);
}

MoveCommand::MoveCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent)
    : QUndoCommand(parent), m_items(items), m_page(page), m_covered(items, page)
{
    for (QGraphicsItem *item : items) {
        DCustomItem *object = DCustomItem::fromItem(item);
        m_oldPos << (object ? object->m_pressPos : item->pos());
        m_newPos << item->pos();
    }
}

void MoveCommand::redo()
{
    if (m_bFirstRedo) {
        m_bFirstRedo = false; // the hand already moved them
        return;
    }
    for (int i = 0; i < m_items.size(); ++i)
        m_items[i]->setPos(m_items[i]->pos() + (m_newPos[i] - m_oldPos[i]));
    updatePage(m_page);
}

void MoveCommand::undo()
{
    for (int i = 0; i < m_items.size(); ++i)
        m_items[i]->setPos(m_items[i]->pos() + (m_oldPos[i] - m_newPos[i]));
    updatePage(m_page);
}

DeleteCommand::DeleteCommand(const QList<QGraphicsItem *> &items, DPage *page,
                             const QHash<QGraphicsItem *, QPointF> &restoreAt,
                             QUndoCommand *parent)
    : QUndoCommand(parent), m_items(items), m_page(page), m_covered(items, page)
{
    for (QGraphicsItem *item : items)
        m_restorePos << restoreAt.value(item, item->pos());
}

void DeleteCommand::redo()
{
    for (QGraphicsItem *item : qAsConst(m_items)) {
        if (item->scene() == m_page)
            m_page->removeItem(item);
    }
    updatePage(m_page);
}

void DeleteCommand::undo()
{
    for (int i = 0; i < m_items.size(); ++i) {
        QGraphicsItem *item = m_items[i];
        if (item->scene() == m_page)
            continue;
        const qreal z = item->zValue();
        item->setPos(m_restorePos[i]);
        m_page->addItem(item);
        item->setZValue(z); // back to its old stacking place
    }
    updatePage(m_page);
}

LockCommand::LockCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent)
    : QUndoCommand(parent), m_items(items), m_page(page), m_covered(items, page)
{
    for (QGraphicsItem *item : items) {
        DCustomItem *object = DCustomItem::fromItem(item);
        const bool locked = object && object->isLocked();
        m_old << locked;
        m_new << !locked;
    }
}

void LockCommand::apply(const QList<bool> &states)
{
    for (int i = 0; i < m_items.size() && i < states.size(); ++i) {
        if (DCustomItem *object = DCustomItem::fromItem(m_items[i]))
            object->lock(states[i]);
    }
    updatePage(m_page);
}

void LockCommand::redo()
{
    apply(m_new);
}

void LockCommand::undo()
{
    apply(m_old);
}

TransCommand::TransCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent)
    : QUndoCommand(parent), m_items(items), m_page(page), m_covered(items, page)
{
    for (QGraphicsItem *item : items) {
        m_new << Transform{ -item->rotation(), item->scale() };
        DCustomItem *object = DCustomItem::fromItem(item);
        if (object && object->m_bTransformSaved) {
            m_old << Transform{ -double(object->m_savedRotation), double(object->m_savedScale) };
            object->m_bTransformSaved = false;
        } else {
            // Covered by the selection but not turned by the gesture: its own transform.
            m_old << m_new.last();
        }
    }
}

void TransCommand::apply(const QList<Transform> &transforms)
{
    for (int i = 0; i < m_items.size() && i < transforms.size(); ++i) {
        QGraphicsItem *item = m_items[i];
        item->setTransformOriginPoint(item->boundingRect().center());
        item->setRotation(-transforms[i].negatedRotation);
        item->setScale(transforms[i].scale);
        DCustomItem *object = DCustomItem::fromItem(item);
        if (object && object->madeRotateItem() && transforms[i].scale > 0)
            object->madeRotateItem()->setScale(1.0 / transforms[i].scale);
    }
    updatePage(m_page);
}

void TransCommand::redo()
{
    if (m_bFirstRedo) {
        m_bFirstRedo = false;
        return;
    }
    apply(m_new);
}

void TransCommand::undo()
{
    apply(m_old);
}

LinksCommand::LinksCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent)
    : QUndoCommand(parent), m_items(items), m_page(page), m_covered(items, page)
{
    for (QGraphicsItem *item : items) {
        DCustomItem *object = DCustomItem::fromItem(item);
        if (!object) {
            m_current << Links();
            m_previous << Links();
            continue;
        }
        m_current << Links{ object->m_linkWeb, object->m_linkPage, object->m_linkFile,
                            object->m_linkMedia };
        m_previous << Links{ object->m_prevLinkWeb, object->m_prevLinkPage, object->m_prevLinkFile,
                             object->m_prevLinkMedia };
    }
}

void LinksCommand::apply(const QList<Links> &links)
{
    for (int i = 0; i < m_items.size() && i < links.size(); ++i) {
        if (DCustomItem *object = DCustomItem::fromItem(m_items[i]))
            object->changeLinks(links[i].web, links[i].page, links[i].file, links[i].media);
    }
    updatePage(m_page);
}

void LinksCommand::redo()
{
    apply(m_current);
}

void LinksCommand::undo()
{
    apply(m_previous);
}

ColorCommand::ColorCommand(const QList<QGraphicsItem *> &items, DPage *page, QUndoCommand *parent)
    : QUndoCommand(parent), m_items(items), m_page(page), m_covered(items, page)
{
    for (QGraphicsItem *item : items) {
        // Strokes, shapes, polygons and tables all carry the pen and brush a recolouring changes.
        DGPathItem *path = DGPathItem::pathObject(item);
        m_current << (path ? Colors{ path->pen(), path->brush() } : Colors());
        m_previous << (path ? Colors{ path->prevPen(), path->prevBrush() } : Colors());
    }
}

void ColorCommand::apply(const QList<Colors> &colors)
{
    for (int i = 0; i < m_items.size() && i < colors.size(); ++i) {
        DGPathItem *path = DGPathItem::pathObject(m_items[i]);
        if (!path)
            continue;
        path->setPen(colors[i].pen);
        path->setBrush(colors[i].brush);
        // The fill kind the writer saves follows the brush back and forth.
        if (path->type() == ItemTypePath)
            static_cast<DGPathCurveItem *>(path)->m_fillType = fillTypeOf(colors[i].brush);
    }
    updatePage(m_page);
}

void ColorCommand::redo()
{
    apply(m_current);
}

void ColorCommand::undo()
{
    apply(m_previous);
}

AddGCommand::AddGCommand(DGItemGroup *group, const QList<QGraphicsItem *> &items, DPage *page,
                         QUndoCommand *parent)
    : QUndoCommand(parent),
      m_group(group),
      m_items(items),
      m_page(page),
      m_covered(QList<QGraphicsItem *>{ group } + items, page)
{
    updatePage(m_page);
}

AddGCommand::~AddGCommand()
{
    // An undone grouping leaves a dissolved group that only this history knew: it goes even
    // when it was copied, and the clipboard forgets it (a paste finds nothing of it).
    if (!m_group->scene() && CoveredItems::coverCount(m_group) == 1)
        m_pCopyPasteListItems.removeAll(m_group);
}

void AddGCommand::redo()
{
    if (!m_group->scene())
        m_page->addItem(m_group);
    for (QGraphicsItem *item : qAsConst(m_items))
        m_page->addItemToGroup(m_group, item);
    updatePage(m_page);
}

void AddGCommand::undo()
{
    for (QGraphicsItem *item : qAsConst(m_items))
        m_page->removeItemFromGroup(m_group, item, true);
    updatePage(m_page);
}

DeleteGCommand::DeleteGCommand(DGItemGroup *group, const QList<QGraphicsItem *> &items, DPage *page,
                               QUndoCommand *parent)
    : QUndoCommand(parent),
      m_group(group),
      m_items(items),
      m_page(page),
      m_covered(QList<QGraphicsItem *>{ group } + items, page)
{
}

void DeleteGCommand::redo()
{
    for (QGraphicsItem *item : qAsConst(m_items))
        m_page->removeItemFromGroup(m_group, item, true);
    updatePage(m_page);
}

void DeleteGCommand::undo()
{
    if (!m_group->scene())
        m_page->addItem(m_group);
    for (QGraphicsItem *item : qAsConst(m_items))
        m_page->addItemToGroup(m_group, item);
    updatePage(m_page);
}
