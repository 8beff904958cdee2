#include "recorderfixture.h"

#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>

namespace RecorderFixture {

namespace {
bool makeExecutable(const QString &path)
{
    return QFile::setPermissions(path,
                                 QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                         | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                         | QFileDevice::ExeGroup);
}

QString run(const QString &program, const QStringList &arguments, int *exitCode = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(5000) || !process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(2000);
        if (exitCode)
            *exitCode = -1;
        return QString();
    }
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}
} // namespace

bool writeFakeRecorder(const QString &appDir)
{
    const QString path = appDir + QLatin1String("/Sys/record");
    QDir().mkpath(appDir + QLatin1String("/Sys"));
    const QByteArray script = R"(#!/bin/sh
out=""
for a in "$@"; do
  if [ "$prev" = "-o" ]; then out="$a"; fi
  prev="$a"
done
[ -n "$out" ] || exit 2
printf '%s\n' "$@" > "$out.args"
echo $$ > "$out.pid"
echo HEAD > "$out"
finish() { sleep 0.3; echo END >> "$out"; exit 0; }
trap finish TERM
while :; do echo frame >> "$out"; sleep 0.05; done
)";
    return writeFile(path, script) && makeExecutable(path);
}

bool installRecorder(const QString &appDir, const QString &source)
{
    const QString path = appDir + QLatin1String("/Sys/record");
    QDir().mkpath(appDir + QLatin1String("/Sys"));
    QFile::remove(path);
    return QFile::copy(source, path) && makeExecutable(path);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            && file.write(bytes) == bytes.size();
}

void answerSaveDialog(const QString &path, std::function<void()> afterwards)
{
    TestSupport::answerNextModal([path, afterwards](QWidget *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        if (!files) {
            dialog->close();
            return;
        }
        // Replacing an existing file is confirmed in a question of its own.
        TestSupport::answerNextModal([](QWidget *question) {
            TestSupport::clickButton(question, QStringLiteral("Yes"));
        });
        TestSupport::typeFileName(files, path);
        QMetaObject::invokeMethod(files, "accept"); // as the Save button does
        if (afterwards)
            afterwards();
    });
}

std::shared_ptr<bool> answerMessage(QString *text)
{
    return TestSupport::answerNextModal([text](QWidget *dialog) {
        if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            *text = box->text();
            box->accept();
        } else {
            dialog->close();
        }
    });
}

QString probeFormat(const QString &path)
{
    return run(QStringLiteral("ffprobe"),
               { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                 QStringLiteral("format=format_name"), QStringLiteral("-of"),
                 QStringLiteral("default=nw=1:nk=1"), path })
            .trimmed();
}

bool ffmpegCanGrabX11()
{
    return run(QStringLiteral("ffmpeg"),
               { QStringLiteral("-hide_banner"), QStringLiteral("-devices") })
            .contains(QLatin1String("x11grab"));
}

bool makeTestVideo(const QString &path)
{
    int exitCode = -1;
    run(QStringLiteral("ffmpeg"),
        { QStringLiteral("-y"), QStringLiteral("-nostdin"), QStringLiteral("-loglevel"),
          QStringLiteral("error"), QStringLiteral("-f"), QStringLiteral("lavfi"),
          QStringLiteral("-i"), QStringLiteral("testsrc=size=64x48:rate=8"), QStringLiteral("-t"),
          QStringLiteral("1"), QStringLiteral("-c:v"), QStringLiteral("libtheora"), path },
        &exitCode);
    return exitCode == 0 && QFileInfo(path).size() > 0;
}

} // namespace RecorderFixture
