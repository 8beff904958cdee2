#pragma once

#include "document/dpageslist.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QMessageBox;
class QTemporaryDir;

// Helpers for the document commands' tests: answering the chain of modal dialogs a command
// opens (question, file dialog, error box), and reading archives back.
namespace DocumentFixture {

using ModalAnswer = std::function<void(QWidget *)>;

// Answers the next modal dialogs one after the other, each with its own answer. The count
// tells how many dialogs were answered, so a test checks that exactly these appeared; answers
// still waiting when the count is released are dropped.
std::shared_ptr<int> answerInTurn(const QList<ModalAnswer> &answers);

// "title|text|buttons left to right|default|escape" of a question box.
QString describeQuestion(const QMessageBox *box);

// Clicks the button with text ("Si", "No", "Cancelar", "OK"), or presses Escape for
// "Escape"; *seen (when given) gets the box's description first.
ModalAnswer click(const QString &text, QString *seen = nullptr);
// Chooses path in a file dialog and accepts it; *caption and *start (when given) get the
// dialog's caption and the file it proposed.
ModalAnswer chooseFile(const QString &path, QString *caption = nullptr, QString *start = nullptr);
// Accepts a file dialog with the name it proposes.
ModalAnswer acceptProposed(QString *caption = nullptr);
// Closes any dialog with Escape.
ModalAnswer escape();

// A small file system of its own (tmpfs) mounted on folder for the life of the object, as a
// teacher's USB stick: it can be filled up or made read-only. Mounting needs root, as tests
// run; isMounted() tells whether it is there. Unmounted at the end whatever it holds.
class SmallDisk
{
public:
    explicit SmallDisk(const QString &folder, qint64 bytes = 1 << 20);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    bool fill(); // writes a file until not a byte more fits
    bool empty(); // removes that file
    bool setReadOnly(bool readOnly);

private:
    QString m_folder;
    QString m_options;
    bool m_mounted = false;
};

// While it lives, this thread writes files as a user who may not write into folders of root's
// (a test run as root may write anywhere): its file-system user is "nobody".
class WithoutPermission
{
public:
    WithoutPermission();
    ~WithoutPermission();
    WithoutPermission(const WithoutPermission &) = delete;
    WithoutPermission &operator=(const WithoutPermission &) = delete;
    bool isActive() const { return m_active; }

private:
    bool m_active = false;
};

// A board window of its own with its page list, shown: a document opened there is opened as
// another program would open it, in a working folder that holds nothing of it yet.
struct OtherBoard
{
    OtherBoard()
    {
        window.setFixedSize(800, 600);
        window.show();
    }
    QWidget window;
    DPagesList pages{ &window };
};

// The working directory of an earlier run that autosaved and was killed, in the temporary
// folder and named as the program makes them, for the test to fill (a "content.xml" makes it
// one that is offered for restore). Removed with the object, if still there.
std::unique_ptr<QTemporaryDir> earlierRun();

// Saves as archive a lesson of pages pages, each with strokes and a picture of its own: its
// open takes many turns of the event loop even on a fast machine. objects (when given) gets
// the objects of each page. False when it could not be made.
bool makeBigLesson(const QString &archive, int pages, QList<int> *objects = nullptr);

// Turns the event loop until the pictures of the lesson list last opened are measured (what is
// said of them comes then, the lesson open meanwhile); false when that takes minutes.
bool waitForPictures(DPagesList &list);

// The entry names of a zip archive as unzip lists them; empty when it is no archive.
QStringList archiveEntries(const QString &archive);
// The bytes of a file ("" when it cannot be read).
QByteArray readAll(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);
// Every file below folder, hidden ones too, as "path/in/folder size", sorted: what a step left.
QStringList filesUnder(const QString &folder);
// The entries of folder (hidden ones too) once the scratch folders of the saves beside them,
// with their locks, are gone: a save leaves its own to another thread, with the file it
// replaced. Waits for them a while at most.
QStringList settledEntries(const QString &folder);

// Rows "corpus/<file>" and "regressions/<file>" of a fuzz target's inputs in fuzzFolder
// ("<fuzzFolder>/corpus/<target>", ...), in the columns "file" (its path) and "seed" (true for
// the corpus: seeds are real documents).
void addFuzzingRows(const QString &fuzzFolder, const QString &target);

} // namespace DocumentFixture
