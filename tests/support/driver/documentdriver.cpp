// Another program beside a document test: a page list of its own in a process of its own (its
// working directory, its lock, its settings file "init" in its current folder), driven one
// command a line on its standard input, answering one line each on its standard output:
//
//   start               makes the page list, as a program start does    -> "workdir <path>"
//   pictures <n> <file> inserts the picture n times on the current page  -> "ok"
//   autosave            writes the document into the working directory   -> "ok"
//   save <base>         saves the document as <base>.iwb                 -> "saved 1" or "saved 0"
//   saves <base>        saves again and again until killed               -> "saving"
//   starts              starts and exits page lists, one after the other,
//                       until the next line comes                        -> "starts <count>"
//   exit                the clean exit                                    -> "bye"
//
// A question asked meanwhile is answered "No" and reported on standard error ("asked: ...").
// The driver leads a process group of its own, so that a test kills it with the tools it runs.

#include "board/dpage.h"
#include "document/dpageslist.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <cstdio>
#include <deque>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <unistd.h>

namespace {

void answer(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// Lines of standard input, read by a thread of their own so that a long command can see
// whether the next one has come.
class Lines
{
public:
    Lines()
    {
        m_reader = std::thread([this] {
            std::string line;
            while (std::getline(std::cin, line)) {
                const std::lock_guard<std::mutex> lock(m_mutex);
                m_lines.push_back(QString::fromStdString(line));
            }
            m_ended = true;
        });
        m_reader.detach(); // blocked in a read until the test closes the input
    }
    bool waiting()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return !m_lines.empty() || m_ended;
    }
    bool next(QString *line)
    {
        while (!waiting())
            QThread::msleep(5);
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_lines.empty())
            return false;
        *line = m_lines.front();
        m_lines.pop_front();
        return true;
    }

private:
    std::thread m_reader;
    std::mutex m_mutex;
    std::deque<QString> m_lines;
    std::atomic<bool> m_ended{ false };
};

} // namespace

int main(int argc, char *argv[])
{
    ::setpgid(0, 0);
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(800, 600);
    QTimer questions;
    QObject::connect(&questions, &QTimer::timeout, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        std::fprintf(stderr, "asked: %s\n", qPrintable(box->text()));
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == QLatin1String("No"))
                button->click();
        }
    });
    questions.start(20);

    // Left to the end of the process: its thread may still be reading.
    static Lines *const input = new Lines;
    Lines &lines = *input;
    std::unique_ptr<DPagesList> list;
    QString line;
    while (lines.next(&line)) {
        const QStringList words = line.split(QLatin1Char(' '));
        const QString command = words.value(0);
        if (command == QLatin1String("start")) {
            list = std::make_unique<DPagesList>(&window);
            answer(QStringLiteral("workdir ") + list->workDir());
        } else if (command == QLatin1String("pictures") && list) {
            // Pictures are read beside the board: answered once they are all on the page.
            DPage *page = list->getCurPage();
            const int wanted = page->validItems(true).size() + words.value(1).toInt();
            for (int n = 0; n < words.value(1).toInt(); ++n)
                list->insertPixmap(words.value(2));
            const QDeadlineTimer deadline(60000);
            while (page->validItems(true).size() < wanted && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            answer(QStringLiteral("ok"));
        } else if (command == QLatin1String("autosave") && list) {
            list->autoSave();
            answer(QStringLiteral("ok"));
        } else if (command == QLatin1String("save") && list) {
            const bool saved = list->saveAllPagesToFileIWB(words.value(1), true);
            answer(QStringLiteral("saved ") + QString::number(int(saved)));
        } else if (command == QLatin1String("saves") && list) {
            answer(QStringLiteral("saving"));
            for (;;)
                list->saveAllPagesToFileIWB(words.value(1), true);
        } else if (command == QLatin1String("starts")) {
            list.reset();
            int count = 0;
            while (!lines.waiting()) {
                DPagesList started(&window);
                started.exit();
                ++count;
            }
            answer(QStringLiteral("starts ") + QString::number(count));
        } else if (command == QLatin1String("exit")) {
            if (list)
                list->exit();
            list.reset();
            answer(QStringLiteral("bye"));
            return 0;
        } else {
            answer(QStringLiteral("unknown: ") + line);
        }
    }
    return 0;
}
