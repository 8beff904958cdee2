#include "iwblimits.h"

#include "iwbformat.h"
#include "mediapath.h"

#include <QIODevice>
#include <QImageReader>
#include <QXmlStreamReader>

#include <cmath>

namespace {

// Elements that each make a board object (or, as a background, a page). Held with their
// lengths: every element and attribute of a document is compared with them.
const QLatin1String kObjectElements[] = {
    QLatin1String("rect"),     QLatin1String("roundrect"), QLatin1String("cone"),
    QLatin1String("cube"),     QLatin1String("cylinder"),  QLatin1String("sphere"),
    QLatin1String("circle"),   QLatin1String("ellipse"),   QLatin1String("line"),
    QLatin1String("polyline"), QLatin1String("polygon"),   QLatin1String("image"),
    QLatin1String("video"),    QLatin1String("sound"),     QLatin1String("text"),
    QLatin1String("textarea"), QLatin1String("table")
};

class Check
{
public:
    // Pictures are noted in pictures, to be looked up once they are unpacked.
    Check(QXmlStreamReader &xml, QList<QPair<QString, QString>> &pictures)
        : m_xml(xml), m_pictures(pictures)
    {
    }

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

    QXmlStreamReader &m_xml;
    QList<QPair<QString, QString>> &m_pictures;
    QString estimate(qint64 bytes);

    qint64 m_estimate = 0; // bytes the open document would take
    int m_objects = 0;
    int m_pages = 0;
};

bool beyond(double value, double limit)
{
    return !(std::fabs(value) <= limit); // also true for NaN
}

QString Check::element()
{
    // One walk over the attributes; most elements carry a handful and no point list. A number
    // too large or not finite costs nothing here: the reader leaves its object out.
    const QXmlStreamAttributes attributes = m_xml.attributes();
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (attribute.qualifiedName() != QLatin1String("points"))
            continue;
        const int points = attribute.value().count(QLatin1Char(' ')) + 1;
        if (points > IwbLimits::kMaxPoints)
            return where() + QStringLiteral("more than %1 points").arg(IwbLimits::kMaxPoints);
        const QString beyond = estimate(points * IwbLimits::kPointBytes);
        if (!beyond.isEmpty())
            return beyond;
    }
    const QStringRef element = m_xml.name();
    if (element == QLatin1String("page") && ++m_pages > IwbLimits::kMaxPages)
        return where() + QStringLiteral("more than %1 pages").arg(IwbLimits::kMaxPages);
    for (const QLatin1String &objectElement : kObjectElements) {
        if (element != objectElement)
            continue;
        if (++m_objects > IwbLimits::kMaxObjects)
            return where() + QStringLiteral("more than %1 objects").arg(IwbLimits::kMaxObjects);
        const QString beyond = estimate(IwbLimits::kObjectBytes);
        if (!beyond.isEmpty())
            return beyond;
    }
    if (element == QLatin1String("table")) {
        const int rows = IwbFormat::readInteger(attribute("rows"));
        const int columns = IwbFormat::readInteger(attribute("columns"));
        if (rows > IwbLimits::kMaxTableCells || columns > IwbLimits::kMaxTableCells)
            return where() + QStringLiteral("a table of %1 x %2").arg(rows).arg(columns);
    } else if (element == QLatin1String("svg")) {
        if (beyond(IwbFormat::readNumber(attribute("width")), IwbLimits::kMaxPictureSide)
            || beyond(IwbFormat::readNumber(attribute("height")), IwbLimits::kMaxPictureSide))
            return where() + QStringLiteral("page size out of range");
    } else if (element == QLatin1String("image")) {
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
        const QString beyond = estimate(4 * width * height);
        if (!beyond.isEmpty())
            return beyond;
    }
    const QString href = attribute("xlink:href");
    if (!href.isEmpty())
        m_pictures.append(qMakePair(where(), href));
    return QString();
}

QString Check::estimate(qint64 bytes)
{
    m_estimate += bytes;
    if (m_estimate <= IwbLimits::kMaxDocumentBytes)
        return QString();
    return where()
            + QStringLiteral("the document would take more than %1 MB")
                      .arg(IwbLimits::kMaxDocumentBytes >> 20);
}

QString pictureFile(const QString &folder, const QString &where, const QString &href)
{
    const QString file = MediaPath::resolveHref(folder, href);
    if (file.isEmpty())
        return QString(); // missing: the reader does without it
    const QString beyond = IwbLimits::checkPicture(file);
    return beyond.isEmpty() ? QString() : where + href + QLatin1Char(' ') + beyond;
}

// The walk over the text, resumable: a text that comes in pieces stops where a piece ends
// and goes on with the next.
struct TextWalk
{
    explicit TextWalk(QList<QPair<QString, QString>> &pictures) : check(xml, pictures) { }

    // Reads what the text holds so far; the reason once one is found.
    QString walk()
    {
        using namespace IwbLimits;
        for (;;) {
            // A text that ends too soon may go on in the next piece; any other end or fault is
            // the end of the walk (a file whose XML breaks off is read in part, not refused).
            if (xml.atEnd() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
                return QString();
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (xml.hasError())
                return QString();
            switch (token) {
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
            case QXmlStreamReader::Characters:
                // Laid out as text objects: a lesson's texts are short, a book in one would hang.
                if (!xml.isWhitespace()) {
                    text += xml.text().size();
                    if (text > kMaxTextCharacters)
                        return QStringLiteral("line %1: more than %2 characters of text")
                                .arg(xml.lineNumber())
                                .arg(kMaxTextCharacters);
                }
                break;
            default:
                break;
            }
        }
    }

    QXmlStreamReader xml;
    Check check;
    int depth = 0;
    qint64 text = 0;
};

QString readText(QIODevice &content, QList<QPair<QString, QString>> &pictures)
{
    if (content.size() > IwbLimits::kMaxContentBytes)
        return QStringLiteral("content.xml: %1 bytes").arg(content.size());
    TextWalk walk(pictures);
    walk.xml.setDevice(&content);
    return walk.walk();
}

} // namespace

namespace IwbLimits {

QString checkContent(QIODevice &content, const QString &folder)
{
    return checkPictures(checkText(content), folder);
}

QString checkPicture(const QString &file)
{
    // Only the header is read: the size a picture would take once decoded.
    const QSize size = QImageReader(file).size();
    const qint64 pixels = qint64(size.width()) * size.height();
    if (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide
        || pixels > kMaxPicturePixels)
        return QStringLiteral("is a picture of %1 x %2").arg(size.width()).arg(size.height());
    return QString();
}

QString checkPictures(const TextCheck &text, const QString &folder)
{
    // The pictures named before the point where the text was refused come first in the file.
    for (const QPair<QString, QString> &picture : text.pictures) {
        const QString reason = pictureFile(folder, picture.first, picture.second);
        if (!reason.isEmpty())
            return reason;
    }
    return text.reason;
}

TextCheck checkText(QIODevice &content)
{
    TextCheck result;
    result.reason = readText(content, result.pictures);
    result.bytes = content.size();
    return result;
}

struct TextChecker::State
{
    TextCheck result;
    TextWalk walk{ result.pictures };
    bool done = false;
};

TextChecker::TextChecker() : m_state(std::make_unique<State>()) { }

TextChecker::~TextChecker() = default;

void TextChecker::addData(const QByteArray &piece)
{
    if (m_state->done)
        return;
    m_state->result.bytes += piece.size();
    if (m_state->result.bytes > kMaxContentBytes) {
        m_state->result.reason =
                QStringLiteral("content.xml: more than %1 bytes").arg(kMaxContentBytes);
        m_state->done = true;
        return;
    }
    m_state->walk.xml.addData(piece);
    m_state->result.reason = m_state->walk.walk();
    m_state->done = !m_state->result.reason.isEmpty();
}

bool TextChecker::done() const
{
    return m_state->done;
}

TextCheck TextChecker::finish()
{
    // A text that breaks off is not refused: the reader keeps what can be read of it.
    return m_state->result;
}

} // namespace IwbLimits
