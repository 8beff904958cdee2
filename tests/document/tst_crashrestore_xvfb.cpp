#include "document/toolrun.h"

#include <QtTest>

#include <signal.h>

// The real program, killed after an autosave, or its session ended before one, and started
// again: the restore question comes up and its answers are honoured. The program is driven from
// outside as a user would, with xdotool (clicks at the toolbar's places on a 1920 x 1080 screen,
// typing into its dialogs); the autosave interval is set through the program's test hook
// VELTORINA_AUTOSAVE_MS.
class tst_CrashRestore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void restoredAfterACrash();
    void cancelKeepsTheAutosaveForTheNextStart();
    void sessionEndedBeforeAnAutosave_data();
    void sessionEndedBeforeAnAutosave();

private:
    bool start(int autosaveMs = 400);
    bool xdo(const QStringList &arguments, QByteArray *output = nullptr);
    // A minute: a sanitized start on a busy machine.
    QString findWindow(const QString &name, int timeoutMs = 60000);
    bool click(int x, int y);
    void insertMedia(QPoint entry, const QString &dialogTitle, const QString &file);
    void addColourPage();
    void drawStroke();
    QString temporalName() const;
    QStringList workDirs() const; // working directories in the program's temporary folder
    QString waitForAutosave(const QString &other, const QString &needle,
                            const QDateTime &since = QDateTime());
    bool answerRestore(const QStringList &keys);
    void exitCleanly();

    std::unique_ptr<QTemporaryDir> m_run; // the program's current directory ("init" lives here)
    std::unique_ptr<QTemporaryDir> m_temp; // its TMPDIR: the working directories
    std::unique_ptr<QProcess> m_program;
    QString m_picture;
    QString m_video;
    QVector<qint64> m_stopped; // processes the test stopped, killed by it if they outlive the test
};

namespace {

// Places on the 1920 x 1080 screen (the toolbar in its standard style, as the program starts).
const QPoint kMenuButton(727, 133);
const QPoint kExitEntry(722, 492);
const QPoint kInsertButton(1031, 133);
const QPoint kPictureEntry(993, 217);
const QPoint kVideoEntry(1076, 217);
const QPoint kPageButton(1223, 133);
const QPoint kColourPageEntry(1123, 255);
const QPoint kPenButton(905, 133);
// Far below the toolbar and its palettes.
const QPoint kStroke[] = { { 300, 600 }, { 400, 650 }, { 500, 700 }, { 600, 720 }, { 700, 800 } };
const QString kStrokeElement = QStringLiteral("svg:polyline");

// A condition met within timeoutMs (polled while events run); the waits only bound the test.
bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(100);
    }
    return true;
}

// The processes pid started that are still running.
QVector<qint64> childrenOf(qint64 pid)
{
    QVector<qint64> children;
    const QString tasks = QStringLiteral("/proc/%1/task/").arg(pid);
    for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(tasks + task + QStringLiteral("/children"));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &child : file.readAll().simplified().split(' ')) {
            if (child.toLongLong() > 0)
                children << child.toLongLong();
        }
    }
    return children;
}

bool isRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const QByteArray fields = line.mid(line.lastIndexOf(')') + 1).trimmed();
    const char state = fields.isEmpty() ? 'X' : fields.at(0);
    return state != 'Z' && state != 'X';
}

} // namespace

void tst_CrashRestore::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is not installed: apt-get install xdotool");
}

void tst_CrashRestore::init()
{
    m_run = std::make_unique<QTemporaryDir>();
    m_temp = std::make_unique<QTemporaryDir>();
    m_picture = m_run->filePath(QStringLiteral("red.png"));
    QImage red(120, 80, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(m_picture));
    m_video = m_run->filePath(QStringLiteral("clip.mp4"));
    const ToolRun made =
            runTool(QStringLiteral("ffmpeg"),
                    { QStringLiteral("-y"), QStringLiteral("-nostdin"), QStringLiteral("-loglevel"),
                      QStringLiteral("error"), QStringLiteral("-f"), QStringLiteral("lavfi"),
                      QStringLiteral("-i"), QStringLiteral("testsrc=duration=1:size=64x48:rate=5"),
                      QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), m_video },
                    m_run->path(), 60000);
    QVERIFY2(made.ok, qPrintable(made.error));
}

void tst_CrashRestore::cleanup()
{
    for (const qint64 pid : std::exchange(m_stopped, {})) {
        if (isRunning(pid))
            ::kill(pid_t(pid), SIGKILL);
    }
    if (m_program && m_program->state() != QProcess::NotRunning) {
        m_program->kill(); // ours: started by this test
        m_program->waitForFinished(10000);
    }
    m_program.reset();
}

bool tst_CrashRestore::start(int autosaveMs)
{
    if (m_program && m_program->state() != QProcess::NotRunning)
        return false;
    m_program = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELTORINA_AUTOSAVE_MS"), QString::number(autosaveMs));
    environment.insert(QStringLiteral("TMPDIR"), m_temp->path());
    m_program->setProcessEnvironment(environment);
    m_program->setWorkingDirectory(m_run->path());
    m_program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_program->setStandardOutputFile(QProcess::nullDevice());
    m_program->start(QStringLiteral(VELTORINA_PROGRAM), QStringList());
    return m_program->waitForStarted(10000);
}

bool tst_CrashRestore::xdo(const QStringList &arguments, QByteArray *output)
{
    const ToolRun run = runTool(QStringLiteral("xdotool"), arguments, m_run->path(), 10000);
    if (output)
        *output = run.output;
    return run.ok;
}

QString tst_CrashRestore::findWindow(const QString &name, int timeoutMs)
{
    QString id;
    waitFor(
            [&] {
                QByteArray found;
                xdo({ QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                      QStringLiteral("--name"),
                      QLatin1Char('^') + QRegularExpression::escape(name) + QLatin1Char('$') },
                    &found);
                id = QString::fromUtf8(found).split(QLatin1Char('\n'), Qt::SkipEmptyParts).value(0);
                return !id.isEmpty();
            },
            timeoutMs);
    return id;
}

bool tst_CrashRestore::click(int x, int y)
{
    const bool clicked = xdo({ QStringLiteral("mousemove"), QString::number(x), QString::number(y),
                               QStringLiteral("click"), QStringLiteral("1") });
    QTest::qWait(400); // palettes open on the click's release
    return clicked;
}

void tst_CrashRestore::insertMedia(QPoint entry, const QString &dialogTitle, const QString &file)
{
    QVERIFY(click(kInsertButton.x(), kInsertButton.y()));
    QVERIFY(click(entry.x(), entry.y()));
    const QString dialog = findWindow(dialogTitle);
    QVERIFY2(!dialog.isEmpty(), qPrintable(dialogTitle + QStringLiteral(" did not open")));
    QVERIFY(xdo({ QStringLiteral("windowfocus"), QStringLiteral("--sync"), dialog }));
    QVERIFY(xdo({ QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), file }));
    QVERIFY(xdo({ QStringLiteral("key"), QStringLiteral("Return") }));
    QVERIFY(waitFor([&] { return findWindow(dialogTitle, 0).isEmpty(); }, 10000));
}

void tst_CrashRestore::addColourPage()
{
    QVERIFY(click(kPageButton.x(), kPageButton.y()));
    QVERIFY(click(kColourPageEntry.x(), kColourPageEntry.y()));
}

void tst_CrashRestore::drawStroke()
{
    QVERIFY(click(kPenButton.x(), kPenButton.y())); // the pencil, its palette opened
    QStringList drag = { QStringLiteral("mousemove"), QString::number(kStroke[0].x()),
                         QString::number(kStroke[0].y()), QStringLiteral("mousedown"),
                         QStringLiteral("1") };
    for (const QPoint &point : kStroke)
        drag << QStringLiteral("mousemove") << QString::number(point.x())
             << QString::number(point.y());
    QVERIFY(xdo(drag << QStringLiteral("mouseup") << QStringLiteral("1")));
}

QString tst_CrashRestore::temporalName() const
{
    QSettings init(m_run->filePath(QStringLiteral("init")), QSettings::IniFormat);
    return init.value(QStringLiteral("TemporalName")).toString();
}

QStringList tst_CrashRestore::workDirs() const
{
    QStringList dirs = QDir(m_temp->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    // Qt's runtime folder (XDG_RUNTIME_DIR unset) also lands in TMPDIR; it is no document.
    dirs.erase(std::remove_if(dirs.begin(), dirs.end(),
                              [](const QString &dir) {
                                  return dir.startsWith(QLatin1String("runtime-"));
                              }),
               dirs.end());
    return dirs;
}

// Waits for an autosave recorded under a directory other than other whose "content.xml"
// holds needle, written after since (when given); returns that directory.
QString tst_CrashRestore::waitForAutosave(const QString &other, const QString &needle,
                                          const QDateTime &since)
{
    QString recorded;
    waitFor(
            [&] {
                recorded = temporalName();
                if (recorded.isEmpty() || recorded == other)
                    return false;
                QFile content(recorded + QStringLiteral("/content.xml"));
                if (since.isValid() && QFileInfo(content).lastModified() < since)
                    return false;
                return content.open(QIODevice::ReadOnly)
                        && QString::fromUtf8(content.readAll()).contains(needle);
            },
            30000);
    return recorded;
}

bool tst_CrashRestore::answerRestore(const QStringList &keys)
{
    const QString question = findWindow(QStringLiteral("Atención"));
    if (question.isEmpty())
        return false;
    // Found as soon as it is mapped, a window may not take the focus yet on a loaded machine:
    // asked again until it does, within a bound.
    const bool focused = waitFor(
            [&] { return xdo({ QStringLiteral("windowfocus"), QStringLiteral("--sync"), question }); },
            20000);
    return focused
            && xdo(QStringList{ QStringLiteral("key"), QStringLiteral("--delay"),
                                QStringLiteral("100") }
                   + keys);
}

void tst_CrashRestore::exitCleanly()
{
    QVERIFY(click(kMenuButton.x(), kMenuButton.y()));
    QVERIFY(click(kExitEntry.x(), kExitEntry.y()));
    // Exit may first offer to save the document: Tab from the default "Si" to "No", then press.
    if (!m_program->waitForFinished(3000) && m_program->state() != QProcess::NotRunning) {
        const QString question = findWindow(QStringLiteral("Atención"), 5000);
        if (!question.isEmpty()) {
            xdo({ QStringLiteral("windowfocus"), QStringLiteral("--sync"), question });
            xdo({ QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100"),
                  QStringLiteral("Tab"), QStringLiteral("space") });
        }
    }
    if (m_program->state() != QProcess::NotRunning && !m_program->waitForFinished(20000)) {
        runTool(QStringLiteral("import"),
                { QStringLiteral("-window"), QStringLiteral("root"),
                  QStringLiteral("/tmp/crashrestore-exit.png") },
                m_run->path(), 20000);
        QFAIL("the program did not end at the exit command");
    }
    QCOMPARE(m_program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program->exitCode(), 0);
}

void tst_CrashRestore::restoredAfterACrash()
{
    QVERIFY(start());
    QVERIFY(!findWindow(QStringLiteral("Veltorisa")).isEmpty());
    QTest::qWait(1000); // the toolbar is laid out once the window is shown
    insertMedia(kPictureEntry, QStringLiteral("Abrir Imagen"), m_picture);
    insertMedia(kVideoEntry, QStringLiteral("Abrir Vídeo"), m_video);
    addColourPage();
    const QString crashed = waitForAutosave(QString(), QStringLiteral("svg:page"));
    QVERIFY2(!crashed.isEmpty(), "no autosave happened");
    QVERIFY(waitFor(
            [&] {
                QFile content(crashed + QStringLiteral("/content.xml"));
                return content.open(QIODevice::ReadOnly)
                        && content.readAll().count("<svg:page id=") == 2;
            },
            30000));
    QCOMPARE(QDir(crashed + QStringLiteral("/images")).entryList(QDir::Files).size(), 1);
    QCOMPARE(QDir(crashed + QStringLiteral("/videos")).entryList(QDir::Files),
             QStringList{ QStringLiteral("clip.mp4") });

    m_program->kill(); // SIGKILL: no clean-up of any kind
    QVERIFY(m_program->waitForFinished(10000));
    QCOMPARE(m_program->exitStatus(), QProcess::CrashExit);

    // The restored document is autosaved at once in the new working directory (written anew:
    // the objects' media are found there), with its pages, picture and video; the crashed
    // run's directory is gone.
    const QDateTime restarted = QDateTime::currentDateTime();
    QVERIFY(start());
    QVERIFY2(answerRestore({ QStringLiteral("Return") }), "no restore question"); // "Si"
    const QString restored = waitForAutosave(crashed, QStringLiteral("svg:page"), restarted);
    QVERIFY2(!restored.isEmpty(), "the restored document was not saved again");
    QVERIFY(waitFor([&] { return !QFileInfo::exists(crashed); }, 10000));
    QFile content(restored + QStringLiteral("/content.xml"));
    QVERIFY(content.open(QIODevice::ReadOnly));
    const QByteArray xml = content.readAll();
    QCOMPARE(xml.count("<svg:page id="), 2);
    // The picture the restored page names is in the new working directory and is the one
    // that was inserted.
    const QRegularExpressionMatch href =
            QRegularExpression(QStringLiteral("\"(images/[^\"]+)\"")).match(QString::fromUtf8(xml));
    QVERIFY2(href.hasMatch(), xml.constData());
    const QImage picture(restored + QLatin1Char('/') + href.captured(1));
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.pixelColor(5, 5), QColor(Qt::red));
    // So is the video, although the folder it was restored from is gone.
    QVERIFY2(xml.contains("videos/clip.mp4"), xml.constData());
    QFile video(restored + QStringLiteral("/videos/clip.mp4"));
    QVERIFY(video.open(QIODevice::ReadOnly));
    QFile original(m_video);
    QVERIFY(original.open(QIODevice::ReadOnly));
    QVERIFY(video.readAll() == original.readAll());

    // A clean exit removes the working directory and the record: the next start asks nothing.
    exitCleanly();
    QCOMPARE(temporalName(), QString());
    QCOMPARE(workDirs(), QStringList());
}

void tst_CrashRestore::cancelKeepsTheAutosaveForTheNextStart()
{
    QVERIFY(start());
    QVERIFY(!findWindow(QStringLiteral("Veltorisa")).isEmpty());
    QTest::qWait(1000);
    addColourPage();
    const QString crashed = waitForAutosave(QString(), QStringLiteral("svg:page"));
    QVERIFY2(!crashed.isEmpty(), "no autosave happened");
    m_program->kill();
    QVERIFY(m_program->waitForFinished(10000));

    // "Cancelar" (the third button: two tabs from the default "Si"): the autosave stays.
    QVERIFY(start());
    QVERIFY(answerRestore(
            { QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("space") }));
    QVERIFY(!findWindow(QStringLiteral("Veltorisa")).isEmpty());
    QTest::qWait(2000); // several autosave intervals of a run without changes
    QVERIFY(QFileInfo::exists(crashed + QStringLiteral("/content.xml")));
    QCOMPARE(temporalName(), crashed);
    exitCleanly();
    QCOMPARE(temporalName(), crashed); // still offered at the next start
    QCOMPARE(workDirs(), QStringList{ QFileInfo(crashed).fileName() });

    // The next start asks again, and "Si" now restores it.
    QVERIFY(start());
    QVERIFY2(answerRestore({ QStringLiteral("Return") }), "not asked again");
    const QString restored = waitForAutosave(crashed, QStringLiteral("svg:page"));
    QVERIFY(!restored.isEmpty());
    QVERIFY(waitFor([&] { return !QFileInfo::exists(crashed); }, 10000));
    exitCleanly();
    QCOMPARE(temporalName(), QString());
    QCOMPARE(workDirs(), QStringList());
}

void tst_CrashRestore::sessionEndedBeforeAnAutosave_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("dialogOpen");
    QTest::addColumn<int>("times"); // a second one must not cut the first one's work short
    QTest::newRow("SIGTERM (a logout, a shutdown)") << int(SIGTERM) << false << 1;
    QTest::newRow("SIGHUP twice, a file dialog open") << int(SIGHUP) << true << 2;
}

// A stroke drawn, and the session ends long before the first autosave: the program writes it
// and ends by that signal, its decoding processes with it (even stopped, when they would not
// see it go), and the next start offers the stroke back.
void tst_CrashRestore::sessionEndedBeforeAnAutosave()
{
    QFETCH(int, signal);
    QFETCH(bool, dialogOpen);
    QFETCH(int, times);
    QVERIFY(start(3600000));
    QVERIFY(!findWindow(QStringLiteral("Veltorisa")).isEmpty());
    QTest::qWait(1000);
    drawStroke();
    // The dialog comes once the program has taken the stroke's release before it.
    QVERIFY(click(kInsertButton.x(), kInsertButton.y()));
    QVERIFY(click(kPictureEntry.x(), kPictureEntry.y()));
    QVERIFY(!findWindow(QStringLiteral("Abrir Imagen")).isEmpty());
    if (!dialogOpen) {
        QVERIFY(xdo({ QStringLiteral("key"), QStringLiteral("Escape") }));
        QVERIFY(waitFor([&] { return findWindow(QStringLiteral("Abrir Imagen"), 0).isEmpty(); },
                        20000));
    }
    const qint64 pid = m_program->processId();
    QVERIFY(waitFor([&] { return !childrenOf(pid).isEmpty(); }, 30000));
    m_stopped = childrenOf(pid);
    for (const qint64 child : qAsConst(m_stopped))
        QCOMPARE(::kill(pid_t(child), SIGSTOP), 0);
    QCOMPARE(temporalName(), QString());

    for (int sent = 0; sent < times; ++sent)
        QCOMPARE(::kill(pid_t(pid), signal), 0);
    QVERIFY2(m_program->waitForFinished(60000), "the program did not end");
    QCOMPARE(m_program->exitStatus(), QProcess::CrashExit); // ended by the signal
    for (const qint64 child : qAsConst(m_stopped))
        QVERIFY2(waitFor([child] { return !isRunning(child); }, 10000),
                 qPrintable(QStringLiteral("process %1 outlived the program").arg(child)));
    const QString ended = temporalName();
    QVERIFY2(!ended.isEmpty(), "nothing was written at the end of the session");

    const QDateTime restarted = QDateTime::currentDateTime();
    QVERIFY(start());
    QVERIFY2(answerRestore({ QStringLiteral("Return") }), "no restore question"); // "Si"
    const QString restored = waitForAutosave(ended, kStrokeElement, restarted);
    QVERIFY2(!restored.isEmpty(), "the stroke did not come back");
    QVERIFY(waitFor([&] { return !QFileInfo::exists(ended); }, 10000));
    exitCleanly();
    QCOMPARE(workDirs(), QStringList());
}

QTEST_GUILESS_MAIN(tst_CrashRestore)
#include "tst_crashrestore_xvfb.moc"
