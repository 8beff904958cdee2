#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// Answers the program's dialogs as a teacher would, polled every few milliseconds while it
// lives: "Si" to a question, fileName typed into a file dialog, and any other box (a failure,
// what an import left out) read and closed. The progress bar is left alone.
class BenchDialogs : public QObject
{
public:
    explicit BenchDialogs(const QString &fileName);
    QElapsedTimer accepted; // started when the file dialog closes
    QStringList told; // the boxes closed, their text and details

private:
    void answer();
    QString m_fileName;
    QTimer m_poll;
};
