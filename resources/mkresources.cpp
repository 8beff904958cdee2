// Build-time tool: turns the source resource trees into the tree that rcc compiles.
// Usage: mkresources <out.qrc> <outDir> <tree> [<tree> ...]
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

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
    const bool opaque = target.endsWith(QLatin1String(".jpg")) || target.endsWith(QLatin1String(".bmp"));
    QImage image(size, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(opaque ? Qt::white : Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image.save(target);
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
        std::fprintf(stderr, "usage: mkresources <out.qrc> <outDir> <tree>...\n");
        return 2;
    }
    const QString qrcPath = args.at(1);
    const QDir outDir(args.at(2));
    QStringList entries;
    for (int i = 3; i < args.size(); ++i) {
        const QDir tree(args.at(i));
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
