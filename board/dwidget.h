#pragma once

#include <QList>
#include <QPen>
#include <QPixmap>
#include <QPoint>
#include <QPointF>
#include <QWidget>

// The widget laid over the board that shows where the eraser has passed: a line along the
// pointer's path with the eraser's picture following the pointer. It draws nothing on the page
// and takes no mouse input (the board under it keeps receiving the presses); the page's eraser
// tools feed it.
class DWidget : public QWidget
{
    Q_OBJECT
public:
    explicit DWidget(QWidget *parent);

    // Starts a fresh trail at point (widget coordinates) drawn with pen.
    void mousePress(QPoint point, const QPen &pen);
    // Extends the trail to point and moves the eraser picture there.
    void mouseMove(QPoint point);
    void setVista(bool vista) { m_bVista = vista; }
    bool vista() const { return m_bVista; }
    const QPixmap &canvas() const { return m_canvas; }
    QPoint cursorPos() const { return m_cursorPos; }
    const QPixmap &eraserImage() const { return m_eraserImage; }

    // Stamp variants of the move, as the overlay's stamp pens draw: the texture every 30
    // pixels, the nib, the brush texture and the rainbow (the brush texture again).
    void mouseMoveDrawObject(QPoint point);
    void mouseMoveDrawSoftPen(QPoint point);
    void mouseMoveDrawBrushPen(QPoint point);
    void mouseMoveDrawRainbowPen(QPoint point);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void stampTo(QPoint point, const QPixmap &stamp);

    QPen m_pen;
    bool m_bVista = false;
    QPoint m_lastPoint;
    QPoint m_currentPoint;
    QList<QPointF> m_points;
    QPoint m_cursorPos;
    QPixmap m_softStamp;
    QPixmap m_eraserImage;
    QPixmap m_canvas;
    QPixmap m_brushStamp;
};
