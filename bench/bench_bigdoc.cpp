// Big lessons: documents of 50, 100 and 200 pages, each page with 100 strokes of 200 points,
// 3 shapes, a text and an 800 x 600 picture, opened through the page list of the real main
// window (its gallery panel in place, offscreen). Per size it prints the open time as a ratio to
// `unzip` of the same archive, the resident memory per page, the page change (median and p99 as
// a ratio to one 60 Hz frame) and the longest stall of the board during an autosave after one
// page changed; then how each figure grows with the page count. Between two page changes the
// board is left idle for half a second, as a teacher looks at a page before going on.
//
// Every open runs in a fresh process (this program started again with "--measure"), so that
// what one size leaves in the allocator does not count for the next.

#include "benchfigures.h"
#include "benchdocument.h"

#include "board/dgpathcurveitem.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "document/dpageslist.h"
#include "document/toolrun.h"
#include "shell/mainform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

using BenchFigures::median;

namespace {

const int kSizes[] = { 50, 100, 200 };
constexpr int kOpenRuns = 3; // fresh processes per size; the medians are printed
constexpr int kUnzipRuns = 5;
constexpr int kPageChanges = 24;
constexpr int kLookAtPageMs = 500;
constexpr double kFrameMs = 1000.0 / 60.0;

BenchDocument::Recipe lessonPage()
{
    BenchDocument::Recipe recipe;
    recipe.strokes = 100;
    recipe.pointsPerStroke = 200;
    recipe.shapes = 3;
    recipe.texts = 1;
    recipe.picture = QSize(800, 600);
    return recipe;
}

double percentile99(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(values.size() * 0.99))];
}

// Resident and peak resident memory of this process in MB (/proc/self/status).
std::pair<double, double> residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    double now = 0, peak = 0;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() >= 2 && fields[0] == "VmRSS:")
                now = fields[1].toDouble() / 1024.0;
            if (fields.size() >= 2 && fields[0] == "VmHWM:")
                peak = fields[1].toDouble() / 1024.0;
        }
    }
    return { now, peak };
}

// --generate pages file: the document, saved as "file.iwb".
int generate(int pages, const QString &base)
{
    QWidget window;
    window.setFixedSize(1280, 800);
    DPagesList list(&window);
    for (int n = 1; n < pages; ++n)
        list.newPage(BtMenus::btColorPage, false);
    const BenchDocument::Recipe recipe = lessonPage();
    const QPixmap picture = BenchDocument::photo(recipe.picture);
    for (int n = 0; n < pages; ++n)
        BenchDocument::fillPage(list.at(n), n, recipe, picture);
    const bool saved = list.saveAllPagesToFileIWB(base, true);
    list.exit();
    if (!saved) {
        std::fprintf(stderr, "generating failed: %s\n", qPrintable(list.lastSaveError()));
        return 1;
    }
    return 0;
}

// --measure file: opens it in the main window and prints one line of figures.
int measure(const QString &archive)
{
    MainForm window;
    DPagesList *list = window.pagesList();
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    if (!list->openAllPagesFromFileIWB(archive)) {
        std::fprintf(stderr, "open failed: %s\n", qPrintable(list->lastOpenError()));
        return 1;
    }
    window.uiMainBt(BtMenus::btSelect); // as after the file menu
    list->getView()->viewport()->repaint();
    QCoreApplication::processEvents();
    const double openMs = clock.nsecsElapsed() / 1e6;
    const auto [afterOpen, peakOpen] = residentMb();

    // Page changes through the main window's buttons, each drawn at once. The first one of the
    // run also sets up what the toolkit draws with for the first time; it is not counted.
    list->selectPage(0);
    std::vector<double> changes;
    for (int i = -1; i < kPageChanges; ++i) {
        const bool forward = ((i + 1) / (list->size() - 1)) % 2 == 0;
        // A teacher looks at a page for a moment before going on: the board is idle.
        QElapsedTimer idle;
        idle.start();
        while (idle.elapsed() < kLookAtPageMs)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        clock.restart();
        window.uiMainBt(forward ? BtMenus::btNextPage : BtMenus::btPreviousPage);
        list->getView()->viewport()->repaint();
        QCoreApplication::processEvents();
        if (i >= 0)
            changes.push_back(clock.nsecsElapsed() / 1e6);
    }

    // One page changes, then the autosave runs as the clock asks for it: the longest time the
    // event loop could not turn (a 1 ms heartbeat) from the request to the file on disk.
    DPage *page = list->getCurPage();
    QPainterPath stroke(QPointF(0, 0));
    for (int p = 1; p < 200; ++p)
        stroke.lineTo(p * 2.0, (p * 7) % 50);
    page->addCurveItem(stroke, QPen(Qt::red, 3), 0, BtMenus::btPencil, BtMenus::fnPathAtPos,
                       QPointF(40, 40), 1.0f, QTransform(), true);
    QCoreApplication::processEvents();
    double longestStall = 0;
    QElapsedTimer beat;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longestStall = std::max(longestStall, beat.nsecsElapsed() / 1e6);
        beat.restart();
    });
    heartbeat.start(1);
    clock.restart();
    beat.start();
    QTimer::singleShot(0, list, &DPagesList::autoSaveInSteps);
    QCoreApplication::processEvents();
    while (clock.elapsed() < 120000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (!list->isAutoSaving() && clock.elapsed() > 20)
            break;
    }
    longestStall = std::max(longestStall, beat.nsecsElapsed() / 1e6);
    const double autosaveMs = clock.nsecsElapsed() / 1e6;
    heartbeat.stop();
    const bool autosaved = list->pagesWritten() > 0 && list->lastSaveError().isEmpty();

    std::printf("RESULT %d %.1f %.1f %.1f %.2f %.2f %.1f %.1f %d\n", int(list->size()), openMs,
                afterOpen, peakOpen, median(changes), percentile99(changes), longestStall,
                autosaveMs, autosaved ? 1 : 0);
    std::fflush(stdout);
    list->exit(); // the working directory goes
    return 0;
}

struct Figures
{
    double openMs, residentMb, peakMb, changeMedianMs, changeP99Ms, stallMs, autosaveMs;
};

bool runSelf(const QStringList &arguments, const QString &workDir, QByteArray *output)
{
    QProcess self;
    self.setWorkingDirectory(workDir); // the settings store "init" lands there
    self.start(QCoreApplication::applicationFilePath(), arguments);
    if (!self.waitForFinished(15 * 60 * 1000) || self.exitStatus() != QProcess::NormalExit
        || self.exitCode() != 0) {
        // The program's own chatter is dropped unless something went wrong.
        std::fprintf(stderr, "%s\n", self.readAllStandardError().constData());
        return false;
    }
    *output = self.readAllStandardOutput();
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 4 && arguments.at(1) == QLatin1String("--generate"))
        return generate(arguments.at(2).toInt(), arguments.at(3));
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--measure"))
        return measure(arguments.at(2));

    QTemporaryDir scratch;
    std::map<int, Figures> results;
    std::map<int, double> unzipMs;
    for (const int pages : kSizes) {
        const QString base = scratch.filePath(QStringLiteral("lesson%1").arg(pages));
        const QString archive = base + QStringLiteral(".iwb");
        QByteArray output;
        QElapsedTimer made;
        made.start();
        if (!runSelf({ QStringLiteral("--generate"), QString::number(pages), base },
                     scratch.path(), &output)) {
            std::fprintf(stderr, "could not generate %d pages\n", pages);
            return 1;
        }
        std::printf("%d pages: archive of %.1f MB made in %.1f s\n", pages,
                    QFileInfo(archive).size() / 1e6, made.elapsed() / 1000.0);
        std::fflush(stdout);

        // The baseline: unpacking the same archive with unzip.
        std::vector<double> unzips;
        for (int run = 0; run < kUnzipRuns; ++run) {
            const QString into = scratch.filePath(QStringLiteral("unzipped"));
            QDir(into).removeRecursively();
            QElapsedTimer timer;
            timer.start();
            const ToolRun unzipped = runTool(
                    QStringLiteral("unzip"), { QStringLiteral("-q"), archive, QStringLiteral("-d"), into },
                    scratch.path(), 600000);
            unzips.push_back(timer.nsecsElapsed() / 1e6);
            if (!unzipped.ok) {
                std::fprintf(stderr, "unzip failed: %s\n", qPrintable(unzipped.error));
                return 1;
            }
        }
        unzipMs[pages] = median(unzips);

        std::vector<double> open, resident, peak, changeMedian, changeP99, stall, autosave;
        for (int run = 0; run < kOpenRuns; ++run) {
            const QString home = scratch.filePath(QStringLiteral("run%1-%2").arg(pages).arg(run));
            QDir().mkpath(home);
            if (!runSelf({ QStringLiteral("--measure"), archive }, home, &output)) {
                std::fprintf(stderr, "measuring %d pages failed\n", pages);
                return 1;
            }
            const int at = output.indexOf("RESULT ");
            const QList<QByteArray> f = output.mid(at).trimmed().split(' ');
            if (at < 0 || f.size() < 10 || f.at(1).toInt() != pages || f.at(9) != "1") {
                std::fprintf(stderr, "measuring %d pages: unexpected output:\n%s\n", pages,
                             output.constData());
                return 1;
            }
            open.push_back(f.at(2).toDouble());
            resident.push_back(f.at(3).toDouble());
            peak.push_back(f.at(4).toDouble());
            changeMedian.push_back(f.at(5).toDouble());
            changeP99.push_back(f.at(6).toDouble());
            stall.push_back(f.at(7).toDouble());
            autosave.push_back(f.at(8).toDouble());
        }
        results[pages] = { median(open),         median(resident),  median(peak),
                           median(changeMedian), median(changeP99), median(stall),
                           median(autosave) };
        QFile::remove(archive);
    }

    std::printf("\nmedians of %d fresh processes per size (unzip: median of %d)\n", kOpenRuns,
                kUnzipRuns);
    std::printf("%6s %9s %9s %11s %11s %12s %12s %13s %13s\n", "pages", "open ms", "unzip ms",
                "open/unzip", "MB/page", "peak MB/pg", "change med", "change p99",
                "autosave stall");
    std::printf("%6s %9s %9s %11s %11s %12s %12s %13s %13s\n", "", "", "", "", "(resident)",
                "", "(frames)", "(frames)", "(frames)");
    for (const int pages : kSizes) {
        const Figures &r = results[pages];
        std::printf("%6d %9.0f %9.0f %11.2f %11.2f %12.2f %12.2f %13.2f %13.2f\n", pages,
                    r.openMs, unzipMs[pages], r.openMs / unzipMs[pages], r.residentMb / pages,
                    r.peakMb / pages, r.changeMedianMs / kFrameMs, r.changeP99Ms / kFrameMs,
                    r.stallMs / kFrameMs);
    }
    std::printf("\nresident after open: ");
    for (const int pages : kSizes)
        std::printf("%d pages %.0f MB (peak %.0f MB)%s", pages, results[pages].residentMb,
                    results[pages].peakMb, pages == 200 ? "\n" : ", ");
    std::printf("autosave after one change, whole run: ");
    for (const int pages : kSizes)
        std::printf("%d pages %.0f ms%s", pages, results[pages].autosaveMs,
                    pages == 200 ? "\n" : ", ");

    // Growth with the page count: each figure at 100 and 200 pages against 50. Totals that grow
    // linearly double and quadruple; per-page and per-change figures stay near 1.
    std::printf("\ngrowth against 50 pages (x2 and x4 the pages):\n");
    const auto growth = [&](const char *name, auto value) {
        std::printf("  %-28s %5.2f %5.2f\n", name, value(100) / value(50), value(200) / value(50));
    };
    growth("open time", [&](int p) { return results[p].openMs; });
    growth("unzip time", [&](int p) { return unzipMs[p]; });
    growth("resident memory", [&](int p) { return results[p].residentMb; });
    growth("page change median", [&](int p) { return results[p].changeMedianMs; });
    growth("page change p99", [&](int p) { return results[p].changeP99Ms; });
    growth("autosave stall", [&](int p) { return results[p].stallMs; });

    const Figures &big = results[200];
    const bool openOk = big.openMs / unzipMs[200] <= 3.0;
    const bool memoryOk = big.residentMb / 200 < 5.0;
    const bool changeOk = big.changeP99Ms / kFrameMs <= 3.0;
    const bool stallOk = big.stallMs / kFrameMs <= 6.0;
    std::printf("\ntargets at 200 pages:\n");
    std::printf("  open <= 3x unzip:        %.2f  %s\n", big.openMs / unzipMs[200],
                openOk ? "met" : "MISSED");
    std::printf("  under 5 MB per page:     %.2f  %s\n", big.residentMb / 200,
                memoryOk ? "met" : "MISSED");
    std::printf("  page change p99 <= 3:    %.2f  %s\n", big.changeP99Ms / kFrameMs,
                changeOk ? "met" : "MISSED");
    std::printf("  autosave stall <= 6:     %.2f  %s\n", big.stallMs / kFrameMs,
                stallOk ? "met" : "MISSED");
    return 0;
}
