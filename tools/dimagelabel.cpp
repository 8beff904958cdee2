#include "dimagelabel.h"

#include <QMouseEvent>
#include <QPixmap>

namespace {
constexpr int kMaxIconSide = 35;
}

DImageLabel::DImageLabel(QWidget *parent, int x, int y, const QString &image,
                         const QString &pressedImage)
    : QLabel(parent), m_image(image), m_pressedImage(pressedImage)
{
    const QPixmap pixmap = iconPixmap(m_image);
    setPixmap(pixmap);
    setGeometry(x, y, pixmap.width(), pixmap.height());
    setVisible(true);
}

QPixmap DImageLabel::iconPixmap(const QString &name)
{
    return QPixmap(QLatin1String(":/Icon/") + name)
            .scaled(kMaxIconSide, kMaxIconSide, Qt::KeepAspectRatio, Qt::FastTransformation);
}

void DImageLabel::setUpImageName(const QString &name)
{
    m_image = name;
    m_pressedImage = name;
    const QPixmap pixmap = iconPixmap(name);
    setPixmap(pixmap);
    setFixedSize(pixmap.size());
}

void DImageLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressPos = event->localPos().toPoint();
        emit signals_mousePress(this);
    }
    setPixmap(iconPixmap(m_pressedImage));
}

void DImageLabel::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        emit signals_mouseMove(this, event->localPos().toPoint() - m_pressPos);
}

void DImageLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit signals_mouseRelease(this);
    setPixmap(iconPixmap(m_image));
}
