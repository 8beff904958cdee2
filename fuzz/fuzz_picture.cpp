// A picture file fed arbitrary bytes, read as the decoding process reads every picture of the
// program: measured from its own bytes, then decoded only when what it takes is known and within
// the budget (the decoding process is also held to a memory ceiling by the system; here the
// run's memory limit is the budget's own). Pictures taken at many millions of pixels are only
// measured: decoding and averaging them is bounded by design, and takes seconds under the
// fuzzer's instrumentation. The same bytes as a reply of a decoding process: the program takes
// nothing of one that is not what it says.

#include "fuzzboard.h"

#include "pictures/decoderprotocol.h"
#include "pictures/picturedecoding.h"

#include <QByteArray>

#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr qint64 kDecodedUpTo = qint64(1) << 22; // pixels

bool worthDecoding(const PictureReading::Probe &probe)
{
    return probe.isTaken() && qint64(probe.taken.width()) * probe.taken.height() <= kDecodedUpTo;
}

void read(PictureDecoding::Reading &reading)
{
    if (!worthDecoding(reading.probe()))
        return;
    const QImage image = reading.read();
    if (reading.probe().isTaken() == image.isNull())
        __builtin_trap(); // a picture said to be taken must come, and only then
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
    PictureDecoding::Reading fromBytes(QString(), bytes, false);
    read(fromBytes);
    // Under a name that says PNG, as a lesson's pictures often are whatever they hold.
    const QString file = FuzzBoard::filePath(QStringLiteral("picture.png"));
    if (FuzzBoard::write(QStringLiteral("picture.png"), data, size)) {
        PictureDecoding::Reading fromFile(file, QByteArray(), true);
        read(fromFile);
    }
    DecoderProtocol::Reply reply;
    if (DecoderProtocol::decode(bytes, &reply)) {
        // Handed a page of memory, the frames taken lie within it.
        const int memory = memfd_create("fuzz", MFD_CLOEXEC | MFD_ALLOW_SEALING);
        qint64 taken = 0;
        if (memory >= 0 && ftruncate(memory, 4096) == 0) {
            for (const QImage &image : DecoderProtocol::mapFrames(reply, memory))
                taken += image.sizeInBytes();
        } else if (memory >= 0) {
            close(memory);
        }
        if (taken > 4096)
            __builtin_trap();
    }
    // Pixels said to follow a reply are read into this picture: never more than a small one.
    const QImage following = DecoderProtocol::followingImage(reply);
    if (!following.isNull() && following.sizeInBytes() > DecoderProtocol::kFollowingBytes)
        __builtin_trap();
    return 0;
}
