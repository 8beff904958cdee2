#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

namespace MediaFixture {

// Answers the next file dialog with path (an empty path cancels it), through
// TestSupport::answerNextModal. afterAccept runs once the dialog has been accepted, before the
// caller gets the name. The flag becomes true once the dialog was answered.
std::shared_ptr<bool> chooseFile(const QString &path, std::function<void()> afterAccept = {});

// While it lives, accepts every message box that opens and notes it as "title|text".
class MessageBoxes : public QObject
{
    Q_OBJECT
public:
    MessageBoxes();
    QStringList seen;

private:
    QTimer m_poll;
};

// A shell script at path that appends a line "<argument count>|<arguments>" to log, then, when
// keepRunning, goes on running for a minute as a started browser would (stop it yourself);
// false when it could not be written.
bool writeFakeProgram(const QString &path, const QString &log, bool keepRunning = true);

// The lines a fake program logged.
QStringList loggedLines(const QString &log);

} // namespace MediaFixture
