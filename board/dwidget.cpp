#include "dwidget.h"

#include <QLineF>
#include <QPainter>

DWidget::DWidget(QWidget *parent)
    : QWidget(parent),
      m_eraserImage(QPixmap(QStringLiteral(":/borrador.gif"))
                            .scaled(100, 100, Qt::KeepAspectRatio, Qt::FastTransformation)),
      m_canvas(parent->width(), parent->height()),
      m_brushStamp(QPixmap(QStringLiteral(":/texture/mobi.png"))
                           .scaled(20, 20, Qt::IgnoreAspectRatio, Qt::FastTransformation))
{
    setAttribute(Qt::WA_AcceptTouchEvents);
    // Only a picture of the eraser's path: a press must reach the board beneath, or the board
    // would stop answering while a finished trail is still shown.
    setAttribute(Qt::WA_TransparentForMouseEvents);
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

void DWidget::stampTo(QPoint point, const QPixmap &stamp)
{
    m_currentPoint = point;
    const QPointF nib(10, 10);
    const QPointF from(m_lastPoint);
    const QPointF to(point);
    const qreal length = QLineF(from, to).length();
    QPainter painter(&m_canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPixmap(to - nib, stamp);
    for (int i = 0; i < length; ++i)
        painter.drawPixmap(from + (i / length) * (to - from) - nib, stamp);
    painter.end();
    m_lastPoint = point;
    update();
}

void DWidget::mouseMoveDrawObject(QPoint point)
{
    if (!(QLineF(m_lastPoint, point).length() > 30.0))
        return;
    m_currentPoint = point;
    QPainter painter(&m_canvas);
    painter.drawPixmap(QPointF(point) - QPointF(10, 10), m_brushStamp);
    painter.end();
    m_lastPoint = point;
    update();
}

void DWidget::mouseMoveDrawSoftPen(QPoint point)
{
    m_softStamp = QPixmap(3, 20);
    m_softStamp.fill(m_pen.color());
    stampTo(point, m_softStamp);
}

void DWidget::mouseMoveDrawBrushPen(QPoint point)
{
    stampTo(point, m_brushStamp);
}

void DWidget::mouseMoveDrawRainbowPen(QPoint point)
{
    mouseMoveDrawBrushPen(point);
}

void DWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_canvas);
    // The eraser picture centred on the pointer. (No marker dot: the trail is all it shows.)
    painter.drawPixmap(m_cursorPos - m_eraserImage.rect().center(), m_eraserImage);
}
