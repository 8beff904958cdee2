#include "shell/mainform.h"

#include "sharing/dsharescreen.h"
#include "sharing/httpscreenserver.h"
#include "shell/globals.h"
#include "support/qrdecoder.h"
#include "support/sharefixture.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QPointer>
#include <QtTest>

// The share command of the main window, end to end: the window it opens, what its code says,
// and the port it holds while open and gives back when closed.
class tst_MainFormShare : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void shareCommand();

private:
    static int shareWindows();
};

int tst_MainFormShare::shareWindows()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += qobject_cast<DShareScreen *>(widget) ? 1 : 0;
    return count;
}

void tst_MainFormShare::initTestCase()
{
    qApp->setQuitOnLastWindowClosed(false);
    TestSupport::recordConnectWarnings();
    settings.setValue("System/Language", 0);
}

void tst_MainFormShare::cleanupTestCase()
{
    DShareScreen::resetDefaultNetwork();
    QCOMPARE(TestSupport::takeConnectWarnings(), QStringList());
}

void tst_MainFormShare::shareCommand()
{
    // A free port instead of 8080, and a machine whose one usable address is 192.168.1.20.
    const quint16 port = ShareFixture::freePort();
    QVERIFY(port != 0);
    DShareScreen::setDefaultNetwork(
            port,
            { QHostAddress("127.0.0.1"), QHostAddress("10.0.0.5"), QHostAddress("192.168.1.20") });
    const QString address = QStringLiteral("http://192.168.1.20:%1").arg(port);
    auto window = std::make_unique<MainForm>();
    QVERIFY(!window->shareScreen());

    window->uiMainBt(BtMenus::btShare);
    QPointer<DShareScreen> share = window->shareScreen();
    QVERIFY(share);
    QVERIFY(QTest::qWaitForWindowExposed(share.data()));
    QVERIFY(share->isWindow());
    // Pressed again: the same window, still one.
    window->uiMainBt(BtMenus::btShare);
    QCOMPARE(window->shareScreen(), share.data());
    QCOMPARE(shareWindows(), 1);

    // The code, read back from the window as shown, is the address; the address serves the board.
    QWidget *code = share->findChild<QWidget *>(QStringLiteral("widget"));
    QVERIFY(code && code->isVisible());
    const QImage picture = share->grab(code->geometry()).toImage();
    QVERIFY(picture.save(QStringLiteral("share-code.png")));
    QString why;
    QCOMPARE(QrDecoder::decode(picture, &why), address);
    QVERIFY2(why.isEmpty(), qPrintable(why));
    const QUrl url(address);
    QCOMPARE(url.port(), int(port));
    const ShareFixture::HttpReply page = ShareFixture::httpGet(port, "/");
    QCOMPARE(page.status, 200);
    QCOMPARE(page.body, share->server()->page().toLatin1());
    QVERIFY(!ShareFixture::portIsFree(port));

    // Closed: the window goes, the main window forgets it, the port is free.
    QVERIFY(share->close());
    QTRY_VERIFY(share.isNull());
    QVERIFY(!window->shareScreen());
    QVERIFY(ShareFixture::portIsFree(port));
    QCOMPARE(shareWindows(), 0);

    // Pressed once more: a new window with a new server on the same port.
    window->uiMainBt(BtMenus::btShare);
    share = window->shareScreen();
    QVERIFY(share);
    QVERIFY(share->server()->isListening());
    QCOMPARE(ShareFixture::httpGet(port, "/pcPictureStr").status, 200);
    QCOMPARE(shareWindows(), 1);

    // The main window goes with the share window open: the share window and its port go too.
    window.reset();
    QVERIFY(share.isNull());
    QVERIFY(ShareFixture::portIsFree(port));
}

QTEST_MAIN(tst_MainFormShare)
#include "tst_mainform_share.moc"
