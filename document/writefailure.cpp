#include "writefailure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

// path itself when it is a folder, else the nearest folder above it; "" when there is none.
QString nearestFolder(const QString &path)
{
    QString current = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (!QFileInfo(current).isDir()) {
        const QString parent = QFileInfo(current).absolutePath();
        if (parent == current)
            return QString();
        current = parent;
    }
    return current;
}

} // namespace

namespace WriteFailure {

Cause fromErrno(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return Cause::NoRoom;
    case EACCES:
    case EPERM:
        return Cause::NoPermission;
    case EROFS:
        return Cause::ReadOnly;
    default:
        return Cause::Unknown;
    }
}

Cause probe(const QString &folder, qint64 bytes)
{
    const QString where = nearestFolder(folder);
    if (where.isEmpty())
        return Cause::Unknown;
    const QByteArray path = QFile::encodeName(where);
    struct statvfs disk = {};
    const bool measured = ::statvfs(path.constData(), &disk) == 0;
    if (measured && (disk.f_flag & ST_RDONLY))
        return Cause::ReadOnly;
    QByteArray name = path + "/.veltorina-room-XXXXXX";
    const int file = ::mkstemp(name.data());
    if (file < 0)
        return fromErrno(errno);
    int error = 0;
    // Reserved, not written: the trial costs no time, and a full disk refuses it at once.
    if (bytes > 0 && ::fallocate(file, 0, 0, bytes) != 0) {
        error = errno;
        if (error == EOPNOTSUPP || error == ENOSYS) {
            // A file system that cannot reserve room: what it says is free must do.
            const qint64 free = measured ? qint64(disk.f_bavail) * qint64(disk.f_frsize) : bytes;
            error = free < bytes ? ENOSPC : 0;
        }
    }
    ::close(file);
    ::unlink(name.constData());
    return fromErrno(error);
}

QString sentence(Cause cause)
{
    switch (cause) {
    case Cause::NoRoom:
        return QCoreApplication::translate("WriteFailure", "No queda espacio libre en el disco.");
    case Cause::NoPermission:
        return QCoreApplication::translate("WriteFailure",
                                           "No tiene permiso para escribir en esa carpeta.");
    case Cause::ReadOnly:
        return QCoreApplication::translate("WriteFailure",
                                           "El disco o la carpeta es de solo lectura.");
    case Cause::Unknown:
        break;
    }
    return QString();
}

QString message(const QString &headline, Cause cause)
{
    const QString why = sentence(cause);
    return why.isEmpty() ? headline : headline + QLatin1Char('\n') + why;
}

bool commitWhole(QSaveFile &file)
{
    return file.flush() && file.commit();
}

} // namespace WriteFailure
