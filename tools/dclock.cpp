#include "dclock.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QTimer>

namespace {

const QString kClockMode = QStringLiteral("ClockMode");
const QString kTimerMode = QStringLiteral("TimerMode");
const QString kCountdownMode = QStringLiteral("CountdownMode");

struct MenuEntry
{
    const char *text; // source text, translated in the context DClock
    const char *data; // what the menu handler switches on
    bool checkable;
    bool checked;
    bool separatorBefore;
};

// clang-format off
constexpr MenuEntry kMenuEntries[] = {
    { QT_TRANSLATE_NOOP("DClock", "Pause"),          "Pause",         true,  false, false },
    { QT_TRANSLATE_NOOP("DClock", "Clock Mode"),     "ClockMode",     true,  true,  true  },
    { QT_TRANSLATE_NOOP("DClock", "Timer Mode"),     "TimerMode",     true,  false, false },
    { QT_TRANSLATE_NOOP("DClock", "Countdown Mode"), "CountdownMode", true,  false, false },
    { QT_TRANSLATE_NOOP("DClock", "Zoom In"),        "ZoomIn",        false, false, true  },
    { QT_TRANSLATE_NOOP("DClock", "Zoom Out"),       "ZoomOut",       false, false, false },
    { QT_TRANSLATE_NOOP("DClock", "Transparent"),    "Transparent",   false, false, true  },
    { QT_TRANSLATE_NOOP("DClock", "Translucent"),    "Translucent",   false, false, false },
    { QT_TRANSLATE_NOOP("DClock", "Opaque"),         "Opaque",        false, false, false },
    { QT_TRANSLATE_NOOP("DClock", "Display LCD"),    "DisplayLCD",    true,  true,  true  },
    { QT_TRANSLATE_NOOP("DClock", "Hide"),           "Exit",          false, false, false },
};
// clang-format on

constexpr int kLargestSide = 599; // the last size that may still grow
constexpr int kSmallestSide = 201; // the last size that may still shrink
constexpr int kLcdWidth = 60;
constexpr int kLcdHeight = 18;

QPen blackPen(int width)
{
    return QPen(QBrush(Qt::black), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

DClock::DClock(QWidget *parent)
    : QWidget(parent),
      m_lcd(this),
      m_mode(kClockMode),
      m_elapsed(0),
      m_countdown(0),
      m_menu(new QMenu),
      m_alpha(254),
      m_paused(false),
      m_now(&QTime::currentTime)
{
    if (parent)
        move(parent->width() / 2, parent->height() / 2 - 200);
    setFixedSize(kStartSide, kStartSide);
    UpdateTime();

    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &DClock::UpdateTime);
    m_timer->start();

    m_lcd.setFixedSize(kLcdWidth, kLcdHeight);
    m_lcd.move((width() - 1) / 2 - 30, (height() - 1) / 2 + 30);
    m_lcd.setDigitCount(8);
    m_lcd.setSegmentStyle(QLCDNumber::Flat);
    setLcdColour(Qt::black);

    for (const MenuEntry &entry : kMenuEntries) {
        if (entry.separatorBefore)
            m_menu->addSeparator();
        // The actions live with the clock; the menu only shows them.
        auto *action = new QAction(tr(entry.text), this);
        m_menu->addAction(action);
        action->setData(QString::fromLatin1(entry.data));
        action->setCheckable(entry.checkable);
        action->setChecked(entry.checked);
    }
    m_actPause = action(QStringLiteral("Pause"));
    m_actClockMode = action(kClockMode);
    m_actTimerMode = action(kTimerMode);
    m_actCountdownMode = action(kCountdownMode);
    m_actDisplayLCD = action(QStringLiteral("DisplayLCD"));
    connect(m_menu, &QMenu::triggered, this, &DClock::menu_Actionclicked);
}

DClock::~DClock()
{
    delete m_menu;
}

QSize DClock::sizeHint() const
{
    return QSize(200, 200);
}

void DClock::setTimeSource(std::function<QTime()> now)
{
    m_now = now ? std::move(now) : std::function<QTime()>(&QTime::currentTime);
}

QAction *DClock::action(const QString &data) const
{
    const auto actions = findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly);
    for (QAction *candidate : actions)
        if (candidate->data().toString() == data)
            return candidate;
    return nullptr;
}

void DClock::setLcdColour(const QColor &colour)
{
    QPalette palette = m_lcd.palette();
    palette.setBrush(QPalette::Active, QPalette::WindowText, QBrush(colour, Qt::SolidPattern));
    m_lcd.setPalette(palette);
}

void DClock::showOnLcd(const QTime &time)
{
    m_lcdText = time.toString(Qt::TextDate);
    m_lcd.display(m_lcdText);
}

void DClock::UpdateTime()
{
    const QTime midnight(0, 0, 0);
    if (m_mode == kClockMode) {
        m_time = m_now();
        showOnLcd(m_time);
    }
    if (m_mode == kTimerMode && !m_paused) {
        m_time = midnight.addSecs(m_elapsed);
        showOnLcd(m_time);
        ++m_elapsed;
    }
    if (m_mode == kCountdownMode && !m_paused) {
        m_time = midnight.addSecs(m_elapsed); // the hands count up, the readout down
        showOnLcd(midnight.addSecs(m_countdown - m_elapsed));
        if (m_elapsed == m_countdown - 10)
            setLcdColour(Qt::red);
        if (m_elapsed < m_countdown)
            ++m_elapsed;
    }
    update();
}

void DClock::checkOnlyMode(QAction *mode)
{
    for (QAction *each : { m_actClockMode, m_actTimerMode, m_actCountdownMode })
        each->setChecked(each == mode);
}

void DClock::placeLcdAfterZoom()
{
    m_lcd.move((width() - 1) / 2 - 30, (height() - 1) / 2 + height() / 4);
}

void DClock::menu_Actionclicked(QAction *action)
{
    if (!action)
        return;
    const QString data = action->data().toString();
    if (data == QLatin1String("Pause"))
        m_paused = m_actPause->isChecked();
    if (data == kClockMode) {
        m_paused = false;
        m_actPause->setChecked(false);
        m_mode = kClockMode;
        checkOnlyMode(m_actClockMode);
        setLcdColour(Qt::black);
    }
    if (data == kTimerMode) {
        m_elapsed = 0;
        m_paused = false;
        m_actPause->setChecked(false);
        m_mode = kTimerMode;
        checkOnlyMode(m_actTimerMode);
        setLcdColour(Qt::black);
    }
    if (data == kCountdownMode) {
        m_paused = false;
        m_elapsed = 0;
        m_countdown = kCountdownSeconds;
        m_actPause->setChecked(false);
        m_mode = kCountdownMode;
        checkOnlyMode(m_actCountdownMode);
        setLcdColour(Qt::black);
    }

    if (data == QLatin1String("ZoomIn")) {
        if (width() <= kLargestSide) {
            setFixedSize(width() + kZoomStep, height() + kZoomStep);
            move(pos() - QPoint(kZoomStep / 2, kZoomStep / 2));
            placeLcdAfterZoom();
        }
    } else if (data == QLatin1String("ZoomOut")) {
        if (width() >= kSmallestSide) {
            setFixedSize(width() - kZoomStep, height() - kZoomStep);
            move(pos() + QPoint(kZoomStep / 2, kZoomStep / 2));
            placeLcdAfterZoom();
        }
    } else if (data == QLatin1String("Transparent")) {
        m_alpha = 50;
    } else if (data == QLatin1String("Translucent")) {
        m_alpha = 150;
    } else if (data == QLatin1String("Opaque")) {
        m_alpha = 254;
    } else if (data == QLatin1String("DisplayLCD")) {
        m_lcd.setVisible(m_actDisplayLCD->isChecked());
    } else if (data == QLatin1String("Exit")) {
        hide();
    }
    // Every choice also counts: a running timer gains a second at each choice.
    UpdateTime();
}

void DClock::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragOffset = event->globalPos() - frameGeometry().topLeft();
        event->accept();
    } else if (event->button() == Qt::RightButton) {
        m_actPause->setEnabled(m_mode != kClockMode);
        m_menu->exec(event->globalPos());
    }
}

void DClock::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton) {
        move(event->globalPos() - m_dragOffset);
        event->accept();
    }
}

void DClock::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        event->accept();
        emit releaseClock(mapToParent(event->pos()));
    }
}

QPoint DClock::centre() const
{
    return QPoint((width() - 1) / 2, (height() - 1) / 2);
}

void DClock::paintEvent(QPaintEvent *)
{
    m_radius = qMin(width(), height()) / 2 - 2;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    drawClock(&painter);
    drawHourHand(&painter);
    drawMinuteHand(&painter);
    drawSecondHand(&painter);
}

void DClock::drawClock(QPainter *painter)
{
    const QPoint c = centre();
    const qreal r = m_radius;

    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(0, 0, 0, 0));
    painter->drawRect(rect());
    painter->restore();

    painter->save();
    QRadialGradient face(c, r, c);
    face.setColorAt(0.0, QColor(250, 250, 250, m_alpha));
    face.setColorAt(0.8, QColor(250, 250, 250, m_alpha));
    face.setColorAt(1.0, QColor(150, 150, 250, m_alpha));
    painter->setBrush(face);
    painter->setPen(blackPen(2));
    painter->drawEllipse(QPointF(c), r, r);
    painter->setBrush(QBrush(Qt::black, Qt::SolidPattern));
    painter->drawEllipse(QRect(c.x() - 3, c.y() - 3, 6, 6));
    painter->restore();

    painter->save();
    painter->setPen(blackPen(2));
    painter->translate(c);
    painter->rotate(-180);
    for (int hour = 1; hour <= 12; ++hour) {
        painter->rotate(30);
        if (hour % 3 == 0)
            painter->drawLine(QPointF(0, r), QPointF(0, r - r / 15));
        else
            painter->drawPoint(QPointF(0, 14 * r / 15));
    }
    painter->restore();

    painter->drawText(QPointF(c.x() + 13 * r / 15 - 5, c.y() + 4), QStringLiteral("3"));
    painter->drawText(QPointF(c.x() - 3, c.y() + 13 * r / 15), QStringLiteral("6"));
    painter->drawText(QPointF(c.x() - 13 * r / 15, c.y() + 4), QStringLiteral("9"));
    painter->drawText(QPointF(c.x() - 6, c.y() - 13 * r / 15 + 6), QStringLiteral("12"));
}

void DClock::drawHourHand(QPainter *painter)
{
    painter->save();
    painter->translate(centre());
    painter->setPen(blackPen(3));
    painter->rotate((m_time.hour() + m_time.minute() / 60.0) * 30.0);
    painter->drawLine(QPointF(0, -0.6 * m_radius), QPointF(0, 0));
    painter->restore();
}

void DClock::drawMinuteHand(QPainter *painter)
{
    painter->save();
    painter->translate(centre());
    painter->setPen(blackPen(2));
    painter->rotate((m_time.minute() + m_time.second() / 60.0) * 6.0);
    painter->drawLine(QPointF(0, -0.8 * m_radius), QPointF(0, 0));
    painter->restore();
}

void DClock::drawSecondHand(QPainter *painter)
{
    painter->save();
    painter->translate(centre());
    painter->setPen(QPen(QBrush(Qt::red), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter->rotate(m_time.second() * 6.0);
    painter->drawLine(QPointF(0, -0.9 * m_radius), QPointF(0, 0));
    painter->restore();
}
