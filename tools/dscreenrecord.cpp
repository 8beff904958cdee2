#include "dscreenrecord.h"

#include "recordthread.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QEventLoop>
#include <QPixmap>
#include <QProgressDialog>
#include <QTimer>
#include <QPointer>
#include <QProcess>
#include <QTimerEvent>
#include <QVBoxLayout>

#include <cstdio>

namespace {
constexpr int kBlinkMs = 500;
constexpr int kStartTimeoutMs = 6000;
constexpr int kStopTimeoutMs = 15000;
// Converting a long recording takes a while; the bound only guards against a hung converter.
constexpr int kConvertTimeoutMs = 30 * 60 * 1000;

// The recorder writes Ogg Theora; these names are kept as they are written.
bool isRecorderFormat(const QString &suffix)
{
    return suffix == QLatin1String("ogv") || suffix == QLatin1String("ogg");
}

QPointer<DScreenRecord> g_sharedRecorder;
// The widget whose recorder is running, so that no second one starts writing the same file.
QPointer<DScreenRecord> g_recordingWidget;

// "HH:MM:SS.ss" as ffmpeg reports a duration, in milliseconds; -1 when it is not one.
qint64 clockMs(const QByteArray &text)
{
    const QList<QByteArray> parts = text.trimmed().split(':');
    if (parts.size() != 3)
        return -1;
    bool hours = false, minutes = false, seconds = false;
    const double total = parts[0].toInt(&hours) * 3600.0 + parts[1].toInt(&minutes) * 60.0
            + parts[2].toDouble(&seconds);
    return hours && minutes && seconds ? qint64(total * 1000) : -1;
}

} // namespace

bool DScreenRecord::convertRecording(const QString &source, const QString &target,
                                     QString *error)
{
    // ffmpeg works in its own process; the board keeps being drawn while a dialog shows how
    // far it has come. Cancelling loses nothing: the recording stays, and so does the target.
    QProcess ffmpeg;
    ffmpeg.setStandardInputFile(QProcess::nullDevice());
    QProgressDialog progress(tr("Convirtiendo la grabación…"), tr("Cancelar"), 0, 1000,
                             parentWidget());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setValue(0);
    m_conversion = &progress;

    qint64 durationMs = -1;
    QByteArray errorText;
    QByteArray progressText;
    connect(&ffmpeg, &QProcess::readyReadStandardError, &progress, [&] {
        errorText += ffmpeg.readAllStandardError();
        const int at = errorText.indexOf("Duration: ");
        if (durationMs < 0 && at >= 0)
            durationMs = clockMs(errorText.mid(at + 10, errorText.indexOf(',', at) - at - 10));
    });
    connect(&ffmpeg, &QProcess::readyReadStandardOutput, &progress, [&] {
        progressText += ffmpeg.readAllStandardOutput();
        int end;
        while ((end = progressText.indexOf('\n')) >= 0) {
            const QByteArray line = progressText.left(end).trimmed();
            progressText.remove(0, end + 1);
            if (line.startsWith("out_time=") && durationMs > 0) {
                const qint64 doneMs = clockMs(line.mid(9));
                if (doneMs >= 0)
                    progress.setValue(int(qBound<qint64>(0, doneMs * 1000 / durationMs, 999)));
            }
        }
    });
    QEventLoop loop;
    connect(&ffmpeg, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop,
            &QEventLoop::quit);
    connect(&ffmpeg, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError failure) {
        if (failure == QProcess::FailedToStart)
            loop.quit();
    });
    connect(&progress, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(kConvertTimeoutMs);

    ffmpeg.start(QStringLiteral("ffmpeg"),
                 { QStringLiteral("-y"), QStringLiteral("-nostdin"), QStringLiteral("-hide_banner"),
                   QStringLiteral("-nostats"), QStringLiteral("-progress"), QStringLiteral("pipe:1"),
                   QStringLiteral("-i"), source, QStringLiteral("-an"),
                   QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), target });
    if (ffmpeg.state() != QProcess::NotRunning || ffmpeg.error() != QProcess::FailedToStart)
        loop.exec();
    m_conversion = nullptr;
    progress.hide();

    if (ffmpeg.state() != QProcess::NotRunning) {
        // Cancelled, or no answer in time: the converter is stopped and its output dropped.
        ffmpeg.kill();
        ffmpeg.waitForFinished(2000);
        *error = progress.wasCanceled() ? QStringLiteral("cancelled")
                                        : QStringLiteral("ffmpeg: no answer in time");
        return false;
    }
    if (ffmpeg.error() == QProcess::FailedToStart) {
        *error = ffmpeg.errorString();
        return false;
    }
    errorText += ffmpeg.readAllStandardError();
    if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0) {
        // ffmpeg's last words say why.
        const QList<QByteArray> lines = errorText.trimmed().split('\n');
        *error = QString::fromLocal8Bit(lines.isEmpty() ? QByteArray() : lines.last()).trimmed();
        return false;
    }
    return true;
}

DScreenRecord::DScreenRecord(QWidget *parent)
    : QWidget(parent), m_appDir(QCoreApplication::applicationDirPath())
{
    m_label = new QLabel(this);
    m_layout = new QVBoxLayout;
    m_layout->addWidget(m_label);
    setLayout(m_layout);
    startTimer(kBlinkMs, Qt::CoarseTimer);
    move((parent ? parent->width() : 0) - 235, 45);
    hide(); // shown by play() only, even under a parent that is shown later
    QTimerEvent firstStep(0);
    timerEvent(&firstStep); // the indicator has its picture from the start
}

DScreenRecord::~DScreenRecord()
{
    // No recorder outlives its widget.
    finishRecording();
}

DScreenRecord *DScreenRecord::shared(QWidget *parent)
{
    if (!g_sharedRecorder) {
        g_sharedRecorder = new DScreenRecord(parent);
    } else if (g_sharedRecorder->parentWidget() != parent) {
        const bool visible = g_sharedRecorder->isVisible();
        g_sharedRecorder->setParent(parent);
        g_sharedRecorder->move((parent ? parent->width() : 0) - 235, 45);
        g_sharedRecorder->setVisible(visible);
    }
    return g_sharedRecorder;
}

QString DScreenRecord::recorderProgram() const
{
    return m_appDir + QLatin1String("/Sys/record");
}

QString DScreenRecord::outputFile() const
{
    return m_appDir + QLatin1String("/out.ogv");
}

QStringList DScreenRecord::recorderArguments() const
{
    return { QStringLiteral("-o"),         outputFile(),
             QStringLiteral("--fps"),      QStringLiteral("8"),
             QStringLiteral("--no-sound"), QStringLiteral("--channels"),
             QStringLiteral("1"),          QStringLiteral("--freq"),
             QStringLiteral("22050"),      QStringLiteral("--v_quality"),
             QStringLiteral("63"),         QStringLiteral("--s_quality"),
             QStringLiteral("10"),         QStringLiteral("--workdir"),
             QStringLiteral("/tmp"),       QStringLiteral("--on-the-fly-encoding") };
}

bool DScreenRecord::isRecording() const
{
    return m_thread != nullptr;
}

bool DScreenRecord::play()
{
    if (isRecording())
        return true;
    if (g_recordingWidget && g_recordingWidget != this && g_recordingWidget->isRecording()) {
        report(tr("Ya hay una grabación en curso"));
        return false;
    }
    // Each recording starts from nothing: an old file left behind must not pass for this one.
    const QString output = outputFile();
    if (QFileInfo::exists(output) && !QFile::remove(output)) {
        report(tr("Error al iniciar la grabación"));
        return false;
    }
    m_thread = std::make_unique<RecordThread>(recorderProgram(), recorderArguments());
    m_thread->start(QThread::InheritPriority);
    if (!m_thread->waitUntilStarted(kStartTimeoutMs)) {
        m_thread->stopRecorder(kStopTimeoutMs);
        const QString why = m_thread->errorString();
        m_thread.reset();
        qWarning("DScreenRecord: the recorder %s did not start: %s", qPrintable(recorderProgram()),
                 qPrintable(why));
        report(tr("Error al iniciar la grabación"));
        return false;
    }
    g_recordingWidget = this;
    show();
    return true;
}

bool DScreenRecord::finishRecording()
{
    if (!m_thread)
        return false;
    if (!m_thread->stopRecorder(kStopTimeoutMs))
        qWarning("DScreenRecord: the recorder did not end in time");
    const bool succeeded = m_thread->recorderSucceeded();
    if (!succeeded)
        qWarning("DScreenRecord: %s", qPrintable(m_thread->errorString()));
    m_thread.reset();
    if (g_recordingWidget == this)
        g_recordingWidget = nullptr;
    return succeeded;
}

void DScreenRecord::stop()
{
    finishRecording();
    hide();
    const QString name = QFileDialog::getSaveFileName(this, tr("Save File"),
                                                      QDir::homePath() + QLatin1String("/out.avi"),
                                                      QStringLiteral("(*.avi *.mp4 *.flv *.ogv)"));
    if (name.isEmpty())
        return; // "out.ogv" stays until the next recording
    QString error;
    if (!saveRecording(name, &error)) {
        qWarning("DScreenRecord: saving %s failed: %s", qPrintable(name), qPrintable(error));
        report(tr("Error al guardar la grabación"));
    }
}

bool DScreenRecord::saveRecording(const QString &target, QString *error)
{
    QString ignored;
    QString &why = error ? *error : ignored;
    const QFileInfo source(outputFile());
    if (!source.isFile() || source.size() == 0) {
        why = QStringLiteral("no recording in %1").arg(source.filePath());
        return false;
    }
    QString finalName = target;
    if (QFileInfo(finalName).suffix().isEmpty())
        finalName += QLatin1String(".ogv"); // a name that says no format gets the recorder's
    const QFileInfo targetInfo(finalName);
    const QString suffix = targetInfo.suffix().toLower();
    // Written beside the target and renamed over it in one step, so the user's old file is
    // replaced only by a complete new one.
    const QString partial = targetInfo.absolutePath() + QLatin1String("/.")
            + targetInfo.completeBaseName() + QLatin1String(".part")
            + QString::number(QCoreApplication::applicationPid()) + QLatin1Char('.') + suffix;
    QFile::remove(partial);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool written = false;
    if (isRecorderFormat(suffix)) {
        written = QFile::copy(source.filePath(), partial);
        if (!written)
            why = QStringLiteral("cannot write %1").arg(partial);
    } else {
        QApplication::restoreOverrideCursor(); // the conversion shows its own progress
        written = convertRecording(source.filePath(), partial, &why);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    QApplication::restoreOverrideCursor();

    if (written && QFileInfo(partial).size() == 0) {
        why = QStringLiteral("empty result");
        written = false;
    }
    if (written
        && std::rename(QFile::encodeName(partial).constData(),
                       QFile::encodeName(finalName).constData())
                != 0) {
        why = QStringLiteral("cannot replace %1").arg(finalName);
        written = false;
    }
    if (!written) {
        QFile::remove(partial);
        return false;
    }
    m_fileName = finalName;
    return true;
}

void DScreenRecord::report(const QString &text)
{
    QMessageBox::critical(parentWidget(), QString(), text);
}

void DScreenRecord::captureImageFromCamera() { }

void DScreenRecord::timerEvent(QTimerEvent *)
{
    captureImageFromCamera();
    // A recorder that gave up on its own (no screen to record, no encoder) must not leave the
    // indicator blinking as if the lesson were being filmed.
    if (m_thread && m_thread->isFinished()) {
        finishRecording();
        hide();
        report(tr("Error al grabar la pantalla"));
        return;
    }
    QPixmap blank(25, 25);
    blank.fill(Qt::transparent);
    if (QDateTime::currentDateTime().time().msec() < 600)
        m_label->setPixmap(QPixmap(QStringLiteral(":/Icon/baVideoRecord_record.png")));
    else
        m_label->setPixmap(blank);
}

void DScreenRecord::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        event->accept();
}

void DScreenRecord::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        event->accept();
}

void DScreenRecord::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    event->accept();
    stop();
}

void DScreenRecord::mouseDoubleClickEvent(QMouseEvent *) { }
