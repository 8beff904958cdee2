#include "workfolder.h"

#include "iwbarchive.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QThread>

#include <mutex>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Plain characters, not QString objects: pathTemplate() is called while the program's globals
// are made, in an order across files that nobody fixes. Their lengths are given: not every
// compiler counts them in a constant (clang takes strlen for no constant).
template <int N> constexpr QLatin1String latin1(const char (&text)[N])
{
    return QLatin1String(text, N - 1);
}
constexpr QLatin1String kStem = latin1("veltorina-");
constexpr QLatin1String kLockSuffix = latin1(".lock");
constexpr QLatin1String kContent = latin1("content.xml");
constexpr QLatin1String kAutosaveMark = latin1(".autosaved");

// QTemporaryDir fills its six X with letters and digits.
QString nameOfOwn()
{
    return QRegularExpression::escape(kStem) + QStringLiteral("[A-Za-z0-9]{6}");
}

QString temporaryFolder()
{
    return QDir::cleanPath(QDir::tempPath());
}

// The locks this program holds (paths), for isClaimedHere.
QSet<QString> &heldHere()
{
    static QSet<QString> held;
    return held;
}

std::mutex &heldHereMutex()
{
    static std::mutex mutex;
    return mutex;
}

} // namespace

namespace WorkFolder {

QString pathTemplate()
{
    return temporaryFolder() + QLatin1Char('/') + kStem + QStringLiteral("XXXXXX");
}

QString lockPath(const QString &folder)
{
    return QDir::cleanPath(folder) + kLockSuffix;
}

std::unique_ptr<Lock> Lock::take(const QString &path, int timeoutMs)
{
    const QByteArray name = QFile::encodeName(path);
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return nullptr;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // Held, but perhaps of a file its last holder removed on letting go after this one
            // was opened: only the file the name leads to now counts.
            struct stat held = {};
            struct stat named = {};
            if (::fstat(fd, &held) == 0 && ::stat(name.constData(), &named) == 0
                && held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
                const std::lock_guard<std::mutex> guard(heldHereMutex());
                heldHere().insert(path);
                return std::unique_ptr<Lock>(new Lock(path, fd));
            }
            ::close(fd);
            continue;
        }
        ::close(fd);
        if (deadline.hasExpired())
            return nullptr;
        QThread::msleep(20);
    }
}

Lock::~Lock()
{
    {
        const std::lock_guard<std::mutex> guard(heldHereMutex());
        heldHere().remove(m_path);
    }
    // Removed while still held, so that nobody takes the file on its way out.
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_fd);
}

std::unique_ptr<Lock> claim(const QString &folder, int timeoutMs)
{
    return Lock::take(lockPath(folder), timeoutMs);
}

bool isClaimedHere(const QString &folder)
{
    const std::lock_guard<std::mutex> guard(heldHereMutex());
    return heldHere().contains(lockPath(folder));
}

bool isOwn(const QString &path)
{
    // Written by this program, a path is absolute and clean: "." or a path with ".." in it
    // comes from elsewhere.
    if (path.isEmpty() || !QDir::isAbsolutePath(path) || QDir::cleanPath(path) != path)
        return false;
    const QFileInfo info(path);
    static const QRegularExpression name(QStringLiteral("^") + nameOfOwn() + QStringLiteral("$"));
    if (info.absolutePath() != temporaryFolder() || !name.match(info.fileName()).hasMatch())
        return false;
    if (info.isSymLink() || !info.isDir() || info.ownerId() != ::geteuid())
        return false;
    const QFileInfoList entries = QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden
                                                           | QDir::System | QDir::NoDotAndDotDot);
    // What an open unpacked is the program's writing too, whatever its names; a link or a
    // special file never is (an open refuses them).
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink() || !(entry.isFile() || entry.isDir()))
            return false;
        const QString entryName = entry.fileName();
        if ((entryName == kContent || entryName == kAutosaveMark) && !entry.isFile())
            return false;
        const bool media = std::any_of(
                std::begin(IwbArchive::kMediaFolders), std::end(IwbArchive::kMediaFolders),
                [&entryName](const char *folder) { return entryName == QLatin1String(folder); });
        if (media && !entry.isDir())
            return false;
    }
    return true;
}

void markAutosaved(const QString &folder)
{
    QFile mark(folder + QLatin1Char('/') + kAutosaveMark);
    if (!mark.exists() && !mark.open(QIODevice::WriteOnly))
        qWarning() << "WorkFolder:" << mark.fileName() << mark.errorString();
}

bool holdsAutosave(const QString &folder)
{
    return QFileInfo(folder + QLatin1Char('/') + kAutosaveMark).isFile()
            && QFileInfo(folder + QLatin1Char('/') + kContent).isFile();
}

void removeScratchOf(const QString &folder)
{
    for (const QString &scratch : IwbArchive::scratchFoldersOf(folder)) {
        const IwbArchive::Result removed = IwbArchive::removeTree(scratch);
        if (!removed.ok)
            qWarning() << "WorkFolder:" << removed.error;
    }
}

void removeLeftovers(const QString &own, const QString &record)
{
    const QString parent = temporaryFolder();
    const QRegularExpression folderName(QStringLiteral("^(") + nameOfOwn() + QStringLiteral(")(")
                                        + QRegularExpression::escape(kLockSuffix)
                                        + QStringLiteral(")?$"));
    // The hidden folders an open or a save of a working folder makes beside it.
    const QRegularExpression scratchName(QStringLiteral("^\\.(") + nameOfOwn()
                                         + QStringLiteral(")-[A-Za-z0-9]{6}$"));
    QSet<QString> owners;
    const QFileInfoList entries = QDir(parent).entryInfoList(
            { kStem + QLatin1Char('*'), QLatin1Char('.') + kStem + QLatin1Char('*') },
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink())
            continue;
        QRegularExpressionMatch match = folderName.match(entry.fileName());
        if (match.hasMatch()) {
            owners << parent + QLatin1Char('/') + match.captured(1);
            continue;
        }
        match = scratchName.match(entry.fileName());
        if (match.hasMatch() && entry.isDir())
            owners << parent + QLatin1Char('/') + match.captured(1);
    }
    const QString ownPath = QDir::cleanPath(own);
    for (const QString &owner : qAsConst(owners)) {
        // Unsaved work is not touched, not even locked for a moment: a start that offers it
        // must find it free.
        if (owner == ownPath || holdsAutosave(owner)
            || (owner == record && QFileInfo(owner + QLatin1Char('/') + kContent).isFile()))
            continue;
        const std::unique_ptr<Lock> lock = claim(owner);
        if (!lock)
            continue; // its program runs: an open may be swapping the folder in right now
        removeScratchOf(owner);
        if (isOwn(owner)) {
            const IwbArchive::Result removed = IwbArchive::removeTree(owner);
            if (!removed.ok)
                qWarning() << "WorkFolder:" << removed.error;
        }
        // Letting the lock go removes its file.
    }
}

} // namespace WorkFolder
