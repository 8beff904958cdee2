// The decoding process: pictures read for the program, one request at a time, each held by the
// operating system to the memory and the processor time the program allows it
// (pictures/picturedecoders.h). It ends when the program closes its pipe, or dies.

#include "decoderconfinement.h"
#include "decoderfiles.h"
#include "decoderprotocol.h"
#ifdef VELTORINA_DECODER_TRIALS
#include "tests/pictures/decodertrials.h"
#endif
#include "picturedecoding.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QSemaphore>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <malloc.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

std::atomic<bool> g_allocationFailed{ false };
static_assert(std::atomic<bool>::is_always_lock_free, "read in a signal handler");

// What the decoders say goes to the program's log, a few lines a picture, each cut short: a
// decoder quotes what it could not read (an SVG its whole link, megabytes of a picture written
// out in text), and a log read slowly held the process in the middle of a picture until its
// time was out.
constexpr int kMaxLogLines = 20;
constexpr int kMaxLogCharacters = 300;
std::atomic<int> g_logLines{ 0 };
// What the decoders say of the nothing they are loaded with is not a picture's.
bool g_quiet = false;

void logCut(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg
        && (g_quiet || g_logLines.fetch_add(1, std::memory_order_relaxed) >= kMaxLogLines))
        return;
    QByteArray line = "veltorina-pictures: ";
    if (context.category && qstrcmp(context.category, "default") != 0)
        line += QByteArray(context.category) + ": ";
    line += message.left(kMaxLogCharacters).toLocal8Bit();
    if (message.size() > kMaxLogCharacters)
        line += "...";
    line += '\n';
    // One write, so that lines of the processes sharing the log never mix.
    [[maybe_unused]] const ssize_t written = write(2, line.constData(), size_t(line.size()));
    if (type == QtFatalMsg)
        abort();
}

void noteFailure(size_t size)
{
    if (size > 0)
        g_allocationFailed.store(true, std::memory_order_relaxed);
}

// A decoder that cannot go on after an allocation it was refused (the toolkit throws, which
// ends the process; a library aborts, or follows the null it was handed) ran out of memory as
// surely as one that said so, and ends as one: the program measures it again with the room a
// measure may take. Taken for a broken decoder, an SVG of many elements was refused or taken
// by the room its first measure happened to have.
void endAfterRefusal(int signal)
{
    if (g_allocationFailed.load(std::memory_order_relaxed))
        _exit(DecoderProtocol::kExitOutOfMemory);
    raise(signal); // the handler is reset by now: it ends the process as it would have
}

void endRefusalsAsOutOfMemory()
{
    struct sigaction action = {};
    action.sa_handler = endAfterRefusal;
    action.sa_flags = int(SA_RESETHAND | SA_NODEFER);
    sigemptyset(&action.sa_mask);
    for (const int signal : { SIGABRT, SIGSEGV, SIGBUS })
        sigaction(signal, &action, nullptr);
}

} // namespace

extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *pointer, size_t size);
void *__libc_memalign(size_t alignment, size_t size);

// Every allocation of the process, the decoders' own among them, comes here: one that fails
// under the memory limit is noted, so that a decoder that gives up quietly (an empty picture,
// a black strip, an SVG drawn without the picture it holds) is not taken for a picture read.
void *malloc(size_t size)
{
    void *memory = __libc_malloc(size);
    if (!memory)
        noteFailure(size);
    return memory;
}

void *calloc(size_t count, size_t size)
{
    void *memory = __libc_calloc(count, size);
    if (!memory)
        noteFailure(count * size + (count > 0 && size > 0));
    return memory;
}

void *realloc(void *pointer, size_t size)
{
    void *memory = __libc_realloc(pointer, size);
    if (!memory)
        noteFailure(size);
    return memory;
}

void *memalign(size_t alignment, size_t size)
{
    void *memory = __libc_memalign(alignment, size);
    if (!memory)
        noteFailure(size);
    return memory;
}

void *aligned_alloc(size_t alignment, size_t size)
{
    return memalign(alignment, size);
}

int posix_memalign(void **pointer, size_t alignment, size_t size)
{
    if (alignment < sizeof(void *) || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void *memory = memalign(alignment, size);
    if (!memory && size > 0)
        return ENOMEM;
    *pointer = memory;
    return 0;
}
}

namespace {

using namespace DecoderProtocol;

// Without a request for this long, the process is idle.
constexpr int kIdleMs = 20;

bool readAll(int fd, char *into, size_t length)
{
    while (length > 0) {
        const ssize_t got = read(fd, into, length);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        into += got;
        length -= size_t(got);
    }
    return true;
}

bool writeAll(int fd, const char *from, size_t length)
{
    while (length > 0) {
        const ssize_t put = write(fd, from, length);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        from += put;
        length -= size_t(put);
    }
    return true;
}

// Whether a request comes on the standard input within ms.
bool readyWithin(int ms)
{
    pollfd input = { 0, POLLIN, 0 };
    int ready;
    do {
        ready = poll(&input, 1, ms);
    } while (ready < 0 && errno == EINTR);
    return ready != 0;
}

bool readFrame(QByteArray *payload)
{
    char header[4];
    if (!readAll(0, header, sizeof header))
        return false;
    const quint32 length = frameLength(header);
    if (length > kMaxRequestBytes)
        return false;
    payload->resize(int(length));
    return readAll(0, payload->data(), length);
}

qint64 addressSpace()
{
    FILE *statm = fopen("/proc/self/statm", "r");
    if (!statm)
        return 0;
    unsigned long pages = 0;
    const bool read = fscanf(statm, "%lu", &pages) == 1;
    fclose(statm);
    return read ? qint64(pages) * sysconf(_SC_PAGESIZE) : 0;
}

qint64 processorSeconds()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec + 1;
}

// The most a request is given beyond what the process holds idle, and what the process may come
// to hold idle over its life (its heap kept between pictures, the fonts it loads).
constexpr qint64 kMostRequestBytes = PictureReading::kMaxDecodeBytes + (qint64(64) << 20);
constexpr qint64 kGrowthBytes = qint64(512) << 20;
// The processor time of its whole life: the program replaces it by a fresh one before it runs
// out (pictures/picturedecoders.cpp).
constexpr qint64 kLifeSeconds = 300;

// Limits for good, which nothing the process does afterwards lifts: the system calls that would
// set them are refused it from now on (DecoderConfinement::filterCalls). For each request the
// program lowers them from outside to what the request may take; beyond the memory its
// allocations fail, beyond the time the system ends it.
void limitForGood()
{
    const rlim_t memoryBytes = rlim_t(addressSpace() + kMostRequestBytes + kGrowthBytes);
    const rlimit memory = { memoryBytes, memoryBytes };
    setrlimit(RLIMIT_AS, &memory);
    const rlim_t seconds = rlim_t(processorSeconds() + kLifeSeconds);
    const rlimit processor = { seconds, seconds };
    setrlimit(RLIMIT_CPU, &processor);
}

// The shared memory made for one request: the one its picture lies in is handed over, the
// others (a decoder that would not decode where it was asked to) go with the request. Each is
// unmapped here once the reply is sent, not before: unmapping a large picture takes a while.
class Segments
{
public:
    uchar *make(qint64 bytes)
    {
        auto segment = std::make_unique<OutgoingSegment>(bytes);
        if (!segment->isValid())
            return nullptr;
        uchar *data = segment->data();
        m_made.push_back(std::move(segment));
        return data;
    }
    QImage image(QSize size, QImage::Format format)
    {
        const int bytesPerLine = size.width() * 4;
        const qint64 bytes = qint64(bytesPerLine) * size.height();
        if (bytes <= kFollowingBytes) {
            // Sent after the reply: made in memory the process keeps, used again from one small
            // picture to the next. (Not an image of its own: the decoder would write to a copy
            // of an image held here too.)
            m_followingBytes = size_t(bytes);
            if (following().size() < m_followingBytes)
                following().resize(m_followingBytes);
            return QImage(following().data(), size.width(), size.height(), bytesPerLine, format);
        }
        uchar *data = make(bytes);
        return data ? QImage(data, size.width(), size.height(), bytesPerLine, format) : QImage();
    }
    // Whether data is that of the small picture to be sent after the reply.
    bool follows(const uchar *data) const
    {
        return m_followingBytes > 0 && following().data() == data;
    }
    // The pixels to send after the reply.
    const uchar *followingData() const { return following().data(); }
    size_t followingBytes() const { return m_followingBytes; }
    // The memory holding data, its first bytes now the program's to take.
    void handOver(const uchar *data, qint64 bytes)
    {
        for (const auto &made : m_made) {
            if (made->data() == data) {
                made->truncate(bytes);
                m_handedOver = made->fd();
            }
        }
    }
    // What was handed over, to go with the reply; -1 when nothing was.
    int handedOver() const { return m_handedOver; }

private:
    std::vector<std::unique_ptr<OutgoingSegment>> m_made;
    static std::vector<uchar> &following()
    {
        static std::vector<uchar> pixels;
        return pixels;
    }

    int m_handedOver = -1;
    size_t m_followingBytes = 0;
};

void readStill(PictureDecoding::Reading &reading, Segments &segments, Reply *reply)
{
    const QImage image = reading.read([&segments](QSize size, QImage::Format format) {
        return segments.image(size, format);
    });
    reply->probe = reading.probe();
    if (image.isNull())
        return;
    if (segments.follows(image.constBits())) {
        reply->pixelsFollow = true;
    } else {
        segments.handOver(image.constBits(), image.sizeInBytes());
        reply->shared = segments.handedOver() >= 0;
    }
    reply->size = image.size();
    reply->format = image.format();
    reply->bytesPerLine = image.bytesPerLine();
    reply->delays = { 0 };
}

void readFrames(const Request &request, Segments &segments, Reply *reply)
{
    PictureDecoding::Reading reading(request.file, request.bytes, !request.file.isEmpty(),
                                     request.probed);
    uchar *frames = nullptr;
    QVector<int> delays;
    int loopCount = 0;
    const int made = reading.readFrames(
            [&segments, &frames](QSize size, int count) {
                frames = segments.make(qint64(size.width()) * 4 * size.height() * count);
                return frames;
            },
            &delays, &loopCount);
    reply->probe = reading.probe();
    if (made == 0)
        return;
    const QSize size = reply->probe.size;
    segments.handOver(frames, qint64(size.width()) * 4 * size.height() * made);
    reply->shared = segments.handedOver() >= 0;
    reply->size = size;
    reply->format = QImage::Format_ARGB32_Premultiplied;
    reply->bytesPerLine = reply->size.width() * 4;
    reply->delays = delays;
    reply->loopCount = loopCount;
}

// The toolkit converts a large picture on the threads of its pool and waits for them: they are
// started now and kept, since under a request's memory limit one might not start, and the
// conversion would wait for ever.
void startConversionThreads()
{
    QThreadPool *pool = QThreadPool::globalInstance();
    pool->setExpiryTimeout(-1);
    const int threads = pool->maxThreadCount();
    QSemaphore started;
    QSemaphore done;
    for (int i = 0; i < threads; ++i) {
        pool->start([&started, &done] {
            started.release();
            done.acquire(); // each holds its thread until all are there
        });
    }
    started.acquire(threads);
    done.release(threads);
    pool->waitForDone();
}

// The toolkit's decoders are loaded on first use, which a teacher's first photo waited for, and
// which, once the process is confined, could not read the libraries they bring: every one is
// loaded now, while the program starts.
void loadDecoders()
{
    QBuffer nothing;
    nothing.open(QIODevice::ReadOnly);
    g_quiet = true;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        QImageReader(&nothing, format).canRead();
    g_quiet = false;
}

Reply handle(const Request &request, Segments &segments)
{
    Reply reply;
    g_allocationFailed = false;
    g_logLines = 0;
    // Nor does it outlast the time the program waits for it, even with the program gone: a
    // decoder that waits (on a file that never ends, on itself) is ended too.
    alarm(unsigned(std::max(request.wallMs, 0) / 1000 + 2));
    switch (request.task) {
    case Task::Probe: {
        // Given less than the most a measure may take, it is measured again with that.
        const qint64 room =
                request.memoryBytes < DecoderProtocol::kMostMeasureBytes ? request.memoryBytes : 0;
        PictureDecoding::Reading reading(request.file, request.bytes, !request.file.isEmpty(), 0,
                                         room);
        reply.probe = reading.probe();
        // Read at once when it takes little: one request, one opening of the file.
        if (reply.probe.isTaken() && reply.probe.peakBytes <= request.readUpTo)
            readStill(reading, segments, &reply);
        break;
    }
    case Task::Read: {
        PictureDecoding::Reading reading(request.file, request.bytes, !request.file.isEmpty(),
                                         request.probed);
        readStill(reading, segments, &reply);
        break;
    }
    case Task::Frames:
        readFrames(request, segments, &reply);
        break;
    case Task::Trial:
        reply.probe.outcome = PictureReading::Outcome::Failed;
#ifdef VELTORINA_DECODER_TRIALS
        reply.probe.detail = DecoderTrials::attempt(request.bytes);
#else
        reply.probe.detail = QStringLiteral("no trials in this build");
#endif
        break;
    }
    alarm(0);
    // A picture the measures turned away is said as they found it; one they let through that
    // its decoder could not make within the memory allowed is not taken.
    const bool turnedAway =
            !reply.probe.isTaken() && reply.probe.outcome != PictureReading::Outcome::Unreadable;
    if (g_allocationFailed && !turnedAway) {
        reply.ending = Ending::OutOfMemory;
        reply.shared = false;
        reply.pixelsFollow = false;
    }
    return reply;
}

// The first picture a decoding process is asked for waited for what it does only the first time
// (its decoders' first pictures, its memory's and its limits' first use), the first of a
// lesson's pictures among them: a small picture of each of the two most common kinds is asked
// for once, as the program asks, while the program starts.
void warmUp()
{
    QImage small(8, 8, QImage::Format_RGB32);
    small.fill(Qt::gray);
    for (const char *format : { "png", "jpeg" }) {
        Request request;
        QBuffer out(&request.bytes);
        out.open(QIODevice::WriteOnly);
        if (!small.save(&out, format))
            continue;
        request.task = Task::Probe;
        request.readUpTo = request.memoryBytes = qint64(16) << 20;
        request.cpuSeconds = 3;
        request.wallMs = 7000;
        Segments segments;
        handle(request, segments);
    }
}

} // namespace

int main(int, char **argv)
{
    // It ends with the program that started it: the program's end of its socket closes then, and
    // its read of the next request ends (a request it is decoding ends within its time). No
    // signal on the parent's death: that comes when the thread that started it ends.
    closefrom(3);
    const rlimit noCore = { 0, 0 };
    setrlimit(RLIMIT_CORE, &noCore);
    // The board comes first: a picture decoded ahead gives way to the teacher's hand, and to
    // the lesson being opened, on a machine with few processors.
    setpriority(PRIO_PROCESS, 0, 5);
    // Pictures go back to the system as soon as they are freed; the bands a picture is made
    // smaller in are used again from the heap (each one mapped anew, half the time went on
    // clearing their pages), which is given back once the process is idle.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    // One heap for every thread: each thread's own would set aside 64 MB of the memory allowed.
    mallopt(M_ARENA_MAX, 1);
    std::set_new_handler([] { _exit(kExitOutOfMemory); });
    endRefusalsAsOutOfMemory();
    qInstallMessageHandler(logCut);
    // Fonts, for the text of SVG pictures; no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int arguments = 1;
    QGuiApplication application(arguments, argv);
    loadDecoders();
    // Held by the kernel before its first picture: from here on it reads only the fonts and the
    // toolkit's own plugins (what the decoders brought is loaded by now) ...
    std::vector<std::string> readable = DecoderFiles::readableFolders();
    for (const QString &plugins : QCoreApplication::libraryPaths()) {
        if (plugins != QCoreApplication::applicationDirPath())
            readable.push_back(QFile::encodeName(plugins).toStdString());
    }
    // (The threads' pool counts the processors first, as the system says them where it may.)
    QThreadPool::globalInstance();
    DecoderConfinement::restrictFiles(readable);
    startConversionThreads();
    limitForGood();
    // ... and opens only what the program hands it (and the fonts): a name it is given that is
    // not absolute is not found in whatever folder it was started from either.
    if (chdir("/") != 0)
        return 2;
    DecoderFiles::confine();
    // ... and makes only the system calls decoding needs, in every thread.
    if (!DecoderConfinement::filterCalls()) {
        qWarning("cannot filter its system calls: no picture is decoded");
        return 2;
    }
    warmUp();
    // A program gone is a first request that never comes.
    sendWith(1, frame(encodeReady()));
    QByteArray payload;
    bool trimmed = true;
    for (;;) {
        // What a request freed goes back to the system once no other follows at once: a
        // lesson's many small pictures, asked for one after another, use it again instead of
        // having it cleared anew for each.
        if (!trimmed && !readyWithin(kIdleMs)) {
            malloc_trim(0);
            trimmed = true;
        }
        if (!readFrame(&payload))
            break;
        trimmed = false;
        Request request;
        if (!decode(payload, &request))
            return 2;
        payload = QByteArray();
        {
            Segments segments;
            const Reply reply = handle(request, segments);
            if (!sendWith(1, frame(encode(reply)), reply.shared ? segments.handedOver() : -1))
                return 0;
            if (reply.pixelsFollow
                && !writeAll(1, reinterpret_cast<const char *>(segments.followingData()),
                             segments.followingBytes()))
                return 0;
        }
    }
    return 0;
}
