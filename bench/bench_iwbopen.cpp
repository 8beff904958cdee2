// Opening a large IWB document against unzipping the same archive, in the same run: the lesson
// of bench_iwbsave (50 pages of strokes, shapes, texts and a photo-like picture of its own each)
// is saved once, then opened into a new document and unzipped in turns. Prints the ratio of the
// medians against its target, what closing the previous document adds, and the peak resident
// memory.

#include "benchfigures.h"
#include "benchlesson.h"

#include "document/dpageslist.h"
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
#include <vector>

using BenchFigures::median;

namespace {

constexpr int kRuns = 5;

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(1280, 800);
    DPagesList list(&window);
    BenchLesson::build(list);
    QTemporaryDir target;
    const QString archive = target.filePath(QStringLiteral("lesson.iwb"));
    if (!list.saveAllPagesToFileIWB(target.filePath(QStringLiteral("lesson")), true)) {
        std::fprintf(stderr, "save failed: %s\n", qPrintable(list.lastSaveError()));
        return 1;
    }

    std::vector<double> openMs;
    std::vector<double> closeMs;
    std::vector<double> unzipMs;
    for (int run = 0; run < kRuns; ++run) {
        // Opened where a new document is, as at the start of a lesson: closing the previous
        // 50 pages is timed on its own.
        QElapsedTimer timer;
        timer.start();
        list.delAllPages();
        list.newPage(BtMenus::btColorPage, false);
        closeMs.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        if (!list.openAllPagesFromFileIWB(archive) || list.lastOpenWasPartial()
            || list.size() != BenchLesson::kPages) {
            std::fprintf(stderr, "open failed: %s\n", qPrintable(list.lastOpenError()));
            return 1;
        }
        openMs.push_back(timer.nsecsElapsed() / 1e6);

        const QString unpacked = target.filePath(QStringLiteral("baseline%1").arg(run));
        QDir().mkpath(unpacked);
        timer.restart();
        const ToolRun unzipped = runTool(QStringLiteral("unzip"), { QStringLiteral("-q"), archive },
                                         unpacked, 600000);
        unzipMs.push_back(timer.nsecsElapsed() / 1e6);
        if (!unzipped.ok) {
            std::fprintf(stderr, "unzip failed: %s\n", qPrintable(unzipped.error));
            return 1;
        }
        QDir(unpacked).removeRecursively();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double open = median(openMs);
    const double unzip = median(unzipMs);
    std::printf("document: %d pages x %d strokes and a photo-like picture each, archive %.1f MB\n",
                BenchLesson::kPages, BenchLesson::kStrokesPerPage,
                QFileInfo(archive).size() / 1e6);
    std::printf("open of the .iwb: %.0f ms, unzip of the same archive: %.0f ms (medians of %d)\n",
                open, unzip, kRuns);
    std::printf("open / unzip: %.2f (median of %d)\n", open / unzip, kRuns);
    std::printf("closing the open 50-page document first: %.0f ms more (median of %d)\n",
                median(closeMs), kRuns);
    std::printf("peak resident memory: %.1f MB\n", usage.ru_maxrss / 1024.0);
    std::printf("\ntarget:\n  open <= 2x unzip: %.2f  %s\n", open / unzip,
                open / unzip <= 2.0 ? "met" : "MISSED");
    list.exit();
    return 0;
}
