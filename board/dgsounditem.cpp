#include "dgsounditem.h"

#include "boardtypes.h"
#include "itemplacement.h"

#include <QFileInfo>
#include <QPainter>

namespace {
constexpr int kNameStripHeight = 20;
}

DGSoundItem::DGSoundItem(QPointF pos, const QString &file, QGraphicsItem *parent)
    : DGPixmapItem(pos, QPixmap(QStringLiteral(":/Icon/soundItem.png")), parent)
{
    m_linkMedia = file;
    m_prevLinkMedia = file;
    rotateItem(); // the media button is always shown
    m_pressPos = pos;
    setPos(pos);
    m_fileName = QFileInfo(file).fileName();
}

void DGSoundItem::lock(bool locked)
{
    DGPixmapItem::lock(locked);
}

bool DGSoundItem::isLocked() const
{
    return DGPixmapItem::isLocked();
}

void DGSoundItem::changeLinks(const QString &web, const QString &page, const QString &file,
                              const QString &media)
{
    DGPixmapItem::changeLinks(web, page, file, media);
}

QRectF DGSoundItem::boundingRect() const
{
    return DGPixmapItem::boundingRect();
}

QRect DGSoundItem::nameStrip() const
{
    const QRectF bounds = boundingRect();
    return QRect(int(bounds.x()), int(bounds.y() + bounds.height() - kNameStripHeight),
                 int(bounds.width()), kNameStripHeight);
}

void DGSoundItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    DGPixmapItem::paint(painter, option, widget);
    painter->drawText(nameStrip(), Qt::TextSingleLine, m_fileName);
}

int DGSoundItem::type() const
{
    return ItemTypeSound;
}

DGPixmapItem *DGSoundItem::clone() const
{
    auto *copy = new DGSoundItem(m_pressPos, m_linkMedia, nullptr);
    copy->setPixmap(pixmap());
    ItemPlacement::placeCopy(this, this, copy, copy);
    return copy;
}
