// Media brought onto the page from files and from the gallery, and the outside programs the
// page starts: the activities program and the web browser.

#include "dpage.h"

#include "boardtypes.h"
#include "dcustomitem.h"
#include "dview.h"
#include "scribblearea.h"

#include "content/dlabel.h"
#include "content/mediaprobe.h"
#include "content/player.h"
#include "document/toolrun.h"
#include "tools/dscreenrecord.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGraphicsItem>
#include <QGraphicsSceneDragDropEvent>
#include <QMap>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int kConverterTimeoutMs = 30000;
constexpr int kStartTimeoutMs = 5000;
constexpr int kStopTimeoutMs = 5000;
constexpr char kPageFileRoot[] = "tempFilePng";
constexpr int kPageDpi = 150; // pdftoppm's own
constexpr char kActivitiesProgram[] = "/GENERADORES/GeneradorBrowser";
constexpr char kStartPage[] = "https://www.wikipedia.org/";
// Objects of these types up to this one can carry a media file handed to the Flash player.
constexpr int kLastFlashHolder = 9;

// The page files pdftoppm wrote into dir, with their page numbers, in page order. It pads the
// numbers to the width of the largest one, so the number is read rather than the name spelled
// out.
QList<QPair<qulonglong, QString>> pageFiles(const QString &dir)
{
    const QRegularExpression pageName(QStringLiteral("^%1-(\\d+)\\.png$").arg(kPageFileRoot));
    QList<QPair<qulonglong, QString>> pages;
    for (const QString &name : QDir(dir).entryList(QDir::Files)) {
        const QRegularExpressionMatch match = pageName.match(name);
        if (match.hasMatch())
            pages.append({ match.captured(1).toULongLong(), dir + QLatin1Char('/') + name });
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

// A page's pixels at the converter's resolution (points are 1/72 inch), as it rounds them.
QSize pagePixels(const QSizeF &points, int dpi)
{
    return QSize(int(std::ceil(points.width() * dpi / 72.0)),
                 int(std::ceil(points.height() * dpi / 72.0)));
}

// The resolution each page is made at: the converter's own, or less for a page that would be
// beyond the board's limits there (a poster of 200 inches would be 30000 pixels a side); 0 for
// a page beyond them even at one dot an inch, which is not made at all.
int pageDpi(const QSizeF &points)
{
    int dpi = kPageDpi;
    const QSize pixels = pagePixels(points, dpi);
    if (!PictureReading::fits(pixels))
        dpi = std::max(1,
                       int(dpi * double(PictureReading::fitted(pixels).width()) / pixels.width()));
    while (dpi > 0 && !PictureReading::fits(pagePixels(points, dpi) + QSize(1, 1)))
        --dpi;
    return dpi;
}

// The media box of every page, in points, as pdfinfo reads it; empty when it cannot.
QList<QSizeF> pageSizes(const QString &file, QString *error)
{
    const ToolRun run = runTool(QStringLiteral("pdfinfo"),
                                { QStringLiteral("-box"), QStringLiteral("-f"), QStringLiteral("1"),
                                  QStringLiteral("-l"), QString::number(INT_MAX), file },
                                QString(), kConverterTimeoutMs);
    if (!run.ok) {
        *error = run.error;
        return {};
    }
    const QRegularExpression box(QStringLiteral(
            "^Page\\s+(\\d+) MediaBox:\\s+(\\S+)\\s+(\\S+)\\s+(\\S+)\\s+(\\S+)\\s*$"));
    QList<QSizeF> sizes;
    for (const QString &line : QString::fromLocal8Bit(run.output).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = box.match(line);
        if (!match.hasMatch() || match.captured(1).toInt() != sizes.size() + 1)
            continue;
        // A box of no size, or of none a number can say, is taken for a point.
        auto side = [](double from, double to) {
            const double length = std::fabs(to - from);
            return std::isfinite(length) && length >= 1 ? std::min(length, 1e9) : 1.0;
        };
        sizes << QSizeF(side(match.captured(2).toDouble(), match.captured(4).toDouble()),
                        side(match.captured(3).toDouble(), match.captured(5).toDouble()));
    }
    if (sizes.isEmpty())
        *error = QStringLiteral("pdfinfo: no page sizes");
    return sizes;
}

// Converts the pages of file into folder, each within the board's limits: pages of one
// resolution together, one run of pdftoppm for each stretch of them. The pages too large to be
// made are noted in tooLarge, with their size at the converter's own resolution.
ToolRun convertPdf(const QString &file, const QString &folder, QMap<int, QSize> *tooLarge)
{
    QString error;
    const QList<QSizeF> sizes = pageSizes(file, &error);
    if (sizes.isEmpty())
        return ToolRun::failed(QStringLiteral("pdfinfo"), error);
    ToolRun run;
    run.ok = true;
    for (int first = 0; first < sizes.size();) {
        const int dpi = pageDpi(sizes.at(first));
        int last = first;
        while (last + 1 < sizes.size() && pageDpi(sizes.at(last + 1)) == dpi)
            ++last;
        if (dpi == 0) {
            for (int page = first; page <= last; ++page)
                tooLarge->insert(page + 1, pagePixels(sizes.at(page), kPageDpi));
            first = last + 1;
            continue;
        }
        run = runTool(QStringLiteral("pdftoppm"),
                      { QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                        QStringLiteral("-f"), QString::number(first + 1), QStringLiteral("-l"),
                        QString::number(last + 1), file, QDir(folder).filePath(kPageFileRoot) },
                      folder, kConverterTimeoutMs);
        if (!run.ok)
            return run;
        first = last + 1;
    }
    return run;
}

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
    if (file.isEmpty())
        return;
    // The page files live only while this runs; nothing of the user's current directory is
    // read or overwritten.
    QTemporaryDir pages;
    QMap<int, QSize> tooLarge;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ToolRun run = pages.isValid()
            ? convertPdf(file, pages.path(), &tooLarge)
            : ToolRun::failed(QStringLiteral("pdftoppm"), pages.errorString());
    QApplication::restoreOverrideCursor();
    const QList<QPair<qulonglong, QString>> files =
            run.ok ? pageFiles(pages.path()) : QList<QPair<qulonglong, QString>>();
    if (!run.ok || (files.isEmpty() && tooLarge.isEmpty())) {
        // A converter that failed midway leaves only some pages: none are taken, so the
        // document never comes in partly as if it were whole.
        qWarning("DPage: PDF import of %s failed: %s", qPrintable(file),
                 qPrintable(run.ok ? QStringLiteral("no pages") : run.error));
        QMessageBox::information(m_parent, tr("Atención"), tr("Error al insertar la imagen"));
        return;
    }
    const QString document = QFileInfo(file).fileName();
    for (const auto &page : files)
        placeRead(PictureReading::read(page.second),
                  tr("%1, página %2").arg(document).arg(page.first), false);
    for (auto page = tooLarge.cbegin(); page != tooLarge.cend(); ++page) {
        PictureReading::Probe notMade;
        notMade.outcome = PictureReading::Outcome::TooLarge;
        notMade.size = page.value();
        tellAboutPicture(notMade, tr("%1, página %2").arg(document).arg(page.key()), false);
    }
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
