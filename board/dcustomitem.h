#pragma once

#include <QPixmap>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QString>

class DPage;
class DRotateItem;
class QGraphicsItem;
class QMenu;

// What every board object shares beside its graphics-item base: the frame with its handles,
// the four links with their previous values, the transform saved when a gesture starts, the
// position at the last press and the moved flag that the move recording consumes.
class DCustomItem
{
public:
    DCustomItem();
    // Virtual so that a graphics item of a board type can be cross-cast to its mix-in.
    virtual ~DCustomItem();

    virtual void lock(bool locked);
    virtual bool isLocked() const;
    virtual QPixmap toPixmap();
    virtual void changeLinks(const QString &web, const QString &page, const QString &file,
                             const QString &media);
    // Drops whatever picture of itself the object keeps (rebuilt when next painted); objects
    // that keep none have nothing to drop.
    virtual void invalidateCache() { }

    // Lays the frame's handle and buttons out around rect (the object's bounding rectangle in
    // its own coordinates); called from every object's paint.
    void paintRotateItem(const QRectF &rect, double scale, bool locked, bool standalone,
                         bool selected);

    // Saves the transform a gesture starts from (the old transform of the next TransCommand).
    void saveTransformOf(const QGraphicsItem *item);

    // The mix-in of a board object (types 2 to 12), or null for anything else.
    static DCustomItem *fromItem(QGraphicsItem *item);

    // The frame, made the first time it is asked for: a page of thousands of strokes that are
    // never selected, locked or linked would otherwise carry thousands of unused handles.
    DRotateItem *rotateItem();
    // The frame if it has been made, else null (nothing of it is shown then).
    DRotateItem *madeRotateItem() const { return m_rotateItem; }
    // The context menu the frame's handle opens, kept until the frame is made.
    void setFrameMenu(QMenu *menu);
    QMenu *frameMenu() const;
    // The page the frame's handle and buttons report their releases to, once it is made.
    void setFrameReceiver(DPage *page);

    QString m_linkWeb;
    QString m_linkPage; // target page counted from 1, as decimal text
    QString m_linkFile;
    QString m_linkMedia;
    QString m_prevLinkWeb;
    QString m_prevLinkPage;
    QString m_prevLinkFile;
    QString m_prevLinkMedia;
    float m_savedScale = 1.0f;
    float m_savedRotation = 0.0f;
    // Set when a gesture saved the transform above, cleared when a transform command takes it:
    // objects covered by the command but not turned by the gesture keep their own transform.
    bool m_bTransformSaved = false;
    QPointF m_pressPos; // the object's position (pos()) when last pressed
    bool m_bMoved = false;
    bool m_bPressOnFocus = false; // groups only: the press landed on the focus handle

protected:
    // Called by each object's constructor: the frame becomes owner's child when it is made.
    void setFrameOwner(QGraphicsItem *owner) { m_frameOwner = owner; }
    // Connects a frame just made to its object (the handle's press and the like).
    virtual void connectFrame(DRotateItem *) { }
    // Makes the frame as soon as anything of it could be shown.
    void frameMayShow(bool selected, bool locked);
    // Called by lock: the mark follows the lock at the next repaint, whoever changed it (a menu
    // entry, the lock button, an undo or redo).
    void showLockState(bool locked);
    // Drops every picture the toolkit keeps of the object, whenever what the object draws
    // changes. It keeps one for the board and one for page pictures (thumbnails) but marks only
    // one change for all of them: the board, painting first, would take it and the thumbnail
    // would go on showing the object as it was.
    void dropToolkitPictures();

private:
    QGraphicsItem *m_frameOwner = nullptr;
    DRotateItem *m_rotateItem = nullptr; // owned by the object as its child item
    QMenu *m_frameMenu = nullptr;
    QPointer<DPage> m_frameReceiver;
};
