// Within 1 GB at every moment: the memory of the program and its decoding processes together
// (the proportional resident memory of each, so that what they share counts once), sampled
// every 10 ms on a thread of its own, above what they held idle just before the lesson came,
// through what a teacher does with lessons as large as a class's:
//   (a) 100 pages, each with a camera photo of its own (4000 x 3000 JPEG, about 5 MB);
//   (b) one page of 40 such photos, each at a scale of 0.1 to 0.5, laid over the page, zoomed
//       step by step in to 418 % and out to 39 %, as the zoom buttons do;
//   (c) a PDF of 500 pages of text and shapes imported with the PDF button (the pages stacked
//       on one page, as the import lays them);
//   (d) six 9000 x 7000 JPEG photos on a page.
// Each lesson in a fresh main window: it comes in (opened from its archive, or imported), the
// pages change (or the page is zoomed), the gallery's page tiles are shown and scrolled through,
// the lesson is saved to a file, a stroke is drawn and autosaved, and the lesson is exported as
// PDF through the file menu. One line per lesson: the most above idle, where it was, and each
// step's most (VELTORINA_BENCH_VERBOSE adds a row a step: the program's and the processes'
// shares at that most, what the board holds of the pictures once the step is done, its time and
// the board's longest stall). A run past 6 GB is stopped, saying where.

#include "benchdialogs.h"
#include "benchfigures.h"
#include "benchphotolessons.h"

#include "board/dgpixmapitem.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "content/dresources.h"
#include "document/dpageslist.h"
#include "pictures/heldpictures.h"
#include "pictures/picturedecoders.h"
#include "shell/mainform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainterPath>
#include <QPen>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using BenchFigures::StallWatch;
using BenchFigures::TreeMemory;

namespace {

constexpr double kTargetMb = 1024;
constexpr long kStopKiB = 6L << 20; // the machine's other builders need the rest
constexpr double kSharpLimitMs = 10000;
constexpr int kZoomInPercent = 418;
constexpr int kZoomOutPercent = 39;
constexpr float kZoomInStep = 1.1f; // the zoom buttons' factors
constexpr float kZoomOutStep = 0.90909094f;
constexpr int kNextPages = 20;
constexpr int kJumps[] = { 60, 5, 95, 33, 77, 12 };

struct Lesson
{
    const char *kind; // the child's argument
    const char *name;
    QString (*file)();
};

QString pdfFile()
{
    return BenchPhotoLessons::textPdf(BenchPhotoLessons::kPdfPages);
}

// clang-format off
const Lesson kLessons[] = {
    { "photos", "(a) 100 pages of a camera photo each",             BenchPhotoLessons::hundredPhotoLesson },
    { "forty",  "(b) a page of 40 camera photos at 0.1 to 0.5",     BenchPhotoLessons::fortyPhotoPage },
    { "pdf",    "(c) a 500-page PDF imported",                      pdfFile },
    { "large",  "(d) six 9000x7000 photos on a page",               BenchPhotoLessons::sixLargePhotoPage },
};
// clang-format on

double mb(qint64 bytes)
{
    return bytes / 1048576.0;
}

// The steps of one lesson in this program: each timed, its peak taken, and its row printed at
// once (a run stopped past the limit keeps the rows before).
class Steps
{
public:
    Steps() : m_tree(kStopKiB)
    {
        m_idle = TreeMemory::now();
        m_tree.takePeak();
        std::printf("IDLE %.1f\n", m_idle.totalKiB() / 1024.0);
        std::fflush(stdout);
    }

    bool run(const QString &name, const std::function<bool()> &step)
    {
        m_tree.setStep(name);
        m_tree.takePeak();
        m_stalls.takeLongestMs();
        QElapsedTimer clock;
        clock.start();
        const bool done = step();
        const double ms = clock.nsecsElapsed() / 1e6;
        const double stall = m_stalls.takeLongestMs();
        const TreeMemory::Sample peak = m_tree.takePeak();
        std::printf("ROW %s|%.1f|%.1f|%.1f|%d|%.1f|%.1f|%.1f|%.0f|%.0f|%d\n", qPrintable(name),
                    (peak.totalKiB() - m_idle.totalKiB()) / 1024.0, peak.programKiB / 1024.0,
                    peak.decodersKiB / 1024.0, peak.decoders, mb(HeldPictures::heldBytes()),
                    mb(HeldPictures::heldLargeBytes()),
                    mb(PictureDecoders::instance().privateBytes()), ms, stall, done ? 1 : 0);
        std::fflush(stdout);
        return done;
    }

private:
    TreeMemory m_tree;
    TreeMemory::Sample m_idle;
    StallWatch m_stalls;
};

void settle(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

bool sharp(DPagesList *list)
{
    return BenchPhotoLessons::waitUntilSharp(list->getView(), kSharpLimitMs) >= 0;
}

bool open(DPagesList *list, const QString &archive)
{
    if (!list->openAllPagesFromFileIWB(archive) || list->lastOpenWasPartial()) {
        std::fprintf(stderr, "open failed: %s\n", qPrintable(list->lastOpenError()));
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (!list->arePicturesMeasured() && clock.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return list->arePicturesMeasured() && sharp(list);
}

bool importPdf(DPagesList *list, const QString &pdf)
{
    BenchDialogs answers(pdf);
    list->getCurPage()->insertImage(true);
    for (const QString &told : answers.told)
        std::fprintf(stderr, "told: %s\n", qPrintable(told.simplified()));
    const int pages = int(BenchPhotoLessons::heldPictures(list->getCurPage()).size());
    if (pages != BenchPhotoLessons::kPdfPages)
        std::fprintf(stderr, "%d pages of the PDF came in\n", pages);
    return pages == BenchPhotoLessons::kPdfPages && sharp(list);
}

bool changePages(DPagesList *list)
{
    std::vector<int> targets;
    for (int page = 1; page <= kNextPages; ++page)
        targets.push_back(page);
    targets.insert(targets.end(), std::begin(kJumps), std::end(kJumps));
    bool allSharp = true;
    for (const int target : targets) {
        list->selectPage(target);
        list->getView()->viewport()->repaint();
        allSharp = sharp(list) && allSharp;
    }
    list->selectPage(0);
    return sharp(list) && allSharp;
}

// The zoom buttons pressed until the zoom reaches percent, each step shown sharp.
bool zoom(DPagesList *list, bool in, int percent)
{
    DView *view = list->getView();
    DPage *page = list->getCurPage();
    bool allSharp = true;
    int steps = 0;
    for (; steps < 100; ++steps) {
        const int now = qRound(view->getScale() * 100);
        if (in ? now >= percent : now <= percent)
            break;
        page->zoomPage(in ? kZoomInStep : kZoomOutStep);
        view->viewport()->repaint();
        const int asked = HeldPictures::pending();
        QElapsedTimer shown;
        shown.start();
        allSharp = sharp(list) && allSharp;
        if (!qEnvironmentVariableIsEmpty("VELTORINA_BENCH_VERBOSE"))
            std::fprintf(stderr, "zoom to %d %%: %d asked, sharp after %.0f ms, copies %.0f MB\n",
                         qRound(view->getScale() * 100), asked, shown.nsecsElapsed() / 1e6,
                         mb(HeldPictures::heldBytes()));
    }
    std::printf("NOTE %d steps, to %d %%\n", steps, qRound(view->getScale() * 100));
    return allSharp;
}

// The gallery on its pages tab, scrolled through a screen at a time, each screen's tiles drawn.
bool showTiles(MainForm &window)
{
    DResources *gallery = window.resources();
    window.uiMainBt(BtMenus::btExpandRes);
    QCoreApplication::processEvents();
    if (!gallery->isVisible())
        return false;
    QScrollBar *scroll = gallery->findChild<QScrollArea *>()->verticalScrollBar();
    QElapsedTimer clock;
    clock.start();
    for (int at = 0;; at += std::max(1, scroll->pageStep())) {
        scroll->setValue(std::min(at, scroll->maximum()));
        while (gallery->pageTilesToDraw() > 0 && clock.elapsed() < 600000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (at >= scroll->maximum())
            break;
    }
    return gallery->pageTilesToDraw() == 0;
}

bool save(DPagesList *list, const QString &base)
{
    if (list->saveAllPagesToFileIWB(base, true))
        return true;
    std::fprintf(stderr, "save failed: %s\n", qPrintable(list->lastSaveError()));
    return false;
}

bool autosave(DPagesList *list)
{
    QPainterPath stroke(QPointF(0, 0));
    for (int p = 1; p < 200; ++p)
        stroke.lineTo(p * 2.0, (p * 7) % 50);
    list->getCurPage()->addCurveItem(stroke, QPen(Qt::red, 3), 0, BtMenus::btPencil,
                                     BtMenus::fnPathAtPos, QPointF(40, 40), 1.0f, QTransform(),
                                     true);
    QTimer::singleShot(0, list, &DPagesList::autoSaveInSteps);
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::processEvents();
    while (clock.elapsed() < 600000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (!list->isAutoSaving() && clock.elapsed() > 20)
            break;
    }
    return !list->isAutoSaving() && list->lastSaveError().isEmpty();
}

bool exportPdf(DPagesList *list, const QString &file)
{
    BenchDialogs answers(file);
    const bool exported = list->saveAsFile(QStringLiteral("pdf"));
    for (const QString &told : answers.told)
        std::fprintf(stderr, "told: %s\n", qPrintable(told.simplified()));
    return exported && answers.told.isEmpty() && QFileInfo(file).size() > 0;
}

// --lesson kind file: the lesson's steps in a fresh main window, a row each.
int measure(const QString &kind, const QString &file)
{
    MainForm window;
    window.show();
    DPagesList *list = window.pagesList();
    settle(500); // the decoding processes started beside the board
    QTemporaryDir scratch;
    Steps steps;
    const auto step = [&steps](const char *name, const std::function<bool()> &work) {
        return steps.run(QLatin1String(name), work);
    };
    bool came = false;
    if (kind == QLatin1String("pdf"))
        came = step("import", [&] { return importPdf(list, file); });
    else
        came = step("open", [&] { return open(list, file); });
    if (!came)
        return 1;
    if (kind == QLatin1String("photos")) {
        step("page changes", [&] { return changePages(list); });
    } else {
        step("zoom in to 418 %", [&] { return zoom(list, true, kZoomInPercent); });
        step("out to 39 %", [&] { return zoom(list, false, kZoomOutPercent); });
        step("in to 100 %", [&] { return zoom(list, true, 100); });
    }
    step("tiles", [&] { return showTiles(window); });
    step("save", [&] { return save(list, scratch.filePath(QStringLiteral("lesson"))); });
    step("autosave", [&] { return autosave(list); });
    step("PDF export",
         [&] { return exportPdf(list, scratch.filePath(QStringLiteral("lesson.pdf"))); });
    std::printf("DONE\n");
    std::fflush(stdout);
    list->exit();
    return 0;
}

// One lesson in a fresh program: prints its line (with VELTORINA_BENCH_VERBOSE, a row a step
// too); false when the run failed or a step went past the target.
bool runLesson(const Lesson &lesson, double *worstMb)
{
    const QString file = lesson.file();
    if (file.isEmpty())
        return false;
    const double load = BenchFigures::loadAverage();
    QProcess child;
    const QTemporaryDir home;
    child.setWorkingDirectory(home.path()); // the settings store "init" lands there
    child.start(QCoreApplication::applicationFilePath(),
                { QStringLiteral("--lesson"), QLatin1String(lesson.kind), file });
    const bool ended = child.waitForFinished(60 * 60 * 1000);
    const bool verbose = !qEnvironmentVariableIsEmpty("VELTORINA_BENCH_VERBOSE");
    bool done = false;
    bool allMet = true;
    double idle = 0;
    double most = 0;
    QString mostAt;
    QStringList steps;
    QStringList notDone;
    const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("IDLE "))
            idle = line.mid(5).toDouble();
        if (line.startsWith("MISSED")) {
            std::printf("  %s\n", line.constData());
            allMet = false;
        }
        if (line == "DONE")
            done = true;
        if (line.startsWith("NOTE ") && verbose)
            std::printf("    %s\n", line.mid(5).constData());
        if (!line.startsWith("ROW "))
            continue;
        // name|peak|program|processes|count|copies|but least|own|ms|stall|done
        const QList<QByteArray> fields = line.mid(4).split('|');
        if (fields.size() != 11)
            continue;
        const double peak = fields[1].toDouble();
        if (peak > most) {
            most = peak;
            mostAt = QString::fromUtf8(fields[0]);
        }
        allMet = allMet && peak <= kTargetMb;
        steps << QStringLiteral("%1 %2").arg(QString::fromUtf8(fields[0])).arg(peak, 0, 'f', 0);
        if (fields[10] != "1")
            notDone << QString::fromUtf8(fields[0]);
        if (verbose) {
            std::printf("    %-18s peak %5.0f MB: program %5.0f, %d processes %5.0f; copies %4.0f "
                        "(but the smallest %4.0f), the processes' own %3.0f; %6.0f ms, longest "
                        "stall %5.0f ms\n",
                        fields[0].constData(), peak, fields[2].toDouble(), fields[4].toInt(),
                        fields[3].toDouble(), fields[5].toDouble(), fields[6].toDouble(),
                        fields[7].toDouble(), fields[8].toDouble(), fields[9].toDouble());
        }
    }
    *worstMb = std::max(*worstMb, most);
    std::printf("%s (%.0f MB; load average %.1f): the most above idle (%.0f MB) %.0f MB, at %s; "
                "by step %s%s\n",
                lesson.name, QFileInfo(file).size() / 1e6, load, idle, most, qPrintable(mostAt),
                qPrintable(steps.join(QStringLiteral(", "))),
                notDone.isEmpty() ? ""
                                  : qPrintable(QStringLiteral(" (not done whole: %1)")
                                                       .arg(notDone.join(QStringLiteral(", ")))));
    if (!ended || !done) {
        const QByteArray errors = child.readAllStandardError();
        std::printf("  the run did not end whole%s\n", ended ? "" : " (out of time)");
        std::fprintf(stderr, "%s", errors.right(4000).constData());
        return false;
    }
    return allMet;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments.at(1) == QLatin1String("--lesson"))
        return measure(arguments.at(2), arguments.at(3));
    // "--only kind,...": those lessons alone.
    const QStringList only = arguments.size() == 3 && arguments.at(1) == QLatin1String("--only")
            ? arguments.at(2).split(QLatin1Char(','))
            : QStringList();
    std::printf("the program and its decoding processes together, in MB above idle, at their most "
                "within each step\n");
    std::fflush(stdout);
    double worst = 0;
    bool met = true;
    for (const Lesson &lesson : kLessons) {
        if (!only.isEmpty() && !only.contains(QLatin1String(lesson.kind)))
            continue;
        met = runLesson(lesson, &worst) && met;
        std::fflush(stdout);
    }
    std::printf("\ntarget: within %.0f MB above idle at every moment, every lesson: the most %.0f "
                "MB  %s\n",
                kTargetMb, worst, met ? "met" : "MISSED");
    return 0;
}
