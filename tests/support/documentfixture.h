#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QMessageBox;
class QTemporaryDir;
class QWidget;

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

// The working directory of an earlier run that autosaved and was killed, in the temporary
// folder and named as the program makes them, for the test to fill (a "content.xml" makes it
// one that is offered for restore). Removed with the object, if still there.
std::unique_ptr<QTemporaryDir> earlierRun();

// The entry names of a zip archive as unzip lists them; empty when it is no archive.
QStringList archiveEntries(const QString &archive);
// The bytes of a file ("" when it cannot be read).
QByteArray readAll(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);

} // namespace DocumentFixture
