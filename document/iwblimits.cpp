#include "iwblimits.h"

#include "iwbformat.h"
#include "mediapath.h"

#include <QImageReader>
#include <QIODevice>
#include <QXmlStreamReader>

#include <cmath>

namespace {

constexpr double kMaxFontPoints = 1000;
constexpr double kMaxScale = 1000;

// Attributes that place or size a shape; the solids' readers turn some of them into integers.
const char *const kCoordinates[] = { "x",  "y",  "width", "height", "cx", "cy", "r",
                                     "rx", "ry", "x1",    "y1",     "x2", "y2" };

class Check
{
public:
    Check(QXmlStreamReader &xml, const QString &folder) : m_xml(xml), m_folder(folder) { }

    QString element();

private:
    QString attribute(const char *name) const
    {
        return m_xml.attributes().value(QLatin1String(name)).toString();
    }
    QString where() const
    {
        return QStringLiteral("line %1, <%2>: ").arg(m_xml.lineNumber()).arg(m_xml.qualifiedName());
    }
    QString picture();
    QString pictureFile(const QString &href);

    QXmlStreamReader &m_xml;
    const QString m_folder;
    qint64 m_keptPixels = 0;
};

bool beyond(double value, double limit)
{
    return !(std::fabs(value) <= limit); // also true for NaN
}

QString Check::element()
{
    const QStringRef name = m_xml.name();
    for (const char *coordinate : kCoordinates) {
        const QStringRef text = m_xml.attributes().value(QLatin1String(coordinate));
        if (!text.isEmpty() && beyond(IwbFormat::readNumber(text.toString()), IwbLimits::kMaxCoordinate))
            return where() + QStringLiteral("\"%1\" out of range").arg(QLatin1String(coordinate));
    }
    const QString width = attribute("stroke-width");
    if (!width.isEmpty() && beyond(IwbFormat::readNumber(width), IwbLimits::kMaxPenWidth))
        return where() + QStringLiteral("pen width ") + width;
    const QString fontSize = attribute("font-size");
    if (!fontSize.isEmpty() && beyond(IwbFormat::readNumber(fontSize), kMaxFontPoints))
        return where() + QStringLiteral("font size ") + fontSize;
    const QString transform = attribute("transform");
    if (!transform.isEmpty() && beyond(IwbFormat::readScale(transform), kMaxScale))
        return where() + QStringLiteral("scale out of range");
    const QStringRef points = m_xml.attributes().value(QLatin1String("points"));
    if (points.count(QLatin1Char(' ')) >= IwbLimits::kMaxPoints)
        return where() + QStringLiteral("more than %1 points").arg(IwbLimits::kMaxPoints);
    if (name == QLatin1String("table")) {
        const int rows = IwbFormat::readInteger(attribute("rows"));
        const int columns = IwbFormat::readInteger(attribute("columns"));
        if (rows > IwbLimits::kMaxTableCells || columns > IwbLimits::kMaxTableCells)
            return where() + QStringLiteral("a table of %1 x %2").arg(rows).arg(columns);
    } else if (name == QLatin1String("svg")) {
        if (beyond(IwbFormat::readNumber(attribute("width")), IwbLimits::kMaxPictureSide)
            || beyond(IwbFormat::readNumber(attribute("height")), IwbLimits::kMaxPictureSide))
            return where() + QStringLiteral("page size out of range");
    } else if (name == QLatin1String("image")) {
        return picture();
    }
    return QString();
}

QString Check::picture()
{
    const qint64 width = IwbFormat::readTruncated(attribute("width"));
    const qint64 height = IwbFormat::readTruncated(attribute("height"));
    if (width > IwbLimits::kMaxPictureSide || height > IwbLimits::kMaxPictureSide
        || width * height > IwbLimits::kMaxPicturePixels)
        return where() + QStringLiteral("a picture of %1 x %2").arg(width).arg(height);
    // A picture object is kept at the size the element gives (a page background at the view's).
    if (!attribute("transform").isEmpty() && width > 0 && height > 0) {
        m_keptPixels += width * height;
        if (m_keptPixels > IwbLimits::kMaxDocumentPixels)
            return where() + QStringLiteral("the pictures together are too large");
    }
    const QString href = attribute("xlink:href");
    return href.isEmpty() ? QString() : pictureFile(href);
}

QString Check::pictureFile(const QString &href)
{
    const QString file = MediaPath::resolveHref(m_folder, href);
    if (file.isEmpty())
        return QString(); // missing: the reader does without it
    // Only the header is read: the size a picture would take once decoded.
    const QSize size = QImageReader(file).size();
    const qint64 pixels = qint64(size.width()) * size.height();
    if (size.width() > IwbLimits::kMaxPictureSide || size.height() > IwbLimits::kMaxPictureSide
        || pixels > IwbLimits::kMaxPicturePixels)
        return where() + href + QStringLiteral(" is a picture of %1 x %2")
                                        .arg(size.width())
                                        .arg(size.height());
    return QString();
}

} // namespace

namespace IwbLimits {

QString checkContent(QIODevice &content, const QString &folder)
{
    if (content.size() > kMaxContentBytes)
        return QStringLiteral("content.xml: %1 bytes").arg(content.size());
    QXmlStreamReader xml(&content);
    Check check(xml, folder);
    int depth = 0;
    while (!xml.atEnd() && !xml.hasError()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            if (++depth > kMaxDepth)
                return QStringLiteral("line %1: elements nested deeper than %2")
                        .arg(xml.lineNumber())
                        .arg(kMaxDepth);
            const QString reason = check.element();
            if (!reason.isEmpty())
                return reason;
            break;
        }
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return QString();
}

} // namespace IwbLimits
