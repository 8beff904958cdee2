#pragma once

#include "dcustomitem.h"

#include "pictures/picturereading.h"
#include "shell/btmenus.h"

#include <QGraphicsProxyWidget>
#include <QPointer>

class QLabel;

// An animated image on the page: a label playing a movie, embedded in a proxy widget. It reports
// the type of a still picture (7).
class DGGifItem : public QGraphicsProxyWidget, public DCustomItem
{
    Q_OBJECT
public:
    // The label is embedded afterwards by the page factory (setWidget), which hands the proxy
    // its ownership and geometry.
    DGGifItem(QPointF pos, QLabel *label, QGraphicsItem *parent = nullptr);

    // A label playing the animation in file, its player (AnimationPlayer) started and owned by
    // the label, shown at shown when given (within the board's limits), else at the
    // animation's own size. Null when the file is no animation the board can play (one too
    // large is not decoded: pictures/picturereading.h).
    static QLabel *makeAnimation(const QString &file, QSize shown = QSize());
    // The same, of an animation read already (on another thread, say).
    static QLabel *makeAnimation(const QString &file, const PictureReading::Animation &animation,
                                 QSize shown = QSize());

    int type() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    QRectF boundingRect() const override;
    void lock(bool locked) override;
    bool isLocked() const override;
    void changeLinks(const QString &web, const QString &page, const QString &file,
                     const QString &media) override;
    QPixmap toPixmap() override;

    // The animation's file: the file of the movie on the label.
    QString fileName() const;

    // An unparented copy over this object, playing its own movie of the same file.
    DGGifItem *clone() const;

    QPointer<QLabel> m_label;

signals:
    void releaseBt(QPoint point, BtMenus::eStack operation);

public slots:
    void saveTransform();

protected:
    void connectFrame(DRotateItem *frame) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
};
