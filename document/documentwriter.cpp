// Writing "content.xml" page by page: each page's part is kept as written until the page
// changes, so a save writes afresh only what changed, and an autosave of an unchanged document
// writes nothing. The parts are made by writers brought to the state the one writer of the
// whole document would be in at that point, so the file is byte for byte what that writer
// would write.

#include "dpageslist.h"

#include "iwbarchive.h"
#include "mediapath.h"
#include "savedstate.h"
#include "workfolder.h"

#include "board/boardtypes.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "board/pagewriter.h"
#include "shell/appsettings.h"
#include "shell/globals.h"

#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QSaveFile>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>
#include <QXmlStreamWriter>

#include <future>
#include <memory>
#include <vector>

namespace {

constexpr int kIndent = 5;
// The longest an autosave in steps works on pages before the board gets its turn again.
constexpr int kStepBudgetMs = 8;
// Steps follow each other on a timer, not as posted calls: those would run back to back ahead
// of the board's own timers and input.
constexpr int kStepPauseMs = 1;

const QString kIwb = QStringLiteral("iwb");
const QString kSvg = QStringLiteral("svg:svg");
const QString kPageset = QStringLiteral("svg:pageset");
const QString kPage = QStringLiteral("svg:page");

void formatLikeTheDocument(QXmlStreamWriter &writer)
{
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(kIndent);
}

// A writer inside "iwb" (and, with pages, inside "svg:svg" and "svg:pageset"), just after an
// element has ended there: the state the document's writer is in after a page, or after a
// record, whatever came before.
void enterAfterAnElement(QXmlStreamWriter &writer, bool pages)
{
    writer.writeStartElement(kIwb);
    if (pages) {
        writer.writeStartElement(kSvg);
        writer.writeStartElement(kPageset);
    }
    writer.writeStartElement(kPage);
    writer.writeEndElement();
}

} // namespace

void DPagesList::dropWrittenContent()
{
    m_written.clear();
    m_writtenOrder.clear();
    m_writtenRevisions.clear();
    m_writtenHead.clear();
}

QByteArray DPagesList::headBytes() const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter stream(&buffer);
    formatLikeTheDocument(stream);
    stream.writeStartDocument();
    stream.writeStartElement(kIwb);
    stream.writeAttribute(QStringLiteral("xmlns:iwb"),
                          QStringLiteral("http://www.imsglobal.org/xsd/iwb_v1p0"));
    stream.writeAttribute(QStringLiteral("xmlns:svg"),
                          QStringLiteral("http://www.w3.org/2000/svg"));
    stream.writeAttribute(QStringLiteral("xmlns:xlink"),
                          QStringLiteral("http://www.w3.org/1999/xlink"));
    stream.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    stream.writeStartElement(kSvg);
    stream.writeAttribute(QStringLiteral("width"),
                          QString::number(m_parent ? m_parent->width() : 0));
    stream.writeAttribute(QStringLiteral("height"),
                          QString::number(m_parent ? m_parent->height() : 0));
    stream.writeAttribute(QStringLiteral("viewbox"), QStringLiteral("0,0,1200,800"));
    stream.writeStartElement(kPageset);
    // The start tag is closed by what comes next; the first page does that in the document.
    return buffer.data() + '>';
}

bool DPagesList::isPageWritten(int n)
{
    DPage *page = at(n);
    const auto written = m_written.constFind(page);
    return written != m_written.cend() && written->index == n
            && written->revision == page->contentRevision();
}

bool DPagesList::isWrittenAsShown()
{
    if (m_writtenOrder.size() != size() || m_writtenHead != headBytes())
        return false;
    for (int n = 0; n < size(); ++n) {
        if (m_writtenOrder.at(n) != at(n) || m_writtenRevisions.at(n) != at(n)->contentRevision())
            return false;
    }
    return true;
}

void DPagesList::recordWrittenOrder()
{
    m_writtenOrder.clear();
    m_writtenRevisions.clear();
    for (DPage *page : qAsConst(*this)) {
        m_writtenOrder << page;
        m_writtenRevisions << m_written.value(page).revision;
    }
}

DPagesList::PagePart DPagesList::pagePart(DPage *page, int n)
{
    PagePart part;
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QXmlStreamWriter stream(&buffer);
        formatLikeTheDocument(stream);
        enterAfterAnElement(stream, true);
        const qint64 start = buffer.pos();
        PageWriter::startPage(n);
        part.failures = page->savePageDataToIWB(stream, m_workDir, n);
        part.page = buffer.data().mid(start);
    }
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QXmlStreamWriter stream(&buffer);
        formatLikeTheDocument(stream);
        enterAfterAnElement(stream, false);
        const qint64 start = buffer.pos();
        stream.writeStartElement(QStringLiteral("iwb:element"));
        stream.writeAttribute(QStringLiteral("ref"), QStringLiteral("bck") + QString::number(n));
        stream.writeAttribute(QStringLiteral("background"), QStringLiteral("true"));
        if (page->pageType() == PageTypeImage || page->pageType() == PageTypeCapture)
            stream.writeAttribute(QStringLiteral("background-posture"),
                                  QStringLiteral("stretched-to-fill"));
        stream.writeEndElement();
        const QList<QGraphicsItem *> items = page->items(Qt::DescendingOrder);
        for (QGraphicsItem *item : items) {
            QGraphicsItem *parent = item->parentItem();
            if (item->type() != ItemTypeGroup && (!parent || parent->type() != ItemTypeTable))
                saveLockedItems(stream, item);
            if (!parent || parent->type() != ItemTypeGroup)
                saveGroupItems(stream, item);
        }
        part.records = buffer.data().mid(start);
    }
    part.missing = PageWriter::missingMedia();
    part.fingerprint =
            SavedState::fingerprint(part.page, part.records, PageWriter::namedIdentities());
    PageWriter::endPage();
    return part;
}

QByteArray DPagesList::pageFingerprint(DPage *page, int n)
{
    const PageWriter::DryRun dryRun;
    return pagePart(page, n).fingerprint;
}

QStringList DPagesList::writtenPage(int n)
{
    DPage *page = at(n);
    if (isPageWritten(n) && m_written.value(page).known) {
        page->setModified(false); // as the page writer leaves it
        return {};
    }
    const PagePart part = pagePart(page, n);
    ++m_pagesWritten;
    if (!part.failures.isEmpty()) {
        m_written.remove(page); // written again next time
        return part.failures;
    }
    WrittenPage written;
    written.page = part.page;
    written.records = part.records;
    written.missing = part.missing;
    written.fingerprint = part.fingerprint;
    written.index = n;
    written.known = true;
    // What writing stirred up in the objects themselves is no change of the page.
    written.revision = page->contentRevision();
    m_written.insert(page, written);
    return {};
}

QList<QByteArray> DPagesList::documentParts() const
{
    if (isEmpty()) {
        // No page closes the pageset's start tag: it is written as an empty element.
        QByteArray head = m_writtenHead;
        head.chop(1);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QXmlStreamWriter stream(&buffer);
        formatLikeTheDocument(stream);
        stream.writeStartElement(kIwb);
        stream.writeStartElement(kSvg);
        stream.writeStartElement(kPageset);
        const qint64 start = buffer.pos();
        stream.writeEndElement(); // svg:pageset
        stream.writeEndElement(); // svg:svg
        stream.writeEndElement(); // iwb
        stream.writeEndDocument();
        return { head, buffer.data().mid(start) };
    }
    // The closing parts as the document's writer writes them after a page and after a record.
    QByteArray middle;
    QByteArray end;
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QXmlStreamWriter stream(&buffer);
        formatLikeTheDocument(stream);
        enterAfterAnElement(stream, true);
        const qint64 start = buffer.pos();
        stream.writeEndElement(); // svg:pageset
        stream.writeEndElement(); // svg:svg
        middle = buffer.data().mid(start);
        const qint64 last = buffer.pos();
        stream.writeEndElement(); // iwb
        stream.writeEndDocument();
        end = buffer.data().mid(last);
    }
    // The parts share their bytes with the kept pages: nothing large is copied here.
    QList<QByteArray> parts;
    parts.reserve(2 * size() + 3);
    parts << m_writtenHead;
    for (const DPage *page : *this)
        parts << m_written.value(page).page;
    parts << middle;
    for (const DPage *page : *this)
        parts << m_written.value(page).records;
    parts << end;
    return parts;
}

QStringList DPagesList::namedMedia()
{
    // Each page's part is read once, when a save first needs it, and all that are not known yet
    // at once, on other threads: read from the whole file, the text of a lesson of strokes held
    // up every save as long again as writing it.
    std::vector<std::pair<WrittenPage *, std::future<QStringList>>> reading;
    for (const DPage *page : qAsConst(*this)) {
        const auto written = m_written.find(page);
        if (written == m_written.end() || written->named)
            continue;
        auto task = std::make_shared<std::packaged_task<QStringList()>>(
                [part = written->page]() { return MediaPath::namesIn(part); });
        reading.emplace_back(&written.value(), task->get_future());
        QThreadPool::globalInstance()->start([task]() { (*task)(); });
    }
    for (auto &page : reading)
        page.first->named = std::make_shared<const QStringList>(page.second.get());
    QStringList names;
    for (const DPage *page : qAsConst(*this)) {
        const WrittenPage written = m_written.value(page);
        if (written.named)
            names << *written.named;
    }
    return MediaPath::filesNamed(m_workDir, names);
}

QString DPagesList::writeContent(const QString &dir, const QList<QByteArray> &parts,
                                 bool inBackground, bool recordAutosave,
                                 const PageWriter::PictureWritesTaken &pictures,
                                 const std::function<void(const std::future<QString> &)> &wait)
{
    finishPendingWrite();
    recordWrittenOrder();
    const QString path = dir + QStringLiteral("/content.xml");
    // The text is written once the pictures it names are: an autosave's text never names a
    // picture that is not there.
    const auto write = [path, parts, pictures]() -> QString {
        for (const PageWriter::PictureWrite &picture : pictures) {
            if (!picture.done.get())
                return picture.path + QStringLiteral(": the picture could not be written");
        }
        QSaveFile content(path);
        bool written = content.open(QIODevice::WriteOnly);
        for (const QByteArray &part : parts)
            written = written && content.write(part) == part.size();
        if (!written || !WriteFailure::commitWhole(content))
            return content.fileName() + QStringLiteral(": ") + content.errorString();
        return QString();
    };
    if (!inBackground) {
        // Written beside the board, which turns meanwhile where the caller lets it.
        std::future<QString> writing = std::async(std::launch::async, write);
        if (wait)
            wait(writing);
        const QString error = writing.get();
        PageWriter::notePicturesWritten(pictures);
        if (!error.isEmpty()) {
            m_writtenOrder.clear(); // the file on disk is not what was kept
            m_writtenRevisions.clear();
        }
        return error;
    }
    auto error = std::make_shared<QString>();
    m_contentWriterError = error;
    m_contentWriterPictures = pictures;
    m_contentWriterBytes = 0;
    for (const QByteArray &part : parts)
        m_contentWriterBytes += part.size();
    // The record and the mark go to the disk before the text they stand for is replaced, as
    // in a save that writes at once; the disk may take its time over them, the board does not
    // wait. The thread has a settings object of its own on the same file: the toolkit keeps
    // the two in step, where one object may not be used from two threads.
    const QString settingsFile = settings.fileName();
    const QSettings::Format settingsFormat = settings.format();
    m_contentWriter =
            QThread::create([write, error, recordAutosave, dir, settingsFile, settingsFormat] {
                if (recordAutosave) {
                    QSettings store(settingsFile, settingsFormat);
                    if (AppSettings::temporalName(store) != dir)
                        AppSettings::setTemporalName(store, dir);
                    WorkFolder::markAutosaved(dir);
                }
                *error = write();
            });
    connect(m_contentWriter, &QThread::finished, this, &DPagesList::finishPendingWrite);
    m_contentWriter->start();
    return QString();
}

void DPagesList::finishPendingWrite()
{
    if (!m_contentWriter)
        return;
    QThread *writer = m_contentWriter;
    m_contentWriter = nullptr;
    writer->wait();
    delete writer;
    const QString error = m_contentWriterError ? *m_contentWriterError : QString();
    m_contentWriterError.reset();
    // What the pictures wrote serves the next save (copied rather than encoded again).
    PageWriter::notePicturesWritten(std::exchange(m_contentWriterPictures, {}));
    if (!error.isEmpty()) {
        m_writtenOrder.clear();
        m_writtenRevisions.clear();
        autoSaveFailed(error, WriteFailure::probe(m_workDir, m_contentWriterBytes));
    } else {
        autoSaveSucceeded();
    }
}

void DPagesList::markOpenedAsWritten()
{
    // The document just read is on disk as it is shown: until a page changes, an autosave has
    // nothing to add. The parts of the pages are unknown, so the first change writes them all.
    dropWrittenContent();
    m_writtenHead = headBytes();
    for (int n = 0; n < size(); ++n) {
        WrittenPage opened;
        opened.index = n;
        opened.revision = at(n)->contentRevision();
        m_written.insert(at(n), opened);
    }
    recordWrittenOrder();
}

void DPagesList::autoSaveInSteps()
{
    if (m_bAutoSaving || m_bSaving)
        return;
    m_pagesWritten = 0;
    if (!m_keptPrevious.isEmpty() && !isDocumentModified())
        return;
    if (m_contentWriter && m_contentWriter->isRunning())
        return; // the last one is still being written: the next interval takes this up
    finishPendingWrite();
    if (isWrittenAsShown())
        return;
    QDir folder;
    bool madeFolders = folder.mkpath(m_workDir);
    for (const char *media : IwbArchive::kMediaFolders)
        madeFolders =
                folder.mkpath(m_workDir + QLatin1Char('/') + QLatin1String(media)) && madeFolders;
    if (!madeFolders) {
        autoSaveFailed(m_workDir + QStringLiteral(": the working directory cannot be made"),
                       WriteFailure::probe(m_workDir, 0));
        return;
    }
    m_bAutoSaving = true;
    m_autoSaveNext = 0;
    PageWriter::restartNumbering();
    autoSaveStep();
}

void DPagesList::autoSaveStep()
{
    if (m_bSaving) {
        // A save, open or import is running (its dialogs turn the event loop): after it.
        QTimer::singleShot(50, this, &DPagesList::autoSaveStep);
        return;
    }
    QElapsedTimer clock;
    clock.start();
    m_lastSaveError.clear();
    // The pictures' files are written beside the board, the text once they are.
    PageWriter::deferPictures();
    // Each step goes on where the last one stopped; the final pass from the first page takes
    // up any page changed meanwhile.
    int n = qMin(m_autoSaveNext, int(size()));
    if (n == size())
        n = 0;
    int writtenHere = 0;
    while (n < size()) {
        if (!isPageWritten(n) || !m_written.value(at(n)).known) {
            // A page is begun only if, going by the last one, it is done within the step: a
            // page of many strokes takes about as long as the whole step.
            if (writtenHere > 0 && clock.nsecsElapsed() / 1e6 + m_autoSavePageMs > kStepBudgetMs)
                break;
            const qint64 pageStart = clock.nsecsElapsed();
            const QStringList failures = writtenPage(n);
            m_autoSavePageMs = (clock.nsecsElapsed() - pageStart) / 1e6;
            ++writtenHere;
            if (!failures.isEmpty()) {
                m_bAutoSaving = false;
                autoSaveFailed(failures.join(QLatin1Char('\n')),
                               WriteFailure::probe(m_workDir, WriteFailure::kUnknownSizeBytes));
                return;
            }
        }
        ++n;
    }
    if (n < size() || m_autoSaveNext > 0) {
        // The board's turn; pages changed meanwhile are written again on the next step.
        m_autoSaveNext = n < size() ? n : 0;
        QTimer::singleShot(kStepPauseMs, this, &DPagesList::autoSaveStep);
        return;
    }
    m_bAutoSaving = false;
    if (isWrittenAsShown())
        return; // written meanwhile by a save of its own
    m_keptPrevious.clear();
    m_writtenHead = headBytes();
    writeContent(m_workDir, documentParts(), true, true, PageWriter::takePictureWrites());
}
