// Every pen kind written by mouse on a real X server, then the board as shown: each stroke's
// ink is committed in the pen's colour, where the stroke went. Set VELTORINA_SCREENSHOT to a
// file name to keep the picture. A fast stroke, its pointer events queued up by the X server
// before the program takes any, keeps every point.
#include "support/boardfixture.h"
#include "support/inkfixture.h"
#include "support/testsupport.h"

#include "board/dpage.h"
#include "board/dview.h"
#include "board/scribblearea.h"

#include <QtTest>

#include <xcb/xcb.h>

#include <cmath>
#include <cstdlib>

using namespace BoardFixture;
using namespace InkFixture;

class tst_InkPens : public QObject
{
    Q_OBJECT
private slots:
    void everyPenOnTheBoard();
    void fastStrokeKeepsEveryPoint();
};

namespace {

// A left-button drag through points (the window's own coordinates) as the X server reports it
// to the window: press, a move to each further point, release. Every event is with the server
// before this returns, so the program meets them all queued at its next turn of the event loop.
void dragThroughServer(QWidget *window, const QVector<QPoint> &points)
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const xcb_window_t target = xcb_window_t(window->winId());
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_timestamp_t time = 1000;
    const auto send = [&](uint8_t type, QPoint at) {
        // Presses, releases and moves share one layout.
        xcb_button_press_event_t event = {};
        event.response_type = type;
        event.detail = type == XCB_MOTION_NOTIFY ? uint8_t(XCB_MOTION_NORMAL) : uint8_t(1);
        event.time = time += 8;
        event.root = root;
        event.event = target;
        const QPoint global = window->mapToGlobal(at);
        event.root_x = int16_t(global.x());
        event.root_y = int16_t(global.y());
        event.event_x = int16_t(at.x());
        event.event_y = int16_t(at.y());
        event.state = type == XCB_BUTTON_PRESS ? uint16_t(0) : uint16_t(XCB_BUTTON_MASK_1);
        event.same_screen = 1;
        xcb_send_event(connection, 0, target, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char *>(&event));
    };
    send(XCB_BUTTON_PRESS, points.first());
    for (int i = 1; i < points.size(); ++i)
        send(XCB_MOTION_NOTIFY, points.at(i));
    send(XCB_BUTTON_RELEASE, points.last());
    // A round trip: the server has handled every request before its answer comes.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    xcb_disconnect(connection);
}

} // namespace

void tst_InkPens::everyPenOnTheBoard()
{
    Board board;
    DView *view = board.view();
    view->m_penPencil[0] = QPen(QColor(20, 40, 160), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    view->m_penHighlighter[0] =
            QPen(QColor(240, 200, 0, 100), 18, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    view->m_penFountain[0] = QPen(QColor(160, 20, 40), 5);
    view->m_penSmart = QPen(QColor(0, 140, 60), 4);
    struct PenInk
    {
        int tool;
        QColor ink; // as shown over the white page
        bool straight; // the smart pen keeps a straight stroke's ends only
    };
    const QColor texture(0x2b, 0x3a, 0x4a); // the brush stamp, built up by overlapping stamps
    const PenInk pens[] = {
        { 50, QColor(20, 40, 160), false },
        { 54, QColor(249, 233, 155), false }, // 100/255 of the yellow over white
        { 58, QColor(20, 40, 160), false }, // the texture brush keeps the pencil's pen
        { 60, QColor(160, 20, 40), false },
        { 66, texture, false },
        { 67, texture, false },
        { 69, QColor(0, 140, 60), true },
    };
    auto waveY = [](int y, double x) { return y + 25 * std::sin((x - 120) / 12.0 / 5.0); };
    int row = 0;
    for (const PenInk &pen : pens) {
        const int tool = pen.tool;
        chooseTool(view, tool);
        const int y = 70 + row * 95;
        QVector<QPoint> wave;
        for (int i = 0; i <= 60; ++i)
            wave << QPoint(120 + 12 * i, y + int(std::lround(25 * std::sin(i / 5.0))));
        TestSupport::drag(view->m_scribbleArea, wave);
        ++row;
    }
    QCOMPARE(boardObjects(board.current()).size(), int(sizeof pens / sizeof pens[0]));
    view->setSelect();
    QTest::qWait(200);
    const QImage shown = board.window()->grab().toImage();
    if (!qEnvironmentVariableIsEmpty("VELTORINA_SCREENSHOT"))
        shown.save(qEnvironmentVariable("VELTORINA_SCREENSHOT"));
    for (int r = 0; r < row; ++r) {
        const int y = 70 + r * 95;
        int inked = 0;
        for (int x = 120; x < 840; x += 2) {
            for (int dy = -35; dy <= 35; ++dy) {
                const QColor pixel = shown.pixelColor(x, y + dy);
                if (pixel.red() < 235 || pixel.green() < 235 || pixel.blue() < 235) {
                    ++inked;
                    break;
                }
            }
        }
        const PenInk &pen = pens[r];
        QVERIFY2(inked > 200, qPrintable(QStringLiteral("pen %1: %2").arg(pen.tool).arg(inked)));
        // Column by column: the ink's middle lies on the stroke, and there it has the pen's
        // colour.
        int columns = 0;
        int placed = 0;
        QString misses;
        for (int x = 160; x <= 800; x += 16) {
            ++columns;
            const double expectedY =
                    pen.straight ? y + (waveY(y, 840) - y) * (x - 120) / 720.0 : waveY(y, x);
            double sum = 0;
            int count = 0;
            for (int dy = -40; dy <= 40; ++dy) {
                const QColor pixel = shown.pixelColor(x, y + dy);
                if (765 - pixel.red() - pixel.green() - pixel.blue() > 60) {
                    sum += y + dy;
                    ++count;
                }
            }
            if (count == 0)
                continue;
            const double middle = sum / count;
            const QColor there = shown.pixelColor(x, qRound(middle));
            const bool onStroke = qAbs(middle - expectedY) <= 8;
            const bool coloured = qAbs(there.red() - pen.ink.red()) <= 45
                    && qAbs(there.green() - pen.ink.green()) <= 45
                    && qAbs(there.blue() - pen.ink.blue()) <= 45;
            if (onStroke && coloured)
                ++placed;
            else
                misses += QStringLiteral(" x%1: y %2 (want %3) %4")
                                  .arg(x)
                                  .arg(middle, 0, 'f', 1)
                                  .arg(expectedY, 0, 'f', 1)
                                  .arg(there.name());
        }
        QVERIFY2(placed * 10 >= columns * 9,
                 qPrintable(QStringLiteral("pen %1: %2 of %3 columns;%4")
                                    .arg(pen.tool)
                                    .arg(placed)
                                    .arg(columns)
                                    .arg(misses)));
    }
}

void tst_InkPens::fastStrokeKeepsEveryPoint()
{
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    view->m_penPencil[0] = QPen(Qt::black, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const bool mergedBefore = QCoreApplication::testAttribute(Qt::AA_CompressHighFrequencyEvents);
    chooseTool(view, BtMenus::btPencil);
    // A W in four quick moves.
    const QVector<QPoint> corners = {
        { 200, 200 }, { 260, 400 }, { 320, 260 }, { 380, 400 }, { 440, 200 }
    };
    dragThroughServer(board.window(), corners);
    QTRY_COMPARE_WITH_TIMEOUT(boardObjects(page).size(), 1, 20000);
    page->clearSelection();
    const QRectF area = view->mapToScene(QRect(150, 150, 350, 300)).boundingRect();
    const QImage shown = shownArea(page, area);
    // Ink at every corner and along every leg, none along the straight line from the first
    // point to the last.
    QStringList missing;
    for (int i = 0; i < corners.size(); ++i) {
        QVector<QPoint> along = { corners.at(i) };
        if (i + 1 < corners.size())
            along << (corners.at(i) + corners.at(i + 1)) / 2;
        for (const QPoint &point : qAsConst(along)) {
            const QPoint at = (view->mapToScene(point) - area.topLeft()).toPoint();
            if (qGray(shown.pixel(at)) > 128)
                missing << QStringLiteral("(%1, %2)").arg(point.x()).arg(point.y());
        }
    }
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("no ink at ") + missing.join(' ')));
    const QPoint across = (view->mapToScene(QPoint(320, 200)) - area.topLeft()).toPoint();
    QVERIFY(qGray(shown.pixel(across)) > 200);
    // Choosing a tool that draws no ink gives the toolkit its merging back.
    view->setSelect();
    QCOMPARE(QCoreApplication::testAttribute(Qt::AA_CompressHighFrequencyEvents), mergedBefore);
}

QTEST_MAIN(tst_InkPens)
#include "tst_inkpens_xvfb.moc"
