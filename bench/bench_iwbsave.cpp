// Saving a large document as IWB against zipping the same written folder, in the same run:
// 50 pages, each with 200 strokes (pencil and highlighter), 5 shapes, 2 texts and a photo-like
// picture of its own. The first save of a lesson is what a teacher waits for: five lessons are
// made afresh and each saved once (median). The re-save of an unchanged lesson, which uses
// again what the first save wrote, is printed apart. Each save is set against `zip -r` of the
// folder it wrote, timed right after it, storing pictures, sound and video as they are (zip's
// -n with the program's own list), as the save does. The first save of a lesson just opened from
// its archive (its pictures are copied from the files they were read from) is printed apart too.
// Prints the ratios, targets and the peak resident memory.
//
// Then lessons as large as a class's, each in a fresh main window (left out with
// VELTORINA_BENCH_NO_LARGE_LESSONS; the rest left out with VELTORINA_BENCH_LARGE_ONLY): the
// 100-photo lesson of bench_iwbopen opened from its archive, and a page of eight camera photos
// (4000 x 3000 JPEG) put in with the picture button. For each: the autosave after a stroke is
// drawn (and, for the lesson, after every page is to be written afresh), then "Guardar Archivo
// Como" from the file menu, its question and file dialog answered (timed from the dialog's
// close); each against `zip -r -n` of what it wrote (content.xml and images/, timed right
// after), with the board's longest stall meanwhile and, for the autosave, the program's resident
// memory after it against before.

#include "benchdialogs.h"
#include "benchfigures.h"
#include "benchlesson.h"
#include "benchphotolessons.h"

#include "board/dpage.h"
#include "board/dview.h"
#include "document/dpageslist.h"
#include "document/iwbarchive.h"
#include "document/toolrun.h"
#include "shell/mainform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainterPath>
#include <QPen>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

using BenchFigures::median;
using BenchFigures::StallWatch;

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

// ---- Lessons as large as a class's

using Figures = std::map<QByteArray, double>;

constexpr int kLargeRuns = 3;
constexpr double kStallTargetMs = 50; // three frames
constexpr double kGivenBackMb = 8; // "within a few MB"
constexpr int kEightPhotos = 8;

void settle(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

// zip -r -n of what a save wrote in folder (its content.xml and images), in ms.
double zipWritten(const QString &folder)
{
    QTemporaryDir scratch;
    QElapsedTimer timer;
    timer.start();
    const ToolRun zipped = runTool(
            QStringLiteral("zip"),
            { QStringLiteral("-q"), QStringLiteral("-r"), QStringLiteral("-n"),
              QLatin1String(IwbArchive::kStoredSuffixes), scratch.filePath(QStringLiteral("b.zip")),
              QStringLiteral("content.xml"), QStringLiteral("images") },
            folder, 600000);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (!zipped.ok) {
        std::fprintf(stderr, "zip failed: %s\n", qPrintable(zipped.error));
        return -1;
    }
    return ms;
}

// A stroke drawn on the page shown, recorded as the pen records it: the lesson has changed.
void drawStroke(DPagesList *list)
{
    QPainterPath stroke(QPointF(0, 0));
    for (int p = 1; p < 200; ++p)
        stroke.lineTo(p * 2.0, (p * 7) % 50);
    list->getCurPage()->addCurveItem(stroke, QPen(Qt::red, 3), 0, BtMenus::btPencil,
                                     BtMenus::fnPathAtPos, QPointF(40, 40), 1.0f, QTransform(),
                                     true);
    QCoreApplication::processEvents();
}

// The autosave as its clock asks for it, until it is done: its time, its longest stall, and the
// program's resident memory after it against before (at once and a second later), into figures
// under name.
bool autosave(DPagesList *list, Figures &figures, const QByteArray &name)
{
    settle(300);
    const long before = BenchFigures::residentKiB();
    StallWatch stalls;
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(0, list, &DPagesList::autoSaveInSteps);
    QCoreApplication::processEvents();
    while (clock.elapsed() < 600000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (!list->isAutoSaving() && clock.elapsed() > 20)
            break;
    }
    figures[name] = clock.nsecsElapsed() / 1e6;
    figures[name + "Stall"] = stalls.takeLongestMs();
    figures[name + "Back"] = (BenchFigures::residentKiB() - before) / 1024.0;
    settle(1000);
    figures[name + "BackLater"] = (BenchFigures::residentKiB() - before) / 1024.0;
    figures[name + "Pages"] = list->pagesWritten();
    figures[name + "Zip"] = zipWritten(list->workDir());
    if (!list->lastSaveError().isEmpty() || figures[name + "Zip"] < 0) {
        std::fprintf(stderr, "autosave failed: %s\n", qPrintable(list->lastSaveError()));
        return false;
    }
    return true;
}

// "Guardar Archivo Como" to base, its dialogs answered: its time from the file dialog's close,
// its stall, and zip of what it wrote.
bool saveToFile(DPagesList *list, const QString &base, Figures &figures)
{
    StallWatch stalls;
    BenchDialogs answers(base);
    if (!list->saveAsFile(QStringLiteral("iwb")) || !answers.accepted.isValid()) {
        std::fprintf(stderr, "save failed: %s\n", qPrintable(list->lastSaveError()));
        return false;
    }
    figures["save"] = answers.accepted.nsecsElapsed() / 1e6;
    figures["saveStall"] = stalls.takeLongestMs();
    for (const QString &told : answers.told)
        std::fprintf(stderr, "told: %s\n", qPrintable(told.simplified()));
    figures["saveZip"] = zipWritten(list->workDir());
    figures["archiveMb"] = QFileInfo(base + QStringLiteral(".iwb")).size() / 1e6;
    return figures["saveZip"] >= 0 && answers.told.isEmpty();
}

void printFigures(const Figures &figures)
{
    std::printf("RESULT");
    for (const auto &figure : figures)
        std::printf(" %s=%.2f", figure.first.constData(), figure.second);
    std::printf("\n");
    std::fflush(stdout);
}

// --lesson archive: the 100-photo lesson opened, its pictures measured; a stroke and the
// autosave, every page to be written afresh and the autosave again, the save to a file.
int measureLesson(const QString &archive)
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
    Figures figures;
    drawStroke(list);
    if (!autosave(list, figures, "autosave"))
        return 1;
    list->dropWrittenContent();
    drawStroke(list);
    if (!autosave(list, figures, "afresh"))
        return 1;
    QTemporaryDir target;
    if (!saveToFile(list, target.filePath(QStringLiteral("lesson")), figures))
        return 1;
    printFigures(figures);
    list->exit();
    return 0;
}

// --eight photo...: the photos put in with the picture button on the first page of a fresh
// main window; a stroke and the autosave, then the save to a file.
int measureEightPhotos(const QStringList &photos)
{
    MainForm window;
    window.show();
    DPagesList *list = window.pagesList();
    QCoreApplication::processEvents();
    for (const QString &photo : photos)
        list->insertPixmap(photo);
    QElapsedTimer clock;
    clock.start();
    const auto held = [list] {
        return int(BenchPhotoLessons::heldPictures(list->getCurPage()).size());
    };
    while (held() < photos.size() && clock.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    if (held() != photos.size()) {
        std::fprintf(stderr, "the photos did not come\n");
        return 1;
    }
    BenchPhotoLessons::waitUntilSharp(list->getView(), 10000);
    Figures figures;
    drawStroke(list);
    if (!autosave(list, figures, "autosave"))
        return 1;
    QTemporaryDir target;
    if (!saveToFile(list, target.filePath(QStringLiteral("photos")), figures))
        return 1;
    printFigures(figures);
    list->exit();
    return 0;
}

Figures runFigures(const QStringList &arguments)
{
    QProcess child;
    const QTemporaryDir home;
    child.setWorkingDirectory(home.path()); // the settings store "init" lands there
    child.start(QCoreApplication::applicationFilePath(), arguments);
    const bool ended = child.waitForFinished(30 * 60 * 1000);
    Figures figures;
    const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
    for (const QByteArray &line : lines) {
        if (!line.startsWith("RESULT "))
            continue;
        for (const QByteArray &field : line.mid(7).split(' ')) {
            const int equals = field.indexOf('=');
            if (equals > 0)
                figures[field.left(equals)] = field.mid(equals + 1).toDouble();
        }
    }
    if (!ended || child.exitCode() != 0 || figures.empty()) {
        std::fprintf(stderr, "%s", child.readAllStandardError().constData());
        return Figures();
    }
    return figures;
}

// kLargeRuns fresh programs with arguments: the median of each figure, the largest of each,
// and the load averages they started at.
bool runLarge(const QStringList &arguments, Figures *medians, Figures *most,
              std::vector<double> *loads)
{
    std::map<QByteArray, std::vector<double>> values;
    for (int run = 0; run < kLargeRuns; ++run) {
        loads->push_back(BenchFigures::loadAverage());
        const Figures figures = runFigures(arguments);
        if (figures.empty())
            return false;
        for (const auto &figure : figures)
            values[figure.first].push_back(figure.second);
    }
    for (const auto &value : values) {
        (*medians)[value.first] = median(value.second);
        (*most)[value.first] = *std::max_element(value.second.begin(), value.second.end());
    }
    return true;
}

const char *verdict(bool met)
{
    return met ? "met" : "MISSED";
}

// One line of the figures of a lesson; its targets appended to targets. The stalls are the
// worst of the runs, the rest medians.
void printLarge(const char *name, Figures &r, Figures &most, const std::vector<double> &loads,
                const std::vector<QByteArray> &autosaves, QStringList *targets)
{
    std::printf("%s (%.0f MB as IWB; medians of %d fresh programs, load average %.1f to %.1f):",
                name, r["archiveMb"], kLargeRuns, *std::min_element(loads.begin(), loads.end()),
                *std::max_element(loads.begin(), loads.end()));
    const auto row = [&](const char *label, const QByteArray &key, bool memory) {
        std::printf(" %s %.0f ms, zip -r -n %.0f ms: %.2fx, longest stall %.1f ms", label, r[key],
                    r[key + "Zip"], r[key] / r[key + "Zip"], most[key + "Stall"]);
        if (memory)
            std::printf(" (%.0f pages written), resident after %+.1f MB", r[key + "Pages"],
                        std::max(most[key + "Back"], most[key + "BackLater"]));
        std::printf(";");
        const bool calm = most[key + "Stall"] <= kStallTargetMs;
        targets->append(QStringLiteral("%1, %2: longest stall <= %3 ms: %4 ms  %5")
                                .arg(QLatin1String(name), QLatin1String(label))
                                .arg(kStallTargetMs, 0, 'f', 0)
                                .arg(most[key + "Stall"], 0, 'f', 1)
                                .arg(QLatin1String(verdict(calm))));
        if (memory) {
            const double back = std::max(most[key + "Back"], most[key + "BackLater"]);
            targets->append(QStringLiteral("%1, %2: resident after within %3 MB of before: "
                                           "%4 MB  %5")
                                    .arg(QLatin1String(name), QLatin1String(label))
                                    .arg(kGivenBackMb)
                                    .arg(back, 0, 'f', 1)
                                    .arg(QLatin1String(verdict(back <= kGivenBackMb))));
        }
    };
    for (const QByteArray &key : autosaves)
        row(key == "afresh" ? "autosave of every page afresh" : "autosave after a stroke", key,
            true);
    row("Guardar Archivo Como", "save", false);
    std::printf("\n");
}

// The 100-photo lesson and the page of eight photos; false when a run failed.
bool measureLargeLessons()
{
    const QString archive = BenchPhotoLessons::hundredPhotoLesson();
    const QStringList photos = BenchPhotoLessons::cameraPhotos(kEightPhotos);
    if (archive.isEmpty() || photos.isEmpty())
        return false;
    QStringList targets;
    Figures lesson;
    Figures lessonMost;
    Figures eight;
    Figures eightMost;
    std::vector<double> lessonLoads;
    std::vector<double> eightLoads;
    if (!runLarge({ QStringLiteral("--lesson"), archive }, &lesson, &lessonMost, &lessonLoads)
        || !runLarge(QStringList{ QStringLiteral("--eight") } + photos, &eight, &eightMost,
                     &eightLoads))
        return false;
    std::printf("\n");
    printLarge("100 pages of a camera photo each, opened", lesson, lessonMost, lessonLoads,
               { "autosave", "afresh" }, &targets);
    printLarge("a page of eight camera photos put in with the picture button", eight, eightMost,
               eightLoads, { "autosave" }, &targets);
    std::printf("\ntargets of the lessons as large as a class's (the worst of the runs):\n");
    for (const QString &target : targets)
        std::printf("  %s\n", qPrintable(target));
    return true;
}

// The board's chatter on every page it makes is left out of the figures.
void quietDebug(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietDebug);
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--lesson"))
        return measureLesson(arguments.at(2));
    if (arguments.size() > 2 && arguments.at(1) == QLatin1String("--eight"))
        return measureEightPhotos(arguments.mid(2));
    if (!qEnvironmentVariableIsEmpty("VELTORINA_BENCH_LARGE_ONLY"))
        return measureLargeLessons() ? 0 : 1;
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
    std::printf("%d pages x %d strokes and a photo-like picture each (content.xml %.1f MB, "
                "archive %.1f MB): first save of a new lesson %.0f ms, zip -r -n of the written "
                "folder %.0f ms: %.2fx (median of %d; range %.2f to %.2f); re-save of it "
                "unchanged %.2fx zip (median of %d); first save of it opened from its archive "
                "%.2fx zip (median of %d); peak resident memory %.0f MB\n",
                BenchLesson::kPages, BenchLesson::kStrokesPerPage, contentBytes / 1e6,
                archiveBytes / 1e6, median(firstMs), median(firstZipMs), firstRatio, kLessons,
                *std::min_element(firstRatios.begin(), firstRatios.end()),
                *std::max_element(firstRatios.begin(), firstRatios.end()), resaveRatio, kResaves,
                median(reopenedRatios), kReopens, usage.ru_maxrss / 1024.0);
    std::printf("\ntargets:\n");
    std::printf("  first save <= 1.5x zip -r -n: %.2f  %s\n", firstRatio,
                firstRatio <= 1.5 ? "met" : "MISSED");
    std::printf("  re-save <= 1.2x zip -r -n: %.2f  %s\n", resaveRatio,
                resaveRatio <= 1.2 ? "met" : "MISSED");
    if (qEnvironmentVariableIsEmpty("VELTORINA_BENCH_NO_LARGE_LESSONS"))
        return measureLargeLessons() ? 0 : 1;
    return 0;
}
