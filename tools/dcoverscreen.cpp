#include "dcoverscreen.h"

#include "dimagelabel.h"
#include "gadgetbutton.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

DCoverScreen::DCoverScreen(QWidget *parent)
    : QWidget(parent), m_color(0, 85, 120, 255), m_dragOffset(0, 0)
{
    setGeometry(0, 0, parent ? parent->width() : 640, parent ? parent->height() : 480);

    bTop = new DImageLabel(this, 0, 0, QStringLiteral("Curtain_Top.png"),
                           QStringLiteral("Curtain_Top.png"));
    bRight = new DImageLabel(this, 0, 0, QStringLiteral("Curtain_Right.png"),
                             QStringLiteral("Curtain_Right.png"));
    bBottom = new DImageLabel(this, 0, 0, QStringLiteral("Curtain_Bottom.png"),
                              QStringLiteral("Curtain_Bottom.png"));
    bLeft = new DImageLabel(this, 0, 0, QStringLiteral("Curtain_Left.png"),
                            QStringLiteral("Curtain_Left.png"));
    bSelectColor = createButton(QString(), 145, 100);
    bSelectColor->setObjectName(QStringLiteral("bSelectColor"));
    bClose = createButton(QStringLiteral(":/Icon/close.png"), 100, 100);
    bClose->setObjectName(QStringLiteral("bClose"));
    bTop->setObjectName(QStringLiteral("bTop"));
    bRight->setObjectName(QStringLiteral("bRight"));
    bBottom->setObjectName(QStringLiteral("bBottom"));
    bLeft->setObjectName(QStringLiteral("bLeft"));

    connect(bTop, &DImageLabel::signals_mouseMove, this, &DCoverScreen::bTop_mouseMoveEv);
    connect(bRight, &DImageLabel::signals_mouseMove, this, &DCoverScreen::bRight_mouseMoveEv);
    connect(bBottom, &DImageLabel::signals_mouseMove, this, &DCoverScreen::bBottom_mouseMoveEv);
    connect(bLeft, &DImageLabel::signals_mouseMove, this, &DCoverScreen::bLeft_mouseMoveEv);
    connect(bSelectColor, &QPushButton::clicked, this, &DCoverScreen::bSelectColor_mouseReleaseEv);
    connect(bClose, &QPushButton::clicked, this, &DCoverScreen::bClose_mouseReleaseEv);
}

QPushButton *DCoverScreen::createButton(const QString &iconPath, int dx, int dy)
{
    // The first place is provisional: every resize lays the buttons out again.
    QPushButton *button = GadgetButton::make(this, iconPath);
    button->move(width() - dx, height() - dy);
    return button;
}

void DCoverScreen::resizeEvent(QResizeEvent *)
{
    const int w = width();
    const int h = height();
    // Centred by 20 px rather than by half an icon: the icons are at most 35 px.
    bTop->move(w / 2 - 20, 0);
    bRight->move(w - 20, h / 2 - 20);
    bBottom->move(w / 2 - 20, h - 20);
    bLeft->move(0, h / 2 - 20);
    bSelectColor->move(w - 145, h - 100);
    bSelectColor->setText(QStringLiteral("T"));
    bClose->move(w - 100, h - 100);
}

void DCoverScreen::bTop_mouseMoveEv(DImageLabel *, QPoint movepos)
{
    // The top edge follows the pointer while the bottom edge stays where it is.
    const int dy = qMin(movepos.y(), height() - kMinimumSide);
    move(x(), y() + dy);
    setFixedHeight(height() - dy);
}

void DCoverScreen::bRight_mouseMoveEv(DImageLabel *, QPoint movepos)
{
    setFixedWidth(qMax(width() + movepos.x(), kMinimumSide));
}

void DCoverScreen::bBottom_mouseMoveEv(DImageLabel *, QPoint movepos)
{
    setFixedHeight(qMax(height() + movepos.y(), kMinimumSide));
}

void DCoverScreen::bLeft_mouseMoveEv(DImageLabel *, QPoint movepos)
{
    const int dx = qMin(movepos.x(), width() - kMinimumSide);
    move(x() + dx, y());
    setFixedWidth(width() - dx);
}

void DCoverScreen::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragOffset = event->globalPos() - frameGeometry().topLeft();
    event->accept();
}

void DCoverScreen::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    move(event->globalPos() - m_dragOffset);
    event->accept();
}

void DCoverScreen::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setBrush(QBrush(m_color, Qt::SolidPattern));
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

void DCoverScreen::bSelectColor_mouseReleaseEv()
{
    // The dialog opens on grey every time, not on the curtain's colour.
    const QColor chosen = QColorDialog::getColor(QColor(115, 115, 115), this, QString(), {});
    if (!chosen.isValid())
        return;
    m_color = chosen;
    bSelectColor->setStyleSheet(
            QStringLiteral("QPushButton {background-color: rgb(180, 180, 180);color:rgb(")
            + QString::number(chosen.red()) + QLatin1Char(',') + QString::number(chosen.green())
            + QLatin1Char(',') + QString::number(chosen.blue())
            + QStringLiteral(");font-size:40pt;border-radius:3px;}QPushButton:hover{background-"
                             "color: rgb(210, 210, 210);border-radius:3px;}"));
    update();
}

void DCoverScreen::bClose_mouseReleaseEv()
{
    hide();
}
