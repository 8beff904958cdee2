#pragma once

#include "dgpixmapitem.h"

// A sound file on the page (type 11): the sound icon with the file's name in a strip along its
// bottom; the frame's media button plays the file held in the media link.
class DGSoundItem : public DGPixmapItem
{
    Q_OBJECT
public:
    DGSoundItem(QPointF pos, const QString &file, QGraphicsItem *parent = nullptr);

    void lock(bool locked) override;
    bool isLocked() const override;
    void changeLinks(const QString &web, const QString &page, const QString &file,
                     const QString &media) override;
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    int type() const override;
    DGPixmapItem *clone() const override;

    // The rectangle the file name is drawn into: 20 pixels along the bottom of the bounds.
    QRect nameStrip() const;

    QString m_fileName;
};
