#pragma once

#include "dcustomitem.h"

#include "shell/btmenus.h"

#include <QGraphicsPixmapItem>
#include <QObject>

// A still picture on the page (type 7): a picture file, a gallery picture, a captured screen
// region, a filled area or a stamped pen stroke.
class DGPixmapItem : public QObject, public QGraphicsPixmapItem, public DCustomItem
{
    Q_OBJECT
public:
    DGPixmapItem(QPointF pos, const QPixmap &pixmap, QGraphicsItem *parent = nullptr);

    void lock(bool locked) override;
    bool isLocked() const override;
    void changeLinks(const QString &web, const QString &page, const QString &file,
                     const QString &media) override;
    QPixmap toPixmap() override { return pixmap(); }
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    int type() const override;

    // An unparented copy lying exactly over this object, without its links.
    virtual DGPixmapItem *clone() const;

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
};
