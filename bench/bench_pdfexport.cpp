// PDF export of the 50-page lesson that bench_bigdoc makes (its "--generate 50"), through the
// page list's file commands as the file menu gives them: the time from the file dialog's close
// to the file on disk and the size of that file, each as a ratio to the IWB save of the same
// document in the same run, and the longest time the board could not draw itself (a 1 ms
// heartbeat) while the export ran. The board is the lesson's own, 1280 x 800, so that every
// object of its pages (the picture too) is on the exported sheets.
//
// Then the lesson of 100 pages, each with its camera photo (4000 x 3000 JPEG) held as its file as
// a lesson holds it (BenchPhotoLessons::hundredPhotoLesson), opened in the main window: its PDF
// export against its IWB save in the same program, and what the program still holds after the
// export against before it (resident memory, a second after the export ended).
//
// Every export runs in a fresh process (this program started again with "--measure" or
// "--photos").
//
//     bench_pdfexport [runs]      (3 runs when not given)

#include "benchdialogs.h"
#include "benchfigures.h"
#include "benchphotolessons.h"

#include "document/dpageslist.h"
#include "shell/mainform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using BenchFigures::median;

namespace {

constexpr int kPages = 50;
constexpr int kDefaultRuns = 3;
// Targets: the PDF keeps the strokes as lines, so it is about as large as the document's own
// file and costs a few of its saves; the board goes on drawing while it is written.
constexpr double kSizeRatioTarget = 3.0;
constexpr double kTimeRatioTarget = 4.0;
constexpr double kStallTargetMs = 250.0;
// The photo lesson: the export within this many of its saves, and the memory it took given back.
constexpr double kPhotoTimeRatioTarget = 4.0;
constexpr double kPhotoKeptTargetMb = 64.0;

void settle(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

// --measure archive: opens it in the main window, saves it as IWB, exports it as PDF; prints
// one line of figures.
int measure(const QString &archive)
{
    QWidget window;
    window.setFixedSize(1280, 800); // as bench_bigdoc made the lesson
    auto list = std::make_unique<DPagesList>(&window);
    window.show();
    if (!list->openAllPagesFromFileIWB(archive)) {
        std::fprintf(stderr, "open failed: %s\n", qPrintable(list->lastOpenError()));
        return 1;
    }
    QCoreApplication::processEvents();

    const QString saved = QDir::current().filePath(QStringLiteral("saved"));
    double saveMs = 0;
    {
        BenchDialogs answers(saved);
        if (!list->saveAsFile(QStringLiteral("iwb")) || !answers.told.isEmpty()) {
            std::fprintf(stderr, "save failed: %s\n",
                         qPrintable(answers.told.join(QLatin1Char('\n'))));
            return 1;
        }
        saveMs = answers.accepted.nsecsElapsed() / 1e6;
    }
    QCoreApplication::processEvents();

    const QString exported = QDir::current().filePath(QStringLiteral("lesson.pdf"));
    double longestStall = 0;
    QElapsedTimer beat;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longestStall = std::max(longestStall, beat.nsecsElapsed() / 1e6);
        beat.restart();
    });
    double exportMs = 0;
    {
        BenchDialogs answers(exported);
        heartbeat.start(1);
        beat.start();
        const bool ok = list->saveAsFile(QStringLiteral("pdf"));
        exportMs = answers.accepted.nsecsElapsed() / 1e6;
        longestStall = std::max(longestStall, beat.nsecsElapsed() / 1e6);
        heartbeat.stop();
        if (!ok || !answers.told.isEmpty()) {
            std::fprintf(stderr, "export failed: %s\n",
                         qPrintable(answers.told.join(QLatin1Char('\n'))));
            return 1;
        }
    }
    std::printf("RESULT %.1f %lld %.1f %lld %.1f\n", saveMs,
                QFileInfo(saved + QStringLiteral(".iwb")).size(), exportMs,
                QFileInfo(exported).size(), longestStall);
    std::fflush(stdout);
    QFile::remove(exported);
    list->exit();
    return 0;
}

// --photos archive: the photo lesson opened in the main window, its pictures measured; saved as
// IWB, then exported as PDF; prints the times, the sizes, and the resident memory before the
// export and a second after it.
int measurePhotos(const QString &archive)
{
    MainForm window;
    window.show();
    DPagesList *list = window.pagesList();
    QCoreApplication::processEvents();
    if (!list->openAllPagesFromFileIWB(archive) || list->lastOpenWasPartial()) {
        std::fprintf(stderr, "open failed: %s\n", qPrintable(list->lastOpenError()));
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    while (!list->arePicturesMeasured() && clock.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    BenchPhotoLessons::waitUntilSharp(list->getView(), 30000);

    const QString saved = QDir::current().filePath(QStringLiteral("saved"));
    double saveMs = 0;
    {
        BenchDialogs answers(saved);
        if (!list->saveAsFile(QStringLiteral("iwb")) || !answers.told.isEmpty()) {
            std::fprintf(stderr, "save failed: %s\n",
                         qPrintable(answers.told.join(QLatin1Char('\n'))));
            return 1;
        }
        saveMs = answers.accepted.nsecsElapsed() / 1e6;
    }
    settle(1000);
    const long before = BenchFigures::residentKiB();

    const QString exported = QDir::current().filePath(QStringLiteral("photos.pdf"));
    double exportMs = 0;
    {
        BenchDialogs answers(exported);
        const bool ok = list->saveAsFile(QStringLiteral("pdf"));
        exportMs = answers.accepted.nsecsElapsed() / 1e6;
        if (!ok || !answers.told.isEmpty()) {
            std::fprintf(stderr, "export failed: %s\n",
                         qPrintable(answers.told.join(QLatin1Char('\n'))));
            return 1;
        }
    }
    settle(1000);
    const long after = BenchFigures::residentKiB();
    std::printf("RESULT %.1f %lld %.1f %lld %.1f\n", saveMs,
                QFileInfo(saved + QStringLiteral(".iwb")).size(), exportMs,
                QFileInfo(exported).size(), (after - before) / 1024.0);
    std::fflush(stdout);
    QFile::remove(exported);
    list->exit();
    return 0;
}

bool run(const QString &program, const QStringList &arguments, const QString &workDir,
         QByteArray *output)
{
    QProcess process;
    process.setWorkingDirectory(workDir); // the settings store "init" lands there
    process.start(program, arguments);
    if (!process.waitForFinished(30 * 60 * 1000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        std::fprintf(stderr, "%s\n", process.readAllStandardError().constData());
        return false;
    }
    *output = process.readAllStandardOutput();
    return true;
}

const char *verdict(bool met)
{
    return met ? "MET" : "MISSED";
}

// The photo lesson's rows, each run a fresh program; false when one failed.
bool measurePhotoRuns(const QTemporaryDir &scratch, int runs)
{
    const QString archive = BenchPhotoLessons::hundredPhotoLesson();
    if (archive.isEmpty())
        return false;
    std::printf("\n%d pages of a %dx%d camera photo each: archive of %.0f MB\n",
                BenchPhotoLessons::kLessonPages, BenchPhotoLessons::kCameraSize.width(),
                BenchPhotoLessons::kCameraSize.height(), QFileInfo(archive).size() / 1e6);
    std::fflush(stdout);
    std::vector<double> saveMs, exportMs, exportMb, keptMb, ratios;
    for (int r = 0; r < runs; ++r) {
        const QString home = scratch.filePath(QStringLiteral("photos%1").arg(r));
        QDir().mkpath(home);
        QByteArray output;
        if (!run(QCoreApplication::applicationFilePath(), { QStringLiteral("--photos"), archive },
                 home, &output)) {
            std::fprintf(stderr, "photo run %d failed\n", r);
            return false;
        }
        const int at = output.indexOf("RESULT ");
        const QList<QByteArray> f = output.mid(at).trimmed().split(' ');
        if (at < 0 || f.size() < 6) {
            std::fprintf(stderr, "unexpected output:\n%s\n", output.constData());
            return false;
        }
        saveMs.push_back(f.at(1).toDouble());
        exportMs.push_back(f.at(3).toDouble());
        exportMb.push_back(f.at(4).toDouble() / 1e6);
        keptMb.push_back(f.at(5).toDouble());
        ratios.push_back(exportMs.back() / saveMs.back());
        std::printf("run %d: save %.0f ms; PDF export %.0f ms (%.2fx), %.1f MB; resident after "
                    "the export %+.1f MB\n",
                    r + 1, saveMs.back(), exportMs.back(), ratios.back(), exportMb.back(),
                    keptMb.back());
        std::fflush(stdout);
    }
    const double ratio = median(ratios);
    const double kept = *std::max_element(keptMb.begin(), keptMb.end());
    std::printf("\nPDF export of the %d photo pages (medians of %d runs, memory the worst):\n",
                BenchPhotoLessons::kLessonPages, runs);
    std::printf("  time  %8.0f ms  = %6.2f x the IWB save (%.0f ms)   target <= %.1f  %s\n",
                median(exportMs), ratio, median(saveMs), kPhotoTimeRatioTarget,
                verdict(ratio <= kPhotoTimeRatioTarget));
    std::printf("  resident after the export %+.1f MB against before   target <= %.0f  %s\n", kept,
                kPhotoKeptTargetMb, verdict(kept <= kPhotoKeptTargetMb));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--measure"))
        return measure(arguments.at(2));
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--photos"))
        return measurePhotos(arguments.at(2));
    const int runs = arguments.size() == 2 ? qMax(1, arguments.at(1).toInt()) : kDefaultRuns;

    QTemporaryDir scratch;
    const QString base = scratch.filePath(QStringLiteral("lesson"));
    QByteArray output;
    const QString generator =
            QCoreApplication::applicationDirPath() + QStringLiteral("/bench_bigdoc");
    if (!run(generator, { QStringLiteral("--generate"), QString::number(kPages), base },
             scratch.path(), &output)) {
        std::fprintf(stderr, "could not generate the lesson with %s\n", qPrintable(generator));
        return 1;
    }
    const QString archive = base + QStringLiteral(".iwb");
    std::printf("%d-page lesson: archive of %.1f MB\n", kPages, QFileInfo(archive).size() / 1e6);
    std::fflush(stdout);

    std::vector<double> saveMs, saveMb, exportMs, exportMb, stallMs;
    for (int r = 0; r < runs; ++r) {
        const QString home = scratch.filePath(QStringLiteral("run%1").arg(r));
        QDir().mkpath(home);
        if (!run(QCoreApplication::applicationFilePath(), { QStringLiteral("--measure"), archive },
                 home, &output)) {
            std::fprintf(stderr, "run %d failed\n", r);
            return 1;
        }
        const int at = output.indexOf("RESULT ");
        const QList<QByteArray> f = output.mid(at).trimmed().split(' ');
        if (at < 0 || f.size() < 6) {
            std::fprintf(stderr, "unexpected output:\n%s\n", output.constData());
            return 1;
        }
        saveMs.push_back(f.at(1).toDouble());
        saveMb.push_back(f.at(2).toDouble() / 1e6);
        exportMs.push_back(f.at(3).toDouble());
        exportMb.push_back(f.at(4).toDouble() / 1e6);
        stallMs.push_back(f.at(5).toDouble());
        std::printf("run %d: save %.0f ms, %.1f MB; PDF export %.0f ms, %.1f MB; longest stall "
                    "%.0f ms\n",
                    r + 1, saveMs.back(), saveMb.back(), exportMs.back(), exportMb.back(),
                    stallMs.back());
        std::fflush(stdout);
    }
    const double sizeRatio = median(exportMb) / median(saveMb);
    const double timeRatio = median(exportMs) / median(saveMs);
    const double stall = median(stallMs);
    std::printf("\nPDF export of %d pages (medians of %d runs):\n", kPages, runs);
    std::printf("  size  %8.1f MB  = %6.2f x the IWB file (%.1f MB)   target <= %.1f  %s\n",
                median(exportMb), sizeRatio, median(saveMb), kSizeRatioTarget,
                verdict(sizeRatio <= kSizeRatioTarget));
    std::printf("  time  %8.0f ms  = %6.2f x the IWB save (%.0f ms)   target <= %.1f  %s\n",
                median(exportMs), timeRatio, median(saveMs), kTimeRatioTarget,
                verdict(timeRatio <= kTimeRatioTarget));
    std::printf("  longest stall of the board %.0f ms                 target <= %.0f  %s\n", stall,
                kStallTargetMs, verdict(stall <= kStallTargetMs));
    std::fflush(stdout);
    return measurePhotoRuns(scratch, runs) ? 0 : 1;
}
