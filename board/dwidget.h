#pragma once

#include <QList>
#include <QPen>
#include <QPixmap>
#include <QPoint>
#include <QPointF>
#include <QWidget>

// The widget laid over the board that shows where the bitmap eraser has passed: a line along
// the pointer's path. It draws nothing on the page; the page's eraser tool feeds it.
class DWidget : public QWidget
{
    Q_OBJECT
public:
    explicit DWidget(QWidget *parent);

    void mousePress(QPoint point, const QPen &pen);
    void mouseMove(QPoint point);
    void setVista(bool vista) { m_bVista = vista; }
    bool vista() const { return m_bVista; }
    const QPixmap &canvas() const { return m_canvas; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPen m_pen;
    bool m_bVista = false;
    QPoint m_lastPoint;
    QPoint m_currentPoint;
    QList<QPointF> m_points;
    QPoint m_cursorPos;
    QPixmap m_canvas;
};
