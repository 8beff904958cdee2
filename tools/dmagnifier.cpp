#include "dmagnifier.h"

#include "boardgadget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

DMagnifier::DMagnifier(QWidget *parent)
    : QWidget(parent),
      m_lensWidth(parent ? parent->height() / 5 : 0),
      m_lensHeight(m_lensWidth),
      m_factor(kStartTenths / 10.0),
      m_factorTenths(kStartTenths)
{
    setStyleSheet(QString());
    if (parent)
        setFixedSize(2 * parent->width(), 2 * parent->height());
    move(-width() / 4, -height() / 4);

    bZoomOut = createButton(QStringLiteral(":/Icon/bZoomOut.png"), 190, 100);
    bZoomIn = createButton(QStringLiteral(":/Icon/bZoomIn.png"), 145, 100);
    bClose = createButton(QStringLiteral(":/Icon/close.png"), 100, 100);
    bZoomOut->setObjectName(QStringLiteral("bZoomOut"));
    bZoomIn->setObjectName(QStringLiteral("bZoomIn"));
    bClose->setObjectName(QStringLiteral("bClose"));
    connect(bZoomOut, &QPushButton::clicked, this, &DMagnifier::bZoomOut_mouseReleaseEv);
    connect(bZoomIn, &QPushButton::clicked, this, &DMagnifier::bZoomIn_mouseReleaseEv);
    connect(bClose, &QPushButton::clicked, this, &DMagnifier::bClose_mouseReleaseEv);
    BoardGadget::placeCornerButtons(this);
    update();
}

QPushButton *DMagnifier::createButton(const QString &iconPath, int dx, int dy)
{
    return BoardGadget::makeCornerButton(this, iconPath, dx, dy);
}

void DMagnifier::setLight(bool)
{
    update();
}

void DMagnifier::setView(QWidget *view)
{
    m_view = view;
    update();
}

QRect DMagnifier::lensRect() const
{
    const QPoint centre((width() - 1) / 2, (height() - 1) / 2);
    return QRect(centre.x() - m_lensWidth / 2, centre.y() - m_lensHeight / 2, m_lensWidth,
                 m_lensHeight);
}

void DMagnifier::setFactorTenths(int tenths)
{
    m_factorTenths = qBound(kMinTenths, tenths, kMaxTenths);
    m_factor = m_factorTenths / 10.0;
    update();
}

void DMagnifier::bZoomOut_mouseReleaseEv()
{
    setFactorTenths(m_factorTenths + 1);
}

void DMagnifier::bZoomIn_mouseReleaseEv()
{
    setFactorTenths(m_factorTenths - 1);
}

void DMagnifier::bClose_mouseReleaseEv()
{
    hide();
}

void DMagnifier::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setBrush(QBrush(QColor(200, 200, 200, 60), Qt::SolidPattern));
    painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
    if (!m_view)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    paintLens(&painter);
}

void DMagnifier::paintLens(QPainter *painter)
{
    // The source is the square around the lens centre that, enlarged, just fills the lens: the
    // glass shows what lies under its centre.
    const QRect lens = lensRect();
    const QPointF lensCentre = QRectF(lens).center();
    const QPointF viewCentre = m_view->mapFromGlobal(mapToGlobal(lensCentre.toPoint()))
            + (lensCentre - lensCentre.toPoint());
    const QSizeF sourceSize(m_lensWidth / m_factor, m_lensHeight / m_factor);
    const QRectF source(viewCentre - QPointF(sourceSize.width() / 2, sourceSize.height() / 2),
                        sourceSize);
    // Only what the view holds can be shown; beyond its edges the lens keeps the veil.
    const QRect grabbed = source.toAlignedRect() & m_view->rect();
    if (grabbed.isEmpty())
        return;
    const QPixmap picture = m_view->grab(grabbed);
    const QRectF target(lens.topLeft() + (grabbed.topLeft() - source.topLeft()) * m_factor,
                        QSizeF(grabbed.size()) * m_factor);
    painter->save();
    painter->setClipRect(lens);
    painter->drawPixmap(target, picture, QRectF(picture.rect()));
    painter->restore();
}

void DMagnifier::mousePressEvent(QMouseEvent *event)
{
    BoardGadget::startDrag(this, event, m_dragOffset);
}

void DMagnifier::mouseReleaseEvent(QMouseEvent *) { }

void DMagnifier::mouseDoubleClickEvent(QMouseEvent *) { }

void DMagnifier::mouseMoveEvent(QMouseEvent *event)
{
    // The lens centre stays over the board.
    if (BoardGadget::dragTo(this, event, m_dragOffset))
        update();
}

void DMagnifier::resizeEvent(QResizeEvent *) { }

void DMagnifier::moveEvent(QMoveEvent *)
{
    BoardGadget::placeCornerButtons(this);
}

void DMagnifier::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    BoardGadget::placeCornerButtons(this); // the board's controls may have moved since
}
