#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>

// The board's clock, laid over the board. It reports every left-button release so the view can
// tell when it was dropped on the recycle bin.
class DClock : public QWidget
{
    Q_OBJECT
public:
    explicit DClock(QWidget *parent);

signals:
    void releaseClock(QPoint point); // in the parent's coordinates

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QTimer m_tick;
    QPoint m_grabOffset;
};
