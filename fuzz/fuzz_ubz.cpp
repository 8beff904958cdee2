// A UBZ page file fed arbitrary bytes: the limits' check and the whole import of the page files
// into a live page list, as importing an unpacked UBZ document does. A small picture lies
// beside it, so that pictures, backgrounds and textures named by the page are found and read.

#include "fuzzboard.h"

#include "document/dpageslist.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzBoard::start(argc, argv);
    const QString picture = FuzzBoard::filePath(QStringLiteral("images/a.png"));
    QDir().mkpath(QFileInfo(picture).path());
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.save(picture, "PNG");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (FuzzBoard::write(QStringLiteral("page000.svg"), data, size))
        FuzzBoard::list()->openFromFileUBZ(FuzzBoard::folder());
    FuzzBoard::settle();
    return 0;
}
