// A picture file fed arbitrary bytes, read as every picture of the program is read: measured
// from its own bytes, then decoded only when what it takes is known and within the budget. A
// run's memory limit is the budget's own: whatever the bytes say, reading them stays under it.
// Pictures taken at many millions of pixels are only measured: decoding and averaging them is
// bounded by design, and takes seconds under the fuzzer's instrumentation.

#include "fuzzboard.h"

#include "pictures/picturereading.h"

#include <QByteArray>

namespace {

constexpr qint64 kDecodedUpTo = qint64(1) << 22; // pixels

bool worthDecoding(const PictureReading::Probe &probe)
{
    return probe.isTaken() && qint64(probe.taken.width()) * probe.taken.height() <= kDecodedUpTo;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzBoard::start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    if (worthDecoding(PictureReading::probeData(bytes))) {
        const PictureReading::Picture read = PictureReading::readData(bytes);
        if (read.probe.isTaken() == read.image.isNull())
            __builtin_trap(); // a picture said to be taken must come, and only then
    }
    // Under a name that says PNG, as a lesson's pictures often are whatever they hold.
    const QString file = FuzzBoard::filePath(QStringLiteral("picture.png"));
    if (FuzzBoard::write(QStringLiteral("picture.png"), data, size)
        && worthDecoding(PictureReading::probe(file)))
        PictureReading::read(file);
    return 0;
}
