#include "pagewriter.h"

#include "boardtypes.h"
#include "dggifitem.h"
#include "dgpathcurveitem.h"
#include "dgpathitem.h"
#include "dgpathtableitem.h"
#include "dgpixmapitem.h"
#include "dgsounditem.h"
#include "dgtextitem.h"
#include "dgvideoitem.h"
#include "dpage.h"

#include "document/iwbformat.h"
#include "document/mediacopy.h"
#include "document/mediapath.h"
#include "document/writefailure.h"
#include "pictures/heldpictures.h"
#include "shell/btmenus.h"
#include "shell/cores.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QSaveFile>
#include <QScreen>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QThreadPool>
#include <QXmlStreamWriter>
#include <QtMath>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <future>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace PageWriter {

namespace {

// The keys are only compared, never followed: a save names live objects only, and the table is
// emptied when the next save starts.
struct Numbering
{
    int page = -1; // the page being written; -1: none, numbers are only looked up
    // Per page: each page numbers its objects from a base of its own, so that a page's written
    // part, kept while the page does not change, never shares a number (or a picture file)
    // with another page's.
    QHash<int, QHash<const void *, qint64>> objects;
    QHash<int, QHash<const void *, qint64>> links;
    qint64 paragraphs = 0;
    QStringList missing;
    QList<QByteArray> identities; // of the media the page being written names
    bool dryRun = false; // nothing is stored (DryRun)
};

constexpr qint64 kNumbersPerPage = 1000000;

Numbering &numbering()
{
    static Numbering table;
    return table;
}

void noteIdentity(const QByteArray &identity)
{
    numbering().identities << identity;
}

void noteMissing(const QString &path)
{
    if (!path.isEmpty() && !numbering().missing.contains(path))
        numbering().missing << path;
}

qint64 numberOf(QHash<int, QHash<const void *, qint64>> &tables, const void *key)
{
    Numbering &state = numbering();
    QHash<const void *, qint64> &own = tables[state.page];
    const auto known = own.constFind(key);
    if (known != own.cend())
        return *known;
    // While a page is written only its own numbers count: an address seen on another page may
    // since belong to another object.
    if (state.page < 0) {
        for (const QHash<const void *, qint64> &other : qAsConst(tables)) {
            const auto seen = other.constFind(key);
            if (seen != other.cend())
                return *seen;
        }
    }
    const qint64 next = qint64(qMax(0, state.page)) * kNumbersPerPage + own.size() + 1;
    own.insert(key, next);
    return next;
}

struct ElementName
{
    int kind;
    const char *name;
};

// clang-format off
constexpr ElementName kPathElements[] = {
    { BtMenus::btLine,      "svg:line" },
    { BtMenus::btSquare,    "svg:rect" },
    { BtMenus::btRectangle, "svg:rect" },
    { BtMenus::btRoundRect, "svg:roundrect" },
    { BtMenus::btCone,      "svg:cone" },
    { BtMenus::btCube,      "svg:cube" },
    { BtMenus::btCylinder,  "svg:cylinder" },
    { BtMenus::btBall,      "svg:sphere" },
    { BtMenus::btCircle,    "svg:circle" },
    { BtMenus::btEllipse,   "svg:ellipse" },
    { BtMenus::btPencil,    "svg:polyline" },
};
// clang-format on

enum class Layout { Rect, Circle, Ellipse, Line, Poly };

Layout layoutOf(const QString &element)
{
    if (element == QLatin1String("svg:circle"))
        return Layout::Circle;
    if (element == QLatin1String("svg:ellipse"))
        return Layout::Ellipse;
    if (element == QLatin1String("svg:line"))
        return Layout::Line;
    if (element == QLatin1String("svg:polygon") || element == QLatin1String("svg:polyline"))
        return Layout::Poly;
    return Layout::Rect;
}

QString number(qreal value)
{
    return IwbFormat::number(value);
}

// The reader of a polyline or polygon draws a line through its points, so their curves are
// written as points along them; the readers of the other shapes rebuild their curves from the
// box and move each element to its point, control points included.
QString pointsText(const QString &element, const QPainterPath &path, const Placement &placement)
{
    if (layoutOf(element) == Layout::Poly)
        return IwbFormat::linePoints(path, placement.position, placement.scale);
    return IwbFormat::points(path, placement.position);
}

// The common run of stroke attributes that ends every shape element.
void writeStroke(QXmlStreamWriter &stream, const QPen &pen, const Placement &placement,
                 bool withDashArray)
{
    stream.writeAttribute(QStringLiteral("stroke"), IwbFormat::colour(pen.color()));
    if (withDashArray)
        stream.writeAttribute(QStringLiteral("stroke-dasharray"),
                              IwbFormat::dashArray(pen.style()));
    stream.writeAttribute(QStringLiteral("stroke-width"), QString::number(pen.width()));
    stream.writeAttribute(QStringLiteral("stroke-linecap"), QStringLiteral("round"));
    stream.writeAttribute(QStringLiteral("stroke-opacity"), IwbFormat::opacity(pen.color()));
    stream.writeAttribute(QStringLiteral("transform"),
                          IwbFormat::transform(placement.counterClockwise, placement.scale));
}

// The name each file's last copy into a folder of the working directory took, by folder and
// file: a dry run names a copy as that one was named.
QHash<QString, QString> &copyNames()
{
    static QHash<QString, QString> names;
    return names;
}

// A file as the document carries it: copied into folder, or, in a dry run, named as its last
// copy there was (as a first copy is named when there was none). A file changed since is
// another identity, so its new copy's name never goes unnoticed.
MediaCopy::Copied carryFile(const QString &path, const QString &folder)
{
    noteIdentity(fileIdentity(path));
    const QFileInfo source(path);
    const QString key = folder + QLatin1Char('\n') + source.absoluteFilePath();
    if (numbering().dryRun) {
        MediaCopy::Copied named;
        named.ok = true;
        named.name = copyNames().value(key, source.fileName());
        return named;
    }
    const MediaCopy::Copied copied = MediaCopy::copyInto(path, folder);
    if (copied.ok) {
        constexpr int kRememberedCopies = 4096;
        if (copyNames().size() >= kRememberedCopies)
            copyNames().clear();
        copyNames().insert(key, copied.name);
    }
    return copied;
}

// "fill" and "pathFile" of a filled shape, and the copy of a texture fill's picture that lets
// the texture travel with the document ("pathFileCopy", which older readers pass over).
void writeFill(QXmlStreamWriter &stream, const PathObject &object, const QString &dir,
               QStringList *errors)
{
    if (object.fillType == ItemFillNone)
        return;
    stream.writeAttribute(QStringLiteral("fill"), IwbFormat::colour(object.fillColour));
    // A translucent fill (a marker stroke brought in from another program) keeps its alpha;
    // written only below 255, so opaque fills are written as they always were.
    if (object.fillColour.alpha() < 255)
        stream.writeAttribute(QStringLiteral("fill-opacity"),
                              IwbFormat::opacity(object.fillColour));
    if (object.fillType != ItemFillTexture)
        return;
    stream.writeAttribute(QStringLiteral("pathFile"), object.fillFile);
    if (!MediaPath::isRegularFile(object.fillFile)) {
        noteMissing(object.fillFile); // not an error: the shape keeps its fill colour
        return;
    }
    const MediaCopy::Copied copied = carryFile(object.fillFile, dir + QStringLiteral("/images"));
    if (copied.ok)
        stream.writeAttribute(QStringLiteral("pathFileCopy"),
                              QStringLiteral("images/") + copied.name);
    else if (errors)
        *errors << copied.error;
}

// The picture files known to hold a picture exactly, by the picture's cache key: those a save
// wrote and those a document was read from, with each file's size and time then. Encoding is
// most of what a picture costs a save; a picture still in a file of its own, unchanged, is
// copied from there, or left where it is.
struct PictureFile
{
    QString path;
    qint64 size;
    QDateTime modified;
};

QHash<qint64, PictureFile> &pictureFiles()
{
    static QHash<qint64, PictureFile> files;
    return files;
}

// What the save under way writes: a file it wrote (or is writing) may no longer hold what the
// table above says, and is never copied from.
struct PictureWrites
{
    QSet<QString> targets;
    bool deferred = false; // encodes run on other threads until finishPictures()
    struct Encode
    {
        qint64 imageKey;
        QString path;
        std::shared_future<bool> done;
    };
    QList<Encode> encodes;
};

PictureWrites &pictureWrites()
{
    static PictureWrites writes;
    return writes;
}

void noteFile(qint64 imageKey, const QString &path)
{
    constexpr int kRememberedFiles = 4096;
    QHash<qint64, PictureFile> &files = pictureFiles();
    if (files.size() >= kRememberedFiles)
        files.clear();
    const QFileInfo saved(path);
    files.insert(imageKey, { path, saved.size(), saved.lastModified() });
}

// The file that holds image unchanged, or "".
QString fileHolding(const QImage &image)
{
    const auto known = pictureFiles().constFind(image.cacheKey());
    if (known == pictureFiles().cend() || pictureWrites().targets.contains(known->path))
        return QString();
    const QFileInfo onDisk(known->path);
    if (!onDisk.isFile() || onDisk.size() != known->size || onDisk.lastModified() != known->modified)
        return QString();
    return known->path;
}

// The file stays as it was unless the new one is written whole: on a full disk the working
// directory keeps the picture its last autosave named.
bool encodePng(const QImage &image, const QString &file)
{
    // A light deflate level: a document of many pictures is saved at every autosave.
    constexpr int kFastPngQuality = 80;
    QSaveFile out(file);
    return out.open(QIODevice::WriteOnly) && image.save(&out, "PNG", kFastPngQuality)
            && WriteFailure::commitWhole(out);
}

bool copyWhole(const QString &from, const QString &to)
{
    QFile source(from);
    QSaveFile out(to);
    if (!source.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    constexpr qint64 kBlock = 1 << 20;
    while (!source.atEnd()) {
        const QByteArray block = source.read(kBlock);
        if (block.isEmpty() || out.write(block) != block.size()) {
            out.cancelWriting();
            return false;
        }
    }
    return WriteFailure::commitWhole(out);
}

// Runs write now, or, while pictures are deferred, on another thread (finishPictures() then
// says whether it was written); what it wrote is noted as holding imageKey's picture.
bool writeFile(const QString &path, qint64 imageKey, std::function<bool()> write,
               QStringList *errors)
{
    PictureWrites &writes = pictureWrites();
    writes.targets.insert(path);
    if (writes.deferred) {
        auto task = std::make_shared<std::packaged_task<bool()>>(std::move(write));
        writes.encodes << PictureWrites::Encode{ imageKey, path, task->get_future().share() };
        QThreadPool::globalInstance()->start([task]() { (*task)(); });
        return true;
    }
    if (write()) {
        if (imageKey != 0)
            noteFile(imageKey, path);
        return true;
    }
    if (errors)
        *errors << path + QStringLiteral(": the picture could not be written");
    return false;
}

bool saveImage(const QImage &image, const QString &file, QStringList *errors)
{
    if (!image.isNull()) {
        const QString path = QFileInfo(file).absoluteFilePath();
        const QString holding = fileHolding(image);
        PictureWrites &writes = pictureWrites();
        if (holding == path) {
            writes.targets.insert(path);
            return true; // the same picture is still there as it was written or read
        }
        writes.targets.insert(path);
        if (!holding.isEmpty()) {
            if (copyWhole(holding, path)) {
                noteFile(image.cacheKey(), path);
                return true;
            }
        }
        return writeFile(path, image.cacheKey(), [image, path]() { return encodePng(image, path); },
                         errors);
    }
    if (errors)
        *errors << file + QStringLiteral(": the picture could not be written");
    return false;
}

// target made to hold what source holds: the same file under another name where the system
// allows it (a link costs nothing), else a copy. Either takes target's place only whole.
bool linkWhole(const QString &source, const QString &target)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(target);
    struct stat held = {};
    struct stat there = {};
    if (::stat(from.constData(), &held) != 0)
        return false;
    if (::stat(to.constData(), &there) == 0 && there.st_dev == held.st_dev
        && there.st_ino == held.st_ino)
        return true; // written there by an earlier save
    const QByteArray aside = to + ".linking";
    ::unlink(aside.constData());
    if (::link(from.constData(), aside.constData()) == 0) {
        if (::rename(aside.constData(), to.constData()) == 0)
            return true;
        ::unlink(aside.constData());
    }
    return copyWhole(source, target);
}

// A picture held as its file, written to file: its file as it is, or (a picture whose file
// cannot go as it is) what it shows, as a PNG, decoded and encoded beside the board.
bool saveHeld(const std::shared_ptr<HeldPicture> &picture, const QString &file,
              QStringList *errors)
{
    // A dry run only notes which picture it is: the same one, whatever file it lies in.
    noteIdentity(heldIdentity(*picture));
    if (numbering().dryRun)
        return true;
    const QString path = QFileInfo(file).absoluteFilePath();
    const QString source = picture->file();
    // Its file stays where it is until it is written, whatever takes its place meanwhile.
    const std::shared_ptr<void> reading = HeldPictures::reading(picture);
    if (picture->isCopiedAsItIs() || picture->isRefused())
        return writeFile(
                path, 0, [source, path, reading] { return linkWhole(source, path); }, errors);
    const PictureReading::Source from{ source, picture->linkRoot() };
    const PictureReading::Probe probe = picture->probe();
    return writeFile(
            path, 0,
            [from, probe, path, reading] {
                const PictureReading::Picture read = probe.isTaken()
                        ? PictureReading::readReduced(from, probe, 0)
                        : PictureReading::read(from);
                return !read.image.isNull() && encodePng(read.image, path);
            },
            errors);
}

// A picture a page names, stored as file (saveImage); a dry run only notes which picture it is.
void storePicture(const QImage &image, const QString &file, QStringList *errors)
{
    noteIdentity(pictureIdentity(image));
    if (!numbering().dryRun)
        saveImage(image, file, errors);
}

// A line that is not two points (partly erased) is kept as the polyline it has become.
QString elementOf(const PathObject &object)
{
    if (object.kind == BtMenus::btLine && object.path.elementCount() != 2)
        return QStringLiteral("svg:polyline");
    return pathElementName(object.kind);
}

bool isWritable(const QString &element, const PathObject &object)
{
    if (object.path.isEmpty() || !IwbFormat::isFinite(object.path))
        return false;
    if (element == QLatin1String("svg:line"))
        return object.path.elementCount() == 2;
    return true;
}

void writeTable(QXmlStreamWriter &stream, const QString &id, const PathObject &object,
                const Placement &placement)
{
    // Rows and columns survive only in the table element, which the readers already accept;
    // it holds one empty cell per row and column because the reader steps over that many.
    const QRectF box = object.path.boundingRect().translated(placement.position);
    stream.writeStartElement(QStringLiteral("svg:table"));
    stream.writeAttribute(QStringLiteral("id"), id);
    stream.writeAttribute(QStringLiteral("x"), number(box.x()));
    stream.writeAttribute(QStringLiteral("y"), number(box.y()));
    stream.writeAttribute(QStringLiteral("width"), number(box.width()));
    stream.writeAttribute(QStringLiteral("height"), number(box.height()));
    stream.writeAttribute(QStringLiteral("rows"), QString::number(object.rows));
    stream.writeAttribute(QStringLiteral("columns"), QString::number(object.columns));
    stream.writeAttribute(QStringLiteral("title"), QString());
    stream.writeAttribute(QStringLiteral("transform"),
                          IwbFormat::transform(placement.counterClockwise, placement.scale));
    // Counted in 64 bits: rows times columns of a table that came from elsewhere must neither
    // overflow nor be trusted (the table dialog makes at most 99 x 99).
    constexpr qint64 kMostCells = 99 * 99;
    const qint64 cells = std::min(
            kMostCells, qint64(std::max(0, object.rows)) * qint64(std::max(0, object.columns)));
    for (qint64 cell = 0; cell < cells; ++cell) {
        stream.writeEmptyElement(QStringLiteral("svg:cell"));
        stream.writeAttribute(QStringLiteral("text"), QString());
    }
    stream.writeEndElement();
}

// The colour the object shows as its fill: a recolouring ("Color de fondo"), an undo or a
// palette fill changes the brush, so the brush is what is written; the stored colour is for
// brushes that carry none of their own (a texture).
QColor shownFillColour(const QBrush &brush, const QColor &stored)
{
    switch (brush.style()) {
    case Qt::NoBrush:
    case Qt::TexturePattern:
        return stored;
    case Qt::LinearGradientPattern:
    case Qt::RadialGradientPattern:
    case Qt::ConicalGradientPattern: {
        const QGradientStops stops =
                brush.gradient() ? brush.gradient()->stops() : QGradientStops();
        return stops.isEmpty() ? stored : stops.constFirst().second;
    }
    default:
        return brush.color();
    }
}

PathObject pathObjectOf(const DGPathItem &item)
{
    PathObject object;
    object.itemType = item.type();
    object.path = item.path();
    object.pen = item.pen();
    object.itemBounds = item.boundingRect();
    object.fillFile = item.fillFileName();
    object.fillColour = shownFillColour(item.brush(), item.getGradColor());
    if (object.itemType == ItemTypePath) {
        const auto &curve = static_cast<const DGPathCurveItem &>(item);
        object.kind = curve.shapeType();
        object.fillType = curve.m_fillType;
    } else {
        // Vertex objects and tables have no shape kind of their own: they are polygons, filled
        // when they were given a solid brush.
        object.kind = BtMenus::btPolygon;
        if (item.brush().style() != Qt::NoBrush) {
            object.fillType = ItemFillSolid;
            object.fillColour = item.brush().color();
        }
        if (object.itemType == ItemTypeTable) {
            const auto &table = static_cast<const DGPathTableItem &>(item);
            object.rows = table.m_rows;
            object.columns = table.m_cols;
        }
    }
    return object;
}

void writeBackground(DPage &page, QXmlStreamWriter &stream, const QString &dir, int n,
                     QStringList *errors)
{
    const QString id = QStringLiteral("bck") + QString::number(n);
    if (const std::shared_ptr<HeldPicture> &kept = page.keptBackground()) {
        // As the lesson gave it: the board could not show it, nothing of it is lost.
        const QString name = QStringLiteral("images/") + id + QLatin1Char('.') + kept->suffix();
        saveHeld(kept, dir + QLatin1Char('/') + name, errors);
        const QSize size = page.keptBackgroundSize();
        stream.writeEmptyElement(QStringLiteral("svg:image"));
        stream.writeAttribute(QStringLiteral("id"), id);
        stream.writeAttribute(QStringLiteral("xlink:href"), name);
        stream.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
        stream.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
        stream.writeAttribute(QStringLiteral("width"), QString::number(size.width()));
        stream.writeAttribute(QStringLiteral("height"), QString::number(size.height()));
        return;
    }
    const QBrush brush = page.backgroundBrush();
    const QImage picture = brush.textureImage();
    // A picture page whose picture is gone (its file was missing when it was opened) is kept as
    // the colour page it shows, rather than failing the whole save.
    if ((page.pageType() == PageTypeImage || page.pageType() == PageTypeCapture)
        && !picture.isNull()) {
        const QString name = QStringLiteral("images/") + id + QStringLiteral(".png");
        storePicture(picture, dir + QLatin1Char('/') + name, errors);
        stream.writeEmptyElement(QStringLiteral("svg:image"));
        stream.writeAttribute(QStringLiteral("id"), id);
        stream.writeAttribute(QStringLiteral("xlink:href"), name);
        stream.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
        stream.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
        stream.writeAttribute(QStringLiteral("width"), QString::number(picture.width()));
        stream.writeAttribute(QStringLiteral("height"), QString::number(picture.height()));
        return;
    }
    QSize desktop;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        desktop = screen->virtualSize();
    QColor colour = brush.style() == Qt::NoBrush ? QColor(Qt::white) : brush.color();
    if (page.isTransparent())
        colour.setAlpha(0);
    stream.writeEmptyElement(QStringLiteral("svg:rect"));
    stream.writeAttribute(QStringLiteral("id"), id);
    stream.writeAttribute(QStringLiteral("fill"), IwbFormat::colour(colour));
    stream.writeAttribute(QStringLiteral("fill-opacity"), IwbFormat::opacity(colour));
    stream.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
    stream.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
    stream.writeAttribute(QStringLiteral("width"), QString::number(desktop.width()));
    stream.writeAttribute(QStringLiteral("height"), QString::number(desktop.height()));
}

// A linked file as a saved document carries it: copied into "document", and named in the
// attribute by the copy's name when that had to differ from the original's.
QString attachLinkedFile(const QString &path, const QString &dir, QStringList *errors)
{
    if (path.isEmpty())
        return path;
    if (!MediaPath::isRegularFile(path)) {
        noteMissing(path);
        return path;
    }
    const MediaCopy::Copied copied = carryFile(path, dir + QStringLiteral("/document"));
    if (!copied.ok) {
        if (errors)
            *errors << copied.error;
        return path;
    }
    const QFileInfo original(path);
    if (copied.name == original.fileName())
        return path;
    return original.path() + QLatin1Char('/') + copied.name;
}

void writeTransform(QXmlStreamWriter &stream, const Placement &placement)
{
    stream.writeAttribute(QStringLiteral("transform"),
                          IwbFormat::transform(placement.counterClockwise, placement.scale));
}

void writePosition(QXmlStreamWriter &stream, const Placement &placement)
{
    stream.writeAttribute(QStringLiteral("x"), number(placement.position.x()));
    stream.writeAttribute(QStringLiteral("y"), number(placement.position.y()));
}

// A media file as the document carries it: copied into folder (a name of its own when a
// different file of that name is there already). Returns the name the element must give; a
// missing file keeps its own name, as a document made elsewhere would.
QString storeMedia(const QString &path, const QString &dir, const char *folder, QStringList *errors)
{
    const QString name = QFileInfo(path).fileName();
    if (path.isEmpty() || !MediaPath::isRegularFile(path)) {
        noteMissing(path);
        return name;
    }
    const MediaCopy::Copied copied =
            carryFile(path, dir + QLatin1Char('/') + QLatin1String(folder));
    if (!copied.ok) {
        if (errors)
            *errors << copied.error;
        return name;
    }
    return copied.name;
}

void writePicture(QXmlStreamWriter &stream, const QString &id, const DGPixmapItem &item,
                  const Placement &placement, const QString &dir, QStringList *errors)
{
    const HeldPicture &picture = *item.picture();
    QString name;
    if (picture.isMade()) {
        name = QStringLiteral("images/") + id + QStringLiteral(".png");
        storePicture(item.QGraphicsPixmapItem::pixmap().toImage(), dir + QLatin1Char('/') + name,
                     errors);
    } else {
        // Its file as it came, under its format's own suffix; a lesson that could not show it
        // keeps it all the same.
        const QString suffix = picture.isCopiedAsItIs() || picture.isRefused()
                ? picture.suffix()
                : QStringLiteral("png");
        name = QStringLiteral("images/") + id + QLatin1Char('.') + suffix;
        saveHeld(item.picture(), dir + QLatin1Char('/') + name, errors);
    }
    const QSize size = item.pictureSize();
    stream.writeEmptyElement(QStringLiteral("svg:image"));
    stream.writeAttribute(QStringLiteral("id"), id);
    stream.writeAttribute(QStringLiteral("xlink:href"), name);
    writePosition(stream, placement);
    stream.writeAttribute(QStringLiteral("width"), QString::number(size.width()));
    stream.writeAttribute(QStringLiteral("height"), QString::number(size.height()));
    writeTransform(stream, placement);
}

// An animated image travels as its own file, so that it plays again when read back; readers
// that know only still pictures show its first frame.
void writeAnimation(QXmlStreamWriter &stream, const QString &id, const DGGifItem &item,
                    const Placement &placement, const QString &dir, QStringList *errors)
{
    const QString name = storeMedia(item.fileName(), dir, "images", errors);
    const QSize size = item.m_label ? item.m_label->size() : item.size().toSize();
    stream.writeEmptyElement(QStringLiteral("svg:image"));
    stream.writeAttribute(QStringLiteral("id"), id);
    stream.writeAttribute(QStringLiteral("xlink:href"), QStringLiteral("images/") + name);
    writePosition(stream, placement);
    stream.writeAttribute(QStringLiteral("width"), QString::number(size.width()));
    stream.writeAttribute(QStringLiteral("height"), QString::number(size.height()));
    writeTransform(stream, placement);
}

void writeVideo(QXmlStreamWriter &stream, const QString &id, const DGVideoItem &item,
                const Placement &placement, const QString &dir, QStringList *errors)
{
    const QString name = storeMedia(item.m_filePath, dir, "videos", errors);
    stream.writeEmptyElement(QStringLiteral("svg:video"));
    stream.writeAttribute(QStringLiteral("id"), id);
    stream.writeAttribute(QStringLiteral("xlink:href"), QStringLiteral("/videos/") + name);
    writePosition(stream, placement);
    writeTransform(stream, placement);
}

// The sound's file is named by "xlink:href" after the attributes older readers know (they
// pass the element over); the file is the copy the media link makes in "document".
void writeSound(QXmlStreamWriter &stream, const QString &id, const DGSoundItem &item,
                const Placement &placement, const QString &dir, QStringList *errors)
{
    stream.writeEmptyElement(QStringLiteral("svg:sound"));
    stream.writeAttribute(QStringLiteral("id"), id);
    writePosition(stream, placement);
    writeTransform(stream, placement);
    if (!item.m_linkMedia.isEmpty())
        stream.writeAttribute(QStringLiteral("xlink:href"),
                              QStringLiteral("document/")
                                      + storeMedia(item.m_linkMedia, dir, "document", errors));
}

QString htmlAlign(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return QStringLiteral("right");
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("center");
    if (alignment & Qt::AlignJustify)
        return QStringLiteral("justify");
    return QString();
}

// The six font attributes of a paragraph's tspans.
void writeParagraphFont(QXmlStreamWriter &stream, const QFont &font, const QFontInfo &info)
{
    stream.writeAttribute(QStringLiteral("fill"), QStringLiteral("#000000"));
    stream.writeAttribute(QStringLiteral("font-family"), info.family());
    stream.writeAttribute(QStringLiteral("font-size"), QString::number(font.pointSize()));
    stream.writeAttribute(QStringLiteral("font-stretch"), QString::number(font.stretch()));
    stream.writeAttribute(QStringLiteral("font-style"), info.styleName());
    stream.writeAttribute(QStringLiteral("font-weight"), QString::number(font.weight()));
}

// The text is taken from the text document, block by block and run by run, not from its HTML:
// a line break inside a paragraph, an empty paragraph or a paragraph that mixes plain and
// formatted runs would otherwise end or lose the text. Runs go out as CDATA, so "<", "&" and
// ">" are kept as typed.
void writeText(QXmlStreamWriter &stream, const QString &id, const DGTextItem &item,
               const Placement &placement)
{
    const QFont font = item.font();
    const QFontInfo info(font);
    const QRectF bounds = item.boundingRect();
    stream.writeStartElement(QStringLiteral("svg:textarea"));
    stream.writeAttribute(QStringLiteral("id"), id);
    writePosition(stream, placement);
    stream.writeAttribute(QStringLiteral("width"), number(bounds.width()));
    stream.writeAttribute(QStringLiteral("height"), number(bounds.height()));
    stream.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
    stream.writeAttribute(QStringLiteral("font-family"), info.family());
    stream.writeAttribute(QStringLiteral("font-size"), QString::number(info.pointSize()));
    stream.writeAttribute(QStringLiteral("font-stretch"), QString::number(font.stretch()));
    stream.writeAttribute(QStringLiteral("font-style"), info.styleName());
    stream.writeAttribute(QStringLiteral("font-weight"), QString::number(info.weight()));
    writeTransform(stream, placement);
    // A text whose lines wrap to its box (one from another program's lesson) keeps that box;
    // "width" is only what the text happens to measure.
    if (item.textWidth() > 0)
        stream.writeAttribute(QStringLiteral("textWidth"), number(item.textWidth()));

    const QString defaultColour = IwbFormat::colour(item.defaultTextColor());
    const QTextDocument *document = item.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        stream.writeStartElement(QStringLiteral("svg:tspan"));
        writeParagraphFont(stream, font, info);
        stream.writeAttribute(QStringLiteral("text-align"),
                              IwbFormat::textAlign(htmlAlign(block.blockFormat().alignment())));
        stream.writeStartElement(QStringLiteral("svg:tspan"));
        writeParagraphFont(stream, font, info);
        stream.writeAttribute(QStringLiteral("id"),
                              QStringLiteral("paragraph.")
                                      + QString::number(++numbering().paragraphs));
        for (QTextBlock::iterator run = block.begin(); !run.atEnd(); ++run) {
            const QTextFragment fragment = run.fragment();
            if (!fragment.isValid() || fragment.text().isEmpty())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            const bool coloured = format.hasProperty(QTextFormat::ForegroundBrush)
                    && format.foreground().style() != Qt::NoBrush;
            stream.writeStartElement(QStringLiteral("svg:tspan"));
            stream.writeAttribute(QStringLiteral("fill"),
                                  coloured ? IwbFormat::colour(format.foreground().color())
                                           : defaultColour);
            // A run's own family and size, where it has them (a text imported from another
            // program, or sized in the editor); readers that know only the text's font take
            // these as the same attributes they always were.
            stream.writeAttribute(QStringLiteral("font-family"),
                                  format.hasProperty(QTextFormat::FontFamily) ? format.fontFamily()
                                                                              : info.family());
            stream.writeAttribute(QStringLiteral("font-size"),
                                  format.hasProperty(QTextFormat::FontPointSize)
                                                  && format.fontPointSize() > 0
                                          ? number(format.fontPointSize())
                                          : QString::number(font.pointSize()));
            stream.writeAttribute(QStringLiteral("font-stretch"), QStringLiteral("normal"));
            stream.writeAttribute(QStringLiteral("font-style"),
                                  format.fontItalic() ? QStringLiteral("italic")
                                                      : QStringLiteral("normal"));
            stream.writeAttribute(QStringLiteral("font-weight"),
                                  format.fontWeight() > QFont::Normal ? QStringLiteral("bold")
                                                                      : QStringLiteral("normal"));
            if (format.fontUnderline())
                stream.writeAttribute(QStringLiteral("text-decoration"),
                                      QStringLiteral("underline"));
            stream.writeCDATA(fragment.text());
            stream.writeEndElement();
        }
        stream.writeEndElement(); // inner tspan
        stream.writeEmptyElement(QStringLiteral("svg:tbreak"));
        stream.writeEndElement(); // outer tspan
    }
    stream.writeEndElement(); // svg:textarea
}

// The z values from the top-level ancestor down to item.
QVector<qreal> stackingKey(const QGraphicsItem *item)
{
    QVector<qreal> key;
    for (const QGraphicsItem *step = item; step; step = step->parentItem())
        key.prepend(step->zValue());
    return key;
}

} // namespace

void restartNumbering()
{
    numbering() = Numbering();
    // Pictures still being written belong to whoever took them (takePictureWrites), or are
    // waited for by the next finishPictures().
    pictureWrites().targets.clear();
}

void deferPictures()
{
    pictureWrites().deferred = true;
}

PictureWritesTaken takePictureWrites()
{
    PictureWrites &writes = pictureWrites();
    writes.deferred = false;
    PictureWritesTaken taken;
    for (const PictureWrites::Encode &encode : qAsConst(writes.encodes))
        taken.push_back({ encode.imageKey, encode.path, encode.done });
    writes.encodes.clear();
    return taken;
}

bool picturesWritten(const PictureWritesTaken &writes)
{
    return std::all_of(writes.cbegin(), writes.cend(), [](const PictureWrite &write) {
        return write.done.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
}

QStringList notePicturesWritten(const PictureWritesTaken &writes)
{
    QStringList errors;
    for (const PictureWrite &write : writes) {
        if (!write.done.get())
            errors << write.path + QStringLiteral(": the picture could not be written");
        else if (write.imageKey != 0)
            noteFile(write.imageKey, write.path);
    }
    return errors;
}

QStringList finishPictures()
{
    return notePicturesWritten(takePictureWrites());
}

void notePictureRead(const QImage &image, const QString &file)
{
    // Only a PNG file can stand for a picture the writer would write as PNG.
    static const QByteArray kPngSignature("\x89PNG\r\n\x1a\n", 8);
    QFile read(file);
    if (image.isNull() || !read.open(QIODevice::ReadOnly) || read.read(8) != kPngSignature)
        return;
    noteFile(image.cacheKey(), QFileInfo(file).absoluteFilePath());
}

void startPage(int page)
{
    Numbering &state = numbering();
    state.page = qMax(0, page);
    state.objects[state.page].clear();
    state.links[state.page].clear();
    state.paragraphs = state.page * kNumbersPerPage;
    state.missing.clear();
    state.identities.clear();
}

void endPage()
{
    numbering().page = -1;
}

QStringList missingMedia()
{
    return numbering().missing;
}

QByteArray pictureIdentity(const QImage &image)
{
    // The toolkit gives a picture's pixels a new key whenever they change.
    return QByteArrayLiteral("picture:") + QByteArray::number(image.cacheKey());
}

QByteArray heldIdentity(const HeldPicture &picture)
{
    return QByteArrayLiteral("held:") + QByteArray::number(picture.serial());
}

QByteArray fileIdentity(const QString &path)
{
    // A file changed in place is carried as another copy: it is another file to the document.
    const QFileInfo file(path);
    return QByteArrayLiteral("file:") + file.absoluteFilePath().toUtf8() + '\n'
            + QByteArray::number(file.size()) + '\n'
            + QByteArray::number(file.lastModified().toMSecsSinceEpoch());
}

QList<QByteArray> namedIdentities()
{
    return numbering().identities;
}

namespace {

Numbering &keptAside()
{
    static Numbering aside;
    return aside;
}

} // namespace

DryRun::DryRun()
{
    Q_ASSERT(!numbering().dryRun);
    keptAside() = std::move(numbering());
    numbering() = Numbering();
    numbering().dryRun = true;
}

DryRun::~DryRun()
{
    numbering() = std::move(keptAside());
    keptAside() = Numbering();
}

QString objectId(const QGraphicsItem *item)
{
    return QStringLiteral("obj") + QString::number(numberOf(numbering().objects, item));
}

QString linkId(const DCustomItem *object)
{
    return QStringLiteral("lnk") + QString::number(numberOf(numbering().links, object));
}

Placement placementOf(const QGraphicsItem *item)
{
    Placement placement;
    const QTransform toScene = item->sceneTransform();
    if (!item->parentItem() && item->transform().isIdentity()) {
        placement.counterClockwise = -item->rotation();
        placement.scale = item->scale();
    } else {
        // A group member (or an object carrying a transform of its own): what the screen shows
        // is the whole chain, so the turn and the scale are read from it.
        placement.counterClockwise = -qRadiansToDegrees(std::atan2(toScene.m12(), toScene.m11()));
        placement.scale = std::hypot(toScene.m11(), toScene.m12());
    }
    if (toScene.type() <= QTransform::TxTranslate) {
        placement.position = QPointF(toScene.dx(), toScene.dy());
    } else {
        // Turned about its centre, the object shows its centre where it shows it now.
        const QPointF centre = item->boundingRect().center();
        placement.position = toScene.map(centre) - centre;
    }
    return placement;
}

QString pathElementName(int kind)
{
    for (const ElementName &entry : kPathElements) {
        if (entry.kind == kind)
            return QLatin1String(entry.name);
    }
    return QStringLiteral("svg:polygon");
}

bool holdsCurvesAsPoints(int kind)
{
    return layoutOf(pathElementName(kind)) == Layout::Poly;
}

bool writePathObject(QXmlStreamWriter &stream, const QString &id, const PathObject &object,
                     const Placement &placement, const QString &dir, QStringList *errors,
                     const QString *points)
{
    if (object.itemType == ItemTypeTable) {
        if (object.path.isEmpty() || !IwbFormat::isFinite(object.path))
            return false;
        writeTable(stream, id, object, placement);
        return true;
    }
    const QString element = elementOf(object);
    if (!isWritable(element, object))
        return false;
    const QRectF box = object.path.boundingRect();
    const QPointF at = placement.position;
    stream.writeEmptyElement(element);
    stream.writeAttribute(QStringLiteral("id"), id);
    const Layout layout = layoutOf(element);
    if (layout == Layout::Poly)
        stream.writeAttribute(QStringLiteral("type"), QStringLiteral("table"));
    stream.writeAttribute(QStringLiteral("points"),
                          points ? *points : pointsText(element, object.path, placement));
    switch (layout) {
    case Layout::Rect:
        stream.writeAttribute(QStringLiteral("x"), number(at.x()));
        stream.writeAttribute(QStringLiteral("y"), number(at.y()));
        stream.writeAttribute(QStringLiteral("width"), number(box.width()));
        stream.writeAttribute(QStringLiteral("height"), number(box.height()));
        stream.writeAttribute(QStringLiteral("fillType"), QString::number(object.fillType));
        writeFill(stream, object, dir, errors);
        break;
    case Layout::Circle:
        stream.writeAttribute(QStringLiteral("cx"), number(at.x()));
        stream.writeAttribute(QStringLiteral("cy"), number(at.y()));
        stream.writeAttribute(QStringLiteral("r"), number(box.width() / 2));
        stream.writeAttribute(QStringLiteral("fillType"), QString::number(object.fillType));
        stream.writeAttribute(QStringLiteral("gradH"), number(object.itemBounds.height()));
        writeFill(stream, object, dir, errors);
        break;
    case Layout::Ellipse:
        stream.writeAttribute(QStringLiteral("cx"), number(at.x()));
        stream.writeAttribute(QStringLiteral("cy"), number(at.y()));
        stream.writeAttribute(QStringLiteral("rx"), number(box.width() / 2));
        stream.writeAttribute(QStringLiteral("ry"), number(box.height() / 2));
        stream.writeAttribute(QStringLiteral("fillType"), QString::number(object.fillType));
        writeFill(stream, object, dir, errors);
        break;
    case Layout::Line: {
        const QPainterPath::Element first = object.path.elementAt(0);
        const QPainterPath::Element second = object.path.elementAt(1);
        stream.writeAttribute(QStringLiteral("x1"), number(first.x + at.x()));
        stream.writeAttribute(QStringLiteral("y1"), number(first.y + at.y()));
        stream.writeAttribute(QStringLiteral("x2"), number(second.x + at.x()));
        stream.writeAttribute(QStringLiteral("y2"), number(second.y + at.y()));
        writeStroke(stream, object.pen, placement, false);
        return true;
    }
    case Layout::Poly:
        stream.writeAttribute(QStringLiteral("fillType"), QString::number(object.fillType));
        if (element == QLatin1String("svg:polygon"))
            writeFill(stream, object, dir, errors);
        break;
    }
    writeStroke(stream, object.pen, placement, true);
    if (layout == Layout::Poly) {
        const QPixmap texture = object.pen.brush().texture();
        if (!texture.isNull()) {
            const QString name = QStringLiteral("images/") + id + QStringLiteral(".png");
            storePicture(texture.toImage(), dir + QLatin1Char('/') + name, errors);
            stream.writeAttribute(QStringLiteral("xlink:href"), QLatin1Char('/') + name);
        }
    }
    return true;
}

bool openLinks(QXmlStreamWriter &stream, const DCustomItem *object, const QString &dir,
               QStringList *errors)
{
    if (object->m_linkWeb.isEmpty() && object->m_linkPage.isEmpty() && object->m_linkFile.isEmpty()
        && object->m_linkMedia.isEmpty())
        return false;
    stream.writeStartElement(QStringLiteral("svg:a"));
    stream.writeAttribute(QStringLiteral("id"), linkId(object));
    stream.writeAttribute(QStringLiteral("xlink"), object->m_linkWeb);
    stream.writeAttribute(QStringLiteral("xpagelink"), object->m_linkPage);
    stream.writeAttribute(QStringLiteral("xfilelink"),
                          attachLinkedFile(object->m_linkFile, dir, errors));
    stream.writeAttribute(QStringLiteral("xsoundlink"),
                          attachLinkedFile(object->m_linkMedia, dir, errors));
    return true;
}

namespace {

// Paths of fewer elements are written as they come.
constexpr int kPointsOnOtherThreads = 64;

// The points texts of a page's long paths, most of a page's text, made on every thread at
// once: the GUI thread takes its share and waits for the others, which take theirs from the
// shared pool only if it has a thread free (it may be busy with pictures).
class PointTexts
{
public:
    void add(const QString &element, const QPainterPath &path, const Placement &placement)
    {
        m_shared->jobs.push_back({ element, path, placement, {} });
    }
    size_t size() const { return m_shared->jobs.size(); }
    const QString &text(size_t index) const { return m_shared->jobs.at(index).text; }

    void make()
    {
        const std::shared_ptr<Shared> shared = m_shared;
        const int helpers = int(std::min<size_t>(shared->jobs.size() / 2,
                                                 size_t(std::max(Cores::usable() - 1, 0))));
        for (int n = 0; n < helpers; ++n)
            QThreadPool::globalInstance()->start([shared]() { shared->work(); });
        shared->work();
        std::unique_lock<std::mutex> lock(shared->mutex);
        shared->allDone.wait(lock, [&shared] { return shared->done == shared->jobs.size(); });
    }

private:
    struct Job
    {
        QString element;
        QPainterPath path;
        Placement placement;
        QString text;
    };
    struct Shared
    {
        std::vector<Job> jobs; // fixed once made begins
        std::atomic<size_t> next{ 0 };
        std::mutex mutex;
        std::condition_variable allDone;
        size_t done = 0;

        void work()
        {
            for (size_t index = next++; index < jobs.size(); index = next++) {
                Job &job = jobs[index];
                job.text = pointsText(job.element, job.path, job.placement);
                const std::lock_guard<std::mutex> lock(mutex);
                if (++done == jobs.size())
                    allDone.notify_all();
            }
        }
    };
    std::shared_ptr<Shared> m_shared = std::make_shared<Shared>();
};

} // namespace

QStringList writePage(DPage &page, QXmlStreamWriter &stream, const QString &dir, int n)
{
    QStringList errors;
    stream.writeStartElement(QStringLiteral("svg:page"));
    stream.writeAttribute(QStringLiteral("id"), QStringLiteral("page") + QString::number(n));
    writeBackground(page, stream, dir, n, &errors);

    // Lowest z first; of equal z, the one drawn on top first (a stable sort of the top-down list).
    // A group member stands where its group stands, and within it by its own z: the reader
    // makes the objects in this order and stacks a group where its topmost member lands.
    QList<QGraphicsItem *> items = page.items(Qt::DescendingOrder);
    std::stable_sort(items.begin(), items.end(), [](QGraphicsItem *a, QGraphicsItem *b) {
        const QVector<qreal> first = stackingKey(a);
        const QVector<qreal> second = stackingKey(b);
        return std::lexicographical_compare(first.begin(), first.end(), second.begin(),
                                            second.end());
    });
    // The path objects as they are, and the points of the long ones made ahead.
    struct PathEntry
    {
        PathObject object;
        Placement placement;
        int points = -1; // in pointTexts
    };
    QHash<const QGraphicsItem *, PathEntry> paths;
    PointTexts pointTexts;
    for (QGraphicsItem *item : qAsConst(items)) {
        const int type = item->type();
        if (!item->isVisible()
            || (type != ItemTypePath && type != ItemTypeVertex && type != ItemTypeTable))
            continue;
        const auto *pathItem = dynamic_cast<const DGPathItem *>(item);
        if (!pathItem)
            continue;
        PathEntry entry{ pathObjectOf(*pathItem), placementOf(item) };
        const QString element = elementOf(entry.object);
        if (type != ItemTypeTable && entry.object.path.elementCount() >= kPointsOnOtherThreads
            && isWritable(element, entry.object)) {
            entry.points = int(pointTexts.size());
            pointTexts.add(element, entry.object.path, entry.placement);
        }
        paths.insert(item, entry);
    }
    pointTexts.make();
    for (QGraphicsItem *item : qAsConst(items)) {
        if (!item->isVisible())
            continue;
        const int type = item->type();
        if (type == ItemTypePath || type == ItemTypeVertex || type == ItemTypeTable) {
            const auto *pathItem = dynamic_cast<const DGPathItem *>(item);
            if (!pathItem)
                continue;
            const PathEntry &entry = paths[item];
            const PathObject &object = entry.object;
            const QString element = elementOf(object);
            const bool writable = type == ItemTypeTable
                    ? !object.path.isEmpty() && IwbFormat::isFinite(object.path)
                    : isWritable(element, object);
            if (!writable)
                continue; // no element, so no link wrapper either
            const bool linked = openLinks(stream, pathItem, dir, &errors);
            writePathObject(stream, objectId(item), object, entry.placement, dir, &errors,
                            entry.points >= 0 ? &pointTexts.text(size_t(entry.points)) : nullptr);
            if (linked)
                stream.writeEndElement();
            continue;
        }
        if (type != ItemTypePixmap && type != ItemTypeText && type != ItemTypeSound
            && type != ItemTypeVideo)
            continue; // groups are records after the pages; handles and instruments are not saved
        const DCustomItem *object = DCustomItem::fromItem(item);
        if (!object)
            continue;
        const QString id = objectId(item);
        const Placement placement = placementOf(item);
        const auto *gif = type == ItemTypePixmap ? dynamic_cast<const DGGifItem *>(item) : nullptr;
        const auto *picture =
                type == ItemTypePixmap ? dynamic_cast<const DGPixmapItem *>(item) : nullptr;
        if (type == ItemTypePixmap && !gif && !picture)
            continue;
        const bool linked = openLinks(stream, object, dir, &errors);
        if (gif)
            writeAnimation(stream, id, *gif, placement, dir, &errors);
        else if (picture)
            writePicture(stream, id, *picture, placement, dir, &errors);
        else if (const auto *text = dynamic_cast<const DGTextItem *>(item))
            writeText(stream, id, *text, placement);
        else if (const auto *sound = dynamic_cast<const DGSoundItem *>(item))
            writeSound(stream, id, *sound, placement, dir, &errors);
        else if (const auto *video = dynamic_cast<const DGVideoItem *>(item))
            writeVideo(stream, id, *video, placement, dir, &errors);
        if (linked)
            stream.writeEndElement();
    }
    stream.writeEndElement();
    if (!numbering().dryRun)
        page.setModified(false);
    return errors;
}

} // namespace PageWriter
