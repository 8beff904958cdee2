#include "iwbreader.h"

#include "dpageslist.h"
#include "iwbarchive.h"
#include "iwbformat.h"
#include "iwblimits.h"
#include "iwbxml.h"
#include "mediapath.h"

#include "board/boardtypes.h"
#include "board/dcustomitem.h"
#include "board/dggifitem.h"
#include "board/dgitemgroup.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpathitem.h"
#include "board/dgpathtableitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgsounditem.h"
#include "board/dgtextitem.h"
#include "board/dgvideoitem.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "board/pagewriter.h"
#include "board/shapefill.h"
#include "pictures/heldpictures.h"
#include "pictures/picturedecoders.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QScopeGuard>
#include <QSet>
#include <QThreadPool>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

using IwbFormat::readInteger;
using IwbFormat::readNumber;
using IwbFormat::readTruncated;

// The name of the file an href names, relative to the document's folder ("/videos/a.avi" and
// "./images/a.png" name "videos/a.avi" and "images/a.png").
QString relativeName(const QString &href)
{
    const QString clean = QDir::cleanPath(href);
    int slashes = 0;
    while (slashes < clean.size() && clean.at(slashes) == QLatin1Char('/'))
        ++slashes;
    return clean.mid(slashes);
}

QString attribute(const IwbXml &xml, const char *name)
{
    return xml.attribute(name);
}

bool named(const IwbXml &xml, const char *name)
{
    return xml.name() == QLatin1String(name);
}

// The half arcs of the solids, as the board draws them: each its own sub-path.
void arc(QPainterPath &path, const QRectF &rect, qreal start, qreal sweep)
{
    path.arcMoveTo(rect, start);
    path.arcTo(rect, start, sweep);
}

// Points of a cube as the board draws it (see ShapeGeometry): 9 + 2 + 3 * 2.
constexpr int kBoardCubePoints = 17;

// The integer rectangle of the solids' readers (QRectF::toRect rounding).
struct IntBox
{
    int L, T, R, B, W, H;
};

IntBox intBox(const IwbXml &xml)
{
    const QRect r =
            QRectF(readNumber(attribute(xml, "x")), readNumber(attribute(xml, "y")),
                   readNumber(attribute(xml, "width")), readNumber(attribute(xml, "height")))
                    .toRect();
    return { r.left(), r.top(), r.right(), r.bottom(), r.width(), r.height() };
}

// --- The rich text of a "textarea" ---

const char kHead[] =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" "
        "\"http://www.w3.org/TR/REC-html40/strict.dtd\">\n"
        "<html><head><meta name=\"qrichtext\" content=\"1\" /><style type=\"text/css\">\n"
        "p, li { white-space: pre-wrap; }\n"
        "</style></head>";
const char kParagraphStyle[] =
        " style=\" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; "
        "-qt-block-indent:0; text-indent:0px;\">";

// Stored runs are plain text: they go into the HTML escaped, so "<", "&" and ">" stay text,
// and a line break inside a paragraph is a break again.
QString htmlText(const QString &text)
{
    return text.toHtmlEscaped().replace(QChar(QChar::LineSeparator), QLatin1String("<br />"));
}

// A value placed inside a style attribute: no quote may end it.
QString styleValue(const QString &value)
{
    QString safe = value.toHtmlEscaped();
    safe.remove(QLatin1Char('\''));
    return safe;
}

QString paragraph(const QString &align)
{
    QString html = QStringLiteral("<p ");
    if (!align.isEmpty())
        html += QStringLiteral("align=\"") + styleValue(align) + QLatin1Char('"');
    return html + QLatin1String(kParagraphStyle);
}

} // namespace

IwbReader::IwbReader(DPagesList &list, const QString &folder, const QString &previous)
    : m_list(list), m_folder(folder), m_previous(previous)
{
}

IwbReader::~IwbReader() = default;

QString IwbReader::pictureName(const QString &href)
{
    return QFileInfo(href).fileName();
}

IwbReader::Picture IwbReader::picture(const QString &file)
{
    Picture read;
    if (file.isEmpty())
        return read;
    const QString key = keptPath(file);
    // Named again: the picture read the first time, decoded once however often it is named.
    const auto shown = m_shown.constFind(key);
    if (shown != m_shown.constEnd())
        return shown.value();
    PictureReading::Picture here = PictureReading::read(m_settled ? key : file, m_turn);
    read.probe = here.probe;
    if (!here.image.isNull())
        read.pixmap = QPixmap::fromImage(std::move(here.image));
    // A file not yet where it is kept may be there the next time.
    if (read.probe.outcome != PictureReading::Outcome::Unreadable || m_settled || !m_unpacking)
        m_shown.insert(key, read);
    return read;
}

std::shared_ptr<HeldPicture> IwbReader::heldPicture(const QString &file, const QString &name,
                                                    QSize size, int page)
{
    const QString key = keptPath(file);
    std::shared_ptr<HeldPicture> &held = m_held[key];
    if (!held) {
        held = HeldPicture::ofFile(key, name, size);
        m_heldList.push_back({ held, page });
    }
    return held;
}

std::shared_ptr<HeldPicture> IwbReader::heldPicture(const QString &file, const QString &name,
                                                    const PictureReading::Probe &probe, int page,
                                                    QSizeF objectSize)
{
    const QString key = keptPath(file);
    std::shared_ptr<HeldPicture> &held = m_held[key];
    if (!held) {
        held = HeldPicture::ofFile(key, name, probe, objectSize);
        m_heldList.push_back({ held, page });
    }
    return held;
}

QString IwbReader::localFile(const QString &dir, const QString &href)
{
    if (href.isEmpty())
        return QString();
    if (!m_unpacking || dir != m_folder)
        return MediaPath::resolveHref(dir, href);
    m_unpacking->waitUnpacked(relativeName(href));
    return MediaPath::resolveHref(readFolder(), href);
}

QString IwbReader::keptPath(const QString &file) const
{
    const QString now = readFolder();
    if (now != m_folder && file.startsWith(now + QLatin1Char('/')))
        return m_folder + file.mid(now.size());
    return file;
}

bool IwbReader::settleFiles()
{
    if (!m_unpacking || m_settled)
        return !m_refused;
    m_settled = true;
    if (m_unpacking->settle())
        return true;
    m_refused = true;
    if (m_xml)
        m_xml->interrupt(QStringLiteral("the document is refused"));
    return false;
}

DPage *IwbReader::page() const
{
    return m_list.getCurPage();
}

void IwbReader::registerObject(const QString &id, QGraphicsItem *item)
{
    if (item && (!m_references || m_references->contains(id)))
        m_ids.insert(id, item);
}

QString IwbReader::attachment(const QString &storedPath) const
{
    if (storedPath.isEmpty())
        return QString();
    const QString path = m_previous.isEmpty()
            ? storedPath
            : IwbArchive::rebasePath(storedPath, m_previous, m_folder);
    return MediaPath::resolveAttachment(m_folder, path);
}

void IwbReader::makeDefaultPage()
{
    m_list.newPage(BtMenus::btColorPage, true);
    if (DPage *current = page())
        current->setPageBackgroundColor(QColor(250, 250, 250));
    m_pageMade = true;
}

void IwbReader::pageFirst()
{
    // An object before any background, or while the list has no page at all (a page element
    // whose background is missing), lands on a default page rather than nowhere.
    if (!m_pageMade || !page())
        makeDefaultPage();
}

const IwbReader::Transform &IwbReader::shapeTransform(const QString &text)
{
    if (text != m_shapeTransform.text)
        m_shapeTransform = { text, IwbFormat::readRotation(text), IwbFormat::readScale(text) };
    return m_shapeTransform;
}

bool IwbReader::isReadable(const IwbXml &xml)
{
    const QStringRef name = xml.name();
    const bool background = (name == QLatin1String("rect") || name == QLatin1String("image"))
            && attribute(xml, "transform").isEmpty();
    if (background)
        return true; // its numbers are not used
    static const char *const kNumbers[] = { "x",  "y",  "width", "height", "cx", "cy", "r",
                                            "rx", "ry", "x1",    "y1",     "x2", "y2", "gradH" };
    for (const char *number : kNumbers) {
        if (!IwbFormat::isReadable(attribute(xml, number)))
            return false;
    }
    const auto within = [&xml](const char *name, double limit) {
        const QString text = attribute(xml, name);
        return IwbFormat::isReadable(text) && std::abs(readNumber(text)) <= limit;
    };
    if (!within("stroke-width", IwbLimits::kMaxPenWidth)
        || !within("font-size", IwbLimits::kMaxFontPoints))
        return false;
    const QString transform = attribute(xml, "transform");
    if (!transform.isEmpty() && std::abs(shapeTransform(transform).scale) > IwbLimits::kMaxScale)
        return false;
    if (name == QLatin1String("polyline") || name == QLatin1String("polygon")) {
        bool unreadable = false;
        xml.polyline(&unreadable);
        return !unreadable;
    }
    return IwbFormat::arePointsReadable(attribute(xml, "points"));
}

bool IwbReader::read(IwbXml &xml)
{
    m_pageMade = false;
    m_xml = &xml;
    m_references = xml.references();
    static const char *const kObjects[] = {
        "roundrect", "cone",     "cube",     "cylinder", "sphere", "video",
        "text",      "textarea", "polyline", "polygon",  "line",   "ellipse",
        "circle",    "table",    "sound",    "rect",     "image",
    };
    int leftOut = 0;
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (m_turn)
            m_turn();
        const QStringRef name = xml.name();
        bool object = false;
        for (const char *objectName : kObjects)
            object = object || name == QLatin1String(objectName);
        if (object && !isReadable(xml)) {
            // As a file cut short: the rest is read, and the document is not taken for the
            // file (a save would write it without this object). Its link goes with it.
            if (leftOut++ == 0)
                m_error = QStringLiteral("line %1, <%2>: a number that cannot be read")
                                  .arg(xml.lineNumber())
                                  .arg(name);
            m_link = Link();
            xml.skipCurrentElement();
            continue;
        }
        bool skip = true;
        if (name == QLatin1String("page")) {
            if (!attribute(xml, "id").isEmpty())
                m_pageMade = false;
            skip = false;
        } else if (name == QLatin1String("rect")) {
            createRectIWB(xml, false);
        } else if (name == QLatin1String("image")) {
            createImageIWB(m_folder, xml);
        } else if (name == QLatin1String("element")) {
            createLockIWB(xml);
        } else if (name == QLatin1String("group")) {
            createGroupIWB(xml);
            skip = false;
        } else {
            if (!object && name != QLatin1String("a"))
                continue; // unknown: its children are visited as they come
            pageFirst();
            if (name == QLatin1String("roundrect"))
                createRoundRectIWB(xml);
            else if (name == QLatin1String("cone"))
                createConeIWB(xml);
            else if (name == QLatin1String("cube"))
                createCubeIWB(xml);
            else if (name == QLatin1String("cylinder"))
                createCylinderIWB(xml);
            else if (name == QLatin1String("sphere"))
                createBallIWB(xml);
            else if (name == QLatin1String("video"))
                createVideoIWB(m_folder, xml);
            else if (name == QLatin1String("sound"))
                createSoundIWB(m_folder, xml);
            else if (name == QLatin1String("polyline"))
                createPolylineIWB(m_folder, xml, false);
            else if (name == QLatin1String("polygon"))
                createPolylineIWB(m_folder, xml, true);
            else if (name == QLatin1String("line"))
                createLineIWB(xml);
            else if (name == QLatin1String("ellipse"))
                createEllipseIWB(xml);
            else if (name == QLatin1String("circle"))
                createCircleIWB(xml);
            else if (name == QLatin1String("table"))
                createTableIWB(xml);
            if (name == QLatin1String("text")) {
                createTextIWB(xml);
                skip = false;
            } else if (name == QLatin1String("textarea")) {
                createTextareaIWB(xml);
                skip = false;
            } else if (name == QLatin1String("a")) {
                createLinkIWB(xml);
                skip = false;
            }
        }
        if (skip && xml.isStartElement())
            xml.skipCurrentElement();
    }
    // The walk is through: the files take their place (unless it was stopped short).
    if (!xml.isInterrupted())
        settleFiles();
    m_xml = nullptr;
    if (xml.hasError()) {
        m_error = xml.errorString() + QStringLiteral(" (line ") + QString::number(xml.lineNumber())
                + QLatin1Char(')');
        return false;
    }
    if (leftOut > 0) {
        m_error += QStringLiteral(" (%1 objects left out)").arg(leftOut);
        return false;
    }
    return true;
}

// --- Shapes ---

QString IwbReader::textureFile(IwbXml &xml)
{
    // The shape keeps the texture's path: its file must lie in the document's folder.
    if (!settleFiles())
        return QString();
    if (m_relativeTextures) {
        const QString source = attribute(xml, "pathFile");
        return source.isEmpty() ? QString() : MediaPath::resolveSource(m_folder, source);
    }
    // The copy a saved document carries; the picture the shape was filled from is named too,
    // but only a file inside the document is read.
    const QString copy = attribute(xml, "pathFileCopy");
    if (!copy.isEmpty())
        return MediaPath::resolveHref(m_folder, copy);
    const QString original = attribute(xml, "pathFile");
    if (!m_previous.isEmpty()) {
        const QString rebased = IwbArchive::rebasePath(original, m_previous, m_folder);
        if (rebased != original)
            return MediaPath::resolveHref(m_folder, rebased.mid(m_folder.size() + 1));
    }
    return QString();
}

QBrush IwbReader::textureBrush(const QString &file, const QString &named)
{
    const Picture read = picture(file);
    m_pictures.noteRead(read.probe, pictureName(named), m_list.getCurPageNum());
    QBrush brush;
    if (read.pixmap.isNull())
        return brush;
    brush.setTexture(read.pixmap);
    // Taken smaller, its pattern keeps the size it has in the lesson.
    if (read.probe.outcome == PictureReading::Outcome::Smaller && read.probe.size.isValid())
        brush.setTransform(
                QTransform::fromScale(qreal(read.probe.size.width()) / read.pixmap.width(),
                                      qreal(read.probe.size.height()) / read.pixmap.height()));
    return brush;
}

QGraphicsItem *IwbReader::finishShape(IwbXml &xml, QPainterPath path, BtMenus::btType kind,
                                      Fill fill, bool overridePoints, const QPointF &pointOffset,
                                      bool polyPen, const QString &dir)
{
    DPage *current = page();
    if (!current)
        return nullptr;
    const QString id = attribute(xml, "id");
    const QString fillText = attribute(xml, "fill");
    QColor fillColour = fillText.isEmpty() ? QColor() : IwbFormat::readColour(fillText);
    const QString fillOpacity = attribute(xml, "fill-opacity");
    if (m_fillOpacityIsAlpha && fillColour.isValid() && !fillOpacity.isEmpty())
        fillColour.setAlpha(qBound(0, readInteger(fillOpacity), 255));
    QColor strokeColour = IwbFormat::readColour(attribute(xml, "stroke"));
    strokeColour.setAlpha(IwbFormat::readOpacity(attribute(xml, "stroke-opacity"), polyPen));
    const Qt::PenStyle style = IwbFormat::readPenStyle(attribute(xml, "stroke-dasharray"));
    const QString widthText = attribute(xml, "stroke-width");
    const int width = polyPen ? readTruncated(widthText) : readInteger(widthText);

    if (overridePoints) {
        const QList<QPointF> points = IwbFormat::readPoints(attribute(xml, "points"), pointOffset);
        for (int i = 0; i < path.elementCount() && i < points.size(); ++i)
            path.setElementPositionAt(i, points.at(i).x(), points.at(i).y());
    }
    if (path.elementCount() == 0 || !IwbFormat::isFinite(path))
        return nullptr; // nothing to draw: no object, and the pending link waits for the next

    // Checked before an IWB read (IwbLimits); bounded again for the UBZ pages, which share this.
    QPen pen(strokeColour, qBound(0, width, IwbLimits::kMaxPenWidth), style, Qt::RoundCap,
             Qt::RoundJoin);
    if (polyPen) {
        const QString href = attribute(xml, "xlink:href");
        const QBrush texture =
                textureBrush(href.isEmpty() ? QString() : localFile(dir, href), href);
        if (texture.style() == Qt::TexturePattern) {
            QBrush ink(strokeColour, texture.texture());
            ink.setTransform(texture.transform());
            pen.setBrush(ink);
        }
    }
    const Transform &placed = shapeTransform(attribute(xml, "transform"));
    DGPathItem *item =
            current->addCurveItem(path, pen, placed.rotation, kind, BtMenus::fnPathSceneCoords,
                                  QPointF(0, 0), placed.scale, QTransform(), false);
    if (!item)
        return nullptr;
    auto *curve = dynamic_cast<DGPathCurveItem *>(item);
    const QString fillType = attribute(xml, "fillType");
    if (fill == Fill::BrushOnly) {
        if (fillColour.isValid() || !fillText.isEmpty())
            item->setBrush(QBrush(fillColour, Qt::SolidPattern));
    } else if (fill == Fill::Full && curve) {
        if (fillType == QLatin1String("2")) {
            // Over the shape's box, top to bottom, as the shape tool draws it.
            item->setBrush(ShapeFill::boxGradient(fillColour, strokeColour));
            curve->m_fillType = ItemFillGradient;
            item->setGradColor(fillColour);
        } else if (fillType == QLatin1String("3")) {
            const QString file = textureFile(xml);
            curve->m_fillType = ItemFillTexture;
            item->setFillFileName(file);
            // A missing picture (or one left out) leaves no brush rather than an empty texture.
            item->setBrush(textureBrush(file, file));
            // The colour the writer keeps beside the texture.
            if (fillColour.isValid())
                item->setGradColor(fillColour);
        } else if (!fillText.isEmpty()) {
            curve->m_fillType = ItemFillSolid;
            item->setBrush(QBrush(fillColour, Qt::SolidPattern));
            item->setGradColor(fillColour);
        }
    }
    asignLinkIWB(item);
    registerObject(id, item);
    return item;
}

void IwbReader::createRectIWB(IwbXml &xml, bool makePage)
{
    const QString transform = attribute(xml, "transform");
    if (transform.isEmpty() || makePage) {
        if (makePage) {
            makeDefaultPage();
            return;
        }
        const QString opacity = attribute(xml, "fill-opacity");
        if (!opacity.isEmpty() && readInteger(opacity) == 0) {
            m_list.newPage(BtMenus::btTransparentPage, true);
        } else {
            m_list.newPage(BtMenus::btColorPage, true);
            if (DPage *current = page()) {
                const QColor colour = IwbFormat::readColour(attribute(xml, "fill"));
                current->setPageBackgroundColor(colour.isValid() ? colour : QColor(Qt::white));
            }
        }
        m_pageMade = true;
        return;
    }
    pageFirst();
    const float x = readNumber(attribute(xml, "x"));
    const float y = readNumber(attribute(xml, "y"));
    QPainterPath path;
    path.moveTo(x, y);
    path.addRect(QRectF(x, y, readNumber(attribute(xml, "width")),
                        readNumber(attribute(xml, "height"))));
    finishShape(xml, path, BtMenus::btRectangle, Fill::Full, true);
}

void IwbReader::createRoundRectIWB(IwbXml &xml)
{
    const float x = readNumber(attribute(xml, "x"));
    const float y = readNumber(attribute(xml, "y"));
    const float width = readNumber(attribute(xml, "width"));
    const float height = readNumber(attribute(xml, "height"));
    const int k = int(0.25f * height);
    int across = k;
    int down = k;
    if (width > height)
        across = int(height * k / width);
    else
        down = height > 0 ? int(width * k / height) : 0; // a flat one has no corners to round
    QPainterPath path;
    path.moveTo(x, y);
    path.addRoundedRect(QRectF(x, y, width, height), across, down, Qt::RelativeSize);
    finishShape(xml, path, BtMenus::btRoundRect, Fill::Full, true);
}

void IwbReader::createConeIWB(IwbXml &xml)
{
    const IntBox b = intBox(xml);
    const QRectF base(b.L, b.B - b.H / 4, b.R - b.L, b.H / 4);
    QPainterPath path;
    path.moveTo(b.L, b.B - b.H / 8);
    path.lineTo((b.L + b.R) / 2, b.T);
    path.lineTo(b.R, b.B - b.H / 8);
    arc(path, base, 180, 180);
    path.addEllipse(QRectF(base.center().x() - 1, base.center().y() - 1, 2, 2));
    QPainterPath back;
    arc(back, base, 0, 180);
    path.addPath(back);
    finishShape(xml, path, BtMenus::btCone, Fill::Full, true);
}

void IwbReader::createCubeIWB(IwbXml &xml)
{
    const QList<QPointF> p = IwbFormat::readPoints(attribute(xml, "points"));
    // The visible edges need P0 to P(n - 7); a cube of fewer points is no cube at all.
    if (p.size() < 8)
        return;
    QPainterPath path;
    if (p.size() == kBoardCubePoints) {
        // The board's own cube: nine points round the front and top, one more visible edge and
        // three hidden ones, each its own sub-path. Rebuilt as drawn, it is written back with
        // the same points, save after save.
        path.moveTo(p.at(0));
        for (int i = 1; i < 9; ++i)
            path.lineTo(p.at(i));
        for (int from = 9; from < kBoardCubePoints; from += 2) {
            path.moveTo(p.at(from));
            path.lineTo(p.at(from + 1));
        }
    } else {
        path.moveTo(p.at(0));
        for (int i = 1; i <= p.size() - 7; ++i)
            path.lineTo(p.at(i));
        if (p.size() > 13) {
            for (int from : { 1, 7, 5 }) {
                path.moveTo(p.at(from));
                path.lineTo(p.at(13));
            }
        }
    }
    finishShape(xml, path, BtMenus::btCube, Fill::Full, false);
}

void IwbReader::createCylinderIWB(IwbXml &xml)
{
    const IntBox b = intBox(xml);
    const int d = b.H / 8;
    const QRectF bottom(b.L, b.B - d, b.R - b.L, 2 * d);
    QPainterPath path;
    path.addEllipse(QRectF(b.L, b.T - d, b.R - b.L, 2 * d));
    arc(path, bottom, 180, 180);
    path.moveTo(b.L, b.T);
    path.lineTo(b.L, b.B);
    path.moveTo(b.R, b.T);
    path.lineTo(b.R, b.B);
    QPainterPath back;
    arc(back, bottom, 0, 180);
    path.addPath(back);
    finishShape(xml, path, BtMenus::btCylinder, Fill::Full, true);
}

void IwbReader::createBallIWB(IwbXml &xml)
{
    const IntBox b = intBox(xml);
    const int d = b.H / 8;
    const int cx = (b.L + b.R) / 2;
    const int cy = (b.T + b.B) / 2;
    const QRectF equator(cx - b.W / 2, cy - d, 2 * (b.W / 2), 2 * d);
    QPainterPath path;
    arc(path, equator, 180, 180);
    path.addEllipse(QRectF(b.L, b.T, b.W, b.H));
    path.addEllipse(QRectF(cx - 1, cy - 1, 2, 2));
    QPainterPath back;
    arc(back, equator, 0, 180);
    path.addPath(back);
    finishShape(xml, path, BtMenus::btBall, Fill::Full, true);
}

void IwbReader::createCircleIWB(IwbXml &xml)
{
    const float cx = readNumber(attribute(xml, "cx"));
    const float cy = readNumber(attribute(xml, "cy"));
    const float r = readNumber(attribute(xml, "r"));
    QPainterPath path;
    path.moveTo(cx - r, cy - r);
    path.addEllipse(QRectF(cx - r, cy - r, 2 * r, 2 * r));
    finishShape(xml, path, BtMenus::btCircle, Fill::Full, true);
}

void IwbReader::createEllipseIWB(IwbXml &xml)
{
    const float cx = readNumber(attribute(xml, "cx"));
    const float cy = readNumber(attribute(xml, "cy"));
    const float rx = readNumber(attribute(xml, "rx"));
    const float ry = readNumber(attribute(xml, "ry"));
    QPainterPath path;
    path.moveTo(cx - rx, cy - ry);
    path.addEllipse(QRectF(cx - rx, cy - ry, 2 * rx, 2 * ry));
    finishShape(xml, path, BtMenus::btEllipse, Fill::Full, true);
}

void IwbReader::createLineIWB(IwbXml &xml)
{
    QPainterPath path;
    path.moveTo(readNumber(attribute(xml, "x1")), readNumber(attribute(xml, "y1")));
    path.lineTo(readNumber(attribute(xml, "x2")), readNumber(attribute(xml, "y2")));
    finishShape(xml, path, BtMenus::btLine, Fill::None, false);
}

QPainterPath IwbReader::polylinePath(const QList<QPointF> &points)
{
    QPainterPath path;
    for (int i = 0; i < points.size(); ++i) {
        if (i == 0)
            path.moveTo(points.at(i));
        else
            path.lineTo(points.at(i));
    }
    return path;
}

BtMenus::btType IwbReader::polylineKind(const IwbXml &xml, bool polygon)
{
    if (!polygon)
        return BtMenus::btPencil;
    return attribute(xml, "type") == QLatin1String("table") ? BtMenus::btTableTool
                                                            : BtMenus::btPolygon;
}

void IwbReader::createPolylineIWB(const QString &dir, IwbXml &xml, bool polygon)
{
    finishShape(xml, xml.polyline(), polylineKind(xml, polygon), Fill::Full, false, QPointF(), true,
                dir);
}

// --- Text, table, picture, video and sound ---

void IwbReader::createTextareaIWB(IwbXml &xml)
{
    qDebug("On textarea");
    DPage *current = page();
    const QString id = attribute(xml, "id");
    const int x = readTruncated(attribute(xml, "x"));
    const int y = readTruncated(attribute(xml, "y"));
    const QString transform = attribute(xml, "transform");
    const QString family = attribute(xml, "font-family");
    const QString size = attribute(xml, "font-size");
    const QString areaFill = attribute(xml, "fill");
    const QString weight = IwbFormat::readWeightWord(attribute(xml, "font-weight"));
    const qreal boxWidth = IwbFormat::readTextWidth(attribute(xml, "textWidth"));

    QString html = QLatin1String(kHead);
    html += QStringLiteral("<body style=\" font-family:'") + styleValue(family)
            + QStringLiteral("'; font-size:") + styleValue(size)
            + QStringLiteral("pt; font-weight:") + styleValue(weight)
            + QStringLiteral("; font-style:normal;\">\n");

    int tspans = 0;
    bool firstParagraph = true;
    bool spanMode = false;
    bool paragraphOpen = false;
    for (;;) {
        if (xml.hasError() || xml.readNext() == QXmlStreamReader::EndDocument)
            break;
        const QString text = xml.isCharacters() ? xml.text() : QString();
        if (xml.name().isEmpty())
            xml.readNext();
        if (named(xml, "tbreak"))
            spanMode = false;
        if (named(xml, "tspan")) {
            ++tspans;
            const QString align = attribute(xml, "text-align");
            const QString fill = attribute(xml, "fill");
            if (!align.isEmpty()) {
                if (!firstParagraph)
                    html += QStringLiteral("</p>\n");
                html += paragraph(IwbFormat::readTextAlign(align));
                firstParagraph = false;
                paragraphOpen = true;
                spanMode = false;
            } else if (!spanMode) {
                spanMode = !fill.isEmpty();
            } else {
                const QString spanWeight = attribute(xml, "font-weight");
                const QString spanStyle = attribute(xml, "font-style");
                const QString decoration = attribute(xml, "text-decoration");
                // A run's own family and size; files that wrote the text's own on every run
                // read as they always did.
                const QString spanFamily = attribute(xml, "font-family");
                QString spanSize = attribute(xml, "font-size");
                if (!(readNumber(spanSize) > 0))
                    spanSize = size;
                const QString content =
                        xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
                if (!content.isEmpty()) {
                    html += QStringLiteral("<span style=\"");
                    if (!spanFamily.isEmpty())
                        html += QStringLiteral(" font-family:'") + styleValue(spanFamily)
                                + QStringLiteral("';");
                    html += QStringLiteral(" font-size:") + styleValue(spanSize)
                            + QStringLiteral("pt;color:") + styleValue(fill) + QLatin1Char(';');
                    if (spanWeight != QLatin1String("normal") && spanWeight != QLatin1String("50"))
                        html += QStringLiteral("font-weight:600;");
                    if (spanStyle != QLatin1String("normal"))
                        html += QStringLiteral("font-style:italic;");
                    if (!decoration.isEmpty())
                        html += QStringLiteral("text-decoration: underline;");
                    html += QStringLiteral("\">") + htmlText(content) + QStringLiteral("</span>");
                }
            }
        }
        if (named(xml, "textarea")) {
            if (tspans == 0)
                html += QStringLiteral("<p") + QLatin1String(kParagraphStyle)
                        + QStringLiteral("\n<span style=\" color:") + styleValue(areaFill)
                        + QStringLiteral(";\">") + htmlText(text) + QStringLiteral("</span>\n</p>");
            break;
        }
    }
    if (paragraphOpen)
        html += QStringLiteral("</p>\n");
    html += QStringLiteral("</body></html>");

    if (!current)
        return;
    QFont font(family);
    const int points = readInteger(size);
    if (points > 0)
        font.setPointSize(points);
    const float rotation = IwbFormat::readRotation(transform);
    const float scale = IwbFormat::readScale(transform);
    DGTextItem *item = current->addTextItem(html, font, QPointF(x, y), rotation, scale,
                                            QTransform(), false, boxWidth);
    asignLinkIWB(item);
    registerObject(id, item);
}

void IwbReader::createTextIWB(IwbXml &xml)
{
    DPage *current = page();
    const QString id = attribute(xml, "id");
    const int x = readTruncated(attribute(xml, "x"));
    const int y = readTruncated(attribute(xml, "y"));
    const QString transform = attribute(xml, "transform");
    QFont font(attribute(xml, "font-family"));
    const int points = readInteger(attribute(xml, "font-size"));
    if (points > 0)
        font.setPointSize(points);
    const QString html = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    if (!current)
        return;
    DGTextItem *item =
            current->addTextItem(html, font, QPointF(x, y), IwbFormat::readRotation(transform),
                                 IwbFormat::readScale(transform), QTransform(), false);
    asignLinkIWB(item);
    registerObject(id, item);
}

void IwbReader::createTableIWB(IwbXml &xml)
{
    DPage *current = page();
    const QString id = attribute(xml, "id");
    const QRectF box(readNumber(attribute(xml, "x")), readNumber(attribute(xml, "y")),
                     readNumber(attribute(xml, "width")), readNumber(attribute(xml, "height")));
    // Checked before the read (IwbLimits); bounded again for readers that come without it.
    const int rows = qBound(0, readInteger(attribute(xml, "rows")), IwbLimits::kMaxTableCells);
    const int columns =
            qBound(0, readInteger(attribute(xml, "columns")), IwbLimits::kMaxTableCells);
    const QString transform = attribute(xml, "transform");
    QPainterPath path;
    path.addRect(box);
    DGPathTableItem *item = current
            ? current->addTableItem(path, rows, columns, IwbFormat::readRotation(transform),
                                    IwbFormat::readScale(transform), QTransform(), false)
            : nullptr;
    // Cells are stepped over, but never beyond the table's own end: a table that promises more
    // cells than it holds must not swallow the elements after it.
    const qint64 cells = rows > 0 && columns > 0 ? qint64(rows) * columns : 0;
    bool tableEnded = false;
    bool inside = false;
    for (qint64 cell = 0; cell < cells && !tableEnded; ++cell) {
        bool found = false;
        while (!found && !tableEnded && !xml.atEnd() && !xml.hasError()) {
            xml.readNext();
            found = xml.isStartElement() && named(xml, "cell");
            tableEnded = xml.isEndElement() && named(xml, "table");
        }
        if (!found)
            break;
        xml.skipCurrentElement();
        inside = true;
    }
    // Standing inside the table: on to its end tag, as the walk would skip it.
    for (int depth = 0; inside && !tableEnded && !xml.atEnd() && !xml.hasError();) {
        xml.readNext();
        if (xml.isStartElement())
            ++depth;
        else if (xml.isEndElement() && depth-- == 0)
            tableEnded = true;
    }
    asignLinkIWB(item);
    registerObject(id, item);
}

void IwbReader::createImageIWB(const QString &dir, IwbXml &xml)
{
    const QString href = attribute(xml, "xlink:href");
    QString file = localFile(dir, href);
    const QString transform = attribute(xml, "transform");
    if (transform.isEmpty() && attribute(xml, "requiredExtension").isEmpty() && !m_pageMade) {
        const QString fill = attribute(xml, "fill");
        const Picture background = fill.isEmpty() ? picture(file) : Picture();
        if (fill.isEmpty() && background.pixmap.isNull()) {
            // The picture is missing, unreadable or beyond the limits: a colour page, which can
            // be saved again, rather than a picture page without a picture. A picture the
            // lesson holds goes back with it as it came (said once the lesson is open).
            qDebug() << "IwbReader: background picture not shown:" << href;
            m_list.newPage(BtMenus::btColorPage, true);
            DPage *current = page();
            if (!file.isEmpty() && current) {
                const QSize size(readTruncated(attribute(xml, "width")),
                                 readTruncated(attribute(xml, "height")));
                current->keepBackground(heldPicture(file, pictureName(href), background.probe,
                                                    m_list.getCurPageNum()),
                                        size);
            }
        } else if (fill.isEmpty()) {
            m_list.newPage(BtMenus::btImagePage, true);
            m_pictures.noteRead(background.probe, pictureName(href), m_list.getCurPageNum());
            if (DPage *current = page()) {
                current->setPageType(PageTypeImage);
                const QSize viewSize =
                        current->view() ? current->view()->size() : background.pixmap.size();
                current->setBackgroundBrush(QBrush(background.pixmap.scaled(
                        viewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
            }
        } else {
            const QString opacity = attribute(xml, "fill-opacity");
            if (!opacity.isEmpty() && readInteger(opacity) == 0) {
                m_list.newPage(BtMenus::btTransparentPage, true);
            } else {
                m_list.newPage(BtMenus::btColorPage, true);
                if (DPage *current = page())
                    current->setPageBackgroundColor(IwbFormat::readColour(fill));
            }
        }
        m_pageMade = true;
        return;
    }
    pageFirst();
    const QString id = attribute(xml, "id");
    const QPointF at(readTruncated(attribute(xml, "x")), readTruncated(attribute(xml, "y")));
    const QSize asked(readTruncated(attribute(xml, "width")),
                      readTruncated(attribute(xml, "height")));
    // An animated image is stored as its own file: it plays again (from the document's folder,
    // where its file must lie).
    const bool gif =
            QFileInfo(file).suffix().compare(QLatin1String("gif"), Qt::CaseInsensitive) == 0;
    if (gif && !m_settled && m_unpacking) {
        if (!settleFiles())
            return;
        file = localFile(dir, href);
    }
    QGraphicsItem *item =
            makePictureObject(file, href, gif, at, asked, IwbFormat::readRotation(transform),
                              IwbFormat::readScale(transform));
    if (!item)
        return; // no picture to show: no object
    asignLinkIWB(DCustomItem::fromItem(item));
    registerObject(id, item);
}

QGraphicsItem *IwbReader::makePictureObject(const QString &file, const QString &href, bool gif,
                                            const QPointF &at, QSize asked, float rotation,
                                            float scale)
{
    DPage *current = page();
    // A picture whose file is missing makes no object, as it always did; the link it carried
    // goes to the next object.
    if (!current || file.isEmpty() || asked.isEmpty())
        return nullptr;
    const QString name = pictureName(href);
    const int pageNumber = m_list.getCurPageNum();
    const PictureReading::Probe probe =
            gif ? PictureReading::probe(file, m_turn) : PictureReading::Probe();
    if (probe.format == "gif" || probe.frames > 1) {
        // Played at the size the lesson gives it, when the board can play it at that size;
        // else shown still.
        const bool askedPlays = PictureReading::fits(asked)
                && qint64(asked.width()) * asked.height() <= PictureReading::kMaxAnimationPixels;
        // While it plays it holds all its frames, and one as large as asked: the lesson's
        // animations together hold no more than a lesson may play, the others shown still.
        const auto animation = m_animations.constFind(keptPath(file));
        const qint64 playing = (animation == m_animations.constEnd() ? probe.playingBytes : 0)
                + IwbLimits::pictureBytes(asked);
        const bool room = m_playingBytes + playing <= IwbLimits::kMaxPlayingBytes;
        if (probe.isTaken() && probe.playable && askedPlays && room) {
            const PictureReading::Animation frames = animation != m_animations.constEnd()
                    ? animation.value()
                    : PictureReading::readAnimation(file, m_turn);
            if (QLabel *label = DGGifItem::makeAnimation(file, frames, asked)) {
                // Its frames are shared by the other objects that show it.
                if (animation == m_animations.constEnd())
                    m_animations.insert(keptPath(file), frames);
                m_playingBytes += playing;
                return current->addGifItem(label, at, rotation, scale, QTransform(), false);
            }
        } else if (probe.isTaken() && probe.playable) {
            m_pictures.noteStill(asked, name, pageNumber);
        }
    }
    // Held as its file and decoded when shown: the object stands where the lesson puts it, at
    // the size it gives, whatever its file turns out to hold (a picture that cannot be shown
    // keeps its place, its frame shown, and goes back with the lesson as it came).
    return current->addPixmapItem(heldPicture(file, name, asked, pageNumber), asked, at, rotation,
                                  scale, QTransform(), false);
}

void IwbReader::createVideoIWB(const QString &dir, IwbXml &xml)
{
    // The video keeps its file's path: the file must lie in the document's folder.
    if (!settleFiles())
        return;
    DPage *current = page();
    const QString href = attribute(xml, "xlink:href");
    QString file = href.isEmpty() ? QString() : MediaPath::resolveHref(dir, href);
    const QString name = QFileInfo(href).fileName();
    if (file.isEmpty() && !name.isEmpty() && name != QLatin1String("..")) {
        // Missing or outside the document: the object keeps its name, without a file behind it.
        file = dir + QStringLiteral("/videos/") + name;
    }
    const QString transform = attribute(xml, "transform");
    DGVideoItem *item = current->addVideoItem(
            file, QPointF(readTruncated(attribute(xml, "x")), readTruncated(attribute(xml, "y"))),
            IwbFormat::readRotation(transform), IwbFormat::readScale(transform), QTransform(),
            false);
    asignLinkIWB(item);
    registerObject(attribute(xml, "id"), item);
}

void IwbReader::createSoundIWB(const QString &dir, IwbXml &xml)
{
    if (!settleFiles())
        return;
    DPage *current = page();
    const QString href = attribute(xml, "xlink:href");
    QString file = href.isEmpty() ? QString() : MediaPath::resolveHref(dir, href);
    if (file.isEmpty())
        file = attachment(m_link.media); // a sound saved without its own reference
    const QString transform = attribute(xml, "transform");
    DGSoundItem *item = current->addSoundItem(
            file, QPointF(readTruncated(attribute(xml, "x")), readTruncated(attribute(xml, "y"))),
            IwbFormat::readRotation(transform), IwbFormat::readScale(transform), QTransform(),
            false);
    asignLinkIWB(item);
    registerObject(attribute(xml, "id"), item);
}

// --- Links, groups and locks ---

void IwbReader::createLinkIWB(IwbXml &xml)
{
    m_link.web = attribute(xml, "xlink");
    m_link.page = attribute(xml, "xpagelink");
    m_link.file = attribute(xml, "xfilelink");
    m_link.media = attribute(xml, "xsoundlink");
}

void IwbReader::setLocalLink(const QString &web, const QString &page, const QString &file,
                             const QString &media)
{
    m_link = { web, page, file, media, true };
}

void IwbReader::asignLinkIWB(DCustomItem *object)
{
    if (!object)
        return;
    // The object keeps its linked files' paths: they must lie in the document's folder.
    if (!m_link.local && (!m_link.file.isEmpty() || !m_link.media.isEmpty()) && !settleFiles())
        return;
    // Linked files are the copies the document carries; a path elsewhere is not followed.
    const QString file = m_link.local ? m_link.file : attachment(m_link.file);
    const QString media = m_link.local ? m_link.media : attachment(m_link.media);
    if (!m_link.file.isEmpty() && file.isEmpty())
        qDebug() << "IwbReader: linked file not in the document:" << m_link.file;
    if (!m_link.media.isEmpty() && media.isEmpty())
        qDebug() << "IwbReader: media file not in the document:" << m_link.media;
    object->changeLinks(m_link.web, m_link.page, file, media);
    object->m_prevLinkWeb = object->m_linkWeb;
    object->m_prevLinkPage = object->m_linkPage;
    object->m_prevLinkFile = object->m_linkFile;
    object->m_prevLinkMedia = object->m_linkMedia;
    m_link = Link();
}

void IwbReader::createGroupIWB(IwbXml &xml)
{
    if (!attribute(xml, "id").isEmpty())
        return;
    const QString locked = attribute(xml, "locked");
    QList<QGraphicsItem *> members;
    recursiveGroupIWB(xml, &members);
    makeGroup(members, !locked.isEmpty());
}

void IwbReader::recursiveGroupIWB(IwbXml &xml, QList<QGraphicsItem *> *members)
{
    // Nested records add their members to the same group; counted, not recursed into, so that
    // no nesting depth can exhaust the stack.
    QSet<QGraphicsItem *> known(members->cbegin(), members->cend());
    int open = 1;
    while (open > 0 && !xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (xml.isStartElement() && named(xml, "element")) {
            QGraphicsItem *item = m_ids.value(attribute(xml, "ref"));
            if (item && !known.contains(item)) {
                known.insert(item);
                members->append(item);
            }
            xml.skipCurrentElement();
        } else if (xml.isStartElement() && named(xml, "group")) {
            ++open;
        } else if (xml.isEndElement() && named(xml, "group")) {
            --open;
        }
    }
}

void IwbReader::createLockIWB(IwbXml &xml)
{
    QGraphicsItem *item = m_ids.value(attribute(xml, "ref"));
    if (!item || attribute(xml, "locked").isEmpty())
        return;
    if (DCustomItem *object = DCustomItem::fromItem(item))
        object->lock(true);
}

void IwbReader::makeGroup(const QList<QGraphicsItem *> &members, bool locked)
{
    // A record that names no object read would leave an empty, invisible group behind.
    if (members.isEmpty())
        return;
    // Made on its members' page and stacked where its topmost member stood: made on the last
    // page and moved, it would keep that page's stacking number and hide under the others.
    auto *owner = dynamic_cast<DPage *>(members.first()->scene());
    if (!owner)
        return;
    DGItemGroup *group = owner->addGroupItem();
    qreal top = members.first()->zValue();
    for (QGraphicsItem *member : members) {
        if (member->scene() == owner)
            top = std::max(top, member->zValue());
        owner->addItemToGroup(group, member);
    }
    group->setZValue(top);
    if (locked)
        group->lock(true);
}
