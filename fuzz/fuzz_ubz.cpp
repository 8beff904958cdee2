// A UBZ page file fed arbitrary bytes: the limits' check and the whole import of the page files
// into a live page list, as importing an unpacked UBZ document does. A small picture lies
// beside it, so that pictures, backgrounds and textures named by the page are found and read.

#include "document/dpageslist.h"
#include "shell/globals.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
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
    QDir(b.folder->path()).mkpath(QStringLiteral("images"));
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(b.folder->filePath(QStringLiteral("images/a.png")), "PNG");
    std::atexit(removeWorkingDirectory);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Board &b = board();
    QFile page(b.folder->filePath(QStringLiteral("page000.svg")));
    if (!page.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    page.write(reinterpret_cast<const char *>(data), qint64(size));
    page.close();
    b.list->openFromFileUBZ(b.folder->path());
    return 0;
}
