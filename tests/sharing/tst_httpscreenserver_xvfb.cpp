#include "sharing/httpscreenserver.h"
#include "support/sharefixture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

// The screen server on a real X screen: what it serves is what the screen shows.
class tst_HTTPScreenServerXvfb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void servedFrameIsTheScreen();
    void viewerPageShowsTheScreenInABrowser();

private:
    std::unique_ptr<QWidget> m_board;
    std::unique_ptr<HTTPScreenServer> m_server;
    quint16 m_port = 0;
};

namespace {
const QRgb kLeft = qRgb(220, 40, 40);
const QRgb kRight = qRgb(40, 40, 220);

// Fills the screen: left half one colour, right half another.
class TwoColourWindow : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(QRect(0, 0, width() / 2, height()), QColor(kLeft));
        painter.fillRect(QRect(width() / 2, 0, width() - width() / 2, height()), QColor(kRight));
    }
};

bool showsTheTwoColours(const QImage &frame, QSize size)
{
    if (frame.size() != size)
        return false;
    const int y = size.height() / 2;
    return ShareFixture::near(frame.pixel(size.width() / 4, y), kLeft)
            && ShareFixture::near(frame.pixel(size.width() * 3 / 4, y), kRight);
}
} // namespace

void tst_HTTPScreenServerXvfb::initTestCase()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    QVERIFY(screen);
    m_board = std::make_unique<TwoColourWindow>();
    m_board->setWindowFlags(Qt::FramelessWindowHint);
    m_board->setGeometry(screen->geometry());
    m_board->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_board.get()));
    m_port = ShareFixture::freePort();
    QVERIFY(m_port != 0);
    m_server = std::make_unique<HTTPScreenServer>(m_port); // grabs the real screen
    QVERIFY(m_server->isListening());
}

void tst_HTTPScreenServerXvfb::servedFrameIsTheScreen()
{
    const QSize half = QGuiApplication::primaryScreen()->geometry().size() / 2;
    // The first frames may be older than the window's first paint.
    QImage frame;
    QTRY_VERIFY_WITH_TIMEOUT(
            showsTheTwoColours(frame = QImage::fromData(
                                       ShareFixture::httpGet(m_port, "/pcPictureStr").body, "JPG"),
                               half),
            20000);
    QVERIFY(frame.save(QStringLiteral("served-frame.png")));
}

void tst_HTTPScreenServerXvfb::viewerPageShowsTheScreenInABrowser()
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty())
        QSKIP("no chromium on this machine");
    QTemporaryDir profile;
    QVERIFY(profile.isValid());
    const QString shot = QDir::current().absoluteFilePath(QStringLiteral("viewer.png"));
    QProcess browser;
    browser.start(
            chromium,
            { QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
              QStringLiteral("--disable-gpu"), QStringLiteral("--disable-background-networking"),
              QStringLiteral("--user-data-dir=") + profile.path(),
              QStringLiteral("--window-size=800,600"), QStringLiteral("--virtual-time-budget=3000"),
              QStringLiteral("--screenshot=") + shot,
              QStringLiteral("http://127.0.0.1:%1/").arg(m_port) });
    const int requestsBefore = m_server->frameRequests();
    QVERIFY(browser.waitForStarted(10000));
    // The server answers from this thread's event loop, so the wait runs it.
    QTRY_VERIFY_WITH_TIMEOUT(browser.state() == QProcess::NotRunning, 120000);
    QCOMPARE(browser.exitStatus(), QProcess::NormalExit);
    QCOMPARE(browser.exitCode(), 0);
    // The page keeps asking for the newest frame, one after the other, every 10 ms of the
    // browser's virtual time plus the load; no cache answers in its place (a browser keeps an
    // image address it has seen: with one changing once a second it would ask about 3 times).
    QVERIFY2(m_server->frameRequests() - requestsBefore >= 50,
             qPrintable(QString::number(m_server->frameRequests() - requestsBefore)));
    const QImage page(shot);
    QVERIFY2(!page.isNull(), qPrintable(browser.readAllStandardError()));
    // The 16:9 screen fitted to the page's width: a band 450 pixels high, black around it (the
    // browser's viewport is somewhat lower than its window, so the band's top is not fixed).
    QCOMPARE(page.width(), 800);
    int bandTop = -1;
    int bandHeight = 0;
    for (int y = 0; y < page.height(); ++y) {
        if (ShareFixture::near(page.pixel(200, y), kLeft)) {
            if (bandTop < 0)
                bandTop = y;
            ++bandHeight;
        }
    }
    QVERIFY(bandTop >= 0);
    QVERIFY2(qAbs(bandHeight - 450) <= 2, qPrintable(QString::number(bandHeight)));
    const int middle = bandTop + bandHeight / 2;
    QVERIFY(ShareFixture::near(page.pixel(600, middle), kRight));
    QVERIFY(ShareFixture::near(page.pixel(400, page.height() - 5), qRgb(0, 0, 0), 10));
}

QTEST_MAIN(tst_HTTPScreenServerXvfb)
#include "tst_httpscreenserver_xvfb.moc"
