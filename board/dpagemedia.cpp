// Media brought onto the page from files and from the gallery, and the outside programs the
// page starts: the activities program and the web browser.

#include "dpage.h"

#include "pictures/heldpictures.h"

#include "boardtypes.h"
#include "coveredpictures.h"
#include "dgpixmapitem.h"
#include "dcustomitem.h"
#include "dview.h"
#include "scribblearea.h"

#include "content/dlabel.h"
#include "content/mediaprobe.h"
#include "content/player.h"
#include "document/iwblimits.h"
#include "document/toolrun.h"
#include "document/workprogress.h"
#include "tools/dscreenrecord.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGraphicsItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsSceneDragDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kStartTimeoutMs = 5000;
constexpr int kStopTimeoutMs = 5000;
constexpr char kActivitiesProgram[] = "/GENERADORES/GeneradorBrowser";
constexpr char kStartPage[] = "https://www.wikipedia.org/";
// Objects of these types up to this one can carry a media file handed to the Flash player.
constexpr int kLastFlashHolder = 9;

// An outside program talks to nobody: its output would fill a pipe nobody reads.
void quieten(QProcess *process)
{
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
}

void stop(QProcess *process)
{
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(kStopTimeoutMs)) {
        process->kill();
        process->waitForFinished(kStopTimeoutMs);
    }
}

} // namespace

void DPage::StopProcess::operator()(QProcess *process) const
{
    stop(process);
    delete process;
}

QString DPage::applicationDir() const
{
    return m_appDir.isEmpty() ? QCoreApplication::applicationDirPath() : m_appDir;
}

QString DPage::browserStartPage()
{
    return QString::fromLatin1(kStartPage);
}

void DPage::hideInkOverlay()
{
    if (m_view->m_scribbleArea && m_view->m_scribbleArea->isVisible())
        m_view->setVisibleScribbleArea(false);
}

QPointF DPage::mediaAnchor() const
{
    return m_view->mapToScene(
            QPoint((m_view->width() - 1) / 2 - 180, (m_view->height() - 1) / 2 - 100));
}

int DPage::CountFiles(const QString &dir, const QString &prefix)
{
    const QFileInfoList entries =
            QDir(dir).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Unsorted);
    return int(std::count_if(entries.cbegin(), entries.cend(), [&prefix](const QFileInfo &entry) {
        return entry.baseName().contains(prefix, Qt::CaseSensitive);
    }));
}

void DPage::insertImage(bool pdf)
{
    if (!pdf) {
        const QString file = QFileDialog::getOpenFileName(
                m_parent, tr("Abrir Imagen"), QString(),
                QStringLiteral("Image Files (*.png *.jpg *.bmp *.jpeg)"));
        if (!file.isEmpty())
            placePicture(file, QFileInfo(file).fileName(), true);
        return;
    }

    const QString file = QFileDialog::getOpenFileName(m_parent, tr("Abrir Documento"), QString(),
                                                      QStringLiteral("Image Files (*.pdf)"));
    if (!file.isEmpty())
        importPdf(file);
}

PdfImport::Held DPage::held() const
{
    PdfImport::Held held;
    const QList<QGraphicsItem *> objects = items();
    for (const QGraphicsItem *item : objects) {
        if (!isBoardObjectType(item->type()))
            continue;
        ++held.objects;
    }
    return held;
}

void DPage::forPicturesAt(qreal scale,
                          const std::function<void(const std::shared_ptr<HeldPicture> &, QSizeF)>
                                  &picture) const
{
    const QList<QGraphicsItem *> items = itemsUnsorted();
    for (QGraphicsItem *item : items) {
        auto *shown =
                item->type() == ItemTypePixmap ? dynamic_cast<DGPixmapItem *>(item) : nullptr;
        if (!shown || shown->picture()->isMade() || !shown->isVisible()
            || CoveredPictures::isCovered(shown))
            continue;
        const QTransform placed = item->sceneTransform() * QTransform::fromScale(scale, scale);
        picture(shown->picture(),
                QSizeF(shown->pictureSize().width() * std::hypot(placed.m11(), placed.m12()),
                       shown->pictureSize().height() * std::hypot(placed.m21(), placed.m22())));
    }
}

void DPage::readyPictures(qreal scale, const std::function<void()> &waiting)
{
    // What earlier pages readied goes as room is needed.
    HeldPictures::newFrame();
    forPicturesAt(scale, [&waiting](const std::shared_ptr<HeldPicture> &picture, QSizeF size) {
        HeldPictures::ready(picture, size, waiting);
    });
}

int DPage::askPictures(qreal scale)
{
    int asked = 0;
    forPicturesAt(scale, [&asked](const std::shared_ptr<HeldPicture> &picture, QSizeF size) {
        HeldPictures::prepare(picture, size);
        ++asked;
    });
    return asked;
}

void DPage::importPdf(const QString &file)
{
    const QPoint viewCentre = QRect(0, 0, m_view->width(), m_view->height()).center();
    const QPointF sceneCentre = m_view->mapToScene(viewCentre);
    const QString document = QFileInfo(file).fileName();
    // The page files live only while this runs; nothing of the user's current directory is
    // read or overwritten.
    const QTemporaryDir folder;
    QString message;
    QStringList details;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    {
        // The bar holds the whole program while it shows, so that its Cancel is the one thing
        // the teacher can press: the pages already in stay, the rest is not made.
        WorkProgress progress(m_parent, tr("Importando «%1»…").arg(document), 0,
                              Qt::ApplicationModal);
        progress.setCancellable(true);
        // Between pages, and while they are made, the board paints itself and the bar moves.
        // What the teacher does waits until the bar shows; from then on the bar takes it, and
        // the rest of the program none.
        const auto turn = [&progress] {
            progress.refresh();
            QCoreApplication::processEvents(progress.isShown()
                                                    ? QEventLoop::AllEvents
                                                    : QEventLoop::ExcludeUserInputEvents);
        };
        PdfImport import(file, folder.isValid() ? folder.path() : QString(), m_pdfLimits, turn);
        std::vector<std::shared_ptr<HeldPicture>> placed;
        const auto place = [this, sceneCentre, file, &placed](const PdfImport::Placed &page) {
            const std::shared_ptr<HeldPicture> picture = HeldPicture::ofOwnFile(
                    page.file, page.name, QFileInfo(file).absolutePath(), page.probe);
            const QSize size = picture->pixels();
            addPixmapItem(picture, size, sceneCentre - QPointF(QRect(QPoint(), size).center()), 0,
                          1.0f, QTransform(), true);
            placed.push_back(picture);
        };
        if (import.open()) {
            progress.setTotal(import.count());
            hideInkOverlay();
            import.run(m_lessonHeld ? m_lessonHeld() : held(), place, progress);
            if (import.imported() > 0)
                m_view->setSelect();
            // The pages as the converter wrote them take room by the megabyte: a PNG of each is
            // made beside the board, and a save copies that. Made once the import is over, so as
            // not to take a processor from the converters the teacher waits for.
            for (const std::shared_ptr<HeldPicture> &picture : placed)
                HeldPictures::storeAsPng(picture);
        }
        message = import.message();
        details = import.details();
    }
    QApplication::restoreOverrideCursor();
    if (!details.isEmpty())
        qWarning("DPage: PDF import of %s: %s", qPrintable(file),
                 qPrintable(details.join(QLatin1String("; "))));
    if (!message.isEmpty())
        QMessageBox::information(m_parent, tr("Atención"), message);
}

void DPage::insertVideo()
{
    const QString file =
            QFileDialog::getOpenFileName(m_parent, tr("Abrir Vídeo"), QString(),
                                         QStringLiteral("Video files (*.mp4 *.gif *avi)"));
    if (file.isEmpty())
        return;
    if (!QFileInfo(file).isFile()) {
        QMessageBox::information(m_parent, tr("Atención"), tr("Error al insertar el vídeo"));
        return;
    }
    if (!checkPlayable(file, MediaProbe::Kind::Video))
        return;
    hideInkOverlay();
    // The video object takes its own poster frame (board/posterframe.h).
    QApplication::setOverrideCursor(Qt::WaitCursor);
    addVideoItem(file, mediaAnchor(), 0.0f, 1.0f, QTransform(), true);
    QApplication::restoreOverrideCursor();
    m_view->setSelect();
}

void DPage::insertSound()
{
    const QString file = QFileDialog::getOpenFileName(m_parent, tr("Abrir Audio"), QString(),
                                                      QStringLiteral("Sound Files (*.mp3)"));
    if (file.isEmpty())
        return;
    if (!checkPlayable(file, MediaProbe::Kind::Sound))
        return;
    hideInkOverlay();
    addSoundItem(file, mediaAnchor(), 0.0f, 1.0f, QTransform(), true);
}

bool DPage::checkPlayable(const QString &file, MediaProbe::Kind kind)
{
    QString why;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool playable = MediaProbe::canPlay(file, kind, &why);
    QApplication::restoreOverrideCursor();
    if (playable)
        return true;
    // Said when the file is chosen, not later when the class is waiting for it to play.
    qWarning("DPage: %s cannot be played: %s", qPrintable(file), qPrintable(why));
    QMessageBox::information(m_parent, tr("Atención"), Player::unplayableText());
    return false;
}

void DPage::playAV()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    for (QGraphicsItem *item : selection) {
        if (item->type() < ItemTypePath || item->type() > kLastFlashHolder)
            continue;
        const QString media = item->data(ItemDataMedia).toString();
        if (media.isEmpty() || QFileInfo(media).suffix() != QLatin1String("swf"))
            continue;
        QSettings config(applicationDir() + QLatin1String("/Sys/Config.ini"), QSettings::IniFormat);
        config.beginGroup(QStringLiteral("System"));
        config.setValue(QStringLiteral("FlashFilePathName"), media);
        config.endGroup();
        config.sync();
        if (config.status() != QSettings::NoError)
            qWarning("DPage: cannot write %s", qPrintable(config.fileName()));
    }
}

void DPage::playRecorder()
{
    DScreenRecord *recorder = DScreenRecord::shared(m_parent);
    if (recorder->isRecording())
        return; // the recording is not finished yet
    if (!recorder->m_fileName.isEmpty() && QFileInfo(recorder->m_fileName).isFile())
        return;
    const QFileInfo recording(recorder->outputFile());
    if (!recording.isFile())
        return; // nothing has been recorded
    // Written in the format its name says, and only over the old copy once complete.
    QString error;
    if (!recorder->saveRecording(recording.absolutePath() + QLatin1String("/out.avi"), &error)) {
        qWarning("DPage: cannot prepare the last recording: %s", qPrintable(error));
        QMessageBox::information(m_parent, tr("Atención"), tr("Error al guardar la grabación"));
    }
    // No player is started or stopped here: the board starts none.
}

void DPage::insertActivities()
{
    const QString program = applicationDir() + QLatin1String(kActivitiesProgram);
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable()) {
        QMessageBox::information(m_parent, tr("Atención"),
                                 tr("No se ha encontrado el programa de actividades"));
        return;
    }
    if (!m_activitiesProcess) {
        m_activitiesProcess.reset(new QProcess);
        quieten(m_activitiesProcess.get());
    }
    if (m_activitiesProcess->state() != QProcess::NotRunning)
        return; // one instance is enough
    m_activitiesProcess->start(program, QStringList());
    if (!m_activitiesProcess->waitForStarted(kStartTimeoutMs)) {
        qWarning("DPage: %s: %s", qPrintable(program),
                 qPrintable(m_activitiesProcess->errorString()));
        QMessageBox::information(m_parent, tr("Atención"),
                                 tr("Error al iniciar el programa de actividades"));
    }
}

void DPage::insertBrowser()
{
    // Only the browser this page started is closed before it is opened again: the user's
    // own browser windows are left alone.
    stop(m_browserProcess.get());
    const QString address = browserStartPage();
    if (QStandardPaths::findExecutable(QStringLiteral("firefox")).isEmpty()) {
        const ToolRun run = startToolDetached(QStringLiteral("xdg-open"), { address }, QString());
        if (!run.ok) {
            qWarning("DPage: %s", qPrintable(run.error));
            QMessageBox::information(m_parent, tr("Atención"), tr("Error al abrir el navegador"));
        }
        return;
    }
    if (!m_browserProcess) {
        m_browserProcess.reset(new QProcess);
        quieten(m_browserProcess.get());
    }
    m_browserProcess->start(QStringLiteral("firefox"), { address });
    if (!m_browserProcess->waitForStarted(kStartTimeoutMs)) {
        qWarning("DPage: firefox: %s", qPrintable(m_browserProcess->errorString()));
        QMessageBox::information(m_parent, tr("Atención"), tr("Error al abrir el navegador"));
    }
}

void DPage::insertText(const QString &str)
{
    const QSize size =
            QFontMetrics(QFont(QStringLiteral("Arial"), 60)).size(Qt::TextSingleLine, str);
    const QPoint corner((m_view->width() - 1) / 2 - size.width() / 2,
                        (m_view->height() - 1) / 2 - size.height() / 2);
    addTextItem(str.toHtmlEscaped(), QFont(QString(), 25), m_view->mapToScene(corner), 0.0f, 1.0f,
                QTransform(), true);
    m_view->setSelect();
}

void DPage::dragEnterEvent(QGraphicsSceneDragDropEvent *event)
{
    QGraphicsScene::dragEnterEvent(event);
}

void DPage::dragMoveEvent(QGraphicsSceneDragDropEvent *event)
{
    // The page takes the gallery's drops itself, wherever they land; others are refused.
    event->setAccepted(event->mimeData()
                       && event->mimeData()->hasFormat(QLatin1String(DLabel::kMimeType)));
}

void DPage::dragLeaveEvent(QGraphicsSceneDragDropEvent *event)
{
    QGraphicsScene::dragLeaveEvent(event);
}

void DPage::dropEvent(QGraphicsSceneDragDropEvent *event)
{
    const QMimeData *mime = event->mimeData();
    if (mime && mime->hasFormat(QLatin1String(DLabel::kMimeType))) {
        QDataStream stream(mime->data(QLatin1String(DLabel::kMimeType)));
        QString kind;
        QString file;
        QString text;
        stream >> kind >> file >> text;
        // A damaged payload is dropped whole rather than read as an empty picture.
        if (stream.status() == QDataStream::Ok) {
            const QPointF drop = event->scenePos();
            switch (kind.toInt()) {
            case BtMenus::resImage: {
                // The payload names any file: it is read within the board's limits, beside the
                // board, and placed where it was dropped when it comes.
                PictureReading::readSoon(file, this, [this, file, drop](const auto &picture) {
                    if (picture.probe.isTaken()) {
                        const QPixmap pixmap = QPixmap::fromImage(picture.image);
                        addPixmapItem(pixmap,
                                      drop - QPointF(pixmap.width() / 2, pixmap.height() / 2),
                                      0.0f, 1.0f, QTransform(), true);
                    }
                    tellAboutPicture(picture.probe, QFileInfo(file).fileName(), false);
                });
                break;
            }
            case BtMenus::resText:
                if (!text.isEmpty())
                    addTextItem(text.toHtmlEscaped(), QFont(QString(), 25), drop, 0.0f, 1.0f,
                                QTransform(), true);
                break;
            default:
                break;
            }
        }
    }
    QGraphicsScene::dropEvent(event);
}
