#include "sharing/httpscreenserver.h"
#include "support/headlessbrowser.h"
#include "support/sharefixture.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QScreen>
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

// Fills the screen: left half one colour, right half another (or the other way round).
class TwoColourWindow : public QWidget
{
public:
    bool swapped = false;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(QRect(0, 0, width() / 2, height()), QColor(swapped ? kRight : kLeft));
        painter.fillRect(QRect(width() / 2, 0, width() - width() / 2, height()),
                         QColor(swapped ? kLeft : kRight));
    }
};

// What the viewer page's canvas shows: its drawing size and the colour at a few points (RGBA),
// read in the page itself.
const QString kCanvasState = QStringLiteral(R"((() => {
    const canvas = document.getElementById('pcImg');
    if (!canvas) return null;
    const context = canvas.getContext('2d');
    const w = canvas.width, h = canvas.height, middle = h / 2 | 0;
    const at = (x, y) => Array.from(context.getImageData(x, Math.max(0, y), 1, 1).data);
    return { width: w, height: h, left: at(w / 4 | 0, middle), right: at(w * 3 / 4 | 0, middle),
             bandTop: at(w / 4 | 0, middle - 215), aboveBand: at(w / 4 | 0, middle - 235),
             bandBottom: at(w / 4 | 0, middle + 215), belowBand: at(w / 4 | 0, middle + 235) };
})())");

QRgb colourAt(const QJsonObject &state, const char *point)
{
    const QJsonArray rgba = state.value(QLatin1String(point)).toArray();
    return qRgba(rgba.at(0).toInt(), rgba.at(1).toInt(), rgba.at(2).toInt(), rgba.at(3).toInt());
}

bool canvasShows(const QJsonObject &state, QRgb left, QRgb right)
{
    return ShareFixture::near(colourAt(state, "left"), left)
            && ShareFixture::near(colourAt(state, "right"), right);
}

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
    // A missing browser is a broken machine set-up, not a reason to pass.
    HeadlessBrowser browser;
    QVERIFY2(browser.open(QStringLiteral("http://127.0.0.1:%1/").arg(m_port), QSize(800, 700)),
             qPrintable(browser.error()));
    const auto waitForCanvas = [&](QRgb left, QRgb right, QJsonObject *state) {
        const QDeadlineTimer deadline(60000);
        while (!deadline.hasExpired()) {
            *state = browser.evaluate(kCanvasState).toObject();
            if (canvasShows(*state, left, right))
                return true;
            QTest::qWait(50);
        }
        return false;
    };
    QJsonObject state;
    QVERIFY2(waitForCanvas(kLeft, kRight, &state),
             qPrintable(browser.error() + QJsonDocument(state).toJson()));

    // The page keeps asking for the newest frame, every 10 ms; no cache answers in its place.
    // (A tenth of that rate is plenty on a loaded machine; a cached page asks once.)
    const int requestsBefore = m_server->frameRequests();
    QTest::qWait(1000);
    QVERIFY2(m_server->frameRequests() - requestsBefore >= 10,
             qPrintable(QString::number(m_server->frameRequests() - requestsBefore)));

    // The board changes: so does the canvas, with no reload.
    static_cast<TwoColourWindow *>(m_board.get())->swapped = true;
    m_board->update();
    QVERIFY2(waitForCanvas(kRight, kLeft, &state),
             qPrintable(browser.error() + QJsonDocument(state).toJson()));

    // The 16:9 frame fitted to the canvas, which takes the page's inner size: 800 wide gives a
    // band 450 high, centred, with the canvas left clear above and below it.
    QCOMPARE(state.value(QLatin1String("width")).toInt(), 800);
    // (The browser's own bars take some of the window's height.)
    const int height = state.value(QLatin1String("height")).toInt();
    QVERIFY2(height >= 450 + 2 * 20 && height <= 700, qPrintable(QString::number(height)));
    QVERIFY(ShareFixture::near(colourAt(state, "bandTop"), kRight));
    QVERIFY(ShareFixture::near(colourAt(state, "bandBottom"), kRight));
    QCOMPARE(qAlpha(colourAt(state, "aboveBand")), 0);
    QCOMPARE(qAlpha(colourAt(state, "belowBand")), 0);
    browser.close();
}

QTEST_MAIN(tst_HTTPScreenServerXvfb)
#include "tst_httpscreenserver_xvfb.moc"
