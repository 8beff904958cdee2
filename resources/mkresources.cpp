// Build-time tool: turns the source resource trees into the tree that rcc compiles.
// Usage: mkresources <out.qrc> <outDir> <tree> [<tree> ...]
//                    [--gallery <manifest> <drawnDir> <clipArtDir> <galleryDir>]
// The gallery pictures (PicRes/) are listed in a manifest: each is either one of our own drawings
// or a picture from Debian's public-domain clip art, and both are rendered the same way.
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <QTextStream>
#include <QtMath>

#include <cstdio>

namespace {

const QStringList kRenderedSuffixes = { QStringLiteral(".png"), QStringLiteral(".jpg"),
                                        QStringLiteral(".bmp"), QStringLiteral(".gif") };

bool isDrawnBitmap(const QString &relative)
{
    if (!relative.endsWith(QLatin1String(".svg")))
        return false;
    const QString inner = relative.chopped(4);
    for (const QString &suffix : kRenderedSuffixes) {
        if (inner.endsWith(suffix, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool render(const QString &svgFile, const QString &target)
{
    QSvgRenderer renderer(svgFile);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "mkresources: %s is not a valid SVG\n", qPrintable(svgFile));
        return false;
    }
    const QSize size = renderer.defaultSize();
    const bool opaque =
            target.endsWith(QLatin1String(".jpg")) || target.endsWith(QLatin1String(".bmp"));
    QImage image(size, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(opaque ? Qt::white : Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image.save(target);
}

// Gallery pictures are inserted unscaled onto the page, so they share one size whatever their
// source: the drawing is cut to what it draws and fitted to kGalleryLongSide, keeping a thin
// transparent margin so that nothing touches the picture's edge.
constexpr int kGalleryLongSide = 320;
constexpr int kGalleryMargin = 6;
constexpr int kProbeLongSide = 512;

QRect drawnArea(const QImage &image)
{
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) > 8) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

bool renderGalleryPicture(const QString &svgFile, const QString &target)
{
    QSvgRenderer renderer(svgFile);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "mkresources: %s is not a valid SVG\n", qPrintable(svgFile));
        return false;
    }
    QSizeF canvas = renderer.viewBoxF().size();
    if (canvas.isEmpty())
        canvas = renderer.defaultSize();
    if (canvas.isEmpty()) {
        std::fprintf(stderr, "mkresources: %s has no size\n", qPrintable(svgFile));
        return false;
    }
    // A first pass at a generous size finds where the drawing lies inside its canvas.
    const QSizeF probeSize = canvas.scaled(kProbeLongSide, kProbeLongSide, Qt::KeepAspectRatio);
    QImage probe(probeSize.toSize(), QImage::Format_ARGB32);
    probe.fill(Qt::transparent);
    QPainter probePainter(&probe);
    renderer.render(&probePainter, QRectF(QPointF(0, 0), probeSize));
    probePainter.end();
    const QRect area = drawnArea(probe);
    if (area.isEmpty()) {
        std::fprintf(stderr, "mkresources: %s draws nothing\n", qPrintable(svgFile));
        return false;
    }
    const qreal scale =
            qreal(kGalleryLongSide - 2 * kGalleryMargin) / qMax(area.width(), area.height());
    const QSize size(qCeil(area.width() * scale) + 2 * kGalleryMargin,
                     qCeil(area.height() * scale) + 2 * kGalleryMargin);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(kGalleryMargin - area.left() * scale, kGalleryMargin - area.top() * scale);
    painter.scale(scale, scale);
    painter.setClipRect(QRectF(area).adjusted(-1, -1, 1, 1));
    renderer.render(&painter, QRectF(QPointF(0, 0), probeSize));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32).save(target, "PNG", 0);
}

struct GalleryEntry
{
    QString category;
    QString name;
    QString source;
};

// One picture a line: category, file name (without ".png") and source, separated by tabs.
// A source is "drawn:<path>" under our own drawings or "openclipart:<path>" under the clip art.
bool readManifest(const QString &manifest, const QString &drawnDir, const QString &clipArtDir,
                  QList<GalleryEntry> *entries)
{
    QFile file(manifest);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "mkresources: cannot read %s\n", qPrintable(manifest));
        return false;
    }
    QSet<QString> names;
    int lineNumber = 0;
    while (!file.atEnd()) {
        ++lineNumber;
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        const QString where = QStringLiteral("%1:%2").arg(manifest).arg(lineNumber);
        if (fields.size() != 3) {
            std::fprintf(stderr, "mkresources: %s: expected category, name and source\n",
                         qPrintable(where));
            return false;
        }
        GalleryEntry entry{ fields.at(0), fields.at(1), fields.at(2) };
        if (entry.source.startsWith(QLatin1String("drawn:"))) {
            entry.source = QDir(drawnDir).filePath(entry.source.mid(6));
        } else if (entry.source.startsWith(QLatin1String("openclipart:"))) {
            entry.source = QDir(clipArtDir).filePath(entry.source.mid(12));
        } else {
            std::fprintf(stderr, "mkresources: %s: unknown source %s\n", qPrintable(where),
                         qPrintable(entry.source));
            return false;
        }
        const QString key = entry.category + QLatin1Char('/') + entry.name;
        if (names.contains(key)) {
            std::fprintf(stderr, "mkresources: %s: %s named twice\n", qPrintable(where),
                         qPrintable(key));
            return false;
        }
        names.insert(key);
        entries->append(entry);
    }
    return true;
}

bool copyFile(const QString &source, const QString &target)
{
    QFile::remove(target);
    return QFile::copy(source, target);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr,
                     "usage: mkresources <out.qrc> <outDir> <tree>... [--gallery <manifest> "
                     "<drawnDir> <clipArtDir> <galleryDir>]\n");
        return 2;
    }
    const QString qrcPath = args.at(1);
    const QDir outDir(args.at(2));
    QStringList trees = args.mid(3);
    QStringList entries;
    const int galleryOption = trees.indexOf(QStringLiteral("--gallery"));
    if (galleryOption >= 0) {
        if (trees.size() < galleryOption + 5) {
            std::fprintf(stderr,
                         "mkresources: --gallery needs <manifest> <drawnDir> <clipArtDir> "
                         "<galleryDir>\n");
            return 2;
        }
        const QStringList gallery = trees.mid(galleryOption + 1, 4);
        trees.erase(trees.begin() + galleryOption, trees.begin() + galleryOption + 5);
        QList<GalleryEntry> pictures;
        if (!readManifest(gallery.at(0), gallery.at(1), gallery.at(2), &pictures))
            return 1;
        const QString galleryDir = gallery.at(3);
        for (const GalleryEntry &picture : qAsConst(pictures)) {
            const QString relative = galleryDir + QLatin1Char('/') + picture.category
                    + QLatin1Char('/') + picture.name + QLatin1String(".png");
            const QString target = outDir.filePath(relative);
            QDir().mkpath(QFileInfo(target).path());
            // Rendering is the slow part of the build: a picture is drawn again only when its
            // source, the manifest (which may name another source) or this tool changed.
            const QDateTime made = QFileInfo(target).lastModified();
            if (!QFileInfo::exists(target) || made < QFileInfo(picture.source).lastModified()
                || made < QFileInfo(gallery.at(0)).lastModified()
                || made < QFileInfo(QCoreApplication::applicationFilePath()).lastModified()) {
                if (!renderGalleryPicture(picture.source, target)) {
                    std::fprintf(stderr, "mkresources: cannot make %s\n", qPrintable(target));
                    return 1;
                }
            }
            entries << relative;
        }
    }
    for (const QString &treePath : qAsConst(trees)) {
        const QDir tree(treePath);
        if (!tree.exists())
            continue;
        QDirIterator it(tree.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            QString relative = tree.relativeFilePath(source);
            const bool drawn = isDrawnBitmap(relative);
            if (drawn)
                relative.chop(4);
            const QString target = outDir.filePath(relative);
            QDir().mkpath(QFileInfo(target).path());
            if (!(drawn ? render(source, target) : copyFile(source, target))) {
                std::fprintf(stderr, "mkresources: cannot make %s\n", qPrintable(target));
                return 1;
            }
            entries << relative;
        }
    }
    entries.sort();
    QFile qrc(qrcPath);
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    QTextStream out(&qrc);
    out << "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    const QString prefix = QDir(QFileInfo(qrcPath).path()).relativeFilePath(outDir.path());
    for (const QString &entry : qAsConst(entries))
        out << "  <file alias=\"" << entry << "\">" << prefix << '/' << entry << "</file>\n";
    out << "</qresource>\n</RCC>\n";
    return 0;
}
