// Whole archives fed arbitrary bytes through the open path of both kinds: the listing, the
// entry names, the watched unpacking, the reading of "content.xml" while it is unpacked, the
// checks and the readers, into a live page list that then holds what was opened.

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

bool writeArchive(const QString &path, const uint8_t *data, size_t size)
{
    QFile archive(path);
    if (!archive.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return archive.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
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
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Board &b = board();
    // The same bytes as a document and as a lesson to import: the two share the unpacking but
    // check and read different entries.
    const QString iwb = b.folder->filePath(QStringLiteral("lesson.iwb"));
    if (writeArchive(iwb, data, size))
        b.list->openAllPagesFromFileIWB(iwb);
    const QString ubz = b.folder->filePath(QStringLiteral("lesson.ubz"));
    if (writeArchive(ubz, data, size))
        b.list->openAllPagesFromFileUBZ(ubz);
    return 0;
}
