// Saving a large document as IWB against zipping the same written folder, in the same run:
// 50 pages, each with 200 strokes (pencil and highlighter), 5 shapes, 2 texts and 1 picture.
// Prints the ratio of the medians and the peak resident memory.

#include "benchfigures.h"
#include "benchlesson.h"

#include "document/dpageslist.h"
#include "document/toolrun.h"

#include <QApplication>
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
    std::vector<double> saveMs;
    std::vector<double> zipMs;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        if (!list.saveAllPagesToFileIWB(target.filePath(QStringLiteral("lesson")), true)) {
            std::fprintf(stderr, "save failed: %s\n", qPrintable(list.lastSaveError()));
            return 1;
        }
        saveMs.push_back(timer.nsecsElapsed() / 1e6);

        const QString zipFile = target.filePath(QStringLiteral("baseline%1.zip").arg(run));
        timer.restart();
        const ToolRun zipped = runTool(
                QStringLiteral("zip"),
                { QStringLiteral("-q"), QStringLiteral("-r"), zipFile, QStringLiteral(".") },
                list.workDir(), 600000);
        zipMs.push_back(timer.nsecsElapsed() / 1e6);
        if (!zipped.ok) {
            std::fprintf(stderr, "zip failed: %s\n", qPrintable(zipped.error));
            return 1;
        }
    }
    const qint64 contentBytes = QFileInfo(list.workDir() + QStringLiteral("/content.xml")).size();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double save = median(saveMs);
    const double zip = median(zipMs);
    std::printf("document: %d pages x %d strokes, content.xml %.1f MB\n", BenchLesson::kPages,
                BenchLesson::kStrokesPerPage, contentBytes / 1e6);
    std::printf("save to .iwb: %.0f ms, zip -r of the written folder: %.0f ms (medians of %d)\n",
                save, zip, kRuns);
    std::printf("save / zip -r: %.2f (median of %d)\n", save / zip, kRuns);
    std::printf("peak resident memory: %.1f MB\n", usage.ru_maxrss / 1024.0);
    list.exit();
    return 0;
}
