#pragma once

#include <QLCDNumber>
#include <QPoint>
#include <QString>
#include <QTime>
#include <QWidget>

#include <functional>

class QAction;
class QMenu;
class QTimer;

// The board's clock laid over the board: an analogue face with a small LCD readout showing the
// time of day, a timer counting up, or a ten-minute countdown. Dragged with the left button,
// set up from its context menu; it reports every left release so the view can tell when it was
// dropped on the recycle bin.
class DClock : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kStartSide = 160;
    static constexpr int kZoomStep = 100;
    static constexpr int kCountdownSeconds = 600;

    explicit DClock(QWidget *parent);
    ~DClock() override;

    QSize sizeHint() const override;

    void drawClock(QPainter *painter);
    void drawHourHand(QPainter *painter);
    void drawMinuteHand(QPainter *painter);
    void drawSecondHand(QPainter *painter);

    // Where the time of day comes from; the system clock unless a test sets another.
    void setTimeSource(std::function<QTime()> now);

    const QString &mode() const { return m_mode; }
    QTime shownTime() const { return m_time; }
    int elapsed() const { return m_elapsed; }
    int alpha() const { return m_alpha; }
    bool isPaused() const { return m_paused; }
    QLCDNumber *lcd() { return &m_lcd; }
    // What the readout shows (the LCD widget keeps its digits to itself).
    const QString &lcdText() const { return m_lcdText; }
    QMenu *menu() const { return m_menu; }
    // The menu entry whose data string is data, or none.
    QAction *action(const QString &data) const;

signals:
    void releaseClock(QPoint pt);

public slots:
    void UpdateTime();
    void menu_Actionclicked(QAction *action);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void setLcdColour(const QColor &colour);
    void showOnLcd(const QTime &time);
    void checkOnlyMode(QAction *mode);
    void placeLcdAfterZoom();
    QPoint centre() const;

    double m_radius = 0.0;
    QTimer *m_timer;
    QPoint m_dragOffset;
    QLCDNumber m_lcd;
    QTime m_time;
    QString m_mode;
    qint32 m_elapsed;
    qint32 m_countdown;
    QMenu *m_menu;
    int m_alpha;
    bool m_paused;
    QAction *m_actPause;
    QAction *m_actClockMode;
    QAction *m_actTimerMode;
    QAction *m_actCountdownMode;
    QAction *m_actDisplayLCD;
    std::function<QTime()> m_now;
    QString m_lcdText;
};
