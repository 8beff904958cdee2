// Opening an IWB lesson against unzipping the same archive, in the same run, for two lessons of
// 50 pages: the photo lesson of bench_iwbsave (strokes, shapes, texts and a photo-like picture
// of its own on each page, about 30 MB, where unzip's own work is most of the time) and a lesson
// of small objects (strokes, two texts and two small pictures a page, about 5 MB, where the
// objects are). Each open is what a teacher waits for: the first open of a fresh program (this
// one started again with "--measure"), in the main window on its new document, until the board
// answers an event again. Each is followed by `unzip` of the same archive into a fresh folder.
// Prints the medians, their ratio against its target, and the peak resident memory of the
// opening program. Then a phone's photo (4000 x 3000 JPEG) put in with the picture button in a
// fresh program, until it is on the board and the board answers, against decoding it alone.

#include "benchdocument.h"
#include "benchfigures.h"
#include "benchlesson.h"

#include "board/dpage.h"
#include "board/dview.h"
#include "document/dpageslist.h"
#include "document/toolrun.h"
#include "shell/mainform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

using BenchFigures::median;

namespace {

constexpr int kRuns = 7;
constexpr double kTarget = 2.5; // open at most this many times unzip
constexpr double kSaidWithinS = 10; // a picture not taken is said to the teacher
constexpr double kStallMs = 200; // the board answers a click while pictures are read

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

struct Measured
{
    double open = -1; // ms; negative when it failed
    double peak = 0; // MB
    double stall = 0; // ms
    bool said = false;
};

// One open (or, with "--insert", one picture put in) in a fresh program.
Measured openInFreshProgram(const QStringList &arguments)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), arguments);
    const bool ended = child.waitForFinished(600000);
    Measured measured;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        if (!line.startsWith("RESULT "))
            continue;
        for (const QByteArray &field : line.mid(7).split(' ')) {
            const QList<QByteArray> pair = field.split('=');
            if (pair.size() != 2)
                continue;
            if (pair[0] == "open")
                measured.open = pair[1].toDouble();
            else if (pair[0] == "peak")
                measured.peak = pair[1].toDouble();
            else if (pair[0] == "stall")
                measured.stall = pair[1].toDouble();
            else if (pair[0] == "said")
                measured.said = pair[1].toInt() != 0;
        }
    }
    if (!ended || child.exitCode() != 0 || measured.open < 0) {
        std::fprintf(stderr, "%s", child.readAllStandardError().constData());
        return Measured();
    }
    return measured;
}

// The board's chatter on every page and text it makes is left out of the figures.
void quietDebug(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

struct Lesson
{
    const char *name;
    const char *content; // printf format of the pages and the strokes on each
    int strokes;
    void (*build)(DPagesList &);
    QString archive;
    double ratio = 0; // median of each open against the unzip after it
};

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

    Lesson lessons[] = {
        { "photo lesson", "%d pages x %d strokes, 5 shapes, 2 texts and an 800x600 photo",
          BenchLesson::kStrokesPerPage, BenchLesson::build, {} },
        { "lesson of small objects", "%d pages x %d strokes, 2 texts and 2 pictures of 200x150",
          BenchLesson::kSmallStrokesPerPage, BenchLesson::buildSmallObjects, {} },
    };
    // "--generate folder" only writes the lessons there (lesson0.iwb, lesson1.iwb), for a
    // profiler to open them one at a time with "--measure".
    QTemporaryDir temporary;
    const bool generateOnly =
            arguments.size() == 3 && arguments.at(1) == QLatin1String("--generate");
    const QDir target(generateOnly ? arguments.at(2) : temporary.path());
    for (Lesson &lesson : lessons) {
        QWidget window;
        window.setFixedSize(1280, 800);
        DPagesList list(&window);
        lesson.build(list);
        const QString base = target.filePath(QStringLiteral("lesson%1").arg(&lesson - lessons));
        lesson.archive = base + QStringLiteral(".iwb");
        const bool saved = list.saveAllPagesToFileIWB(base, true);
        list.exit();
        if (!saved) {
            std::fprintf(stderr, "save failed: %s\n", qPrintable(list.lastSaveError()));
            return 1;
        }
    }
    if (generateOnly)
        return 0;

    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly))
        std::printf("load average at the start: %s\n", load.readLine(64).trimmed().constData());
    for (Lesson &lesson : lessons) {
        std::vector<double> openMs, unzipMs, ratios, peaks;
        for (int run = 0; run < kRuns; ++run) {
            const Measured measured = openInFreshProgram(
                    { QStringLiteral("--measure"), lesson.archive,
                      QString::number(BenchLesson::kPages) });
            const double open = measured.open;
            const double peak = measured.peak;
            if (open < 0) {
                std::fprintf(stderr, "the open of %s failed\n", qPrintable(lesson.archive));
                return 1;
            }
            const QString unpacked = target.filePath(QStringLiteral("baseline%1").arg(run));
            QDir().mkpath(unpacked);
            QElapsedTimer timer;
            timer.start();
            const ToolRun unzipped = runTool(
                    QStringLiteral("unzip"), { QStringLiteral("-q"), lesson.archive }, unpacked,
                    600000);
            const double unzip = timer.nsecsElapsed() / 1e6;
            QDir(unpacked).removeRecursively();
            if (!unzipped.ok) {
                std::fprintf(stderr, "unzip failed: %s\n", qPrintable(unzipped.error));
                return 1;
            }
            openMs.push_back(open);
            unzipMs.push_back(unzip);
            ratios.push_back(open / unzip);
            peaks.push_back(peak);
        }
        lesson.ratio = median(ratios);
        std::printf("\n%s: ", lesson.name);
        std::printf(lesson.content, BenchLesson::kPages, lesson.strokes);
        std::printf("; archive %.1f MB\n", QFileInfo(lesson.archive).size() / 1e6);
        std::printf("  open until the board answers: %.0f ms, unzip of the same archive: %.0f ms "
                    "(medians of %d)\n",
                    median(openMs), median(unzipMs), kRuns);
        std::printf("  open / unzip: %.2f (median of %d; range %.2f to %.2f)\n", lesson.ratio,
                    kRuns, *std::min_element(ratios.begin(), ratios.end()),
                    *std::max_element(ratios.begin(), ratios.end()));
        std::printf("  peak resident memory of the opening program: %.1f MB\n", median(peaks));
    }
    // A phone's photo through the picture button, against decoding it alone in this program.
    const QString photo = target.filePath(QStringLiteral("phone.jpg"));
    if (!BenchDocument::photo(QSize(4000, 3000), 7).save(photo, "JPEG", 90)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(photo));
        return 1;
    }
    std::vector<double> insertMs, decodeMs, insertRatios, stalls;
    for (int run = 0; run < kRuns; ++run) {
        const Measured inserted = openInFreshProgram({ QStringLiteral("--insert"), photo });
        if (inserted.open < 0 || inserted.said) {
            std::fprintf(stderr, "the photo was not put in\n");
            return 1;
        }
        QElapsedTimer timer;
        timer.start();
        const QImage decoded(photo);
        const double decode = timer.nsecsElapsed() / 1e6;
        if (decoded.isNull())
            return 1;
        insertMs.push_back(inserted.open);
        decodeMs.push_back(decode);
        insertRatios.push_back(inserted.open / decode);
        stalls.push_back(inserted.stall);
    }
    std::printf("\na phone's photo (4000x3000 JPEG, %.1f MB) put in with the picture button\n",
                QFileInfo(photo).size() / 1e6);
    std::printf("  until it is on the board and the board answers: %.0f ms, decoding it alone: "
                "%.0f ms (medians of %d)\n",
                median(insertMs), median(decodeMs), kRuns);
    std::printf("  put in / decoded: %.2f (median of %d; range %.2f to %.2f)\n",
                median(insertRatios), kRuns,
                *std::min_element(insertRatios.begin(), insertRatios.end()),
                *std::max_element(insertRatios.begin(), insertRatios.end()));
    std::printf("  the board's longest stall meanwhile: %.0f ms (median of %d)\n",
                median(stalls), kRuns);

    // A picture that takes minutes to draw (20000 translucent squares a million units wide),
    // through the picture button: said, and the board answering, all along. (Left out with
    // VELTORINA_BENCH_NO_SLOW_PICTURE, for a program that would draw it for minutes.)
    double slowSaid = 0;
    double slowStall = 0;
    const bool slowMeasured = qEnvironmentVariableIsEmpty("VELTORINA_BENCH_NO_SLOW_PICTURE");
    if (slowMeasured) {
        const QString slow = target.filePath(QStringLiteral("slow.svg"));
        QFile svg(slow);
        if (!svg.open(QIODevice::WriteOnly))
            return 1;
        svg.write("<svg xmlns='http://www.w3.org/2000/svg' width='1000000' height='1000000'>");
        for (int i = 0; i < 20000; ++i)
            svg.write(QStringLiteral("<rect width='1000000' height='1000000' fill-opacity='0.5' "
                                     "fill='#%1'/>")
                              .arg(0x100 + i % 0xf00, 0, 16)
                              .toLatin1());
        svg.write("</svg>\n");
        svg.close();
        const Measured slowRun = openInFreshProgram({ QStringLiteral("--insert"), slow });
        if (slowRun.open < 0 || !slowRun.said) {
            std::fprintf(stderr, "the slow picture was neither taken nor said\n");
            return 1;
        }
        slowSaid = slowRun.open / 1000;
        slowStall = slowRun.stall;
        std::printf("\na picture that takes minutes to draw (an SVG of 20000 translucent squares, "
                    "%.1f MB), put in with the picture button\n",
                    QFileInfo(slow).size() / 1e6);
        std::printf("  said to the teacher after %.1f s; the board's longest stall meanwhile: %.0f "
                    "ms\n",
                    slowSaid, slowStall);
    }

    std::printf("\ntargets:\n");
    for (const Lesson &lesson : lessons) {
        std::printf("  open <= %.1fx unzip, %s: %.2f  %s\n", kTarget, lesson.name, lesson.ratio,
                    lesson.ratio <= kTarget ? "met" : "MISSED");
    }
    if (slowMeasured) {
        std::printf("  a picture not taken said within %.0f s: %.1f  %s\n", kSaidWithinS, slowSaid,
                    slowSaid <= kSaidWithinS ? "met" : "MISSED");
        std::printf("  the board's longest stall while pictures are read <= %.0f ms: %.0f and %.0f  "
                    "%s\n",
                    kStallMs, median(stalls), slowStall,
                    std::max(median(stalls), slowStall) <= kStallMs ? "met" : "MISSED");
    }
    return 0;
}
