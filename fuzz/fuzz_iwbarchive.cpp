// Whole archives fed arbitrary bytes through the open path of both kinds: the listing, the
// entry names, the watched unpacking, the reading of "content.xml" while it is unpacked, the
// checks and the readers, into a live page list that then holds what was opened.

#include "fuzzboard.h"

#include "document/dpageslist.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzBoard::start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The same bytes as a document and as a lesson to import: the two share the unpacking but
    // check and read different entries.
    if (FuzzBoard::write(QStringLiteral("lesson.iwb"), data, size))
        FuzzBoard::list()->openAllPagesFromFileIWB(FuzzBoard::filePath(QStringLiteral("lesson.iwb")));
    if (FuzzBoard::write(QStringLiteral("lesson.ubz"), data, size))
        FuzzBoard::list()->openAllPagesFromFileUBZ(FuzzBoard::filePath(QStringLiteral("lesson.ubz")));
    FuzzBoard::settle();
    return 0;
}
