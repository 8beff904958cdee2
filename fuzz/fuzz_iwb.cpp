// The reader of "content.xml" fed arbitrary bytes: the limits' check and the whole read into a
// live page list, as opening an unpacked document does. Crashes, hangs, sanitizer reports and
// runaway memory are what libFuzzer reports.

#include "fuzzboard.h"

#include "document/dpageslist.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzBoard::start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (FuzzBoard::write(QStringLiteral("content.xml"), data, size))
        FuzzBoard::list()->openFromFile(FuzzBoard::folder());
    FuzzBoard::settle();
    return 0;
}
