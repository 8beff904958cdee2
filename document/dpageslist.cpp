#include "dpageslist.h"

#include "iwbarchive.h"
#include "iwblimits.h"
#include "iwbopening.h"
#include "iwbreader.h"
#include "iwbxml.h"
#include "mediapath.h"
#include "openingturns.h"
#include "savedstate.h"
#include "ubzreader.h"
#include "workfolder.h"
#include "workprogress.h"

#include "board/boardtypes.h"
#include "board/dcustomitem.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "board/pagewriter.h"
#include "board/scribblearea.h"
#include "board/strokepictures.h"
#include "pictures/heldpictures.h"
#include "pictures/picturedecoders.h"
#include "pictures/picturereading.h"
#include "shell/appsettings.h"
#include "shell/globals.h"

#include <QColorDialog>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QGraphicsItem>
#include <QGraphicsPixmapItem>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <atomic>
#include <climits>
#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <optional>

namespace {

// How long a start waits for the lock of its own working directory, which a start elsewhere
// may be holding while it looks whether the directory's program is gone.
constexpr int kClaimWaitMs = 5000;

// The most an open waits for the pictures of the page it opens on (a photo takes a tenth of a
// second): one that takes longer is shown when it comes, the board the teacher's meanwhile.
constexpr int kShownPicturesMs = 1000;

// What an open leaves to do between the board's events (what each page was, each picture's
// measure) waits while the teacher turns pages: a change this soon after another is taken to be
// one of a run, each drawn on the processors that work would take.
constexpr qint64 kTurningMs = 300;

QString pageCounterText(int number, int count)
{
    return QString::number(number) + QStringLiteral(" / ") + QString::number(count);
}

// A page's background picture read from a file the teacher chose, within the board's limits:
// the teacher is told when it is not taken, or taken smaller (an unreadable file, as ever, is
// passed over). Null when it is not taken.
QPixmap backgroundPicture(QWidget *parent, const QString &file,
                          const PictureReading::Picture &picture)
{
    const QString told = picture.probe.outcome == PictureReading::Outcome::Unreadable
            ? QString()
            : PictureReading::message(picture.probe, QFileInfo(file).fileName());
    if (!told.isEmpty())
        QMessageBox::information(parent, QCoreApplication::translate("DPagesList", "Atención"),
                                 told);
    return picture.probe.isTaken() ? QPixmap::fromImage(picture.image) : QPixmap();
}

QString chooseBackground(QWidget *parent)
{
    return QFileDialog::getOpenFileName(parent, DPagesList::tr("Open Image"), QString(),
                                        QStringLiteral("Image Files (*.png *.jpg  *.jpeg  *.bmp)"));
}

} // namespace

DPagesList::DPagesList(QWidget *parent) : QObject(nullptr), m_parent(parent)
{
    m_view = new DView(parent);
    m_view->viewport()->installEventFilter(this);
    m_savedState = std::make_unique<SavedState>(
            *this, [this](DPage *page, int n) { return pageFingerprint(page, n); },
            [this]() {
                // Pages turned one after another each take their own at once: the others
                // wait until the teacher stays on one.
                const bool turning = m_sinceShown.isValid() && m_sinceShown.elapsed() < kTurningMs;
                return !m_bSaving && !m_bAutoSaving && !isOpening() && !turning;
            });
    setupWorkingDirectory();
}

DPagesList::~DPagesList()
{
    // Pages report their end; nobody may be sent to a list that is going.
    blockSignals(true);
    finishPendingWrite();
    // Unsaved work of this run stays for the restore offer at the next start (also when
    // another program's autosave has taken the record since); anything else goes.
    if (AppSettings::temporalName(settings) != m_workDir && !WorkFolder::holdsAutosave(m_workDir))
        IwbArchive::removeTree(m_workDir);
    m_view->setScene(nullptr);
    m_curPage = nullptr;
    const QList<DPage *> pages = *this;
    clear();
    for (DPage *page : pages)
        destroyPage(page);
    for (DPage *page : qAsConst(m_retiredPages))
        destroyPage(page);
    delete m_view;
    removeKeptFolder();
}

void DPagesList::removeKeptFolder()
{
    if (m_keptFolder.isEmpty())
        return;
    if (HeldPictures::keptFolder() == m_keptFolder)
        HeldPictures::setKeptFolder(QString());
    IwbArchive::removeTree(m_keptFolder);
    m_keptFolder.clear();
}

int DPagesList::getCurPageNum() const
{
    return indexOf(m_curPage) + 1;
}

void DPagesList::refreshOverlay()
{
    if (m_view->m_scribbleArea->isVisible()) {
        m_view->setVisibleScribbleArea(false);
        m_view->setVisibleScribbleArea(true);
    }
}

void DPagesList::markRepaint()
{
    m_view->m_bRefreshOverlay = true;
}

void DPagesList::showPage(DPage *page)
{
    m_curPage = page;
    setShownScene(page);
}

void DPagesList::setShownScene(DPage *page)
{
    // From now on the teacher may change it: what it was when opened must be known first.
    m_savedState->pageShown(page);
    m_sinceShown.start();
    if (!m_turns)
        HeldPictures::holdAhead(kTurningMs);
    // While an open turns the event loop the board does not paint, and a scene shown by a view
    // that has not painted it stops reporting its changes for good once it is put aside: they
    // would go unsaved. The open puts its page in the view once it is over (openInTurns).
    if (!m_turns)
        m_view->setScene(page);
    keepCachesNear(page);
}

void DPagesList::destroyPage(DPage *page)
{
    if (m_view->scene() == page)
        m_view->setScene(nullptr);
    // Another page may come to live at the same address.
    m_written.remove(page);
    m_savedState->forget(page);
    std::replace(m_writtenOrder.begin(), m_writtenOrder.end(), static_cast<const DPage *>(page),
                 static_cast<const DPage *>(nullptr));
    delete page;
}

QPixmap DPagesList::scaledToView(const QPixmap &pixmap) const
{
    return pixmap.scaled(m_view->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void DPagesList::newPage(BtMenus::btType kind, bool fromFile)
{
    if (kind != BtMenus::btImagePage || fromFile) {
        makePage(kind, fromFile, QPixmap());
        return;
    }
    // The picture is chosen and read first, beside the board: the page is made once it has come,
    // or not at all.
    const QString name = chooseBackground(m_parent);
    if (name.isEmpty()) {
        // Cancelled: as a page made and removed again, which shows the page after this one.
        makePage(BtMenus::btImagePage, false, QPixmap());
        return;
    }
    PictureReading::readSoon(name, this, [this, name](const PictureReading::Picture &picture) {
        const QPixmap background = backgroundPicture(m_parent, name, picture);
        // An open begun meanwhile replaces the document the page was asked for.
        if (background.isNull() || isOpening())
            return;
        makePage(BtMenus::btImagePage, false, background);
        // Made after the command that asked for it was done: the counter is told here.
        emit selectPageNum(pageCounterText(getCurPageNum(), size()));
    });
}

void DPagesList::makePage(BtMenus::btType kind, bool fromFile, const QPixmap &background)
{
    qDebug("Pagina NUEVA");
    refreshOverlay();
    const int currentIndex = indexOf(m_curPage);
    auto *page = new DPage(m_view, m_parent);
    // The pages of a PDF come in within what the whole lesson may hold, not only their page.
    page->setLessonHeld([this] {
        PdfImport::Held lesson;
        for (const DPage *each : qAsConst(*this)) {
            const PdfImport::Held held = each->held();
            lesson.objects += held.objects;
        }
        return lesson;
    });
    m_curPage = page;
    connect(page, &DPage::goToPage, this, &DPagesList::selectPage);
    page->moveToPos();
    page->zoomToScale();
    insert(currentIndex + 1, page);

    switch (kind) {
    case BtMenus::btColorPage:
        page->setPageBackgroundColor(m_pageColor);
        break;
    case BtMenus::btTransparentPage:
        page->setTransparent(true);
        page->setBackgroundBrush(QBrush(QColor(0, 0, 0, 0), Qt::SolidPattern));
        page->setPageType(PageTypeTransparent);
        break;
    case BtMenus::btCapturePage: {
        QPixmap grab;
        if (QScreen *screen = QGuiApplication::primaryScreen())
            grab = screen->grabWindow(0);
        if (grab.isNull()) {
            // No screen to grab (a headless session): a blank page rather than no background.
            grab = QPixmap(m_view->size());
            grab.fill(Qt::white);
        }
        page->setBackgroundBrush(QBrush(scaledToView(grab)));
        page->setPageType(PageTypeCapture);
        break;
    }
    case BtMenus::btImagePage:
        if (!fromFile && background.isNull()) {
            // delPage shows the page that takes its place; the new page's signals were never
            // connected, so nothing more is wired here.
            delPage(true);
            emit newPage();
            markRepaint();
            return;
        }
        if (!fromFile)
            page->setBackgroundBrush(QBrush(scaledToView(background)));
        page->setPageType(PageTypeImage);
        break;
    default:
        break;
    }

    m_view->resetTransform();
    m_view->m_scale = 1.0; // the view's own record of its zoom follows the reset
    setShownScene(m_curPage);
    const QRectF rect = m_curPage->sceneRect();
    m_view->centerOn((rect.left() + rect.width()) / 2, (rect.top() + rect.height()) / 2);

    // A page that goes while a document is opened (the one replaced) tells nobody: the list is
    // half made until the open says it is there.
    connect(page, &DPage::updateRes, this, [this]() {
        if (!isOpening())
            emit newPage();
    });
    connect(page, &DPage::selectBt, this, &DPagesList::selectBt);
    // DPage takes finished strokes through the view's scene; the overlay's release signal has
    // no slot on the page to reach.
    if (m_openProgress) {
        // A document being read reports its pages once, at the end of the read; one read as
        // its text comes has more pages the more of it is recorded.
        if (m_openRecording) {
            // The pages recorded so far, by the share of the text they come from: taken alone,
            // they kept pace with the pages made, and the bar stood full from the start.
            int total = m_openRecording->pages();
            const double share = m_openUnpacking ? m_openUnpacking->textShare() : 0.0;
            if (share > 0)
                total = int(total / share);
            m_openProgress->setTotal(std::max(total, int(size())));
        }
        m_openProgress->step(size());
    } else {
        emit newPage();
    }
    markRepaint();
}

void DPagesList::delPage(bool recreate)
{
    refreshOverlay();
    const int index = indexOf(m_curPage);
    if (index < 0) {
        // No current page to delete (the list was just emptied); only the recreation applies.
        if (isEmpty() && recreate)
            newPage(BtMenus::btColorPage, false);
        markRepaint();
        return;
    }
    DPage *leaving = takeAt(index);
    m_curPage = nullptr;
    destroyPage(leaving);
    if (index < size()) {
        showPage(at(index));
    } else if (!isEmpty()) {
        showPage(last());
    } else if (!recreate) {
        markRepaint();
        return;
    } else {
        newPage(BtMenus::btColorPage, false);
    }
    m_curPage->moveBackPage();
    markRepaint();
}

void DPagesList::delPage(int index)
{
    if (index < 0 || index >= size())
        return;
    refreshOverlay();
    DPage *leaving = takeAt(index);
    const bool wasCurrent = leaving == m_curPage;
    if (wasCurrent)
        m_curPage = nullptr;
    destroyPage(leaving);
    if (index < size()) {
        if (wasCurrent)
            showPage(at(index));
    } else if (!isEmpty()) {
        showPage(last());
    } else {
        newPage(BtMenus::btColorPage, false);
    }
    m_curPage->moveBackPage();
    // Taken from the gallery: nothing else tells the counter that the pages changed.
    emit selectPageNum(pageCounterText(getCurPageNum(), size()));
    markRepaint();
}

void DPagesList::delAllPages()
{
    if (isEmpty())
        return;
    // All at once: deleting one by one showed every next page in the view on the way.
    refreshOverlay();
    m_view->setScene(nullptr);
    m_curPage = nullptr;
    const QList<DPage *> leaving = *this;
    clear();
    for (DPage *page : leaving) {
        destroyPage(page);
        turn(); // a lesson's pages take a while to go
    }
    markRepaint();
}

void DPagesList::selectPage(int index)
{
    if (index < 0 || index >= size())
        return;
    refreshOverlay();
    if (m_curPage)
        m_curPage->saveCurPos();
    showPage(at(index));
    m_curPage->moveToPos();
    m_curPage->zoomToScale();
    emit selectPageNum(pageCounterText(index + 1, size()));
    markRepaint();
    emit currentPageChanged();
}

void DPagesList::pageUp()
{
    const int index = indexOf(m_curPage);
    if (index >= 1)
        selectPage(index - 1);
}

void DPagesList::pageDown()
{
    const int index = indexOf(m_curPage);
    if (index >= 0 && index < size() - 1)
        selectPage(index + 1);
}

void DPagesList::changePage(int curIndex, int newIndex)
{
    if (curIndex < 0 || newIndex < 0 || std::max(curIndex, newIndex) >= size())
        return;
    swapItemsAt(curIndex, newIndex);
}

void DPagesList::movePage(int from, int to)
{
    if (isOpening() || from == to || from < 0 || to < 0 || std::max(from, to) >= size())
        return;
    move(from, to);
    // The page shown may have other neighbours now: they are the ones a teacher turns to next.
    keepCachesNear(m_curPage);
    emit selectPageNum(pageCounterText(getCurPageNum(), size()));
    emit newPage();
}

QList<QPixmap> DPagesList::getThumbnailList(QSize (*scale)(QSize)) const
{
    QList<QPixmap> thumbnails;
    for (DPage *page : *this)
        thumbnails << thumbnail(page, scale);
    return thumbnails;
}

QSize DPagesList::thumbnailSize(DPage *page, QSize (*scale)(QSize))
{
    return scale(QSize(int(page->sceneRect().width()), int(page->sceneRect().height())));
}

QPixmap DPagesList::thumbnail(DPage *page, QSize (*scale)(QSize)) const
{
    const int renders = page->thumbnailRenders();
    const QPixmap picture = page->thumbnail(thumbnailSize(page, scale));
    // Drawing the thumbnail filled the toolkit's caches of the objects: only pages near the
    // one shown keep them.
    if (page->thumbnailRenders() != renders && !m_cachedPages.contains(page))
        page->releaseRenderCaches();
    return picture;
}

QList<QPixmap> DPagesList::getScreenshotList() const
{
    QList<QPixmap> thumbnails;
    for (DPage *page : *this)
        thumbnails << page->getPagePixmap(1);
    return thumbnails;
}

void DPagesList::update()
{
    m_view->raise();
    m_view->m_scribbleArea->raise();
    m_view->setVisibleScribbleArea(false);
}

void DPagesList::insertPixmap(const QString &filename)
{
    if (m_curPage)
        m_curPage->insertPixmap(filename);
}

void DPagesList::pageBackColour()
{
    if (!m_curPage)
        return;
    const QColor colour = QColorDialog::getColor(Qt::blue, m_parent);
    if (!colour.isValid())
        return;
    m_curPage->dropKeptBackground();
    m_curPage->setBackgroundBrush(QBrush(colour, Qt::SolidPattern));
}

void DPagesList::pageBackImage()
{
    if (!m_curPage)
        return;
    const QString name = chooseBackground(m_parent);
    if (name.isEmpty())
        return;
    // Read beside the board; the page it was chosen for takes it when it comes.
    QPointer<DPage> page = m_curPage;
    PictureReading::readSoon(name, this, [this, name, page](const PictureReading::Picture &read) {
        const QPixmap picture = backgroundPicture(m_parent, name, read);
        if (picture.isNull() || !page || isOpening())
            return;
        page->dropKeptBackground();
        page->setBackgroundBrush(QBrush(picture));
    });
}

bool DPagesList::isDocumentModified() const
{
    return m_savedState->isChanged(headBytes());
}

void DPagesList::setDocumentModified(bool modified)
{
    if (modified) {
        m_savedState->setChanged();
        return;
    }
    for (DPage *page : qAsConst(*this))
        page->setModified(false);
    m_savedState->setShownAsSaved(headBytes());
}

bool DPagesList::isSavedStateSettled() const
{
    return m_savedState->isSettled();
}

void DPagesList::markAsOpened(bool complete)
{
    if (!complete) {
        m_savedState->setChanged(); // the file holds more than was read: Save must ask a name
        return;
    }
    for (DPage *page : qAsConst(*this))
        page->setModified(false);
    m_savedState->setOpened(headBytes(), m_curPage);
}

// --- Working directory, autosave and restore ---

QString DPagesList::claimWorkingDirectory()
{
    // Only the path of the directory made before main is used: it is made again, once it is
    // ours, and kept when the program ends with unsaved work. Until then a start elsewhere
    // may take it for a killed program's and remove it.
    m_currentDir.setAutoRemove(false);
    const QString made = m_currentDir.path();
    if (!WorkFolder::isClaimedHere(made)) {
        // A start elsewhere looking at it holds its lock for a moment.
        m_ownerLock = WorkFolder::claim(made, kClaimWaitMs);
        if (m_ownerLock) {
            m_currentDir.remove();
            return made;
        }
    }
    // Another page list of this program works there (or a program elsewhere got the same
    // name): one of our own.
    for (int attempt = 0; attempt < 10; ++attempt) {
        QTemporaryDir fresh(WorkFolder::pathTemplate());
        if (!fresh.isValid())
            break;
        fresh.setAutoRemove(false);
        m_ownerLock = WorkFolder::claim(fresh.path());
        if (m_ownerLock) {
            fresh.remove();
            return fresh.path();
        }
    }
    qWarning() << "DPagesList: the working directory cannot be locked:" << made;
    m_currentDir.remove();
    return made;
}

void DPagesList::setupWorkingDirectory()
{
    const QString previous = AppSettings::temporalName(settings);
    m_pageColor = AppSettings::pageColor(settings);
    m_workDir = claimWorkingDirectory();
    WorkFolder::removeLeftovers(m_workDir, previous);
    // The lesson's pictures keep their files beside the working directory, on its file system
    // (a save links them into it), where no save or open writes.
    m_keptFolder = IwbArchive::makeSiblingFolder(m_workDir);
    if (!m_keptFolder.isEmpty())
        HeldPictures::setKeptFolder(m_keptFolder);
    // The pages' tiles follow the pictures as they come, a few times a second at most.
    auto *pictures = new QTimer(this);
    pictures->setSingleShot(true);
    pictures->setInterval(300);
    connect(pictures, &QTimer::timeout, this, &DPagesList::pagePicturesCame);
    connect(HeldPictures::notifier(), &HeldPicturesNotifier::came, pictures, [pictures] {
        if (!pictures->isActive())
            pictures->start();
    });

    // The earlier run's folder, locked while it is asked about and restored: a program
    // started meanwhile leaves it alone.
    std::unique_ptr<WorkFolder::Lock> previousOwner;
    if (!previous.isEmpty() && previous != m_workDir) {
        if (!WorkFolder::isOwn(previous)) {
            // Not a working directory of ours (a damaged or foreign settings file, a folder of
            // the user's): nothing of it is trusted, nothing of it is touched.
            qWarning() << "DPagesList: unsaved work recorded in a folder not of ours:" << previous;
            AppSettings::setTemporalName(settings, QString());
            settings.sync();
        } else if ((previousOwner = WorkFolder::claim(previous))) {
            // Its program is gone: what its opens and saves left beside it goes.
            WorkFolder::removeScratchOf(previous);
            if (!QFileInfo::exists(previous + QStringLiteral("/content.xml"))) {
                // Gone without unsaved work: nothing to offer, nothing to keep.
                IwbArchive::removeTree(previous);
                previousOwner.reset();
                AppSettings::setTemporalName(settings, QString());
                settings.sync();
            }
        }
        // Otherwise a running program's own unsaved work: its record stays, and so does it.
    }
    if (previousOwner) {
        QMessageBox question(QMessageBox::Warning, tr("Atención"),
                             tr("Desea restaurar el archivo no guardado"), QMessageBox::NoButton,
                             m_parent);
        // One role for all three keeps "Si", "No", "Cancelar" in this order on every desktop
        // (button layouts move an accepting button to the other end on some).
        QPushButton *yes = question.addButton(tr("Si"), QMessageBox::ActionRole);
        QPushButton *no = question.addButton(tr("No"), QMessageBox::ActionRole);
        QPushButton *cancel = question.addButton(tr("Cancelar"), QMessageBox::ActionRole);
        question.setDefaultButton(yes);
        question.setEscapeButton(no);
        question.exec();
        if (question.clickedButton() == yes) {
            QDir().mkpath(m_workDir);
            restoreFrom(previous);
            return;
        }
        if (question.clickedButton() == cancel) {
            // Kept for the next start: nothing of it is touched in this run, and it is free
            // for a start elsewhere to offer.
            m_keptPrevious = previous;
            previousOwner.reset();
        } else {
            const IwbArchive::Result removed = IwbArchive::removeTree(previous);
            if (!removed.ok)
                qWarning() << "DPagesList:" << removed.error;
        }
    }
    QDir().mkpath(m_workDir);
    newPage(BtMenus::btColorPage, false);
    setDocumentModified(false);
}

void DPagesList::restoreFrom(const QString &previous)
{
    // previous is removed below, so the document moves into the new working directory first
    // (its media and its "content.xml") and is read there. Objects that name a file by a full
    // path inside previous (file and media links) are mapped into the working directory by the
    // reader through IwbArchive::rebasePath(path, m_restoringFrom, m_workDir).
    m_restoringFrom = previous;
    const IwbArchive::Result adopted = IwbArchive::adoptMedia(previous, m_workDir);
    if (!adopted.ok)
        qWarning() << "DPagesList: restore:" << adopted.error;
    const QString content = m_workDir + QStringLiteral("/content.xml");
    QFile::remove(content);
    if (!QFile::rename(previous + QStringLiteral("/content.xml"), content))
        QFile::copy(previous + QStringLiteral("/content.xml"), content);
    const bool read = openFromFile(m_workDir);
    m_restoringFrom.clear();
    if (!read || isEmpty() || !m_curPage) {
        qWarning() << "DPagesList: the unsaved document could not be read:" << previous;
        if (isEmpty() || !m_curPage)
            newPage(BtMenus::btColorPage, false);
    }
    // Until now saved only in the directory removed below: protected again at once, and
    // counted as changes for the save question at exit.
    setDocumentModified(true);
    dropWrittenContent();
    autoSave();
    const IwbArchive::Result removed = IwbArchive::removeTree(previous);
    if (!removed.ok)
        qWarning() << "DPagesList:" << removed.error;
}

void DPagesList::autoSave()
{
    if (m_bSaving)
        return;
    // An earlier run's autosave the user kept owns the record until this run has changes.
    if (!m_keptPrevious.isEmpty()) {
        if (!isDocumentModified())
            return;
        m_keptPrevious.clear();
    }
    saveAllPagesToFileIWB(m_workDir, false);
    if (!m_lastSaveError.isEmpty())
        autoSaveFailed(m_lastSaveError, m_lastSaveCause);
    else
        autoSaveSucceeded();
}

void DPagesList::autoSaveFailed(const QString &error, WriteFailure::Cause cause)
{
    m_lastSaveError = error;
    qWarning() << "DPagesList: autosave:" << error;
    if (m_autoSaveFailureShown)
        return;
    m_autoSaveFailureShown = true;
    // Not waited for: an autosave runs between the teacher's strokes, and a box that held the
    // event loop here would hold the save or the open that set it off.
    auto *box = new QMessageBox(
            QMessageBox::Warning, tr("Error"),
            WriteFailure::message(tr("La copia automática del documento no se ha podido "
                                     "guardar: si el programa se cierra de forma inesperada, "
                                     "se perderán los últimos cambios."),
                                  cause),
            QMessageBox::Ok, m_parent);
    box->setDetailedText(error);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void DPagesList::exit()
{
    finishPendingWrite();
    const IwbArchive::Result removed = IwbArchive::removeTree(m_workDir);
    if (!removed.ok)
        qWarning() << "DPagesList:" << removed.error;
    // A record of another program's unsaved work (it autosaved after this one) stays.
    const QString record = AppSettings::temporalName(settings);
    if (record.isEmpty() || record == m_workDir || record == m_keptPrevious) {
        AppSettings::setTemporalName(
                settings, QFileInfo(m_keptPrevious).isDir() ? m_keptPrevious : QString());
    }
    settings.sync();
    if (m_workDir == m_currentDir.path())
        m_currentDir.remove();
    removeKeptFolder();
    m_ownerLock.reset();
}

// --- IWB writer ---

namespace {

// Set while a document is written or read, and put back on every way out, whichever return is
// taken; an import that reads its folder inside the flag's scope keeps it set to the end.
class SavingFlag
{
public:
    explicit SavingFlag(bool &flag) : m_flag(flag), m_before(flag) { m_flag = true; }
    ~SavingFlag() { m_flag = m_before; }
    SavingFlag(const SavingFlag &) = delete;
    SavingFlag &operator=(const SavingFlag &) = delete;

private:
    bool &m_flag;
    bool m_before;
};

qint64 partsBytes(const QList<QByteArray> &parts)
{
    qint64 bytes = 0;
    for (const QByteArray &part : parts)
        bytes += part.size();
    return bytes;
}

} // namespace

bool DPagesList::saveAllPagesToFileIWB(const QString &fileName, bool pack)
{
    return saveAllPagesToArchive(fileName.isEmpty() ? QString() : fileName + QStringLiteral(".iwb"),
                                 pack);
}

bool DPagesList::saveAllPagesToArchive(const QString &archive, bool pack)
{
    if (isOpening()) {
        // Half made: written now, it would take the place of the file or of the autosave.
        m_lastSaveError = QStringLiteral("a document is being opened");
        m_lastSaveCause = WriteFailure::Cause::Unknown;
        return false;
    }
    const SavingFlag saving(m_bSaving);
    m_lastSaveError.clear();
    m_lastSaveCause = WriteFailure::Cause::Unknown;
    m_lastSaveMissing.clear();
    m_pagesWritten = 0;
    const QString dir = m_workDir;
    if (archive.isEmpty()) {
        m_lastSaveError = tr("Error al guardar archivo");
        return false;
    }
    finishPendingWrite();
    // An autosave of a document that is as it was last written (or opened) writes nothing.
    if (!pack && isWrittenAsShown())
        return false;
    if (!pack) {
        AppSettings::setTemporalName(settings, dir);
        settings.sync();
    }
    QDir folder;
    bool madeFolders = folder.mkpath(dir);
    for (const char *media : IwbArchive::kMediaFolders)
        madeFolders = folder.mkpath(dir + QLatin1Char('/') + QLatin1String(media)) && madeFolders;
    if (!madeFolders) {
        noteSaveFailure(dir + QStringLiteral(": the working directory cannot be made"), dir, 0);
        return false;
    }

    // A save to a file shows its progress, and the board turns while what takes long (the
    // pictures, the text, the archive) is done beside it, the teacher's input held off: the
    // document saved is the one shown when the save began. An autosave goes on behind the
    // board.
    std::unique_ptr<OpeningTurns> turns;
    if (pack && m_view)
        turns = std::make_unique<OpeningTurns>(m_view, tr("Guardando el documento…"), false);
    WorkProgress quiet(nullptr, QString(), size() + 1);
    WorkProgress &progress = turns ? turns->progress() : quiet;
    progress.setTotal(size() + 1);
    const auto wait = [&turns](const auto &future) {
        if (turns)
            turns->waitFor(future);
    };
    QStringList failures;
    PageWriter::restartNumbering();
    // The pictures' files are written on other threads while the pages' text is written.
    PageWriter::deferPictures();
    for (int n = 0; n < size(); ++n) {
        failures << writtenPage(n);
        progress.step(n);
        if (turns)
            turns->turn();
    }
    // A save to a file has zip deflate the text while the pictures are being encoded: that took
    // as long as writing the pages, and came after it.
    const QString &target = archive;
    std::unique_ptr<IwbArchive::DocumentPack> packing;
    if (pack && failures.isEmpty()) {
        m_writtenHead = headBytes();
        packing = std::make_unique<IwbArchive::DocumentPack>(target, documentParts());
    }
    const PageWriter::PictureWritesTaken pictures = PageWriter::takePictureWrites();
    for (const PageWriter::PictureWrite &picture : pictures)
        wait(picture.done);
    const QStringList pictureFailures = PageWriter::notePicturesWritten(pictures);
    if (!pictureFailures.isEmpty()) {
        // The pages naming them were kept as written: written again next time.
        dropWrittenContent();
        failures << pictureFailures;
    }
    if (!failures.isEmpty()) {
        noteSaveFailure(failures.join(QLatin1Char('\n')), dir, WriteFailure::kUnknownSizeBytes);
        return false;
    }
    // Marked before its text is replaced, so that no moment leaves an autosave unmarked; the
    // text before it stays whole if this one cannot be written.
    if (!pack)
        WorkFolder::markAutosaved(dir);
    m_writtenHead = headBytes();
    const QList<QByteArray> parts = documentParts();
    const QString error = writeContent(dir, parts, false, false, {}, wait);
    if (!error.isEmpty()) {
        noteSaveFailure(error, dir, partsBytes(parts));
        return false;
    }
    for (int n = 0; n < size(); ++n) {
        for (const QString &path : m_written.value(at(n)).missing) {
            if (!m_lastSaveMissing.contains(path))
                m_lastSaveMissing << path;
        }
    }
    if (!pack)
        return false;
    progress.step(size());
    // Exactly what the pages name: pictures of objects deleted since, or written under other
    // numbers by earlier saves, stay behind in the working directory.
    const QStringList media = namedMedia();
    std::future<IwbArchive::Result> finishing =
            std::async(std::launch::async, [&packing, dir, media] { return packing->finish(dir, media); });
    wait(finishing);
    const IwbArchive::Result packed = finishing.get();
    if (!packed.ok) {
        // The archive is at most about as large as what goes into it.
        qint64 bytes = partsBytes(parts);
        for (const QString &file : media)
            bytes += QFileInfo(dir + QLatin1Char('/') + file).size();
        noteSaveFailure(packed.error, QFileInfo(target).absolutePath(), bytes);
        return false;
    }
    if (!packed.skipped.isEmpty())
        qWarning() << "DPagesList: left out of the archive:" << packed.skipped;
    // The lesson as the archive now holds it: each page as it was written.
    QList<SavedState::Written> saved;
    for (DPage *page : qAsConst(*this)) {
        const WrittenPage written = m_written.value(page);
        saved << SavedState::Written{ page, written.revision, written.fingerprint };
    }
    m_savedState->setSaved(saved, m_writtenHead);
    return true;
}

void DPagesList::noteSaveFailure(const QString &error, const QString &folder, qint64 bytes)
{
    m_lastSaveError = error;
    m_lastSaveCause = WriteFailure::probe(folder, bytes);
}

void DPagesList::saveLockedItems(QXmlStreamWriter &stream, QGraphicsItem *item)
{
    if (item->type() >= ItemTypeHandle)
        return;
    const DCustomItem *object = DCustomItem::fromItem(item);
    if (!object || !object->isLocked())
        return;
    stream.writeStartElement(QStringLiteral("element"));
    stream.writeAttribute(QStringLiteral("ref"), PageWriter::objectId(item));
    stream.writeAttribute(QStringLiteral("locked"), QStringLiteral("true"));
    stream.writeEndElement();
}

void DPagesList::saveGroupItems(QXmlStreamWriter &stream, QGraphicsItem *item)
{
    if (item->type() != ItemTypeGroup)
        return;
    stream.writeStartElement(QStringLiteral("group"));
    const DCustomItem *group = DCustomItem::fromItem(item);
    if (group && group->isLocked())
        stream.writeAttribute(QStringLiteral("locked"), QStringLiteral("true"));
    const QList<QGraphicsItem *> children = item->childItems();
    for (QGraphicsItem *child : children) {
        if (child->type() < ItemTypeGroup) {
            stream.writeStartElement(QStringLiteral("element"));
            stream.writeAttribute(QStringLiteral("ref"), PageWriter::objectId(child));
            stream.writeEndElement();
        } else if (child->type() == ItemTypeGroup) {
            saveGroupItems(stream, child);
        }
    }
    stream.writeEndElement();
}

// --- IWB reader ---

namespace {

// Moves xml to the "pageset" element; false when the document has none before its end.
bool findPageset(IwbXml &xml)
{
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() == QXmlStreamReader::StartElement
            && xml.name() == QLatin1String("pageset"))
            return true;
    }
    return false;
}

} // namespace

bool DPagesList::openFromFile(const QString &folder)
{
    m_bDamaged = false;
    QFile content(folder + QStringLiteral("/content.xml"));
    IwbLimits::Estimate estimate;
    if (content.open(QIODevice::ReadOnly)) {
        const IwbLimits::TextCheck checked = IwbLimits::checkText(content);
        if (!checked.reason.isEmpty()) {
            m_lastOpenError = checked.reason;
            m_bPartialRead = false;
            m_bDamaged = true;
            return false; // refused before anything of the open document changed
        }
        estimate = checked.estimate;
    }
    return readContent(folder, estimate);
}

bool DPagesList::readContent(const QString &folder, const IwbLimits::Estimate &estimate,
                             std::shared_ptr<const IwbXmlRecording> recorded)
{
    const SavingFlag opening(m_bSaving);
    m_lastOpenError.clear();
    m_bPartialRead = false;
    QFile content(folder + QStringLiteral("/content.xml"));
    if (!content.open(QIODevice::ReadOnly)) {
        m_lastOpenError = content.fileName() + QStringLiteral(": ") + content.errorString();
        return false;
    }
    // Read whole before the open document is let go; a text too large to be held so is walked
    // as it is read.
    if (!recorded)
        recorded = IwbXmlRecording::read(content);
    QXmlStreamReader live;
    if (!recorded) {
        content.seek(0);
        live.setDevice(&content);
    }
    bool complete = false;
    QString error;
    {
        IwbXml xml = recorded ? IwbXml(recorded) : IwbXml(live);
        const auto checked = [estimate]() { return estimate; };
        complete = readPages(xml, folder, recorded, nullptr, checked, error);
    }
    finishRead(complete, error, QFileInfo(folder) == QFileInfo(m_workDir));
    return true;
}

bool DPagesList::readPages(IwbXml &xml, const QString &folder,
                           const std::shared_ptr<const IwbXmlRecording> &recorded,
                           IwbOpening *opening, std::function<IwbLimits::Estimate()> estimate,
                           QString &error)
{
    // The pages to come, for the progress bar of a long open.
    std::optional<WorkProgress> ownProgress;
    if (!m_turns)
        ownProgress.emplace(m_parent, tr("Abriendo el documento…"), 0);
    WorkProgress &progress = m_turns ? m_turns->progress() : *ownProgress;
    progress.setTotal(recorded ? recorded->pages() : 0);
    m_openProgress = &progress;
    if (opening) {
        m_openRecording = recorded;
        m_openUnpacking = opening;
    }
    const bool found = findPageset(xml);
    delAllPages();
    IwbReader reader(*this, folder, m_restoringFrom);
    reader.setUnpacking(opening);
    if (m_turns) {
        xml.setWhileWaiting(m_turns->turner());
        reader.setTurns(m_turns->turner());
    }
    bool complete = !xml.hasError();
    if (found)
        complete = reader.read(xml);
    m_readNotes = reader.pictures();
    m_lastOpenPictures = m_readNotes.notes();
    m_readPictures.clear();
    for (const IwbReader::Held &held : reader.heldPictures())
        m_readPictures.push_back({ held.picture, held.page });
    m_openProgress = nullptr;
    m_openRecording.reset();
    m_openUnpacking = nullptr;
    if (!complete)
        error = found ? reader.errorString() : xml.errorString();
    return complete;
}

void DPagesList::measureReadPictures()
{
    QList<std::shared_ptr<HeldPicture>> pictures;
    // The page shown first, then the others nearest it first: those a teacher turns to next.
    const int shown = getCurPageNum();
    std::stable_sort(m_readPictures.begin(), m_readPictures.end(),
                     [shown](const ReadPicture &a, const ReadPicture &b) {
                         return std::abs(a.page - shown) < std::abs(b.page - shown);
                     });
    for (const ReadPicture &read : m_readPictures) {
        // A save may write over the lesson's own files under other names from now on.
        read.picture->keep();
        pictures << read.picture;
    }
    const quint64 round = ++m_measureRound;
    m_picturesMeasured = false;
    HeldPictures::measure(pictures, this, [this, round] {
        if (round != m_measureRound)
            return; // another lesson was opened since
        for (const ReadPicture &read : m_readPictures)
            m_readNotes.noteHeld(*read.picture, read.page);
        m_lastOpenPictures = m_readNotes.notes();
        m_readPictures.clear();
        m_readNotes = LessonPictures();
        m_picturesMeasured = true;
        // Its pictures are read: the processes that read them go, but one for the next picture.
        PictureDecoders::instance().endIdle(1);
        emit picturesMeasured();
    });
}

void DPagesList::finishRead(bool complete, const QString &error, bool inWorkDir)
{
    keepCachesNear(m_curPage); // the page the document opens on: its pictures are begun now
    indexPagesInSteps();
    if (!complete) {
        m_lastOpenError = error;
        qWarning() << "DPagesList: document read only in part:" << m_lastOpenError;
    }
    // Whatever the file held, the document has a page to show and draw on.
    if (isEmpty() || !m_curPage)
        newPage(BtMenus::btColorPage, true);
    m_bPartialRead = !complete;
    m_bDamaged = !complete;
    markAsOpened(complete);
    if (complete && inWorkDir)
        markOpenedAsWritten();
    measureReadPictures();
    emit selectPageNum(pageCounterText(getCurPageNum(), size()));
    emit newPage();
    markRepaint();
}

bool DPagesList::isLight() const
{
    // As the limits estimate a document: a few kilobytes an object, four bytes a pixel of its
    // pictures.
    constexpr qint64 kLight = qint64(32) << 20;
    qint64 bytes = 0;
    for (const DPage *page : *this) {
        const QList<QGraphicsItem *> items = page->items();
        for (const QGraphicsItem *item : items) {
            bytes += IwbLimits::kObjectBytes;
            if (const auto *picture = dynamic_cast<const QGraphicsPixmapItem *>(item))
                bytes += IwbLimits::pictureBytes(picture->pixmap().size());
            if (bytes > kLight)
                return false;
        }
    }
    return true;
}

DPagesList::ReadWhileUnpacked DPagesList::readWhileUnpacked(IwbOpening &opening)
{
    const SavingFlag reading(m_bSaving);
    const std::shared_ptr<const IwbXmlRecording> recorded = opening.recording();
    // The open document steps aside rather than going at once: the archive may still turn
    // out refused, and then it comes back as it was (where it was shown: openInTurns).
    const QList<DPage *> previous = *this;
    DPage *previousCurrent = m_curPage;
    refreshOverlay();
    m_view->setScene(nullptr);
    m_curPage = nullptr;
    clear();
    bool complete = false;
    bool interrupted = false;
    QString error;
    {
        IwbXml xml(recorded);
        // As far as the text's check has gone, which is ahead of the walk.
        const auto checked = [&opening]() { return opening.estimate(); };
        complete = readPages(xml, m_workDir, recorded, &opening, checked, error);
        interrupted = xml.isInterrupted();
    }
    // The pages made go if the archive is refused now, or if its text could not be walked
    // whole as it was recorded (too large to be held: it is read again from its file).
    const bool settled = opening.settle();
    if (!settled || interrupted) {
        m_view->setScene(nullptr);
        const QList<DPage *> made = *this;
        clear();
        m_curPage = nullptr;
        for (DPage *page : made) {
            destroyPage(page);
            turn();
        }
        append(previous);
        m_curPage = previousCurrent;
        if (m_curPage) {
            showPage(m_curPage);
            m_curPage->moveToPos();
            m_curPage->zoomToScale();
        }
        emit selectPageNum(pageCounterText(getCurPageNum(), size()));
        emit newPage();
        markRepaint();
        if (!settled) {
            m_lastOpenError = opening.error();
            m_bDamaged = opening.damaged();
            return ReadWhileUnpacked::Refused;
        }
        return ReadWhileUnpacked::ReadAgain;
    }
    for (DPage *page : previous) {
        destroyPage(page);
        turn();
    }
    finishRead(complete, error, true);
    return ReadWhileUnpacked::Read;
}

bool DPagesList::unpackUbz(const QString &archive, IwbLimits::Estimate *estimate)
{
    const QString staging = IwbArchive::makeSiblingFolder(m_workDir);
    if (staging.isEmpty()) {
        m_lastOpenError = m_workDir + QStringLiteral(": no room to unpack beside it");
        return false;
    }
    // A file system's work only: done on another thread while the event loop turns.
    std::future<IwbArchive::Result> unpacking = std::async(
            std::launch::async,
            [archive, staging, workDir = m_workDir, view = m_view->size(), estimate] {
                IwbArchive::Result result = IwbArchive::unpack(archive, staging);
                if (result.ok) {
                    bool pages = false;
                    for (int n = 0; n < 100 && !pages; ++n)
                        pages = QFileInfo(staging + QLatin1Char('/') + UbzReader::pageFileName(n))
                                        .isFile();
                    if (!pages) {
                        result = IwbArchive::Result::failure(archive
                                                             + QStringLiteral(": no page files"));
                    } else if (const IwbLimits::TextCheck checked =
                                       UbzReader::checkLimits(staging, view);
                               !checked.reason.isEmpty()) {
                        result = IwbArchive::Result::failure(archive + QStringLiteral(": ")
                                                             + checked.reason);
                        result.damaged = true;
                    } else {
                        *estimate = checked.estimate;
                    }
                }
                if (result.ok)
                    result = IwbArchive::replaceFolder(staging, workDir);
                if (!result.ok) {
                    const IwbArchive::Result removed = IwbArchive::removeTree(staging);
                    if (!removed.ok)
                        qWarning() << "DPagesList:" << removed.error;
                }
                return result;
            });
    if (m_turns)
        m_turns->waitFor(unpacking);
    const IwbArchive::Result result = unpacking.get();
    if (!result.ok) {
        m_lastOpenError = result.error;
        m_bDamaged = result.damaged;
        return false;
    }
    return true;
}

void DPagesList::turn()
{
    if (m_turns)
        m_turns->turn();
}

void DPagesList::waitForPendingWrite()
{
    // An autosave's text still being written would land in the working directory the document
    // opened is about to take the place of.
    while (m_contentWriter && !m_contentWriter->wait(QDeadlineTimer(OpeningTurns::kWaitSliceMs)))
        turn();
    finishPendingWrite();
}

bool DPagesList::openInTurns(bool (DPagesList::*open)(const QString &), const QString &fileName)
{
    if (isOpening())
        return false;
    emit openStarted();
    // The lesson's pictures are decoded by several processes at once: they start (if the last
    // open ended them) while the archive is unpacked, not when the first pictures wait for them.
    PictureDecoders::instance().startAheadBeside(PictureDecoders::kMostProcesses);
    // The page shown leaves the view before the event loop turns (setShownScene), once the
    // board's picture is taken, and comes back where it was when the open leaves it the
    // current one.
    DPage *const shown = m_curPage;
    if (shown)
        shown->saveCurPos();
    bool opened = false;
    {
        OpeningTurns turns(m_view, tr("Abriendo el documento…"));
        m_view->setScene(nullptr);
        m_turns = &turns;
        opened = (this->*open)(fileName);
        // The page the lesson opens on is shown with its pictures, a smaller copy of each at
        // least: they were asked first, and the open waits for them as for the archive. Shown
        // without, a page of photos came up blank and filled in a second later. A decoding
        // process found stopped brings nothing within the wait: the board is not held for it.
        if (opened && m_curPage) {
            DPage *const page = m_curPage;
            turns.waitUntil(
                    [page] {
                        return holdsPicturesOf(page)
                                || PictureDecoders::instance().stoppedBusy() > 0;
                    },
                    kShownPicturesMs);
        }
        m_turns = nullptr;
    }
    if (m_curPage) {
        setShownScene(m_curPage);
        if (m_curPage == shown) {
            m_curPage->moveToPos();
            m_curPage->zoomToScale();
        } else {
            const QRectF rect = m_curPage->sceneRect();
            m_view->centerOn((rect.left() + rect.width()) / 2, (rect.top() + rect.height()) / 2);
        }
    }
    emit openEnded();
    return opened;
}

bool DPagesList::openAllPagesFromFileIWB(const QString &fileName)
{
    return openInTurns(&DPagesList::openIwb, fileName);
}

bool DPagesList::openIwb(const QString &fileName)
{
    m_lastOpenError.clear();
    m_lastOpenPictures.clear();
    m_bPartialRead = false;
    m_bDamaged = false;
    if (fileName.isEmpty())
        return false;
    // From the unpacking on, so that an autosave never writes a document half replaced.
    const SavingFlag opening(m_bSaving);
    waitForPendingWrite();
    // The objects are made from the text as it is read out of the archive and checked, beside
    // the unpacking of the rest: the pictures as each is unpacked.
    IwbOpening unpacking(fileName, m_workDir);
    unpacking.setWhileWaiting(m_turns->turner());
    if (!unpacking.start() || !unpacking.waitListed()) {
        m_lastOpenError = unpacking.error();
        m_bDamaged = unpacking.damaged();
        return false;
    }
    // The open document is kept until the archive is settled, so that a refused one leaves it
    // as it was: only a small one beside the document being read, or the two together would
    // hold more than the limits let one document hold.
    if (unpacking.recording() && isLight()) {
        switch (readWhileUnpacked(unpacking)) {
        case ReadWhileUnpacked::Read:
            m_fileName = m_bPartialRead ? QString() : fileName;
            return true;
        case ReadWhileUnpacked::Refused:
            return false;
        case ReadWhileUnpacked::ReadAgain:
            break; // as below, once settled
        }
    }
    // Checked against the limits while it was unpacked.
    if (!unpacking.settle()) {
        m_lastOpenError = unpacking.error();
        m_bDamaged = unpacking.damaged();
        return false;
    }
    if (!readContent(m_workDir, unpacking.estimate(), unpacking.settledRecording()))
        return false;
    m_fileName = m_bPartialRead ? QString() : fileName;
    return true;
}

// --- UBZ import ---

bool DPagesList::openFromFileUBZ(const QString &dir)
{
    m_lastImportLeftOut.clear();
    m_lastOpenPictures.clear();
    m_bDamaged = false;
    const IwbLimits::TextCheck checked = UbzReader::checkLimits(dir, m_view->size());
    if (!checked.reason.isEmpty()) {
        m_lastOpenError = checked.reason;
        m_bPartialRead = false;
        m_bDamaged = true;
        return false; // refused before anything of the open document changed
    }
    readUbzPages(dir, checked.estimate);
    return true;
}

void DPagesList::readUbzPages(const QString &dir, const IwbLimits::Estimate &estimate)
{
    const SavingFlag opening(m_bSaving);
    m_lastOpenError.clear();
    m_bPartialRead = false;
    delAllPages();
    IwbReader shared(*this, dir);
    // Its pictures are measured as its pages are read: the board turns meanwhile.
    if (m_turns)
        shared.setTurns(m_turns->turner());
    UbzReader reader(*this, shared, dir);
    bool complete = true;
    for (int n = 0; n < 100; ++n) {
        const QString error =
                reader.readPageFile(dir + QLatin1Char('/') + UbzReader::pageFileName(n));
        if (!error.isEmpty() && complete) {
            complete = false;
            m_lastOpenError = error;
        }
        turn();
    }
    if (!complete)
        qWarning() << "DPagesList: document read only in part:" << m_lastOpenError;
    if (isEmpty() || !m_curPage)
        newPage(BtMenus::btColorPage, true);
    m_lastImportLeftOut = reader.leftOut();
    m_readNotes = shared.pictures();
    m_lastOpenPictures = m_readNotes.notes();
    m_readPictures.clear();
    for (const IwbReader::Held &held : shared.heldPictures())
        m_readPictures.push_back({ held.picture, held.page });
    measureReadPictures();
    indexPagesInSteps();
    m_bPartialRead = !complete;
    m_bDamaged = !complete;
    markAsOpened(complete);
    emit selectPageNum(pageCounterText(getCurPageNum(), size()));
    emit newPage();
    markRepaint();
}

bool DPagesList::openAllPagesFromFileUBZ(const QString &fileName)
{
    return openInTurns(&DPagesList::openUbz, fileName);
}

bool DPagesList::openUbz(const QString &fileName)
{
    // From the unpacking on, so that an autosave never writes a document half replaced.
    const SavingFlag importing(m_bSaving);
    waitForPendingWrite();
    m_lastOpenError.clear();
    m_lastImportLeftOut.clear();
    m_lastOpenPictures.clear();
    m_bPartialRead = false;
    m_bDamaged = false;
    IwbLimits::Estimate estimate;
    if (fileName.isEmpty() || !unpackUbz(fileName, &estimate))
        return false;
    // Checked against the limits while it was unpacked.
    readUbzPages(m_workDir, estimate);
    // A document read only in part stays unnamed, so that Save asks for a name rather than
    // writing the shortened document where the user expects the whole one.
    m_fileName = m_bPartialRead ? QString() : fileName;
    return true;
}
