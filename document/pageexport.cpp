// Export of the pages: one picture per page, or one PDF with a page per board page. The
// document, its name and the working directory stay as they are.

#include "dpageslist.h"
#include "paintrecording.h"
#include "workprogress.h"

#include "board/boardtypes.h"
#include "board/dcustomitem.h"
#include "board/dpage.h"
#include "board/drotateitem.h"
#include "board/dview.h"
#include "pictures/heldpictures.h"
#include "pictures/picturedecoders.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QScreen>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

bool isImageFormat(const QString &format)
{
    static const QStringList kImageFormats{ QStringLiteral("bmp"), QStringLiteral("jpg"),
                                            QStringLiteral("jpeg"), QStringLiteral("png"),
                                            QStringLiteral("tiff") };
    return kImageFormats.contains(format);
}

// Writes image to path, replacing an older file only once the new one is complete.
QString writeImage(const QImage &image, const QString &path, const QString &format)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return path + QStringLiteral(": ") + file.errorString();
    QImageWriter writer(&file, format.toLower().toLatin1());
    if (!writer.write(image)) {
        file.cancelWriting();
        return path + QStringLiteral(": ") + writer.errorString();
    }
    if (!WriteFailure::commitWhole(file))
        return path + QStringLiteral(": ") + file.errorString();
    return QString();
}

// A name the user typed with the suffix ("lesson.pdf", "Lesson.PDF") keeps it once.
QString withSuffix(const QString &name, const QString &format)
{
    const QString suffix = QLatin1Char('.') + format;
    return name.endsWith(suffix, Qt::CaseInsensitive) ? name : name + suffix;
}

// While it lives, the page draws the lesson only: no selection outlines or vertex circles, and
// no object frames with their handle and lock, link and media buttons. The page's own state is
// restored afterwards without anyone being told it changed.
class LessonOnly
{
public:
    explicit LessonOnly(DPage *page) : m_blocker(page)
    {
        m_selected = page->selectedItems();
        for (QGraphicsItem *item : qAsConst(m_selected))
            item->setSelected(false);
        const QList<QGraphicsItem *> items = page->items();
        for (QGraphicsItem *item : items) {
            const DCustomItem *object = DCustomItem::fromItem(item);
            DRotateItem *frame = object ? object->madeRotateItem() : nullptr;
            if (frame && frame->isVisible()) {
                frame->setVisible(false);
                m_frames << frame;
            }
        }
    }
    ~LessonOnly()
    {
        for (QGraphicsItem *frame : qAsConst(m_frames))
            frame->setVisible(true);
        for (QGraphicsItem *item : qAsConst(m_selected))
            item->setSelected(true);
    }
    LessonOnly(const LessonOnly &) = delete;
    LessonOnly &operator=(const LessonOnly &) = delete;

private:
    QSignalBlocker m_blocker;
    QList<QGraphicsItem *> m_selected;
    QList<QGraphicsItem *> m_frames;
};

// While it lives, the page's objects are drawn straight onto the painter: a cached object
// would reach a PDF as a picture of itself at the writer's resolution, where its lines and
// letters belong in the file as they are. The caches come back afterwards.
class Uncached
{
public:
    explicit Uncached(DPage *page)
    {
        const QList<QGraphicsItem *> items = page->items();
        for (QGraphicsItem *item : items) {
            if (item->cacheMode() != QGraphicsItem::NoCache) {
                m_modes.append({ item, item->cacheMode() });
                item->setCacheMode(QGraphicsItem::NoCache);
            }
        }
    }
    ~Uncached()
    {
        for (const auto &kept : qAsConst(m_modes))
            kept.first->setCacheMode(kept.second);
    }
    Uncached(const Uncached &) = delete;
    Uncached &operator=(const Uncached &) = delete;

private:
    QVector<QPair<QGraphicsItem *, QGraphicsItem::CacheMode>> m_modes;
};

// Between two pages of a long export the board repaints itself (where the file dialog was,
// among others); what the teacher does meanwhile waits until the export is done.
void letTheBoardRepaint()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// The sheet is measured in the board's own dots. Whatever an object sizes in points (the numbers
// of a ruler's scale, a film's name) the toolkit turns into dots of the device it is drawn on,
// while the page is laid on the sheet in board units: in finer dots those letters would grow by
// as much against everything else (at 1200 dots per inch, twelve times).
int boardDpi(const DView *view)
{
    if (view)
        return view->viewport()->logicalDpiY();
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
}

QPageLayout::Orientation orientationFor(const QRectF &board)
{
    // A4 either way; a wide board turned upright would fill only a third of the sheet.
    return board.width() > board.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// The pictures of the pages an export comes to next, asked for at the size it draws them at
// while it draws the page before: decoded on every decoding process at once rather than one
// after the other as each page's turn came, they are there, or on their way, when it comes.
// Only a few pages ahead: what is asked is held until its page is written.
class PicturesAhead
{
public:
    PicturesAhead(int pages, std::function<DPage *(int)> page, std::function<qreal(DPage *)> scale)
        : m_pages(pages), m_page(std::move(page)), m_scale(std::move(scale))
    {
    }

    // Asks for page and those after it, while the decoding processes have room for more.
    void askFrom(int page)
    {
        const int most = 2 * PictureDecoders::mostAtOnce();
        m_next = std::max(m_next, page);
        while (m_next < m_pages && m_next <= page + most && HeldPictures::pending() < most) {
            DPage *next = m_page(m_next);
            next->askPictures(m_scale(next));
            ++m_next;
        }
    }

private:
    const int m_pages;
    const std::function<DPage *(int)> m_page;
    const std::function<qreal(DPage *)> m_scale;
    int m_next = 0;
};

// Runs tasks in turn, all on one thread of its own (the fonts a PDF embeds at its end belong
// to the thread that drew its letters). While it waits for them the board draws itself; the
// teacher's input waits until the export is done.
class SheetWriting
{
public:
    SheetWriting()
    {
        m_thread.setMaxThreadCount(1);
        m_thread.setExpiryTimeout(-1);
    }
    ~SheetWriting() { m_thread.waitForDone(); }
    SheetWriting(const SheetWriting &) = delete;
    SheetWriting &operator=(const SheetWriting &) = delete;

    // A task is not run once one has failed, unless it is to run whatever came before.
    void queue(std::function<bool()> task, bool evenAfterFailure = false)
    {
        ++m_pending;
        m_thread.start([this, task = std::move(task), evenAfterFailure] {
            if ((evenAfterFailure || !m_failed) && !task())
                m_failed = true;
            --m_pending;
            QMetaObject::invokeMethod(&m_waiting, &QEventLoop::quit, Qt::QueuedConnection);
        });
    }

    // Until at most pending tasks are left; whether all run so far succeeded.
    bool waitUntil(int pending)
    {
        while (m_pending > pending)
            m_waiting.exec(QEventLoop::ExcludeUserInputEvents);
        return !m_failed;
    }

private:
    QEventLoop m_waiting;
    std::atomic<int> m_pending{ 0 };
    std::atomic<bool> m_failed{ false };
    QThreadPool m_thread; // last: ended first, before what its tasks use
};

} // namespace

bool DPagesList::exportPages(const QString &chosenName, const QString &format)
{
    const QString kind = format.toLower();
    QStringList failures;
    bool cancelled = false;
    if (isImageFormat(kind))
        failures = exportImages(chosenName, format, &cancelled);
    else if (kind == QLatin1String("pdf"))
        failures = exportPdf(chosenName, format, &cancelled);
    else
        failures << format + QStringLiteral(": not a format pages can be exported to");
    giveBackExported();
    // Cancelled, as a question or a file dialog cancelled: nothing was written, nothing to say.
    if (cancelled)
        return false;
    if (failures.isEmpty())
        return true;
    const QStringList files = exportFiles(chosenName, format);
    const QString folder = QFileInfo(files.value(0, chosenName)).absolutePath();
    showFailure(WriteFailure::message(tr("Error al exportar archivo"),
                                      WriteFailure::probe(folder, WriteFailure::kUnknownSizeBytes)),
                failures.join(QLatin1Char('\n')));
    return false;
}

void DPagesList::giveBackExported()
{
    // The copies each page was drawn from would otherwise stay until the teacher changes page:
    // a lesson of photos kept hundreds of megabytes after its export.
    keepPicturesNear(m_cachedPages);
#ifdef __GLIBC__
    // What the export's pages and recordings took stays with the process as free heap unless
    // handed back, a walk over the whole heap: beside the board.
    QThreadPool::globalInstance()->start([] { malloc_trim(0); });
#endif
}

QStringList DPagesList::exportFiles(const QString &chosenName, const QString &format) const
{
    const QString kind = format.toLower();
    if (kind == QLatin1String("pdf"))
        return { withSuffix(chosenName, format) };
    if (!isImageFormat(kind))
        return {};
    const QFileInfo chosen(chosenName);
    const QString base = chosen.fileName().section(QLatin1Char('.'), 0, 0);
    if (base.isEmpty())
        return {};
    QStringList files;
    for (int i = 0; i < size(); ++i)
        files << chosen.absolutePath() + QLatin1Char('/') + base + QLatin1Char('/') + base
                        + QString::number(i) + QLatin1Char('.') + format;
    return files;
}

QStringList DPagesList::exportImages(const QString &chosenName, const QString &format,
                                     bool *cancelled)
{
    const QFileInfo chosen(chosenName);
    // The base stops at the first dot: "notes.week.jpg" exports into "notes/notes0.jpg".
    const QString base = chosen.fileName().section(QLatin1Char('.'), 0, 0);
    if (base.isEmpty())
        return { chosenName + QStringLiteral(": the name has nothing before its first dot") };
    const QString folder = chosen.absolutePath() + QLatin1Char('/') + base;
    const bool madeFolder = !QFileInfo::exists(folder);
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        return { folder + QStringLiteral(": the folder cannot be made") };
    // The pictures are written into a folder of their own in it, and moved to their names only
    // once all are: an export cancelled or failed half way leaves the teacher's pictures of an
    // earlier export as they were, and none of this one.
    QStringList failures;
    {
        const QTemporaryDir writing(folder + QStringLiteral("/.exporting-XXXXXX"));
        if (!writing.isValid()) {
            failures << folder + QStringLiteral(": ") + writing.errorString();
        } else {
            WorkProgress progress(m_parent, tr("Exportando el documento…"), size());
            progress.setCancellable(true);
            PicturesAhead ahead(
                    size(), [this](int n) { return at(n); }, [](DPage *) { return 1.0; });
            QStringList names;
            for (int i = 0; i < size() && !*cancelled; ++i) {
                letTheBoardRepaint();
                ahead.askFrom(i);
                at(i)->readyPictures(1.0, &letTheBoardRepaint);
                QImage image;
                {
                    const LessonOnly lesson(at(i));
                    // Without the checkerboard that a transparent page's thumbnail shows.
                    image = at(i)->getPagePixmap(0).toImage();
                }
                names << base + QString::number(i) + QLatin1Char('.') + format;
                const QString written = writing.path() + QLatin1Char('/') + names.last();
                const QString failure = writeImage(image, written, format);
                if (!failure.isEmpty()) {
                    // Said of the name it was to have; nothing of this export will be kept.
                    failures << folder + QLatin1Char('/') + names.last()
                                    + failure.mid(written.size());
                    break;
                }
                progress.step(i + 1);
                *cancelled = progress.wasCancelled();
            }
            for (int i = 0; !*cancelled && failures.isEmpty() && i < names.size(); ++i) {
                const QString into = folder + QLatin1Char('/') + names.at(i);
                // Over an older picture of the name at once: never a moment without either.
                if (std::rename(QFile::encodeName(writing.path() + QLatin1Char('/') + names.at(i))
                                        .constData(),
                                QFile::encodeName(into).constData())
                    != 0)
                    failures << into + QStringLiteral(": ")
                                    + QString::fromLocal8Bit(std::strerror(errno));
            }
        }
    }
    if (madeFolder && (*cancelled || !failures.isEmpty()))
        QDir().rmdir(folder); // only when nothing else came into it meanwhile
    return failures;
}

QStringList DPagesList::exportPdf(const QString &chosenName, const QString &format,
                                  bool *cancelled)
{
    const QString path = withSuffix(chosenName, format);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return { path + QStringLiteral(": ") + file.errorString() };
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Veltorina"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(boardDpi(m_view));
        if (size() > 0)
            writer.setPageOrientation(orientationFor(at(0)->sceneRect()));
        QPainter painter;
        painted = painter.begin(&writer);
        // Each page is drawn here as a recording, and written onto its sheet on a thread of its
        // own: compressing a page's photos held the board for a second.
        SheetWriting writing;
        const QPageLayout firstLayout = writer.pageLayout();
        const int dpi = writer.resolution();
        // The sheet a page is drawn on, as the writer will lay it, asked of a copy: the writer
        // is the other thread's. In dots of the writer, not rounded to whole ones as its
        // width() is.
        const auto sheetOf = [&firstLayout, dpi](DPage *page) {
            QPageLayout sheetLayout = firstLayout;
            sheetLayout.setOrientation(orientationFor(page->sceneRect()));
            const QSizeF printable = sheetLayout.paintRect(QPageLayout::Point).size();
            return QRectF(QPointF(0, 0), printable * dpi / 72.0);
        };
        const auto scaleOf = [&sheetOf](DPage *page) {
            const QRectF sheet = sheetOf(page);
            const QSizeF scene = page->sceneRect().size();
            return std::min(sheet.width() / scene.width(), sheet.height() / scene.height());
        };
        PicturesAhead ahead(size(), [this](int n) { return at(n); }, scaleOf);
        WorkProgress progress(m_parent, tr("Exportando el documento…"), size());
        progress.setCancellable(true);
        for (int i = 0; painted && i < size(); ++i) {
            letTheBoardRepaint();
            DPage *page = at(i);
            const QPageLayout::Orientation orientation = orientationFor(page->sceneRect());
            const QRectF sheet = sheetOf(page);
            ahead.askFrom(i);
            page->readyPictures(scaleOf(page), &letTheBoardRepaint);
            auto recording = std::make_shared<PaintRecording>(
                    QSize(int(std::ceil(sheet.width())), int(std::ceil(sheet.height()))), dpi);
            {
                const LessonOnly lesson(page);
                const Uncached asDrawn(page);
                QPainter recorder(recording.get());
                // Antialiasing, not HighQualityAntialiasing: Qt 5.15 ignores the latter.
                recorder.setRenderHint(QPainter::Antialiasing);
                recorder.setRenderHint(QPainter::SmoothPixmapTransform);
                page->render(&recorder, sheet, page->sceneRect(), Qt::KeepAspectRatio);
            }
            const bool next = i > 0;
            writing.queue([&writer, &painter, recording, orientation, next] {
                if (next) {
                    writer.setPageOrientation(orientation); // the next sheet
                    if (!writer.newPage())
                        return false;
                }
                recording->replay(&painter);
                return true;
            });
            // The next pages are drawn while this one is written, up to three kept waiting: a
            // page whose photos came late left the writer idle, which a page of a lesson of
            // photos kept busy for longer than its drawing took.
            painted = writing.waitUntil(3);
            progress.step(i);
            if (progress.wasCancelled()) {
                *cancelled = true;
                break;
            }
        }
        painted = writing.waitUntil(0) && painted;
        progress.step(size());
        *cancelled = *cancelled || progress.wasCancelled();
        // Whatever came of the sheets, the painter ends on the thread that drew them.
        if (painter.isActive()) {
            writing.queue([&painter] { return painter.end(); }, true);
            painted = writing.waitUntil(0) && painted;
        }
    } // the writer finishes the file when it goes
    if (*cancelled) {
        // Never committed: a file the name had before stays as it was, and none is left.
        file.cancelWriting();
        return {};
    }
    if (!painted) {
        file.cancelWriting();
        return { path + QStringLiteral(": the PDF could not be written") };
    }
    if (!WriteFailure::commitWhole(file))
        return { path + QStringLiteral(": ") + file.errorString() };
    return {};
}
