#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QPainterPath>
#include <QString>
#include <QStringList>
#include <QStringRef>
#include <QXmlStreamReader>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

class QIODevice;

// The tokens of one XML text, read in pieces as they come. Bounded: a text whose tokens would
// take more memory than a document may hold is given up, and read as it is walked instead.
// The tokens are kept in segments, each whole once it is handed on, so that the text can be
// walked (by one IwbXml on another thread) while it is still being recorded.
class IwbXmlRecording
{
public:
    static constexpr qint64 kDefaultBudget = qint64(256) << 20;
    // budget: the bytes it may take; by default what the largest text a document may be needs.
    explicit IwbXmlRecording(qint64 budget = kDefaultBudget);
    ~IwbXmlRecording();
    IwbXmlRecording(const IwbXmlRecording &) = delete;
    IwbXmlRecording &operator=(const IwbXmlRecording &) = delete;

    void addData(const QByteArray &piece);
    // The text is whole: an element still open is a document cut short.
    void finish();
    bool givenUp() const;
    qint64 bytes() const { return m_bytes; } // of text read
    int pages() const { return m_pages; } // "page" elements begun

    // The whole of content, read here: null when it was given up.
    static std::shared_ptr<const IwbXmlRecording> read(QIODevice &content,
                                                       qint64 budget = kDefaultBudget);

    // --- Walked while it is made (the calls may come from any thread) ---

    // A walk goes only as far as it is let (allow): called before the walk begins.
    void holdBack();
    // A walk may go over the tokens of the first bytes of the text.
    void allow(qint64 bytes);
    // A walk stops where it is, with reason: the text will not be read on.
    void stop(const QString &reason);

private:
    friend class IwbXml;
    struct Token
    {
        QXmlStreamReader::TokenType type;
        int name = -1; // in the names
        int firstAttribute = 0; // in the segment's
        int attributes = 0;
        int text = -1; // in the segment's
        int path = -1; // in the segment's
        int line = 0;
    };
    struct Attribute
    {
        int name;
        QString value;
    };
    struct Segment
    {
        std::vector<Token> tokens;
        std::vector<Attribute> attributes;
        std::vector<QString> texts;
        // The point lists, made into paths on another thread once the segment is handed on.
        std::vector<QString> pointTexts;
        qint64 pointCharacters = 0;
        std::vector<QPainterPath> paths;
        std::vector<char> unreadablePaths; // beside paths
        std::shared_ptr<const std::vector<QString>> names; // element and attribute names
        QStringList pictures; // the "xlink:href" of its "image" elements
        QString error; // the reader's, when its last token is an error (Invalid)
        qint64 textBytes = 0; // of the text given when its last token was read
        qint64 heldBytes = 0; // of its lists, as allocated
    };
    struct HandedOn
    {
        std::shared_ptr<Segment> segment;
        std::shared_future<void> paths;
        qint64 pointBytes = 0; // its point lists' cost until their paths are made
        bool settled = false; // counted with its paths rather than their text
    };

    void pump();
    void record(QXmlStreamReader::TokenType type);
    int nameIndex(const QStringRef &name);
    // The value as a string shared with every other short value of the same text: colours,
    // widths, transforms and the blanks between elements repeat thousands of times.
    QString shared(const QStringRef &value);
    // The segment recorded so far is handed on (its paths made on another thread).
    void handOn();
    void settlePaths();
    void end(); // the last token is recorded
    void giveUp();
    qint64 held() const; // estimated bytes of what is recorded

    // The n-th segment once a walk may go over it, its paths made; null at the end of the
    // text, or (with *stopped set) when the walk is to stop. whileWaiting, when given, is
    // called every few milliseconds of the wait.
    std::shared_ptr<const Segment> segment(size_t n, QString *stopped,
                                           const std::function<void()> &whileWaiting) const;

    QXmlStreamReader m_reader;
    std::shared_ptr<Segment> m_segment; // being recorded
    std::vector<QString> m_names; // element and attribute names, each once
    std::shared_ptr<const std::vector<QString>> m_namesHandedOn;
    QHash<QString, int> m_nameIndex;
    QHash<QString, QString> m_values; // short values met so far
    QSet<QString> m_references;
    QStringList m_pictures;
    std::vector<HandedOn> m_handedOn; // guarded by m_mutex once walked while made
    QStringList m_picturesHandedOn; // of the segments handed on, guarded by m_mutex
    qint64 m_cutCharacters; // of point lists in a segment before it is handed on
    qint64 m_bytes = 0;
    qint64 m_budget;
    qint64 m_held = 0; // of the strings and paths
    qint64 m_heldInSegments = 0; // of the lists of the segments handed on
    std::atomic<int> m_pages{ 0 };
    bool m_finished = false;
    bool m_ended = false;
    bool m_rootClosed = false;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_complete = false; // no more segments come
    bool m_givenUp = false;
    bool m_heldBack = false;
    qint64 m_allowed = -1; // bytes a walk may go over (-1: all)
    QString m_stopped;
};

// The XML of a document as the readers walk it: a QXmlStreamReader of their own, or the tokens
// of one recorded beforehand (on another thread, while the archive is still being unpacked) and
// replayed with the answers the reader gave. Only the calls the readers make are offered, with
// QXmlStreamReader's meaning.
class IwbXml
{
public:
    explicit IwbXml(QXmlStreamReader &live);
    explicit IwbXml(std::shared_ptr<const IwbXmlRecording> recording);

    QXmlStreamReader::TokenType readNext();
    QXmlStreamReader::TokenType tokenType() const;
    bool isStartElement() const { return tokenType() == QXmlStreamReader::StartElement; }
    bool isEndElement() const { return tokenType() == QXmlStreamReader::EndElement; }
    bool isCharacters() const { return tokenType() == QXmlStreamReader::Characters; }
    bool atEnd() const;
    bool hasError() const;
    QString errorString() const;
    qint64 lineNumber() const;

    QStringRef name() const; // local name of an element, "" for other tokens
    QString text() const; // of character data
    QString attribute(const char *qualifiedName) const; // "" when the element has none
    // The "points" of a polyline or polygon element as the path through them (a recording
    // makes it ahead and keeps no text of it). unreadable, when given, tells whether a number
    // of the list is none a board can hold (IwbFormat::readPolyline).
    QPainterPath polyline(bool *unreadable = nullptr) const;

    // The values of every "ref" attribute of the text: the objects that records name. Null for
    // a live reader, which cannot know them before it gets there, and for a recording walked
    // while it is made.
    const QSet<QString> *references() const;
    // The "xlink:href" of every "image" element, in the order of the text; null as above.
    const QStringList *pictures() const;
    // Those the recording has named since the last call, as far as it has gone (a recording
    // walked while it is made names them as it goes, ahead of the walk); always empty for a
    // live reader.
    QStringList takePictures();

    // The walk was stopped before the end of the text, not by a fault of the text: the
    // recording was stopped (IwbXmlRecording::stop) or given up, or interrupt was called.
    bool isInterrupted() const { return m_interrupted; }
    // Stops the walk here, as an error with reason: the readers go no further.
    void interrupt(const QString &reason);
    // Called every few milliseconds while a walk waits for the recording to go on (an open
    // lets the board's event loop turn).
    void setWhileWaiting(std::function<void()> whileWaiting)
    {
        m_whileWaiting = std::move(whileWaiting);
    }

    QString readElementText(QXmlStreamReader::ReadElementTextBehaviour behaviour);
    void skipCurrentElement();

private:
    using Segment = IwbXmlRecording::Segment;
    using Token = IwbXmlRecording::Token;
    const Token &token() const { return m_segment->tokens[size_t(m_at)]; }
    int nameIndex(const char *name) const; // in the recording, -1 when it has none such

    QXmlStreamReader *m_live = nullptr;
    std::shared_ptr<const IwbXmlRecording> m_recording;
    std::shared_ptr<const Segment> m_segment; // the one walked
    size_t m_nextSegment = 0;
    int m_at = -1; // the token replayed now, in its segment
    qint64 m_ordinal = -1; // the same, in the whole text
    bool m_exhausted = false; // the recording ended before a token came
    QString m_raised; // an error of the walk itself (readElementText), as a reader raises it
    bool m_interrupted = false;
    std::function<void()> m_whileWaiting;
    int m_picturesTaken = 0;
    // The names asked for, by where the reader's text of each lies (open addressing); a name
    // not in the text is looked for again once the text has more names.
    struct KnownName
    {
        const char *place = nullptr;
        QByteArray text;
        int index = -1;
        size_t namesSeen = 0;
    };
    mutable std::vector<KnownName> m_known = std::vector<KnownName>(128);
    mutable size_t m_knownCount = 0;
    mutable std::vector<int> m_places; // by name: the current element's attribute, or -1
    mutable std::vector<int> m_placedNames;
    mutable qint64 m_placedFor = -1; // the token m_places is for
};
