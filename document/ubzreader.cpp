#include "ubzreader.h"

#include "dpageslist.h"
#include "iwbformat.h"
#include "iwbreader.h"
#include "iwbxml.h"
#include "mediapath.h"

#include "board/boardtypes.h"
#include "board/dgpathitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgsounditem.h"
#include "board/dgtextitem.h"
#include "board/dgvideoitem.h"
#include "board/dpage.h"
#include "board/dview.h"

#include <QDebug>
#include <QFile>
#include <QXmlStreamReader>

namespace {

QString attribute(const QXmlStreamReader &xml, const char *name)
{
    return xml.attributes().value(QLatin1String(name)).toString();
}

// An SVG opacity, 0 to 1, as a factor; absent or not a number: 1.
qreal readOpacityFactor(const QString &text)
{
    bool ok = false;
    const qreal value = text.trimmed().toDouble(&ok);
    if (!ok || !qIsFinite(value))
        return 1.0;
    return qBound(0.0, value, 1.0);
}

QColor withAlphaFactor(QColor colour, qreal factor)
{
    colour.setAlpha(qRound(colour.alpha() * factor));
    return colour;
}

} // namespace

UbzReader::UbzReader(DPagesList &list, IwbReader &shared, const QString &folder)
    : m_list(list), m_shared(shared), m_folder(folder)
{
    m_shared.setRelativeTextures(true);
    m_shared.setFillOpacityIsAlpha(false);
}

QString UbzReader::pageFileName(int n)
{
    return QStringLiteral("page%1.svg").arg(n, 3, 10, QLatin1Char('0'));
}

DPage *UbzReader::page()
{
    // Objects before the first background rectangle need a page to go on.
    if (!m_list.getCurPage())
        m_list.newPage(BtMenus::btColorPage, true);
    return m_list.getCurPage();
}

QString UbzReader::source(const QString &path) const
{
    return path.isEmpty() ? QString() : MediaPath::resolveSource(m_folder, path);
}

QList<QPointF> UbzReader::getPointsUBZ(const QString &points)
{
    return IwbFormat::readPoints(points, IwbFormat::kUbzPointOffset);
}

QString UbzReader::readPageFile(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return QString(); // a gap in the numbering
    if (!file.open(QIODevice::ReadOnly))
        return path + QStringLiteral(": ") + file.errorString();
    QXmlStreamReader xml(&file);
    if (xml.readNextStartElement()) { // the root, whatever its name
        while (xml.readNextStartElement())
            readRootChild(xml);
    }
    if (!xml.hasError())
        return QString();
    return path + QStringLiteral(": ") + xml.errorString() + QStringLiteral(" (line ")
            + QString::number(xml.lineNumber()) + QLatin1Char(')');
}

void UbzReader::readRootChild(QXmlStreamReader &xml)
{
    const QStringRef name = xml.name();
    if (name == QLatin1String("rect")) {
        const QColor colour(attribute(xml, "fill"));
        m_list.newPage(BtMenus::btColorPage, true);
        // A fill that is no colour name leaves the new page in the document's page colour
        // rather than an invalid (black) one.
        DPage *current = m_list.getCurPage();
        if (current && colour.isValid())
            current->setPageBackgroundColor(colour);
        xml.skipCurrentElement();
    } else if (name == QLatin1String("g")) {
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("polygon")) {
                qDebug("On polygon: ");
                createPolylineUBZ(m_folder, xml, true);
            }
            xml.skipCurrentElement();
        }
    } else if (name == QLatin1String("foreignObject")) {
        const QString uuid = attribute(xml, "ub:uuid");
        const QString transform = attribute(xml, "transform");
        const QPoint pos = IwbFormat::readUbzMatrix(transform).position;
        while (xml.readNextStartElement()) {
            // The text reader stops on the text's end tag, so whatever follows inside the
            // foreignObject, and after it, is read as usual.
            if (xml.name() == QLatin1String("itemTextContent"))
                createTextareaUBZ(pos, uuid, transform, xml);
            else
                xml.skipCurrentElement();
        }
    } else if (name == QLatin1String("image")) {
        createImageUBZ(xml);
        xml.skipCurrentElement();
    } else if (name == QLatin1String("video")) {
        createLinkUBZ(xml);
        createVideoUBZ(m_folder, xml);
        xml.skipCurrentElement();
    } else if (name == QLatin1String("audio")) {
        createLinkUBZ(xml);
        createAudioUBZ(m_folder, xml);
        xml.skipCurrentElement();
    } else {
        xml.skipCurrentElement();
    }
}

void UbzReader::createTextareaUBZ(QPoint pos, const QString &uuid, const QString &transform,
                                  QXmlStreamReader &xml)
{
    qDebug("On textarea");
    QFont font(attribute(xml, "font-family"));
    const int size = IwbFormat::readInteger(attribute(xml, "font-size"));
    if (size > 0)
        font.setPointSize(size);
    const QString html = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    const float rotation = IwbFormat::readUbzMatrix(transform).rotation;
    qDebug() << rotation;
    DGTextItem *item = page()->addTextItemUBZ(html, font, pos + QPoint(1380, 1060), rotation,
                                              IwbFormat::readScale(transform), QTransform(), false);
    m_shared.asignLinkIWB(item);
    m_shared.registerObject(uuid, item);
}

QPixmap UbzReader::pictureOf(const QXmlStreamReader &xml) const
{
    const QString file = source(attribute(xml, "ub:source"));
    const QPixmap named = file.isEmpty() ? QPixmap() : QPixmap(file);
    if (!named.isNull())
        return named;
    // Documents of other programs name where a picture came from on the author's computer
    // (or nothing) and keep the picture itself in the archive, under "xlink:href".
    const QString href = attribute(xml, "xlink:href");
    const QString archived = href.isEmpty() ? QString() : MediaPath::resolveHref(m_folder, href);
    return archived.isEmpty() ? QPixmap() : QPixmap(archived);
}

void UbzReader::createImageUBZ(QXmlStreamReader &xml)
{
    const QPixmap picture = pictureOf(xml);
    const QString transform = attribute(xml, "transform");
    if (transform.isEmpty() && attribute(xml, "requiredExtension").isEmpty()
        && !m_shared.pageMade()) {
        // A picture that cannot be loaded leaves the page a colour page: a picture page
        // without its picture could not be saved again.
        if (attribute(xml, "fill").isEmpty() && !picture.isNull()) {
            DPage *current = page();
            current->setPageType(PageTypeImage);
            const QSize viewSize = current->view() ? current->view()->size() : picture.size();
            current->setBackgroundBrush(QBrush(
                    picture.scaled(viewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        }
        m_shared.setPageMade(true);
        return;
    }
    const IwbFormat::UbzPlacement placement = IwbFormat::readUbzMatrix(transform);
    qDebug() << placement.rotation;
    if (picture.isNull())
        return;
    QSize size(IwbFormat::readTruncated(attribute(xml, "width")),
               IwbFormat::readTruncated(attribute(xml, "height")));
    if (size.width() <= 0 || size.height() <= 0 || size.width() > kMaxPictureSide
        || size.height() > kMaxPictureSide)
        size = picture.size();
    const QPixmap sized = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    DGPixmapItem *item =
            page()->addPixmapItemUBZ(sized, placement.objectPosition(), placement.rotation,
                                     IwbFormat::readScale(transform), QTransform(), false);
    if (!item)
        return;
    m_shared.asignLinkIWB(item);
    m_shared.registerObject(attribute(xml, "id"), item);
}

void UbzReader::createLinkUBZ(QXmlStreamReader &xml)
{
    // The media link is the object's own file; the file link, too, only inside the folder.
    m_shared.setLocalLink(attribute(xml, "xlink"), attribute(xml, "xpagelink"),
                          source(attribute(xml, "xfilelink")), source(attribute(xml, "ub:source")));
}

void UbzReader::createVideoUBZ(const QString &dir, QXmlStreamReader &xml)
{
    Q_UNUSED(dir)
    const QString transform = attribute(xml, "transform");
    const IwbFormat::UbzPlacement placement = IwbFormat::readUbzMatrix(transform);
    DGVideoItem *item = page()->addVideoItem(source(attribute(xml, "ub:source")),
                                             placement.objectPosition(), placement.rotation,
                                             IwbFormat::readScale(transform), QTransform(), false);
    m_shared.asignLinkIWB(item);
    m_shared.registerObject(attribute(xml, "ub:uuid"), item);
}

void UbzReader::createAudioUBZ(const QString &dir, QXmlStreamReader &xml)
{
    Q_UNUSED(dir)
    const QString transform = attribute(xml, "transform");
    const IwbFormat::UbzPlacement placement = IwbFormat::readUbzMatrix(transform);
    DGSoundItem *item = page()->addSoundItem(source(attribute(xml, "ub:source")),
                                             placement.objectPosition(), placement.rotation,
                                             IwbFormat::readScale(transform), QTransform(), false);
    m_shared.asignLinkIWB(item);
    m_shared.registerObject(attribute(xml, "ub:uuid"), item);
}

void UbzReader::createPolylineUBZ(const QString &dir, QXmlStreamReader &xml, bool polygon)
{
    page();
    const QList<QPointF> points = getPointsUBZ(attribute(xml, "points"));
    IwbXml shared(xml);
    QGraphicsItem *item = m_shared.finishShape(
            shared, IwbReader::polylinePath(points), IwbReader::polylineKind(shared, polygon),
            IwbReader::Fill::Full, false, QPointF(), true, dir);
    if (auto *shape = dynamic_cast<DGPathItem *>(item))
        applyOpacity(xml, shape);
    m_shared.registerObject(attribute(xml, "ub:uuid"), item);
}

void UbzReader::applyOpacity(const QXmlStreamReader &xml, DGPathItem *shape)
{
    // Other programs draw strokes as filled outlines whose ink transparency is "fill-opacity"
    // (a marker is "0.50"); an "opacity" on the element fades fill and outline alike.
    const qreal whole = readOpacityFactor(attribute(xml, "opacity"));
    const qreal fill = readOpacityFactor(attribute(xml, "fill-opacity")) * whole;
    if (fill < 1.0 && shape->brush().style() == Qt::SolidPattern) {
        QBrush brush = shape->brush();
        brush.setColor(withAlphaFactor(brush.color(), fill));
        shape->setBrush(brush);
        shape->setGradColor(brush.color());
    }
    if (whole < 1.0) {
        QPen pen = shape->pen();
        QBrush ink = pen.brush(); // keeps a pen texture
        ink.setColor(withAlphaFactor(ink.color(), whole));
        pen.setBrush(ink);
        shape->setPen(pen);
    }
}
