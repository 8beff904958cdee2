#include "iwbxml.h"

#include "iwbformat.h"
#include "iwblimits.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QThreadPool>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <chrono>
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
// Point lists are made into paths on other threads a segment at a time: the first segments are
// handed on soon, so that a walk of a text still being recorded can begin early, the later ones
// gather more.
constexpr qint64 kFirstCutCharacters = 16 << 10;
constexpr qint64 kCutCharacters = 256 << 10;
constexpr size_t kSegmentTokens = 8192;

// The reader's own message, in the words of the toolkit's translations.
const char *const kQtContext = "QXmlStream";
const char *const kExpectedText = "Expected character data.";

bool isPolyline(const QStringRef &name)
{
    return name == QLatin1String("polyline") || name == QLatin1String("polygon");
}

} // namespace

// --- Recording ---

IwbXmlRecording::IwbXmlRecording(qint64 budget)
    : m_segment(std::make_shared<Segment>()), m_cutCharacters(kFirstCutCharacters), m_budget(budget)
{
}

IwbXmlRecording::~IwbXmlRecording()
{
    // A document's recording is millions of small strings and lists, lying between the objects
    // made from it, in the memory of the threads that recorded it. It is freed on another
    // thread, so that whoever lets it go last (the GUI thread, once an open is done) is not held
    // up, and the memory is handed back to the system: glibc keeps what is freed in the
    // recording threads' pools for their later use, and they allocate little more.
    constexpr qint64 kFreedElsewhere = qint64(4) << 20; // bytes of text
    QThreadPool *const pool = QThreadPool::globalInstance(); // none at the program's end
    if (m_bytes < kFreedElsewhere || !pool)
        return;
    struct Remains
    {
        std::vector<HandedOn> handedOn;
        std::shared_ptr<Segment> segment;
        std::vector<QString> names;
        std::shared_ptr<const std::vector<QString>> namesHandedOn;
        QHash<QString, int> nameIndex;
        QHash<QString, QString> values;
        QSet<QString> references;
        QStringList pictures;
        QStringList picturesHandedOn;
    };
    auto remains = std::make_shared<Remains>();
    remains->handedOn.swap(m_handedOn);
    remains->segment.swap(m_segment);
    remains->names.swap(m_names);
    remains->namesHandedOn.swap(m_namesHandedOn);
    remains->nameIndex.swap(m_nameIndex);
    remains->values.swap(m_values);
    remains->references.swap(m_references);
    remains->pictures.swap(m_pictures);
    remains->picturesHandedOn.swap(m_picturesHandedOn);
    pool->start([remains = std::move(remains)]() mutable {
        remains.reset();
#ifdef __GLIBC__
        malloc_trim(0);
#endif
    });
}

void IwbXmlRecording::addData(const QByteArray &piece)
{
    m_bytes += piece.size(); // what comes after an error still belongs to the text
    if (m_ended || givenUp())
        return;
    m_reader.addData(piece);
    pump();
}

void IwbXmlRecording::finish()
{
    m_finished = true;
    if (!m_ended && !givenUp())
        pump();
}

bool IwbXmlRecording::givenUp() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_givenUp;
}

std::shared_ptr<const IwbXmlRecording> IwbXmlRecording::read(QIODevice &content, qint64 budget)
{
    auto recording = std::make_shared<IwbXmlRecording>(budget);
    constexpr qint64 kPiece = 1 << 20;
    while (!recording->m_ended && !recording->givenUp()) {
        const QByteArray piece = content.read(kPiece);
        if (piece.isEmpty())
            break;
        recording->addData(piece);
    }
    recording->finish();
    return recording->givenUp() ? nullptr : recording;
}

void IwbXmlRecording::pump()
{
    while (!m_ended) {
        const QXmlStreamReader::TokenType type = m_reader.readNext();
        if (type == QXmlStreamReader::Invalid
            && m_reader.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
            if (!m_finished) {
                // The rest of the text is still to come: what there is can be walked.
                handOn();
                return;
            }
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
        if (type == QXmlStreamReader::Invalid) {
            end();
        } else if (held() > m_budget) {
            giveUp();
            return;
        } else if (m_segment->pointCharacters >= m_cutCharacters
                   || m_segment->tokens.size() >= kSegmentTokens) {
            handOn();
        }
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
    Segment &segment = *m_segment;
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
        token.firstAttribute = int(segment.attributes.size());
        for (const QXmlStreamAttribute &attribute : attributes) {
            const QStringRef attributeName = attribute.qualifiedName();
            if (polyline && attributeName == QLatin1String("points")) {
                const QStringRef points = attribute.value();
                segment.pointTexts.push_back(points.toString());
                segment.pointCharacters += points.size();
                token.path = int(segment.pointTexts.size()) - 1;
                // The text until its path is made (then the path, see settlePaths).
                m_held += kStringBytes + 2 * points.size();
                continue;
            }
            const QString value = shared(attribute.value());
            if (attributeName == QLatin1String("ref")) {
                m_references.insert(value);
            } else if (picture && attributeName == QLatin1String("xlink:href")) {
                m_pictures << value;
                segment.pictures << value;
            }
            segment.attributes.push_back({ nameIndex(attributeName), value });
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
        token.text = int(segment.texts.size());
        segment.texts.push_back(shared(m_reader.text()));
        m_held += segment.texts.back().isDetached() ? kStringBytes + 2 * segment.texts.back().size()
                                                    : 0;
        break;
    case QXmlStreamReader::Invalid:
        segment.error = m_reader.errorString();
        break;
    default:
        break;
    }
    segment.tokens.push_back(token);
}

void IwbXmlRecording::handOn()
{
    std::shared_ptr<Segment> segment = std::move(m_segment);
    m_segment = std::make_shared<Segment>();
    if (segment->tokens.empty())
        return;
    // The names the segment's tokens use; copied again only when new ones came since.
    if (!m_namesHandedOn || m_namesHandedOn->size() != m_names.size())
        m_namesHandedOn = std::make_shared<const std::vector<QString>>(m_names);
    segment->names = m_namesHandedOn;
    segment->textBytes = m_bytes;
    segment->heldBytes = qint64(segment->tokens.capacity() * sizeof(Token))
            + qint64(segment->attributes.capacity() * sizeof(Attribute))
            + qint64(segment->texts.capacity() * sizeof(QString))
            + qint64(segment->pointTexts.size() * sizeof(QPainterPath));
    m_heldInSegments += segment->heldBytes;
    HandedOn handed;
    handed.segment = segment;
    for (const QString &text : segment->pointTexts)
        handed.pointBytes += kStringBytes + 2 * text.size();
    // Later segments may gather more point lists before they are handed on: the first come
    // soon, so that a walk may begin early.
    m_cutCharacters = std::min(2 * m_cutCharacters, kCutCharacters);
    if (segment->pointTexts.empty()) {
        std::promise<void> none;
        none.set_value();
        handed.paths = none.get_future().share();
        handed.settled = true;
    } else {
        auto task = std::make_shared<std::packaged_task<void()>>([segment]() {
            segment->paths.reserve(segment->pointTexts.size());
            segment->unreadablePaths.reserve(segment->pointTexts.size());
            for (QString &text : segment->pointTexts) {
                bool unreadable = false;
                segment->paths.push_back(IwbFormat::readPolyline(text, &unreadable));
                segment->unreadablePaths.push_back(unreadable);
                text = QString();
            }
        });
        handed.paths = task->get_future().share();
        QThreadPool::globalInstance()->start([task]() { (*task)(); });
    }
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_picturesHandedOn << segment->pictures;
        m_handedOn.push_back(std::move(handed));
    }
    m_changed.notify_all();
    settlePaths();
}

void IwbXmlRecording::settlePaths()
{
    // Segments whose paths are made by now count with them rather than with their text.
    const std::lock_guard<std::mutex> lock(m_mutex);
    for (HandedOn &handed : m_handedOn) {
        if (handed.settled
            || handed.paths.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            continue;
        for (const QPainterPath &path : handed.segment->paths)
            m_held += kStringBytes + kPathElementBytes * path.elementCount();
        m_held -= handed.pointBytes;
        handed.settled = true;
    }
}

qint64 IwbXmlRecording::held() const
{
    // The lists as they are allocated: each may have grown to twice what it holds.
    const Segment &segment = *m_segment;
    return m_held + m_heldInSegments + qint64(segment.tokens.capacity() * sizeof(Token))
            + qint64(segment.attributes.capacity() * sizeof(Attribute))
            + qint64(segment.texts.capacity() * sizeof(QString))
            + qint64(segment.pointTexts.capacity() * sizeof(QString));
}

void IwbXmlRecording::end()
{
    m_ended = true;
    handOn();
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_complete = true;
    }
    m_changed.notify_all();
}

void IwbXmlRecording::giveUp()
{
    {
        // Paths still being made are let go with their segments; a walk keeps only the one
        // it is on.
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_givenUp = true;
        m_complete = true;
        m_handedOn = {};
    }
    m_changed.notify_all();
    m_segment = std::make_shared<Segment>();
    m_names = {};
    m_namesHandedOn.reset();
    m_nameIndex = {};
    m_values = {};
    m_references = {};
    m_pictures.clear();
    m_reader.clear();
}

void IwbXmlRecording::holdBack()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_heldBack = true;
    if (m_allowed < 0)
        m_allowed = 0;
}

void IwbXmlRecording::allow(qint64 bytes)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_allowed >= 0 && bytes > m_allowed)
            m_allowed = bytes;
    }
    m_changed.notify_all();
}

void IwbXmlRecording::stop(const QString &reason)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stopped.isEmpty())
            m_stopped = reason.isEmpty() ? QStringLiteral("stopped") : reason;
    }
    m_changed.notify_all();
}

std::shared_ptr<const IwbXmlRecording::Segment>
IwbXmlRecording::segment(size_t n, QString *stopped,
                         const std::function<void()> &whileWaiting) const
{
    constexpr std::chrono::milliseconds kWaitSlice(2);
    HandedOn handed;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            if (!m_stopped.isEmpty() || m_givenUp) {
                *stopped = m_givenUp ? QStringLiteral("the text is too large to be recorded")
                                     : m_stopped;
                return nullptr;
            }
            if (n < m_handedOn.size()
                && (m_allowed < 0 || m_handedOn[n].segment->textBytes <= m_allowed)) {
                handed = m_handedOn[n];
                break;
            }
            if (n >= m_handedOn.size() && m_complete)
                return nullptr; // the end of the text
            if (!whileWaiting) {
                m_changed.wait(lock);
            } else {
                // Every time round: a text checked piece by piece wakes the walk far more often
                // than it lets it on.
                m_changed.wait_for(lock, kWaitSlice);
                lock.unlock();
                whileWaiting();
                lock.lock();
            }
        }
    }
    while (whileWaiting && handed.paths.wait_for(kWaitSlice) != std::future_status::ready)
        whileWaiting();
    handed.paths.wait();
    return handed.segment;
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
    return m_at < 0 ? QXmlStreamReader::NoToken : token().type;
}

QXmlStreamReader::TokenType IwbXml::readNext()
{
    if (m_live)
        return m_live->readNext();
    if (!m_raised.isEmpty())
        return QXmlStreamReader::Invalid;
    if (m_segment && size_t(m_at + 1) < m_segment->tokens.size()) {
        ++m_at;
        ++m_ordinal;
        return tokenType();
    }
    // The last token (the end, or the error) is where a recording stays.
    if (m_exhausted)
        return tokenType();
    QString stopped;
    std::shared_ptr<const Segment> next = m_recording->segment(m_nextSegment, &stopped, m_whileWaiting);
    if (!next) {
        if (!stopped.isEmpty()) {
            m_raised = stopped;
            m_interrupted = true;
        } else if (!m_segment) {
            m_exhausted = true; // not a token at all
        }
        return tokenType();
    }
    m_segment = std::move(next);
    ++m_nextSegment;
    m_at = 0;
    ++m_ordinal;
    return tokenType();
}

bool IwbXml::atEnd() const
{
    if (m_live)
        return m_live->atEnd();
    const QXmlStreamReader::TokenType type = tokenType();
    return type == QXmlStreamReader::Invalid || type == QXmlStreamReader::EndDocument
            || m_exhausted;
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
    return hasError() ? m_segment->error : QString();
}

qint64 IwbXml::lineNumber() const
{
    if (m_live)
        return m_live->lineNumber();
    return m_at < 0 ? 0 : token().line;
}

QStringRef IwbXml::name() const
{
    if (m_live)
        return m_live->name();
    if (m_at < 0 || !m_raised.isEmpty())
        return QStringRef();
    const int name = token().name;
    return name < 0 ? QStringRef() : QStringRef(&(*m_segment->names)[size_t(name)]);
}

QString IwbXml::text() const
{
    if (m_live)
        return m_live->text().toString();
    if (m_at < 0 || !m_raised.isEmpty())
        return QString();
    const int text = token().text;
    return text < 0 ? QString() : m_segment->texts[size_t(text)];
}

QString IwbXml::attribute(const char *qualifiedName) const
{
    if (m_live)
        return m_live->attributes().value(QLatin1String(qualifiedName)).toString();
    if (!m_raised.isEmpty() || m_at < 0 || token().type != QXmlStreamReader::StartElement)
        return QString();
    const int name = nameIndex(qualifiedName);
    if (name < 0)
        return QString(); // no element of the text has it
    // The element's attributes by name, set out once for the many that are asked of it.
    const Segment &segment = *m_segment;
    if (m_placedFor != m_ordinal) {
        for (const int placed : m_placedNames)
            m_places[size_t(placed)] = -1;
        m_placedNames.clear();
        const Token &element = token();
        for (int n = element.firstAttribute; n < element.firstAttribute + element.attributes; ++n) {
            const size_t placed = size_t(segment.attributes[size_t(n)].name);
            if (placed >= m_places.size())
                m_places.resize(placed + 1, -1);
            if (m_places[placed] < 0) {
                m_places[placed] = n;
                m_placedNames.push_back(int(placed));
            }
        }
        m_placedFor = m_ordinal;
    }
    const int at = size_t(name) < m_places.size() ? m_places[size_t(name)] : -1;
    return at < 0 ? QString() : segment.attributes[size_t(at)].value;
}

int IwbXml::nameIndex(const char *name) const
{
    // The readers ask for the same few names thousands of times, each with the same text in
    // their code: found by where that text lies (its letters compared only to be sure it is
    // still that text), and looked up by its letters once, or again when the text has more
    // names than when it was not found.
    const std::vector<QString> &names = *m_segment->names;
    const auto slotOf = [this](const char *place) {
        return size_t((quint64(quintptr(place)) * 0x9E3779B97F4A7C15ull) >> 32)
                & (m_known.size() - 1);
    };
    size_t slot = slotOf(name);
    for (; m_known[slot].place; slot = (slot + 1) & (m_known.size() - 1)) {
        KnownName &known = m_known[slot];
        if (known.place != name || qstrcmp(known.text.constData(), name) != 0)
            continue;
        if (known.index < 0 && known.namesSeen < names.size()) {
            const auto found = std::find(names.begin() + qint64(known.namesSeen), names.end(),
                                         QLatin1String(name));
            known.index = found == names.end() ? -1 : int(found - names.begin());
            known.namesSeen = names.size();
        }
        return known.index;
    }
    const QLatin1String wanted(name);
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
    m_known[slot] = { name, QByteArray(name), index, names.size() };
    ++m_knownCount;
    return index;
}

QPainterPath IwbXml::polyline(bool *unreadable) const
{
    if (m_live || !isStartElement())
        return IwbFormat::readPolyline(attribute("points"), unreadable);
    const int path = token().path;
    const Segment &segment = *m_segment;
    if (unreadable && path >= 0 && size_t(path) < segment.unreadablePaths.size())
        *unreadable = segment.unreadablePaths[size_t(path)];
    return path < 0 || size_t(path) >= segment.paths.size() ? QPainterPath()
                                                            : segment.paths[size_t(path)];
}

const QSet<QString> *IwbXml::references() const
{
    if (m_live)
        return nullptr;
    // Known whole only once the text is: not while it is walked as it is recorded.
    const std::lock_guard<std::mutex> lock(m_recording->m_mutex);
    return m_recording->m_heldBack || !m_recording->m_complete ? nullptr
                                                               : &m_recording->m_references;
}

const QStringList *IwbXml::pictures() const
{
    if (m_live)
        return nullptr;
    const std::lock_guard<std::mutex> lock(m_recording->m_mutex);
    return m_recording->m_heldBack || !m_recording->m_complete ? nullptr : &m_recording->m_pictures;
}

QStringList IwbXml::takePictures()
{
    if (m_live)
        return {};
    const std::lock_guard<std::mutex> lock(m_recording->m_mutex);
    const QStringList &named = m_recording->m_picturesHandedOn;
    const QStringList taken = named.mid(m_picturesTaken);
    m_picturesTaken = named.size();
    return taken;
}

void IwbXml::interrupt(const QString &reason)
{
    if (m_live || !m_raised.isEmpty())
        return;
    m_raised = reason;
    m_interrupted = true;
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
