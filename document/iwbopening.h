#pragma once

#include "iwbarchive.h"
#include "iwblimits.h"
#include "iwbreader.h"

#include <QHash>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>

class IwbXmlRecording;

// The opening of an ".iwb" archive, up to the point where it takes the working directory's
// place. Its "content.xml" is read out of the archive and recorded on one thread, checked
// against the limits on another, while the rest is unpacked into a fresh folder beside the
// working directory. The text may be walked while it is recorded, as far as it is checked, and
// its pictures read as soon as each is unpacked; settle() waits for the rest, makes the last
// checks and puts the folder in the working directory's place. Anything that refuses the
// archive stops the walk. Whatever is not settled is stopped and removed with the object.
class IwbOpening : public IwbUnpacking
{
public:
    IwbOpening(const QString &archive, const QString &workDir);
    ~IwbOpening() override;
    IwbOpening(const IwbOpening &) = delete;
    IwbOpening &operator=(const IwbOpening &) = delete;

    // Called every few milliseconds while the caller waits for the work (an open lets the
    // board's event loop turn), from the waits below and the removal of what is not kept.
    void setWhileWaiting(std::function<void()> whileWaiting)
    {
        m_whileWaiting = std::move(whileWaiting);
    }
    // Begins the work; false (error()) when there is no room beside the working directory.
    bool start();
    // Waits until the archive is listed: false when it was refused before a file of it was
    // unpacked.
    bool waitListed();
    // The text to walk while it is recorded (IwbXml), as far as it is checked; null when it
    // cannot be walked so: it is then read once settled.
    std::shared_ptr<const IwbXmlRecording> recording() const;
    // The share of the text checked so far, 0 to 1, as far as a walk of recording() may go:
    // with the pages recorded, about how many the document has.
    double textShare() const;

    // --- IwbUnpacking ---
    QString folder() const override;
    bool isUnpacked(const QString &relative) const override;
    void waitUnpacked(const QString &relative) override;
    bool settle() override;

    // The text recorded whole, for a read once settled (null when it was given up or could
    // not be read beside the unpacking: the file is then read as it is walked).
    std::shared_ptr<const IwbXmlRecording> settledRecording() const;
    QString error() const { return m_error; }
    bool damaged() const { return m_damaged; }
    // What the document takes, as its text's check estimates it: as far as the check has gone
    // while it runs (ahead of any walk of recording()), never waited for.
    IwbLimits::Estimate estimate() const;

private:
    class Pieces;
    struct TextCopy
    {
        QString error;
        bool tooLarge = false;
    };
    static TextCopy copyText(const QString &archive, const QString &copyFile, Pieces &pieces,
                             IwbXmlRecording &recording, const std::atomic<bool> &refused);
    QStringList listed(const QList<IwbArchive::Entry> &entries);
    void stop(const QString &reason);
    // Waits for future, calling m_whileWaiting meanwhile.
    template<typename Future>
    void waitFor(const Future &future) const;
    // What settle checks once everything is unpacked (a file system's work, done beside the
    // caller); result: the unpacking's. estimate: what the text checked takes.
    IwbArchive::Result checkUnpacked(IwbArchive::Result result,
                                     const std::optional<IwbLimits::TextCheck> &text,
                                     IwbLimits::Estimate *estimate) const;

    const QString m_archive;
    const QString m_workDir;
    std::function<void()> m_whileWaiting;
    QString m_staging; // where the archive is unpacked
    QString m_copyFolder; // where its text is written as it is read
    std::shared_ptr<IwbXmlRecording> m_recording;
    std::shared_ptr<Pieces> m_pieces;
    std::shared_ptr<std::atomic<bool>> m_refused;
    std::future<TextCopy> m_copying;
    std::future<IwbArchive::Result> m_unpacking;
    std::future<std::optional<IwbLimits::TextCheck>> m_textCheck; // begun once listed
    std::optional<IwbLimits::Estimate> m_estimate; // once settled
    qint64 m_textSize = 0; // as listed, set before the check begins
    std::atomic<qint64> m_textChecked{ 0 };
    std::atomic<qint64> m_othersChecked{ 0 }; // the estimate, as far as the check has gone
    std::atomic<qint64> m_picturesChecked{ 0 };

    mutable std::mutex m_mutex;
    std::condition_variable m_listedChanged;
    bool m_listed = false; // the listing was accepted
    bool m_unpacked = false; // the unpacking has ended (well or not)
    bool m_copyKept = false; // the text is the one read beside the unpacking
    QHash<QString, qint64> m_sizes; // of the files unpacked, as listed

    bool m_settleTried = false;
    bool m_settled = false;
    QString m_error;
    bool m_damaged = false;
};
