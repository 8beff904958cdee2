// The document commands of the file menu: New, Open, Save and Save as. They decide when to ask,
// which name a save writes and what the caller may do next; the writer, the readers and the
// archive helpers do the work.

#include "documentname.h"
#include "dpageslist.h"
#include "iwbarchive.h"

#include "board/dpage.h"
#include "board/dview.h"
#include "shell/globals.h"

#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QMessageBox>
#include <QPushButton>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

const QString kContentFile = QStringLiteral("content.xml");

// Why folder holds no IWB document that can be read, or "" when it does: "content.xml" must be
// a plain file of XML that reaches its page set. Checked before the open document is touched,
// so that a broken archive never costs the user the pages on the board.
QString unreadableContent(const QString &folder)
{
    const QString path = folder + QLatin1Char('/') + kContentFile;
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile())
        return QStringLiteral("no \"content.xml\" in the archive");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return path + QStringLiteral(": ") + file.errorString();
    QXmlStreamReader reader(&file);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement
            && reader.name() == QLatin1String("pageset"))
            return QString();
    }
    if (reader.hasError())
        return kContentFile + QStringLiteral(": ") + reader.errorString();
    return kContentFile + QStringLiteral(": no page set");
}

} // namespace

DPagesList::SaveAnswer DPagesList::askSaveQuestion(const QString &text)
{
    QMessageBox question(QMessageBox::Warning, tr("Atención"), text, QMessageBox::NoButton,
                         m_parent);
    // One role for all three keeps them in this order whatever the desktop's button layout.
    QPushButton *yes = question.addButton(tr("Si"), QMessageBox::ActionRole);
    QPushButton *no = question.addButton(tr("No"), QMessageBox::ActionRole);
    QPushButton *cancel = question.addButton(tr("Cancelar"), QMessageBox::ActionRole);
    question.setDefaultButton(yes);
    question.setEscapeButton(no); // Escape and the window's close button answer "No"
    question.exec();
    if (question.clickedButton() == yes)
        return SaveAnswer::Yes;
    if (question.clickedButton() == cancel)
        return SaveAnswer::Cancel;
    return SaveAnswer::No;
}

void DPagesList::showFailure(const QString &text, const QString &detail)
{
    qWarning() << "DPagesList:" << text << detail;
    QMessageBox box(QMessageBox::Warning, tr("Error"), text, QMessageBox::Ok, m_parent);
    if (!detail.isEmpty())
        box.setDetailedText(detail);
    box.exec();
}

bool DPagesList::saveFile(const QString &format, bool ask)
{
    if (m_fileName.isEmpty())
        return saveAsFile(format); // an unnamed document always asks for a name
    if (isEmpty() || !isDocumentModified())
        return true;
    if (ask) {
        switch (askSaveQuestion(tr("Desea Guardar el Archivo"))) {
        case SaveAnswer::No:
            return true;
        case SaveAnswer::Cancel:
            return false;
        case SaveAnswer::Yes:
            break;
        }
    }
    if (format.toLower() != QLatin1String("iwb"))
        return false;
    // The old archive is not removed first and the media folders are not emptied: the writer
    // replaces the archive only with a complete one, and an opened document's videos and
    // attached files live in those folders and must reach the new archive.
    return writeIwb(DocumentName::iwbTarget(m_fileName));
}

bool DPagesList::saveAsFile(const QString &format)
{
    const bool iwb = format.toLower() == QLatin1String("iwb");
    const QString text = iwb ? tr("Desea guardar el archivo") : tr("Desea exportar el archivo");
    const QString caption = iwb ? tr("Guardar archivo") : tr("Exportar archivo");
    switch (askSaveQuestion(text)) {
    case SaveAnswer::No:
        return true;
    case SaveAnswer::Cancel:
        return false;
    case SaveAnswer::Yes:
        break;
    }
    const QString chosenName = QFileDialog::getSaveFileName(
            m_parent, caption, QDir::homePath() + QStringLiteral("/save"), QString());
    if (chosenName.isEmpty())
        return false;
    if (iwb)
        return saveAsIwb(chosenName);
    return exportPages(chosenName, format);
}

bool DPagesList::saveAsIwb(const QString &chosenName)
{
    const QString name = DocumentName::withoutIwbExtension(chosenName);
    if (!writeIwb(name + QStringLiteral(".iwb")))
        return false; // the document keeps its old name, or none
    m_fileName = name;
    return true;
}

bool DPagesList::writeIwb(const QString &target)
{
    if (saveAllPagesToFileIWB(DocumentName::withoutIwbExtension(target), true))
        return true;
    showFailure(tr("Error al guardar archivo"), m_lastSaveError);
    return false;
}

void DPagesList::clearWorkingDirectory()
{
    // removeTree never follows a symlink, so a link planted by an archive cannot lead the
    // clean-up outside the working directory.
    QStringList paths{ m_workDir + QLatin1Char('/') + kContentFile };
    for (const char *media : IwbArchive::kMediaFolders)
        paths << m_workDir + QLatin1Char('/') + QLatin1String(media);
    for (const QString &path : qAsConst(paths)) {
        const IwbArchive::Result removed = IwbArchive::removeTree(path);
        if (!removed.ok)
            qWarning() << "DPagesList:" << removed.error;
    }
}

void DPagesList::newFile()
{
    if (!saveFile(QStringLiteral("iwb"), true))
        return;
    refreshOverlay();
    m_view->setScene(nullptr);
    m_curPage = nullptr;
    const QList<DPage *> dropped = *this;
    clear();
    for (DPage *page : dropped) {
        const bool onClipboard =
                std::any_of(m_pCopyPasteListItems.cbegin(), m_pCopyPasteListItems.cend(),
                            [page](const QGraphicsItem *item) { return item->scene() == page; });
        if (onClipboard) {
            // Nothing of the new document reaches a dropped page any more.
            disconnect(page, nullptr, this, nullptr);
            m_retiredPages << page;
        } else {
            destroyPage(page);
        }
    }
    m_fileName.clear();
    newPage(BtMenus::btColorPage, false);
    if (!m_workDir.isEmpty())
        clearWorkingDirectory();
    setDocumentModified(false);
}

void DPagesList::openFile()
{
    if (isDocumentModified() && !saveFile(QStringLiteral("iwb"), true))
        return;
    const QString chosenName = QFileDialog::getOpenFileName(
            m_parent, tr("Abrir Archivo"), QDir::homePath(), QStringLiteral("(*.iwb *.ubz)"));
    if (chosenName.isEmpty())
        return;
    bool opened = false;
    switch (DocumentName::openKind(chosenName)) {
    case DocumentName::OpenKind::Iwb:
        opened = openAllPagesFromFileIWB(chosenName);
        break;
    case DocumentName::OpenKind::Ubz:
        m_lastOpenError = QStringLiteral("UBZ documents cannot be imported yet");
        break;
    case DocumentName::OpenKind::Unknown:
        return; // neither kind: the dialog's filter offers only these two
    }
    if (!opened) {
        showFailure(tr("Error al abrir archivo"), m_lastOpenError);
        return;
    }
    m_fileName = chosenName;
}

bool DPagesList::openAllPagesFromFileIWB(const QString &fileName)
{
    m_lastOpenError.clear();
    if (fileName.isEmpty()) {
        m_lastOpenError = QStringLiteral("no file name");
        return false;
    }
    // Unpacked beside the working directory, so that the swap below is a rename.
    const QString staging = IwbArchive::makeSiblingFolder(m_workDir);
    if (staging.isEmpty()) {
        m_lastOpenError = m_workDir + QStringLiteral(": no room for a folder beside it");
        return false;
    }
    const IwbArchive::Result unpacked = IwbArchive::unpack(fileName, staging);
    if (!unpacked.ok) {
        m_lastOpenError = unpacked.error;
    } else {
        m_lastOpenError = unreadableContent(staging);
        if (m_lastOpenError.isEmpty())
            return openUnpacked(staging, &DPagesList::openFromFile);
        m_lastOpenError = fileName + QStringLiteral(": ") + m_lastOpenError;
    }
    IwbArchive::removeTree(staging);
    return false;
}

bool DPagesList::openUnpacked(const QString &staging, bool (DPagesList::*read)(const QString &))
{
    // The open document's folder is put aside, not removed, until the new one has been read:
    // it comes back should the reader give up.
    const QString holder = IwbArchive::makeSiblingFolder(m_workDir);
    const QString previous = holder + QStringLiteral("/previous");
    const bool hadFolder = QFileInfo::exists(m_workDir);
    QDir dir;
    if (holder.isEmpty() || (hadFolder && !dir.rename(m_workDir, previous))) {
        m_lastOpenError = m_workDir + QStringLiteral(": cannot be replaced");
        IwbArchive::removeTree(holder);
        IwbArchive::removeTree(staging);
        return false;
    }
    if (!dir.rename(staging, m_workDir)) {
        m_lastOpenError = m_workDir + QStringLiteral(": cannot be replaced");
        if (hadFolder)
            dir.rename(previous, m_workDir);
        IwbArchive::removeTree(holder);
        IwbArchive::removeTree(staging);
        return false;
    }
    if (!(this->*read)(m_workDir)) {
        m_lastOpenError =
                m_workDir + QLatin1Char('/') + kContentFile + QStringLiteral(": could not be read");
        IwbArchive::removeTree(m_workDir);
        if (hadFolder)
            dir.rename(previous, m_workDir);
        IwbArchive::removeTree(holder);
        return false;
    }
    IwbArchive::removeTree(holder);
    if (isEmpty() || !m_curPage)
        newPage(BtMenus::btColorPage, true); // a document without pages still shows one
    setDocumentModified(false);
    return true;
}
