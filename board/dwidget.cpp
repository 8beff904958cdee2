#include "dwidget.h"

#include <QPainter>

DWidget::DWidget(QWidget *parent) : QWidget(parent), m_canvas(parent->width(), parent->height())
{
    setAttribute(Qt::WA_AcceptTouchEvents);
    m_canvas.fill(QColor(0, 0, 0, 5));
}

void DWidget::mousePress(QPoint point, const QPen &pen)
{
    m_points.clear();
    m_pen = pen;
    m_canvas = QPixmap(size());
    m_canvas.fill(Qt::transparent);
    m_lastPoint = point;
    m_points << QPointF(point);
}

void DWidget::mouseMove(QPoint point)
{
    m_currentPoint = point;
    QPainter painter(&m_canvas);
    painter.setPen(m_pen);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawLine(m_lastPoint, m_currentPoint);
    painter.end();
    m_cursorPos = point;
    m_lastPoint = m_currentPoint;
    update();
}

void DWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_canvas);
}
