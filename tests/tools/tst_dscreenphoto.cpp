#include "support/testsupport.h"
#include "tools/dscreenphoto.h"

#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

// The capture window's own rules; the grab of real screen pixels is in tst_dscreenphoto_xvfb.
class tst_DScreenPhoto : public QObject
{
    Q_OBJECT

private slots:
    void grabRegion_data();
    void grabRegion();
    void opensFullScreenWithItsCloseButton();
    void smallSelectionGivesNoPictureButCloses();
    void otherButtonsDoNothing();
    void closeButtonClosesWithoutPicture();
};

void tst_DScreenPhoto::grabRegion_data()
{
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QPoint>("end");
    QTest::addColumn<QRect>("region");
    // clang-format off
    QTest::newRow("down right") << QPoint(100, 50) << QPoint(300, 150) << QRect(102, 52, 197, 97);
    QTest::newRow("up left, same region") << QPoint(300, 150) << QPoint(100, 50) << QRect(102, 52, 197, 97);
    QTest::newRow("up right") << QPoint(300, 50) << QPoint(100, 150) << QRect(102, 52, 197, 97);
    QTest::newRow("5 px: one pixel inside") << QPoint(10, 10) << QPoint(14, 14) << QRect(12, 12, 1, 1);
    QTest::newRow("4 px: nothing inside") << QPoint(10, 10) << QPoint(13, 40) << QRect();
    QTest::newRow("a click") << QPoint(10, 10) << QPoint(10, 10) << QRect();
    QTest::newRow("a line") << QPoint(10, 10) << QPoint(500, 11) << QRect();
    // clang-format on
}

void tst_DScreenPhoto::grabRegion()
{
    QFETCH(QPoint, start);
    QFETCH(QPoint, end);
    QFETCH(QRect, region);
    QCOMPARE(DScreenPhoto::grabRegion(start, end), region);
}

void tst_DScreenPhoto::opensFullScreenWithItsCloseButton()
{
    DScreenPhoto photo;
    QVERIFY(photo.isVisible());
    QCOMPARE(photo.pos(), QPoint(0, 0));
    QCOMPARE(photo.size(), QGuiApplication::primaryScreen()->size());
    auto *close = photo.findChild<QPushButton *>(QStringLiteral("closeButton"));
    QVERIFY(close);
    QCOMPARE(close->geometry(), QRect(photo.width() - 100, photo.height() - 100, 40, 40));
}

void tst_DScreenPhoto::smallSelectionGivesNoPictureButCloses()
{
    DScreenPhoto photo;
    QSignalSpy pictures(&photo, &DScreenPhoto::releasePx);
    QSignalSpy closed(&photo, &DScreenPhoto::close);
    // 12 px wide: 8 px inside the frame, not more than 10.
    TestSupport::drag(&photo, { { 100, 100 }, { 106, 140 }, { 111, 160 } });
    QVERIFY(closed.wait(5000));
    QCOMPARE(pictures.count(), 0);
    QVERIFY(!photo.isVisible());
    // A sliver under 4 px grabs nothing at all (no grab "to the screen's edge").
    photo.show();
    TestSupport::drag(&photo, { { 200, 100 }, { 202, 400 } });
    QVERIFY(closed.wait(5000));
    QCOMPARE(pictures.count(), 0);
    QVERIFY(photo.lastCapture().isNull());
}

void tst_DScreenPhoto::otherButtonsDoNothing()
{
    DScreenPhoto photo;
    QSignalSpy closed(&photo, &DScreenPhoto::close);
    TestSupport::drag(&photo, { { 100, 100 }, { 300, 300 } }, Qt::RightButton);
    QTest::mouseDClick(&photo, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QCoreApplication::processEvents();
    QTest::qWait(DScreenPhoto::kRepaintDelayMs * 2);
    QCOMPARE(closed.count(), 0);
    QVERIFY(photo.isVisible());
}

void tst_DScreenPhoto::closeButtonClosesWithoutPicture()
{
    DScreenPhoto photo;
    QSignalSpy pictures(&photo, &DScreenPhoto::releasePx);
    QSignalSpy closed(&photo, &DScreenPhoto::close);
    QTest::mouseClick(photo.findChild<QPushButton *>(QStringLiteral("closeButton")),
                      Qt::LeftButton);
    QCOMPARE(closed.count(), 1);
    QCOMPARE(pictures.count(), 0);
    QVERIFY(!photo.isVisible());
}

QTEST_MAIN(tst_DScreenPhoto)
#include "tst_dscreenphoto.moc"
