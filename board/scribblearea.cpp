#include "scribblearea.h"

#include "dview.h"

#include <QPainter>

ScribbleArea::ScribbleArea(QWidget *parent)
    : QWidget(parent), m_canvas(parent->width(), parent->height())
{
    setAttribute(Qt::WA_AcceptTouchEvents);
    m_canvas.fill(QColor(0, 0, 0, 0));
}

void ScribbleArea::pinta()
{
    m_canvas = QPixmap(m_canvas.size());
    m_canvas.fill(QColor(0, 0, 0, 0));
}

void ScribbleArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_canvas);
}

void ScribbleArea::showEvent(QShowEvent *event)
{
    m_canvas.fill(QColor(0, 0, 0, 0)); // the view renders the board into it on its next paint
    QWidget::showEvent(event);
}

void ScribbleArea::hideEvent(QHideEvent *event)
{
    if (m_dview)
        m_dview->m_bRefreshOverlay = true;
    QWidget::hideEvent(event);
}
