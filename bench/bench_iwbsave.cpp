// Saving a large document as IWB against zipping the same written folder, in the same run:
// 50 pages, each with 200 strokes (pencil and highlighter), 5 shapes, 2 texts and a photo-like
// picture of its own. The first save of a lesson is what a teacher waits for: five lessons are
// made afresh and each saved once (median). The re-save of an unchanged lesson, which uses
// again what the first save wrote, is printed apart. Each save is set against `zip -r` of the
// folder it wrote, timed right after it, storing pictures, sound and video as they are (zip's
// -n with the program's own list), as the save does. The first save of a lesson just opened from
// its archive (its pictures are copied from the files they were read from) is printed apart too.
// Prints the ratios, targets and the peak resident memory.

#include "benchfigures.h"
#include "benchlesson.h"

#include "document/dpageslist.h"
#include "document/iwbarchive.h"
#include "document/toolrun.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using BenchFigures::median;

namespace {

constexpr int kLessons = 5;
constexpr int kResaves = 5;
constexpr int kReopens = 3;

// zip -r of folder into a fresh archive of its own, in ms; negative when zip failed. Pictures,
// sound and video are stored as they are, as the program stores them (the same -n list), so
// that both do the same work.
double zipFolder(const QString &folder, const QString &archive)
{
    QFile::remove(archive);
    QElapsedTimer timer;
    timer.start();
    const ToolRun zipped =
            runTool(QStringLiteral("zip"),
                    { QStringLiteral("-q"), QStringLiteral("-r"), QStringLiteral("-n"),
                      QLatin1String(IwbArchive::kStoredSuffixes), archive, QStringLiteral(".") },
                    folder, 600000);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (!zipped.ok) {
        std::fprintf(stderr, "zip failed: %s\n", qPrintable(zipped.error));
        return -1;
    }
    return ms;
}

// One save to target; its time in ms, negative when it failed.
double save(DPagesList &list, const QString &target)
{
    QElapsedTimer timer;
    timer.start();
    if (!list.saveAllPagesToFileIWB(target, true)) {
        std::fprintf(stderr, "save failed: %s\n", qPrintable(list.lastSaveError()));
        return -1;
    }
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(1280, 800);
    QTemporaryDir target;
    std::vector<double> firstRatios, firstMs, firstZipMs;
    std::vector<double> resaveRatios, resaveMs, resaveZipMs;
    std::vector<double> reopenedRatios;
    qint64 contentBytes = 0;
    qint64 archiveBytes = 0;
    for (int lesson = 0; lesson < kLessons; ++lesson) {
        // A lesson made afresh and saved for the first time.
        auto list = std::make_unique<DPagesList>(&window);
        BenchLesson::build(*list);
        const QString name = target.filePath(QStringLiteral("lesson%1").arg(lesson));
        const double first = save(*list, name);
        const double firstZip =
                zipFolder(list->workDir(), target.filePath(QStringLiteral("baseline.zip")));
        if (first < 0 || firstZip < 0)
            return 1;
        firstMs.push_back(first);
        firstZipMs.push_back(firstZip);
        firstRatios.push_back(first / firstZip);
        contentBytes = QFileInfo(list->workDir() + QStringLiteral("/content.xml")).size();
        archiveBytes = QFileInfo(name + QStringLiteral(".iwb")).size();
        if (lesson == 0) {
            // The same lesson saved again unchanged.
            for (int run = 0; run < kResaves; ++run) {
                const double again = save(*list, name);
                const double againZip =
                        zipFolder(list->workDir(), target.filePath(QStringLiteral("baseline.zip")));
                if (again < 0 || againZip < 0)
                    return 1;
                resaveMs.push_back(again);
                resaveZipMs.push_back(againZip);
                resaveRatios.push_back(again / againZip);
            }
            // Opened from its archive, then saved under another name.
            for (int run = 0; run < kReopens; ++run) {
                if (!list->openAllPagesFromFileIWB(name + QStringLiteral(".iwb"))) {
                    std::fprintf(stderr, "open failed: %s\n", qPrintable(list->lastOpenError()));
                    return 1;
                }
                const QString copy = target.filePath(QStringLiteral("reopened"));
                const double opened = save(*list, copy);
                const double openedZip = zipFolder(
                        list->workDir(), target.filePath(QStringLiteral("baseline.zip")));
                if (opened < 0 || openedZip < 0)
                    return 1;
                reopenedRatios.push_back(opened / openedZip);
            }
        }
        list->exit();
        QFile::remove(name + QStringLiteral(".iwb"));
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double firstRatio = median(firstRatios);
    const double resaveRatio = median(resaveRatios);
    std::printf("document: %d pages x %d strokes and a photo-like picture each; content.xml "
                "%.1f MB, archive %.1f MB\n",
                BenchLesson::kPages, BenchLesson::kStrokesPerPage, contentBytes / 1e6,
                archiveBytes / 1e6);
    std::printf("first save of a new lesson: %.0f ms, zip -r -n of the written folder: %.0f ms "
                "(medians of %d lessons)\n",
                median(firstMs), median(firstZipMs), kLessons);
    std::printf("first save / zip -r -n: %.2f (median of %d; range %.2f to %.2f)\n", firstRatio,
                kLessons, *std::min_element(firstRatios.begin(), firstRatios.end()),
                *std::max_element(firstRatios.begin(), firstRatios.end()));
    std::printf("re-save of the unchanged lesson: %.0f ms, zip -r -n: %.0f ms (medians of %d)\n",
                median(resaveMs), median(resaveZipMs), kResaves);
    std::printf("re-save / zip -r -n: %.2f (median of %d)\n", resaveRatio, kResaves);
    std::printf("first save of the lesson opened from its archive / zip -r -n: %.2f "
                "(median of %d)\n",
                median(reopenedRatios), kReopens);
    std::printf("peak resident memory: %.1f MB\n", usage.ru_maxrss / 1024.0);
    std::printf("\ntargets:\n");
    std::printf("  first save <= 1.5x zip -r -n: %.2f  %s\n", firstRatio,
                firstRatio <= 1.5 ? "met" : "MISSED");
    std::printf("  re-save <= 1.2x zip -r -n: %.2f  %s\n", resaveRatio,
                resaveRatio <= 1.2 ? "met" : "MISSED");
    return 0;
}
