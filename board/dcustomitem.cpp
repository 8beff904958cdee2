#include "dcustomitem.h"

#include "boardtypes.h"
#include "dpage.h"
#include "drotateitem.h"
#include "drotateitembutton.h"
#include "drotateitemfocus.h"

#include <QGraphicsItem>

DCustomItem::DCustomItem() = default;

DCustomItem::~DCustomItem() = default;

void DCustomItem::lock(bool) { }

bool DCustomItem::isLocked() const
{
    return false;
}

QPixmap DCustomItem::toPixmap()
{
    return QPixmap();
}

void DCustomItem::changeLinks(const QString &web, const QString &page, const QString &file,
                              const QString &media)
{
    m_linkWeb = web;
    m_linkPage = page;
    m_linkFile = file;
    m_linkMedia = media;
    if (!web.isEmpty() || !page.isEmpty() || !file.isEmpty() || !media.isEmpty())
        rotateItem();
}

namespace {

void connectReleases(DRotateItem *frame, DPage *page)
{
    QObject::connect(frame->m_focus, &DRotateItemFocus::releaseBt, page, &DPage::isValidRelease);
    QObject::connect(frame->m_btPageLink, &DRotateItemButton::releaseBt, page,
                     &DPage::isValidRelease);
    QObject::connect(frame->m_btLock, &DRotateItemButton::releaseBt, page, &DPage::isValidRelease);
}

} // namespace

DRotateItem *DCustomItem::rotateItem()
{
    if (m_rotateItem || !m_frameOwner)
        return m_rotateItem;
    m_rotateItem = new DRotateItem(m_frameOwner);
    // The handles and buttons keep their size on screen.
    if (m_frameOwner->scale() > 0)
        m_rotateItem->setScale(1.0 / m_frameOwner->scale());
    m_rotateItem->m_focus->m_menu = m_frameMenu;
    connectFrame(m_rotateItem);
    if (m_frameReceiver)
        connectReleases(m_rotateItem, m_frameReceiver);
    return m_rotateItem;
}

void DCustomItem::setFrameMenu(QMenu *menu)
{
    m_frameMenu = menu;
    if (m_rotateItem)
        m_rotateItem->m_focus->m_menu = menu;
}

QMenu *DCustomItem::frameMenu() const
{
    return m_rotateItem ? m_rotateItem->m_focus->m_menu : m_frameMenu;
}

void DCustomItem::setFrameReceiver(DPage *page)
{
    m_frameReceiver = page;
    if (m_rotateItem && page)
        connectReleases(m_rotateItem, page);
}

void DCustomItem::frameMayShow(bool selected, bool locked)
{
    if (selected || locked)
        rotateItem();
}

void DCustomItem::showLockState(bool locked)
{
    if (locked)
        rotateItem();
    // The frame is laid out in paint, and the toolkit draws the picture it keeps of the object
    // again without calling paint unless the object asks for a repaint.
    if (m_frameOwner)
        m_frameOwner->update();
}

void DCustomItem::dropToolkitPictures()
{
    if (!m_frameOwner || m_frameOwner->cacheMode() != QGraphicsItem::DeviceCoordinateCache)
        return;
    // The toolkit's pictures go with its mode; set back, it draws them again when next asked.
    m_frameOwner->setCacheMode(QGraphicsItem::NoCache);
    m_frameOwner->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
}

void DCustomItem::saveTransformOf(const QGraphicsItem *item)
{
    m_savedRotation = float(item->rotation());
    m_savedScale = float(item->scale());
    m_bTransformSaved = true;
}

DCustomItem *DCustomItem::fromItem(QGraphicsItem *item)
{
    if (!item || !isBoardObjectType(item->type()))
        return nullptr;
    return dynamic_cast<DCustomItem *>(item);
}

void DCustomItem::paintRotateItem(const QRectF &rect, double scale, bool locked, bool standalone,
                                  bool selected)
{
    DRotateItem *frame = m_rotateItem;
    if (!frame)
        return;
    // The frame's path is empty, so this puts its origin on the object's centre.
    frame->setPos(rect.center() - frame->boundingRect().center());

    DRotateItemFocus *focus = frame->m_focus;
    focus->setVisible(selected && standalone && !locked);
    // The frame carries 1 / scale so the handles keep their size: offsets within the object
    // are therefore multiplied by the object's scale.
    const qreal halfHeight = rect.height() / 2 * scale;
    const QPointF focusPos(frame->boundingRect().center().x() - focus->boundingRect().center().x(),
                           -halfHeight);
    focus->setPos(focusPos);

    frame->m_btWebLink->setVisible(!m_linkWeb.isEmpty());
    frame->m_btWebLink->setPos(focusPos.x() - 25, focusPos.y());
    frame->m_btPageLink->setVisible(!m_linkPage.isEmpty());
    frame->m_btPageLink->setPos(focusPos.x() - 50, focusPos.y());
    frame->m_btFileLink->setVisible(!m_linkFile.isEmpty());
    frame->m_btFileLink->setPos(focusPos.x() + 25, focusPos.y());
    frame->m_btMedia->setVisible(!m_linkMedia.isEmpty());
    frame->m_btMedia->setPos(focusPos.x(), halfHeight - 35); // a 35 px icon inside the bottom edge
    frame->m_btLock->setVisible(locked);
    frame->m_btLock->setPos(focusPos.x() - 50, focusPos.y());
}
