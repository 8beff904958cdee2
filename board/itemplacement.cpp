#include "itemplacement.h"

#include "boardtypes.h"
#include "dcustomitem.h"
#include "dpage.h"
#include "drotateitem.h"
#include "drotateitemfocus.h"
#include "dview.h"

#include <QGraphicsItem>
#include <QPainter>

#include <algorithm>

namespace ItemPlacement {

QStyleOptionGraphicsItem paintOption(const QGraphicsItem *item,
                                     const QStyleOptionGraphicsItem *option, bool *standalone)
{
    QStyleOptionGraphicsItem copied(*option);
    *standalone = true;
    const QGraphicsItem *parent = item->parentItem();
    if (parent && parent->type() == ItemTypeGroup) {
        *standalone = false;
        if (!parent->isSelected())
            copied.state &= ~QStyle::State_Selected;
    }
    return copied;
}

void placeCopy(const QGraphicsItem *source, const DCustomItem *sourceObject, QGraphicsItem *copy,
               DCustomItem *copyObject)
{
    copy->setPos(source->pos());
    const QRectF bounds = source->boundingRect();
    const QPointF centre(bounds.x() + 0.5 * bounds.width(), bounds.y() + 0.5 * bounds.height());
    copy->setTransformOriginPoint(centre);
    copy->setPos(source->mapToScene(centre) - centre);
    copy->setRotation(source->rotation());
    copy->setScale(source->scale());
    if (copyObject->madeRotateItem() && source->scale() > 0)
        copyObject->madeRotateItem()->setScale(1.0 / source->scale());
    copy->setFlags(source->flags());
    copyObject->setFrameMenu(sourceObject->frameMenu());
}

QPoint truncated(const QPointF &scenePoint)
{
    return QPoint(int(scenePoint.x()), int(scenePoint.y()));
}

bool paintedForBoard(const QGraphicsItem *item)
{
    const auto *page = qobject_cast<const DPage *>(item->scene());
    return page && page->isPaintedForBoard();
}

void paintSelectionOutline(QPainter *painter, const QStyleOptionGraphicsItem *style,
                           const QRectF &bounds, qreal penWidth)
{
    const QRectF onDevice = painter->transform().mapRect(bounds);
    if (std::min(onDevice.width(), onDevice.height()) < 1.0)
        return;
    const QColor ink = style->palette.windowText().color();
    const QColor under(ink.red() > 127 ? 0 : 255, ink.green() > 127 ? 0 : 255,
                       ink.blue() > 127 ? 0 : 255);
    const qreal pad = penWidth / 2;
    const QRectF outline = bounds.adjusted(pad, pad, -pad, -pad);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(under, 0, Qt::SolidLine));
    painter->drawRect(outline);
    painter->setPen(QPen(style->palette.windowText(), 0, Qt::DashLine));
    painter->drawRect(outline);
}

} // namespace ItemPlacement
