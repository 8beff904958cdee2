// Saving a large document as IWB against zipping the same written folder, in the same run:
// 50 pages, each with 200 strokes (pencil and highlighter), 5 shapes, 2 texts and 1 picture.
// Prints the ratio of the medians and the peak resident memory.

#include "board/dgpathcurveitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgtextitem.h"
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

constexpr int kShapesPerPage = 5;

void addShapesTextsAndPicture(DPage *page, int pageNumber, const QPixmap &picture)
{
    const BtMenus::btType shapes[kShapesPerPage] = { BtMenus::btRectangle, BtMenus::btCircle,
                                                     BtMenus::btTriangle, BtMenus::btStar,
                                                     BtMenus::btEllipse };
    for (int s = 0; s < kShapesPerPage; ++s) {
        QPainterPath outline;
        outline.addRect(0, 0, 60 + s * 10, 40 + pageNumber % 20);
        page->addCurveItem(outline, QPen(QColor(20 * s, 90, 160), 4), 0, shapes[s],
                           BtMenus::fnPathAtPos, QPointF(100 + s * 120, 500), 1.0f, QTransform(),
                           false);
    }
    for (int t = 0; t < 2; ++t) {
        page->addTextItem(QStringLiteral("<p>Página %1, texto <b>%2</b></p>").arg(pageNumber).arg(t),
                          QFont(QStringLiteral("DejaVu Sans"), 20), QPointF(50, 600 + t * 60), 0,
                          1.0f, QTransform(), false);
    }
    page->addPixmapItem(picture, QPointF(900, 300), 0, 1.0f, QTransform(), false);
}

void fillPage(DPage *page, int pageNumber, const QPixmap &picture)
{
    addShapesTextsAndPicture(page, pageNumber, picture);
    const BtMenus::btType kinds[] = { BtMenus::btPencil, BtMenus::btHighlighter };
    for (int s = 0; s < kStrokesPerPage; ++s) {
        const BtMenus::btType kind = kinds[s % 2];
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
    QImage photo(320, 240, QImage::Format_RGB32); // a picture that compresses like a photo
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * y) % 256, (x ^ y) % 256));
    const QPixmap picture = QPixmap::fromImage(photo);
    for (int n = 0; n < kPages; ++n)
        fillPage(list.at(n), n, picture);

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
