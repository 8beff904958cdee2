#include "benchphotolessons.h"

#include "benchdocument.h"

#include "board/boardtypes.h"
#include "board/coveredpictures.h"
#include "board/dgpixmapitem.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "document/toolrun.h"
#include "pictures/heldpictures.h"
#include "pictures/picturereductions.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QPointF>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

namespace BenchPhotoLessons {

namespace {

// The page the lessons are laid on, as the board of the main window shows it.
constexpr int kPageWidth = 1920;
constexpr int kPageHeight = 1080;
// A camera's JPEG: about 4.5 MB at 4000 x 3000 with a phone sensor's grain.
constexpr int kJpegQuality = 98;
constexpr int kGrain = 4; // levels either way, on each colour

// Photos made at once: each takes its pixels and more while it is made.
constexpr int kMakers = 4;

struct Placed
{
    QString file; // a photo's path
    QSize given; // the size the lesson gives it
    QPointF at; // where its top left corner lies on the page, scaled
    double scale = 1;
};

using Page = std::vector<Placed>;

void say(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

// Writes what write makes to path through a temporary name, so that a file that is there is
// whole.
bool keepWhole(const QString &path, const std::function<bool(const QString &)> &write)
{
    if (QFileInfo::exists(path))
        return true;
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    if (!write(partial) || !QFile::rename(partial, path)) {
        QFile::remove(partial);
        say(QStringLiteral("cannot make %1").arg(path));
        return false;
    }
    return true;
}

// A phone sensor's grain over photo, coarser than BenchDocument's: what makes a phone's JPEG
// take 4 to 5 MB.
void addGrain(QImage *photo, int variant)
{
    quint32 state = 2463534242u + quint32(variant) * 2654435761u;
    for (int y = 0; y < photo->height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(photo->scanLine(y));
        for (int x = 0; x < photo->width(); ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const auto grain = [state](int value, int shift) {
                return qBound(0, value + int((state >> shift) % (2 * kGrain + 1)) - kGrain, 255);
            };
            const QRgb pixel = line[x];
            line[x] =
                    qRgb(grain(qRed(pixel), 0), grain(qGreen(pixel), 10), grain(qBlue(pixel), 20));
        }
    }
}

// The photos of size named by files (variants first on), those missing made on kMakers threads.
bool makePhotos(const QStringList &files, QSize size, int first)
{
    std::atomic<int> next{ 0 };
    std::atomic<bool> failed{ false };
    const auto work = [&] {
        for (int n = next++; n < files.size(); n = next++) {
            if (QFileInfo::exists(files.at(n)))
                continue;
            const QString partial = files.at(n) + QStringLiteral(".part");
            QImage photo = BenchDocument::photoImage(size, first + n);
            addGrain(&photo, first + n);
            if (photo.isNull() || !photo.save(partial, "JPEG", kJpegQuality)
                || !QFile::rename(partial, files.at(n))) {
                QFile::remove(partial);
                failed = true;
            }
        }
    };
    std::vector<std::thread> makers;
    for (int m = 0; m < kMakers; ++m)
        makers.emplace_back(work);
    for (std::thread &maker : makers)
        maker.join();
    if (failed)
        say(QStringLiteral("cannot make the photos of %1x%2").arg(size.width()).arg(size.height()));
    return !failed;
}

QString number(double value)
{
    return QString::number(value, 'g', 8);
}

// Two strokes across the page, as a teacher's marks beside a photo.
QString strokes(int page)
{
    QString text;
    for (int s = 0; s < 2; ++s) {
        QStringList points;
        for (int p = 0; p < 60; ++p)
            points << QStringLiteral("%1,%2")
                              .arg(1200 + p * 9)
                              .arg(200 + s * 300 + (p * p + page) % 47);
        text += QStringLiteral("<svg:polyline id=\"p%1s%2\" points=\"%3\" stroke=\"#%4\" "
                               "stroke-width=\"4\" stroke-opacity=\"255\" "
                               "transform=\"translate(0,0) rotate(0,0,0) scale(1)\"/>")
                        .arg(page)
                        .arg(s)
                        .arg(points.join(QLatin1Char(' ')))
                        .arg(s ? QStringLiteral("c02020") : QStringLiteral("1040a0"));
    }
    return text;
}

// The lesson of pages as an IWB at archive: content.xml and images/ (links to the photos,
// which zip stores as the files they name) in a folder beside it, zipped.
bool writeLesson(const QString &archive, const std::vector<Page> &pages)
{
    return keepWhole(archive, [&pages](const QString &partial) {
        QTemporaryDir folder(QFileInfo(partial).absolutePath() + QStringLiteral("/lesson-XXXXXX"));
        if (!folder.isValid() || !QDir(folder.path()).mkdir(QStringLiteral("images")))
            return false;
        QString text =
                QStringLiteral(
                        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<iwb xmlns:iwb=\"http://www.imsglobal.org/xsd/iwb_v1p0\" "
                        "xmlns:svg=\"http://www.w3.org/2000/svg\" "
                        "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.0\">"
                        "<svg:svg width=\"%1\" height=\"%2\" viewbox=\"0,0,%1,%2\"><svg:pageset>\n")
                        .arg(kPageWidth)
                        .arg(kPageHeight);
        int named = 0;
        for (size_t n = 0; n < pages.size(); ++n) {
            text += QStringLiteral("<svg:page id=\"page%1\"><svg:rect id=\"bck0\" "
                                   "fill=\"#ffffff\" fill-opacity=\"255\" x=\"0\" y=\"0\" "
                                   "width=\"%2\" height=\"%3\"/>")
                            .arg(n)
                            .arg(kPageWidth)
                            .arg(kPageHeight);
            for (const Placed &placed : pages[n]) {
                const QString name = QStringLiteral("images/picture%1.jpg").arg(named);
                // A picture is scaled about its middle: x and y are where it would lie unscaled.
                const QPointF unscaled = placed.at
                        - QPointF(placed.given.width(), placed.given.height())
                                * ((1 - placed.scale) / 2);
                if (!QFile::link(placed.file, folder.filePath(name)))
                    return false;
                text += QStringLiteral("<svg:image id=\"p%1i%2\" xlink:href=\"%3\" x=\"%4\" "
                                       "y=\"%5\" width=\"%6\" height=\"%7\" "
                                       "transform=\"translate(0,0) rotate(0,0,0) scale(%8)\"/>")
                                .arg(n)
                                .arg(named)
                                .arg(name, number(unscaled.x()), number(unscaled.y()))
                                .arg(placed.given.width())
                                .arg(placed.given.height())
                                .arg(number(placed.scale));
                ++named;
            }
            text += strokes(int(n)) + QStringLiteral("</svg:page>\n");
        }
        text += QStringLiteral("</svg:pageset></svg:svg></iwb>\n");
        QFile content(folder.filePath(QStringLiteral("content.xml")));
        if (!content.open(QIODevice::WriteOnly) || content.write(text.toUtf8()) < 0
            || !content.flush())
            return false;
        content.close();
        const ToolRun zipped = runTool(QStringLiteral("zip"),
                                       { QStringLiteral("-q"), QStringLiteral("-r"),
                                         QStringLiteral("-n"), QStringLiteral(".jpg"), partial,
                                         QStringLiteral("content.xml"), QStringLiteral("images") },
                                       folder.path(), 600000);
        if (!zipped.ok)
            say(QStringLiteral("zip failed: %1").arg(zipped.error));
        return zipped.ok;
    });
}

} // namespace

QString dataFolder()
{
    const QString folder =
            QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data");
    QDir().mkpath(folder);
    return QDir(folder).absolutePath();
}

QStringList cameraPhotos(int count)
{
    QStringList files;
    for (int n = 0; n < count; ++n)
        files << dataFolder() + QStringLiteral("/photo%1.jpg").arg(n);
    return makePhotos(files, kCameraSize, 0) ? files : QStringList();
}

QStringList largePhotos(int count, QSize size)
{
    QStringList files;
    for (int n = 0; n < count; ++n) {
        files << dataFolder()
                        + QStringLiteral("/photo%1x%2-%3.jpg")
                                  .arg(size.width())
                                  .arg(size.height())
                                  .arg(n);
    }
    // Variants of their own, not the camera photos' again.
    return makePhotos(files, size, 1000) ? files : QStringList();
}

QString hundredPhotoLesson()
{
    const QString archive = dataFolder() + QStringLiteral("/hundredphotos.iwb");
    const QStringList photos = cameraPhotos(kLessonPages);
    if (photos.isEmpty())
        return QString();
    std::vector<Page> pages;
    for (const QString &photo : photos)
        pages.push_back({ Placed{ photo, QSize(1000, 750), QPointF(120, 80), 1 } });
    return writeLesson(archive, pages) ? archive : QString();
}

QString fortyPhotoPage()
{
    const QString archive = dataFolder() + QStringLiteral("/fortyphotos.iwb");
    const QStringList photos = cameraPhotos(40);
    if (photos.isEmpty())
        return QString();
    Page page;
    for (int n = 0; n < photos.size(); ++n) {
        // 0.1 to 0.5 in turn, spread over the page and over each other.
        const double scale = 0.1 + 0.1 * (n % 5);
        page.push_back({ photos.at(n), kCameraSize,
                         QPointF((n * 173) % (kPageWidth - 400), (n * 97) % (kPageHeight - 300)),
                         scale });
    }
    return writeLesson(archive, { page }) ? archive : QString();
}

QString fortyPhotoGrid()
{
    const QString archive = dataFolder() + QStringLiteral("/fortyphotosshown.iwb");
    const QStringList photos = cameraPhotos(40);
    if (photos.isEmpty())
        return QString();
    // Cells of 98 x 100 from the top left corner, each photo 90 x 67 in it.
    constexpr double kScale = 0.0225;
    Page page;
    for (int n = 0; n < photos.size(); ++n)
        page.push_back({ photos.at(n), kCameraSize,
                         QPointF(10 + 98 * (n % 8), 10 + 100 * (n / 8)), kScale });
    return writeLesson(archive, { page }) ? archive : QString();
}

QString sixLargePhotoPage()
{
    const QString archive = dataFolder() + QStringLiteral("/sixlargephotos.iwb");
    const QStringList photos = largePhotos(6, QSize(9000, 7000));
    if (photos.isEmpty())
        return QString();
    Page page;
    for (int n = 0; n < photos.size(); ++n)
        page.push_back({ photos.at(n), QSize(600, 467),
                         QPointF(40 + (n % 3) * 620, 40 + (n / 3) * 500), 1 });
    return writeLesson(archive, { page }) ? archive : QString();
}

QString textPdf(int pages)
{
    const QString file = dataFolder() + QStringLiteral("/text%1.pdf").arg(pages);
    const bool made = keepWhole(file, [pages](const QString &partial) {
        QPdfWriter writer(partial);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        const QFont body(QStringLiteral("DejaVu Serif"), 11);
        const QFont heading(QStringLiteral("DejaVu Sans"), 18, QFont::Bold);
        const int width = writer.width();
        for (int page = 0; page < pages; ++page) {
            if (page > 0 && !writer.newPage())
                return false;
            painter.setFont(heading);
            painter.setPen(Qt::black);
            painter.drawText(QRect(150, 150, width - 300, 150), Qt::AlignLeft,
                             QStringLiteral("Tema %1: la célula y sus partes").arg(page + 1));
            painter.setFont(body);
            for (int line = 0; line < 40; ++line) {
                painter.drawText(150, 400 + line * 60,
                                 QStringLiteral("Línea %1 de la página %2: el núcleo guarda la "
                                                "información que la célula necesita para vivir.")
                                         .arg(line + 1)
                                         .arg(page + 1));
            }
            // A figure of shapes, as a worksheet has.
            painter.setPen(QPen(QColor(20, 60, 160), 6));
            painter.setBrush(QColor(200, 220, 255));
            painter.drawEllipse(QRect(200 + (page % 5) * 80, 2900, 900, 500));
            painter.setBrush(QColor(255, 230, 180));
            painter.drawRect(QRect(1300, 2900, 700, 500));
            painter.drawLine(QPoint(200, 3500), QPoint(width - 200, 3450 - (page % 7) * 20));
        }
        return painter.end();
    });
    return made ? file : QString();
}

std::vector<DGPixmapItem *> heldPictures(DPage *page)
{
    std::vector<DGPixmapItem *> pictures;
    const QList<QGraphicsItem *> items = page->items(Qt::AscendingOrder);
    for (QGraphicsItem *item : items) {
        auto *picture =
                item->type() == ItemTypePixmap ? dynamic_cast<DGPixmapItem *>(item) : nullptr;
        if (picture && !picture->picture()->isMade())
            pictures.push_back(picture);
    }
    return pictures;
}

bool isSharp(DGPixmapItem *picture, DView *view)
{
    const QRectF inView = view->mapToScene(view->viewport()->rect()).boundingRect();
    if (!picture->isVisible() || CoveredPictures::isCovered(picture)
        || !picture->sceneBoundingRect().intersects(inView) || picture->picture()->isRefused())
        return true;
    // As the object paints itself: its own size through the board's transform.
    const QTransform shown = picture->deviceTransform(view->viewportTransform());
    const QSizeF size(picture->pictureSize().width() * std::hypot(shown.m11(), shown.m12()),
                      picture->pictureSize().height() * std::hypot(shown.m21(), shown.m22()));
    const int needed = PictureReductions::halvingsFor(
            picture->picture()->pixels(),
            QSize(int(std::ceil(size.width() - 1e-6)), int(std::ceil(size.height() - 1e-6))));
    const QList<int> held = HeldPictures::heldHalvings(*picture->picture());
    return std::any_of(held.begin(), held.end(),
                       [needed](int halvings) { return halvings <= needed; });
}

namespace {

bool allSharp(DView *view)
{
    auto *page = dynamic_cast<DPage *>(view->scene());
    if (!page)
        return false;
    const std::vector<DGPixmapItem *> pictures = heldPictures(page);
    return std::all_of(pictures.begin(), pictures.end(),
                       [view](DGPixmapItem *picture) { return isSharp(picture, view); });
}

} // namespace

double waitUntilServed(DView *view, double limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!allSharp(view)) {
        if (clock.elapsed() >= limitMs)
            return -1;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 2);
    }
    view->viewport()->repaint();
    return clock.nsecsElapsed() / 1e6;
}

double waitUntilSharp(DView *view, double limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 2);
        if (HeldPictures::pending() > 0)
            continue;
        view->viewport()->repaint();
        if (HeldPictures::pending() == 0 && allSharp(view))
            return clock.nsecsElapsed() / 1e6;
    }
    return -1;
}

} // namespace BenchPhotoLessons
