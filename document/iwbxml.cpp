#include "iwbxml.h"

#include "iwbformat.h"
#include "iwblimits.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QThreadPool>

#include <algorithm>
#include <climits>

namespace {

// By default a recording holds the tokens of the largest text a document may be, with the paths
// of its strokes.
static_assert(IwbXmlRecording::kDefaultBudget >= IwbLimits::kMaxContentBytes, "");
// A string's own cost beside its characters.
constexpr qint64 kStringBytes = 32;
constexpr qint64 kPathElementBytes = 24;
constexpr int kSharedValueLength = 64;
constexpr int kSharedValues = 4096;
constexpr qint64 kBatchCharacters = 256 << 10; // of point lists made into paths at a time

// The reader's own message, in the words of the toolkit's translations.
const char *const kQtContext = "QXmlStream";
const char *const kExpectedText = "Expected character data.";

bool isPolyline(const QStringRef &name)
{
    return name == QLatin1String("polyline") || name == QLatin1String("polygon");
}

} // namespace

// --- Recording ---

IwbXmlRecording::IwbXmlRecording(qint64 budget) : m_budget(budget) { }
IwbXmlRecording::~IwbXmlRecording() = default;

void IwbXmlRecording::addData(const QByteArray &piece)
{
    m_bytes += piece.size(); // what comes after an error still belongs to the text
    if (m_ended || m_givenUp)
        return;
    m_reader.addData(piece);
    pump();
}

void IwbXmlRecording::finish()
{
    m_finished = true;
    if (!m_ended && !m_givenUp)
        pump();
}

std::shared_ptr<const IwbXmlRecording> IwbXmlRecording::read(QIODevice &content, qint64 budget)
{
    auto recording = std::make_shared<IwbXmlRecording>(budget);
    constexpr qint64 kPiece = 1 << 20;
    while (!recording->m_ended && !recording->m_givenUp) {
        const QByteArray piece = content.read(kPiece);
        if (piece.isEmpty())
            break;
        recording->addData(piece);
    }
    recording->finish();
    return recording->m_givenUp ? nullptr : recording;
}

void IwbXmlRecording::pump()
{
    while (!m_ended && !m_givenUp) {
        const QXmlStreamReader::TokenType type = m_reader.readNext();
        if (type == QXmlStreamReader::Invalid
            && m_reader.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
            if (!m_finished)
                return; // the rest of the text is still to come
            // The text is whole: after the last element that is the document's end; before
            // it, the document was cut short.
            record(m_rootClosed ? QXmlStreamReader::EndDocument : type);
            end();
            return;
        }
        // Given in pieces, the reader answers "end of document" whenever the text runs out
        // after the last element; only the end of the text tells which time it really was.
        if (type == QXmlStreamReader::EndDocument) {
            m_rootClosed = true;
            continue;
        }
        record(type);
        if (type == QXmlStreamReader::Invalid)
            end();
        if (held() > m_budget)
            giveUp();
    }
}

int IwbXmlRecording::nameIndex(const QStringRef &name)
{
    // Looked up without a copy of the name: only a new one is kept.
    const QString key = QString::fromRawData(name.unicode(), name.size());
    auto &index = m_nameIndex;
    const auto found = index.constFind(key);
    if (found != index.constEnd())
        return found.value();
    m_names.push_back(name.toString());
    const int added = int(m_names.size()) - 1;
    index.insert(m_names.back(), added);
    m_held += kStringBytes + 2 * name.size();
    return added;
}

QString IwbXmlRecording::shared(const QStringRef &value)
{
    if (value.isEmpty())
        return QString();
    if (value.size() > kSharedValueLength)
        return value.toString();
    const auto found = m_values.constFind(QString::fromRawData(value.unicode(), value.size()));
    if (found != m_values.constEnd())
        return found.value();
    const QString kept = value.toString();
    // Ids and the like never repeat: past a point, new values are not looked for again.
    if (m_values.size() < kSharedValues) {
        m_values.insert(kept, kept);
        m_held += kStringBytes + 2 * value.size();
    }
    return kept;
}

void IwbXmlRecording::record(QXmlStreamReader::TokenType type)
{
    Token token;
    token.type = type;
    token.line = int(qMin<qint64>(m_reader.lineNumber(), INT_MAX));
    switch (type) {
    case QXmlStreamReader::StartElement: {
        const QStringRef name = m_reader.name();
        token.name = nameIndex(name);
        if (name == QLatin1String("page"))
            ++m_pages;
        const bool polyline = isPolyline(name);
        const bool picture = name == QLatin1String("image");
        const QXmlStreamAttributes attributes = m_reader.attributes();
        token.firstAttribute = int(m_attributes.size());
        for (const QXmlStreamAttribute &attribute : attributes) {
            const QStringRef attributeName = attribute.qualifiedName();
            if (polyline && attributeName == QLatin1String("points")) {
                const QStringRef points = attribute.value();
                if (!m_batch)
                    m_batch = std::make_shared<PathBatch>();
                m_batch->texts.push_back(points.toString());
                m_batchCharacters += points.size();
                token.path = m_pathCount++;
                // The text until its path is made (then the path, see sendPaths).
                m_held += kStringBytes + 2 * points.size();
                if (m_batchCharacters >= kBatchCharacters)
                    sendPaths();
                continue;
            }
            const QString value = shared(attribute.value());
            if (attributeName == QLatin1String("ref"))
                m_references.insert(value);
            else if (picture && attributeName == QLatin1String("xlink:href"))
                m_pictures << value;
            m_attributes.push_back({ nameIndex(attributeName), value });
            m_held += value.isDetached() ? kStringBytes + 2 * value.size() : 0;
            ++token.attributes;
        }
        break;
    }
    case QXmlStreamReader::EndElement:
        token.name = nameIndex(m_reader.name());
        break;
    case QXmlStreamReader::Characters:
    case QXmlStreamReader::EntityReference:
    case QXmlStreamReader::Comment:
    case QXmlStreamReader::DTD:
        token.text = int(m_texts.size());
        m_texts.push_back(shared(m_reader.text()));
        m_held += m_texts.back().isDetached() ? kStringBytes + 2 * m_texts.back().size() : 0;
        break;
    case QXmlStreamReader::Invalid:
        m_error = m_reader.errorString();
        break;
    default:
        break;
    }
    m_tokens.push_back(token);
}

void IwbXmlRecording::sendPaths()
{
    if (!m_batch)
        return;
    for (const QString &text : m_batch->texts)
        m_batch->textBytes += kStringBytes + 2 * text.size();
    auto task = std::make_shared<std::packaged_task<void()>>([batch = m_batch]() {
        batch->paths.reserve(batch->texts.size());
        batch->unreadable.reserve(batch->texts.size());
        for (QString &text : batch->texts) {
            bool unreadable = false;
            batch->paths.push_back(IwbFormat::readPolyline(text, &unreadable));
            batch->unreadable.push_back(unreadable);
            text = QString();
        }
    });
    m_sent.emplace_back(m_batch, task->get_future());
    QThreadPool::globalInstance()->start([task]() { (*task)(); });
    m_batch.reset();
    m_batchCharacters = 0;
    // Batches done by now count with what they made rather than with their text.
    for (; m_settled < m_sent.size(); ++m_settled) {
        auto &sent = m_sent[m_settled];
        if (sent.second.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            break;
        for (const QPainterPath &path : sent.first->paths)
            m_held += kStringBytes + kPathElementBytes * path.elementCount();
        m_held -= sent.first->textBytes;
    }
}

void IwbXmlRecording::collectPaths()
{
    sendPaths();
    m_paths.reserve(size_t(m_pathCount));
    m_unreadablePaths.reserve(size_t(m_pathCount));
    for (size_t n = 0; n < m_sent.size(); ++n) {
        auto &sent = m_sent[n];
        sent.second.wait();
        m_unreadablePaths.insert(m_unreadablePaths.end(), sent.first->unreadable.begin(),
                                 sent.first->unreadable.end());
        for (QPainterPath &path : sent.first->paths) {
            if (n >= m_settled)
                m_held += kStringBytes + kPathElementBytes * path.elementCount();
            m_paths.push_back(std::move(path));
        }
        if (n >= m_settled)
            m_held -= sent.first->textBytes;
    }
    m_sent.clear();
    m_settled = 0;
}

qint64 IwbXmlRecording::held() const
{
    // The lists as they are allocated: each may have grown to twice what it holds.
    return m_held + qint64(m_tokens.capacity() * sizeof(Token))
            + qint64(m_attributes.capacity() * sizeof(Attribute))
            + qint64(m_texts.capacity() * sizeof(QString))
            + qint64(m_paths.capacity() * sizeof(QPainterPath));
}

void IwbXmlRecording::end()
{
    m_ended = true;
    collectPaths();
}

void IwbXmlRecording::giveUp()
{
    // Paths still being made are let go with their batches.
    m_batch.reset();
    m_sent.clear();
    m_givenUp = true;
    m_tokens = {};
    m_names = {};
    m_nameIndex = {};
    m_values = {};
    m_references = {};
    m_pictures.clear();
    m_attributes = {};
    m_texts = {};
    m_paths = {};
    m_unreadablePaths = {};
    m_reader.clear();
}

// --- The walk ---

IwbXml::IwbXml(QXmlStreamReader &live) : m_live(&live) { }

IwbXml::IwbXml(std::shared_ptr<const IwbXmlRecording> recording)
    : m_recording(std::move(recording))
{
}

QXmlStreamReader::TokenType IwbXml::tokenType() const
{
    if (m_live)
        return m_live->tokenType();
    if (!m_raised.isEmpty())
        return QXmlStreamReader::Invalid;
    return m_at < 0 ? QXmlStreamReader::NoToken : m_recording->m_tokens[size_t(m_at)].type;
}

QXmlStreamReader::TokenType IwbXml::readNext()
{
    if (m_live)
        return m_live->readNext();
    // The last token (the end, or the error) is where a recording stays.
    if (m_raised.isEmpty() && size_t(m_at + 1) < m_recording->m_tokens.size())
        ++m_at;
    return tokenType();
}

bool IwbXml::atEnd() const
{
    if (m_live)
        return m_live->atEnd();
    const QXmlStreamReader::TokenType type = tokenType();
    return type == QXmlStreamReader::Invalid || type == QXmlStreamReader::EndDocument
            || m_recording->m_tokens.empty();
}

bool IwbXml::hasError() const
{
    return m_live ? m_live->hasError() : tokenType() == QXmlStreamReader::Invalid;
}

QString IwbXml::errorString() const
{
    if (m_live)
        return m_live->errorString();
    if (!m_raised.isEmpty())
        return m_raised;
    return hasError() ? m_recording->m_error : QString();
}

qint64 IwbXml::lineNumber() const
{
    if (m_live)
        return m_live->lineNumber();
    return m_at < 0 ? 0 : m_recording->m_tokens[size_t(m_at)].line;
}

QStringRef IwbXml::name() const
{
    if (m_live)
        return m_live->name();
    if (m_at < 0 || !m_raised.isEmpty())
        return QStringRef();
    const int name = m_recording->m_tokens[size_t(m_at)].name;
    return name < 0 ? QStringRef() : QStringRef(&m_recording->m_names[size_t(name)]);
}

QString IwbXml::text() const
{
    if (m_live)
        return m_live->text().toString();
    if (m_at < 0 || !m_raised.isEmpty())
        return QString();
    const int text = m_recording->m_tokens[size_t(m_at)].text;
    return text < 0 ? QString() : m_recording->m_texts[size_t(text)];
}

QString IwbXml::attribute(const char *qualifiedName) const
{
    if (m_live)
        return m_live->attributes().value(QLatin1String(qualifiedName)).toString();
    const IwbXmlRecording &recording = *m_recording;
    if (!m_raised.isEmpty() || m_at < 0
        || recording.m_tokens[size_t(m_at)].type != QXmlStreamReader::StartElement)
        return QString();
    const int name = nameIndex(qualifiedName);
    if (name < 0)
        return QString(); // no element of the text has it
    // The element's attributes by name, set out once for the many that are asked of it.
    if (m_placedFor != m_at) {
        for (const int placed : m_placedNames)
            m_places[size_t(placed)] = -1;
        m_placedNames.clear();
        const IwbXmlRecording::Token &token = recording.m_tokens[size_t(m_at)];
        for (int n = token.firstAttribute; n < token.firstAttribute + token.attributes; ++n) {
            const size_t placed = size_t(recording.m_attributes[size_t(n)].name);
            if (placed >= m_places.size())
                m_places.resize(placed + 1, -1);
            if (m_places[placed] < 0) {
                m_places[placed] = n;
                m_placedNames.push_back(int(placed));
            }
        }
        m_placedFor = m_at;
    }
    const int at = size_t(name) < m_places.size() ? m_places[size_t(name)] : -1;
    return at < 0 ? QString() : recording.m_attributes[size_t(at)].value;
}

int IwbXml::nameIndex(const char *name) const
{
    // The readers ask for the same few names thousands of times, each with the same text in
    // their code: found by where that text lies (its letters compared only to be sure it is
    // still that text), and looked up by its letters once.
    const auto slotOf = [this](const char *place) {
        return size_t((quint64(quintptr(place)) * 0x9E3779B97F4A7C15ull) >> 32)
                & (m_known.size() - 1);
    };
    size_t slot = slotOf(name);
    for (; m_known[slot].place; slot = (slot + 1) & (m_known.size() - 1)) {
        const KnownName &known = m_known[slot];
        if (known.place == name && qstrcmp(known.text.constData(), name) == 0)
            return known.index;
    }
    const QLatin1String wanted(name);
    const std::vector<QString> &names = m_recording->m_names;
    const auto found = std::find(names.begin(), names.end(), wanted);
    const int index = found == names.end() ? -1 : int(found - names.begin());
    // Kept at most half full, so that a search ends soon at an empty slot. A place whose text
    // changed is entered again beside its old entry, which is never found again.
    if (2 * (m_knownCount + 1) > m_known.size()) {
        std::vector<KnownName> entries(2 * m_known.size());
        std::swap(entries, m_known);
        for (KnownName &entry : entries) {
            if (!entry.place)
                continue;
            size_t to = slotOf(entry.place);
            while (m_known[to].place)
                to = (to + 1) & (m_known.size() - 1);
            m_known[to] = std::move(entry);
        }
        slot = slotOf(name);
        while (m_known[slot].place)
            slot = (slot + 1) & (m_known.size() - 1);
    }
    m_known[slot] = { name, QByteArray(name), index };
    ++m_knownCount;
    return index;
}

QPainterPath IwbXml::polyline(bool *unreadable) const
{
    if (m_live || !isStartElement())
        return IwbFormat::readPolyline(attribute("points"), unreadable);
    const int path = m_recording->m_tokens[size_t(m_at)].path;
    if (unreadable && path >= 0 && size_t(path) < m_recording->m_unreadablePaths.size())
        *unreadable = m_recording->m_unreadablePaths[size_t(path)];
    // Paths are all there once the recording has ended.
    return path < 0 || size_t(path) >= m_recording->m_paths.size()
            ? QPainterPath()
            : m_recording->m_paths[size_t(path)];
}

const QSet<QString> *IwbXml::references() const
{
    return m_live ? nullptr : &m_recording->m_references;
}

const QStringList *IwbXml::pictures() const
{
    return m_live ? nullptr : &m_recording->m_pictures;
}

QString IwbXml::readElementText(QXmlStreamReader::ReadElementTextBehaviour behaviour)
{
    if (m_live)
        return m_live->readElementText(behaviour);
    // As QXmlStreamReader does it, over the recorded tokens.
    if (!isStartElement())
        return QString();
    QString result;
    for (;;) {
        switch (readNext()) {
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            result += text();
            break;
        case QXmlStreamReader::EndElement:
            return result;
        case QXmlStreamReader::ProcessingInstruction:
        case QXmlStreamReader::Comment:
            break;
        case QXmlStreamReader::StartElement:
            if (behaviour == QXmlStreamReader::SkipChildElements) {
                skipCurrentElement();
                break;
            }
            if (behaviour == QXmlStreamReader::IncludeChildElements) {
                result += readElementText(behaviour);
                break;
            }
            Q_FALLTHROUGH();
        default:
            if (hasError() || behaviour == QXmlStreamReader::ErrorOnUnexpectedElement) {
                if (!hasError())
                    m_raised = QCoreApplication::translate(kQtContext, kExpectedText);
                return result;
            }
            if (atEnd())
                return result; // nothing after the end: the reader's own next answer is an error
        }
    }
}

void IwbXml::skipCurrentElement()
{
    if (m_live) {
        m_live->skipCurrentElement();
        return;
    }
    for (int depth = 1; depth > 0 && !atEnd();) {
        readNext();
        if (isEndElement())
            --depth;
        else if (isStartElement())
            ++depth;
    }
}
