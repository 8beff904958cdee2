#include "savedstate.h"

#include "board/dpage.h"

#include <QCryptographicHash>
#include <QElapsedTimer>

namespace {

// The longest a step of an open's fingerprints keeps the board waiting: less than a frame.
constexpr int kStepBudgetMs = 4;
// Steps follow each other on a timer, not as posted calls: those would run back to back ahead
// of the board's own timers and input.
constexpr int kStepPauseMs = 1;
// While a save, an autosave or an open works on the pages, the steps wait for it.
constexpr int kBusyPauseMs = 50;

void addSized(QCryptographicHash &hash, const QByteArray &bytes)
{
    // Each part is preceded by its length, so that no two different lists hash alike.
    const qint64 size = bytes.size();
    hash.addData(reinterpret_cast<const char *>(&size), sizeof(size));
    hash.addData(bytes);
}

} // namespace

SavedState::SavedState(const QList<DPage *> &pages, Fingerprinter fingerprint,
                       std::function<bool()> mayStep, QObject *parent)
    : QObject(parent),
      m_pages(pages),
      m_fingerprint(std::move(fingerprint)),
      m_mayStep(std::move(mayStep))
{
    m_steps.setSingleShot(true);
    connect(&m_steps, &QTimer::timeout, this, &SavedState::step);
}

QByteArray SavedState::fingerprint(const QByteArray &page, const QByteArray &records,
                                   const QList<QByteArray> &media)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    addSized(hash, page);
    addSized(hash, records);
    for (const QByteArray &identity : media)
        addSized(hash, identity);
    return hash.result();
}

void SavedState::clear(const QByteArray &head)
{
    m_head = head;
    m_saved.clear();
    m_bForced = false;
    m_pending.clear();
    m_steps.stop();
}

void SavedState::setSaved(const QList<Written> &pages, const QByteArray &head)
{
    clear(head);
    for (const Written &written : pages)
        m_saved << Baseline{ written.page, written.revision, written.fingerprint };
}

void SavedState::setShownAsSaved(const QByteArray &head)
{
    clear(head);
    for (int n = 0; n < m_pages.size(); ++n) {
        DPage *page = m_pages.at(n);
        const QByteArray taken = m_fingerprint(page, n);
        // What taking it stirred up in the objects is no change of the page.
        m_saved << Baseline{ page, page->contentRevision(), taken };
    }
}

void SavedState::setOpened(const QByteArray &head, const DPage *shown)
{
    clear(head);
    for (DPage *page : m_pages)
        m_saved << Baseline{ page, page->contentRevision(), QByteArray(),
                             page->undoStack()->index() };
    for (int n = 0; n < m_pages.size(); ++n)
        m_pending << n;
    // The page shown is the one a teacher changes first: its fingerprint is needed at once.
    pageShown(shown);
    if (!m_pending.isEmpty())
        m_steps.start(kStepPauseMs);
}

void SavedState::pageShown(const DPage *page)
{
    for (int n = 0; n < m_saved.size() && page; ++n) {
        if (m_saved.at(n).page == page) {
            takeBaseline(n);
            m_pending.removeOne(n);
        }
    }
}

void SavedState::setChanged()
{
    m_bForced = true;
    m_pending.clear(); // nothing they could tell counts until the next save
    m_steps.stop();
}

bool SavedState::isChanged(const QByteArray &head)
{
    if (m_bForced || head != m_head || m_pages.size() != m_saved.size())
        return true;
    for (int n = 0; n < m_pages.size(); ++n) {
        DPage *page = m_pages.at(n);
        const quint64 revision = page->contentRevision();
        // As saved, or as opened and not fingerprinted yet.
        if (page == m_saved.at(n).page && revision == m_saved.at(n).revision)
            continue;
        // Not shown since it was opened, the page was only touched by the program (its
        // pictures drawn...): what it was is taken now, and it is as it was.
        const bool known = !m_saved.at(n).fingerprint.isEmpty();
        if (!takeBaseline(n))
            return true; // what it was is not known: changed until it is saved
        if (!known && page == m_saved.at(n).page)
            continue;
        // Another page in this place, or this one changed since: what a save would write of
        // it decides (a blank page for a blank page deleted writes the same).
        if (currentFingerprint(n, page, revision) != m_saved.at(n).fingerprint)
            return true;
    }
    return false;
}

QByteArray SavedState::currentFingerprint(int index, DPage *page, quint64 revision)
{
    const auto cached = m_current.constFind(page);
    if (cached != m_current.cend() && cached->revision == revision && cached->index == index)
        return cached->fingerprint;
    const QByteArray taken = m_fingerprint(page, index);
    m_current.insert(page, Current{ page->contentRevision(), index, taken });
    return taken;
}

bool SavedState::takeBaseline(int index)
{
    Baseline &saved = m_saved[index];
    if (!saved.fingerprint.isEmpty())
        return true;
    if (saved.lost || !saved.page)
        return false;
    // A step of its history since the open: what it was is lost.
    if (saved.page->undoStack()->index() != saved.history) {
        saved.lost = true;
        return false;
    }
    // Taken as the page it was, in the place it had, wherever it stands now.
    saved.fingerprint = m_fingerprint(saved.page, index);
    saved.revision = saved.page->contentRevision();
    return true;
}

void SavedState::step()
{
    if (m_pending.isEmpty())
        return;
    if (!m_mayStep()) {
        m_steps.start(kBusyPauseMs);
        return;
    }
    QElapsedTimer clock;
    clock.start();
    qint64 lastMs = 0;
    do {
        // A page is begun only if, going by the last one, it is done within the step.
        if (lastMs > 0 && clock.elapsed() + lastMs > kStepBudgetMs)
            break;
        const qint64 start = clock.elapsed();
        takeBaseline(m_pending.takeFirst());
        lastMs = qMax<qint64>(1, clock.elapsed() - start);
    } while (!m_pending.isEmpty());
    if (!m_pending.isEmpty())
        m_steps.start(kStepPauseMs);
}

void SavedState::forget(const DPage *page)
{
    for (Baseline &saved : m_saved) {
        if (saved.page == page)
            saved.page = nullptr;
    }
    m_current.remove(page);
}
