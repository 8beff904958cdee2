#include "support/recorderfixture.h"
#include "support/testsupport.h"
#include "tools/dscreenrecord.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace RecorderFixture;

// A real recording of the X screen by the project's own recorder program, stopped from the
// indicator and saved under a name whose format differs from the recorder's.
class tst_DScreenRecordXvfb : public QObject
{
    Q_OBJECT

private slots:
    void recordsTheScreenForASecond();
};

void tst_DScreenRecordXvfb::recordsTheScreenForASecond()
{
    if (!ffmpegCanGrabX11())
        QSKIP("this ffmpeg cannot record an X screen (no x11grab)");
    QTemporaryDir appDir;
    QTemporaryDir home;
    QVERIFY(appDir.isValid() && home.isValid());
    QVERIFY(installRecorder(appDir.path(),
                            QStringLiteral(VELTORINA_SOURCE_DIR "/resources/Sys/record")));

    QWidget board;
    board.setGeometry(0, 0, 800, 600);
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    DScreenRecord recorder(&board);
    recorder.setApplicationDir(appDir.path());
    QVERIFY(recorder.play());
    const QString output = appDir.filePath(QStringLiteral("out.ogv"));
    QVERIFY(recorder.isVisible());
    QTest::qWait(1500); // a moment of lesson

    const QString target = home.filePath(QStringLiteral("lesson.mp4"));
    answerSaveDialog(target);
    QTest::mouseClick(&recorder, Qt::LeftButton);
    QVERIFY(!recorder.isRecording());
    QVERIFY(!recorder.isVisible());
    QVERIFY(readAll(output).startsWith("OggS"));
    QCOMPARE(probeFormat(output), QStringLiteral("ogg"));
    QCOMPARE(recorder.m_fileName, target);
    QCOMPARE(probeFormat(target), QStringLiteral("mov,mp4,m4a,3gp,3g2,mj2"));
}

QTEST_MAIN(tst_DScreenRecordXvfb)
#include "tst_dscreenrecord_xvfb.moc"
