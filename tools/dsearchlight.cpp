#include "dsearchlight.h"

#include "boardgadget.h"
#include "gadgetbutton.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace {
QSize boardSize(const QWidget *parent)
{
    if (parent)
        return parent->size();
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(640, 480);
}
} // namespace

DSearchlight::DSearchlight(QWidget *parent)
    : QWidget(parent),
      m_color(0, 85, 120, 254),
      m_dragOffset(0, 0),
      m_holeWidth(kHoleStart),
      m_holeHeight(kHoleStart),
      m_rectHole(false)
{
    setFixedSize(boardSize(parent) * 2);
    move(-width() / 4, -height() / 4);

    bZoomOut = createButton(QStringLiteral(":/Icon/bZoomOut.png"), 190, 100);
    bZoomIn = createButton(QStringLiteral(":/Icon/bZoomIn.png"), 145, 100);
    bSelectRect = createButton(QStringLiteral(":/Icon/baRect.png"), 280, 100);
    bSelectEllipse = createButton(QStringLiteral(":/Icon/baCircle.png"), 235, 100);
    bClose = createButton(QStringLiteral(":/Icon/close.png"), 100, 100);
    bZoomOut->setObjectName(QStringLiteral("bZoomOut"));
    bZoomIn->setObjectName(QStringLiteral("bZoomIn"));
    bSelectRect->setObjectName(QStringLiteral("bSelectRect"));
    bSelectEllipse->setObjectName(QStringLiteral("bSelectEllipse"));
    bClose->setObjectName(QStringLiteral("bClose"));
    connect(bZoomOut, &QPushButton::clicked, this, &DSearchlight::bZoomOut_mouseReleaseEv);
    connect(bZoomIn, &QPushButton::clicked, this, &DSearchlight::bZoomIn_mouseReleaseEv);
    connect(bSelectRect, &QPushButton::clicked, this, &DSearchlight::bSelectRect_mouseReleaseEv);
    connect(bSelectEllipse, &QPushButton::clicked, this,
            &DSearchlight::bSelectEllipse_mouseReleaseEv);
    connect(bClose, &QPushButton::clicked, this, &DSearchlight::bClose_mouseReleaseEv);

    bSelectEllipse->setStyleSheet(QLatin1String(GadgetButton::kSelectedStyle));
    setLight(false);
    BoardGadget::placeCornerButtons(this);
    setStyleSheet(QString());
}

QPushButton *DSearchlight::createButton(const QString &iconPath, int dx, int dy)
{
    return BoardGadget::makeCornerButton(this, iconPath, dx, dy);
}

void DSearchlight::setLight(bool rect)
{
    QPixmap cover(size());
    cover.fill(m_color);
    {
        QPainter painter(&cover);
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
        const QRect hole((width() - m_holeWidth) / 2, (height() - m_holeHeight) / 2, m_holeWidth,
                         m_holeHeight);
        // A hole of size zero draws nothing at all (a zero-sized rectangle would still leave
        // its one-pixel outline clear).
        if (!hole.isEmpty()) {
            if (rect)
                painter.drawRect(hole);
            else
                painter.drawEllipse(hole);
        }
    }
    QPalette palette;
    palette.setBrush(QPalette::All, backgroundRole(), QBrush(cover));
    setAutoFillBackground(true);
    setPalette(palette);
}

void DSearchlight::setHoleSize(int side)
{
    // Below zero the painter would draw the mirrored shape and the hole would grow again; above
    // the cover's own size there is nothing more to uncover.
    const int bounded = qBound(0, side, qMin(width(), height()));
    m_holeWidth = bounded;
    m_holeHeight = bounded;
    setLight(m_rectHole);
}

void DSearchlight::bZoomOut_mouseReleaseEv()
{
    setHoleSize(m_holeWidth + kHoleStep);
}

void DSearchlight::bZoomIn_mouseReleaseEv()
{
    setHoleSize(m_holeWidth - kHoleStep);
}

void DSearchlight::bSelectRect_mouseReleaseEv()
{
    m_rectHole = true;
    bSelectRect->setStyleSheet(QLatin1String(GadgetButton::kSelectedStyle));
    bSelectEllipse->setStyleSheet(QLatin1String(GadgetButton::kNormalStyle));
    setLight(true);
}

void DSearchlight::bSelectEllipse_mouseReleaseEv()
{
    m_rectHole = false;
    bSelectEllipse->setStyleSheet(QLatin1String(GadgetButton::kSelectedStyle));
    bSelectRect->setStyleSheet(QLatin1String(GadgetButton::kNormalStyle));
    setLight(false);
}

void DSearchlight::bClose_mouseReleaseEv()
{
    hide();
}

void DSearchlight::mousePressEvent(QMouseEvent *event)
{
    BoardGadget::startDrag(this, event, m_dragOffset);
}

void DSearchlight::mouseMoveEvent(QMouseEvent *event)
{
    // The hole's centre never leaves the board.
    BoardGadget::dragTo(this, event, m_dragOffset);
}

void DSearchlight::moveEvent(QMoveEvent *)
{
    BoardGadget::placeCornerButtons(this);
}

// Releases and double clicks end on the cover: they must not reach the board beneath.
void DSearchlight::mouseReleaseEvent(QMouseEvent *) { }
void DSearchlight::mouseDoubleClickEvent(QMouseEvent *) { }
// The background brush, a picture of the cover with its hole, is all there is to draw.
void DSearchlight::paintEvent(QPaintEvent *) { }
void DSearchlight::resizeEvent(QResizeEvent *) { }
