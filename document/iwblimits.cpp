#include "iwblimits.h"

#include "iwbformat.h"

#include "pictures/picturereading.h"

#include <QIODevice>
#include <QSet>
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
    Check(QXmlStreamReader &xml, IwbLimits::Estimate &estimate) : m_xml(xml), m_estimate(estimate)
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
    void picture();

    QXmlStreamReader &m_xml;
    QString estimate(qint64 bytes);

    IwbLimits::Estimate &m_estimate; // bytes the open document would take
    int m_objects = 0;
    int m_pages = 0;
    bool m_pageMade = false; // as the reader has it: the next untransformed picture is an object
    QSet<QString> m_picturesShown; // by file and size
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
    if (element == QLatin1String("page")) {
        if (++m_pages > IwbLimits::kMaxPages)
            return where() + QStringLiteral("more than %1 pages").arg(IwbLimits::kMaxPages);
        if (!attribute("id").isEmpty())
            m_pageMade = false;
    } else if (element == QLatin1String("a")) {
        m_pageMade = true; // a link makes the default page its object goes on
    }
    for (const QLatin1String &objectElement : kObjectElements) {
        if (element != objectElement)
            continue;
        if (element == QLatin1String("image"))
            picture();
        // The first of them makes the page (as its background, or a default one before it).
        m_pageMade = true;
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
    }
    return QString();
}

void Check::picture()
{
    // A picture object is kept at the size the element gives, within the board's limits (a
    // page background at the view's). What it asks is never a reason to refuse the document:
    // the reader takes it smaller when the pictures together would take too much.
    const bool background = attribute("transform").isEmpty()
            && attribute("requiredExtension").isEmpty() && !m_pageMade;
    const int width = IwbFormat::readTruncated(attribute("width"));
    const int height = IwbFormat::readTruncated(attribute("height"));
    if (background || width <= 0 || height <= 0)
        return;
    // A picture shown again at the same size is the same picture on the board: counted once.
    const QString shown = attribute("xlink:href") + QLatin1Char('\n') + QString::number(width)
            + QLatin1Char('x') + QString::number(height);
    if (m_picturesShown.contains(shown))
        return;
    m_picturesShown.insert(shown);
    m_estimate.pictures += IwbLimits::pictureBytes(PictureReading::fitted(QSize(width, height)));
}

QString Check::estimate(qint64 bytes)
{
    m_estimate.others += bytes;
    if (m_estimate.others <= IwbLimits::kMaxDocumentBytes)
        return QString();
    return where()
            + QStringLiteral("the document would take more than %1 MB")
                      .arg(IwbLimits::kMaxDocumentBytes >> 20);
}

// The walk over the text, resumable: a text that comes in pieces stops where a piece ends
// and goes on with the next.
struct TextWalk
{
    explicit TextWalk(IwbLimits::Estimate &estimate) : check(xml, estimate) { }

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

QString readText(QIODevice &content, IwbLimits::Estimate &estimate)
{
    if (content.size() > IwbLimits::kMaxContentBytes)
        return QStringLiteral("content.xml: %1 bytes").arg(content.size());
    TextWalk walk(estimate);
    walk.xml.setDevice(&content);
    return walk.walk();
}

} // namespace

namespace IwbLimits {

TextCheck checkText(QIODevice &content)
{
    TextCheck result;
    result.reason = readText(content, result.estimate);
    result.bytes = content.size();
    return result;
}

struct TextChecker::State
{
    TextCheck result;
    TextWalk walk{ result.estimate };
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

const Estimate &TextChecker::estimate() const
{
    return m_state->result.estimate;
}

TextCheck TextChecker::finish()
{
    // A text that breaks off is not refused: the reader keeps what can be read of it.
    return m_state->result;
}

} // namespace IwbLimits
