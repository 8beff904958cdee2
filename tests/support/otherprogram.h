#pragma once

#include <QProcess>
#include <QString>

// Another program beside a test: a page list in a process of its own (the document driver,
// tests/support/driver/documentdriver.cpp), started in folder, whose "init" it then shares,
// and driven one command at a time. Killed, with the tools it runs, when it goes.
class OtherProgram
{
public:
    explicit OtherProgram(
            const QString &folder,
            const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
    ~OtherProgram();
    OtherProgram(const OtherProgram &) = delete;
    OtherProgram &operator=(const OtherProgram &) = delete;

    // Sends command and waits up to timeoutMs for its one-line answer ("" when none came).
    QString ask(const QString &command, int timeoutMs = 120000);
    void send(const QString &command);
    QString nextLine(int timeoutMs = 120000);
    // SIGKILL to the program and the tools it runs (zip, unzip), at once.
    void kill();
    // Waits for a clean end after "exit"; true when it ended with status 0.
    bool waitForEnd(int timeoutMs = 120000);
    QString errors(); // what it wrote on standard error so far

private:
    QProcess m_process;
    QByteArray m_errors;
};
