#include "ubzreader.h"

#include "dpageslist.h"
#include "iwbformat.h"
#include "iwblimits.h"
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
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <QSet>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

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

// The scale of an object: its matrix's, and a "scale(" written beside it.
qreal objectScale(const QString &transform, const IwbFormat::UbzPlacement &placement)
{
    return placement.scale * IwbFormat::readScale(transform);
}

// An attribute of the root or the background naming a paper pattern: the other program keeps
// grid and ruled paper as a property of the page, which a board page does not have.
bool namesPaperPattern(const QXmlStreamAttribute &attribute)
{
    const QStringRef name = attribute.name();
    const QString value = attribute.value().toString().toLower();
    if (name.endsWith(QLatin1String("crossed-background"))
        || name.endsWith(QLatin1String("ruled-background")))
        return value == QLatin1String("true");
    if (name == QLatin1String("background-pattern") || name == QLatin1String("background-type"))
        return value.contains(QLatin1String("cross")) || value.contains(QLatin1String("rule"))
                || value.contains(QLatin1String("grid")) || value.contains(QLatin1String("line"));
    return false;
}

// An attribute of the other program's that says "true"; name: its name after any prefix
// ("ub:locked" and "locked" alike).
bool saysTrue(const QXmlStreamReader &xml, QLatin1String name)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (attribute.name() == name) {
            const QStringRef value = attribute.value().trimmed();
            return value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
                    || value == QLatin1String("1");
        }
    }
    return false;
}

bool holdsLock(const QXmlStreamReader &xml)
{
    return saysTrue(xml, QLatin1String("locked"));
}

// The other program's instruments lie on its pages beside the lesson; the board has its own,
// which belong to no page.
bool isInstrument(const QStringRef &name)
{
    static const char *const kInstruments[] = { "ruler", "compass",   "protractor", "triangle",
                                                "axes",  "magnifier", "cache",      "curtain" };
    for (const char *instrument : kInstruments) {
        if (name == QLatin1String(instrument))
            return true;
    }
    return false;
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

QPointF UbzReader::pageCentre()
{
    return page()->sceneRect().center();
}

QList<QPointF> UbzReader::getPointsUBZ(const QString &points, const QPointF &offset)
{
    return IwbFormat::readPoints(points, offset);
}

QString UbzReader::readPageFile(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return QString(); // a gap in the numbering
    if (!file.open(QIODevice::ReadOnly))
        return path + QStringLiteral(": ") + file.errorString();
    const int pagesBefore = m_list.size();
    m_paperPattern = false;
    QXmlStreamReader xml(&file);
    if (xml.readNextStartElement()) { // the root, whatever its name
        noteRootPattern(xml);
        while (xml.readNextStartElement())
            readRootChild(xml);
    }
    if (m_paperPattern) {
        // The pattern belongs to the pages this file made (or the one it added to).
        for (int n = pagesBefore + 1; n <= m_list.size(); ++n)
            noteMissing(Missing::PaperPattern, n);
        if (m_list.size() == pagesBefore && m_list.getCurPage())
            noteMissing(Missing::PaperPattern, m_list.getCurPageNum());
    }
    if (!xml.hasError())
        return QString();
    return path + QStringLiteral(": ") + xml.errorString() + QStringLiteral(" (line ")
            + QString::number(xml.lineNumber()) + QLatin1Char(')');
}

void UbzReader::noteRootPattern(const QXmlStreamReader &xml)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (namesPaperPattern(attribute))
            m_paperPattern = true;
    }
}

void UbzReader::noteMissing(Missing kind, int page)
{
    for (QPair<Missing, QList<int>> &noted : m_missing) {
        if (noted.first != kind)
            continue;
        if (!noted.second.contains(page))
            noted.second << page;
        return;
    }
    m_missing << qMakePair(kind, QList<int>{ page });
}

void UbzReader::noteOnPage(Missing kind)
{
    page();
    noteMissing(kind, m_list.getCurPageNum());
}

void UbzReader::noteLock(const QXmlStreamReader &xml)
{
    if (holdsLock(xml))
        noteOnPage(Missing::Lock);
}

void UbzReader::noteGroups(QXmlStreamReader &xml)
{
    // A group names its members (and the groups inside it); they are read as objects of
    // their own wherever they stand in the file.
    const bool group = xml.name() == QLatin1String("group");
    const bool locked = group && holdsLock(xml);
    bool members = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("group")) {
            noteGroups(xml);
            members = true;
            continue;
        }
        members = members || xml.name() == QLatin1String("element");
        noteLock(xml);
        xml.skipCurrentElement();
    }
    if (group && members)
        noteOnPage(Missing::Group);
    if (locked)
        noteOnPage(Missing::Lock);
}

void UbzReader::noteForeignObject(const QString &named, bool inner)
{
    // What the other program puts into a foreignObject besides texts: a page of a PDF
    // document (the background of a page made from a PDF) or a widget, a small web
    // application. Neither has an object on the board.
    if (named.isEmpty() && !inner)
        return; // empty: nothing was there to show
    page();
    noteMissing(named.contains(QLatin1String("pdf"), Qt::CaseInsensitive) ? Missing::PdfBackground
                                                                          : Missing::Widget,
                m_list.getCurPageNum());
}

QStringList UbzReader::leftOut() const
{
    QStringList lines;
    for (const QPair<Missing, QList<int>> &noted : m_missing) {
        QStringList numbers;
        for (int page : noted.second)
            numbers << QString::number(page);
        const QString pages = numbers.size() == 1
                ? tr("página %1").arg(numbers.first())
                : tr("páginas %1").arg(numbers.join(QStringLiteral(", ")));
        QString line;
        switch (noted.first) {
        case Missing::PdfBackground:
            line = tr("Fondos de página en PDF (%1): no se han importado");
            break;
        case Missing::Widget:
            line = tr("Miniaplicaciones (%1): no se han importado");
            break;
        case Missing::PaperPattern:
            line = tr("Papel cuadriculado o pautado (%1): no se ha importado");
            break;
        case Missing::Instrument:
            line = tr("Reglas y otros instrumentos (%1): no se han importado");
            break;
        case Missing::Group:
            line = tr("Grupos de objetos (%1): sus objetos quedan sueltos");
            break;
        case Missing::Lock:
            line = tr("Objetos bloqueados (%1): quedan desbloqueados");
            break;
        case Missing::BackgroundPicture:
            line = tr("Imágenes de fondo de página (%1): quedan como imágenes normales");
            break;
        }
        lines << line.arg(pages);
    }
    return lines;
}

void UbzReader::readRootChild(QXmlStreamReader &xml)
{
    const QStringRef name = xml.name();
    if (name == QLatin1String("rect")) {
        const QColor colour(attribute(xml, "fill"));
        noteRootPattern(xml);
        m_list.newPage(BtMenus::btColorPage, true);
        // A fill that is no colour name leaves the new page in the document's page colour
        // rather than an invalid (black) one.
        DPage *current = m_list.getCurPage();
        if (current && colour.isValid())
            current->setPageBackgroundColor(colour);
        xml.skipCurrentElement();
    } else if (name == QLatin1String("g")) {
        const bool locked = holdsLock(xml);
        bool made = false;
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("polygon")) {
                qDebug("On polygon: ");
                noteLock(xml);
                createPolylineUBZ(m_folder, xml, true);
                made = true;
            }
            xml.skipCurrentElement();
        }
        if (locked && made)
            noteOnPage(Missing::Lock);
    } else if (name == QLatin1String("foreignObject")) {
        const QString uuid = attribute(xml, "ub:uuid");
        const QString transform = attribute(xml, "transform");
        const QPoint pos = IwbFormat::readUbzMatrix(transform).position;
        // The other program wraps a text to the width of its box, as the teacher drew it.
        const qreal boxWidth = IwbFormat::readTextWidth(attribute(xml, "width"));
        const bool locked = holdsLock(xml);
        // What it shows is named by its own attributes or those of the element inside it.
        const auto namesOf = [](const QXmlStreamAttributes &attributes) {
            QString named;
            for (const QXmlStreamAttribute &attribute : attributes) {
                const QStringRef name = attribute.name();
                if (name == QLatin1String("href") || name == QLatin1String("src")
                    || name == QLatin1String("type") || name == QLatin1String("data"))
                    named += attribute.value() + QLatin1Char(' ');
            }
            return named;
        };
        QString named = namesOf(xml.attributes());
        bool text = false;
        bool inner = false; // an element of its own inside: a web page, a player
        while (xml.readNextStartElement()) {
            // The text reader stops on the text's end tag, so whatever follows inside the
            // foreignObject, and after it, is read as usual.
            if (xml.name() == QLatin1String("itemTextContent")) {
                createTextareaUBZ(pos, uuid, transform, boxWidth, xml);
                if (locked && !text)
                    noteOnPage(Missing::Lock);
                text = true;
            } else {
                inner = true;
                named += namesOf(xml.attributes());
                xml.skipCurrentElement();
            }
        }
        if (!text)
            noteForeignObject(named, inner);
    } else if (name == QLatin1String("image")) {
        createImageUBZ(xml);
        xml.skipCurrentElement();
    } else if (name == QLatin1String("video")) {
        createLinkUBZ(xml);
        createVideoUBZ(m_folder, xml);
        noteLock(xml);
        xml.skipCurrentElement();
    } else if (name == QLatin1String("audio")) {
        createLinkUBZ(xml);
        createAudioUBZ(m_folder, xml);
        noteLock(xml);
        xml.skipCurrentElement();
    } else if (name == QLatin1String("groups") || name == QLatin1String("group")) {
        noteGroups(xml);
    } else if (isInstrument(name)) {
        noteOnPage(Missing::Instrument);
        xml.skipCurrentElement();
    } else {
        xml.skipCurrentElement();
    }
}
void UbzReader::createTextareaUBZ(QPoint pos, const QString &uuid, const QString &transform,
                                  qreal boxWidth, QXmlStreamReader &xml)
{
    qDebug("On textarea");
    // No family named: the board's own font, not whichever font the system lists first for
    // an empty name (what the text shows is in its spans; this one is saved with it).
    const QString family = attribute(xml, "font-family");
    QFont font;
    if (!family.isEmpty())
        font.setFamily(family);
    const int size = IwbFormat::readInteger(attribute(xml, "font-size"));
    if (size > 0)
        font.setPointSize(size);
    const QString html = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    const IwbFormat::UbzPlacement placement = IwbFormat::readUbzMatrix(transform);
    DGTextItem *item = page()->addTextItemUBZ(
            html, font, QPointF(pos) + pageCentre(), placement.rotation,
            float(objectScale(transform, placement)), QTransform(), false, boxWidth);
    m_shared.asignLinkIWB(item);
    m_shared.registerObject(uuid, item);
}

IwbReader::Picture UbzReader::pictureOf(const QXmlStreamReader &xml, QString *name,
                                        QString *file)
{
    const QString source = attribute(xml, "ub:source");
    *file = this->source(source);
    const IwbReader::Picture named = m_shared.picture(*file);
    *name = IwbReader::pictureName(source);
    if (!named.pixmap.isNull() || named.probe.outcome != PictureReading::Outcome::Unreadable)
        return named; // the picture, or one beyond the limits (said as it is named)
    // Documents of other programs name where a picture came from on the author's computer
    // (or nothing) and keep the picture itself in the archive, under "xlink:href".
    const QString href = attribute(xml, "xlink:href");
    if (href.isEmpty())
        return named; // unreadable, perhaps, but the lesson's own
    *name = IwbReader::pictureName(href);
    *file = MediaPath::resolveHref(m_folder, href);
    return m_shared.picture(*file);
}

QString UbzReader::pictureFileOf(const QXmlStreamReader &xml, QString *name,
                                 PictureReading::Probe *probe)
{
    const QString source = attribute(xml, "ub:source");
    const QString file = this->source(source);
    *name = IwbReader::pictureName(source);
    *probe = file.isEmpty() ? PictureReading::Probe()
                            : PictureReading::probe(file, m_shared.turns());
    if (!file.isEmpty() && probe->outcome != PictureReading::Outcome::Unreadable)
        return file; // the picture, or one beyond the limits (said as it is named)
    const QString href = attribute(xml, "xlink:href");
    const QString archived = href.isEmpty() ? QString() : MediaPath::resolveHref(m_folder, href);
    if (archived.isEmpty())
        return file; // unreadable, perhaps, but the lesson's own
    *name = IwbReader::pictureName(href);
    *probe = PictureReading::probe(archived, m_shared.turns());
    return archived;
}

QSize UbzReader::objectSize(const QXmlStreamReader &xml, const QSize &own)
{
    const IwbFormat::UbzPlacement placement = IwbFormat::readUbzMatrix(attribute(xml, "transform"));
    QSizeF size(IwbFormat::readTruncated(attribute(xml, "width")),
                IwbFormat::readTruncated(attribute(xml, "height")));
    if (size.width() <= 0 || size.height() <= 0)
        size = own;
    if (size.width() <= 0 || size.height() <= 0)
        return QSize(); // nothing says how large it stands
    // Scaled along one side more than the other: the picture takes that shape, the object the
    // scale common to both.
    const QSizeF stretched(size.width() * placement.stretch.width(),
                           size.height() * placement.stretch.height());
    return QSize(qMax(1, qRound(stretched.width())), qMax(1, qRound(stretched.height())));
}

void UbzReader::createImageUBZ(QXmlStreamReader &xml)
{
    QString name;
    const QString transform = attribute(xml, "transform");
    if (transform.isEmpty() && attribute(xml, "requiredExtension").isEmpty()
        && !m_shared.pageMade()) {
        // A picture that cannot be shown (or is beyond the limits) leaves the page a colour
        // page: a picture page without its picture could not be saved again. A file the lesson
        // holds goes with it all the same, as it came (said once the lesson is in).
        if (attribute(xml, "fill").isEmpty()) {
            QString file;
            const IwbReader::Picture picture = pictureOf(xml, &name, &file);
            const int pageNumber = std::max(1, m_list.getCurPageNum());
            if (!picture.pixmap.isNull()) {
                DPage *current = page();
                current->setPageType(PageTypeImage);
                const QSize viewSize =
                        current->view() ? current->view()->size() : picture.pixmap.size();
                current->setBackgroundBrush(QBrush(picture.pixmap.scaled(
                        viewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
                m_shared.pictures().noteRead(picture.probe, name, pageNumber);
            } else if (QFileInfo(file).isFile() && m_list.getCurPage()) {
                // (Before the first page it has none to stay with: only a picture shown makes one.)
                QSize size(IwbFormat::readTruncated(attribute(xml, "width")),
                           IwbFormat::readTruncated(attribute(xml, "height")));
                if (size.isEmpty() && picture.probe.size.isValid())
                    size = picture.probe.size; // its own, when it was measured
                page()->keepBackground(m_shared.heldPicture(file, name, picture.probe, pageNumber),
                                       size);
            } else {
                m_shared.pictures().noteRead(picture.probe, name, pageNumber);
            }
        }
        m_shared.setPageMade(true);
        return;
    }
    const IwbFormat::UbzPlacement placement = IwbFormat::readUbzMatrix(transform);
    DPage *current = page();
    const int pageNumber = m_list.getCurPageNum();
    // Measured, not decoded: the object's size may be the picture's own, and the picture is
    // decoded when shown.
    PictureReading::Probe probe;
    const QString file = pictureFileOf(xml, &name, &probe);
    if (file.isEmpty())
        return; // missing: no object, as always
    const QSize asked = objectSize(xml, probe.size);
    if (asked.isEmpty()) {
        // Nothing says how large it stands: it cannot be placed.
        m_shared.pictures().noteRead(probe, name, pageNumber);
        return;
    }
    const qreal scale = objectScale(transform, placement);
    DGPixmapItem *item =
            current->addPixmapItem(m_shared.heldPicture(file, name, probe, pageNumber, asked),
                                   asked, placement.objectPosition(pageCentre()),
                                   placement.rotation, float(scale), QTransform(), false, false);
    if (!item)
        return;
    noteLock(xml);
    // Only a picture without a transform can be the page's background; the other program
    // places its backgrounds like any picture.
    if (saysTrue(xml, QLatin1String("background")))
        noteOnPage(Missing::BackgroundPicture);
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
    DGVideoItem *item = page()->addVideoItem(
            source(attribute(xml, "ub:source")), placement.objectPosition(pageCentre()),
            placement.rotation, float(objectScale(transform, placement)), QTransform(), false);
    m_shared.asignLinkIWB(item);
    m_shared.registerObject(attribute(xml, "ub:uuid"), item);
}

void UbzReader::createAudioUBZ(const QString &dir, QXmlStreamReader &xml)
{
    Q_UNUSED(dir)
    const QString transform = attribute(xml, "transform");
    const IwbFormat::UbzPlacement placement = IwbFormat::readUbzMatrix(transform);
    DGSoundItem *item = page()->addSoundItem(
            source(attribute(xml, "ub:source")), placement.objectPosition(pageCentre()),
            placement.rotation, float(objectScale(transform, placement)), QTransform(), false);
    m_shared.asignLinkIWB(item);
    m_shared.registerObject(attribute(xml, "ub:uuid"), item);
}

void UbzReader::createPolylineUBZ(const QString &dir, QXmlStreamReader &xml, bool polygon)
{
    const QPointF centre = pageCentre();
    // A matrix places the points, all of it (turn, scale and move); the page's centre is
    // their origin.
    const IwbFormat::UbzPlacement placement = IwbFormat::readUbzMatrix(attribute(xml, "transform"));
    QList<QPointF> points =
            getPointsUBZ(attribute(xml, "points"), placement.isMatrix ? QPointF() : centre);
    if (placement.isMatrix) {
        for (QPointF &point : points)
            point = placement.matrix.map(point) + centre;
    }
    IwbXml shared(xml);
    QGraphicsItem *item = m_shared.finishShape(shared, IwbReader::polylinePath(points),
                                               IwbReader::polylineKind(shared, polygon),
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

// --- Limits ---

namespace {

// What the import would make of the page files, counted as it goes: every page file in turn,
// each element as the walk of readPageFile would take it.
class LimitCheck
{
public:
    LimitCheck(const QString &folder, const QSize &view) : m_folder(folder), m_view(view) { }

    QString pageFile(const QString &path);
    const IwbLimits::Estimate &estimateSoFar() const { return m_estimate; }

private:
    QString element(const QXmlStreamReader &xml, int depth, const QStringRef &rootChild);
    QString image(const QXmlStreamReader &xml);
    QString polygon(const QXmlStreamReader &xml);
    QString scale(const QXmlStreamReader &xml);
    // What the import will make of a picture file (probed once, from its own bytes).
    PictureReading::Probe pictureFile(const QString &file);
    QString object(qint64 bytes); // one object more, taking bytes
    QString estimate(qint64 bytes);
    QString where(const QXmlStreamReader &xml) const
    {
        return QStringLiteral("%1 line %2, <%3>: ")
                .arg(m_file)
                .arg(xml.lineNumber())
                .arg(xml.qualifiedName());
    }

    QString m_folder;
    QSize m_view;
    QString m_file; // the page file being read, for the reasons
    QString m_where; // the element being read, likewise
    QHash<QString, PictureReading::Probe> m_pictures;
    QSet<QString> m_shown; // pictures counted, by file and size
    qint64 m_bytes = 0; // of the page files
    qint64 m_text = 0;
    IwbLimits::Estimate m_estimate; // bytes the open document would take
    int m_objects = 0;
    int m_pages = 0;
    bool m_pageMade = false; // the background picture of the document was met
};

QString LimitCheck::pageFile(const QString &path)
{
    using namespace IwbLimits;
    QFile file(path);
    if (!file.exists())
        return QString();
    m_file = QFileInfo(path).fileName();
    m_bytes += file.size();
    if (m_bytes > kMaxContentBytes)
        return QStringLiteral("%1: page files of more than %2 bytes")
                .arg(m_file)
                .arg(kMaxContentBytes);
    if (!file.open(QIODevice::ReadOnly))
        return QString(); // the import says why it cannot read it
    QXmlStreamReader xml(&file);
    int depth = 0;
    QStringRef rootChild;
    QString rootChildName; // owns what rootChild refers to
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            if (++depth > kMaxDepth)
                return QStringLiteral("%1 line %2: elements nested deeper than %3")
                        .arg(m_file)
                        .arg(xml.lineNumber())
                        .arg(kMaxDepth);
            if (depth == 2) {
                rootChildName = xml.name().toString();
                rootChild = QStringRef(&rootChildName);
            }
            const QString reason = element(xml, depth, rootChild);
            if (!reason.isEmpty())
                return reason;
            break;
        }
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
            // Laid out as text objects: a lesson's texts are short, a book in one would hang.
            if (!xml.isWhitespace()) {
                m_text += xml.text().size();
                if (m_text > kMaxTextCharacters)
                    return QStringLiteral("%1 line %2: more than %3 characters of text")
                            .arg(m_file)
                            .arg(xml.lineNumber())
                            .arg(kMaxTextCharacters);
            }
            break;
        default:
            break;
        }
    }
    // A file whose XML breaks off is not refused: the import keeps what can be read of it.
    return QString();
}

QString LimitCheck::element(const QXmlStreamReader &xml, int depth, const QStringRef &rootChild)
{
    using namespace IwbLimits;
    const QStringRef name = xml.name();
    m_where = where(xml);
    if (depth == 2) {
        if (name == QLatin1String("rect") && ++m_pages > kMaxPages)
            return m_where + QStringLiteral("more than %1 pages").arg(kMaxPages);
        if (name == QLatin1String("image"))
            return image(xml);
        if (name == QLatin1String("video") || name == QLatin1String("audio")) {
            const QString beyond = scale(xml);
            return beyond.isEmpty() ? object(kObjectBytes) : beyond;
        }
        if (name == QLatin1String("foreignObject"))
            return scale(xml);
    } else if (depth == 3) {
        if (rootChild == QLatin1String("g") && name == QLatin1String("polygon"))
            return polygon(xml);
        if (rootChild == QLatin1String("foreignObject")
            && name == QLatin1String("itemTextContent")) {
            const QString size = attribute(xml, "font-size");
            if (!(std::fabs(IwbFormat::readNumber(size)) <= kMaxFontPoints))
                return m_where + QStringLiteral("font size ") + size;
            return object(kObjectBytes);
        }
    }
    return QString();
}

QString LimitCheck::scale(const QXmlStreamReader &xml)
{
    const QString transform = attribute(xml, "transform");
    const qreal scale = objectScale(transform, IwbFormat::readUbzMatrix(transform));
    if (!(std::fabs(scale) <= IwbLimits::kMaxScale))
        return m_where + QStringLiteral("scale out of range");
    return QString();
}

QString LimitCheck::object(qint64 bytes)
{
    if (++m_objects > IwbLimits::kMaxObjects)
        return m_where + QStringLiteral("more than %1 objects").arg(IwbLimits::kMaxObjects);
    return estimate(bytes);
}

QString LimitCheck::estimate(qint64 bytes)
{
    m_estimate.others += bytes;
    if (m_estimate.others > IwbLimits::kMaxDocumentBytes)
        return m_where
                + QStringLiteral("the document would take more than %1 MB")
                          .arg(IwbLimits::kMaxDocumentBytes >> 20);
    return QString();
}

PictureReading::Probe LimitCheck::pictureFile(const QString &file)
{
    if (file.isEmpty())
        return PictureReading::Probe();
    auto known = m_pictures.constFind(file);
    // The open waits for the check: a decoding process found stopped is not waited for (a
    // waiting caller's is ended then).
    if (known == m_pictures.constEnd())
        known = m_pictures.insert(file, PictureReading::probe(file, [] {}));
    return known.value();
}

QString LimitCheck::image(const QXmlStreamReader &xml)
{
    using namespace IwbLimits;
    // The picture the import loads: its ub:source, else its archived copy. One beyond the
    // limits is left out, or taken smaller, by the import: never a reason to refuse.
    const QString source = attribute(xml, "ub:source");
    PictureReading::Probe probe =
            pictureFile(source.isEmpty() ? QString() : MediaPath::resolveSource(m_folder, source));
    if (probe.outcome == PictureReading::Outcome::Unreadable) {
        const QString href = attribute(xml, "xlink:href");
        probe = pictureFile(href.isEmpty() ? QString() : MediaPath::resolveHref(m_folder, href));
    }
    const QString transform = attribute(xml, "transform");
    if (transform.isEmpty() && attribute(xml, "requiredExtension").isEmpty() && !m_pageMade) {
        m_pageMade = true; // the document's background: kept at the view's size
        if (!probe.isTaken() || !attribute(xml, "fill").isEmpty())
            return QString();
        const QSize shown = probe.taken.scaled(m_view, Qt::KeepAspectRatio);
        return estimate(pictureBytes(shown));
    }
    const QString beyond = scale(xml);
    if (!beyond.isEmpty() || !probe.isTaken())
        return beyond; // no picture: no object
    const QSize kept = PictureReading::fitted(UbzReader::objectSize(xml, probe.size));
    // A picture shown again at the same size is the same picture on the board: counted once.
    const QString shown = source + QLatin1Char('\n') + attribute(xml, "xlink:href")
            + QLatin1Char('\n') + QString::number(kept.width()) + QLatin1Char('x')
            + QString::number(kept.height());
    if (!m_shown.contains(shown)) {
        m_shown.insert(shown);
        m_estimate.pictures += pictureBytes(kept);
    }
    return object(kObjectBytes);
}

QString LimitCheck::polygon(const QXmlStreamReader &xml)
{
    using namespace IwbLimits;
    const QStringRef points = xml.attributes().value(QLatin1String("points"));
    const qint64 count = points.count(QLatin1Char(' ')) + 1;
    if (count > kMaxPoints)
        return m_where + QStringLiteral("more than %1 points").arg(kMaxPoints);
    const QString width = attribute(xml, "stroke-width");
    if (!(std::fabs(IwbFormat::readNumber(width)) <= kMaxPenWidth))
        return m_where + QStringLiteral("pen width ") + width;
    // Textures of the pen and of the fill are read within the limits by the import.
    const QString beyond = scale(xml);
    return beyond.isEmpty() ? object(kObjectBytes + count * kPointBytes) : beyond;
}

} // namespace

IwbLimits::TextCheck UbzReader::checkLimits(const QString &folder, const QSize &view)
{
    LimitCheck check(folder, view);
    IwbLimits::TextCheck checked;
    for (int n = 0; n < 100 && checked.reason.isEmpty(); ++n)
        checked.reason = check.pageFile(folder + QLatin1Char('/') + pageFileName(n));
    checked.estimate = check.estimateSoFar();
    return checked;
}
