#pragma once

#include "shell/btmenus.h"

#include <QGraphicsPixmapItem>
#include <QObject>
#include <QPoint>
#include <QPointF>

class DRotateItem;
class QMediaPlayer;

// A button on an object's frame: follows the web, page or file link, plays the media link or
// unlocks the object, on a click (press and release less than 10 pixels apart).
class DRotateItemButton : public QObject, public QGraphicsPixmapItem
{
    Q_OBJECT
public:
    DRotateItemButton(DRotateItem *frame, BtMenus::fnTypeRotateItem kind);
    ~DRotateItemButton() override;
    int type() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

    void setIcon(const QString &resource);
    static QString iconFor(BtMenus::fnTypeRotateItem kind);

    QGraphicsItem *m_item; // the board object
    DRotateItem *m_frame;
    QMediaPlayer *m_player = nullptr; // made on the first media click; owned
    BtMenus::fnTypeRotateItem m_fnType;

signals:
    void releaseBt(QPoint point, BtMenus::eStack operation);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    void click();
    void unlockObject();
    void toggleMedia(const QString &file);
    void showMediaState();
};
