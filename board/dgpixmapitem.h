#pragma once

#include "dcustomitem.h"

#include "shell/btmenus.h"

#include <QGraphicsPixmapItem>
#include <QObject>

#include <memory>

class HeldPicture;

// A still picture on the page (type 7): a picture file, a gallery picture, a captured screen
// region, a filled area or a stamped pen stroke. A picture from a file is held as its file
// (HeldPicture) and drawn from the copy made for the size it shows at; a picture made on the
// board holds its pixels, as a pixmap item does.
class DGPixmapItem : public QObject, public QGraphicsPixmapItem, public DCustomItem
{
    Q_OBJECT
public:
    // A picture made on the board.
    DGPixmapItem(QPointF pos, const QPixmap &pixmap, QGraphicsItem *parent = nullptr);
    // A picture held as its file, shown over size (its pixels stretched there when they differ,
    // as a lesson may ask).
    DGPixmapItem(QPointF pos, std::shared_ptr<HeldPicture> picture, QSize size,
                 QGraphicsItem *parent = nullptr);
    ~DGPixmapItem() override;

    void lock(bool locked) override;
    bool isLocked() const override;
    void changeLinks(const QString &web, const QString &page, const QString &file,
                     const QString &media) override;
    QPixmap toPixmap() override { return pixmap(); }
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    bool contains(const QPointF &point) const override;
    QPainterPath opaqueArea() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    int type() const override;

    const std::shared_ptr<HeldPicture> &picture() const { return m_picture; }
    // The object's own size: its picture's, or what it is shown over.
    QSize pictureSize() const { return m_size; }
    // The picture at its own pixels: those made on the board, or its file decoded now (the
    // caller waits for a decoding process; a picture that cannot be shown gives a null one).
    // Hides the pixmap item's own, which a picture held as its file leaves empty.
    QPixmap pixmap() const;

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

private:
    QRectF pictureRect() const;
    // Draws the picture held as its file, as it shows over target on painter.
    void paintHeld(QPainter *painter, const QRectF &target, QWidget *widget);

    std::shared_ptr<HeldPicture> m_picture;
    QSize m_size;
};
