// The C library's headers would name the functions defined here otherwise (a fortified open, or
// open as open64): each is defined as the name it has.
#undef _FORTIFY_SOURCE
#undef _FILE_OFFSET_BITS

#include "decoderfiles.h"

#include "decoderprotocol.h"

#include <QByteArray>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::atomic<bool> g_confined{ false };
// Folders read directly once confined, canonical, each with its closing slash.
std::vector<std::string> g_readable;
// One question at a time on the socket, whatever thread asks.
std::mutex g_asking;
// An open made while one is looked at (none is meant to be) goes to the system.
thread_local bool t_inside = false;

int systemOpen(int folder, const char *path, int flags, mode_t mode)
{
    return int(syscall(SYS_openat, folder, path, flags, mode));
}

bool readsOnly(int flags)
{
    return (flags & O_ACCMODE) == O_RDONLY && !(flags & (O_CREAT | O_TRUNC))
            && (flags & O_TMPFILE) != O_TMPFILE;
}

// path as seen from folder, absolute; "" when that cannot be known.
std::string absolute(int folder, const char *path)
{
    if (path[0] == '/')
        return path;
    char base[PATH_MAX];
    if (folder == AT_FDCWD) {
        if (!getcwd(base, sizeof base))
            return std::string();
    } else {
        const std::string link = "/proc/self/fd/" + std::to_string(folder);
        const ssize_t length = readlink(link.c_str(), base, sizeof base - 1);
        if (length <= 0)
            return std::string();
        base[length] = '\0';
    }
    std::string joined = base;
    if (joined.empty() || joined.back() != '/')
        joined += '/';
    return joined + path;
}

// length bytes from the program, and the descriptor that came with them (into fd).
bool receiveAll(char *into, size_t length, int *fd)
{
    while (length > 0) {
        iovec data = { into, length };
        msghdr message = {};
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))];
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t got = recvmsg(0, &message, MSG_CMSG_CLOEXEC);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        cmsghdr *part = CMSG_FIRSTHDR(&message);
        if (part && part->cmsg_level == SOL_SOCKET && part->cmsg_type == SCM_RIGHTS
            && part->cmsg_len == CMSG_LEN(sizeof(int))) {
            if (*fd >= 0)
                close(*fd);
            memcpy(fd, CMSG_DATA(part), sizeof(int));
        }
        into += got;
        length -= size_t(got);
    }
    return true;
}

// The file below the link root that path names, as the program opens it: a descriptor, or
// minus why not.
int askProgram(const std::string &path)
{
    const std::lock_guard<std::mutex> lock(g_asking);
    const QByteArray question = DecoderProtocol::frame(
            DecoderProtocol::encodeQuestion(QFile::decodeName(path.c_str())));
    if (!DecoderProtocol::sendWith(1, question))
        return -EIO;
    // An answer is a few bytes.
    constexpr quint32 kMaxAnswerBytes = 64;
    int fd = -1;
    char header[4];
    QByteArray answer;
    bool heard = receiveAll(header, sizeof header, &fd);
    const quint32 length = heard ? DecoderProtocol::frameLength(header) : 0;
    heard = heard && length <= kMaxAnswerBytes;
    if (heard) {
        answer.resize(int(length));
        heard = receiveAll(answer.data(), length, &fd);
    }
    int error = EIO;
    if (!heard || !DecoderProtocol::decodeAnswer(answer, &error) || (error == 0) != (fd >= 0)) {
        if (fd >= 0)
            close(fd);
        return -(error > 0 ? error : EIO);
    }
    return error == 0 ? fd : -error;
}

bool readable(const char *canonical)
{
    for (const std::string &folder : g_readable) {
        if (strncmp(canonical, folder.c_str(), folder.size()) == 0)
            return true;
    }
    return false;
}

// Minus why not, or a descriptor of the fonts' and their configuration's, opened for reading.
int openReadable(const std::string &path, int flags)
{
    char canonical[PATH_MAX];
    struct stat status = {};
    if (!readsOnly(flags))
        return -EACCES;
    if (!realpath(path.c_str(), canonical))
        return -errno;
    if (!readable(canonical) || stat(canonical, &status) != 0
        || !(S_ISREG(status.st_mode) || S_ISDIR(status.st_mode)))
        return -EACCES;
    const int fd = systemOpen(AT_FDCWD, canonical, flags | O_NOCTTY, 0);
    return fd >= 0 ? fd : -errno;
}

int gatedOpen(int folder, const char *path, int flags, mode_t mode)
{
    if (!g_confined.load(std::memory_order_acquire) || t_inside || !path)
        return systemOpen(folder, path, flags, mode);
    t_inside = true;
    const std::string whole = absolute(folder, path);
    const std::string root = std::string(DecoderProtocol::kLinkRoot) + '/';
    DecoderFiles::OpeningLink *link = DecoderFiles::OpeningLink::current();
    const bool asking = link && link->state == DecoderFiles::OpeningLink::State::Asking;
    int result = -EACCES;
    if (link && link->state == DecoderFiles::OpeningLink::State::Refused)
        result = -EACCES;
    else if (whole.size() >= PATH_MAX) // no file's name (a link's megabytes of data, say)
        result = -ENAMETOOLONG;
    else if ((asking || whole.compare(0, root.size(), root) == 0) && !whole.empty())
        result = readsOnly(flags) ? askProgram(whole) : -EROFS;
    else if (!whole.empty())
        result = openReadable(whole, flags);
    if (asking)
        link->state = result >= 0 ? DecoderFiles::OpeningLink::State::Opened
                                  : DecoderFiles::OpeningLink::State::Refused;
    t_inside = false;
    if (result >= 0)
        return result;
    errno = -result;
    return -1;
}

mode_t modeOf(int flags, va_list arguments)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? mode_t(va_arg(arguments, int))
                                                                 : 0;
}

FILE *gatedFopen(const char *path, const char *mode)
{
    if (!mode || !path) {
        errno = EINVAL;
        return nullptr;
    }
    int flags = 0;
    char plain[3] = { mode[0], '\0', '\0' };
    switch (mode[0]) {
    case 'r':
        flags = O_RDONLY;
        break;
    case 'w':
        flags = O_WRONLY | O_CREAT | O_TRUNC;
        break;
    case 'a':
        flags = O_WRONLY | O_CREAT | O_APPEND;
        break;
    default:
        errno = EINVAL;
        return nullptr;
    }
    for (const char *letter = mode + 1; *letter && *letter != ','; ++letter) {
        if (*letter == '+') {
            flags = (flags & ~O_ACCMODE) | O_RDWR;
            plain[1] = '+';
        } else if (*letter == 'e') {
            flags |= O_CLOEXEC;
        } else if (*letter == 'x') {
            flags |= O_EXCL;
        }
    }
    const int fd = gatedOpen(AT_FDCWD, path, flags, 0666);
    if (fd < 0)
        return nullptr;
    FILE *file = fdopen(fd, plain);
    if (!file) {
        const int error = errno;
        close(fd);
        errno = error;
    }
    return file;
}

} // namespace

namespace DecoderFiles {

void confine()
{
    std::vector<std::string> folders = { "/usr/share/fonts",
                                         "/usr/local/share/fonts",
                                         "/usr/share/fontconfig",
                                         "/usr/share/X11/fonts",
                                         "/etc/fonts",
                                         "/var/cache/fontconfig",
                                         "/proc/self" };
    const char *home = getenv("HOME");
    const auto beneath = [&folders, home](const char *variable, const char *fallback,
                                          const char *below) {
        const char *set = getenv(variable);
        if (set && set[0] == '/')
            folders.push_back(std::string(set) + below);
        else if (home && home[0] == '/')
            folders.push_back(std::string(home) + fallback + below);
    };
    beneath("XDG_DATA_HOME", "/.local/share", "/fonts");
    beneath("XDG_CONFIG_HOME", "/.config", "/fontconfig");
    beneath("XDG_CACHE_HOME", "/.cache", "/fontconfig");
    if (home && home[0] == '/')
        folders.push_back(std::string(home) + "/.fonts");
    for (const std::string &folder : folders) {
        char canonical[PATH_MAX];
        if (realpath(folder.c_str(), canonical))
            g_readable.push_back(std::string(canonical) + '/');
    }
    g_confined.store(true, std::memory_order_release);
}

} // namespace DecoderFiles

// The open family, as every library of the process calls it.
extern "C" {

int __open_2(const char *path, int flags);
int __open64_2(const char *path, int flags);
int __openat_2(int folder, const char *path, int flags);
int __openat64_2(int folder, const char *path, int flags);

int open(const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    return gatedOpen(AT_FDCWD, path, flags, mode);
}

int open64(const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    return gatedOpen(AT_FDCWD, path, flags | O_LARGEFILE, mode);
}

int openat(int folder, const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    return gatedOpen(folder, path, flags, mode);
}

int openat64(int folder, const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    return gatedOpen(folder, path, flags | O_LARGEFILE, mode);
}

int __open_2(const char *path, int flags)
{
    return gatedOpen(AT_FDCWD, path, flags, 0);
}

int __open64_2(const char *path, int flags)
{
    return gatedOpen(AT_FDCWD, path, flags | O_LARGEFILE, 0);
}

int __openat_2(int folder, const char *path, int flags)
{
    return gatedOpen(folder, path, flags, 0);
}

int __openat64_2(int folder, const char *path, int flags)
{
    return gatedOpen(folder, path, flags | O_LARGEFILE, 0);
}

FILE *fopen(const char *path, const char *mode)
{
    return gatedFopen(path, mode);
}

// QImage::QImage(const QString &name, const char *format), by which the toolkit's SVG reader
// reads each picture an SVG links: whatever it opens is a link's (DecoderFiles::OpeningLink).
// (Found by the reader in this process, which exports it for that; the toolkit's own does the
// reading.)
void _ZN6QImageC1ERK7QStringPKc(void *image, const void *name, const char *format)
{
    using Constructor = void (*)(void *, const void *, const char *);
    static const auto toolkits =
            reinterpret_cast<Constructor>(dlsym(RTLD_NEXT, "_ZN6QImageC1ERK7QStringPKc"));
    const DecoderFiles::OpeningLink link;
    toolkits(image, name, format);
}

FILE *fopen64(const char *path, const char *mode)
{
    return gatedFopen(path, mode);
}
}
