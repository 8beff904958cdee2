#pragma once

#include "dcustomitem.h"

#include "shell/btmenus.h"

#include <QGraphicsItemGroup>
#include <QObject>

// A group object (type 10): binds board objects so that they are selected, moved, turned,
// scaled, locked, linked and copied as one. As a graphics group it receives the mouse events of
// all its children, its own frame's handle and buttons included, so it routes those itself.
class DGItemGroup : public QObject, public QGraphicsItemGroup, public DCustomItem
{
    Q_OBJECT
public:
    explicit DGItemGroup(QGraphicsItem *parent = nullptr);

    void lock(bool locked) override;
    bool isLocked() const override;
    void changeLinks(const QString &web, const QString &page, const QString &file,
                     const QString &media) override;
    // The members' rectangles only: the frame and its handles never widen the group.
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    int type() const override;

    // The members keep their place on screen as they join or leave.
    void addMember(QGraphicsItem *item);
    void removeMember(QGraphicsItem *item);
    // The board objects inside (its frame left out).
    QList<QGraphicsItem *> members() const;

    // A new, unparented group lying exactly over this one, with copies of its members; links
    // are not copied. Not yet on a page.
    DGItemGroup *clone() const;
    // Copies each member of source into target, each where it lies within source.
    static void cloneChildren(DGItemGroup *target, const QGraphicsItem *source);
    // A copy of any board object by its own class (a group's members copied too), unparented,
    // with the source's position, origin, turn, scale and flags: the copy shows exactly where
    // the source shows while both have the same parent. Null for anything else.
    static QGraphicsItem *cloneObject(const QGraphicsItem *source);

signals:
    void releaseBt(QPoint point, BtMenus::eStack operation);

public slots:
    void saveTransform();

protected:
    void connectFrame(DRotateItem *frame) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    void refreshBounds();
    // The visible frame button whose scene rectangle holds point, or null.
    bool buttonHolds(QGraphicsItem *button, QPointF point) const;
    QRectF m_bounds;
};
