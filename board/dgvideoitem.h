#pragma once

#include "dcustomitem.h"

#include "shell/btmenus.h"

#include <QGraphicsVideoItem>

// A video file on the page (type 12): a fixed 110 x 110 box with a poster frame and the file's
// name. The video plays in a window of its own, opened by the frame's media button.
class DGVideoItem : public QGraphicsVideoItem, public DCustomItem
{
    Q_OBJECT
public:
    DGVideoItem(QPointF pos, const QString &file, const QPixmap &poster = QPixmap(),
                QGraphicsItem *parent = nullptr);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    void lock(bool locked) override;
    bool isLocked() const override;
    void changeLinks(const QString &web, const QString &page, const QString &file,
                     const QString &media) override;
    int type() const override;
    QPixmap toPixmap() override { return m_poster; }

    // A copy with the same file (full path) and poster.
    DGVideoItem *clone() const;

    // What the media button does: an animated image opens in a window of its own, a video in
    // the media player (brought forward when it is open already). Returns the window.
    QWidget *showPlayer() const;

    QString m_filePath;
    QString m_fileName;
    QPointF m_pressPoint; // item coordinates: where a drag must pass the threshold from
    QPixmap m_poster;

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
