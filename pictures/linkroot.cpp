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

// The path of what name names below the root, in plain steps; "" for the root itself, or for a
// name that is not below it or takes a step back ("..").
QString relativeOf(const QString &name)
{
    if (!name.startsWith(prefix()))
        return QString();
    QStringList steps;
    for (const QString &step : name.mid(prefix().size()).split(QLatin1Char('/'))) {
        if (step == QLatin1String(".."))
            return QString();
        if (!step.isEmpty() && step != QLatin1String("."))
            steps << step;
    }
    return steps.join(QLatin1Char('/'));
}

QByteArray canonical(const QByteArray &path)
{
    char resolved[PATH_MAX];
    return realpath(path.constData(), resolved) ? QByteArray(resolved) : QByteArray();
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

int open(const QString &name, const QString &file, const QString &root)
{
    const QString relative = relativeOf(name);
    if (relative.isEmpty())
        return -EACCES;
    if (file.isEmpty())
        return -EACCES; // a picture of bytes has no folder
    // The picture itself, as its caller named it.
    if (name == nameFor(file, root))
        return openPlain(QFile::encodeName(file), 0);
    const QByteArray folder = canonical(QFile::encodeName(rootOf(file, root)));
    if (folder.isEmpty())
        return -ENOENT;
    const QByteArray path = canonical(folder + '/' + QFile::encodeName(relative));
    if (path.isEmpty())
        return -ENOENT;
    if (!path.startsWith(folder + '/'))
        return -EACCES;
    const int fd = openPlain(path, O_NOFOLLOW);
    if (fd >= 0 && !liesInside(fd, folder)) {
        close(fd);
        return -EACCES;
    }
    return fd;
}

} // namespace LinkRoot
