#include "pagewriter.h"

#include "boardtypes.h"
#include "dgpathcurveitem.h"
#include "dgpathitem.h"
#include "dgpathtableitem.h"
#include "dpage.h"

#include "document/iwbformat.h"
#include "document/mediacopy.h"
#include "document/mediapath.h"
#include "shell/btmenus.h"

#include <QDebug>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QXmlStreamWriter>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace PageWriter {

namespace {

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

// "fill" and "pathFile" of a filled shape, and the copy of a texture fill's picture that lets
// the texture travel with the document ("pathFileCopy", which older readers pass over).
void writeFill(QXmlStreamWriter &stream, const PathObject &object, const QString &dir,
               QStringList *errors)
{
    if (object.fillType == ItemFillNone)
        return;
    stream.writeAttribute(QStringLiteral("fill"), IwbFormat::colour(object.fillColour));
    if (object.fillType != ItemFillTexture)
        return;
    stream.writeAttribute(QStringLiteral("pathFile"), object.fillFile);
    if (!MediaPath::isRegularFile(object.fillFile))
        return; // a missing texture is not an error: the shape keeps its fill colour
    const MediaCopy::Copied copied =
            MediaCopy::copyInto(object.fillFile, dir + QStringLiteral("/images"));
    if (copied.ok)
        stream.writeAttribute(QStringLiteral("pathFileCopy"),
                              QStringLiteral("images/") + copied.name);
    else if (errors)
        *errors << copied.error;
}

bool saveImage(const QImage &image, const QString &file, QStringList *errors)
{
    if (!image.isNull() && image.save(file, "PNG"))
        return true;
    if (errors)
        *errors << file + QStringLiteral(": the picture could not be written");
    return false;
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
    const int cells = std::max(0, object.rows) * std::max(0, object.columns);
    for (int cell = 0; cell < cells; ++cell) {
        stream.writeEmptyElement(QStringLiteral("svg:cell"));
        stream.writeAttribute(QStringLiteral("text"), QString());
    }
    stream.writeEndElement();
}

PathObject pathObjectOf(const DGPathItem &item)
{
    PathObject object;
    object.itemType = item.type();
    object.path = item.path();
    object.pen = item.pen();
    object.itemBounds = item.boundingRect();
    object.fillFile = item.fillFileName();
    object.fillColour = item.getGradColor();
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
    const QBrush brush = page.backgroundBrush();
    if (page.pageType() == PageTypeImage || page.pageType() == PageTypeCapture) {
        const QImage picture = brush.textureImage();
        const QString name = QStringLiteral("images/") + id + QStringLiteral(".png");
        saveImage(picture, dir + QLatin1Char('/') + name, errors);
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
    QColor colour = brush.color();
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
        qDebug() << "PageWriter: linked file not found, not copied:" << path;
        return path;
    }
    const MediaCopy::Copied copied = MediaCopy::copyInto(path, dir + QStringLiteral("/document"));
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

} // namespace

QString objectId(const QGraphicsItem *item)
{
    return QStringLiteral("obj") + QString::number(quintptr(item));
}

QString linkId(const DCustomItem *object)
{
    return QStringLiteral("lnk") + QString::number(quintptr(object));
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

bool writePathObject(QXmlStreamWriter &stream, const QString &id, const PathObject &object,
                     const Placement &placement, const QString &dir, QStringList *errors)
{
    if (object.itemType == ItemTypeTable) {
        if (object.path.isEmpty() || !IwbFormat::isFinite(object.path))
            return false;
        writeTable(stream, id, object, placement);
        return true;
    }
    const QString element = pathElementName(object.kind);
    if (!isWritable(element, object))
        return false;
    const QRectF box = object.path.boundingRect();
    const QPointF at = placement.position;
    stream.writeEmptyElement(element);
    stream.writeAttribute(QStringLiteral("id"), id);
    const Layout layout = layoutOf(element);
    if (layout == Layout::Poly)
        stream.writeAttribute(QStringLiteral("type"), QStringLiteral("table"));
    stream.writeAttribute(QStringLiteral("points"), IwbFormat::points(object.path, at));
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
            saveImage(texture.toImage(), dir + QLatin1Char('/') + name, errors);
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

QStringList writePage(DPage &page, QXmlStreamWriter &stream, const QString &dir, int n)
{
    QStringList errors;
    stream.writeStartElement(QStringLiteral("svg:page"));
    stream.writeAttribute(QStringLiteral("id"), QStringLiteral("page") + QString::number(n));
    writeBackground(page, stream, dir, n, &errors);

    // Lowest z first; of equal z, the one drawn on top first (a stable sort of the top-down list).
    QList<QGraphicsItem *> items = page.items(Qt::DescendingOrder);
    std::stable_sort(items.begin(), items.end(),
                     [](QGraphicsItem *a, QGraphicsItem *b) { return a->zValue() < b->zValue(); });
    for (QGraphicsItem *item : qAsConst(items)) {
        if (!item->isVisible())
            continue;
        const int type = item->type();
        if (type != ItemTypePath && type != ItemTypeVertex && type != ItemTypeTable)
            continue; // groups are records after the pages; handles and instruments are not saved
        const auto *pathItem = dynamic_cast<const DGPathItem *>(item);
        if (!pathItem)
            continue;
        const PathObject object = pathObjectOf(*pathItem);
        const QString element = pathElementName(object.kind);
        const bool writable = type == ItemTypeTable
                ? !object.path.isEmpty() && IwbFormat::isFinite(object.path)
                : isWritable(element, object);
        if (!writable)
            continue; // no element, so no link wrapper either
        const bool linked = openLinks(stream, pathItem, dir, &errors);
        writePathObject(stream, objectId(item), object, placementOf(item), dir, &errors);
        if (linked)
            stream.writeEndElement();
    }
    stream.writeEndElement();
    page.setModified(false);
    return errors;
}

} // namespace PageWriter
