#pragma once

#include "board/dcustomitem.h"
#include "shell/btmenus.h"

#include <QGraphicsRectItem>
#include <QList>
#include <QObject>
#include <QPen>
#include <QPoint>
#include <QWidget>

#include <memory>

class DGPathCurveItem;
class DGPathVertexItem;
class DPage;
class DView;
class QImage;
class QPainterPath;

namespace BoardFixture {

constexpr int kBoardWidth = 1024;
constexpr int kBoardHeight = 768;

// The board as the page list builds it: a parent window of fixed size holding the single view,
// and pages made for that view. The board owns its pages; the first one is shown.
class Board
{
public:
    explicit Board(int pageCount = 1);
    ~Board();

    DPage *newPage(int pageType = 0); // 0 colour (white), 3 transparent
    // Switches the view to page index as the page list does (remember, show, restore).
    void selectPage(int index);
    DPage *page(int index) const { return m_pages.at(index); }
    DPage *current() const;
    DView *view() const { return m_view; }
    QWidget *window() const { return m_window.get(); }

private:
    std::unique_ptr<QWidget> m_window;
    DView *m_view;
    QList<DPage *> m_pages;
};

// A plain rectangle that keeps the board-object contract (frame, links, lock, move report):
// lets the frame and the recording be exercised apart from any object kind.
class RectObject : public QObject, public QGraphicsRectItem, public DCustomItem
{
    Q_OBJECT
public:
    explicit RectObject(const QRectF &rect, int type = 7);
    int type() const override { return m_type; }
    void lock(bool locked) override;
    bool isLocked() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

public slots:
    void saveTransform() { saveTransformOf(this); }

signals:
    void releaseBt(QPoint point, BtMenus::eStack operation);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    int m_type;
};

// Puts a RectObject on the page wired as the factories wire objects.
RectObject *addRect(DPage *page, const QRectF &rect, const QPointF &pos);

// A path object placed at pos with its release reports wired; recorded as an addition when
// record is true (the command adds it), else added directly.
DGPathCurveItem *addCurve(DPage *page, const QPainterPath &path, const QPointF &pos,
                          BtMenus::btType kind = BtMenus::btPencil, bool record = false,
                          const QPen &pen = QPen(Qt::black, 4));
DGPathVertexItem *addVertex(DPage *page, const QPainterPath &path, const QPointF &pos);
// A freehand-like stroke of count points inside a box of size x size from its start.
QPainterPath stroke(int count, qreal size, quint32 seed);

// What the page shows of area (scene coordinates) at the page's own scale, drawn on white.
QImage shownArea(DPage *page, const QRectF &area);
// The scene area the items cover, margin wider all round (room for antialiased edges).
QRect sceneArea(const QList<QGraphicsItem *> &items, int margin);

} // namespace BoardFixture
