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

#include <algorithm>

namespace {

const QString kContentFile = QStringLiteral("content.xml");

} // namespace

DPagesList::SaveAnswer DPagesList::askSaveQuestion(const QString &text)
{
    QMessageBox question(QMessageBox::Warning, tr("Atención"), text, QMessageBox::NoButton,
                         m_parent);
    // One role for all three keeps them in this order whatever the desktop's button layout.
    QPushButton *yes = question.addButton(tr("Si"), QMessageBox::ActionRole);
    question.addButton(tr("No"), QMessageBox::ActionRole);
    QPushButton *cancel = question.addButton(tr("Cancelar"), QMessageBox::ActionRole);
    question.setDefaultButton(yes);
    // Escape and the window's close button keep everything as it is: answering "No" by a
    // stray key would throw away a lesson's unsaved work.
    question.setEscapeButton(cancel);
    question.exec();
    if (question.clickedButton() == yes)
        return SaveAnswer::Yes;
    if (question.clickedButton() == cancel)
        return SaveAnswer::Cancel;
    return SaveAnswer::No;
}

QString DPagesList::damagedDocumentText()
{
    return tr("El documento está dañado y no se ha podido abrir entero.");
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
    QString start = QDir::homePath() + QStringLiteral("/save");
    for (;;) {
        const QString chosenName =
                QFileDialog::getSaveFileName(m_parent, caption, start, QString());
        if (chosenName.isEmpty())
            return false;
        // The dialog asks only about the name as typed; the suffix added to it, or the pictures
        // named after it, may replace other files, which nobody was asked about.
        const QStringList targets = iwb ? QStringList{ DocumentName::iwbTarget(chosenName) }
                                        : exportFiles(chosenName, format);
        QStringList taken;
        for (const QString &target : targets) {
            const QFileInfo info(target);
            if ((info.exists() || info.isSymLink())
                && info.absoluteFilePath() != QFileInfo(chosenName).absoluteFilePath())
                taken << target;
        }
        if (taken.isEmpty() || askReplace(taken))
            return iwb ? saveAsIwb(chosenName) : exportPages(chosenName, format);
        start = chosenName; // back to the dialog, with the name as it was typed
    }
}

bool DPagesList::askReplace(const QStringList &files)
{
    const QString text = files.size() == 1
            ? tr("El archivo %1 ya existe.").arg(QFileInfo(files.first()).fileName())
                    + QLatin1Char('\n') + tr("¿Desea reemplazarlo?")
            : tr("Los archivos de la carpeta %1 ya existen.")
                            .arg(QFileInfo(files.first()).absolutePath())
                    + QLatin1Char('\n') + tr("¿Desea reemplazarlos?");
    QMessageBox question(QMessageBox::Warning, tr("Atención"), text, QMessageBox::NoButton,
                         m_parent);
    QPushButton *yes = question.addButton(tr("Si"), QMessageBox::YesRole);
    QPushButton *no = question.addButton(tr("No"), QMessageBox::NoRole);
    question.setDefaultButton(no);
    question.setEscapeButton(no); // Escape keeps the other file
    question.exec();
    return question.clickedButton() == yes;
}

bool DPagesList::saveAsIwb(const QString &chosenName)
{
    // The extension as the teacher typed it: "lesson.IWB" is that file, not "lesson.IWB.iwb".
    const QString target = DocumentName::iwbTarget(chosenName);
    if (!writeIwb(target))
        return false; // the document keeps its old name, or none
    m_fileName = DocumentName::keptName(target);
    return true;
}

bool DPagesList::writeIwb(const QString &target)
{
    if (saveAllPagesToArchive(target, true)) {
        // Saved all the same: the teacher learns once which files did not travel with it.
        if (!m_lastSaveMissing.isEmpty()) {
            QStringList names;
            for (const QString &path : qAsConst(m_lastSaveMissing))
                names << QFileInfo(path).fileName();
            QMessageBox box(QMessageBox::Warning, tr("Atención"),
                            tr("El documento se ha guardado sin estos archivos, que no se "
                               "encuentran:")
                                    + QStringLiteral("\n") + names.join(QLatin1Char('\n')),
                            QMessageBox::Ok, m_parent);
            box.setDetailedText(m_lastSaveMissing.join(QLatin1Char('\n')));
            box.exec();
        }
        return true;
    }
    showFailure(WriteFailure::message(tr("Error al guardar archivo"), m_lastSaveCause),
                m_lastSaveError);
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
    // The toolbar's page label would otherwise still count the dropped pages.
    emit selectPageNum(QStringLiteral("1 / 1"));
}

void DPagesList::openFile()
{
    if (isOpening())
        return; // one at a time
    if (isDocumentModified() && !saveFile(QStringLiteral("iwb"), true))
        return;
    const QString chosenName = QFileDialog::getOpenFileName(
            m_parent, tr("Abrir Archivo"), QDir::homePath(), QStringLiteral("(*.iwb *.ubz)"));
    if (chosenName.isEmpty())
        return;
    // The readers name the document: after the chosen file when it was read whole, not at
    // all when it broke off, so that Save then asks for a name instead of overwriting it.
    bool opened = false;
    m_lastImportLeftOut.clear(); // said of the one import it was found in
    switch (DocumentName::openKind(chosenName)) {
    case DocumentName::OpenKind::Iwb:
        opened = openAllPagesFromFileIWB(chosenName);
        break;
    case DocumentName::OpenKind::Ubz:
        opened = openAllPagesFromFileUBZ(chosenName);
        break;
    case DocumentName::OpenKind::Unknown:
        return; // neither kind: the dialog's filter offers only these two
    }
    // The open document is untouched when an archive cannot be read or asks for more than a
    // document may; a document that breaks off shows what was read. The user is told so.
    if (!opened && m_bDamaged)
        showFailure(damagedDocumentText(), m_lastOpenError);
    else if (!opened)
        showFailure(tr("Error al abrir archivo"), m_lastOpenError);
    else if (m_bPartialRead)
        showFailure(damagedDocumentText(), m_lastOpenError);
    // What was left out or changed is said once, in one message, once its pictures are
    // measured (beside the board, the lesson open meanwhile): the pictures the board cannot
    // show or took smaller, with what an import could not bring in as it was.
    if (!opened)
        return;
    const QString heading = DocumentName::openKind(chosenName) == DocumentName::OpenKind::Ubz
            ? tr("La lección se ha importado con estos cambios:")
            : tr("La lección se ha abierto con estos cambios:");
    const quint64 round = m_measureRound;
    const auto tell = [this, heading, round] {
        if (round != m_measureRound)
            return; // another lesson came meanwhile: it says its own
        const QStringList changes = m_lastImportLeftOut + m_lastOpenPictures;
        if (!changes.isEmpty())
            showLeftOut(heading, changes);
    };
    if (m_picturesMeasured) {
        tell();
        return;
    }
    auto *once = new QObject(this);
    connect(this, &DPagesList::picturesMeasured, once, [once, tell] {
        once->deleteLater();
        tell();
    });
}

void DPagesList::showLeftOut(const QString &heading, const QStringList &lines)
{
    // Said once, after the import: the teacher would otherwise take a blank page, or a
    // picture that moves, for a fault. A long list is shown in part, and whole under the
    // box's details.
    constexpr int kShown = 12;
    QString text = heading + QStringLiteral("\n\n") + lines.mid(0, kShown).join(QLatin1Char('\n'));
    if (lines.size() > kShown)
        text += QLatin1Char('\n') + tr("… y %1 más.").arg(lines.size() - kShown);
    QMessageBox box(QMessageBox::Information, tr("Atención"), text, QMessageBox::Ok, m_parent);
    if (lines.size() > kShown)
        box.setDetailedText(lines.join(QLatin1Char('\n')));
    box.exec();
}
