#pragma once

#include <QGraphicsPathItem>

class DRotateItemFocus;
class DRotateItemButton;

// The frame every board object owns as a child: an empty path item (draws nothing, cannot be
// hit) that carries the rotate-and-scale handle and the five link, media and lock buttons.
class DRotateItem : public QGraphicsPathItem
{
public:
    explicit DRotateItem(QGraphicsItem *parent);
    int type() const override;
    // The handle icons at their 35 px height, loaded once: every object carries six handles.
    static QPixmap icon(const QString &resource);

    DRotateItemFocus *m_focus;
    DRotateItemButton *m_btWebLink;
    DRotateItemButton *m_btPageLink;
    DRotateItemButton *m_btFileLink;
    DRotateItemButton *m_btMedia;
    DRotateItemButton *m_btLock;
};
