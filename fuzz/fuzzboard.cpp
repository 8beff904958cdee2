#include "fuzzboard.h"

#include "document/dpageslist.h"
#include "shell/globals.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdlib>
#include <memory>

namespace {

struct Board
{
    std::unique_ptr<QApplication> app;
    std::unique_ptr<QWidget> window;
    std::unique_ptr<DPagesList> list;
    std::unique_ptr<QTemporaryDir> folder;
};

// Never destroyed: at exit, libFuzzer's own exit runs after the toolkit's statics are gone, and
// a QApplication torn down then crashes. The working directory is removed, though.
Board &board()
{
    static Board *const instance = new Board;
    return *instance;
}

void removeWorkingDirectory()
{
    if (board().list)
        board().list->exit();
}

} // namespace

void FuzzBoard::start(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The readers' debug lines would drown libFuzzer's own output.
    qputenv("QT_LOGGING_RULES", "*.debug=false;*.warning=false");
    Board &b = board();
    b.app = std::make_unique<QApplication>(*argc, *argv);
    settings.clear(); // no restore question from an earlier run
    b.window = std::make_unique<QWidget>();
    b.window->setFixedSize(1280, 800);
    b.list = std::make_unique<DPagesList>(b.window.get());
    b.folder = std::make_unique<QTemporaryDir>();
    std::atexit(removeWorkingDirectory);
}

DPagesList *FuzzBoard::list()
{
    return board().list.get();
}

QString FuzzBoard::folder()
{
    return board().folder->path();
}

QString FuzzBoard::filePath(const QString &name)
{
    return board().folder->filePath(name);
}

bool FuzzBoard::write(const QString &name, const uint8_t *data, size_t size)
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size);
}

void FuzzBoard::settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
