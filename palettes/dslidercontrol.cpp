#include "dslidercontrol.h"

#include <QMouseEvent>
#include <QPainter>

DSliderControl::DSliderControl(QWidget *parent) : QWidget(parent)
{
    setValue(2.0f);
}

void DSliderControl::setValue(float value)
{
    m_pos = value / kFullScale;
    update();
}

float DSliderControl::value() const
{
    return kFullScale * m_pos;
}

void DSliderControl::mousePressEvent(QMouseEvent *event)
{
    updateSliderPos(event);
    QWidget::mousePressEvent(event);
}

void DSliderControl::mouseReleaseEvent(QMouseEvent *event)
{
    updateSliderPos(event);
    QWidget::mouseReleaseEvent(event);
}

void DSliderControl::mouseMoveEvent(QMouseEvent *event)
{
    updateSliderPos(event);
    QWidget::mouseMoveEvent(event);
}

void DSliderControl::updateSliderPos(QMouseEvent *event)
{
    const int x = event->x();
    // The left edge and anything outside the widget keep the value, so a drag past either end
    // leaves the last width chosen inside.
    if (x > 0 && x <= width() - 1)
        setValue(float(x) / float(width()) * kFullScale);
    emit valueChanged(int(value()));
    update();
}

void DSliderControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int w = width();
    const int c = height() / 2;

    // Two rows of track; the upper one is drawn twice, which deepens it under antialiasing.
    painter.setPen(QPen(QColor(224, 224, 224), 1));
    painter.drawLine(0, c - 1, w, c - 1);
    painter.drawLine(0, c, w, c);
    painter.drawLine(0, c - 1, w, c - 1);

    const int filledEnd = int(float(w) * m_pos);
    painter.setPen(QPen(QColor(33, 150, 243), 1));
    painter.drawLine(0, c - 1, filledEnd, c - 1);
    painter.drawLine(0, c, filledEnd, c);
    painter.drawLine(0, c - 1, filledEnd, c - 1);

    const int diameter = c;
    const QColor knob(153, 153, 153);
    painter.setPen(QPen(knob, 1));
    painter.setBrush(knob);
    painter.drawEllipse(QRect(int(float(w - diameter) * m_pos),
                              int(float(c) - 0.5f * float(diameter)), diameter, diameter));
}
