#pragma once

#include "shell/btmenus.h"

#include <QGraphicsPixmapItem>
#include <QObject>
#include <QPoint>
#include <QPointF>

class DRotateItem;
class QMenu;

// The rotate-and-scale handle on an object's frame: dragging it turns and scales the object in
// one gesture and reports a transform; a click opens the object's context menu.
class DRotateItemFocus : public QObject, public QGraphicsPixmapItem
{
    Q_OBJECT
public:
    explicit DRotateItemFocus(DRotateItem *frame);
    int type() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    void changePixmap(const QPixmap &pixmap);

    QPointF m_center; // object coordinates, at the last press
    QPointF m_sceneCenter;
    double m_startRotation = 0;
    QGraphicsItem *m_item; // the board object
    DRotateItem *m_frame;
    double m_startDistance = 0;
    bool m_bMoved = false;
    QMenu *m_menu = nullptr; // the object's context menu, set by the page factories
    bool m_bReshaped = false; // a vertex drag changed the path since the last press

signals:
    void releaseBt(QPoint point, BtMenus::eStack operation);
    void restorePx();
    void pressBt();

protected:
    // A group receives its frame's events and hands the handle's gesture on to it.
    friend class DGItemGroup;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    QPointF m_pressScenePos;
};
