#include "dscreenphoto.h"

#include "gadgetbutton.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

DScreenPhoto::DScreenPhoto(QWidget *parent) : QWidget(parent)
{
    setWindowFlags(Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    showFullScreen();
    m_bkColor = QColor(255, 255, 255, 0);
    m_screen = QGuiApplication::primaryScreen();
    if (windowHandle() && windowHandle()->screen())
        m_screen = windowHandle()->screen();
    const QSize screenSize = m_screen ? m_screen->size() : QSize(640, 480);
    setGeometry(0, 0, screenSize.width(), screenSize.height());
    move(0, 0);

    m_closeButton = GadgetButton::make(this, QStringLiteral(":/Icon/close.png"));
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->move(width() - 100, height() - 100);
    connect(m_closeButton, &QPushButton::released, this, &DScreenPhoto::bClose_mouseReleaseEv);
}

QRect DScreenPhoto::grabRegion(QPoint start, QPoint end)
{
    const QRect selection = QRect(start, end).normalized();
    // What lies inside the frame: the selection less the inset on every side. A grab of
    // negative size would mean "up to the screen's edge", so a small selection grabs nothing.
    const int width = selection.width() - 2 * kFrameInset;
    const int height = selection.height() - 2 * kFrameInset;
    if (width <= 0 || height <= 0)
        return QRect();
    return QRect(selection.x() + kFrameInset, selection.y() + kFrameInset, width, height);
}

void DScreenPhoto::clearSelection()
{
    m_start = QPoint(0, 0);
    m_end = QPoint(0, 0);
    // Painted now, while the window is still shown: a hidden window keeps its last picture
    // and shows it again on the next use, the old frame with it.
    if (isVisible())
        repaint();
}

void DScreenPhoto::bClose_mouseReleaseEv()
{
    clearSelection();
    hide();
    emit close();
}

void DScreenPhoto::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_grabbing)
        return;
    m_start = event->localPos().toPoint();
    m_end = m_start;
    event->accept();
}

void DScreenPhoto::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || m_grabbing)
        return;
    m_end = event->localPos().toPoint();
    update();
    event->accept();
}

void DScreenPhoto::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_grabbing)
        return;
    const QRect selection = QRect(m_start, event->localPos().toPoint()).normalized();
    // This window lies over what is to be captured: step aside first and let the screen
    // beneath repaint, or the grab would show our own overlay instead of the desktop.
    m_grabbing = true;
    clearSelection();
    hide();
    QTimer::singleShot(kRepaintDelayMs, this, [this, selection]() { grabAndFinish(selection); });
}

void DScreenPhoto::grabAndFinish(const QRect &selection)
{
    m_grabbing = false;
    const QRect region = grabRegion(selection.topLeft(), selection.bottomRight());
    m_pixmap = QPixmap();
    if (!region.isEmpty() && m_screen)
        m_pixmap = m_screen->grabWindow(0, region.x(), region.y(), region.width(), region.height());
    if (m_pixmap.width() > kMinimumWidth)
        emit releasePx(m_pixmap.copy(), selection.topLeft());
    bClose_mouseReleaseEv();
}

void DScreenPhoto::mouseDoubleClickEvent(QMouseEvent *) { }

void DScreenPhoto::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setBrush(QBrush(m_bkColor));
    painter.drawRect(rect());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(100, 100, 0), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(m_start, m_end).normalized());
    QWidget::paintEvent(event);
}

void DScreenPhoto::resizeEvent(QResizeEvent *) { }
