#include "content/dlabel.h"
#include "support/galleryfixture.h"
#include "support/testsupport.h"

#include <QDrag>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

namespace {

const QString kTileStyle = QStringLiteral("QLabel{border: 3px solid black;color : black;}");

QPixmap swatch(int width, int height, const QColor &colour)
{
    QPixmap pixmap(width, height);
    pixmap.fill(colour);
    return pixmap;
}

} // namespace

class tst_DLabel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void newTile();
    void click_data();
    void click();
    void payloadBytes_data();
    void payloadBytes();
    void pageTileDrag();
    void closeButton();
    void screenshot();
};

void tst_DLabel::initTestCase()
{
    TestSupport::recordConnectWarnings();
}

void tst_DLabel::cleanup()
{
    const QStringList warnings = TestSupport::takeConnectWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

void tst_DLabel::newTile()
{
    DLabel tile(BtMenus::resText);
    QCOMPARE(tile.kind(), QStringLiteral("1"));
    QVERIFY(tile.fileName().isEmpty() && !tile.fileName().isNull());
    QVERIFY(tile.text().isEmpty() && !tile.text().isNull());
    QCOMPARE(tile.size(), QSize(198, 123));
    auto *close = tile.findChild<QPushButton *>(QStringLiteral("pushButton"));
    QVERIFY(close);
    QVERIFY(close->isHidden());
    QCOMPARE(close->size(), QSize(25, 25));
    QCOMPARE(tile.findChild<QLabel *>(QStringLiteral("label"))->minimumSize(), QSize(198, 123));
}

void tst_DLabel::click_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("expected"); // which signal, with what argument

    const QList<QPair<const char *, Qt::MouseButton>> buttons = { { "left", Qt::LeftButton },
                                                                  { "right", Qt::RightButton },
                                                                  { "middle", Qt::MiddleButton } };
    for (const auto &button : buttons) {
        QTest::addRow("picture, %s", button.first)
                << int(BtMenus::resImage) << int(button.second) << "image :/PicRes/Animal/CAT.png";
        QTest::addRow("word, %s", button.first)
                << int(BtMenus::resText) << int(button.second) << "text Monday";
        QTest::addRow("page, %s", button.first)
                << int(BtMenus::resPage) << int(button.second) << "page";
    }
}

void tst_DLabel::click()
{
    QFETCH(int, kind);
    QFETCH(int, button);
    QFETCH(QString, expected);

    DLabel tile(static_cast<BtMenus::resType>(kind));
    tile.setFileName(QStringLiteral(":/PicRes/Animal/CAT.png"));
    tile.setText(QStringLiteral("Monday"));
    tile.show();
    QStringList emitted;
    connect(&tile, &DLabel::mouseRelImage, this, [&](QString path) { emitted << "image " + path; });
    connect(&tile, &DLabel::mouseRelText, this, [&](QString word) { emitted << "text " + word; });
    connect(&tile, &DLabel::mouseRelPage, this, [&](DLabel *lb) {
        QCOMPARE(lb, &tile);
        emitted << QStringLiteral("page");
    });
    connect(&tile, &DLabel::removeRelPage, this, [&](DLabel *) { emitted << "remove"; });

    QTest::mousePress(&tile, Qt::MouseButton(button), {}, QPoint(60, 40));
    QVERIFY(emitted.isEmpty()); // a press alone reports nothing
    QTest::mouseRelease(&tile, Qt::MouseButton(button), {}, QPoint(60, 40));
    QCOMPARE(emitted, QStringList{ expected });

    // A second click reports again: nothing is left over from the first.
    QTest::mouseClick(&tile, Qt::MouseButton(button), {}, QPoint(10, 10));
    QCOMPARE(emitted, (QStringList{ expected, expected }));
}

void tst_DLabel::payloadBytes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("word") << "1" << QString() << "Monday"
                          << QByteArray::fromHex("00000002 0031 00000000 0000000c"
                                                 "004d006f006e006400610079");
    QTest::newRow("picture") << "0"
                             << ":/PicRes/3D/CUBE.png"
                             << ""
                             << QByteArray::fromHex("00000002 0030 00000028"
                                                    "003a002f005000690063005200650073002f"
                                                    "00330044002f0043005500420045002e0070"
                                                    "006e0067 00000000");
    QTest::newRow("accented word") << "1"
                                   << "" << QStringLiteral("ni\u00f1o")
                                   << QByteArray::fromHex("00000002 0031 00000000 00000008"
                                                          "006e006900f1006f");
}

void tst_DLabel::payloadBytes()
{
    QFETCH(QString, kind);
    QFETCH(QString, fileName);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    const QByteArray payload = DLabel::dragPayload(kind, fileName, text);
    QCOMPARE(payload.toHex(), bytes.toHex());
    const GalleryFixture::Payload read = GalleryFixture::decodePayload(payload);
    QVERIFY(read.complete);
    QCOMPARE(read.fields, (QStringList{ kind, fileName, text }));
}

void tst_DLabel::pageTileDrag()
{
    DLabel tile(BtMenus::resPage);
    tile.show();
    QSignalSpy moves(&tile, &DLabel::mouseMovPage);
    QSignalSpy clicks(&tile, &DLabel::mouseRelPage);

    TestSupport::drag(&tile, { QPoint(20, 20), QPoint(25, 22), QPoint(40, 30) });
    QCOMPARE(moves.count(), 3);
    QCOMPARE(moves.at(1).at(0).value<DLabel *>(), &tile);
    QCOMPARE(moves.at(1).at(1).toPoint(), QPoint(25, 22));
    QCOMPARE(moves.at(2).at(1).toPoint(), QPoint(40, 30));
    QCOMPARE(clicks.count(), 0); // a dragged thumbnail is not chosen
    QVERIFY(!tile.findChild<QDrag *>()); // and never leaves the panel

    // Moving with only the right button held is no page drag: the release still chooses it.
    moves.clear();
    TestSupport::drag(&tile, { QPoint(20, 20), QPoint(60, 60) }, Qt::RightButton);
    QCOMPARE(moves.count(), 0);
    QCOMPARE(clicks.count(), 1);
    QVERIFY(!tile.findChild<QDrag *>());

    // A tap whose finger trembles by a pixel or two still chooses the page.
    clicks.clear();
    TestSupport::drag(&tile, { QPoint(20, 20), QPoint(22, 21), QPoint(21, 22) });
    QCOMPARE(clicks.count(), 1);
}

void tst_DLabel::closeButton()
{
    DLabel tile(BtMenus::resPage);
    tile.setFixedSize(198, 110);
    tile.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tile));
    auto *close = tile.findChild<QPushButton *>(QStringLiteral("pushButton"));
    tile.showBt();
    QCoreApplication::processEvents(); // lay the button out to learn where it sits
    const QPoint closeCentre = close->geometry().center();
    tile.hideBt();
    QSignalSpy removes(&tile, &DLabel::removeRelPage);
    QSignalSpy clicks(&tile, &DLabel::mouseRelPage);

    // Hidden: a click where the button would be is a click on the thumbnail.
    QTest::mouseClick(&tile, Qt::LeftButton, {}, closeCentre);
    QCOMPARE(removes.count(), 0);
    QCOMPARE(clicks.count(), 1);

    tile.showBt();
    QVERIFY(close->isVisible());
    QCOMPARE(tile.childAt(closeCentre), close);
    // The button lies over the bottom-right corner of the picture, inside the tile.
    QVERIFY(tile.rect().contains(close->geometry()));
    QVERIFY(close->geometry().right() > tile.width() - 40);
    QVERIFY(close->geometry().bottom() > tile.height() - 40);
    QTest::mouseClick(close, Qt::LeftButton, {}, close->rect().center());
    QCOMPARE(removes.count(), 1);
    QCOMPARE(removes.at(0).at(0).value<DLabel *>(), &tile);
    QCOMPARE(clicks.count(), 1); // the close button's click is not a thumbnail click

    tile.hideBt();
    QVERIFY(close->isHidden());
}

void tst_DLabel::screenshot()
{
    // Three tiles as the gallery column shows them: a picture, a word and the current page.
    QWidget column;
    column.setStyleSheet(QStringLiteral("background-color: rgb(250, 250, 250);"));
    auto *layout = new QVBoxLayout(&column);
    layout->setContentsMargins(5, 5, 5, 5);

    auto *picture = new DLabel(BtMenus::resImage);
    QPixmap cat(QStringLiteral(":/PicRes/Animal/CAT.png"));
    QVERIFY(!cat.isNull());
    picture->setPixmap(cat.scaled(cat.width() * 100 / cat.height(), 100, Qt::IgnoreAspectRatio,
                                  Qt::SmoothTransformation));
    picture->setStyleSheet(kTileStyle);
    picture->setFixedSize(198, 123);

    auto *word = new DLabel(BtMenus::resText);
    QPixmap wordPicture(150, 60);
    wordPicture.fill(Qt::white);
    {
        QPainter painter(&wordPicture);
        painter.setFont(QFont(QStringLiteral("Arial"), 28));
        painter.setPen(QColor(QStringLiteral("#000000")));
        painter.drawText(wordPicture.rect(), Qt::AlignCenter, QStringLiteral("Monday"));
    }
    word->setPixmap(wordPicture);
    word->setStyleSheet(kTileStyle);
    word->setFixedSize(198, 123);

    auto *page = new DLabel(BtMenus::resPage);
    page->setPixmap(swatch(198, 111, QColor(230, 240, 255)));
    page->setStyleSheet(QStringLiteral(
            "QLabel{border: 3px solid;border-color: rgb(0, 150, 255);color : black;}"));
    page->setFixedSize(198, 111);
    page->showBt();

    layout->addWidget(picture);
    layout->addWidget(word);
    layout->addWidget(page);
    column.show();
    QVERIFY(QTest::qWaitForWindowExposed(&column));

    const QImage shot = column.grab().toImage();
    shot.save(QStringLiteral(VELTORINA_BINARY_DIR "/tst_dlabel.png"));

    // The framed picture is centred in its tile; the frame is black.
    const QImage pictureShot = picture->grab().toImage();
    QCOMPARE(pictureShot.pixelColor(1, 60), QColor(Qt::black));
    QCOMPARE(pictureShot.pixelColor(99, 1), QColor(Qt::black));
    // The page tile's frame is blue and its close button shows the red close sign.
    const QImage pageShot = page->grab().toImage();
    QCOMPARE(pageShot.pixelColor(1, 50), QColor(0, 150, 255));
    auto *close = page->findChild<QPushButton *>(QStringLiteral("pushButton"));
    const QColor closeColour = pageShot.pixelColor(close->geometry().center() + QPoint(-6, 0));
    QVERIFY2(closeColour.red() > 180 && closeColour.green() < 120, qPrintable(closeColour.name()));
    // The word stands in black on white in the middle of its tile.
    const QImage wordShot = word->grab().toImage();
    bool ink = false;
    for (int x = 40; x < 160 && !ink; ++x)
        ink = wordShot.pixelColor(x, 61).lightness() < 80;
    QVERIFY(ink);
}

QTEST_MAIN(tst_DLabel)
#include "tst_dlabel.moc"
