#include "zipwriter.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QThreadPool>

#include <zlib.h>

#include <sys/stat.h>

#include <algorithm>
#include <deque>
#include <future>
#include <memory>
#include <vector>

namespace {

// zip's own default.
constexpr int kLevel = 6;
// Files up to this size are compressed whole, in memory, on other threads; larger ones are
// streamed into the archive in turn.
constexpr qint64 kWholeFileBytes = qint64(64) << 20;
// How much the threads may have compressed ahead of the writing.
constexpr qint64 kAheadBytes = qint64(256) << 20;
constexpr qint64 kStreamPiece = 1 << 20;
constexpr quint32 kMaxOffset = 0xFFFFFFFFu;
constexpr int kMaxEntries = 0xFFFF;

constexpr quint16 kStored = 0;
constexpr quint16 kDeflated = 8;
constexpr quint16 kUtf8Names = 1 << 11;
constexpr quint16 kMadeByUnix30 = (3 << 8) | 30;
constexpr quint32 kDosFolder = 0x10;

struct Packed
{
    QString error;
    qint64 size = 0; // of the file as it was read
    quint32 crc = 0;
    quint16 method = kStored;
    QByteArray data; // what goes into the archive after the local header
};

// Deflated as zip deflates (raw, level 6), or stored when that is not smaller.
Packed pack(const QString &path)
{
    Packed packed;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        packed.error = path + QStringLiteral(": ") + file.errorString();
        return packed;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        packed.error = path + QStringLiteral(": ") + file.errorString();
        return packed;
    }
    packed.size = bytes.size();
    packed.crc = quint32(
            crc32(0, reinterpret_cast<const Bytef *>(bytes.constData()), uInt(bytes.size())));
    packed.data = bytes;
    if (bytes.isEmpty())
        return packed;
    z_stream stream{};
    if (deflateInit2(&stream, kLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return packed; // stored
    QByteArray deflated(int(deflateBound(&stream, uLong(bytes.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef *>(deflated.data());
    stream.avail_out = uInt(deflated.size());
    const int done = deflate(&stream, Z_FINISH);
    const qint64 size = qint64(stream.total_out);
    deflateEnd(&stream);
    if (done == Z_STREAM_END && size < bytes.size()) {
        deflated.truncate(int(size));
        packed.method = kDeflated;
        packed.data = deflated;
    }
    return packed;
}

// Names of other than ASCII letters are marked as UTF-8, as unzip expects them.
quint16 nameFlags(const QByteArray &name)
{
    return std::all_of(name.cbegin(), name.cend(), [](char c) { return uchar(c) < 0x80; })
            ? 0
            : kUtf8Names;
}

void put16(QByteArray &out, quint16 value)
{
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
}

void put32(QByteArray &out, quint32 value)
{
    put16(out, quint16(value & 0xFFFF));
    put16(out, quint16(value >> 16));
}

// The MS-DOS time and date zip records, in local time; before 1980 the earliest it can.
void dosTime(const QDateTime &when, quint16 *time, quint16 *date)
{
    const QDateTime local = when.toLocalTime();
    const QDate day = local.date().year() < 1980 ? QDate(1980, 1, 1) : local.date();
    const QTime clock = local.date().year() < 1980 ? QTime(0, 0) : local.time();
    *time = quint16((clock.hour() << 11) | (clock.minute() << 5) | (clock.second() / 2));
    *date = quint16(((day.year() - 1980) << 9) | (day.month() << 5) | day.day());
}

struct Entry
{
    QString name;
    QString path;
    bool folder = false;
    qint64 size = 0;
    quint32 mode = 0;
    quint16 time = 0;
    quint16 date = 0;
    // Filled as it is written.
    quint32 crc = 0;
    quint16 method = kStored;
    quint32 packedSize = 0;
    quint32 offset = 0;
};

quint32 unixMode(const QFileInfo &info)
{
    struct stat status
    {
    };
    if (::lstat(QFile::encodeName(info.absoluteFilePath()).constData(), &status) == 0)
        return quint32(status.st_mode) & 0xFFFF;
    return (info.isDir() ? S_IFDIR | 0755 : S_IFREG | 0644);
}

QByteArray localHeader(const Entry &entry, const QByteArray &name)
{
    QByteArray header;
    put32(header, 0x04034b50);
    put16(header, entry.method == kDeflated ? 20 : 10);
    put16(header, nameFlags(name));
    put16(header, entry.method);
    put16(header, entry.time);
    put16(header, entry.date);
    put32(header, entry.crc);
    put32(header, entry.packedSize);
    put32(header, quint32(entry.size));
    put16(header, quint16(name.size()));
    put16(header, 0);
    return header + name;
}

QByteArray centralHeader(const Entry &entry, const QByteArray &name)
{
    QByteArray header;
    put32(header, 0x02014b50);
    put16(header, kMadeByUnix30);
    put16(header, entry.method == kDeflated ? 20 : 10);
    put16(header, nameFlags(name));
    put16(header, entry.method);
    put16(header, entry.time);
    put16(header, entry.date);
    put32(header, entry.crc);
    put32(header, entry.packedSize);
    put32(header, quint32(entry.size));
    put16(header, quint16(name.size()));
    put16(header, 0); // extra field
    put16(header, 0); // comment
    put16(header, 0); // disk
    put16(header, 0); // internal attributes: binary
    put32(header, (entry.mode << 16) | (entry.folder ? kDosFolder : 0));
    put32(header, entry.offset);
    return header + name;
}

class ArchiveFile
{
public:
    explicit ArchiveFile(const QString &path) : m_file(path) { }
    bool open() { return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate); }
    bool write(const QByteArray &bytes)
    {
        m_ok = m_ok && m_file.write(bytes) == bytes.size();
        return m_ok;
    }
    qint64 pos() const { return m_file.pos(); }
    bool seek(qint64 to)
    {
        m_ok = m_ok && m_file.seek(to);
        return m_ok;
    }
    bool resize(qint64 to)
    {
        m_ok = m_ok && m_file.resize(to);
        return m_ok;
    }
    bool close()
    {
        m_ok = m_ok && m_file.flush();
        m_file.close();
        return m_ok && m_file.error() == QFileDevice::NoError;
    }
    QString error() const
    {
        return m_file.fileName() + QStringLiteral(": ") + m_file.errorString();
    }

private:
    QFile m_file;
    bool m_ok = true;
};

// A file too large to hold whole: deflated piece by piece into the archive behind its header,
// which is written again once the sizes are known; stored instead when deflating did not make it
// smaller.
QString streamEntry(ArchiveFile &archive, Entry &entry, const QByteArray &name)
{
    QFile file(entry.path);
    if (!file.open(QIODevice::ReadOnly))
        return entry.path + QStringLiteral(": ") + file.errorString();
    const qint64 headerAt = archive.pos();
    entry.method = kDeflated;
    if (!archive.write(localHeader(entry, name)))
        return archive.error();
    const qint64 dataAt = archive.pos();
    z_stream stream{};
    if (deflateInit2(&stream, kLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return entry.path + QStringLiteral(": cannot be compressed");
    uLong crc = crc32(0, nullptr, 0);
    QByteArray out(int(kStreamPiece), Qt::Uninitialized);
    QString error;
    for (bool last = false; !last && error.isEmpty();) {
        const QByteArray piece = file.read(kStreamPiece);
        if (file.error() != QFileDevice::NoError) {
            error = entry.path + QStringLiteral(": ") + file.errorString();
            break;
        }
        last = file.atEnd() || piece.isEmpty();
        crc = crc32(crc, reinterpret_cast<const Bytef *>(piece.constData()), uInt(piece.size()));
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(piece.constData()));
        stream.avail_in = uInt(piece.size());
        do {
            stream.next_out = reinterpret_cast<Bytef *>(out.data());
            stream.avail_out = uInt(out.size());
            deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            if (!archive.write(out.left(out.size() - int(stream.avail_out))))
                error = archive.error();
        } while (stream.avail_out == 0 && error.isEmpty());
    }
    const qint64 packedSize = qint64(stream.total_out);
    deflateEnd(&stream);
    if (!error.isEmpty())
        return error;
    if (qint64(stream.total_in) != entry.size)
        return entry.path + QStringLiteral(": changed while it was packed");
    entry.crc = quint32(crc);
    if (packedSize >= entry.size) {
        // Stored, as zip keeps what does not compress.
        entry.method = kStored;
        if (!file.seek(0) || !archive.seek(dataAt))
            return archive.error();
        for (QByteArray piece = file.read(kStreamPiece); !piece.isEmpty();
             piece = file.read(kStreamPiece)) {
            if (!archive.write(piece))
                return archive.error();
        }
        if (!archive.resize(archive.pos()))
            return archive.error();
    }
    entry.packedSize = quint32(entry.method == kStored ? entry.size : packedSize);
    const qint64 end = archive.pos();
    if (end > kMaxOffset)
        return QStringLiteral("too large");
    if (!archive.seek(headerAt) || !archive.write(localHeader(entry, name)) || !archive.seek(end))
        return archive.error();
    return QString();
}

} // namespace

namespace ZipWriter {

Result write(const QString &folder, const QStringList &entries, const QString &archivePath)
{
    Result result;
    if (entries.size() > kMaxEntries) {
        result.tooLarge = true;
        return result;
    }
    std::vector<Entry> listed;
    listed.reserve(size_t(entries.size()));
    qint64 total = 0;
    for (const QString &name : entries) {
        Entry entry;
        entry.name = name;
        entry.folder = name.endsWith(QLatin1Char('/'));
        entry.path = folder + QLatin1Char('/') + name;
        const QFileInfo info(entry.path);
        if (info.isSymLink() || (entry.folder ? !info.isDir() : !info.isFile())) {
            result.error = entry.path + QStringLiteral(": not a plain file or folder");
            return result;
        }
        entry.size = entry.folder ? 0 : info.size();
        entry.mode = unixMode(info);
        dosTime(info.lastModified(), &entry.time, &entry.date);
        total += entry.size + 128 + 2 * name.toUtf8().size();
        listed.push_back(entry);
    }
    if (total >= kMaxOffset) {
        result.tooLarge = true;
        return result;
    }

    ArchiveFile archive(archivePath);
    if (!archive.open()) {
        result.error = archive.error();
        return result;
    }
    // The files that fit in memory are compressed ahead on other threads, in the order they
    // are written, within a budget of memory.
    std::deque<std::pair<size_t, std::future<Packed>>> ahead;
    qint64 aheadBytes = 0;
    size_t next = 0;
    const auto startAhead = [&]() {
        while (next < listed.size() && (ahead.empty() || aheadBytes < kAheadBytes)) {
            const Entry &entry = listed[next];
            if (!entry.folder && entry.size <= kWholeFileBytes) {
                auto task = std::make_shared<std::packaged_task<Packed()>>(
                        [path = entry.path]() { return pack(path); });
                ahead.emplace_back(next, task->get_future());
                aheadBytes += entry.size;
                QThreadPool::globalInstance()->start([task]() { (*task)(); });
            }
            ++next;
        }
    };
    QString error;
    for (size_t n = 0; n < listed.size() && error.isEmpty(); ++n) {
        startAhead();
        Entry &entry = listed[n];
        const QByteArray name = entry.name.toUtf8();
        entry.offset = quint32(archive.pos());
        if (entry.folder) {
            if (!archive.write(localHeader(entry, name)))
                error = archive.error();
            continue;
        }
        if (entry.size > kWholeFileBytes) {
            error = streamEntry(archive, entry, name);
            continue;
        }
        Packed packed = ahead.front().second.get();
        ahead.pop_front();
        aheadBytes -= entry.size;
        if (!packed.error.isEmpty()) {
            error = packed.error;
            break;
        }
        entry.size = packed.size;
        entry.crc = packed.crc;
        entry.method = packed.method;
        entry.packedSize = quint32(packed.data.size());
        if (!archive.write(localHeader(entry, name)) || !archive.write(packed.data))
            error = archive.error();
    }
    // Whatever is still being compressed ends before its file goes.
    for (auto &pending : ahead)
        pending.second.wait();
    if (error == QLatin1String("too large")) {
        archive.close();
        QFile::remove(archivePath);
        result.tooLarge = true;
        return result;
    }
    const qint64 centralAt = archive.pos();
    QByteArray central;
    for (const Entry &entry : listed)
        central += centralHeader(entry, entry.name.toUtf8());
    QByteArray end;
    put32(end, 0x06054b50);
    put16(end, 0);
    put16(end, 0);
    put16(end, quint16(listed.size()));
    put16(end, quint16(listed.size()));
    put32(end, quint32(central.size()));
    put32(end, quint32(centralAt));
    put16(end, 0);
    if (error.isEmpty() && centralAt + central.size() + end.size() > kMaxOffset) {
        archive.close();
        QFile::remove(archivePath);
        result.tooLarge = true;
        return result;
    }
    if (error.isEmpty() && (!archive.write(central) || !archive.write(end)))
        error = archive.error();
    if (!archive.close() && error.isEmpty())
        error = archive.error();
    if (!error.isEmpty()) {
        QFile::remove(archivePath);
        result.error = error;
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace ZipWriter
