#pragma once

#include <QImage>
#include <QList>
#include <QMap>
#include <QPainterPath>
#include <QPixmap>
#include <QPointF>
#include <QTransform>
#include <QVector>
#include <QWidget>

class DPage;
class DView;
class QGraphicsItem;
class QTouchEvent;

// The transparent live-ink overlay over the board view. While a freehand tool is chosen it
// shows a picture of the board, which the view renders into its canvas once per refresh
// request, draws the ink of the mouse and of every finger live on top, and hands each finished
// stroke to the page the view shows. It also runs the two lasso erasers of the multi-user mode
// and switches to the object eraser when a hand is laid flat on the screen.
class ScribbleArea : public QWidget
{
    Q_OBJECT
public:
    explicit ScribbleArea(QWidget *parent);
    ~ScribbleArea() override;

    void setDview(DView *view) { m_dview = view; }
    DView *getDview() const { return m_dview; }
    void setDpage(DPage *page) { m_dpage = page; }
    DPage *dpage() const { return m_dpage; }
    // The board picture the view renders into; the live ink lies on its own layer above it.
    QPixmap *canvas() { return &m_canvas; }
    const QPixmap &ink() const { return m_ink; }
    void pinta();
    // Hands one stroke (overlay coordinates) to the page the view shows; empty ones are skipped.
    // Returns the object it became, or null.
    QGraphicsItem *saveToPage(QVector<QPointF> *pts);
    // The board's tool before a hand was laid flat; the object eraser when none was.
    int toolBeforePalm() const { return m_toolBeforePalm; }

    // Strokes pressed and not yet released, and released ones not yet handed to the page.
    int openStrokeCount() const { return m_touchStrokes.size(); }
    int finishedStrokeCount() const { return m_finishedStrokes.size(); }
    int inputMode() const { return m_inputMode; }

signals:
    void signals_touchEvent();
    // Declared for the page list's connection, never emitted: strokes reach a page only
    // through saveToPage, so that none is committed twice.
    void signals_release(QVector<QPointF> *points);

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    enum InputMode { Idle = 0, Touching = 1, MouseStroke = 2 };
    struct Layer
    {
        QPixmap ink;
        QRect shown; // the overlay pixels it shows in; null: all
        QRectF stamped; // the texture pens: the points so far, in the stroke's scaled frame
        // A stamp pen on an enlarged board: its stamps on the scaled frame's own pixels (the
        // picture's), from frameOrigin on, shown through frameToOverlay filtered as the
        // picture is shown. Null otherwise.
        QImage frame;
        QPoint frameOrigin;
        QTransform frameToOverlay;
    };
    // A stamp pen's segment, from the stroke's last point to the next, in the stroke's scaled
    // frame, where the page stamps its picture; seen through the board's zoom and scroll.
    struct StampSegment
    {
        QPointF start; // the stroke's first point
        QPointF from;
        QPointF to;
        QTransform toOverlay;
    };
    static constexpr int kMouseId = -1;

    // Off: the toolkit merges queued pointer moves into the last, as it does by default.
    void keepEveryMotion(bool keep);
    void pressAction(int id, QPointF p);
    void moveAction(int id, QPointF p);
    void releaseAction(int id, QPointF p);
    bool touchEvent(QTouchEvent *event);
    void cancelTouches();
    void detectPalm(const QList<QPointF> &positions);
    void eraseInsideLasso(int tool, int half);
    // Hands every finished stroke to the page; returns the objects that entered it, in order.
    QList<QGraphicsItem *> commitFinished();
    void refreshCanvas();
    // After a commit: the new objects join the board picture and the live ink goes, unless
    // something else changed the board, which is then drawn afresh.
    void settleInk(const QList<QGraphicsItem *> &committed);
    bool paintOnBoard(QGraphicsItem *item);
    void clearInk();
    int strokeTool(int id) const;
    int half() const;

    // The live rules; each draws from the stroke's last point to p and keeps p.
    void drawLine(int id, QPointF p);
    void drawObject(int id, QPointF p);
    void drawSoftPen(int id, QPointF p);
    void drawBrushPen(int id, QPointF p);
    void drawRainbowPen(int id, QPointF p);
    void drawTexture(int id, QPointF p);
    StampSegment stampSegment(int id, QPointF p, const DPage &page) const;
    // Lays stamp on `again`, then along the segment: on an enlarged board on the stroke's
    // frame layer, else through the board's zoom and scroll on the live ink, or on the
    // stroke's own layer where ownLayer.
    void layStamps(int id, const StampSegment &segment, const QImage &stamp, const QPointF &again,
                   bool ownLayer);
    void paintLayer(QPainter *painter, const Layer &layer, const QRect &area) const;
    void keepPoint(int id, QPointF p, const QRect &area);
    // The stroke's own layer, made on first use.
    Layer &layer(int id);
    // A stroke no longer open: its layer's ink joins the rest of the live ink.
    void closeLayer(int id);

    QPixmap m_canvas;
    QPixmap m_ink; // live ink not yet on the page
    QRect m_inkArea; // where m_ink and the layers hold anything
    // The live ink of each open stroke in a translucent pen, laid over m_ink: a stroke drawn
    // on itself segment by segment would darken wherever its segments overlap, which the
    // stroke it becomes never does. The brush and rainbow pens draw into one too, shown only
    // over the part of their stamping that their picture will keep.
    QMap<int, Layer> m_layers;
    QPainterPath m_lassoPath; // view coordinates; shared by all touch points
    DView *m_dview = nullptr;
    DPage *m_dpage = nullptr;
    QPixmap m_softStamp;
    const QImage m_brushStamp; // the brush and rainbow pens stamp what their picture holds
    QMap<int, int> m_touchUsers;
    QMap<int, QVector<QPointF>> m_touchStrokes;
    QList<QVector<QPointF>> m_finishedStrokes;
    int m_inputMode = Idle;
    int m_touchCount = 0;
    int m_toolBeforePalm = 1; // the object eraser: no hand laid flat yet
    bool m_keepsEveryMotion = false;
};
