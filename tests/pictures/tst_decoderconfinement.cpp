#include "support/craftedpictures.h"
#include "pictures/decoderprotocol.h"
#include "pictures/picturedecoders.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

#include <sys/syscall.h>
#include <unistd.h>

using namespace DecoderProtocol;

#ifndef SYS_landlock_create_ruleset
#define SYS_landlock_create_ruleset 444
#endif

namespace {

// What the decoding processes must not reach: the program's own memory.
char g_programsOwn[] = "the program's own";

// What came of a trial, run as a picture is in a decoding process of the program's: "done", or
// the error the system gave.
QString tried(const QByteArray &what)
{
    Request request;
    request.task = Task::Trial;
    request.bytes = what;
    request.memoryBytes = PictureDecoders::kProbeBytes;
    PictureDecoders::Job job;
    QVector<QImage> frames;
    const Reply reply = PictureDecoders::instance().run(request, job, {}, &frames);
    return reply.probe.detail;
}

bool refused(const QString &result)
{
    return result == QString::number(EPERM) || result == QString::number(EACCES);
}

bool landlockOffered()
{
    return syscall(SYS_landlock_create_ruleset, nullptr, 0, 1) > 0;
}

} // namespace

// Code that took a decoding process over, through a fault in an image library, runs whatever
// system calls it likes: the kernel refuses it what decoding does not need.
class tst_DecoderConfinement : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void escapesRefused_data();
    void escapesRefused();
    void fontsStillRead();
    void heldAndGivenLittle();

private:
    QTemporaryDir m_dir;
    QProcess m_other; // another process of the same user
};

void tst_DecoderConfinement::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QFile outside(m_dir.filePath(QStringLiteral("outside.txt")));
    QVERIFY(outside.open(QIODevice::WriteOnly));
    outside.write("a teacher's own notes");
    outside.close();
    m_other.start(QStringLiteral("sleep"), { QStringLiteral("600") });
    QVERIFY(m_other.waitForStarted());
    // Something of the program's environment a decoding process has no need of.
    qputenv("VELTORINA_NOT_FOR_DECODERS", "1");
}

void tst_DecoderConfinement::cleanupTestCase()
{
    m_other.kill();
    m_other.waitForFinished();
}

void tst_DecoderConfinement::escapesRefused_data()
{
    QTest::addColumn<QByteArray>("what");
    QTest::addColumn<QString>("untouched"); // a file the trial would have changed, or ""
    QTest::addColumn<bool>("byLandlock"); // refused only where the kernel has Landlock
    const QByteArray dir = QFile::encodeName(m_dir.path()) + '/';
    const QByteArray other = QByteArray::number(m_other.processId());
    QTest::newRow("open a file outside for reading")
            << "read\n" + dir + "outside.txt" << QString() << true;
    QTest::newRow("create a file")
            << "create\n" + dir + "made.txt" << m_dir.filePath(QStringLiteral("made.txt")) << false;
    QTest::newRow("remove a file") << "remove\n" + dir + "outside.txt" << QString() << false;
    QTest::newRow("make a folder")
            << "folder\n" + dir + "made" << m_dir.filePath(QStringLiteral("made")) << false;
    QTest::newRow("make an internet socket") << QByteArray("internet") << QString() << false;
    QTest::newRow("make a local socket") << QByteArray("local") << QString() << false;
    QTest::newRow("execute a program") << QByteArray("execute\n/bin/true") << QString() << false;
    QTest::newRow("start a process") << QByteArray("fork") << QString() << false;
    QTest::newRow("raise its memory limit") << QByteArray("memory") << QString() << false;
    QTest::newRow("raise its time limit") << QByteArray("time") << QString() << false;
    QTest::newRow("trace another process") << "trace\n" + other << QString() << false;
    QTest::newRow("signal another process") << "signal\n" + other << QString() << false;
    QTest::newRow("read the program's memory") << "peek\n" + QByteArray::number(getpid()) + '\n'
                    + QByteArray::number(quintptr(g_programsOwn))
                                               << QString() << false;
}

void tst_DecoderConfinement::escapesRefused()
{
    QFETCH(QByteArray, what);
    QFETCH(QString, untouched);
    QFETCH(bool, byLandlock);
    if (byLandlock && !landlockOffered())
        QSKIP("this kernel has no Landlock: the program's own gate alone refuses it");
    const QString result = tried(what);
    QVERIFY2(refused(result), qPrintable(result));
    if (!untouched.isEmpty())
        QVERIFY(!QFileInfo::exists(untouched));
    QVERIFY(QFileInfo::exists(m_dir.filePath(QStringLiteral("outside.txt"))));
}

// What decoding needs is still there: the fonts an SVG's text is drawn with.
void tst_DecoderConfinement::fontsStillRead()
{
    const QString folder = QFileInfo(QStringLiteral("/usr/share/fonts")).canonicalFilePath();
    QString font;
    QDirIterator fonts(folder, { QStringLiteral("*.ttf") }, QDir::Files,
                       QDirIterator::Subdirectories);
    while (font.isEmpty() && fonts.hasNext()) {
        // One that lies there, not one linked from there.
        const QString file = QFileInfo(fonts.next()).canonicalFilePath();
        if (file.startsWith(folder + QLatin1Char('/')))
            font = file;
    }
    if (font.isEmpty())
        QSKIP("no font on this machine");
    QCOMPARE(tried("read\n" + QFile::encodeName(font)), QStringLiteral("done"));
}

// The decoding processes run with no new privileges, under the filter, with only what they need
// of the program's environment.
void tst_DecoderConfinement::heldAndGivenLittle()
{
    PictureDecoders::instance().endIdle(0);
    QVERIFY(tried("nothing") != QString());
    const QVector<qint64> pids = CraftedPictures::runningDecoders();
    QVERIFY(!pids.isEmpty());
    for (const qint64 pid : pids) {
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        QVERIFY(status.open(QIODevice::ReadOnly));
        const QByteArray held = status.readAll();
        QVERIFY2(held.contains("NoNewPrivs:\t1\n"), held.constData());
        QVERIFY2(held.contains("Seccomp:\t2\n"), held.constData());
        QFile environment(QStringLiteral("/proc/%1/environ").arg(pid));
        QVERIFY(environment.open(QIODevice::ReadOnly));
        const QByteArray given = environment.readAll();
        QVERIFY(given.contains("QT_QPA_PLATFORM=offscreen"));
        QVERIFY(!given.contains("VELTORINA_NOT_FOR_DECODERS"));
    }
}

QTEST_MAIN(tst_DecoderConfinement)
#include "tst_decoderconfinement.moc"
