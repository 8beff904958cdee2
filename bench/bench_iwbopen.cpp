// Opening lessons against unzipping the same archive, and against the program before this
// round, in the same run. Each open is what a teacher waits for: the first open of a fresh
// program (this one started again with "--measure"), in the main window on its new document,
// until the board answers an event again.
//
// Two lessons of 50 pages: the photo lesson (strokes, shapes, texts and a photo-like picture of
// its own on each page, about 30 MB, where unzip's own work is most of the time) and a lesson of
// small objects (strokes, two texts and two small pictures a page, about 5 MB, where the objects
// are). Each is opened in rounds, on every processor and then on two (taskset), each round by
// this program and by the program before this round (VELTORINA_BENCH_BEFORE: this benchmark
// built from it, whose "--measure" is the same), the one that goes first taking turns; `unzip`
// of the archive follows each round on every processor. Then a phone's photo (4000 x 3000 JPEG)
// put in with the picture button, against decoding it alone, and a picture that takes minutes
// to draw, which is said to the teacher (VELTORINA_BENCH_NO_SLOW_PICTURE leaves it out).
//
// Then lessons as large as a class's (VELTORINA_BENCH_NO_LARGE_LESSONS leaves them out,
// VELTORINA_BENCH_LARGE_ONLY the rest). A lesson of 100 pages, each with a camera photo of its
// own (4000 x 3000 JPEG, about 5 MB), written and zipped as another program writes it: its open
// until the board answers against unzip, whether the page it opens on shows its photo as it
// answers and when that is sharp; then the page changes (to the first page, 20 to the next, then
// jumps far and near): whether the page is shown within three frames with its photo (a smaller
// copy at least), when it is sharp (its photo held at the size the board shows it, and painted),
// the board's longest stall, and the memory of the program and its decoding processes above
// idle. VELTORINA_BENCH_VERBOSE says each page change on the error output.
//
// Then a PDF of 500 pages of text and shapes imported with the PDF button: the pages brought in
// and the time against one pdftoppm run of the whole file at the same resolution, the two in
// turns on the same four processors (VELTORINA_BENCH_PDF_ONLY: this row alone, as
// `make bench-pdfimport` runs it).

#include "benchdialogs.h"
#include "benchdocument.h"
#include "benchfigures.h"
#include "benchlesson.h"
#include "benchphotolessons.h"

#include "board/dgpixmapitem.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "document/dpageslist.h"
#include "document/toolrun.h"
#include "pictures/heldpictures.h"
#include "shell/cores.h"
#include "shell/mainform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

using BenchFigures::median;
using BenchFigures::StallWatch;
using BenchFigures::TreeMemory;

namespace {

constexpr int kRuns = 7; // rounds of each lesson on each set of processors
constexpr double kTarget = 2.5; // open at most this many times unzip
constexpr double kSaidWithinS = 10; // a picture not taken is said to the teacher
constexpr double kStallMs = 200; // the board answers a click while pictures are read
constexpr char kTwoCpus[] = "0,1"; // the processors a run restricted to two may use

// The lessons as large as a class's.
constexpr int kLargeRuns = 3;
constexpr double kFrameMs = 1000.0 / 60.0;
constexpr double kShownMs = 3 * kFrameMs;
constexpr double kSharpMs = 500;
constexpr double kSharpLimitMs = 10000; // a page not sharp by then is said never to be
// A run past this is stopped: the machine is shared.
constexpr long kStopKiB = 8L << 20;
// Where the page changes go after the first page and the next 20: jumps far and near.
constexpr int kJumps[] = { 60, 5, 95, 33, 34, 77, 12 };
// The PDF import and pdftoppm alone, in turns on the same processors (VELTORINA_BENCH_PDF_CPUS,
// a taskset list, to choose others).
constexpr int kPdfRounds = 3;
constexpr char kPdfCpus[] = "0-3";

// Records when an event posted to the board is handled.
class Answer : public QObject
{
public:
    static constexpr QEvent::Type kType = QEvent::Type(QEvent::User + 28);
    explicit Answer(QWidget *board) : m_board(board) { board->installEventFilter(this); }
    // Posts the event and turns the event loop until it is handled.
    void waitFor()
    {
        m_answered = false;
        QCoreApplication::postEvent(m_board, new QEvent(kType));
        while (!m_answered)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_board && event->type() == kType) {
            m_answered = true;
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_board;
    bool m_answered = false;
};

// Peak memory of this program in MB: its peak resident memory, or what it holds now with the
// pictures decoded apart counted whole and its decoding processes' (BenchFigures::heldKiB), when
// that is more.
double peakMb()
{
    return std::max(BenchFigures::peakResidentKiB(), BenchFigures::heldKiB()) / 1024.0;
}

// The open of archive in window, until the board answers: its time in ms, negative when the
// document did not open whole with its pages. A function of its own, for a profiler to look
// at the open alone (valgrind --tool=callgrind --toggle-collect='*openUntilAnswered*').
Q_NEVER_INLINE double openUntilAnswered(MainForm &window, const QString &archive, int pages)
{
    DPagesList *list = window.pagesList();
    QWidget *board = list->getView()->viewport();
    Answer answer(board);
    QElapsedTimer clock;
    clock.start();
    if (!list->openAllPagesFromFileIWB(archive) || list->lastOpenWasPartial()
        || list->size() != pages) {
        std::fprintf(stderr, "open failed: %s\n", qPrintable(list->lastOpenError()));
        return -1;
    }
    window.uiMainBt(BtMenus::btSelect); // as after the file menu
    board->repaint();
    answer.waitFor();
    return clock.nsecsElapsed() / 1e6;
}

// --insert picture: the teacher puts a picture in with the picture button in a fresh main window;
// the time until it is on the board and the board answers, or until the teacher is told it is
// not taken, and the longest the board went without answering meanwhile. Prints
// "RESULT open=<ms> peak=<MB> stall=<ms> said=<0 or 1>".
int measureInsert(const QString &picture)
{
    MainForm window;
    window.show();
    DPagesList *list = window.pagesList();
    QCoreApplication::processEvents();
    QWidget *board = list->getView()->viewport();
    DPage *page = list->getCurPage();
    Answer answer(board);
    // Ticks every millisecond on the board's thread: the longest gap between two is the longest
    // the board could not answer a click.
    QElapsedTimer sinceTick;
    qint64 stallNs = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&sinceTick, &stallNs] {
        stallNs = std::max(stallNs, sinceTick.nsecsElapsed());
        sinceTick.restart();
    });
    double saidMs = -1;
    QElapsedTimer clock;
    // A box telling the teacher about the picture is read and closed at once.
    QTimer told;
    QObject::connect(&told, &QTimer::timeout, [&saidMs, &clock] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            saidMs = clock.nsecsElapsed() / 1e6;
            box->close();
        }
    });
    told.start(1);
    clock.start();
    sinceTick.start();
    ticks.start(1);
    list->insertPixmap(picture);
    while (page->validItems(true).isEmpty() && saidMs < 0 && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
    // A picture put in on the board's own thread held it until now.
    stallNs = std::max(stallNs, sinceTick.nsecsElapsed());
    ticks.stop();
    if (page->validItems(true).isEmpty() && saidMs < 0)
        return 1;
    double shownMs = saidMs;
    if (saidMs < 0) {
        board->repaint();
        answer.waitFor();
        shownMs = clock.nsecsElapsed() / 1e6;
    }
    std::printf("RESULT open=%.2f peak=%.1f stall=%.2f said=%d\n", shownMs, peakMb(),
                stallNs / 1e6, saidMs >= 0);
    std::fflush(stdout);
    list->exit();
    return 0;
}

// --measure file pages: opens it in a fresh main window and prints
// "RESULT open=<ms> peak=<MB>".
int measure(const QString &archive, int pages)
{
    MainForm window;
    window.show();
    DPagesList *list = window.pagesList();
    QCoreApplication::processEvents();
    const double openMs = openUntilAnswered(window, archive, pages);
    if (openMs < 0)
        return 1;
    std::printf("RESULT open=%.2f peak=%.1f\n", openMs, peakMb());
    std::fflush(stdout);
    list->exit();
    return 0;
}

using Figures = std::map<QByteArray, double>;

double mb(long kib)
{
    return kib / 1024.0;
}

// Turns the event loop for ms: what the program does once started (its decoding processes
// started beside the board) is done before idle is taken.
void settle(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

void printFigures(const Figures &figures)
{
    std::printf("RESULT");
    for (const auto &figure : figures)
        std::printf(" %s=%.2f", figure.first.constData(), figure.second);
    std::printf("\n");
    std::fflush(stdout);
}

double largest(const std::vector<double> &values)
{
    return values.empty() ? -1 : *std::max_element(values.begin(), values.end());
}

// --photos archive: the 100-photo lesson opened in a fresh main window, its pictures measured,
// then the page changes; one line of figures.
int measurePhotoLesson(const QString &archive)
{
    MainForm window;
    window.show();
    DPagesList *list = window.pagesList();
    DView *view = list->getView();
    settle(500);
    TreeMemory tree(kStopKiB);
    tree.setStep(QStringLiteral("the open"));
    const TreeMemory::Sample idle = TreeMemory::now();
    tree.takePeak();
    Figures figures;
    StallWatch stalls;
    QElapsedTimer clock;
    clock.start();
    figures["open"] = openUntilAnswered(window, archive, BenchPhotoLessons::kLessonPages);
    if (figures["open"] < 0)
        return 1;
    // The page the lesson opens on, as the board answers: its photo there, at least as a
    // smaller copy, then sharp.
    const std::vector<DGPixmapItem *> opened = BenchPhotoLessons::heldPictures(list->getCurPage());
    figures["openShown"] =
            !opened.empty() && !HeldPictures::heldHalvings(*opened.front()->picture()).isEmpty();
    figures["openSharp"] = BenchPhotoLessons::waitUntilServed(view, kSharpLimitMs);
    figures["openStall"] = stalls.takeLongestMs();
    tree.setStep(QStringLiteral("its pictures measured"));
    while (!list->arePicturesMeasured() && clock.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    figures["measured"] = clock.nsecsElapsed() / 1e6;
    figures["measureStall"] = stalls.takeLongestMs();

    std::vector<int> targets;
    for (int page = 0; page <= 20; ++page)
        targets.push_back(page);
    targets.insert(targets.end(), std::begin(kJumps), std::end(kJumps));
    std::vector<double> shownMs;
    std::vector<double> sharp;
    std::vector<double> changeStalls;
    int inTime = 0; // shown with its photo within three frames
    int never = 0;
    const bool verbose = !qEnvironmentVariableIsEmpty("VELTORINA_BENCH_VERBOSE");
    for (const int target : targets) {
        tree.setStep(QStringLiteral("the change to page %1").arg(target + 1));
        const std::vector<DGPixmapItem *> photos =
                BenchPhotoLessons::heldPictures(list->at(target));
        if (photos.size() != 1) {
            std::fprintf(stderr, "page %d holds %d photos\n", target + 1, int(photos.size()));
            return 1;
        }
        stalls.takeLongestMs();
        const int asked = HeldPictures::pending();
        QElapsedTimer change;
        change.start();
        list->selectPage(target); // as a page tile or the page button does
        const bool ahead = BenchPhotoLessons::isSharp(photos.front(), view);
        const bool held = !HeldPictures::heldHalvings(*photos.front()->picture()).isEmpty();
        view->viewport()->repaint();
        shownMs.push_back(change.nsecsElapsed() / 1e6);
        inTime += held && shownMs.back() <= kShownMs ? 1 : 0;
        // Sharp: its photo's copy serves, and the board has painted with it.
        if (BenchPhotoLessons::waitUntilServed(view, kSharpLimitMs) < 0)
            ++never;
        else
            sharp.push_back(change.nsecsElapsed() / 1e6);
        // What was asked for its neighbours comes before the next change, as a teacher's pause
        // between pages lets it.
        BenchPhotoLessons::waitUntilSharp(view, kSharpLimitMs);
        changeStalls.push_back(stalls.takeLongestMs());
        if (verbose) {
            std::fprintf(stderr,
                         "page %d: %d asked before, shown after %.1f ms%s%s, sharp after %.0f "
                         "ms, longest stall %.1f ms\n",
                         target + 1, asked, shownMs.back(), held ? "" : " without its photo",
                         ahead ? " (sharp as it came)" : "", sharp.empty() ? -1.0 : sharp.back(),
                         changeStalls.back());
        }
    }
    const TreeMemory::Sample peak = tree.takePeak();
    figures["peak"] = mb(peak.totalKiB() - idle.totalKiB());
    figures["changes"] = double(targets.size());
    figures["inTime"] = inTime;
    figures["never"] = never;
    figures["shownMax"] = largest(shownMs);
    figures["sharpMedian"] = median(sharp);
    figures["sharpMax"] = largest(sharp);
    figures["changeStallMax"] = largest(changeStalls);
    printFigures(figures);
    list->exit();
    return 0;
}

// --pdf file: the PDF imported with the PDF button in a fresh main window (the file dialog
// answered); one line of figures.
int measurePdfImport(const QString &pdf)
{
    MainForm window;
    window.show();
    DPagesList *list = window.pagesList();
    DPage *page = list->getCurPage();
    settle(500);
    // Its memory is bench-lessonmemory's to measure: sampling the whole tree's here took an
    // eighth of the processors the import and pdftoppm alone are timed on.
    Figures figures;
    StallWatch stalls;
    BenchDialogs answers(pdf);
    QElapsedTimer clock;
    clock.start();
    page->insertImage(true);
    figures["import"] = clock.nsecsElapsed() / 1e6;
    figures["importStall"] = stalls.takeLongestMs();
    figures["pages"] = double(BenchPhotoLessons::heldPictures(page).size());
    figures["runs"] = double(Cores::usable());
    figures["sharp"] = BenchPhotoLessons::waitUntilSharp(list->getView(), kSharpLimitMs);
    for (const QString &told : answers.told)
        std::fprintf(stderr, "told: %s\n", qPrintable(told.simplified()));
    printFigures(figures);
    list->exit();
    return 0;
}

// The board's chatter on every page and text it makes is left out of the figures.
void quietDebug(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// ---- What the runs print

// One run of program with arguments in a fresh process, on the processors cpus names (all
// when empty): the figures of its RESULT line, empty when it failed (what it said is passed
// on).
Figures runFresh(const QString &program, const QStringList &arguments, const QString &cpus = {})
{
    QProcess child;
    const QTemporaryDir home;
    child.setWorkingDirectory(home.path()); // the settings store "init" lands there
    if (cpus.isEmpty())
        child.start(program, arguments);
    else
        child.start(QStringLiteral("taskset"),
                    QStringList{ QStringLiteral("-c"), cpus, program } + arguments);
    const bool ended = child.waitForFinished(30 * 60 * 1000);
    Figures figures;
    const QByteArray output = child.readAllStandardOutput();
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith("MISSED"))
            std::printf("  %s\n", line.constData());
        if (!line.startsWith("RESULT "))
            continue;
        for (const QByteArray &field : line.mid(7).split(' ')) {
            const int equals = field.indexOf('=');
            if (equals > 0)
                figures[field.left(equals)] = field.mid(equals + 1).toDouble();
        }
    }
    if (!ended || child.exitCode() != 0 || figures.empty()) {
        std::fprintf(stderr, "%s: %s", qPrintable(program),
                     child.readAllStandardError().right(4000).constData());
        return Figures();
    }
    return figures;
}

Figures runSelf(const QStringList &arguments, const QString &cpus = {})
{
    return runFresh(QCoreApplication::applicationFilePath(), arguments, cpus);
}

// A program's time alone in a fresh temporary folder, in ms; negative when it failed.
double timeTool(const QString &program, const QStringList &arguments)
{
    QTemporaryDir scratch;
    QElapsedTimer timer;
    timer.start();
    const ToolRun run = runTool(program, arguments, scratch.path(), 30 * 60 * 1000);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (!run.ok) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program), qPrintable(run.error));
        return -1;
    }
    return ms;
}

// The medians of the figures of several runs.
Figures medians(const std::vector<Figures> &runs)
{
    std::map<QByteArray, std::vector<double>> values;
    for (const Figures &run : runs) {
        for (const auto &figure : run)
            values[figure.first].push_back(figure.second);
    }
    Figures result;
    for (const auto &value : values)
        result[value.first] = median(value.second);
    return result;
}

// The targets, each said once with its figure, met or not, after all the rows.
class Targets
{
public:
    void add(const QString &text, bool met)
    {
        m_lines << QStringLiteral("%1  %2").arg(text, QLatin1String(met ? "met" : "MISSED"));
    }
    void print() const
    {
        std::printf("\ntargets:\n");
        for (const QString &line : m_lines)
            std::printf("  %s\n", qPrintable(line));
    }

private:
    QStringList m_lines;
};

QString fixed(double value, int decimals = 0)
{
    return QString::number(value, 'f', decimals);
}

// The least and the most of values, as "min-max".
QString spread(const std::vector<double> &values)
{
    const auto [least, most] = std::minmax_element(values.begin(), values.end());
    return QStringLiteral("%1-%2").arg(fixed(*least), fixed(*most));
}

// ---- The 50-page lessons, against the program before this round

struct Lesson
{
    const char *name;
    const char *content; // printf format of the pages and the strokes on each
    int strokes;
    void (*build)(DPagesList &);
    QString archive;
};

// The opens of one lesson on cpus: kRuns rounds, each an open by this program and one by the
// program before (when there is one), taking turns to go first, and unzip of the archive after
// each round when withUnzip. False when a run failed.
struct Opens
{
    std::vector<double> now;
    std::vector<double> before;
    std::vector<double> unzip;
};

bool openInRounds(const QString &archive, const QString &before, const QString &cpus,
                  bool withUnzip, Opens *opens)
{
    const QStringList arguments{ QStringLiteral("--measure"), archive,
                                 QString::number(BenchLesson::kPages) };
    for (int round = 0; round < kRuns; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool ours = (round + turn) % 2 == 0;
            if (!ours && before.isEmpty())
                continue;
            const Figures opened =
                    ours ? runSelf(arguments, cpus) : runFresh(before, arguments, cpus);
            if (opened.empty() || opened.at("open") < 0) {
                std::fprintf(stderr, "the open of %s failed\n", qPrintable(archive));
                return false;
            }
            (ours ? opens->now : opens->before).push_back(opened.at("open"));
        }
        if (withUnzip) {
            const double unzip =
                    timeTool(QStringLiteral("unzip"), { QStringLiteral("-q"), archive });
            if (unzip < 0)
                return false;
            opens->unzip.push_back(unzip);
        }
    }
    return true;
}

// Writes the 50-page lessons into folder (lesson0.iwb, lesson1.iwb); false when a save failed.
bool writeLessons(const QString &folder, Lesson *lessons, int count)
{
    for (int n = 0; n < count; ++n) {
        QWidget window;
        window.setFixedSize(1280, 800);
        DPagesList list(&window);
        lessons[n].build(list);
        const QString base = QDir(folder).filePath(QStringLiteral("lesson%1").arg(n));
        lessons[n].archive = base + QStringLiteral(".iwb");
        const bool saved = list.saveAllPagesToFileIWB(base, true);
        list.exit();
        if (!saved) {
            std::fprintf(stderr, "save failed: %s\n", qPrintable(list.lastSaveError()));
            return false;
        }
    }
    return true;
}

// With generateOnly, only writes the lessons there, for a profiler to open them one at a time
// with "--measure".
bool measureLessons(const QString &folder, bool generateOnly, Targets *targets)
{
    // clang-format off
    Lesson lessons[] = {
        { "photo lesson", "%d pages x %d strokes, 5 shapes, 2 texts and an 800x600 photo",
          BenchLesson::kStrokesPerPage, BenchLesson::build, {} },
        { "lesson of small objects", "%d pages x %d strokes, 2 texts and 2 pictures of 200x150",
          BenchLesson::kSmallStrokesPerPage, BenchLesson::buildSmallObjects, {} },
    };
    // clang-format on
    if (!writeLessons(folder, lessons, int(std::size(lessons))))
        return false;
    if (generateOnly)
        return true;
    const QString before = qEnvironmentVariable("VELTORINA_BENCH_BEFORE");
    std::printf("load average at the start: %.1f; medians of %d rounds, each in fresh programs%s\n",
                BenchFigures::loadAverage(), kRuns,
                before.isEmpty() ? " (VELTORINA_BENCH_BEFORE unset: no program before this round)"
                                 : ", this program and the one before this round by turns");
    for (const Lesson &lesson : lessons) {
        Opens all;
        Opens two;
        if (!openInRounds(lesson.archive, before, {}, true, &all)
            || !openInRounds(lesson.archive, before, QLatin1String(kTwoCpus), false, &two))
            return false;
        const double open = median(all.now);
        const double unzip = median(all.unzip);
        std::printf("%s (", lesson.name);
        std::printf(lesson.content, BenchLesson::kPages, lesson.strokes);
        std::printf(", %.1f MB): open %.0f ms (%s), unzip %.0f ms: %.2fx",
                    QFileInfo(lesson.archive).size() / 1e6, open, qPrintable(spread(all.now)),
                    unzip, open / unzip);
        if (!before.isEmpty()) {
            std::printf("; before this round %.0f ms (%s): %.2fx; on 2 CPUs %.0f ms (%s), before "
                        "%.0f ms (%s): %.2fx",
                        median(all.before), qPrintable(spread(all.before)),
                        open / median(all.before), median(two.now), qPrintable(spread(two.now)),
                        median(two.before), qPrintable(spread(two.before)),
                        median(two.now) / median(two.before));
        } else {
            std::printf("; on 2 CPUs %.0f ms (%s)", median(two.now), qPrintable(spread(two.now)));
        }
        std::printf("\n");
        std::fflush(stdout);
        targets->add(
                QStringLiteral("%1: open <= %2x unzip: %3")
                        .arg(QLatin1String(lesson.name), fixed(kTarget, 1), fixed(open / unzip, 2)),
                open / unzip <= kTarget);
        if (!before.isEmpty()) {
            const double againstBefore = open / median(all.before);
            const double againstBeforeOnTwo = median(two.now) / median(two.before);
            targets->add(QStringLiteral("%1: no slower than before this round: %2x, on 2 CPUs "
                                        "%3x")
                                 .arg(QLatin1String(lesson.name), fixed(againstBefore, 2),
                                      fixed(againstBeforeOnTwo, 2)),
                         againstBefore <= 1 && againstBeforeOnTwo <= 1);
        }
    }
    return true;
}

// A phone's photo through the picture button, against decoding it alone in this program; and a
// picture that takes minutes to draw.
bool measurePictureButton(QTemporaryDir &folder, Targets *targets)
{
    const QString photo = folder.filePath(QStringLiteral("phone.jpg"));
    if (!BenchDocument::photo(QSize(4000, 3000), 7).save(photo, "JPEG", 90)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(photo));
        return false;
    }
    std::vector<double> insertMs, decodeMs, stalls;
    for (int run = 0; run < kRuns; ++run) {
        const Figures inserted = runSelf({ QStringLiteral("--insert"), photo });
        if (inserted.empty() || inserted.at("said") != 0) {
            std::fprintf(stderr, "the photo was not put in\n");
            return false;
        }
        QElapsedTimer timer;
        timer.start();
        const QImage decoded(photo);
        decodeMs.push_back(timer.nsecsElapsed() / 1e6);
        if (decoded.isNull())
            return false;
        insertMs.push_back(inserted.at("open"));
        stalls.push_back(inserted.at("stall"));
    }
    std::printf("a phone's photo (4000x3000 JPEG, %.1f MB) put in with the picture button: on the "
                "board in %.0f ms, decoding it alone %.0f ms: %.2fx; longest stall %.0f ms\n",
                QFileInfo(photo).size() / 1e6, median(insertMs), median(decodeMs),
                median(insertMs) / median(decodeMs), median(stalls));
    double slowStall = 0;
    if (qEnvironmentVariableIsEmpty("VELTORINA_BENCH_NO_SLOW_PICTURE")) {
        // 20000 translucent squares a million units wide.
        const QString slow = folder.filePath(QStringLiteral("slow.svg"));
        QFile svg(slow);
        if (!svg.open(QIODevice::WriteOnly))
            return false;
        svg.write("<svg xmlns='http://www.w3.org/2000/svg' width='1000000' height='1000000'>");
        for (int i = 0; i < 20000; ++i)
            svg.write(QStringLiteral("<rect width='1000000' height='1000000' fill-opacity='0.5' "
                                     "fill='#%1'/>")
                              .arg(0x100 + i % 0xf00, 0, 16)
                              .toLatin1());
        svg.write("</svg>\n");
        svg.close();
        const Figures slowRun = runSelf({ QStringLiteral("--insert"), slow });
        if (slowRun.empty() || slowRun.at("said") == 0) {
            std::fprintf(stderr, "the slow picture was neither taken nor said\n");
            return false;
        }
        const double said = slowRun.at("open") / 1000;
        slowStall = slowRun.at("stall");
        std::printf("a picture that takes minutes to draw (an SVG of 20000 translucent squares) "
                    "put in: said after %.1f s; longest stall %.0f ms\n",
                    said, slowStall);
        targets->add(QStringLiteral("a picture not taken said within %1 s: %2")
                             .arg(kSaidWithinS)
                             .arg(fixed(said, 1)),
                     said <= kSaidWithinS);
    }
    const double stall = std::max(median(stalls), slowStall);
    targets->add(QStringLiteral("the board's longest stall while pictures are read <= %1 ms: %2")
                         .arg(kStallMs)
                         .arg(fixed(stall)),
                 stall <= kStallMs);
    return true;
}

// ---- The lessons as large as a class's

bool measureLargeLessons(Targets *targets)
{
    const QString archive = BenchPhotoLessons::hundredPhotoLesson();
    if (archive.isEmpty())
        return false;
    std::vector<Figures> runs;
    std::vector<double> unzips;
    std::vector<double> loads;
    for (int run = 0; run < kLargeRuns; ++run) {
        loads.push_back(BenchFigures::loadAverage());
        const Figures figures = runSelf({ QStringLiteral("--photos"), archive });
        if (figures.empty())
            return false;
        QTemporaryDir into;
        const double unzip =
                timeTool(QStringLiteral("unzip"),
                         { QStringLiteral("-q"), archive, QStringLiteral("-d"), into.path() });
        if (unzip < 0)
            return false;
        runs.push_back(figures);
        unzips.push_back(unzip);
    }
    Figures r = medians(runs);
    // Every change of every run counts for the targets of the page changes.
    Figures worst = r;
    for (const Figures &run : runs) {
        for (const char *name : { "shownMax", "sharpMax", "changeStallMax", "never", "peak" })
            worst[name] = std::max(worst[name], run.at(name));
        for (const char *name : { "openShown", "inTime" })
            worst[name] = std::min(worst[name], run.at(name));
    }
    // A page that never became sharp is said as such, whatever the other runs did.
    int openShown = 0;
    for (const Figures &run : runs) {
        if (run.at("openSharp") < 0)
            worst["openSharp"] = -1;
        openShown += run.at("openShown") > 0 ? 1 : 0;
    }
    const double unzip = median(unzips);
    std::printf("\n100 pages of a camera photo each (4000x3000 JPEG; %.0f MB; medians of %d "
                "fresh programs, load average %.1f to %.1f): open %.0f ms, unzip %.0f ms: %.2fx; "
                "the page it opens on shown with its photo %d of %d, sharp %.0f ms after; all "
                "measured after %.1f s; %.0f page changes: shown with the photo within 3 frames "
                "%.0f (slowest %.1f ms), sharp after median %.0f ms, slowest %.0f ms (of all "
                "runs %.0f ms), never %.0f; longest stall %.1f ms; memory above idle %.0f MB\n",
                QFileInfo(archive).size() / 1e6, kLargeRuns,
                *std::min_element(loads.begin(), loads.end()),
                *std::max_element(loads.begin(), loads.end()), r["open"], unzip, r["open"] / unzip,
                openShown, kLargeRuns, r["openSharp"], r["measured"] / 1000, r["changes"],
                r["inTime"], r["shownMax"], r["sharpMedian"], r["sharpMax"], worst["sharpMax"],
                r["never"], r["changeStallMax"], r["peak"]);
    targets->add(QStringLiteral("100 photos: open <= %1x unzip: %2")
                         .arg(fixed(kTarget, 1), fixed(r["open"] / unzip, 2)),
                 r["open"] / unzip <= kTarget);
    targets->add(QStringLiteral("100 photos: the page it opens on shown at once with its photo, "
                                "sharp within %1 s: every run %2, slowest %3 ms")
                         .arg(kSharpMs / 1000)
                         .arg(worst["openShown"] > 0 ? "yes" : "no")
                         .arg(fixed(worst["openSharp"])),
                 worst["openShown"] > 0 && worst["openSharp"] >= 0
                         && worst["openSharp"] <= kSharpMs);
    targets->add(QStringLiteral("100 photos: every page change shown with its photo within 3 "
                                "frames: %1 of %2 in the worst run, slowest %3 ms")
                         .arg(worst["inTime"])
                         .arg(r["changes"])
                         .arg(fixed(worst["shownMax"], 1)),
                 worst["inTime"] == r["changes"]);
    targets->add(QStringLiteral("100 photos: every page change sharp within %1 s: slowest %2 ms, "
                                "never %3")
                         .arg(kSharpMs / 1000)
                         .arg(fixed(worst["sharpMax"]))
                         .arg(worst["never"]),
                 worst["never"] == 0 && worst["sharpMax"] >= 0 && worst["sharpMax"] <= kSharpMs);

    return true;
}

// ---- The PDF import

// The PDF of 500 pages of text and shapes imported with the PDF button, against one pdftoppm run
// of the whole file at the same resolution, both on the same processors, in turns.
bool measurePdfImportRow(Targets *targets)
{
    const QString pdf = BenchPhotoLessons::textPdf(BenchPhotoLessons::kPdfPages);
    if (pdf.isEmpty())
        return false;
    const QString cpus = QString::fromLocal8Bit(qgetenv("VELTORINA_BENCH_PDF_CPUS")).isEmpty()
            ? QString::fromLatin1(kPdfCpus)
            : QString::fromLocal8Bit(qgetenv("VELTORINA_BENCH_PDF_CPUS"));
    std::vector<Figures> runs;
    std::vector<double> converts;
    std::vector<double> loads;
    for (int round = 0; round < kPdfRounds; ++round) {
        loads.push_back(BenchFigures::loadAverage());
        Figures figures;
        double convert = -1;
        const auto import = [&] { figures = runSelf({ QStringLiteral("--pdf"), pdf }, cpus); };
        const auto alone = [&] {
            convert = timeTool(QStringLiteral("taskset"),
                               { QStringLiteral("-c"), cpus, QStringLiteral("pdftoppm"),
                                 QStringLiteral("-r"), QStringLiteral("150"), pdf,
                                 QStringLiteral("out") });
        };
        // The one that goes first takes turns: a cache warmed by the other is shared out.
        if (round % 2 == 0) {
            import();
            alone();
        } else {
            alone();
            import();
        }
        if (figures.empty() || convert < 0)
            return false;
        std::printf("  PDF round %d: import %.1f s (%.0f pages, %.0f runs at once), pdftoppm "
                    "%.1f s: %.2fx\n",
                    round + 1, figures.at("import") / 1000, figures.at("pages"),
                    figures.at("runs"), convert / 1000, figures.at("import") / convert);
        runs.push_back(figures);
        converts.push_back(convert);
    }
    const Figures p = medians(runs);
    const double convert = median(converts);
    double fewest = p.at("pages");
    for (const Figures &run : runs)
        fewest = std::min(fewest, run.at("pages"));
    std::printf("a PDF of %d pages of text and shapes (%.1f MB; processors %s; medians of %d "
                "rounds in turns, load average %.1f to %.1f) imported with the PDF button: %.0f "
                "pages brought in in %.1f s, pdftoppm -r 150 of the file alone %.1f s: %.2fx; "
                "longest stall %.0f ms\n",
                BenchPhotoLessons::kPdfPages, QFileInfo(pdf).size() / 1e6, qPrintable(cpus),
                kPdfRounds, *std::min_element(loads.begin(), loads.end()),
                *std::max_element(loads.begin(), loads.end()), p.at("pages"),
                p.at("import") / 1000, convert / 1000, p.at("import") / convert,
                p.at("importStall"));
    targets->add(QStringLiteral("500-page PDF: every page brought in: %1").arg(fewest),
                 fewest == BenchPhotoLessons::kPdfPages);
    targets->add(QStringLiteral("500-page PDF: imported within one pdftoppm run of the whole "
                                "file on the same processors: %1x")
                         .arg(fixed(p.at("import") / convert, 2)),
                 p.at("import") <= convert);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietDebug);
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments.at(1) == QLatin1String("--measure"))
        return measure(arguments.at(2), arguments.at(3).toInt());
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--insert"))
        return measureInsert(arguments.at(2));
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--photos"))
        return measurePhotoLesson(arguments.at(2));
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--pdf"))
        return measurePdfImport(arguments.at(2));
    Targets targets;
    QTemporaryDir folder;
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--generate"))
        return measureLessons(arguments.at(2), true, &targets) ? 0 : 1;
    if (!qEnvironmentVariableIsEmpty("VELTORINA_BENCH_PDF_ONLY")) {
        if (!measurePdfImportRow(&targets))
            return 1;
        targets.print();
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("VELTORINA_BENCH_LARGE_ONLY")
        && (!measureLessons(folder.path(), false, &targets)
            || !measurePictureButton(folder, &targets)))
        return 1;
    if (qEnvironmentVariableIsEmpty("VELTORINA_BENCH_NO_LARGE_LESSONS")
        && (!measureLargeLessons(&targets) || !measurePdfImportRow(&targets)))
        return 1;
    targets.print();
    return 0;
}
