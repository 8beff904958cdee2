#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QPainterPath>
#include <QString>
#include <QStringList>
#include <QStringRef>
#include <QXmlStreamReader>

#include <future>
#include <memory>
#include <utility>
#include <vector>

class QIODevice;

// The XML of a document as the readers walk it: a QXmlStreamReader of their own, or the tokens
// of one recorded beforehand (on another thread, while the archive is still being unpacked) and
// replayed with the answers the reader gave. Only the calls the readers make are offered, with
// QXmlStreamReader's meaning.
class IwbXmlRecording;

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
    // a live reader, which cannot know them before it gets there.
    const QSet<QString> *references() const;
    // The "xlink:href" of every "image" element, in the order of the text; null for a live
    // reader.
    const QStringList *pictures() const;

    QString readElementText(QXmlStreamReader::ReadElementTextBehaviour behaviour);
    void skipCurrentElement();

private:
    int nameIndex(const char *name) const; // in the recording, -1 when it has none such

    QXmlStreamReader *m_live = nullptr;
    std::shared_ptr<const IwbXmlRecording> m_recording;
    int m_at = -1; // the token replayed now
    QString m_raised; // an error of the walk itself (readElementText), as a reader raises it
    // The names asked for, by where the reader's text of each lies (open addressing).
    struct KnownName
    {
        const char *place = nullptr;
        QByteArray text;
        int index = -1;
    };
    mutable std::vector<KnownName> m_known = std::vector<KnownName>(128);
    mutable size_t m_knownCount = 0;
    mutable std::vector<int> m_places; // by name: the current element's attribute, or -1
    mutable std::vector<int> m_placedNames;
    mutable int m_placedFor = -1; // the token m_places is for
};

// The tokens of one XML text, read in pieces as they come. Bounded: a text whose tokens would
// take more memory than a document may hold is given up, and read as it is walked instead.
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
    bool givenUp() const { return m_givenUp; }
    qint64 bytes() const { return m_bytes; } // of text read
    int pages() const { return m_pages; } // "page" elements begun

    // The whole of content, read here: null when it was given up.
    static std::shared_ptr<const IwbXmlRecording> read(QIODevice &content,
                                                       qint64 budget = kDefaultBudget);

private:
    friend class IwbXml;
    struct Token
    {
        QXmlStreamReader::TokenType type;
        int name = -1; // in m_names
        int firstAttribute = 0;
        int attributes = 0;
        int text = -1; // in m_texts
        int path = -1; // in m_paths
        int line = 0;
    };
    struct Attribute
    {
        int name;
        QString value;
    };

    void pump();
    void record(QXmlStreamReader::TokenType type);
    int nameIndex(const QStringRef &name);
    // The value as a string shared with every other short value of the same text: colours,
    // widths, transforms and the blanks between elements repeat thousands of times.
    QString shared(const QStringRef &value);
    void end(); // the last token is recorded
    void giveUp();
    qint64 held() const; // estimated bytes of what is recorded

    QXmlStreamReader m_reader;
    std::vector<Token> m_tokens;
    std::vector<QString> m_names; // element and attribute names, each once
    QHash<QString, int> m_nameIndex;
    QHash<QString, QString> m_values; // short values met so far
    QSet<QString> m_references;
    QStringList m_pictures;
    std::vector<Attribute> m_attributes;
    std::vector<QString> m_texts;
    std::vector<QPainterPath> m_paths; // whole once the text has ended
    std::vector<char> m_unreadablePaths; // beside m_paths
    // The point lists are made into paths on other threads, a batch at a time, while the
    // tokens are read on.
    struct PathBatch
    {
        std::vector<QString> texts;
        std::vector<QPainterPath> paths;
        std::vector<char> unreadable; // by path
        qint64 textBytes = 0;
    };
    void sendPaths();
    void collectPaths();
    std::shared_ptr<PathBatch> m_batch; // being filled
    qint64 m_batchCharacters = 0;
    std::vector<std::pair<std::shared_ptr<PathBatch>, std::future<void>>> m_sent;
    size_t m_settled = 0; // batches counted with their paths
    int m_pathCount = 0;
    QString m_error; // the reader's, at the last token (of type Invalid)
    qint64 m_bytes = 0;
    qint64 m_budget;
    qint64 m_held = 0; // of the strings and paths
    int m_pages = 0;
    bool m_finished = false;
    bool m_ended = false;
    bool m_rootClosed = false;
    bool m_givenUp = false;
};
