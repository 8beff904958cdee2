#include "support/recorderfixture.h"
#include "support/testsupport.h"
#include "tools/dscreenrecord.h"

#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>

using namespace RecorderFixture;

// The recorder's process handling and saving, with a stand-in recorder program that writes
// lines instead of video and needs a moment to finish its file when asked to stop.
class tst_DScreenRecord : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void indicatorSitsNearTheTopRightCorner();
    void missingRecorderIsReported();
    void recordsAndSavesTheCompleteFile();
    void cancelledSaveKeepsTheRecording();
    void failedSaveKeepsTheUsersFile();
    void savedInTheFormatItsNameSays_data();
    void savedInTheFormatItsNameSays();
    void conversionShowsProgressAndCancels_data();
    void conversionShowsProgressAndCancels();
    void recorderGivingUpIsReported();
    void oneRecordingAtATime();
    void deletingTheWidgetEndsTheRecorder();

private:
    QString output() const { return m_appDir->filePath(QStringLiteral("out.ogv")); }
    std::unique_ptr<QTemporaryDir> m_appDir;
    std::unique_ptr<QTemporaryDir> m_home;
};

void tst_DScreenRecord::init()
{
    m_appDir = std::make_unique<QTemporaryDir>();
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_appDir->isValid() && m_home->isValid());
}

void tst_DScreenRecord::indicatorSitsNearTheTopRightCorner()
{
    QWidget board;
    board.resize(1000, 700);
    DScreenRecord recorder(&board);
    QCOMPARE(recorder.pos(), QPoint(765, 45));
    QVERIFY(!recorder.isVisibleTo(&board));
    QVERIFY(recorder.findChild<QLabel *>());
    QVERIFY(!recorder.findChild<QLabel *>()->pixmap(Qt::ReturnByValue).isNull());
    QCOMPARE(DScreenRecord::shared(&board), DScreenRecord::shared(&board));
    delete DScreenRecord::shared(&board);
}

void tst_DScreenRecord::missingRecorderIsReported()
{
    QWidget board;
    DScreenRecord recorder(&board);
    recorder.setApplicationDir(m_appDir->path());
    QString message;
    auto answered = answerMessage(&message);
    QVERIFY(!recorder.play());
    QVERIFY(*answered);
    QCOMPARE(message, QStringLiteral("Error al iniciar la grabación"));
    QVERIFY(!recorder.isRecording());
    QVERIFY(!recorder.isVisibleTo(&board));
}

void tst_DScreenRecord::recordsAndSavesTheCompleteFile()
{
    QVERIFY(writeFakeRecorder(m_appDir->path()));
    QVERIFY(writeFile(output(), "OLD RECORDING\n"));
    const QString target = m_home->filePath(QStringLiteral("lesson.ogv"));
    QVERIFY(writeFile(target, "the user's older video"));

    QWidget board;
    board.resize(1000, 700);
    board.show();
    DScreenRecord recorder(&board);
    recorder.setApplicationDir(m_appDir->path());
    QVERIFY(recorder.play());
    QVERIFY(recorder.isVisible());
    QTRY_VERIFY(readAll(output()).count("frame") >= 3);
    QVERIFY(!readAll(output()).contains("OLD")); // the previous recording went first
    const QStringList arguments = QString::fromUtf8(readAll(output() + QLatin1String(".args")))
                                          .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(arguments, recorder.recorderArguments());
    QCOMPARE(arguments.mid(0, 4), (QStringList{ "-o", output(), "--fps", "8" }));

    // A click on the indicator stops and asks where to save.
    answerSaveDialog(target);
    QTest::mouseClick(&recorder, Qt::LeftButton);
    QVERIFY(!recorder.isVisible());
    QVERIFY(!recorder.isRecording());
    // The copy was made after the recorder had finished its file, and replaced the old one.
    QVERIFY(readAll(output()).endsWith("END\n"));
    QCOMPARE(readAll(target), readAll(output()));
    QCOMPARE(recorder.m_fileName, target);
}

void tst_DScreenRecord::cancelledSaveKeepsTheRecording()
{
    QVERIFY(writeFakeRecorder(m_appDir->path()));
    QWidget board;
    DScreenRecord recorder(&board);
    recorder.setApplicationDir(m_appDir->path());
    QVERIFY(recorder.play());
    auto answered = TestSupport::answerNextModal([](QWidget *dialog) { dialog->close(); });
    recorder.stop();
    QVERIFY(*answered);
    QVERIFY(readAll(output()).endsWith("END\n"));
    QVERIFY(recorder.m_fileName.isEmpty());
}

void tst_DScreenRecord::failedSaveKeepsTheUsersFile()
{
    QWidget board;
    DScreenRecord recorder(&board);
    recorder.setApplicationDir(m_appDir->path());
    const QString target = m_home->filePath(QStringLiteral("keep.ogv"));
    QVERIFY(writeFile(target, "precious"));

    // No recording at all: reported, and the user's file untouched.
    QString message;
    std::shared_ptr<bool> reported;
    answerSaveDialog(target, [&]() { reported = answerMessage(&message); });
    recorder.stop();
    QVERIFY(reported);
    QVERIFY(*reported);
    QCOMPARE(message, QStringLiteral("Error al guardar la grabación"));
    QCOMPARE(readAll(target), QByteArray("precious"));
    QVERIFY(recorder.m_fileName.isEmpty());

    // A recording that cannot be converted, and a folder that does not exist.
    QVERIFY(writeFile(output(), "not a video"));
    const QString mp4 = m_home->filePath(QStringLiteral("keep.mp4"));
    QVERIFY(writeFile(mp4, "precious too"));
    QVERIFY(!recorder.saveRecording(mp4));
    QCOMPARE(readAll(mp4), QByteArray("precious too"));
    QVERIFY(!recorder.saveRecording(m_home->filePath(QStringLiteral("no/such/folder/a.ogv"))));
    QCOMPARE(QDir(m_home->path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // no leftovers
}

void tst_DScreenRecord::savedInTheFormatItsNameSays_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("savedAs");
    QTest::addColumn<QString>("format");
    QTest::newRow("mp4") << "a.mp4"
                         << "a.mp4"
                         << "mov,mp4,m4a,3gp,3g2,mj2";
    QTest::newRow("avi") << "a.avi"
                         << "a.avi"
                         << "avi";
    QTest::newRow("flv") << "a.flv"
                         << "a.flv"
                         << "flv";
    QTest::newRow("ogv as recorded") << "a.ogv"
                                     << "a.ogv"
                                     << "ogg";
    QTest::newRow("no suffix") << "lesson"
                               << "lesson.ogv"
                               << "ogg";
}

void tst_DScreenRecord::savedInTheFormatItsNameSays()
{
    QFETCH(QString, name);
    QFETCH(QString, savedAs);
    QFETCH(QString, format);
    QVERIFY(makeTestVideo(output()));
    QWidget board;
    DScreenRecord recorder(&board);
    recorder.setApplicationDir(m_appDir->path());
    QString error;
    QVERIFY2(recorder.saveRecording(m_home->filePath(name), &error), qPrintable(error));
    QCOMPARE(recorder.m_fileName, m_home->filePath(savedAs));
    QCOMPARE(probeFormat(m_home->filePath(savedAs)), format);
}

void tst_DScreenRecord::conversionShowsProgressAndCancels_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("runs to the end") << false;
    QTest::newRow("cancelled half way") << true;
}

// A stand-in converter on the path that reports a ten-second clip and its progress as ffmpeg
// does, slowly: the board must go on while it runs, with a dialog showing how far it got.
void tst_DScreenRecord::conversionShowsProgressAndCancels()
{
    QFETCH(bool, cancel);
    QVERIFY(writeFile(output(), "a recording"));
    const QString tools = m_appDir->filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(tools));
    const QString converter = tools + QStringLiteral("/ffmpeg");
    QVERIFY(writeFile(converter,
                      "#!/bin/sh\n"
                      "echo '  Duration: 00:00:10.00, start: 0.000000, bitrate: 1 kb/s' >&2\n"
                      "for s in 1 2 3 4 5; do echo out_time=00:00:0$s.000000; "
                      "echo progress=continue; sleep 0.2; done\n"
                      "[ \"$FAKE_FFMPEG_STALL\" = 1 ] && sleep 30\n"
                      "for last; do :; done\n"
                      "echo converted > \"$last\"\n"));
    QVERIFY(QFile::setPermissions(converter, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(tools) + ':' + path);
    qputenv("FAKE_FFMPEG_STALL", cancel ? "1" : "0");
    const QString target = m_home->filePath(QStringLiteral("lesson.mp4"));
    QVERIFY(writeFile(target, "precious"));

    QWidget board;
    board.show();
    DScreenRecord recorder(&board);
    recorder.setApplicationDir(m_appDir->path());
    int shownAt = -1;
    int ticks = 0;
    QTimer watch; // the board's own timers keep running during the conversion
    connect(&watch, &QTimer::timeout, this, [&] {
        ++ticks;
        QProgressDialog *dialog = recorder.conversionDialog();
        if (!dialog || !dialog->isVisible() || dialog->value() < 500 || shownAt >= 0)
            return;
        shownAt = dialog->value();
        dialog->grab().save(QStringLiteral("conversion-progress.png"));
        if (cancel) {
            const auto buttons = dialog->findChildren<QPushButton *>();
            QVERIFY(!buttons.isEmpty());
            QTest::mouseClick(buttons.first(), Qt::LeftButton);
        }
    });
    watch.start(20);
    QString error;
    const bool saved = recorder.saveRecording(target, &error);
    qputenv("PATH", path);
    QVERIFY2(saved != cancel, qPrintable(error));
    QVERIFY(ticks > 20);
    QVERIFY(shownAt >= 500 && shownAt < 1000);
    QVERIFY(!recorder.conversionDialog());
    // Cancelling loses nothing: the user's file and the recording are as they were.
    QCOMPARE(readAll(target), cancel ? QByteArray("precious") : QByteArray("converted\n"));
    QCOMPARE(readAll(output()), QByteArray("a recording"));
    QCOMPARE(QDir(m_home->path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void tst_DScreenRecord::recorderGivingUpIsReported()
{
    const QString program = m_appDir->filePath(QStringLiteral("Sys/record"));
    QVERIFY(QDir().mkpath(m_appDir->filePath(QStringLiteral("Sys"))));
    QVERIFY(writeFile(program, "#!/bin/sh\nsleep 0.2\nexit 1\n"));
    QVERIFY(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QWidget board;
    board.show();
    DScreenRecord recorder(&board);
    recorder.setApplicationDir(m_appDir->path());
    QVERIFY(recorder.play());
    QString message;
    auto answered = answerMessage(&message);
    QTRY_VERIFY(*answered);
    QCOMPARE(message, QStringLiteral("Error al grabar la pantalla"));
    QVERIFY(!recorder.isVisible());
    QVERIFY(!recorder.isRecording());
}

void tst_DScreenRecord::oneRecordingAtATime()
{
    QVERIFY(writeFakeRecorder(m_appDir->path()));
    QWidget board;
    DScreenRecord first(&board);
    DScreenRecord second(&board);
    first.setApplicationDir(m_appDir->path());
    second.setApplicationDir(m_appDir->path());
    QVERIFY(first.play());
    QString message;
    auto answered = answerMessage(&message);
    QVERIFY(!second.play());
    QVERIFY(*answered);
    QVERIFY(first.isRecording());
    QVERIFY(!second.isRecording());
    QVERIFY(!readAll(output()).endsWith("END\n")); // the first recording goes on
}

void tst_DScreenRecord::deletingTheWidgetEndsTheRecorder()
{
    QVERIFY(writeFakeRecorder(m_appDir->path()));
    auto *board = new QWidget;
    auto *recorder = new DScreenRecord(board);
    recorder->setApplicationDir(m_appDir->path());
    QVERIFY(recorder->play());
    QTRY_VERIFY(!readAll(output() + QLatin1String(".pid")).isEmpty());
    const pid_t pid = readAll(output() + QLatin1String(".pid")).trimmed().toInt();
    QVERIFY(pid > 0);
    QCOMPARE(::kill(pid, 0), 0);
    delete board;
    QCOMPARE(::kill(pid, 0), -1);
    QCOMPARE(errno, ESRCH);
    QVERIFY(readAll(output()).endsWith("END\n"));
}

QTEST_MAIN(tst_DScreenRecord)
#include "tst_dscreenrecord.moc"
