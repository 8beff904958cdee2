#include "sharing/dsharescreen.h"
#include "sharing/httpscreenserver.h"
#include "sharing/qtqritem.h"
#include "support/sharefixture.h"
#include "support/testsupport.h"

#include <QLabel>
#include <QNetworkInterface>
#include <QPointer>
#include <QTcpServer>
#include <QtTest>

// Stands in for the main window: forgets the share window when told, as its destroyShare does.
class ShareOwner : public QObject
{
    Q_OBJECT

public:
    QPointer<DShareScreen> share;
    int told = 0;

public slots:
    void destroyShare()
    {
        ++told;
        share = nullptr;
    }
};

class tst_DShareScreen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void shareAddress_data();
    void shareAddress();
    void showsTheMachinesAddressAndItsCode();
    void onPort8080();
    void busyPortIsSaidInsteadOfAnAddress();
    void withoutAnAddressSaysSoAndStillServes();
    void closingDeletesTheServerAndTellsTheOwner();

private:
    static QLabel *label(DShareScreen &window, const char *name);
    static QtQrItem *qrItem(DShareScreen &window);
    static bool textsFit(DShareScreen &window);
};

namespace {
QList<QHostAddress> addresses(const QStringList &texts)
{
    QList<QHostAddress> list;
    for (const QString &text : texts)
        list << QHostAddress(text);
    return list;
}

const QImage kPicture = [] {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    return image;
}();

FrameGetter::FrameSource testPicture()
{
    return [] { return kPicture; };
}
} // namespace

QLabel *tst_DShareScreen::label(DShareScreen &window, const char *name)
{
    return window.findChild<QLabel *>(QLatin1String(name));
}

QtQrItem *tst_DShareScreen::qrItem(DShareScreen &window)
{
    return dynamic_cast<QtQrItem *>(window.findChild<QWidget *>(QStringLiteral("widget")));
}

// No title or address is cut at the label's edges, whatever the font.
bool tst_DShareScreen::textsFit(DShareScreen &window)
{
    for (const char *name : { "decorTitle", "decorTitle_2", "connectAddress" }) {
        QLabel *text = label(window, name);
        if (QFontMetrics(text->font()).horizontalAdvance(text->text())
            > text->contentsRect().width())
            return false;
    }
    return true;
}

void tst_DShareScreen::initTestCase()
{
    TestSupport::recordConnectWarnings();
}

void tst_DShareScreen::cleanup()
{
    QCOMPARE(TestSupport::takeConnectWarnings(), QStringList());
}

void tst_DShareScreen::shareAddress_data()
{
    QTest::addColumn<QStringList>("machine");
    QTest::addColumn<QString>("address");
    QTest::newRow("loopback and another range are never offered")
            << QStringList{ "127.0.0.1", "10.0.0.5", "192.168.1.20" } << "http://192.168.1.20:8080";
    QTest::newRow("only another range") << QStringList{ "10.0.0.5" } << QString();
    QTest::newRow("no address at all") << QStringList{} << QString();
    QTest::newRow("IPv6 skipped, even one holding a 192 address")
            << QStringList{ "fe80::1", "::ffff:192.168.5.5", "192.0.2.2" }
            << "http://192.0.2.2:8080";
    QTest::newRow("first of two in the platform's order")
            << QStringList{ "192.168.7.1", "192.168.1.20" } << "http://192.168.7.1:8080";
    QTest::newRow("172 and 19 are not 192") << QStringList{ "172.16.0.1", "19.2.0.1" } << QString();
}

void tst_DShareScreen::shareAddress()
{
    QFETCH(QStringList, machine);
    QFETCH(QString, address);
    QCOMPARE(DShareScreen::shareAddress(addresses(machine), HTTPScreenServer::kPort), address);
}

void tst_DShareScreen::showsTheMachinesAddressAndItsCode()
{
    const QList<QHostAddress> machine = QNetworkInterface::allAddresses();
    const quint16 port = ShareFixture::freePort();
    const QString address = DShareScreen::shareAddress(machine, port);
    if (address.isEmpty())
        QSKIP("this machine has no 192.x.x.x address; the table above covers the rule");
    DShareScreen window(nullptr, port, machine, testPicture());
    QVERIFY(window.server()->isListening());
    QCOMPARE(label(window, "connectAddress")->text(), address);
    QCOMPARE(label(window, "decorTitle_2")->text(),
             QStringLiteral("Escanea el siguiente codigo QR"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Compartir con los demás"));
    QCOMPARE(window.size(), QSize(574, 574));
    QVERIFY(window.testAttribute(Qt::WA_DeleteOnClose));
    window.setAttribute(Qt::WA_DeleteOnClose, false); // on the stack here
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QtQrItem *qr = qrItem(window);
    QVERIFY(qr);
    QVERIFY(qr->isVisible());
    QCOMPARE(qr->qrText(), address);
    const QImage picture = window.grab().toImage();
    QVERIFY(picture.save(QStringLiteral("sharescreen.png")));
    QVERIFY(textsFit(window));
    QString why;
    QVERIFY2(ShareFixture::qrModulesMatch(picture, qr->geometry().topLeft(), qr->size(), address,
                                          &why),
             qPrintable(why));
    // The address shown is the one that serves the board.
    const QUrl url(address);
    QCOMPARE(url.port(), int(port));
    QCOMPARE(ShareFixture::httpGet(port, "/").status, 200);
}

void tst_DShareScreen::onPort8080()
{
    // The window as the toolbar opens it: port 8080 and the machine's addresses. Whether 8080 is
    // free depends on the machine, so the test looks first and holds the window to what it saw:
    // one that listens serves this board on 8080 and offers the machine's address; one that
    // cannot says so, while 8080 is indeed held by another program.
    const bool free = ShareFixture::portIsFree(8080);
    if (!free) {
        QTest::ignoreMessage(
                QtCriticalMsg,
                QRegularExpression(QStringLiteral("^HttpListener: Cannot bind on port 8080")));
    }
    auto *window = new DShareScreen(nullptr);
    QPointer<DShareScreen> guard = window;
    QCOMPARE(window->server()->isListening(), free);
    if (free) {
        QCOMPARE(window->server()->port(), 8080);
        const QString address = DShareScreen::getCurrentIPAddress();
        QCOMPARE(label(*window, "connectAddress")->text(), address);
        if (address.isEmpty()) {
            QCOMPARE(label(*window, "decorTitle_2")->text(), QStringLiteral("Sin conexión"));
            QVERIFY(qrItem(*window)->isHidden());
        } else {
            QCOMPARE(QUrl(address).port(), 8080);
            QCOMPARE(label(*window, "decorTitle_2")->text(),
                     QStringLiteral("Escanea el siguiente codigo QR"));
            QVERIFY(!qrItem(*window)->isHidden());
            QCOMPARE(qrItem(*window)->qrText(), address);
        }
        // What answers on 8080 is this window's server.
        const int before = window->server()->frameRequests();
        QCOMPARE(ShareFixture::httpGet(8080, "/pcPictureStr").status, 200);
        QCOMPARE(window->server()->frameRequests(), before + 1);
    } else {
        QCOMPARE(label(*window, "decorTitle_2")->text(),
                 QStringLiteral("No se puede abrir el puerto 8080"));
        QVERIFY(qrItem(*window)->isHidden());
        QVERIFY(!ShareFixture::portIsFree(8080));
    }
    window->close();
    QTRY_VERIFY(guard.isNull());
    if (free)
        QVERIFY(ShareFixture::portIsFree(8080));
}

void tst_DShareScreen::busyPortIsSaidInsteadOfAnAddress()
{
    // Another program holds 8080 (if one on this machine already does, that is the same case).
    QTcpServer occupant;
    occupant.listen(QHostAddress::LocalHost, 8080);
    QTest::ignoreMessage(
            QtCriticalMsg,
            QRegularExpression(QStringLiteral("^HttpListener: Cannot bind on port 8080")));
    DShareScreen window(nullptr);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.server()->isListening());
    QCOMPARE(label(window, "decorTitle_2")->text(),
             QStringLiteral("No se puede abrir el puerto 8080"));
    QCOMPARE(label(window, "connectAddress")->text(),
             QStringLiteral("Puede que otro programa lo esté usando"));
    QVERIFY(!qrItem(window)->isVisible());
    QVERIFY(textsFit(window));
    QVERIFY(window.grab().save(QStringLiteral("sharescreen-busy.png")));
}

void tst_DShareScreen::withoutAnAddressSaysSoAndStillServes()
{
    const quint16 port = ShareFixture::freePort();
    DShareScreen window(nullptr, port, addresses({ "127.0.0.1", "10.0.0.5" }), testPicture());
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(label(window, "decorTitle_2")->text(), QStringLiteral("Sin conexión"));
    QCOMPARE(label(window, "connectAddress")->text(), QString());
    QVERIFY(!qrItem(window)->isVisible());
    QVERIFY(window.server()->isListening());
    QCOMPARE(ShareFixture::httpGet(port, "/").status, 200);
}

void tst_DShareScreen::closingDeletesTheServerAndTellsTheOwner()
{
    const quint16 port = ShareFixture::freePort();
    ShareOwner owner;
    for (int opening = 1; opening <= 2; ++opening) {
        auto *window =
                new DShareScreen(nullptr, port, addresses({ "192.168.1.20" }), testPicture());
        owner.share = window;
        // As the main window connects it: by signature text.
        QVERIFY(QObject::connect(window, SIGNAL(deleteWidget()), &owner, SLOT(destroyShare())));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(window->server()->isListening());
        QTRY_VERIFY_WITH_TIMEOUT(window->server()->grabber()->queuedFrames() > 0, 10000);
        QPointer<FrameGetter> grabber = window->server()->grabber();

        QVERIFY(window->close());
        QTRY_VERIFY(owner.share.isNull());
        QCOMPARE(owner.told, opening);
        QVERIFY(grabber.isNull());
        QVERIFY(ShareFixture::portIsFree(port));
    }
}

QTEST_MAIN(tst_DShareScreen)
#include "tst_dsharescreen.moc"
