#include "linkroot.h"

#include "decoderprotocol.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace LinkRoot {

namespace {

QString prefix()
{
    return QLatin1String(DecoderProtocol::kLinkRoot) + QLatin1Char('/');
}

// Whether name, below the root, takes a step back ("..").
bool stepsBack(const QString &name)
{
    return name.mid(prefix().size()).split(QLatin1Char('/')).contains(QLatin1String(".."));
}

QByteArray canonical(const QByteArray &path)
{
    char resolved[PATH_MAX];
    return realpath(path.constData(), resolved) ? QByteArray(resolved) : QByteArray();
}

// The folders whose files the decoding process reads itself, canonical, each with its closing
// slash: the fonts' and their configuration's, where the toolkit finds them.
QList<QByteArray> fontFolders()
{
    QStringList folders = { QStringLiteral("/usr/share/fonts"),
                            QStringLiteral("/usr/local/share/fonts"),
                            QStringLiteral("/usr/share/fontconfig"),
                            QStringLiteral("/usr/share/X11/fonts"),
                            QStringLiteral("/etc/fonts"),
                            QStringLiteral("/var/cache/fontconfig") };
    const QString home = QString::fromLocal8Bit(qgetenv("HOME"));
    const auto beneath = [&folders, &home](const char *variable, const char *fallback,
                                           const char *below) {
        const QString set = QString::fromLocal8Bit(qgetenv(variable));
        if (set.startsWith(QLatin1Char('/')))
            folders << set + QLatin1String(below);
        else if (home.startsWith(QLatin1Char('/')))
            folders << home + QLatin1String(fallback) + QLatin1String(below);
    };
    beneath("XDG_DATA_HOME", "/.local/share", "/fonts");
    beneath("XDG_CONFIG_HOME", "/.config", "/fontconfig");
    beneath("XDG_CACHE_HOME", "/.cache", "/fontconfig");
    if (home.startsWith(QLatin1Char('/')))
        folders << home + QLatin1String("/.fonts");
    QList<QByteArray> found;
    for (const QString &folder : qAsConst(folders)) {
        const QByteArray path = canonical(QFile::encodeName(folder));
        if (!path.isEmpty())
            found << (path.endsWith('/') ? path : path + '/');
    }
    return found;
}

// Why path (canonical) is never a link's, whatever folder the link lies in: it is in the fonts'
// folders or the system's.
bool refusedEverywhere(const QByteArray &path, PictureReading::LeftOut *why)
{
    for (const QByteArray &folder : fontFolders()) {
        if (path.startsWith(folder)) {
            *why = PictureReading::LeftOut::Fonts;
            return true;
        }
    }
    for (const char *system : { "/proc/", "/sys/", "/dev/" }) {
        struct stat status = {};
        if (path.startsWith(system) && stat(path.constData(), &status) == 0
            && S_ISREG(status.st_mode)) {
            *why = PictureReading::LeftOut::System;
            return true;
        }
    }
    return false;
}

// Why path (canonical) is not a plain file to read.
bool notPlain(const QByteArray &path, PictureReading::LeftOut *why)
{
    struct stat status = {};
    if (stat(path.constData(), &status) != 0) {
        *why = PictureReading::LeftOut::Missing;
        return true;
    }
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        *why = PictureReading::LeftOut::Device;
    else if (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode))
        *why = PictureReading::LeftOut::Pipe;
    else if (!S_ISREG(status.st_mode))
        *why = PictureReading::LeftOut::Missing;
    else
        return false;
    return true;
}

// path opened for reading if it is a plain file: never a device's open, nor a pipe's wait.
int openPlain(const QByteArray &path, int extraFlags)
{
    struct stat status = {};
    if (stat(path.constData(), &status) != 0)
        return -errno;
    if (!S_ISREG(status.st_mode))
        return -EACCES;
    const int fd =
            ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | extraFlags);
    if (fd < 0)
        return -errno;
    // What was opened, not what was looked at before (the name may lead elsewhere by now).
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        return -EACCES;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// Whether fd is open on a file inside the folder whose canonical path is root.
bool liesInside(int fd, const QByteArray &root)
{
    const QByteArray opened = canonical("/proc/self/fd/" + QByteArray::number(fd));
    return opened.startsWith(root + '/');
}

} // namespace

QString rootOf(const QString &file, const QString &root)
{
    return root.isEmpty() ? QFileInfo(file).absolutePath() : QDir(root).absolutePath();
}

QString nameFor(const QString &file, const QString &root)
{
    const QString folder = QDir::cleanPath(rootOf(file, root));
    const QString path = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
    const QString inside = folder == QLatin1String("/") ? folder : folder + QLatin1Char('/');
    const QString relative =
            path.startsWith(inside) ? path.mid(inside.size()) : QFileInfo(file).fileName();
    return prefix() + relative;
}

int open(const QString &name, const QString &file, const QString &root,
         PictureReading::LeftOut *why)
{
    PictureReading::LeftOut reason = PictureReading::LeftOut::Outside;
    if (!why)
        why = &reason;
    *why = PictureReading::LeftOut::Outside;
    if (file.isEmpty())
        return -EACCES; // a picture of bytes has no folder
    // The picture itself, as its caller named it.
    if (name == nameFor(file, root))
        return openPlain(QFile::encodeName(file), 0);
    const QByteArray folder = canonical(QFile::encodeName(rootOf(file, root)));
    if (folder.isEmpty()) {
        *why = PictureReading::LeftOut::Missing;
        return -ENOENT;
    }
    // Where the name leads, below the root or (named otherwise) anywhere: said by what it is.
    const bool below = name.startsWith(prefix());
    const QByteArray path =
            canonical(below ? folder + '/' + QFile::encodeName(name.mid(prefix().size()))
                            : QFile::encodeName(name));
    if (path.isEmpty()) {
        *why = PictureReading::LeftOut::Missing;
        return -ENOENT;
    }
    if (refusedEverywhere(path, why) || notPlain(path, why))
        return -EACCES;
    if (!below || stepsBack(name) || !path.startsWith(folder + '/'))
        return -EACCES;
    const int fd = openPlain(path, O_NOFOLLOW);
    if (fd >= 0 && !liesInside(fd, folder)) {
        close(fd);
        return -EACCES;
    }
    if (fd == -ENOENT)
        *why = PictureReading::LeftOut::Missing;
    return fd;
}

} // namespace LinkRoot
