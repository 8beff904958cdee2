// The reader of "content.xml" fed arbitrary bytes: the limits' check and the whole read into a
// live page list, as opening an unpacked document does. Crashes, hangs, sanitizer reports and
// runaway memory are what libFuzzer reports.

#include "document/dpageslist.h"
#include "shell/globals.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <cstddef>
#include <cstdint>
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

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The reader's debug lines would drown libFuzzer's own output.
    qputenv("QT_LOGGING_RULES", "*.debug=false;*.warning=false");
    Board &b = board();
    b.app = std::make_unique<QApplication>(*argc, *argv);
    settings.clear(); // no restore question from an earlier run
    b.window = std::make_unique<QWidget>();
    b.window->setFixedSize(1280, 800);
    b.list = std::make_unique<DPagesList>(b.window.get());
    b.folder = std::make_unique<QTemporaryDir>();
    std::atexit(removeWorkingDirectory);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Board &b = board();
    QFile content(b.folder->filePath(QStringLiteral("content.xml")));
    if (!content.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    content.write(reinterpret_cast<const char *>(data), qint64(size));
    content.close();
    b.list->openFromFile(b.folder->path());
    return 0;
}
