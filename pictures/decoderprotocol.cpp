#include "decoderprotocol.h"

#include <QDataStream>
#include <QIODevice>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DecoderProtocol {

namespace {

constexpr quint32 kVersion = 7;
constexpr int kMaxFrames = 1 << 16;

void write(QDataStream &out, const PictureReading::Probe &probe)
{
    out << quint8(probe.outcome) << quint8(probe.cause) << probe.format << probe.size << probe.taken
        << probe.peakBytes << qint32(probe.frames) << probe.playable << probe.playingBytes
        << probe.decoderScales << probe.hasAlpha << probe.detail << quint8(probe.orientation);
}

bool read(QDataStream &in, PictureReading::Probe *probe)
{
    quint8 outcome = 0;
    quint8 cause = 0;
    qint32 frames = 0;
    quint8 orientation = 0;
    in >> outcome >> cause >> probe->format >> probe->size >> probe->taken >> probe->peakBytes
            >> frames >> probe->playable >> probe->playingBytes >> probe->decoderScales
            >> probe->hasAlpha >> probe->detail >> orientation;
    if (in.status() != QDataStream::Ok || outcome < quint8(PictureReading::Outcome::Whole)
        || outcome > quint8(PictureReading::Outcome::Failed)
        || cause > quint8(PictureReading::Cause::LinksItself) || frames < 0 || orientation < 1
        || orientation > 8)
        return false;
    probe->outcome = PictureReading::Outcome(outcome);
    probe->cause = PictureReading::Cause(cause);
    probe->frames = frames;
    probe->orientation = orientation;
    return true;
}

QDataStream &stream(QDataStream &data)
{
    data.setVersion(QDataStream::Qt_5_15);
    return data;
}

// A frame's first bytes: what it holds, for whom.
void begin(QDataStream &out, Kind kind)
{
    stream(out) << kVersion << quint8(kind);
}

bool begins(QDataStream &in, Kind kind)
{
    quint32 version = 0;
    quint8 read = 0;
    stream(in) >> version >> read;
    return in.status() == QDataStream::Ok && version == kVersion && read == quint8(kind);
}

} // namespace

Kind kindOf(const QByteArray &bytes)
{
    QDataStream in(bytes);
    quint32 version = 0;
    quint8 kind = 0;
    stream(in) >> version >> kind;
    if (in.status() != QDataStream::Ok || version != kVersion || kind < quint8(Kind::Request)
        || kind > quint8(Kind::Question))
        return Kind(0);
    return Kind(kind);
}

QByteArray encode(const Request &request)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    begin(out, Kind::Request);
    out << quint8(request.task) << request.file << request.bytes;
    write(out, request.probed);
    out << request.readUpTo << request.memoryBytes << qint32(request.cpuSeconds)
        << qint32(request.wallMs);
    return bytes;
}

bool decode(const QByteArray &bytes, Request *request)
{
    QDataStream in(bytes);
    quint8 task = 0;
    qint32 cpuSeconds = 0;
    qint32 wallMs = 0;
    if (!begins(in, Kind::Request))
        return false;
    in >> task >> request->file >> request->bytes;
    if (!read(in, &request->probed))
        return false;
    in >> request->readUpTo >> request->memoryBytes >> cpuSeconds >> wallMs;
    if (in.status() != QDataStream::Ok || task < quint8(Task::Probe) || task > quint8(Task::Frames))
        return false;
    request->task = Task(task);
    request->cpuSeconds = cpuSeconds;
    request->wallMs = wallMs;
    return true;
}

QByteArray encode(const Reply &reply)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    begin(out, Kind::Reply);
    out << quint8(reply.ending);
    write(out, reply.probe);
    out << reply.shared << reply.pixelsFollow << reply.size << qint32(reply.format)
        << qint32(reply.bytesPerLine) << reply.delays << qint32(reply.loopCount);
    return bytes;
}

bool decode(const QByteArray &bytes, Reply *reply)
{
    QDataStream in(bytes);
    quint8 ending = 0;
    if (!begins(in, Kind::Reply))
        return false;
    in >> ending;
    if (!read(in, &reply->probe))
        return false;
    qint32 format = 0;
    qint32 bytesPerLine = 0;
    qint32 loopCount = 0;
    in >> reply->shared >> reply->pixelsFollow >> reply->size >> format >> bytesPerLine
            >> reply->delays >> loopCount;
    if (in.status() != QDataStream::Ok
        || (ending != quint8(Ending::Done) && ending != quint8(Ending::OutOfMemory)))
        return false;
    reply->ending = Ending(ending);
    reply->format = format;
    reply->bytesPerLine = bytesPerLine;
    reply->loopCount = loopCount;
    return true;
}

QByteArray encodeQuestion(const QString &path)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    begin(out, Kind::Question);
    out << path;
    return bytes;
}

bool decodeQuestion(const QByteArray &bytes, QString *path)
{
    QDataStream in(bytes);
    if (!begins(in, Kind::Question))
        return false;
    in >> *path;
    return in.status() == QDataStream::Ok;
}

QByteArray encodeAnswer(int error)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    begin(out, Kind::Answer);
    out << qint32(error);
    return bytes;
}

bool decodeAnswer(const QByteArray &bytes, int *error)
{
    QDataStream in(bytes);
    qint32 read = 0;
    if (!begins(in, Kind::Answer))
        return false;
    in >> read;
    *error = read;
    return in.status() == QDataStream::Ok && read >= 0;
}

QByteArray frame(const QByteArray &payload)
{
    const quint32 length = quint32(payload.size());
    QByteArray framed(4, '\0');
    for (int i = 0; i < 4; ++i)
        framed[i] = char((length >> (8 * i)) & 0xff);
    return framed + payload;
}

quint32 frameLength(const char *header)
{
    quint32 length = 0;
    for (int i = 0; i < 4; ++i)
        length |= quint32(uchar(header[i])) << (8 * i);
    return length;
}

bool sendWith(int socket, const QByteArray &bytes, int fd)
{
    const char *from = bytes.constData();
    size_t left = size_t(bytes.size());
    bool fdSent = fd < 0;
    while (left > 0) {
        iovec data = { const_cast<char *>(from), left };
        msghdr message = {};
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
        if (!fdSent) {
            message.msg_control = control;
            message.msg_controllen = sizeof control;
            cmsghdr *rights = CMSG_FIRSTHDR(&message);
            rights->cmsg_level = SOL_SOCKET;
            rights->cmsg_type = SCM_RIGHTS;
            rights->cmsg_len = CMSG_LEN(sizeof(int));
            memcpy(CMSG_DATA(rights), &fd, sizeof fd);
        }
        // Never SIGPIPE: an end that is gone is a write that fails.
        const ssize_t sent = sendmsg(socket, &message, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        fdSent = true;
        from += sent;
        left -= size_t(sent);
    }
    return true;
}

OutgoingSegment::OutgoingSegment(qint64 bytes) : m_bytes(bytes)
{
    // Sealable, so that the program can make sure it never shrinks under its mapping.
    m_fd = memfd_create("veltorina-picture", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (m_fd < 0)
        return;
    void *mapped = MAP_FAILED;
    if (bytes > 0 && ftruncate(m_fd, off_t(bytes)) == 0)
        mapped = mmap(nullptr, size_t(bytes), PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
    if (mapped == MAP_FAILED) {
        close(m_fd);
        m_fd = -1;
        return;
    }
    m_data = static_cast<uchar *>(mapped);
    // Its pages are made ready on other threads, a part on each, while the decoder fills the
    // first of them: made one by one as the decoder came to them, on its own thread, they took a
    // fifth of a photo's decoding, and made on one thread beside it, the decoder waited for them.
    constexpr qint64 kBesideFrom = qint64(4) << 20; // smaller ones are ready sooner here
    constexpr int kParts = 4;
    const int parts = bytes < kBesideFrom ? 1 : kParts;
    const qint64 page = sysconf(_SC_PAGESIZE);
    const qint64 part = (bytes / parts + page - 1) / page * page;
    for (int i = 0; i < parts; ++i) {
        const qint64 from = std::min(bytes, part * i);
        const qint64 to = i + 1 == parts ? bytes : std::min(bytes, part * (i + 1));
        const auto populate = [start = m_data + from, length = to - from, ready = m_ready] {
            if (length > 0)
                madvise(start, size_t(length), MADV_POPULATE_WRITE);
            ready->release();
        };
        if (parts == 1 || !QThreadPool::globalInstance()->tryStart(populate))
            populate();
    }
    m_parts = parts;
}

OutgoingSegment::~OutgoingSegment()
{
    if (m_data) {
        m_ready->acquire(m_parts);
        munmap(m_data, size_t(m_bytes));
    }
    if (m_fd >= 0)
        close(m_fd);
}

void OutgoingSegment::truncate(qint64 bytes)
{
    if (m_data && bytes < m_bytes) {
        m_ready->acquire(m_parts); // no part is made ready beyond the end
        m_parts = 0;
        [[maybe_unused]] const int truncated = ftruncate(m_fd, off_t(bytes));
    }
}

namespace {

// One mapping shared by the frames made over it, unmapped with the last of them.
struct Mapping
{
    void *data;
    size_t bytes;
    std::atomic<int> users;
};

std::atomic<qint64> g_mappedBytes{ 0 };

void releaseMapping(void *info)
{
    auto *mapping = static_cast<Mapping *>(info);
    if (--mapping->users == 0) {
        munmap(mapping->data, mapping->bytes);
        g_mappedBytes -= qint64(mapping->bytes);
        delete mapping;
    }
}

bool isBoardFormat(int format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

QImage followingImage(const Reply &reply)
{
    const qint64 width = reply.size.width();
    const qint64 height = reply.size.height();
    if (!reply.pixelsFollow || reply.shared || !isBoardFormat(reply.format) || width <= 0
        || height <= 0 || reply.delays.size() != 1 || reply.bytesPerLine != width * 4
        || width * 4 * height > kFollowingBytes)
        return QImage();
    return QImage(int(width), int(height), QImage::Format(reply.format));
}

QVector<QImage> mapFrames(const Reply &reply, int fd)
{
    if (fd < 0)
        return {};
    if (!reply.shared) {
        close(fd);
        return {};
    }
    const int frames = reply.delays.size();
    const qint64 width = reply.size.width();
    const qint64 height = reply.size.height();
    const qint64 frameBytes = qint64(reply.bytesPerLine) * height;
    struct stat status = {};
    // Sealed here against shrinking, it is memory (a file on a disk takes no seal), and none of
    // it can be taken away under the mapping, whatever its maker does after.
    const bool sane = isBoardFormat(reply.format) && width > 0 && height > 0 && frames > 0
            && frames <= kMaxFrames && reply.bytesPerLine >= width * 4
            && reply.bytesPerLine % 4 == 0 && frameBytes <= (qint64(1) << 31)
            && fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW) == 0 && fstat(fd, &status) == 0
            && S_ISREG(status.st_mode) && status.st_size >= frameBytes * frames;
    void *data = sane
            ? mmap(nullptr, size_t(frameBytes * frames), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
            : MAP_FAILED;
    close(fd);
    if (data == MAP_FAILED)
        return {};
    QVector<QImage> images;
    images.reserve(frames);
    if (frameBytes * frames <= kFollowingBytes) {
        // A small picture (as small as those that follow a reply) is copied here, beside the
        // board: mapped, each of its pages was made ready on the board's thread as it first drew
        // it, a little while for each of a lesson's many small pictures.
        for (int i = 0; i < frames; ++i) {
            images << QImage(static_cast<const uchar *>(data) + frameBytes * i, int(width),
                             int(height), reply.bytesPerLine, QImage::Format(reply.format))
                              .copy();
        }
        munmap(data, size_t(frameBytes * frames));
        for (const QImage &image : images) {
            if (image.isNull())
                return {};
        }
        return images;
    }
    auto *mapping = new Mapping{ data, size_t(frameBytes * frames), { frames } };
    g_mappedBytes += frameBytes * frames;
    for (int i = 0; i < frames; ++i) {
        images << QImage(static_cast<uchar *>(data) + frameBytes * i, int(width), int(height),
                         reply.bytesPerLine, QImage::Format(reply.format), &releaseMapping,
                         mapping);
    }
    return images;
}

qint64 mappedBytes()
{
    return g_mappedBytes;
}

} // namespace DecoderProtocol
