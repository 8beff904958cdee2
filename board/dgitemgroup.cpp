#include "dgitemgroup.h"

#include "boardtypes.h"
#include "dggifitem.h"
#include "dgpathcurveitem.h"
#include "dgpathitem.h"
#include "dgpathtableitem.h"
#include "dgpathvertexitem.h"
#include "dgpixmapitem.h"
#include "dgsounditem.h"
#include "dgtextitem.h"
#include "dgvideoitem.h"
#include "dpage.h"
#include "drotateitem.h"
#include "drotateitembutton.h"
#include "drotateitemfocus.h"
#include "itemplacement.h"

#include <QDesktopServices>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QUrl>

#include <algorithm>

DGItemGroup::DGItemGroup(QGraphicsItem *parent) : QObject(nullptr), QGraphicsItemGroup(parent)
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    // No toolkit cache: a group draws nothing of its own but its selection outline, and a
    // cached picture of it would be a picture of its whole bounds, blank, redrawn and laid over
    // the board at every paint (and the size of the board many times over when zoomed in).
    setCacheMode(NoCache);
    m_pressPos = pos();
    setFrameOwner(this);
    rotateItem();
}

QVariant DGItemGroup::itemChange(GraphicsItemChange change, const QVariant &value)
{
    // The members' pictures are placed, or drawn, by where the group shows them.
    DGPathItem::picturesMayNotServeAfter(change);
    return QGraphicsItemGroup::itemChange(change, value);
}

void DGItemGroup::lock(bool locked)
{
    setFlag(ItemIsMovable, !locked);
    showLockState(locked);
}

bool DGItemGroup::isLocked() const
{
    return !(flags() & ItemIsMovable);
}

void DGItemGroup::changeLinks(const QString &web, const QString &page, const QString &file,
                              const QString &media)
{
    DCustomItem::changeLinks(web, page, file, media);
    update();
}

QRectF DGItemGroup::boundingRect() const
{
    return m_bounds;
}

void DGItemGroup::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    bool standalone = true;
    const QStyleOptionGraphicsItem copied = ItemPlacement::paintOption(this, option, &standalone);
    QGraphicsItemGroup::paint(painter, &copied, widget);
    paintRotateItem(boundingRect(), scale(), isLocked(), standalone, isSelected());
}

int DGItemGroup::type() const
{
    return ItemTypeGroup;
}

void DGItemGroup::addMember(QGraphicsItem *item)
{
    addToGroup(item);
    refreshBounds();
}

void DGItemGroup::removeMember(QGraphicsItem *item)
{
    removeFromGroup(item);
    refreshBounds();
}

QList<QGraphicsItem *> DGItemGroup::members() const
{
    QList<QGraphicsItem *> found;
    for (QGraphicsItem *child : childItems()) {
        if (isBoardObjectType(child->type()))
            found << child;
    }
    return found;
}

void DGItemGroup::refreshBounds()
{
    QRectF bounds;
    qreal top = 0;
    for (QGraphicsItem *member : members()) {
        bounds |= member->mapRectToParent(member->boundingRect());
        top = std::max(top, member->zValue() + 1.0);
    }
    // The frame is the members' sibling, not their child: it must stack above them.
    rotateItem()->setZValue(top);
    prepareGeometryChange();
    m_bounds = bounds;
    update();
}

void DGItemGroup::saveTransform()
{
    saveTransformOf(this);
}

bool DGItemGroup::buttonHolds(QGraphicsItem *button, QPointF point) const
{
    return button->isVisible() && button->sceneBoundingRect().contains(point);
}

void DGItemGroup::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    DRotateItemFocus *focus = rotateItem()->m_focus;
    if (buttonHolds(focus, event->scenePos())) {
        // The handle never sees its own events inside a group: it turns and scales the group
        // through the group.
        m_bPressOnFocus = true;
        focus->mousePressEvent(event);
    } else {
        m_pressPos = pos();
        m_bPressOnFocus = false;
    }
    QGraphicsItemGroup::mousePressEvent(event);
}

void DGItemGroup::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_bPressOnFocus) {
        rotateItem()->m_focus->mouseMoveEvent(event);
        return;
    }
    m_bMoved = true;
    QGraphicsItemGroup::mouseMoveEvent(event);
}

void DGItemGroup::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    const QPointF down = event->buttonDownScenePos(Qt::LeftButton);
    DRotateItem *frame = rotateItem();
    if (m_bPressOnFocus) {
        // Reports a turn or scale, or opens the menu on a click.
        frame->m_focus->mouseReleaseEvent(event);
        m_bPressOnFocus = false;
    } else if (buttonHolds(frame->m_btWebLink, down)) {
        QDesktopServices::openUrl(QUrl(m_linkWeb, QUrl::TolerantMode));
    } else if (buttonHolds(frame->m_btPageLink, down)) {
        emit releaseBt(QPoint(m_linkPage.toInt() - 1, 0), BtMenus::stGoToPage);
    } else if (buttonHolds(frame->m_btFileLink, down)) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(m_linkFile));
    } else if (buttonHolds(frame->m_btLock, down) && !m_bMoved) {
        // Recorded for the group alone: the valid selection leaves locked objects out.
        if (auto *page = dynamic_cast<DPage *>(scene()))
            page->recordOperation(BtMenus::stUnlock, { this }, nullptr);
    }
    QGraphicsItemGroup::mouseReleaseEvent(event);
    if (m_bMoved) {
        emit releaseBt(ItemPlacement::truncated(event->scenePos()), BtMenus::stMove);
        m_bMoved = false;
    }
}

namespace {

// The same local geometry as source: position, base transform, origin, turn, scale, flags.
void copyLocalGeometry(const QGraphicsItem *source, QGraphicsItem *copy)
{
    copy->setTransform(source->transform());
    copy->setTransformOriginPoint(source->transformOriginPoint());
    copy->setRotation(source->rotation());
    copy->setScale(source->scale());
    copy->setPos(source->pos());
    copy->setFlags(source->flags());
    DCustomItem *object = DCustomItem::fromItem(copy);
    if (object && object->madeRotateItem() && source->scale() > 0)
        object->madeRotateItem()->setScale(1.0 / source->scale());
}

} // namespace

QGraphicsItem *DGItemGroup::cloneObject(const QGraphicsItem *source)
{
    QGraphicsItem *copy = nullptr;
    switch (source->type()) {
    case ItemTypeGroup:
        if (auto *group = dynamic_cast<const DGItemGroup *>(source))
            copy = group->clone();
        break;
    case ItemTypePath:
        if (auto *curve = dynamic_cast<const DGPathCurveItem *>(source))
            copy = curve->clone();
        break;
    case ItemTypeVertex:
        if (auto *vertex = dynamic_cast<const DGPathVertexItem *>(source))
            copy = vertex->clone();
        break;
    case ItemTypeTable:
        if (auto *table = dynamic_cast<const DGPathTableItem *>(source))
            copy = table->clone();
        break;
    case ItemTypePixmap:
        // Animated and still pictures share the number: the class decides.
        if (auto *animation = dynamic_cast<const DGGifItem *>(source))
            copy = animation->clone();
        else if (auto *picture = dynamic_cast<const DGPixmapItem *>(source))
            copy = picture->clone();
        break;
    case ItemTypeText:
        if (auto *text = dynamic_cast<const DGTextItem *>(source))
            copy = text->clone();
        break;
    case ItemTypeSound:
        if (auto *sound = dynamic_cast<const DGSoundItem *>(source))
            copy = sound->clone();
        break;
    case ItemTypeVideo:
        if (auto *video = dynamic_cast<const DGVideoItem *>(source))
            copy = video->clone();
        break;
    default:
        break;
    }
    if (!copy)
        return nullptr;
    // Some copies are born beside their source, under its parent: the caller places them.
    if (copy->parentItem())
        copy->setParentItem(nullptr);
    if (copy->scene())
        copy->scene()->removeItem(copy);
    copyLocalGeometry(source, copy);
    return copy;
}

void DGItemGroup::cloneChildren(DGItemGroup *target, const QGraphicsItem *source)
{
    // The target stands untransformed at (0, 0) while it is filled, so each copy joins it at
    // the place its source holds within source; nested groups are copied as groups.
    for (QGraphicsItem *child : source->childItems()) {
        if (!isBoardObjectType(child->type()))
            continue;
        if (QGraphicsItem *copy = cloneObject(child))
            target->addMember(copy);
    }
}

DGItemGroup *DGItemGroup::clone() const
{
    auto *copy = new DGItemGroup(nullptr);
    cloneChildren(copy, this);
    copyLocalGeometry(this, copy);
    copy->setFrameMenu(frameMenu());
    return copy;
}

void DGItemGroup::connectFrame(DRotateItem *frame)
{
    connect(frame->m_focus, &DRotateItemFocus::pressBt, this, &DGItemGroup::saveTransform);
}
