#include "ddices.h"

#include "dimagelabel.h"
#include "glwidget.h"

#include <QDateTime>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QTimer>

namespace {
struct CubePlace
{
    int x;
    int y;
    int angleX; // starting turn, sixteenths of a degree
    int angleY;
    int angleZ;
    int spinX; // turn about x per spin step, so neighbouring dice tumble at different speeds
};
// clang-format off
constexpr CubePlace kCubes[DDiceS::kDiceCount] = {
    {   5,   5, 192, 832, -336, 800 },
    { 160,   5, 512, 512, -336, 640 },
    { 315,   5, 832, 192, -336, 480 },
    {   5, 160, 192, 832, -336, 800 },
    { 160, 160, 512, 512, -336, 640 },
    { 315, 160, 832, 192, -336, 480 },
};
// clang-format on
constexpr int kCubeSide = 150;
constexpr int kFaceSide = 60;
constexpr int kResultInset = 45;
} // namespace

DDiceS::DDiceS(QWidget *parent) : QWidget(parent)
{
    setGeometry(300, 300, kMinimumWidth, kMinimumHeight);
    hide();

    BClose = new DImageLabel(this, 0, 0, QStringLiteral("Curtain_Close.png"),
                             QStringLiteral("Curtain_Close.png"));
    BClose->setObjectName(QStringLiteral("BClose"));
    connect(BClose, &DImageLabel::signals_mouseRelease, this, &DDiceS::BClose_mouseReleaseEv);
    BRightBottom = new DImageLabel(this, 0, 0, QStringLiteral("Curtain_Right.png"),
                                   QStringLiteral("Curtain_Right.png"));
    BRightBottom->setObjectName(QStringLiteral("BRightBottom"));
    connect(BRightBottom, &DImageLabel::signals_mouseMove, this, &DDiceS::BRightBottom_mouseMoveEv);

    for (int i = 0; i < kDiceCount; ++i) {
        m_cubes[i] = new GLWidget(this);
        m_cubes[i]->setClearColor(Qt::white);
        m_cubes[i]->setGeometry(kCubes[i].x, kCubes[i].y, kCubeSide, kCubeSide);
        m_cubes[i]->rotateBy(kCubes[i].angleX, kCubes[i].angleY, kCubes[i].angleZ);
        m_cubes[i]->show();
    }
    for (int i = 0; i < kDiceCount; ++i) {
        m_faces[i] = QPixmap(kFaceSide, kFaceSide);
        m_faces[i].fill(Qt::white);
        QPainter painter(&m_faces[i]);
        painter.drawPixmap(m_faces[i].rect(),
                           QPixmap(QStringLiteral(":/images/side%1.bmp").arg(i + 1)));
    }
    for (int i = 0; i < kDiceCount; ++i) {
        m_results[i] = new QLabel(this);
        m_results[i]->setGeometry(kCubes[i].x + kResultInset, kCubes[i].y + kResultInset, kFaceSide,
                                  kFaceSide);
        m_results[i]->hide();
    }
    m_spinTimer = new QTimer(this);
    connect(m_spinTimer, &QTimer::timeout, this, &DDiceS::rotateOneStep);
    m_stopTimer = new QTimer(this);
    connect(m_stopTimer, &QTimer::timeout, this, &DDiceS::stopRotate);
    BClose->raise();
    BRightBottom->raise();
}

bool DDiceS::isRolling() const
{
    return m_stopTimer->isActive();
}

void DDiceS::startRotate()
{
    for (int i = 0; i < kDiceCount; ++i) {
        m_results[i]->hide();
        m_cubes[i]->show();
    }
    m_spinTimer->start(1);
    m_stopTimer->start(kRollMs);
}

void DDiceS::rotateOneStep()
{
    for (int i = 0; i < kDiceCount; ++i)
        m_cubes[i]->rotateBy(kCubes[i].spinX, 32, -16);
}

void DDiceS::stopRotate()
{
    const QTime now = QDateTime::currentDateTime().time();
    QRandomGenerator random(quint32(now.second() * 1000 + now.msec()));
    for (int i = 0; i < kDiceCount; ++i) {
        m_resultFaces[i] = int(random.bounded(kDiceCount));
        m_results[i]->setPixmap(m_faces[m_resultFaces[i]]);
        m_results[i]->show();
    }
    m_spinTimer->stop();
    m_stopTimer->stop();
    for (GLWidget *cube : m_cubes)
        cube->hide();
    update();
}

void DDiceS::BClose_mouseReleaseEv(DImageLabel *)
{
    hide();
}

void DDiceS::BRightBottom_mouseMoveEv(DImageLabel *, QPoint movepos)
{
    setFixedWidth(qMax(width() + movepos.x(), kMinimumWidth));
    setFixedHeight(qMax(height() + movepos.y(), kMinimumHeight));
}

void DDiceS::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setBrush(QBrush(QColor(0, 255, 255), Qt::SolidPattern));
    painter.drawRect(0, 0, width() - 1, height() - 1);
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    for (const CubePlace &place : kCubes)
        painter.drawRect(place.x, place.y, kCubeSide, kCubeSide);
}

void DDiceS::resizeEvent(QResizeEvent *)
{
    BClose->move(width() - 35, 30);
    BRightBottom->move(width() - 21, height() - 21);
}

void DDiceS::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragOffset = event->globalPos() - frameGeometry().topLeft();
    event->accept();
}

void DDiceS::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    move(event->globalPos() - m_dragOffset);
    event->accept();
}

void DDiceS::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        event->accept();
}

void DDiceS::mouseDoubleClickEvent(QMouseEvent *event)
{
    startRotate();
    event->accept();
}
