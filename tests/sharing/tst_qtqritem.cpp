#include "sharing/qtqritem.h"
#include "support/qrdecoder.h"
#include "support/sharefixture.h"
#include "support/testsupport.h"

#include <QPainter>
#include <QtTest>

#include <qrcodegen.hpp>

class tst_QtQrItem : public QObject
{
    Q_OBJECT

private slots:
    void paintsTheLibrarysModules_data();
    void paintsTheLibrarysModules();
    void everyShareAddressIsOneSizeAndFillsTheWidget_data();
    void everyShareAddressIsOneSizeAndFillsTheWidget();
    void notSquareSitsTopLeft();
    void textTooLongPaintsNothing();
};

namespace {
// The item as it is seen: on the white of the share window.
QImage render(QtQrItem &item)
{
    QImage picture(item.size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    item.render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
    return picture;
}
} // namespace

void tst_QtQrItem::paintsTheLibrarysModules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("size");
    QTest::newRow("share address, share window size")
            << QStringLiteral("http://192.168.1.20:8080") << QSize(351, 351);
    QTest::newRow("short text, odd size") << QStringLiteral("pizarra") << QSize(200, 200);
    QTest::newRow("accents, larger version")
            << QStringLiteral("Compartir pantalla con los demás, código QR número 2")
            << QSize(400, 400);
    QTest::newRow("longest of the decoder's versions")
            << QString(90, QLatin1Char('z')) + QStringLiteral("/board") << QSize(351, 351);
}

void tst_QtQrItem::paintsTheLibrarysModules()
{
    QFETCH(QString, text);
    QFETCH(QSize, size);
    QtQrItem item;
    QVERIFY(item.qrText().isEmpty());
    item.resize(size);
    item.setQrText(text);
    const QImage picture = render(item);
    QString why;
    QVERIFY2(ShareFixture::qrModulesMatch(picture, QPoint(), size, text, &why), qPrintable(why));
    // A phone reads the same text back from the picture.
    QCOMPARE(QrDecoder::decode(picture, &why), text);
}

void tst_QtQrItem::everyShareAddressIsOneSizeAndFillsTheWidget_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("shortest, 21 characters") << QStringLiteral("http://192.0.0.1:8080");
    QTest::newRow("typical") << QStringLiteral("http://192.168.1.20:8080");
    QTest::newRow("longest, 27 characters") << QStringLiteral("http://192.168.100.200:8080");
}

void tst_QtQrItem::everyShareAddressIsOneSizeAndFillsTheWidget()
{
    QFETCH(QString, address);
    const QByteArray utf8 = address.toUtf8();
    QCOMPARE(qrcodegen::QrCode::encodeText(utf8.constData(), qrcodegen::QrCode::Ecc::LOW).getSize(),
             25);
    QtQrItem item;
    item.resize(351, 351);
    item.setQrText(address);
    // Cells of 351 / 27 = 13 pixels after a quiet module: dark from pixel 13 to pixel 337.
    QCOMPARE(TestSupport::darkBounds(render(item), 100), QRect(QPoint(13, 13), QPoint(337, 337)));
}

void tst_QtQrItem::notSquareSitsTopLeft()
{
    const QString text = QStringLiteral("http://192.168.1.20:8080");
    QtQrItem item;
    item.resize(400, 270); // side 270, cells of 10
    item.setQrText(text);
    const QImage picture = render(item);
    QCOMPARE(TestSupport::darkBounds(picture, 100), QRect(QPoint(10, 10), QPoint(259, 259)));
    QString why;
    QVERIFY2(ShareFixture::qrModulesMatch(picture, QPoint(), item.size(), text, &why),
             qPrintable(why));
}

void tst_QtQrItem::textTooLongPaintsNothing()
{
    QtQrItem item;
    item.resize(300, 300);
    item.setQrText(QString(5000, QLatin1Char('x')));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^QtQrItem: text too long")));
    QVERIFY(TestSupport::darkBounds(render(item), 100).isNull());
}

QTEST_MAIN(tst_QtQrItem)
#include "tst_qtqritem.moc"
