#include "support/testsupport.h"
#include "support/toolsfixture.h"
#include "tools/dscreenphoto.h"

#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

// A capture on a real X server: the pixels handed on are those of the window beneath the
// capture window, inside the dragged frame.
class tst_DScreenPhotoXvfb : public QObject
{
    Q_OBJECT

private slots:
    void capturesThePixelsBeneath_data();
    void capturesThePixelsBeneath();
};

namespace {
// A window painted in two halves: red on the left, blue on the right.
class Target : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(QRect(0, 0, width() / 2, height()), Qt::red);
        painter.fillRect(QRect(width() / 2, 0, width() - width() / 2, height()), Qt::blue);
    }
};
} // namespace

void tst_DScreenPhotoXvfb::capturesThePixelsBeneath_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::newRow("down right") << QPoint(320, 230) << QPoint(620, 330);
    QTest::newRow("up left") << QPoint(620, 330) << QPoint(320, 230);
}

void tst_DScreenPhotoXvfb::capturesThePixelsBeneath()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    Target target;
    target.setWindowFlags(Qt::FramelessWindowHint);
    target.setGeometry(300, 200, 400, 200); // red x 300..499, blue x 500..699
    target.show();
    QVERIFY(QTest::qWaitForWindowExposed(&target));

    DScreenPhoto photo;
    QVERIFY(QTest::qWaitForWindowExposed(&photo));
    QSignalSpy pictures(&photo, &DScreenPhoto::releasePx);
    QSignalSpy closed(&photo, &DScreenPhoto::close);
    QTest::mousePress(&photo, Qt::LeftButton, Qt::NoModifier, from);
    TestSupport::moveTo(&photo, (from + to) / 2);
    TestSupport::moveTo(&photo, to);
    if (!qEnvironmentVariableIsEmpty("VELTORINA_SHOTS")) {
        QTest::qWait(100);
        ToolsFixture::saveShot(QGuiApplication::primaryScreen()->grabWindow(0).toImage(),
                               QStringLiteral("capture-selecting"));
    }
    QTest::mouseRelease(&photo, Qt::LeftButton, Qt::NoModifier, to);
    QVERIFY(closed.wait(10000));
    QCOMPARE(pictures.count(), 1);

    const QPixmap picture = pictures.at(0).at(0).value<QPixmap>();
    QCOMPARE(pictures.at(0).at(1).toPoint(), QPoint(320, 230)); // the frame's top-left
    QCOMPARE(picture.size(), QSize(297, 97)); // inside the 301 x 101 frame
    const QImage image = picture.toImage();
    ToolsFixture::saveShot(image, QStringLiteral("capture"));
    // Screen x 322 + i: red up to 499, blue from 500.
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(image, { 0, 0 }), Qt::red, 0));
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(image, { 177, 50 }), Qt::red, 0));
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(image, { 178, 50 }), Qt::blue, 0));
    QVERIFY(ToolsFixture::near(ToolsFixture::pixel(image, { 296, 96 }), Qt::blue, 0));

    // Opened again, as the capture command does: nothing is left of this selection's frame.
    photo.show();
    photo.raise();
    QVERIFY(QTest::qWaitForWindowExposed(&photo));
    QCoreApplication::processEvents();
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QRect frame = QRect(from, to).normalized();
    int framePixels = 0;
    for (int x = frame.left(); x <= frame.right(); ++x) {
        for (int y : { frame.top(), frame.bottom() })
            framePixels += ToolsFixture::near(screen.pixelColor(x, y), QColor(100, 100, 0), 30);
    }
    QCOMPARE(framePixels, 0);
    photo.hide();
}

QTEST_MAIN(tst_DScreenPhotoXvfb)
#include "tst_dscreenphoto_xvfb.moc"
