// Saving a large document as IWB against zipping the same written folder, in the same run:
// 50 pages of 200 strokes (pencil strokes, highlighter strokes, shapes). Prints the ratio of
// the medians and the peak resident memory.

#include "board/dgpathcurveitem.h"
#include "board/dpage.h"
#include "document/dpageslist.h"
#include "document/toolrun.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kPages = 50;
constexpr int kStrokesPerPage = 200;
constexpr int kPointsPerStroke = 40;
constexpr int kRuns = 5;

void fillPage(DPage *page, int pageNumber)
{
    const BtMenus::btType kinds[] = { BtMenus::btPencil, BtMenus::btHighlighter,
                                      BtMenus::btRectangle, BtMenus::btCircle };
    for (int s = 0; s < kStrokesPerPage; ++s) {
        const BtMenus::btType kind = kinds[s % 4];
        auto *stroke = new DGPathCurveItem(QPointF(s * 3.7, pageNumber + s * 1.3),
                                           QPen(QColor(s % 255, 40, 90), 3), kind, nullptr);
        QPainterPath path(QPointF(0, 0));
        for (int p = 1; p < kPointsPerStroke; ++p)
            path.lineTo(p * 2.31, (p * p) % 37 + 0.5);
        stroke->setPath(path);
        if (s % 7 == 0)
            stroke->setRotation(s % 90);
        page->addItem(stroke);
    }
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(1280, 800);
    DPagesList list(&window);
    for (int n = 1; n < kPages; ++n)
        list.newPage(BtMenus::btColorPage, false);
    for (int n = 0; n < kPages; ++n)
        fillPage(list.at(n), n);

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
    std::printf("document: %d pages x %d strokes, content.xml %.1f MB\n", kPages, kStrokesPerPage,
                contentBytes / 1e6);
    std::printf("save to .iwb: %.0f ms, zip -r of the written folder: %.0f ms (medians of %d)\n",
                save, zip, kRuns);
    std::printf("save / zip -r: %.2f (median of %d)\n", save / zip, kRuns);
    std::printf("peak resident memory: %.1f MB\n", usage.ru_maxrss / 1024.0);
    list.exit();
    return 0;
}
