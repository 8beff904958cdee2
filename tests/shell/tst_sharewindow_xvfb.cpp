#include "shell/mainform.h"

#include "sharing/dsharescreen.h"
#include "shell/globals.h"
#include "support/qrdecoder.h"
#include "support/sharefixture.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QtTest>

// The share window on a real X server, where windows lie over one another: the share command
// always brings it to the front of the full-screen board, however the board came in front of
// it, and closing it still stops the sharing.
class tst_ShareWindowXvfb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void shareCommandBringsTheWindowBack_data();
    void shareCommandBringsTheWindowBack();
};

namespace {

// The code as the screen shows it where the share window's code is: empty when something else
// lies over it.
QString codeOnScreen(DShareScreen *share)
{
    QWidget *code = share->findChild<QWidget *>(QStringLiteral("widget"));
    const QRect area(code->mapToGlobal(QPoint()), code->size());
    const QImage shown = QGuiApplication::primaryScreen()
                                 ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                                 .toImage();
    return QrDecoder::decode(shown);
}

} // namespace

void tst_ShareWindowXvfb::initTestCase()
{
    qApp->setQuitOnLastWindowClosed(false);
    TestSupport::recordConnectWarnings();
    settings.setValue("System/Language", 0);
}

void tst_ShareWindowXvfb::cleanupTestCase()
{
    DShareScreen::resetDefaultNetwork();
    QCOMPARE(TestSupport::takeConnectWarnings(), QStringList());
}

void tst_ShareWindowXvfb::shareCommandBringsTheWindowBack_data()
{
    QTest::addColumn<bool>("lowered");
    QTest::newRow("the board was touched") << false;
    QTest::newRow("the window was sent behind") << true;
}

void tst_ShareWindowXvfb::shareCommandBringsTheWindowBack()
{
    QFETCH(bool, lowered);
    const quint16 port = ShareFixture::freePort();
    QVERIFY(port != 0);
    DShareScreen::setDefaultNetwork(port, { QHostAddress("192.168.1.20") });
    const QString address = QStringLiteral("http://192.168.1.20:%1").arg(port);
    MainForm window;
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    window.uiMainBt(BtMenus::btShare);
    QPointer<DShareScreen> share = window.shareScreen();
    QVERIFY(share && QTest::qWaitForWindowExposed(share.data()));
    QTRY_COMPARE_WITH_TIMEOUT(codeOnScreen(share), address, 20000);

    if (lowered) {
        share->lower();
    } else {
        // A touch on the board: the window system brings the board to the front.
        window.raise();
        window.activateWindow();
    }
    QTRY_VERIFY_WITH_TIMEOUT(codeOnScreen(share).isEmpty(), 20000);

    window.uiMainBt(BtMenus::btShare);
    QCOMPARE(window.shareScreen(), share.data()); // the same window, the same sharing
    QTRY_COMPARE_WITH_TIMEOUT(codeOnScreen(share), address, 20000);
    QVERIFY(!ShareFixture::portIsFree(port));

    // Closing it still ends the sharing.
    QVERIFY(share->close());
    QTRY_VERIFY(share.isNull());
    QVERIFY(ShareFixture::portIsFree(port));
}

QTEST_MAIN(tst_ShareWindowXvfb)
#include "tst_sharewindow_xvfb.moc"
