#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>

class DPage;

// What the lesson was when it was last saved to a file or opened, to tell whether a save would
// now write anything else. The lesson is compared, not marked: each page is known by the
// fingerprint of what a save writes of it (its part of "content.xml" and what identifies the
// media that part names), in its place; the document's head counts too. A page whose content
// revision has not moved since its fingerprint was taken is not looked at again, so an undo that
// comes back to what was saved, a page moved back, a colour set back, all count as unchanged.
class SavedState : public QObject
{
    Q_OBJECT

public:
    // fingerprint(page, n): the fingerprint of page as page n, taken without writing anything.
    // mayStep: whether the board is free for a step of the fingerprints an open left to take.
    using Fingerprinter = std::function<QByteArray(DPage *, int)>;
    SavedState(const QList<DPage *> &pages, Fingerprinter fingerprint,
               std::function<bool()> mayStep, QObject *parent = nullptr);

    // The fingerprint of a page's part of "content.xml" (page: its element, records: its lock
    // and group records) and of the media it names, by their identities.
    static QByteArray fingerprint(const QByteArray &page, const QByteArray &records,
                                  const QList<QByteArray> &media);

    struct Written
    {
        DPage *page = nullptr;
        quint64 revision = 0; // the page's content revision when it was written
        QByteArray fingerprint;
    };
    // What a save has just written, page by page in order, under head.
    void setSaved(const QList<Written> &pages, const QByteArray &head);
    // The pages as they are now count as saved (a new lesson); every fingerprint is taken now.
    void setShownAsSaved(const QByteArray &head);
    // The pages as an open has just made them. The page shown is fingerprinted now, the others
    // a few at a time between the board's events, in their order, or as they are first shown.
    // Until then only the program touches them (their pictures drawn, an animation playing),
    // never what a save writes; a page given a step of its history before its turn came
    // counts as changed until the next save.
    void setOpened(const QByteArray &head, const DPage *shown);
    // page is about to be shown: a teacher may change it from now on.
    void pageShown(const DPage *page);
    // Changed whatever the pages hold, until the next save or open: a restored lesson was saved
    // nowhere but in a folder that is gone, a lesson read in part is not the file.
    void setChanged();

    // Whether a save would now write something else than what was saved or opened.
    bool isChanged(const QByteArray &head);
    // The fingerprints an open left to take are all taken (or cannot be any more).
    bool isSettled() const { return m_pending.isEmpty(); }
    // The page is going: another may come to live at its address.
    void forget(const DPage *page);

private:
    struct Baseline
    {
        DPage *page = nullptr;
        quint64 revision = 0;
        QByteArray fingerprint; // empty: not known yet, or lost
        int history = 0; // where the page's undo history stood when it was opened
        bool lost = false; // changed before it was taken: not known until the next save
    };
    struct Current
    {
        quint64 revision = 0;
        int index = -1;
        QByteArray fingerprint;
    };
    void clear(const QByteArray &head);
    // The fingerprint of page, now at index, its revision given; taken again only when the page
    // moved or changed since it was last asked.
    QByteArray currentFingerprint(int index, DPage *page, quint64 revision);
    // Takes the fingerprint of the page opened at index, if it is not known yet and the page is
    // still as opened; false when it is not known.
    bool takeBaseline(int index);
    void step();

    const QList<DPage *> &m_pages;
    const Fingerprinter m_fingerprint;
    const std::function<bool()> m_mayStep;
    QByteArray m_head;
    QList<Baseline> m_saved;
    bool m_bForced = false;
    QList<int> m_pending; // indexes whose fingerprint an open left to take, in turn
    QTimer m_steps;
    QHash<const DPage *, Current> m_current;
};
