#include "videowidget2.h"

#include <QKeyEvent>
#include <QMouseEvent>

VideoWidget2::VideoWidget2(QWidget *parent) : QVideoWidget(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    QPalette blackWindow = palette();
    blackWindow.setColor(QPalette::Window, Qt::black);
    setPalette(blackWindow);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VideoWidget2::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && isFullScreen()) {
        setFullScreen(false);
        event->accept();
    } else if (event->key() == Qt::Key_Enter && (event->modifiers() & Qt::AltModifier)) {
        setFullScreen(!isFullScreen());
        event->accept();
    } else {
        QVideoWidget::keyPressEvent(event);
    }
}

void VideoWidget2::mouseDoubleClickEvent(QMouseEvent *event)
{
    setFullScreen(!isFullScreen());
    event->accept();
}

void VideoWidget2::mousePressEvent(QMouseEvent *event)
{
    QVideoWidget::mousePressEvent(event);
}
