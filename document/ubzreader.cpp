#include "ubzreader.h"

#include "dpageslist.h"
#include "iwbformat.h"
#include "iwbreader.h"
#include "mediapath.h"

#include "board/boardtypes.h"
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

} // namespace

UbzReader::UbzReader(DPagesList &list, IwbReader &shared, const QString &folder)
    : m_list(list), m_shared(shared), m_folder(folder)
{
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

void UbzReader::readPageFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement())
        return; // no root
    while (xml.readNextStartElement()) {
        const QStringRef name = xml.name();
        if (name == QLatin1String("rect")) {
            const QColor colour(attribute(xml, "fill"));
            m_list.newPage(BtMenus::btColorPage, true);
            // A fill that is no colour name gives a white page, not a black one.
            if (DPage *current = m_list.getCurPage())
                current->setPageBackgroundColor(colour.isValid() ? colour : QColor(Qt::white));
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
    if (xml.hasError())
        qDebug() << "UbzReader:" << path << xml.errorString();
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

void UbzReader::createImageUBZ(QXmlStreamReader &xml)
{
    const QString file = source(attribute(xml, "ub:source"));
    const QPixmap picture = file.isEmpty() ? QPixmap() : QPixmap(file);
    const QString transform = attribute(xml, "transform");
    if (transform.isEmpty() && attribute(xml, "requiredExtension").isEmpty()
        && !m_shared.pageMade()) {
        if (attribute(xml, "fill").isEmpty()) {
            DPage *current = page();
            current->setPageType(PageTypeImage);
            const QSize viewSize = current->view() ? current->view()->size() : picture.size();
            current->setBackgroundBrush(
                    picture.isNull() ? QBrush()
                                     : QBrush(picture.scaled(viewSize, Qt::KeepAspectRatio,
                                                             Qt::SmoothTransformation)));
        }
        m_shared.setPageMade(true);
        return;
    }
    const IwbFormat::UbzPlacement placement = IwbFormat::readUbzMatrix(transform);
    qDebug() << placement.rotation;
    const int width = IwbFormat::readTruncated(attribute(xml, "width"));
    const int height = IwbFormat::readTruncated(attribute(xml, "height"));
    const QPixmap sized = picture.isNull() || width <= 0 || height <= 0
            ? QPixmap()
            : picture.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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
    QPainterPath path;
    for (int i = 0; i < points.size(); ++i) {
        if (i == 0)
            path.moveTo(points.at(i));
        else
            path.lineTo(points.at(i));
    }
    BtMenus::btType kind = BtMenus::btPencil;
    if (polygon)
        kind = attribute(xml, "type") == QLatin1String("table") ? BtMenus::btTableTool
                                                                : BtMenus::btPolygon;
    QGraphicsItem *item = m_shared.finishShape(xml, path, kind, IwbReader::Fill::Full, false,
                                               QPointF(), true, dir);
    m_shared.registerObject(attribute(xml, "ub:uuid"), item);
}
