#include "iwbopening.h"

#include "iwbxml.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <algorithm>
#include <chrono>
#include <climits>
#include <deque>

namespace {

const QString kContentName = QStringLiteral("content.xml");

} // namespace

// The pieces of a text, handed from the thread that reads them out of the archive to one that
// checks them: one unzip run serves both.
class IwbOpening::Pieces
{
public:
    void push(const QByteArray &piece)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_dropped)
            m_pieces.push_back(piece);
        m_arrived.notify_one();
    }
    void close()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_closed = true;
        m_arrived.notify_one();
    }
    // The taker needs no more: what comes is dropped.
    void drop()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_dropped = true;
        m_pieces.clear();
    }
    // The next piece; false once the text has ended.
    bool take(QByteArray *piece)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_arrived.wait(lock, [this]() { return !m_pieces.empty() || m_closed; });
        if (m_pieces.empty())
            return false;
        *piece = std::move(m_pieces.front());
        m_pieces.pop_front();
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<QByteArray> m_pieces;
    bool m_closed = false;
    bool m_dropped = false;
};

IwbOpening::IwbOpening(const QString &archive, const QString &workDir)
    : m_archive(archive),
      m_workDir(workDir),
      m_recording(std::make_shared<IwbXmlRecording>()),
      m_pieces(std::make_shared<Pieces>()),
      m_refused(std::make_shared<std::atomic<bool>>(false))
{
    // Walked only as far as the check of the text lets it.
    m_recording->holdBack();
}

IwbOpening::~IwbOpening()
{
    if (!m_settled)
        stop(QStringLiteral("the open was given up"));
    waitFor(m_unpacking);
    waitFor(m_copying);
    waitFor(m_textCheck);
    const auto removeLeftovers = [folders = QStringList{ m_copyFolder,
                                                        m_settled ? QString() : m_staging }] {
        for (const QString &folder : folders) {
            if (folder.isEmpty())
                continue;
            const IwbArchive::Result removed = IwbArchive::removeTree(folder);
            if (!removed.ok)
                qWarning() << "IwbOpening:" << removed.error;
        }
    };
    // A refused archive may leave a lesson's worth of files to remove.
    if (m_whileWaiting)
        waitFor(std::async(std::launch::async, removeLeftovers));
    else
        removeLeftovers();
}

template<typename Future>
void IwbOpening::waitFor(const Future &future) const
{
    if (!future.valid())
        return;
    while (m_whileWaiting && future.wait_for(std::chrono::milliseconds(2)) != std::future_status::ready)
        m_whileWaiting();
    future.wait();
}

void IwbOpening::stop(const QString &reason)
{
    *m_refused = true;
    m_pieces->drop();
    m_recording->stop(reason);
}

IwbOpening::TextCopy IwbOpening::copyText(const QString &archive, const QString &copyFile,
                                          Pieces &pieces, IwbXmlRecording &recording,
                                          const std::atomic<bool> &refused)
{
    TextCopy copy;
    struct Closing
    {
        Pieces &pieces;
        ~Closing() { pieces.close(); }
    } closing{ pieces };
    QFile file(copyFile);
    if (!file.open(QIODevice::WriteOnly)) {
        copy.error = copyFile + QStringLiteral(": ") + file.errorString();
        recording.stop(copy.error);
        return copy;
    }
    bool written = true;
    qint64 bytes = 0;
    copy.error = IwbArchive::readEntry(archive, kContentName, [&](const QByteArray &piece) {
        // An entry's listed size can lie: what it unpacks to is bounded here.
        bytes += piece.size();
        copy.tooLarge = bytes > IwbLimits::kMaxContentBytes;
        written = !copy.tooLarge && file.write(piece) == piece.size();
        if (written) {
            pieces.push(piece);
            recording.addData(piece);
        }
        return written && !refused;
    });
    if (copy.tooLarge)
        copy.error =
                QStringLiteral("content.xml: more than %1 bytes").arg(IwbLimits::kMaxContentBytes);
    else if (copy.error.isEmpty() && (!written || !file.flush()))
        copy.error = copyFile + QStringLiteral(": ") + file.errorString();
    // A text not read whole is no text cut short: the walk stops, as the open will.
    if (!copy.error.isEmpty() || refused)
        recording.stop(copy.error);
    recording.finish();
    return copy;
}

bool IwbOpening::start()
{
    m_staging = IwbArchive::makeSiblingFolder(m_workDir);
    if (m_staging.isEmpty()) {
        m_error = m_workDir + QStringLiteral(": no room to unpack beside it");
        return false;
    }
    // The text is read out of the archive into a scratch folder of its own, recorded and
    // handed on to the check, so that unzip need not unpack it too. It has the longest way: it
    // starts before the archive is even listed, and is stopped (unzip then unpacks the text as
    // any other entry) unless the listing shows the one text it reads, or as soon as the
    // archive is refused.
    m_copyFolder = IwbArchive::makeSiblingFolder(m_workDir);
    if (!m_copyFolder.isEmpty()) {
        m_copying = std::async(
                std::launch::async,
                [archive = m_archive, copyFile = m_copyFolder + QLatin1Char('/') + kContentName,
                 pieces = m_pieces, recording = m_recording, refused = m_refused]() {
                    return copyText(archive, copyFile, *pieces, *recording, *refused);
                });
    } else {
        m_recording->stop(QStringLiteral("no room to read the text beside the unpacking"));
    }
    m_unpacking = std::async(std::launch::async, [this]() {
        IwbArchive::Result result = IwbArchive::unpack(
                m_archive, m_staging,
                [this](const QList<IwbArchive::Entry> &entries) { return listed(entries); });
        if (!result.ok)
            stop(result.error);
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_unpacked = true;
        }
        m_listedChanged.notify_all();
        return result;
    });
    return true;
}

QStringList IwbOpening::listed(const QList<IwbArchive::Entry> &entries)
{
    // Only the one text that lands in the folder: two entries of that name are read in the
    // folder, where the last one unpacked is what the reader sees.
    const bool oneText =
            std::count_if(entries.begin(), entries.end(),
                          [](const IwbArchive::Entry &entry) { return entry.name == kContentName; })
            == 1;
    const bool copyKept = oneText && m_copying.valid();
    if (!copyKept) {
        *m_refused = true;
        m_pieces->drop();
        m_recording->stop(QStringLiteral("the text is unpacked with the rest"));
    }
    if (!oneText) {
        // No text to check beside the unpacking: the folder's is checked, if there is one.
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_listed = true;
        }
        m_listedChanged.notify_all();
        return {};
    }
    for (const IwbArchive::Entry &entry : entries) {
        if (entry.name == kContentName)
            m_textSize = entry.size;
    }
    // The text is checked against the limits on another thread, read from the archive while
    // everything else is unpacked. A walk of the recording goes as far as the check has gone,
    // and the pictures it makes take no more than the estimate so far leaves them.
    m_textCheck = std::async(std::launch::async, [this, copyKept]() {
        IwbLimits::TextChecker checker;
        QString error;
        if (copyKept) {
            // A text the copy could not read whole fails the open, whatever it says.
            QByteArray piece;
            qint64 checked = 0;
            while (!checker.done() && m_pieces->take(&piece)) {
                checker.addData(piece);
                checked += piece.size();
                if (!checker.done()) {
                    // Told before the walk may go on: it never reads what is not counted.
                    m_othersChecked = checker.estimate().others;
                    m_picturesChecked = checker.estimate().pictures;
                    m_recording->allow(checked);
                    m_textChecked = checked;
                }
            }
            m_pieces->drop();
        } else {
            error = IwbArchive::readEntry(m_archive, kContentName,
                                          [&checker](const QByteArray &piece) {
                                              checker.addData(piece);
                                              return !checker.done();
                                          });
        }
        const IwbLimits::TextCheck check = checker.finish();
        m_othersChecked = check.estimate.others;
        m_picturesChecked = check.estimate.pictures;
        if (!check.reason.isEmpty())
            m_recording->stop(check.reason);
        else
            m_recording->allow(LLONG_MAX);
        m_textChecked = m_textSize;
        return error.isEmpty() ? std::optional<IwbLimits::TextCheck>(check) : std::nullopt;
    });
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_listed = true;
        m_copyKept = copyKept;
        for (const IwbArchive::Entry &entry : entries) {
            if (!entry.name.endsWith(QLatin1Char('/')) && entry.name != kContentName)
                m_sizes.insert(QDir::cleanPath(entry.name), entry.size);
        }
    }
    m_listedChanged.notify_all();
    return copyKept ? QStringList{ kContentName } : QStringList();
}

double IwbOpening::textShare() const
{
    if (m_textSize <= 0)
        return 0;
    return std::min(1.0, double(m_textChecked) / double(m_textSize));
}

bool IwbOpening::waitListed()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto ready = [this]() { return m_listed || m_unpacked; };
    while (m_whileWaiting && !ready()) {
        m_listedChanged.wait_for(lock, std::chrono::milliseconds(2));
        lock.unlock();
        m_whileWaiting();
        lock.lock();
    }
    m_listedChanged.wait(lock, ready);
    if (m_listed)
        return true;
    lock.unlock();
    // Refused, or unreadable, before anything was unpacked.
    settle();
    return false;
}

std::shared_ptr<const IwbXmlRecording> IwbOpening::recording() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_copyKept ? m_recording : nullptr;
}

QString IwbOpening::folder() const
{
    return m_settled ? m_workDir : m_staging;
}

bool IwbOpening::isUnpacked(const QString &relative) const
{
    qint64 size = 0;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto listedSize = m_sizes.constFind(QDir::cleanPath(relative));
        if (m_unpacked || listedSize == m_sizes.constEnd())
            return true; // or never will be
        size = listedSize.value();
    }
    // unzip writes a file from its start to its end: one as long as listed is all there. One
    // that grows beyond stops the unpacking (the archive is refused), whatever was read of it.
    return QFileInfo(m_staging + QLatin1Char('/') + relative).size() >= size;
}

void IwbOpening::waitUnpacked(const QString &relative)
{
    while (m_unpacking.valid() && !isUnpacked(relative)) {
        m_unpacking.wait_for(std::chrono::milliseconds(1));
        if (m_whileWaiting)
            m_whileWaiting();
    }
}

bool IwbOpening::settle()
{
    if (m_settleTried)
        return m_settled;
    m_settleTried = true;
    waitFor(m_unpacking);
    IwbArchive::Result result = m_unpacking.valid()
            ? m_unpacking.get()
            : IwbArchive::Result::failure(m_archive + QStringLiteral(": not unpacked"));
    bool copyKept = false;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        copyKept = m_copyKept;
    }
    if (!result.ok || !copyKept) {
        *m_refused = true;
        m_pieces->drop();
    }
    if (m_copying.valid()) {
        waitFor(m_copying);
        const TextCopy copy = m_copying.get();
        // Written whole, the text takes its place once unzip is done with the folder (over
        // anything unzip put there under that name).
        const QString target = m_staging + QLatin1Char('/') + kContentName;
        if (copyKept && result.ok) { // else unzip unpacked the text, if the archive has one
            if (!copy.error.isEmpty()) {
                result = IwbArchive::Result::failure(m_archive + QStringLiteral(": ") + copy.error);
                result.damaged = copy.tooLarge;
            } else if ((QFileInfo::exists(target) && !QFile::remove(target))
                       || !QFile::rename(m_copyFolder + QLatin1Char('/') + kContentName, target)) {
                result =
                        IwbArchive::Result::failure(target + QStringLiteral(": cannot be written"));
            }
        }
    }
    waitFor(m_textCheck);
    const std::optional<IwbLimits::TextCheck> text =
            m_textCheck.valid() ? m_textCheck.get() : std::nullopt;
    IwbLimits::Estimate estimate = text ? text->estimate : IwbLimits::Estimate();
    if (m_whileWaiting) {
        // The text may be checked again, and the folder replaced goes with its files: done
        // beside a caller that has its own to look after.
        std::future<IwbArchive::Result> checked =
                std::async(std::launch::async, [this, result, &text, &estimate] {
                    return checkUnpacked(result, text, &estimate);
                });
        waitFor(checked);
        result = checked.get();
    } else {
        result = checkUnpacked(result, text, &estimate);
    }
    if (!result.ok) {
        m_error = result.error;
        m_damaged = result.damaged;
        m_recording->stop(result.error);
        return false;
    }
    m_settled = true;
    m_estimate = estimate;
    return true;
}

IwbLimits::Estimate IwbOpening::estimate() const
{
    if (m_estimate)
        return *m_estimate;
    IwbLimits::Estimate checked;
    checked.others = m_othersChecked;
    checked.pictures = m_picturesChecked;
    return checked;
}

IwbArchive::Result IwbOpening::checkUnpacked(IwbArchive::Result result,
                                             const std::optional<IwbLimits::TextCheck> &text,
                                             IwbLimits::Estimate *estimate) const
{
    if (result.ok) {
        // Only a document that can be read takes the working directory's place.
        QFile content(m_staging + QLatin1Char('/') + kContentName);
        if (!content.open(QIODevice::ReadOnly)) {
            result = IwbArchive::Result::failure(m_archive + QStringLiteral(": no content.xml"));
        } else if (const IwbLimits::TextCheck checked =
                           // Read whole, the text must be the one unpacked; a text refused
                           // part way needs no more.
                   text && (text->bytes == content.size() || !text->reason.isEmpty())
                           ? *text
                           : IwbLimits::checkText(content);
                   !checked.reason.isEmpty()) {
            result = IwbArchive::Result::failure(m_archive + QStringLiteral(": ") + checked.reason);
            result.damaged = true;
        } else {
            *estimate = checked.estimate;
            content.seek(0);
            QXmlStreamReader reader(&content);
            bool pages = false;
            while (!pages && !reader.atEnd() && !reader.hasError()) {
                pages = reader.readNext() == QXmlStreamReader::StartElement
                        && reader.name() == QLatin1String("pageset");
            }
            if (!pages)
                result = IwbArchive::Result::failure(m_archive
                                                     + QStringLiteral(": no pages in content.xml"));
        }
    }
    if (result.ok)
        result = IwbArchive::replaceFolder(m_staging, m_workDir);
    return result;
}

std::shared_ptr<const IwbXmlRecording> IwbOpening::settledRecording() const
{
    if (!m_settled || !recording() || m_recording->givenUp())
        return nullptr;
    return m_recording;
}
