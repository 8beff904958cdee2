#include "mediafixture.h"

#include <QPointer>
#include <QTimer>

#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

namespace MediaFixture {

std::shared_ptr<bool> chooseFile(const QString &path, std::function<void()> afterAccept)
{
    return TestSupport::answerNextModal([path, afterAccept](QWidget *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        if (!files) {
            dialog->close();
            return;
        }
        if (path.isEmpty()) {
            files->reject();
            return;
        }
        // The dialog may still be reading its folder and refuse the first accept: press
        // "Open" again until it closes, as a user would.
        const QPointer<QFileDialog> guarded(files);
        auto tries = std::make_shared<int>(0);
        auto press = std::make_shared<std::function<void()>>();
        // The pending timer holds the function; the function itself holds only a weak link back,
        // or the two would keep each other alive after the dialog is gone.
        const std::weak_ptr<std::function<void()>> again = press;
        *press = [guarded, path, tries, again]() {
            if (!guarded || !guarded->isVisible() || ++*tries > 200)
                return;
            TestSupport::typeFileName(guarded, path);
            QMetaObject::invokeMethod(guarded, "accept"); // as the Open button does
            const auto next = again.lock();
            if (next && guarded && guarded->isVisible())
                QTimer::singleShot(25, guarded, [next] { (*next)(); });
        };
        (*press)();
        if (afterAccept)
            afterAccept();
    });
}

MessageBoxes::MessageBoxes()
{
    m_poll.setInterval(10);
    connect(&m_poll, &QTimer::timeout, this, [this]() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box && box->isVisible()) {
            seen << box->windowTitle() + QLatin1Char('|') + box->text();
            box->accept();
        }
    });
    m_poll.start();
}

bool writeFakeProgram(const QString &path, const QString &log, bool keepRunning)
{
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    script.write("#!/bin/sh\n"
                 "echo \"$#|$*\" >> '"
                 + QFile::encodeName(log) + "'\n" + (keepRunning ? "exec sleep 60\n" : ""));
    script.close();
    return script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                 | QFileDevice::ExeOwner);
}

QStringList loggedLines(const QString &log)
{
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace MediaFixture
