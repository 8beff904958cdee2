#include "drotateitembutton.h"

#include "boardtypes.h"
#include "dcustomitem.h"
#include "dgvideoitem.h"
#include "dpage.h"
#include "drotateitem.h"

#include <QDesktopServices>
#include <QGraphicsSceneMouseEvent>
#include <QLineF>
#include <QMediaPlayer>
#include <QStyleOptionGraphicsItem>
#include <QUrl>

namespace {

struct ButtonIcon
{
    BtMenus::fnTypeRotateItem kind;
    const char *resource;
};
// clang-format off
constexpr ButtonIcon kButtonIcons[] = {
    { BtMenus::fnWebLink,  ":/Icon/Linker.png" },
    { BtMenus::fnPageLink, ":/Icon/gotoFile.png" },
    { BtMenus::fnFileLink, ":/Icon/externFile.png" },
    { BtMenus::fnLock,     ":/Icon/Lock.png" },
    { BtMenus::fnMedia,    ":/Icon/PlaySound1.png" },
};
// clang-format on
const char *const kMediaStopIcon = ":/Icon/baVideoStop.png";

} // namespace

DRotateItemButton::DRotateItemButton(DRotateItem *frame, BtMenus::fnTypeRotateItem kind)
    : QGraphicsPixmapItem(frame), m_item(frame->parentItem()), m_frame(frame), m_fnType(kind)
{
    setFlags(ItemIsSelectable | ItemSendsGeometryChanges);
}

DRotateItemButton::~DRotateItemButton()
{
    if (m_player) {
        disconnect(m_player, nullptr, this, nullptr); // no icon for a button that goes
        m_player->stop();
        delete m_player;
    }
}

int DRotateItemButton::type() const
{
    return ItemTypeHandle;
}

QString DRotateItemButton::iconFor(BtMenus::fnTypeRotateItem kind)
{
    for (const ButtonIcon &icon : kButtonIcons) {
        if (icon.kind == kind)
            return QString::fromLatin1(icon.resource);
    }
    return QString();
}

void DRotateItemButton::setIcon(const QString &resource)
{
    setPixmap(DRotateItem::icon(resource));
}

void DRotateItemButton::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                              QWidget *widget)
{
    QStyleOptionGraphicsItem plain(*option);
    plain.state &= ~QStyle::State_Selected;
    QGraphicsPixmapItem::paint(painter, &plain, widget);
}

void DRotateItemButton::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_item->setTransformOriginPoint(m_item->boundingRect().center());
    QGraphicsPixmapItem::mousePressEvent(event);
    m_item->setSelected(true);
}

void DRotateItemButton::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    m_item->setSelected(true);
    const QPointF pressPos = event->buttonDownScenePos(Qt::LeftButton);
    if (QLineF(pressPos, event->scenePos()).length() < 10.0)
        click();
    QGraphicsPixmapItem::mouseReleaseEvent(event);
    m_item->setSelected(true);
}

void DRotateItemButton::click()
{
    DCustomItem *object = DCustomItem::fromItem(m_item);
    if (!object)
        return;
    switch (m_fnType) {
    case BtMenus::fnWebLink:
        QDesktopServices::openUrl(QUrl(object->m_linkWeb, QUrl::TolerantMode));
        break;
    case BtMenus::fnPageLink: {
        const int page = object->m_linkPage.toInt(); // 0 when not a number
        emit releaseBt(QPoint(page - 1, 0), BtMenus::stGoToPage);
        break;
    }
    case BtMenus::fnFileLink:
        QDesktopServices::openUrl(QUrl::fromLocalFile(object->m_linkFile));
        break;
    case BtMenus::fnLock:
        unlockObject();
        break;
    case BtMenus::fnMedia:
        // A video plays in a window of its own; other objects play their sound link here.
        if (auto *video =
                    m_item->type() == ItemTypeVideo ? dynamic_cast<DGVideoItem *>(m_item) : nullptr)
            video->showPlayer();
        else
            toggleMedia(object->m_linkMedia);
        break;
    }
}

void DRotateItemButton::unlockObject()
{
    // Recorded for this object alone: the page's valid selection leaves locked objects out.
    if (auto *page = dynamic_cast<DPage *>(m_item->scene()))
        page->recordOperation(BtMenus::stUnlock, { m_item }, nullptr);
}

void DRotateItemButton::toggleMedia(const QString &file)
{
    if (!m_player) {
        m_player = new QMediaPlayer;
        m_player->setMedia(QUrl::fromLocalFile(file));
        m_player->setVolume(50);
        // The button shows what a press will do: stop while the sound plays, play again once
        // it has ended, was stopped or could not be played.
        connect(m_player, &QMediaPlayer::stateChanged, this, &DRotateItemButton::showMediaState);
    }
    if (m_player->state() != QMediaPlayer::StoppedState) {
        m_player->stop();
    } else {
        m_player->setMedia(QUrl::fromLocalFile(file));
        m_player->play();
    }
    showMediaState();
}

void DRotateItemButton::showMediaState()
{
    const bool playing = m_player && m_player->state() != QMediaPlayer::StoppedState;
    setIcon(playing ? QString::fromLatin1(kMediaStopIcon) : iconFor(BtMenus::fnMedia));
}
