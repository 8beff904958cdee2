#include "dclock.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTime>

DClock::DClock(QWidget *parent) : QWidget(parent)
{
    resize(200, 80);
    connect(&m_tick, &QTimer::timeout, this, QOverload<>::of(&QWidget::update));
    m_tick.start(1000);
}

void DClock::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(58, 58, 58, 240));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(rect(), 6, 6);
    QFont font = painter.font();
    font.setPixelSize(height() / 2);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter,
                     QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
}

void DClock::mousePressEvent(QMouseEvent *event)
{
    m_grabOffset = event->pos();
}

void DClock::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        move(mapToParent(event->pos()) - m_grabOffset);
}

void DClock::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit releaseClock(mapToParent(event->pos()));
}
