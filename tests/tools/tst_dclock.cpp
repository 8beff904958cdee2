#include "board/dview.h"
#include "support/boardfixture.h"
#include "support/instrumentsfixture.h"
#include "support/testsupport.h"
#include "support/toolsfixture.h"
#include "tools/dclock.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QtTest>

using namespace InstrumentsFixture;

namespace {

// Right-clicks the clock and chooses the entry with the given data string by clicking it; the
// check callback sees the menu first.
void choose(DClock *clock, const QString &data, std::function<void(QMenu *)> check = {})
{
    auto answered = answerNextPopup([data, check](QWidget *popup) {
        auto *menu = qobject_cast<QMenu *>(popup);
        QVERIFY(menu);
        if (check)
            check(menu);
        for (QAction *action : menu->actions()) {
            if (action->data().toString() == data) {
                QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                                  menu->actionGeometry(action).center());
                return;
            }
        }
        menu->close();
    });
    QTest::mouseClick(clock, Qt::RightButton, Qt::NoModifier, QPoint(40, 40));
    QVERIFY(*answered);
}

QColor lcdColour(DClock *clock)
{
    return clock->lcd()->palette().color(QPalette::Active, QPalette::WindowText);
}

} // namespace

class tst_DClock : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void freshClock();
    void menuEntries();
    void timerCountsUpAndEveryChoiceCounts();
    void countdownTurnsRedForItsLastTenSeconds();
    void pauseHoldsTheCount();
    void zoomKeepsTheCentre();
    void zoomStopsAtItsLimits();
    void transparency_data();
    void transparency();
    void lcdCanBeHidden();
    void dragsAndReportsEveryRelease();
    void viewTogglesAndBinDeletes();

private:
    std::unique_ptr<QWidget> m_board;
    DClock *m_clock = nullptr;
};

void tst_DClock::init()
{
    m_board = std::make_unique<QWidget>();
    m_board->setFixedSize(1024, 768);
    m_board->setAutoFillBackground(true);
    QPalette palette = m_board->palette();
    palette.setColor(QPalette::Window, QColor(255, 0, 0));
    m_board->setPalette(palette);
    m_clock = new DClock(m_board.get());
    m_clock->setTimeSource([] { return QTime(9, 5, 0); });
    m_clock->UpdateTime();
    m_clock->show();
    m_board->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_board.get()));
}

void tst_DClock::cleanup()
{
    m_board.reset();
}

void tst_DClock::freshClock()
{
    QCOMPARE(m_clock->pos(), QPoint(512, 184));
    QCOMPARE(m_clock->size(), QSize(160, 160));
    QCOMPARE(m_clock->lcd()->geometry(), QRect(49, 109, 60, 18));
    QCOMPARE(m_clock->lcd()->digitCount(), 8);
    QCOMPARE(m_clock->mode(), QStringLiteral("ClockMode"));
    QCOMPARE(m_clock->lcdText(), QStringLiteral("09:05:00"));
    QCOMPARE(lcdColour(m_clock), QColor(Qt::black));
    ToolsFixture::saveShot(m_board->grab(m_clock->geometry()).toImage(), "clock");
}

void tst_DClock::menuEntries()
{
    QStringList data;
    for (QAction *action : m_clock->menu()->actions())
        data << (action->isSeparator() ? QStringLiteral("|") : action->data().toString());
    QCOMPARE(data,
             (QStringList{ "Pause", "|", "ClockMode", "TimerMode", "CountdownMode", "|", "ZoomIn",
                           "ZoomOut", "|", "Transparent", "Translucent", "Opaque", "|",
                           "DisplayLCD", "Exit" }));
    QCOMPARE(m_clock->action("Exit")->text(), QStringLiteral("Hide"));
    QVERIFY(m_clock->action("ClockMode")->isChecked());
    QVERIFY(m_clock->action("DisplayLCD")->isChecked());
    // In clock mode there is nothing to pause.
    choose(m_clock, QString(), [](QMenu *menu) { QVERIFY(!menu->actions().first()->isEnabled()); });
}

void tst_DClock::timerCountsUpAndEveryChoiceCounts()
{
    choose(m_clock, "TimerMode");
    QCOMPARE(m_clock->lcdText(), QStringLiteral("00:00:00"));
    QVERIFY(m_clock->action("TimerMode")->isChecked());
    QVERIFY(!m_clock->action("ClockMode")->isChecked());
    m_clock->UpdateTime();
    QCOMPARE(m_clock->lcdText(), QStringLiteral("00:00:01"));
    choose(m_clock, "ZoomIn"); // a menu choice runs a tick of its own
    QCOMPARE(m_clock->lcdText(), QStringLiteral("00:00:02"));
    QCOMPARE(m_clock->shownTime(), QTime(0, 0, 2));
    // Choosing the mode again starts from zero.
    choose(m_clock, "TimerMode");
    QCOMPARE(m_clock->lcdText(), QStringLiteral("00:00:00"));
}

void tst_DClock::countdownTurnsRedForItsLastTenSeconds()
{
    choose(m_clock, "CountdownMode");
    QCOMPARE(m_clock->lcdText(), QStringLiteral("00:10:00"));
    QVERIFY(m_clock->action("CountdownMode")->isChecked());
    int ticks = 0;
    while (m_clock->lcdText() != QLatin1String("00:00:11") && ++ticks < 700) {
        m_clock->UpdateTime();
        QCOMPARE(lcdColour(m_clock), QColor(Qt::black));
    }
    m_clock->UpdateTime();
    QCOMPARE(m_clock->lcdText(), QStringLiteral("00:00:10"));
    QCOMPARE(lcdColour(m_clock), QColor(Qt::red));
    for (int i = 0; i < 30; ++i)
        m_clock->UpdateTime();
    QCOMPARE(m_clock->lcdText(), QStringLiteral("00:00:00"));
    QCOMPARE(m_clock->elapsed(), DClock::kCountdownSeconds);
    QCOMPARE(lcdColour(m_clock), QColor(Qt::red));
    // The hands show the time gone by.
    QCOMPARE(m_clock->shownTime(), QTime(0, 10, 0));
    choose(m_clock, "ClockMode");
    QCOMPARE(lcdColour(m_clock), QColor(Qt::black));
    QCOMPARE(m_clock->lcdText(), QStringLiteral("09:05:00"));
}

void tst_DClock::pauseHoldsTheCount()
{
    choose(m_clock, "TimerMode");
    m_clock->UpdateTime();
    choose(m_clock, "Pause", [](QMenu *menu) { QVERIFY(menu->actions().first()->isEnabled()); });
    QVERIFY(m_clock->isPaused());
    const QString held = m_clock->lcdText();
    m_clock->UpdateTime();
    m_clock->UpdateTime();
    QCOMPARE(m_clock->lcdText(), held);
    choose(m_clock, "Pause");
    QVERIFY(!m_clock->isPaused());
    m_clock->UpdateTime();
    QVERIFY(m_clock->lcdText() != held);
}

void tst_DClock::zoomKeepsTheCentre()
{
    const QPoint centre = m_clock->geometry().center();
    choose(m_clock, "ZoomIn");
    QCOMPARE(m_clock->size(), QSize(260, 260));
    QCOMPARE(m_clock->geometry().center(), centre);
    choose(m_clock, "ZoomOut");
    QCOMPARE(m_clock->size(), QSize(160, 160));
    QCOMPARE(m_clock->geometry().center(), centre);
    QCOMPARE(m_clock->lcd()->pos(), QPoint(49, 119)); // ten lower than at construction
}

void tst_DClock::zoomStopsAtItsLimits()
{
    choose(m_clock, "ZoomOut");
    QCOMPARE(m_clock->size(), QSize(160, 160));
    for (int i = 0; i < 6; ++i)
        choose(m_clock, "ZoomIn");
    QCOMPARE(m_clock->size(), QSize(660, 660));
}

void tst_DClock::transparency_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<int>("alpha");
    QTest::newRow("transparent") << "Transparent" << 50;
    QTest::newRow("translucent") << "Translucent" << 150;
    QTest::newRow("opaque, not quite") << "Opaque" << 254;
}

void tst_DClock::transparency()
{
    QFETCH(QString, choice);
    QFETCH(int, alpha);
    choose(m_clock, choice);
    QCOMPARE(m_clock->alpha(), alpha);
    // The face over the red board: white blended with red by the face's alpha.
    const QImage shot = m_board->grab(m_clock->geometry()).toImage();
    const QColor face = ToolsFixture::pixel(shot, QPoint(49, 99));
    const int expectedGreen = 250 * alpha / 255;
    QVERIFY2(qAbs(face.green() - expectedGreen) <= 3, qPrintable(face.name()));
    QVERIFY(face.red() >= 249);
    // Outside the face the board shows through untouched.
    QCOMPARE(ToolsFixture::pixel(shot, QPoint(1, 1)), QColor(255, 0, 0));
}

void tst_DClock::lcdCanBeHidden()
{
    choose(m_clock, "DisplayLCD");
    QVERIFY(!m_clock->lcd()->isVisible());
    choose(m_clock, "DisplayLCD");
    QVERIFY(m_clock->lcd()->isVisible());
    choose(m_clock, "Exit");
    QVERIFY(!m_clock->isVisible());
}

void tst_DClock::dragsAndReportsEveryRelease()
{
    QList<QPoint> released;
    connect(m_clock, &DClock::releaseClock, this, [&released](QPoint at) { released << at; });
    const QPoint start = m_clock->pos();
    ToolsFixture::dragMoving(m_clock, QPoint(30, 30), { { 40, 10 }, { -100, 50 } });
    QCOMPARE(m_clock->pos(), start + QPoint(-100, 50));
    QCOMPARE(released, QList<QPoint>{ m_clock->pos() + QPoint(30, 30) });
    QTest::mouseClick(m_clock, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    QCOMPARE(released.size(), 2);
    QCOMPARE(released.last(), m_clock->pos() + QPoint(5, 6));
}

void tst_DClock::viewTogglesAndBinDeletes()
{
    BoardFixture::Board board;
    DView *view = board.view();
    view->insertClock();
    QPointer<DClock> clock = view->m_clock.data();
    QVERIFY(clock && clock->isVisible());
    QCOMPARE(clock->parentWidget(), board.window());
    // Hidden from its menu, shown again by the command.
    choose(clock, "Exit");
    view->insertClock();
    QCOMPARE(view->m_clock.data(), clock.data());
    QVERIFY(clock->isVisible());

    // Dropped away from the bin it stays; dropped on the bin it goes.
    ToolsFixture::dragMoving(clock, QPoint(80, 80), { { -200, 0 } });
    QVERIFY(clock);
    const QPoint bin = view->m_binLabel->geometry().center();
    const QPoint grip(80, 80);
    ToolsFixture::dragMoving(clock, grip, { bin - (clock->pos() + grip) });
    QVERIFY(!view->m_clock);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!clock);
    // The next command makes a fresh clock in clock mode at its default place.
    view->insertClock();
    QVERIFY(view->m_clock);
    QCOMPARE(view->m_clock->pos(), QPoint(512, 184));
    QCOMPARE(view->m_clock->mode(), QStringLiteral("ClockMode"));
}

QTEST_MAIN(tst_DClock)
#include "tst_dclock.moc"
