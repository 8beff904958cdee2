#pragma once

#include "shell/btmenus.h"

#include "recognition/shaperectst.h"

#include <QGraphicsScene>
#include <QPainterPath>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QUndoStack>

class DView;
class QHandwritingCustomSupport;
class QUndoCommand;
class QXmlStreamWriter;

// One page of the open document: the scene that holds the page's board objects, its own undo
// history and recognisers. A single DView shows one page at a time by switching its scene.
class DPage : public QGraphicsScene
{
    Q_OBJECT
public:
    DPage(DView *view, QWidget *parent);
    ~DPage() override;

    // Hides the scene's own addItem: every board object enters here and so gets the next z
    // value of the page. Call it through a DPage, never through a plain scene pointer.
    virtual void addItem(QGraphicsItem *item);

    bool isModified() const { return m_bModified; }
    void setModified(bool modified) { m_bModified = modified; }
    float zoom() const { return m_zoom; }
    float zCounter() const { return m_zCounter; }
    QPointF savedCenter() const { return m_savedCenter; }
    int pageType() const { return m_pageType; }
    void setPageType(int type) { m_pageType = type; }
    bool isTransparent() const { return m_bTransparent; }
    void setTransparent(bool transparent) { m_bTransparent = transparent; }
    DView *view() const { return m_view; }
    QUndoStack *undoStack() { return &m_undoStack; }
    recog &recogniser() { return m_recog; }
    QHandwritingCustomSupport *handwriting() const { return m_handwriting; }
    const QString &recogChars() const { return m_recogChars; }

    QPixmap getPagePixmap(int withBackground);
    // Writes this page as page n of an IWB document (board/pagewriter.h); returns what failed.
    QStringList savePageDataToIWB(QXmlStreamWriter &stream, const QString &dir, int n);

    // Undo recording: builds the command for op over items (or adds the single item) and
    // pushes it; always marks the page modified.
    void recordOperation(BtMenus::eStack op, const QList<QGraphicsItem *> &items,
                         QGraphicsItem *item);
    QUndoCommand *getCommand(BtMenus::eStack op, QGraphicsItem *item,
                             const QList<QGraphicsItem *> &items);
    // The objects an operation may act on: board objects (types 2 to 12) that are selected
    // (or all of them), not locked and not inside a group.
    QList<QGraphicsItem *> validItems(bool all) const;

public slots:
    void setPageBackgroundColor(const QColor &colour);
    void zoomPage(float factor);
    void zoomToScale();
    void saveCurPos();
    void moveToPos();
    void dragPage();
    void moveBackPage();
    void setUndo();
    void setRedo();
    void isValidRelease(QPoint point, BtMenus::eStack op);
    void deleteObj();
    void lockObj();

signals:
    void goToPage(int page);
    void updateRes();
    void selectBt(BtMenus::btType tool);

protected:
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;

public:
    // The last object each factory made; m_pDrawItem is also the shape being drawn.
    QGraphicsItem *m_pGroupItem = nullptr;
    QGraphicsItem *m_pDrawItem = nullptr;
    QGraphicsItem *m_pTextItem = nullptr;
    QGraphicsItem *m_pPixmapItem = nullptr;
    QGraphicsItem *m_pGifItem = nullptr;
    QGraphicsItem *m_pSoundItem = nullptr;
    QGraphicsItem *m_pVideoItem = nullptr;
    QPainterPath m_path; // the polygon being drawn
    QPainterPath m_eraserPath;
    bool m_bPolygon = false;

private:
    QWidget *m_parent;
    QHandwritingCustomSupport *m_handwriting = nullptr; // child of the page
    bool m_bModified = false;
    float m_zoom = 1.0f;
    float m_zCounter = 0.0f;
    QPointF m_savedCenter;
    recog m_recog; // loads no engine until a conversion asks for one
    QString m_recogChars;
    DView *m_view;
    int m_pageType;
    bool m_bTransparent = false;
    // A member, not a QObject child: children die after ~QGraphicsScene has deleted the items
    // the commands point to. It is cleared explicitly first in the destructor.
    QUndoStack m_undoStack;
};
