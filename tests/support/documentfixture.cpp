#include "documentfixture.h"

#include "support/testsupport.h"

#include "document/toolrun.h"
#include "document/workfolder.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace DocumentFixture {

namespace {

// Answers that outlive the test's count (the test is over) leave every dialog alone, so an
// answer that was not needed never meets a dialog of the next test.
void answerFrom(const std::shared_ptr<QList<ModalAnswer>> &pending, const std::weak_ptr<int> &count)
{
    if (pending->isEmpty())
        return;
    const ModalAnswer answer = pending->takeFirst();
    TestSupport::answerNextModal([pending, count, answer](QWidget *dialog) {
        const std::shared_ptr<int> answered = count.lock();
        if (!answered)
            return;
        ++*answered;
        // The next answer waits before this one closes its dialog: the command may open the
        // next dialog at once.
        answerFrom(pending, count);
        answer(dialog);
    });
}

QString buttonText(const QAbstractButton *button)
{
    return button ? button->text().remove(QLatin1Char('&')) : QStringLiteral("-");
}

} // namespace

std::shared_ptr<int> answerInTurn(const QList<ModalAnswer> &answers)
{
    auto count = std::make_shared<int>(0);
    answerFrom(std::make_shared<QList<ModalAnswer>>(answers), count);
    return count;
}

QString describeQuestion(const QMessageBox *box)
{
    QList<QAbstractButton *> buttons = box->buttons();
    std::sort(buttons.begin(), buttons.end(), [](QAbstractButton *a, QAbstractButton *b) {
        return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
    });
    QStringList texts;
    for (const QAbstractButton *button : qAsConst(buttons))
        texts << buttonText(button);
    return QStringList{ box->windowTitle(), box->text(), texts.join(QLatin1Char(',')),
                        buttonText(box->defaultButton()), buttonText(box->escapeButton()) }
            .join(QLatin1Char('|'));
}

ModalAnswer click(const QString &text, QString *seen)
{
    return [text, seen](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        if (seen)
            *seen = box ? describeQuestion(box) : QStringLiteral("not a message box");
        if (text == QLatin1String("Escape"))
            TestSupport::pressEscape(dialog);
        else if (!TestSupport::clickButton(dialog, text))
            QMetaObject::invokeMethod(dialog, "reject"); // the test sees the wrong answer
    };
}

ModalAnswer chooseFile(const QString &path, QString *caption, QString *start)
{
    return [path, caption, start](QWidget *dialog) {
        auto *chooser = qobject_cast<QFileDialog *>(dialog);
        if (!chooser) {
            if (caption)
                *caption = QStringLiteral("not a file dialog");
            QMetaObject::invokeMethod(dialog, "reject");
            return;
        }
        if (caption)
            *caption = chooser->windowTitle();
        if (start) {
            const QStringList proposed = chooser->selectedFiles();
            *start = proposed.isEmpty() ? QString() : proposed.first();
        }
        // Typed in full, as a user types a path: selectFile() would drop a folder that does
        // not exist and keep the dialog's own folder in front of the rest.
        TestSupport::typeFileName(chooser, path);
        QMetaObject::invokeMethod(chooser, "accept");
    };
}

ModalAnswer acceptProposed(QString *caption)
{
    return [caption](QWidget *dialog) {
        if (caption)
            *caption = dialog->windowTitle();
        QMetaObject::invokeMethod(dialog, "accept");
    };
}

ModalAnswer escape()
{
    return [](QWidget *dialog) { TestSupport::pressEscape(dialog); };
}

std::unique_ptr<QTemporaryDir> earlierRun()
{
    auto folder = std::make_unique<QTemporaryDir>(WorkFolder::pathTemplate());
    WorkFolder::markAutosaved(folder->path());
    return folder;
}

QStringList archiveEntries(const QString &archive)
{
    const ToolRun listed =
            runTool(QStringLiteral("unzip"), { QStringLiteral("-Z1"), archive }, QString(), 30000);
    if (!listed.ok)
        return {};
    return QString::fromUtf8(listed.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace DocumentFixture
