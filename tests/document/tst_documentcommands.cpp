#include "support/documentfixture.h"
#include "support/testsupport.h"

#include "board/boardtypes.h"
#include "board/dcustomitem.h"
#include "board/dgpathcurveitem.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "document/dpageslist.h"
#include "document/toolrun.h"
#include "shell/globals.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>
#include <QtTest>

#include <memory>

using namespace DocumentFixture;

// New, Open, Save and Save as as the user meets them: the questions and dialogs answered for
// real, the names written, and the document kept whole when a save or an open fails.
class tst_DocumentCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void saveAsNames_data();
    void saveAsNames();
    void unchangedNamedDocumentIsNotWrittenAgain_data();
    void unchangedNamedDocumentIsNotWrittenAgain();
    void openedLessonIsLearntPageByPage_data();
    void openedLessonIsLearntPageByPage();
    void changesBeforeAnAutosaveAreStillOffered_data();
    void changesBeforeAnAutosaveAreStillOffered();
    void questions_data();
    void questions();
    void saveAsOverAnotherLesson_data();
    void saveAsOverAnotherLesson();
    void saveAsIntoAFileAsFolderFails();
    void failedSaveKeepsTheOldFile();
    void writeFailuresSayWhy_data();
    void writeFailuresSayWhy();
    void newFileAsksThenStartsAfresh();
    void newFileCancelledChangesNothing();
    void openAsksOnlyAboutChanges();
    void openedDocumentIsNamedAndSavedInPlace();
    void openedUbzIsSavedBesideIt();
    void saveAfterOpenKeepsTheMedia();
    void brokenOpenKeepsTheDocument_data();
    void brokenOpenKeepsTheDocument();

private:
    void change(DPage *page);
    // Fills the document with what kind names (unchangedNamedDocumentIsNotWrittenAgain).
    void fill(const QString &kind);
    QString saveAs(const QString &chosenName, bool *result = nullptr);
    QStringList siblingsOfWorkDir() const;

    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<DPagesList> m_list;
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir>
            m_folder; // fresh for each test: files of one never meet the next
};

void tst_DocumentCommands::init()
{
    settings.clear();
    m_home = std::make_unique<QTemporaryDir>();
    m_folder = std::make_unique<QTemporaryDir>();
    qputenv("HOME", m_home->path().toLocal8Bit()); // the file dialogs start there
    m_window = std::make_unique<QWidget>();
    m_window->setFixedSize(800, 600);
    m_list = std::make_unique<DPagesList>(m_window.get());
    m_window->show();
}

void tst_DocumentCommands::cleanup()
{
    m_list->exit();
    m_list.reset();
    m_window.reset();
    m_pCopyPasteListItems.clear();
}

// A stroke drawn on page, recorded as the board records a finished stroke.
void tst_DocumentCommands::change(DPage *page)
{
    auto *stroke =
            new DGPathCurveItem(QPointF(10, 10), QPen(Qt::black, 3), BtMenus::btPencil, nullptr);
    QPainterPath path(QPointF(0, 0));
    path.lineTo(20, 30);
    stroke->setPath(path);
    page->recordOperation(BtMenus::stAdd, {}, stroke);
}

// Save as with "Si" and chosenName typed in the dialog; returns the question's description.
QString tst_DocumentCommands::saveAs(const QString &chosenName, bool *result)
{
    QString seen;
    const auto answered =
            answerInTurn({ click(QStringLiteral("Si"), &seen), chooseFile(chosenName) });
    const bool saved = m_list->saveAsFile(QStringLiteral("iwb"));
    if (result)
        *result = saved;
    return *answered == 2 ? seen : QString();
}

void tst_DocumentCommands::saveAsNames_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("documentName");
    const auto row = [](const char *name, const char *chosen, const char *written,
                        const char *documentName) {
        QTest::newRow(name) << QString(chosen) << QString(written) << QString(documentName);
    };
    row("no extension", "lesson", "lesson.iwb", "lesson");
    row("with .iwb", "lesson.iwb", "lesson.iwb", "lesson");
    row("two dots", "lesson.2.iwb", "lesson.2.iwb", "lesson.2");
    row("upper case: the extension as typed", "lesson.IWB", "lesson.IWB", "lesson.IWB");
    row("extension twice", "lesson.iwb.iwb", "lesson.iwb.iwb", "lesson.iwb.iwb");
}

void tst_DocumentCommands::saveAsNames()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(QString, documentName);
    QTemporaryDir folder;
    bool saved = false;
    QVERIFY(!saveAs(folder.filePath(chosen), &saved).isEmpty());
    QVERIFY(saved);
    QCOMPARE(settledEntries(folder.path()), QStringList{ written });
    QVERIFY(archiveEntries(folder.filePath(written)).contains(QStringLiteral("content.xml")));
    QCOMPARE(m_list->fileName(), folder.filePath(documentName));
    QVERIFY(!m_list->isDocumentModified());

    // After a further change, Save writes the same file again, without a dialog.
    writeFile(folder.filePath(written), "stale");
    change(m_list->getCurPage());
    const auto asked = answerInTurn({ click(QStringLiteral("Cancelar")) });
    QVERIFY(m_list->saveFile(QStringLiteral("iwb"), false));
    QCOMPARE(*asked, 0);
    QVERIFY(archiveEntries(folder.filePath(written)).contains(QStringLiteral("content.xml")));
    QCOMPARE(settledEntries(folder.path()), QStringList{ written });
}

void tst_DocumentCommands::fill(const QString &kind)
{
    DPage *page = m_list->getCurPage();
    if (kind == QLatin1String("picture")) {
        QPixmap picture(60, 40);
        picture.fill(Qt::darkCyan);
        page->addPixmapItem(picture, QPointF(200, 100), 0, 1, QTransform(), true);
    } else if (kind == QLatin1String("files of one name")) {
        // Two files called alike: the second copy in the lesson takes a name of its own.
        for (const char *folder : { "a", "b" }) {
            QVERIFY(QDir(m_home->path()).mkpath(QLatin1String(folder)));
            const QString notes = m_home->filePath(QLatin1String(folder) + "/notes.txt");
            writeFile(notes, folder);
            change(page);
            DCustomItem::fromItem(page->validItems(true).first())
                    ->changeLinks(QString(), QString(), notes, QString());
        }
    } else if (kind == QLatin1String("locked group")) {
        change(page);
        change(page);
        for (QGraphicsItem *item : page->validItems(true))
            item->setSelected(true);
        page->addObjToGroup();
        page->lockObj();
    }
}

void tst_DocumentCommands::unchangedNamedDocumentIsNotWrittenAgain_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a blank page") << QString();
    QTest::newRow("a picture") << "picture";
    QTest::newRow("linked files of one name") << "files of one name";
    QTest::newRow("a locked group") << "locked group";
}

// A stroke drawn and undone after a save leaves the lesson as its file holds it: Save writes
// nothing and asks nothing, whatever the lesson holds.
void tst_DocumentCommands::unchangedNamedDocumentIsNotWrittenAgain()
{
    QFETCH(QString, kind);
    fill(kind);
    const QString target = m_folder->filePath(QStringLiteral("unchanged.iwb"));
    QVERIFY(!saveAs(target).isEmpty());
    change(m_list->getCurPage());
    QVERIFY(m_list->isDocumentModified());
    m_list->getCurPage()->setUndo();
    QVERIFY(!m_list->isDocumentModified());
    writeFile(target, "left alone");
    const auto asked = answerInTurn({ click(QStringLiteral("Cancelar")) });
    QVERIFY(m_list->saveFile(QStringLiteral("iwb"), false));
    QVERIFY(m_list->saveFile(QStringLiteral("iwb"), true)); // exit's save: nothing to ask
    QCOMPARE(*asked, 0);
    QCOMPARE(readAll(target), QByteArray("left alone"));
}

void tst_DocumentCommands::openedLessonIsLearntPageByPage_data()
{
    QTest::addColumn<bool>("shown"); // the page changed is the one the open shows
    QTest::addColumn<QString>("then"); // "stroke", "stroke undone", or "repaint" (no change)
    QTest::addColumn<bool>("changed");
    QTest::newRow("the page shown, a stroke undone") << true << "stroke undone" << false;
    QTest::newRow("another page, a stroke undone") << false << "stroke undone" << false;
    QTest::newRow("another page, a stroke before its turn") << false << "stroke" << true;
    QTest::newRow("another page, repainted before its turn") << false << "repaint" << false;
}

// What an opened lesson was is learnt page by page between the board's events, and a page at
// once when it is shown: a change undone counts as none, a page given a step of its history
// before it was learnt counts as changed until it is saved.
void tst_DocumentCommands::openedLessonIsLearntPageByPage()
{
    QFETCH(bool, shown);
    QFETCH(QString, then);
    QFETCH(bool, changed);
    for (int n = 0; n < 2; ++n) {
        change(m_list->getCurPage());
        m_list->newPage(BtMenus::btColorPage, false);
    }
    const QString target = m_folder->filePath(QStringLiteral("three.iwb"));
    QVERIFY(m_list->saveAllPagesToArchive(target, true));
    const QString folder = m_folder->filePath(QStringLiteral("unpacked"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(runTool(QStringLiteral("unzip"), { QStringLiteral("-q"), target }, folder, 30000).ok);

    QVERIFY(m_list->openFromFile(folder));
    QVERIFY(!m_list->isSavedStateSettled());
    DPage *page = shown ? m_list->getCurPage() : m_list->at(0);
    if (then == QLatin1String("stroke undone") && !shown)
        m_list->selectPage(0); // the teacher goes there first
    QVERIFY(!m_list->isDocumentModified());
    if (then == QLatin1String("repaint"))
        page->update(); // as when its pictures come
    else
        change(page);
    if (then == QLatin1String("stroke undone"))
        page->setUndo();
    QCOMPARE(m_list->isDocumentModified(), changed);
    QTRY_VERIFY(m_list->isSavedStateSettled());
    QCOMPARE(m_list->isDocumentModified(), changed);
    QVERIFY(m_list->saveAllPagesToArchive(target, true)); // saved, it is known again
    QVERIFY(!m_list->isDocumentModified());
}

void tst_DocumentCommands::changesBeforeAnAutosaveAreStillOffered_data()
{
    QTest::addColumn<bool>("inSteps");
    QTest::newRow("autosave at once") << false;
    QTest::newRow("autosave in steps, as the program runs it") << true;
}

void tst_DocumentCommands::changesBeforeAnAutosaveAreStillOffered()
{
    QFETCH(bool, inSteps);
    const QString target = m_folder->filePath(QStringLiteral("autosaved.iwb"));
    QVERIFY(!saveAs(target).isEmpty());
    writeFile(target, "before the change");
    change(m_list->getCurPage());
    // The page writer clears the page's own mark here.
    if (inSteps) {
        m_list->autoSaveInSteps();
        QTRY_VERIFY_WITH_TIMEOUT(!m_list->isAutoSaving(), 30000);
    } else {
        m_list->autoSave();
    }
    QVERIFY(readAll(m_list->workDir() + QStringLiteral("/content.xml")).contains("polyline"));
    QVERIFY(!m_list->getCurPage()->isModified());
    QVERIFY(m_list->isDocumentModified());

    QString seen;
    const auto asked = answerInTurn({ click(QStringLiteral("Si"), &seen) });
    QVERIFY(m_list->saveFile(QStringLiteral("iwb"), true));
    QCOMPARE(*asked, 1);
    QVERIFY(seen.contains(QStringLiteral("Desea Guardar el Archivo")));
    QVERIFY(archiveEntries(target).contains(QStringLiteral("content.xml")));
    QVERIFY(!m_list->isDocumentModified());
}

void tst_DocumentCommands::questions_data()
{
    QTest::addColumn<QString>("command"); // "save" (named, changed), "save as", "export"
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("dialogs"); // question and file dialog (Escape'd), or question alone

    const char *const save = "Desea Guardar el Archivo";
    const char *const saveAs = "Desea guardar el archivo";
    const char *const exporting = "Desea exportar el archivo";
    QTest::newRow("save: Si writes") << "save"
                                     << "Si" << save << true << 1;
    QTest::newRow("save: No") << "save"
                              << "No" << save << true << 1;
    QTest::newRow("save: Cancelar") << "save"
                                    << "Cancelar" << save << false << 1;
    QTest::newRow("save: Escape keeps the work") << "save"
                                                 << "Escape" << save << false << 1;
    QTest::newRow("save as: Si opens the dialog") << "save as"
                                                  << "Si" << saveAs << false << 2;
    QTest::newRow("save as: No") << "save as"
                                 << "No" << saveAs << true << 1;
    QTest::newRow("save as: Cancelar") << "save as"
                                       << "Cancelar" << saveAs << false << 1;
    QTest::newRow("save as: Escape") << "save as"
                                     << "Escape" << saveAs << false << 1;
    QTest::newRow("export: Si opens the dialog") << "export"
                                                 << "Si" << exporting << false << 2;
    QTest::newRow("export: No") << "export"
                                << "No" << exporting << true << 1;
    QTest::newRow("export: Cancelar") << "export"
                                      << "Cancelar" << exporting << false << 1;
    QTest::newRow("export: Escape") << "export"
                                    << "Escape" << exporting << false << 1;
}

void tst_DocumentCommands::questions()
{
    QFETCH(QString, command);
    QFETCH(QString, answer);
    QFETCH(QString, text);
    QFETCH(bool, result);
    QFETCH(int, dialogs);

    const QString target = m_folder->filePath(QStringLiteral("asked.iwb"));
    if (command == QLatin1String("save")) {
        QVERIFY(!saveAs(target).isEmpty());
        writeFile(target, "old");
    }
    change(m_list->getCurPage());
    const QStringList before = settledEntries(m_folder->path());

    QString seen;
    QString caption;
    QString start;
    const auto answered = answerInTurn({ click(answer, &seen), [&](QWidget *dialog) {
                                            auto *chooser = qobject_cast<QFileDialog *>(dialog);
                                            caption = dialog->windowTitle();
                                            if (chooser)
                                                start = chooser->selectedFiles().value(0);
                                            TestSupport::pressEscape(dialog);
                                        } });
    bool returned = false;
    if (command == QLatin1String("save"))
        returned = m_list->saveFile(QStringLiteral("iwb"), true);
    else
        returned = m_list->saveAsFile(command == QLatin1String("export") ? QStringLiteral("png")
                                                                         : QStringLiteral("iwb"));
    QCOMPARE(*answered, dialogs);
    QCOMPARE(seen, QStringLiteral("Atención|%1|Si,No,Cancelar|Si|Cancelar").arg(text));
    QCOMPARE(returned, result);
    if (dialogs == 2) {
        QCOMPARE(caption,
                 command == QLatin1String("export") ? QStringLiteral("Exportar archivo")
                                                    : QStringLiteral("Guardar archivo"));
        QCOMPARE(start, m_home->filePath(QStringLiteral("save")));
    }
    // Only "Si" to Save writes; every other answer leaves the files and the changes alone.
    const bool wrote = command == QLatin1String("save") && answer == QLatin1String("Si");
    if (command == QLatin1String("save"))
        QCOMPARE(readAll(target) == "old", !wrote);
    QCOMPARE(settledEntries(m_folder->path()), before);
    QCOMPARE(m_list->isDocumentModified(), !wrote);
    QCOMPARE(QDir(m_home->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), {});
}

void tst_DocumentCommands::saveAsOverAnotherLesson_data()
{
    QTest::addColumn<QString>("existing"); // last week's lesson
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("answer"); // to "¿Desea reemplazarlo?"; "" when it must not come
    QTest::addColumn<QString>("named"); // the document's name once saved
    const auto row = [](const char *name, const char *existing, const char *typed,
                        const char *answer, const char *named) {
        QTest::newRow(name) << QString(existing) << QString(typed) << QString(answer)
                            << QString(named);
    };
    row("victim over victim.iwb: No goes back to the dialog", "victim.iwb", "victim", "No",
        "victim");
    row("victim over victim.iwb: Escape is No", "victim.iwb", "victim", "Escape", "victim");
    row("victim over victim.iwb: Si replaces it", "victim.iwb", "victim", "Si", "victim");
    // Typed in full, the name was the dialog's to ask about, in any case.
    row("victim.iwb typed: not asked again", "victim.iwb", "victim.iwb", "", "victim");
    row("victim.IWB typed: not asked, replaced", "victim.IWB", "victim.IWB", "", "victim.IWB");
}

void tst_DocumentCommands::saveAsOverAnotherLesson()
{
    QFETCH(QString, existing);
    QFETCH(QString, typed);
    QFETCH(QString, answer);
    QFETCH(QString, named);
    // Last week's lesson, and this week's, unnamed, to be saved as "victim".
    const QString victim = m_folder->filePath(existing);
    QVERIFY(!saveAs(victim).isEmpty());
    const QByteArray lastWeek = readAll(victim);
    QVERIFY(!lastWeek.isEmpty());
    m_list->setFileName(QString());
    change(m_list->getCurPage());
    change(m_list->getCurPage());

    QString asked;
    QString again;
    QList<ModalAnswer> answers{ click(QStringLiteral("Si")),
                                chooseFile(m_folder->filePath(typed)) };
    if (!answer.isEmpty())
        answers << click(answer, &asked);
    answers << [&again](QWidget *dialog) { // the dialog again, after "No"
        again = dialog->windowTitle();
        TestSupport::pressEscape(dialog);
    };
    if (answer.isEmpty()) // the file dialog's own question
        answers.insert(2, [](QWidget *dialog) {
            if (auto *box = qobject_cast<QMessageBox *>(dialog))
                box->button(QMessageBox::Yes)->click();
        });
    const auto answered = answerInTurn(answers);
    const bool saved = m_list->saveAsFile(QStringLiteral("iwb"));
    const bool replaced = answer.isEmpty() || answer == QLatin1String("Si");
    QCOMPARE(*answered, replaced ? 3 : 4);
    if (!answer.isEmpty())
        QCOMPARE(asked,
                 QStringLiteral("Atención|El archivo %1 ya existe.\n"
                                "¿Desea reemplazarlo?|Si,No|No|No")
                         .arg(existing));
    QCOMPARE(saved, replaced);
    QCOMPARE(again, replaced ? QString() : QStringLiteral("Guardar archivo"));
    QCOMPARE(readAll(victim) == lastWeek, !replaced);
    QCOMPARE(m_list->fileName(), replaced ? m_folder->filePath(named) : QString());
    QCOMPARE(m_list->isDocumentModified(), !replaced);
    QCOMPARE(settledEntries(m_folder->path()), QStringList{ existing });
}

void tst_DocumentCommands::saveAsIntoAFileAsFolderFails()
{
    const QString notAFolder = m_folder->filePath(QStringLiteral("plain"));
    writeFile(notAFolder, "a file, not a folder");
    change(m_list->getCurPage());
    QString error;
    const auto answered = answerInTurn({ click(QStringLiteral("Si")),
                                         chooseFile(notAFolder + QStringLiteral("/lesson")),
                                         click(QStringLiteral("OK"), &error) });
    QVERIFY(!m_list->saveAsFile(QStringLiteral("iwb")));
    QCOMPARE(*answered, 3);
    QVERIFY2(error.startsWith(QStringLiteral("Error|Error al guardar archivo|")),
             qPrintable(error));
    QCOMPARE(m_list->fileName(), QString()); // still unnamed: Save will ask for a name again
    QVERIFY(m_list->isDocumentModified());
    QCOMPARE(readAll(notAFolder), QByteArray("a file, not a folder"));
}

void tst_DocumentCommands::failedSaveKeepsTheOldFile()
{
    const QString target = m_folder->filePath(QStringLiteral("kept.iwb"));
    QVERIFY(!saveAs(target).isEmpty());
    const QByteArray saved = readAll(target);
    QVERIFY(!saved.isEmpty());
    change(m_list->getCurPage());
    // The media folder "images" cannot be made: a plain file takes its place.
    QVERIFY(QDir(m_list->workDir() + QStringLiteral("/images")).removeRecursively());
    writeFile(m_list->workDir() + QStringLiteral("/images"), "in the way");

    QString error;
    const auto answered =
            answerInTurn({ click(QStringLiteral("Si")), click(QStringLiteral("OK"), &error) });
    QVERIFY(!m_list->saveFile(QStringLiteral("iwb"), true)); // exit would stop here
    QCOMPARE(*answered, 2);
    QVERIFY2(error.startsWith(QStringLiteral("Error|Error al guardar archivo|")),
             qPrintable(error));
    QCOMPARE(readAll(target), saved);
    QVERIFY(m_list->isDocumentModified());
    QCOMPARE(settledEntries(m_folder->path()), QStringList{ QStringLiteral("kept.iwb") });
}

void tst_DocumentCommands::writeFailuresSayWhy_data()
{
    QTest::addColumn<QString>("command"); // "save" (named, changed), "save as", "autosave"
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("cause"); // the sentence below the headline
    const char *const noRoom = "No queda espacio libre en el disco.";
    const char *const readOnly = "El disco o la carpeta es de solo lectura.";
    const char *const noPermission = "No tiene permiso para escribir en esa carpeta.";
    const QString save = QStringLiteral("save"), saveAs = QStringLiteral("save as");
    QTest::newRow("save: full disk") << save << "full" << noRoom;
    QTest::newRow("save: read-only disk") << save << "read-only" << readOnly;
    QTest::newRow("save: no permission") << save << "no permission" << noPermission;
    QTest::newRow("save as: full disk") << saveAs << "full" << noRoom;
    QTest::newRow("save as: read-only disk") << saveAs << "read-only" << readOnly;
    QTest::newRow("autosave: full disk, said once")
            << QStringLiteral("autosave") << "full" << noRoom;
}

void tst_DocumentCommands::writeFailuresSayWhy()
{
    QFETCH(QString, command);
    QFETCH(QString, fault);
    QFETCH(QString, cause);
    // The lesson lives on a stick (or, for the autosave, the working directory is one).
    const bool autosave = command == QLatin1String("autosave");
    const QString folder =
            autosave ? m_list->workDir() : m_folder->filePath(QStringLiteral("stick"));
    const QString lesson = folder + QStringLiteral("/lesson.iwb");
    QByteArray before;
    if (autosave) {
        change(m_list->getCurPage());
        m_list->autoSave();
        before = readAll(m_list->workDir() + QStringLiteral("/content.xml"));
        QVERIFY(!before.isEmpty());
    }
    auto stick = std::make_unique<SmallDisk>(folder, 256 << 10);
    if (!stick->isMounted())
        QSKIP("a disk of its own needs root");
    if (command == QLatin1String("save")) {
        QVERIFY(!saveAs(lesson).isEmpty());
        before = readAll(lesson);
        QVERIFY(!before.isEmpty());
        settledEntries(folder);
    }
    change(m_list->getCurPage());
    if (fault == QLatin1String("full"))
        QVERIFY(stick->fill());
    else if (fault == QLatin1String("read-only"))
        QVERIFY(stick->setReadOnly(true));
    // The autosave makes its media folders; files are all it may not leave.
    const QDir::Filters kinds =
            (autosave ? QDir::Files : QDir::AllEntries) | QDir::Hidden | QDir::NoDotAndDotDot;
    const QStringList onStick = QDir(folder).entryList(kinds);
    std::unique_ptr<WithoutPermission> nobody;
    if (fault == QLatin1String("no permission")
        && !(nobody = std::make_unique<WithoutPermission>())->isActive())
        QSKIP("acting as another user needs root");

    QString error;
    QList<ModalAnswer> answers{ click(QStringLiteral("OK"), &error) };
    if (command == QLatin1String("save as"))
        answers = QList<ModalAnswer>{ click(QStringLiteral("Si")), chooseFile(lesson) } + answers;
    auto answered = answerInTurn(answers);
    if (autosave) {
        // As the program runs it; the failure is said once, however often it comes again.
        for (int round = 0; round < 2; ++round) {
            change(m_list->getCurPage());
            m_list->autoSaveInSteps();
            QTRY_VERIFY_WITH_TIMEOUT(!m_list->isAutoSaving(), 60000);
            QTRY_COMPARE_WITH_TIMEOUT(*answered, 1, 30000);
        }
        for (const QMessageBox *box : m_window->findChildren<QMessageBox *>())
            QVERIFY(!box->isVisible());
    } else if (command == QLatin1String("save")) {
        QVERIFY(!m_list->saveFile(QStringLiteral("iwb"), false));
    } else {
        QVERIFY(!m_list->saveAsFile(QStringLiteral("iwb")));
    }
    nobody.reset();
    QCOMPARE(*answered, answers.size());
    QCOMPARE(error.section(QLatin1Char('|'), 1, 1).section(QLatin1Char('\n'), 1), cause);
    QVERIFY(m_list->isDocumentModified());
    // Nothing of the failed save is left on the stick, and what was there is as it was. The
    // working directory's mark of holding an autosave is no leftover: the folder under the stick
    // has it since the first autosave.
    QStringList left = QDir(folder).entryList(kinds);
    if (autosave)
        left.removeOne(QStringLiteral(".autosaved"));
    QCOMPARE(left, onStick);
    if (command == QLatin1String("save"))
        QCOMPARE(readAll(lesson), before);
    if (command == QLatin1String("save as"))
        QCOMPARE(m_list->fileName(), QString());
    if (!autosave)
        return;
    // Once an autosave succeeds, the next failure is said again.
    QVERIFY(stick->empty());
    change(m_list->getCurPage());
    m_list->autoSaveInSteps();
    QTRY_VERIFY_WITH_TIMEOUT(!m_list->isAutoSaving(), 60000);
    QVERIFY(stick->fill());
    answered = answerInTurn({ click(QStringLiteral("OK"), &error) });
    change(m_list->getCurPage());
    m_list->autoSaveInSteps();
    QTRY_COMPARE_WITH_TIMEOUT(*answered, 1, 60000);
    QVERIFY(error.contains(cause));
    // Under the stick, the working directory holds the autosave made before it, whole.
    QTRY_VERIFY_WITH_TIMEOUT(!m_list->isAutoSaving(), 60000);
    stick.reset();
    QCOMPARE(readAll(m_list->workDir() + QStringLiteral("/content.xml")), before);
}

void tst_DocumentCommands::newFileAsksThenStartsAfresh()
{
    m_list->newPage(BtMenus::btColorPage, false);
    DPage *copiedFrom = m_list->getCurPage();
    change(copiedFrom);
    QGraphicsItem *copied = copiedFrom->validItems(true).value(0);
    QVERIFY(copied);
    copied->setSelected(true);
    copiedFrom->copyObj();
    QCOMPARE(m_pCopyPasteListItems, QList<QGraphicsItem *>{ copied });
    m_list->autoSave();
    QVERIFY(QFileInfo::exists(m_list->workDir() + QStringLiteral("/content.xml")));

    // An unnamed document always goes through save as; "No" drops it.
    QString seen;
    QStringList labels;
    connect(m_list.get(), &DPagesList::selectPageNum, this,
            [&](const QString &text) { labels << text; });
    const auto answered = answerInTurn({ click(QStringLiteral("No"), &seen) });
    m_list->newFile();
    QCOMPARE(labels, QStringList{ QStringLiteral("1 / 1") });
    QCOMPARE(*answered, 1);
    QCOMPARE(seen, QStringLiteral("Atención|Desea guardar el archivo|Si,No,Cancelar|Si|Cancelar"));
    QCOMPARE(m_list->size(), 1);
    QCOMPARE(m_list->getCurPageNum(), 1);
    QVERIFY(m_list->getCurPage() != copiedFrom);
    QCOMPARE(m_list->getView()->scene(), m_list->getCurPage());
    QVERIFY(m_list->getCurPage()->items().isEmpty());
    QCOMPARE(m_list->fileName(), QString());
    QVERIFY(!m_list->isDocumentModified());
    QVERIFY(!QFileInfo::exists(m_list->workDir() + QStringLiteral("/content.xml")));
    QVERIFY(QFileInfo(m_list->workDir()).isDir());
    // What was copied before New can still be pasted.
    m_list->getCurPage()->pasteObj();
    QCOMPARE(m_list->getCurPage()->validItems(true).size(), 1);
    QCOMPARE(m_list->getCurPage()->validItems(true).first()->type(), copied->type());
}

void tst_DocumentCommands::newFileCancelledChangesNothing()
{
    m_list->newPage(BtMenus::btColorPage, false);
    const QList<DPage *> pages = *m_list;
    const auto answered = answerInTurn({ click(QStringLiteral("Cancelar")) });
    m_list->newFile();
    QCOMPARE(*answered, 1);
    QCOMPARE(QList<DPage *>(*m_list), pages);
    QCOMPARE(m_list->getCurPage(), pages.at(1));
}

void tst_DocumentCommands::openAsksOnlyAboutChanges()
{
    // Nothing changed: the file dialog comes first.
    QString caption;
    auto answered = answerInTurn({ [&](QWidget *dialog) {
        caption = dialog->windowTitle();
        TestSupport::pressEscape(dialog);
    } });
    m_list->openFile();
    QVERIFY(DocumentFixture::waitForPictures(*m_list));
    QCOMPARE(*answered, 1);
    QCOMPARE(caption, QStringLiteral("Abrir Archivo"));

    // A change: the save question first; "Cancelar" stops before the dialog.
    change(m_list->getCurPage());
    QString seen;
    answered = answerInTurn({ click(QStringLiteral("Cancelar"), &seen), escape() });
    m_list->openFile();
    QVERIFY(DocumentFixture::waitForPictures(*m_list));
    QCOMPARE(*answered, 1);
    QVERIFY(seen.contains(QStringLiteral("Desea guardar el archivo")));
    QVERIFY(m_list->isDocumentModified());
}

void tst_DocumentCommands::openedDocumentIsNamedAndSavedInPlace()
{
    m_list->newPage(BtMenus::btTransparentPage, false);
    change(m_list->getCurPage());
    const QString saved = m_folder->filePath(QStringLiteral("lesson.iwb"));
    QVERIFY(!saveAs(saved).isEmpty());

    // New (nothing changed since the save: nothing asked), then Open the saved lesson.
    {
        const auto answeredNew = answerInTurn({ click(QStringLiteral("Cancelar")) });
        m_list->newFile();
        QCOMPARE(*answeredNew, 0);
    } // the unused answer goes with its count
    QCOMPARE(m_list->size(), 1);
    const auto answered = answerInTurn({ chooseFile(saved) });
    m_list->openFile();
    QVERIFY(DocumentFixture::waitForPictures(*m_list));
    QCOMPARE(*answered, 1);
    QCOMPARE(m_list->size(), 2);
    QCOMPARE(m_list->at(1)->pageType(), int(PageTypeTransparent));
    QVERIFY(!m_list->at(1)->items().isEmpty());
    QCOMPARE(m_list->fileName(), saved); // with its extension, as chosen
    QVERIFY(!m_list->isDocumentModified());

    // Save without changes writes nothing; after a change it writes the same file.
    writeFile(saved, "opened");
    QVERIFY(m_list->saveFile(QStringLiteral("iwb"), false));
    QCOMPARE(readAll(saved), QByteArray("opened"));
    change(m_list->getCurPage());
    QVERIFY(m_list->saveFile(QStringLiteral("iwb"), false));
    QVERIFY(archiveEntries(saved).contains(QStringLiteral("content.xml")));
    QCOMPARE(settledEntries(m_folder->path()), QStringList{ QStringLiteral("lesson.iwb") });
}

void tst_DocumentCommands::openedUbzIsSavedBesideIt()
{
    QTemporaryDir source;
    writeFile(source.filePath(QStringLiteral("page000.svg")),
              "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\">"
              "<rect fill=\"#ff0000\"/></svg>");
    const QString ubz = m_folder->filePath(QStringLiteral("lesson.ubz"));
    const ToolRun zipped = runTool(QStringLiteral("zip"),
                                   { QStringLiteral("-q"), ubz, QStringLiteral("page000.svg") },
                                   source.path(), 30000);
    QVERIFY2(zipped.ok, qPrintable(zipped.error));
    const QByteArray ubzBytes = readAll(ubz);

    const auto answered = answerInTurn({ chooseFile(ubz) });
    m_list->openFile();
    QVERIFY(DocumentFixture::waitForPictures(*m_list));
    QCOMPARE(*answered, 1);
    QCOMPARE(m_list->size(), 1);
    QCOMPARE(m_list->getCurPage()->backgroundBrush().color(), QColor(255, 0, 0));
    QCOMPARE(m_list->fileName(), ubz);

    change(m_list->getCurPage());
    QVERIFY(m_list->saveFile(QStringLiteral("iwb"), false));
    QVERIFY(archiveEntries(ubz + QStringLiteral(".iwb")).contains(QStringLiteral("content.xml")));
    QCOMPARE(readAll(ubz), ubzBytes);
}

void tst_DocumentCommands::saveAfterOpenKeepsTheMedia()
{
    QTemporaryDir media;
    const QString clip = media.filePath(QStringLiteral("clip.avi"));
    writeFile(clip, "not really a video");
    m_list->getCurPage()->addVideoItem(clip, QPointF(300, 200), 0, 1, QTransform(), false);
    const QString saved = m_folder->filePath(QStringLiteral("film.iwb"));
    QVERIFY(!saveAs(saved).isEmpty());
    QVERIFY(archiveEntries(saved).contains(QStringLiteral("videos/clip.avi")));
    QVERIFY(QFile::remove(clip)); // from now on the document's own copy is the only one

    const auto answered = answerInTurn({ chooseFile(saved) });
    m_list->openFile();
    QVERIFY(DocumentFixture::waitForPictures(*m_list));
    QCOMPARE(*answered, 1);
    change(m_list->getCurPage());
    QVERIFY(m_list->saveFile(QStringLiteral("iwb"), false));
    QVERIFY(archiveEntries(saved).contains(QStringLiteral("videos/clip.avi")));
    QVERIFY(QFileInfo::exists(m_list->workDir() + QStringLiteral("/videos/clip.avi")));
}

void tst_DocumentCommands::brokenOpenKeepsTheDocument_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("not a zip") << "not a zip";
    QTest::newRow("symlink entry") << "symlink entry";
    QTest::newRow("no content.xml") << "no content.xml";
    QTest::newRow("content.xml not a document") << "content.xml not a document";
}

void tst_DocumentCommands::brokenOpenKeepsTheDocument()
{
    QFETCH(QString, kind);
    // The broken file, made the way such files come about.
    QTemporaryDir source;
    const QString broken = m_folder->filePath(QStringLiteral("broken.iwb"));
    QStringList entries;
    if (kind == QLatin1String("not a zip")) {
        writeFile(broken, "just some text");
    } else {
        QVERIFY(QDir(source.path()).mkpath(QStringLiteral("images")));
        writeFile(source.filePath(QStringLiteral("images/a.png")), "png");
        entries << QStringLiteral("images/a.png");
        if (kind == QLatin1String("symlink entry")) {
            writeFile(source.filePath(QStringLiteral("content.xml")), "<iwb><svg:pageset/></iwb>");
            QVERIFY(QFile::link(QStringLiteral("/"), source.filePath(QStringLiteral("videos"))));
            entries << QStringLiteral("content.xml") << QStringLiteral("videos");
        } else if (kind == QLatin1String("content.xml not a document")) {
            writeFile(source.filePath(QStringLiteral("content.xml")), "\x01\x02 not xml");
            entries << QStringLiteral("content.xml");
        }
        QProcess zip;
        zip.setWorkingDirectory(source.path());
        zip.start(QStringLiteral("zip"),
                  QStringList{ QStringLiteral("-q"), QStringLiteral("-y"), broken } + entries);
        QVERIFY(zip.waitForFinished(30000));
        QCOMPARE(zip.exitCode(), 0);
    }

    // The open document: three pages, page 2 current, named, autosaved and changed since.
    const QString named = m_folder->filePath(QStringLiteral("current.iwb"));
    QVERIFY(!saveAs(named).isEmpty());
    m_list->newPage(BtMenus::btColorPage, false);
    m_list->newPage(BtMenus::btTransparentPage, false);
    m_list->selectPage(1);
    change(m_list->getCurPage());
    m_list->autoSave();
    const QList<DPage *> pages = *m_list;
    DPage *current = m_list->getCurPage();
    const QByteArray content = readAll(m_list->workDir() + QStringLiteral("/content.xml"));
    const QStringList besideWorkDir = siblingsOfWorkDir();

    QString error;
    const auto answered = answerInTurn({ click(QStringLiteral("No")), chooseFile(broken),
                                         click(QStringLiteral("OK"), &error) });
    m_list->openFile();
    QVERIFY(DocumentFixture::waitForPictures(*m_list));
    QCOMPARE(*answered, 3);
    QVERIFY2(error.startsWith(QStringLiteral("Error|Error al abrir archivo|")), qPrintable(error));
    QVERIFY(!m_list->lastOpenError().isEmpty());
    QCOMPARE(QList<DPage *>(*m_list), pages);
    QCOMPARE(m_list->getCurPage(), current);
    QCOMPARE(m_list->getView()->scene(), current);
    QCOMPARE(m_list->fileName(), m_folder->filePath(QStringLiteral("current")));
    QVERIFY(m_list->isDocumentModified());
    QCOMPARE(readAll(m_list->workDir() + QStringLiteral("/content.xml")), content);
    // No staging folder is left beside the working directory.
    QCOMPARE(siblingsOfWorkDir(), besideWorkDir);
}

// Folders made beside the working directory for staging ("." + its name + "-XXXXXX").
QStringList tst_DocumentCommands::siblingsOfWorkDir() const
{
    const QFileInfo workDir(m_list->workDir());
    return workDir.dir().entryList({ QLatin1Char('.') + workDir.fileName() + QStringLiteral("-*") },
                                   QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

QTEST_MAIN(tst_DocumentCommands)
#include "tst_documentcommands.moc"
