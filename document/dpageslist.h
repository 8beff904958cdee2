#pragma once

#include "iwblimits.h"
#include "lessonpictures.h"
#include "writefailure.h"

#include "board/pagewriter.h"
#include "shell/btmenus.h"

#include <QByteArray>
#include <QColor>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <future>
#include <memory>
#include <vector>

class HeldPicture;
class IwbOpening;
class IwbXml;
class IwbXmlRecording;
class OpeningTurns;
class SavedState;

class DPage;
class DView;
class QGraphicsItem;
class QThread;
class QTimer;
class StrokePictures;
class WorkProgress;
namespace WorkFolder {
class Lock;
}
class QXmlStreamWriter;

// The open document: the ordered pages (index 0 is page 1), the single board view that shows one
// of them, and the current page. It also owns the working directory that holds the document
// unpacked, its autosave and the restore of unsaved work, and writes the document as IWB.
// The list owns its pages (they have no QObject parent); the view is deleted with the list.
class DPagesList : public QObject, public QList<DPage *>
{
    Q_OBJECT

public:
    // Makes the view on parent, prepares the working directory and either restores the unsaved
    // work of an earlier run (after asking) or starts with one colour page.
    explicit DPagesList(QWidget *parent);
    ~DPagesList() override;

    DView *getView() const { return m_view; }
    DPage *getCurPage() const { return m_curPage; }
    int getCurPageNum() const; // 1-based; 0 when there is no current page

    // Inserts a page of kind (95 colour, 96 image, 97 transparent, 98 capture) right after the
    // current page and makes it current. An image page is made once its picture, chosen and
    // read beside the board, has come; not at all when it is cancelled or cannot be read.
    // fromFile: a reader sets the background itself.
    void newPage(BtMenus::btType kind, bool fromFile = false);
    void delPage(bool recreate); // the current page
    void delPage(int index);
    void delAllPages();
    void pageUp(); // the previous page
    void pageDown();
    // Moves the page at from to index to; the pages between close up behind it, in their order.
    // The page shown stays shown wherever it now stands.
    void movePage(int from, int to);
    QList<QPixmap> getScreenshotList() const;
    // One thumbnail per page, each at the size scale gives for the page's own size; a page
    // drawn before and unchanged since is not drawn again.
    QList<QPixmap> getThumbnailList(QSize (*scale)(QSize)) const;
    // The thumbnail of one page of the list, the same as getThumbnailList's.
    QPixmap thumbnail(DPage *page, QSize (*scale)(QSize)) const;
    static QSize thumbnailSize(DPage *page, QSize (*scale)(QSize));
    void update();
    void pageBackColour();
    void pageBackImage();

    // --- Working directory, autosave and restore ---

    QString workDir() const { return m_workDir; }
    // Clean exit: removes the working directory and this run's record of unsaved work (one of
    // another program that autosaved since stays), and lets the directory's lock go.
    void exit();
    // True when a save would write something else than what the document was when it was
    // made, opened or last saved to a file: undoing back to that is no change, and autosaves
    // leave it as it is. Selecting, zooming or showing another page are no changes.
    bool isDocumentModified() const;
    // false: the pages as they are count as saved; true: the document counts as changed until
    // the next save or open, whatever its pages hold.
    void setDocumentModified(bool modified);
    // What the document was when opened is still being learnt between the board's events, page
    // by page (a page changed before its turn counts as changed until the next save).
    bool isSavedStateSettled() const;

    // --- IWB writer ---

    // Writes "content.xml" and the media folders into the working directory and, with pack,
    // packs it into fileName + ".iwb" (an existing archive is replaced only by a complete one).
    // Returns pack after a complete save (an autosave returns false), false after any failure;
    // lastSaveError() then says what failed. No message is shown here: the caller decides.
    bool saveAllPagesToFileIWB(const QString &fileName, bool pack);
    // The same, packing into archive, a name with its extension as the user typed it.
    bool saveAllPagesToArchive(const QString &archive, bool pack);
    QString lastSaveError() const { return m_lastSaveError; }
    // What the last failed save met, when it is one a teacher can act on (a full disk...).
    WriteFailure::Cause lastSaveCause() const { return m_lastSaveCause; }
    // Media files the last save could not carry (missing or unreadable): the objects were saved
    // without them. Empty when everything was there.
    QStringList lastSaveMissing() const { return m_lastSaveMissing; }
    // Pages whose part of "content.xml" the last save wrote afresh (the others were unchanged
    // since an earlier save and their written part was used again).
    int pagesWritten() const { return m_pagesWritten; }
    // Forgets what earlier saves wrote: the next one writes every page afresh.
    void dropWrittenContent();
    void saveLockedItems(QXmlStreamWriter &stream, QGraphicsItem *item);
    void saveGroupItems(QXmlStreamWriter &stream, QGraphicsItem *item);
    bool isSaving() const { return m_bSaving; }
    // An autosave in steps is still at work (on pages, or writing the file).
    bool isAutoSaving() const { return m_bAutoSaving || m_contentWriter; }

    // --- IWB and UBZ readers ---

    // Reads the "content.xml" in folder (media are looked up only inside folder) in place of
    // the open pages. False, with nothing changed, when the file cannot be read or is beyond
    // the limits of IwbLimits (lastOpenWasDamaged()). A file that breaks off is read as far as
    // it goes: true, with lastOpenWasPartial() set.
    bool openFromFile(const QString &folder);
    // Opens an ".iwb" archive: it is unpacked beside the working directory and takes its place
    // only when it holds a readable document, so a failed open leaves the open document as it
    // was (false, lastOpenError() says why). A complete read names the document after
    // fileName; a partial one leaves it unnamed, so that Save asks for a name.
    // The event loop turns while it runs, with the program's input dropped (OpeningTurns);
    // while it runs, a second open returns false at once with nothing changed.
    bool openAllPagesFromFileIWB(const QString &fileName);
    // Imports a UBZ archive in place of the open pages (unpacked beside the working directory,
    // which it replaces only when the archive holds page files within the limits of IwbLimits,
    // else false with nothing changed, lastOpenWasDamaged()); the document is named after
    // fileName, but a save writes IWB. A page file that breaks off keeps what was read of it,
    // the other files are read on, and the document stays unnamed (lastOpenWasPartial()).
    // openFromFileUBZ checks and reads the page files of a folder. The event loop turns as in
    // openAllPagesFromFileIWB.
    bool openAllPagesFromFileUBZ(const QString &fileName);
    bool openFromFileUBZ(const QString &dir);
    // What the last UBZ import left out because the board cannot show it, one line per kind
    // (empty when nothing was).
    QStringList lastImportLeftOut() const { return m_lastImportLeftOut; }
    // What the last open or import found of its pictures (those the board cannot show, kept as
    // they came; those taken smaller), one sentence each; empty when every picture came in
    // whole. Its pictures are measured beside the board once the lesson is open: until
    // picturesMeasured(), what was found as the lesson was read.
    QStringList lastOpenPictures() const { return m_lastOpenPictures; }
    bool arePicturesMeasured() const { return m_picturesMeasured; }
    bool lastOpenWasPartial() const { return m_bPartialRead; }
    // The last open met a damaged file: it broke off (what was read is open), or it asked for
    // more than a document may (refused, the open document unchanged).
    bool lastOpenWasDamaged() const { return m_bDamaged; }
    QString lastOpenError() const { return m_lastOpenError; }
    QString fileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }
    // An open or an import is under way, the event loop turning (OpeningTurns): the document
    // is half made, and nothing may act on it. Nothing is saved meanwhile (a save fails, an
    // autosave waits for its next turn).
    bool isOpening() const { return m_turns != nullptr; }

signals:
    // An open is about to turn the event loop; openEnded() once it has ended, whatever came
    // of it.
    void openStarted();
    void openEnded();
    void newPage();
    // Another page is shown, the pages themselves as they were (a tile, a page button, a page
    // link on the board): whoever marks the page shown follows it from here.
    void currentPageChanged();
    void selectPageNum(const QString &text);
    void selectBt(BtMenus::btType tool);
    // The pictures of the lesson last opened are all measured (lastOpenPictures()).
    void picturesMeasured();
    // Pictures of the pages came since their tiles were drawn (coalesced): tiles to draw again.
    void pagePicturesCame();

public slots:
    // Writes the document into the working directory now, unless nothing changed since it was
    // last written or opened.
    void autoSave();
    // The same work spread over several turns of the event loop, a page or a few at a time,
    // with the file itself written by another thread: the board is never held up for long.
    // Nothing happens while an earlier one is still running.
    void autoSaveInSteps();
    void insertPixmap(const QString &filename);
    void selectPage(int index);
    void changePage(int curIndex, int newIndex);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refreshOverlay();
    void markRepaint();
    void showPage(DPage *page);
    void setShownScene(DPage *page);
    // Drawing caches are kept for the page shown and the pages either side of it, the ones a
    // teacher goes to next; every other page drops them (pagecaches.cpp). The page shown gets
    // the pictures of its strokes drawn on other threads at once, and on this one too when the
    // board is about to paint it; its neighbours get theirs drawn on other threads meanwhile.
    void keepCachesNear(DPage *page);
    // The pictures of near pages asked for, those of the others given back.
    void keepPicturesNear(const QList<QPointer<DPage>> &near);
    // Something of every picture page shows is held, or cannot be had.
    static bool holdsPicturesOf(DPage *page);
    void readyShownPage();
    QList<QPointer<DPage>> m_cachedPages;
    std::unique_ptr<StrokePictures> m_shownPictures; // finished when the board paints
    std::vector<std::unique_ptr<StrokePictures>> m_strokePictures;
    // The toolkit indexes a page's objects on a timer of the page's own, two seconds after the
    // last object came. An open fills every page at once, and the timers, coming due together,
    // held the board up for a tenth of a second at 200 pages: the pages an open made are
    // indexed a few at a time between the board's events instead (pagecaches.cpp).
    void indexPagesInSteps();
    void indexNextPages();
    QList<QPointer<DPage>> m_pagesToIndex;
    QTimer *m_indexing = nullptr;
    void destroyPage(DPage *page);
    void setupWorkingDirectory();
    // Locks the working directory for this run (the one made before main, or a fresh one when
    // that is taken) and returns its path.
    QString claimWorkingDirectory();
    void restoreFrom(const QString &previous);
    // A fresh copy of a UBZ archive as the working directory, when it holds page files within
    // the limits.
    // estimate: what the document takes, as its check found.
    bool unpackUbz(const QString &archive, IwbLimits::Estimate *estimate);
    // open (openIwb, openUbz) of fileName, the event loop turning meanwhile; false at once
    // while another open is under way.
    bool openInTurns(bool (DPagesList::*open)(const QString &), const QString &fileName);
    bool openIwb(const QString &fileName);
    bool openUbz(const QString &fileName);
    // Lets the event loop turn, when an open is under way and has held it for a moment.
    void turn();
    // Waits for the text an autosave writes on another thread (finishPendingWrite).
    void waitForPendingWrite();
    OpeningTurns *m_turns = nullptr; // while an open is under way
    // openFromFile without the limits' check; recorded: the tokens of the folder's text, when
    // they were read already.
    // estimate: what it takes, as the limits' check found.
    bool readContent(const QString &folder, const IwbLimits::Estimate &estimate,
                     std::shared_ptr<const IwbXmlRecording> recorded = nullptr);
    // The pages of an archive read from its text as it is unpacked (IwbOpening), in place of
    // the open pages; Refused leaves them as they were (lastOpenError()), ReadAgain too: the
    // text could not be walked as it came, and is to be read once settled.
    enum class ReadWhileUnpacked { Read, Refused, ReadAgain };
    ReadWhileUnpacked readWhileUnpacked(IwbOpening &opening);
    // The open document holds little: it may stay beside one being read.
    bool isLight() const;
    // What every read does once its objects are made. inWorkDir: the document read lies in the
    // working directory as it is on disk.
    void finishRead(bool complete, const QString &error, bool inWorkDir);
    // The pictures of the lesson just read take their files where no save writes, and are
    // measured beside the board, the page shown first; picturesMeasured() once all are.
    void measureReadPictures();
    struct ReadPicture
    {
        std::shared_ptr<HeldPicture> picture;
        int page;
    };
    std::vector<ReadPicture> m_readPictures;
    LessonPictures m_readNotes;
    quint64 m_measureRound = 0;
    bool m_picturesMeasured = true;
    // Reads the pages of xml in place of the open ones (there are none left when the open
    // document has stepped aside), the progress bar of a long open shown. opening: the archive
    // still being unpacked, if it is. Returns whether it was read whole; if not, error says why.
    // estimate: what the document takes (as far as its check has gone), asked as its pictures
    // are made (LessonPictures).
    bool readPages(IwbXml &xml, const QString &folder,
                   const std::shared_ptr<const IwbXmlRecording> &recorded, IwbOpening *opening,
                   std::function<IwbLimits::Estimate()> estimate, QString &error);
    std::shared_ptr<const IwbXmlRecording> m_openRecording; // while its text is read
    const IwbOpening *m_openUnpacking = nullptr; // the same
    // openFromFileUBZ without the limits' check (estimate: what it found).
    void readUbzPages(const QString &dir, const IwbLimits::Estimate &estimate);
    // The document just read counts as saved as it is, unless it was read only in part.
    void markAsOpened(bool complete);
    QPixmap scaledToView(const QPixmap &pixmap) const;
    // newPage's page, an image page's background given (unless fromFile; none: the page is
    // made and removed again).
    void makePage(BtMenus::btType kind, bool fromFile, const QPixmap &background);

    QString m_workDir;
    QString m_keptFolder; // where the lesson's pictures keep their files
    void removeKeptFolder();
    std::unique_ptr<WorkFolder::Lock>
            m_ownerLock; // held for as long as the directory is this run's
    QWidget *m_parent;
    DPage *m_curPage = nullptr;
    DView *m_view = nullptr;
    QString m_fileName;
    QColor m_pageColor;
    bool m_bSaving = false;
    std::unique_ptr<SavedState> m_savedState;
    QElapsedTimer m_sinceShown; // since a page was last put on the board
    // An autosave of an earlier run that the user chose to keep ("Cancelar"): its record stays
    // until this run has work of its own to protect.
    QString m_keptPrevious;
    QString m_restoringFrom; // the earlier run's directory while its document is read
    QString m_lastSaveError;
    WriteFailure::Cause m_lastSaveCause = WriteFailure::Cause::Unknown;
    // error as the last save's failure, with its cause looked for in folder (bytes: about
    // what was to be written there).
    void noteSaveFailure(const QString &error, const QString &folder, qint64 bytes);
    // An autosave that failed is said once, until one succeeds again: the teacher must know
    // that the protection against a crash has stopped, but not be told every minute.
    void autoSaveFailed(const QString &error, WriteFailure::Cause cause);
    void autoSaveSucceeded() { m_autoSaveFailureShown = false; }
    bool m_autoSaveFailureShown = false;
    QStringList m_lastSaveMissing;
    QString m_lastOpenError;
    QStringList m_lastImportLeftOut;
    QStringList m_lastOpenPictures;
    bool m_bPartialRead = false;
    bool m_bDamaged = false;

    // --- Incremental writing of "content.xml" (documentwriter.cpp) ---

    // Each page's part of the last "content.xml" written (or of the one opened, whose parts
    // are not known): kept until the page changes.
    struct WrittenPage
    {
        quint64 revision = 0;
        int index = -1;
        bool known = false; // the bytes below are the page's (false: as opened)
        QByteArray page; // its "svg:page" element
        QByteArray records; // its background, lock and group records
        QStringList missing; // media its objects name that could not be carried
        // The media its element names (MediaPath::namesIn), found when a save first asks.
        std::shared_ptr<const QStringList> named;
        QByteArray fingerprint; // of what was written (SavedState::fingerprint)
    };
    // What the page writer makes of page n: its part of "content.xml" and what it names.
    struct PagePart
    {
        QByteArray page;
        QByteArray records;
        QStringList missing;
        QStringList failures;
        QByteArray fingerprint;
    };
    PagePart pagePart(DPage *page, int n);
    // The fingerprint of page as page n, as a save would write it now, nothing written.
    QByteArray pageFingerprint(DPage *page, int n);
    bool isWrittenAsShown();
    QStringList writtenPage(int n); // brings the page's part up to date; returns what failed
    bool isPageWritten(int n);
    // The whole "content.xml" in parts, most of them the pages' kept bytes.
    QList<QByteArray> documentParts() const;
    // The media files the pages' written parts name, relative to the working directory.
    QStringList namedMedia();
    // Writes "content.xml" in dir (a complete file replaces the old one, or nothing does);
    // returns what failed. In the background, another thread writes and finishPendingWrite()
    // collects its result; with recordAutosave that thread first records dir as the unsaved
    // work to offer at the next start and marks it, as an autosave does.
    // pictures: the picture files its pages name, still being written: the text waits for
    // them. wait: while the text is written (not in the background), called to wait for it.
    QString writeContent(const QString &dir, const QList<QByteArray> &parts, bool inBackground,
                         bool recordAutosave = false,
                         const PageWriter::PictureWritesTaken &pictures = {},
                         const std::function<void(const std::future<QString> &)> &wait = {});
    void finishPendingWrite();
    void autoSaveStep();
    void markOpenedAsWritten();
    QByteArray headBytes() const;

    QHash<const DPage *, WrittenPage> m_written;
    void recordWrittenOrder();
    // The pages in the order last written to disk, and the state each was in then.
    QList<const DPage *> m_writtenOrder;
    QList<quint64> m_writtenRevisions;
    QByteArray m_writtenHead;
    int m_pagesWritten = 0;
    QThread *m_contentWriter = nullptr;
    std::shared_ptr<QString> m_contentWriterError;
    PageWriter::PictureWritesTaken m_contentWriterPictures;
    qint64 m_contentWriterBytes = 0; // what it writes
    bool m_bAutoSaving = false; // an autosave in steps is running
    int m_autoSaveNext = 0; // where its next step begins
    double m_autoSavePageMs = 0; // how long its last page took to write
    WorkProgress *m_openProgress = nullptr; // while a document is read

    // --- Document commands (documentcommands.cpp) and export (pageexport.cpp) ---

public:
    // New, Open, Save and Save as of the file menu. Each asks before work would be lost and
    // shows its own failure message; the bools mean "go on" (saved, or the user chose not to
    // save) when true, and "stop" (cancelled, or nothing could be saved) when false.
    void newFile();
    void openFile();
    bool saveFile(const QString &format, bool ask);
    // format "iwb" saves under a new name; "bmp", "jpg", "jpeg", "png", "tiff" and "pdf" export
    // the pages. False when the user cancelled or the file could not be written.
    bool saveAsFile(const QString &format);

private:
    enum class SaveAnswer { Yes, No, Cancel };
    SaveAnswer askSaveQuestion(const QString &text);
    void showFailure(const QString &text, const QString &detail);
    void showLeftOut(const QString &heading, const QStringList &lines);
    static QString damagedDocumentText();
    // Asks before a save or an export replaces files the file dialog did not show as taken;
    // true to replace them.
    bool askReplace(const QStringList &files);
    bool saveAsIwb(const QString &chosenName);
    bool writeIwb(const QString &target);
    void clearWorkingDirectory();
    // Export: one picture per page in a folder named after the file, or one PDF. Failures are
    // collected and come back as one list (empty when everything was written). An export the
    // teacher cancels on its bar (*cancelled) leaves every file as it was before it.
    bool exportPages(const QString &chosenName, const QString &format);
    // The files an export of the pages under chosenName writes.
    QStringList exportFiles(const QString &chosenName, const QString &format) const;
    QStringList exportImages(const QString &chosenName, const QString &format, bool *cancelled);
    QStringList exportPdf(const QString &chosenName, const QString &format, bool *cancelled);
    // After an export: the copies of pictures made for it, of pages the board does not show
    // nor keeps near, are given back.
    void giveBackExported();

    // Pages dropped by New whose objects the clipboard still holds: kept until the end so that
    // a paste after New still works.
    QList<DPage *> m_retiredPages;
};
