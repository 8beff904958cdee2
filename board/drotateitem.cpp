#include "drotateitem.h"

#include "boardtypes.h"
#include "drotateitembutton.h"
#include "drotateitemfocus.h"

#include "shell/btmenus.h"

#include <QHash>

DRotateItem::DRotateItem(QGraphicsItem *parent) : QGraphicsPathItem(parent)
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    setCacheMode(DeviceCoordinateCache);
    m_focus = new DRotateItemFocus(this);
    m_btWebLink = new DRotateItemButton(this, BtMenus::fnWebLink);
    m_btPageLink = new DRotateItemButton(this, BtMenus::fnPageLink);
    m_btFileLink = new DRotateItemButton(this, BtMenus::fnFileLink);
    m_btMedia = new DRotateItemButton(this, BtMenus::fnMedia);
    m_btLock = new DRotateItemButton(this, BtMenus::fnLock);
    for (DRotateItemButton *button :
         { m_btWebLink, m_btPageLink, m_btFileLink, m_btMedia, m_btLock })
        button->setIcon(DRotateItemButton::iconFor(button->m_fnType));
    m_focus->hide();
    for (DRotateItemButton *button :
         { m_btWebLink, m_btPageLink, m_btFileLink, m_btMedia, m_btLock })
        button->hide();
}

QPixmap DRotateItem::icon(const QString &resource)
{
    static QHash<QString, QPixmap> loaded;
    auto found = loaded.constFind(resource);
    if (found != loaded.constEnd())
        return found.value();
    QPixmap pixmap(resource);
    if (!pixmap.isNull())
        pixmap = pixmap.scaledToHeight(35, Qt::FastTransformation);
    loaded.insert(resource, pixmap);
    return pixmap;
}

int DRotateItem::type() const
{
    return ItemTypeHandle;
}
