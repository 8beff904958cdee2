#include "iwbarchive.h"

#include "iwblimits.h"
#include "toolrun.h"
#include "workfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <future>
#include <memory>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr QDir::Filters kEverything =
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

// zip and unzip read default options from these variables; a user's setting such as "-a" (text
// conversion) must not change what is packed or unpacked.
QProcessEnvironment toolEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "ZIPOPT", "ZIP", "UNZIP", "UNZIPOPT", "ZIPINFO", "ZIPINFOOPT" })
        environment.remove(QLatin1String(name));
    return environment;
}

ToolRun runZipTool(const QString &program, const QStringList &arguments, const QString &dir)
{
    return runTool(program, arguments, dir, IwbArchive::kToolTimeoutMs, toolEnvironment());
}

// The suffixes of kStoredSuffixes, each with its dot.
const QStringList &storedSuffixes()
{
    static const QStringList suffixes =
            QString::fromLatin1(IwbArchive::kStoredSuffixes).split(QLatin1Char(':'));
    return suffixes;
}

// A name zip stores as it is (it compares the suffixes without regard to case).
bool isStored(const QString &name)
{
    return std::any_of(
            storedSuffixes().begin(), storedSuffixes().end(),
            [&name](const QString &suffix) { return name.endsWith(suffix, Qt::CaseInsensitive); });
}

// rename(2) replaces an existing file in one step; QFile::rename refuses an existing target.
QString renameOver(const QString &from, const QString &to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return QString();
    return QStringLiteral("%1 -> %2: %3")
            .arg(from, to, QString::fromLocal8Bit(std::strerror(errno)));
}

// Relative names of everything to pack, each folder before its content; symlinks and special
// files go to skipped instead.
void collectEntries(const QString &dir, const QString &prefix, QStringList &entries,
                    QStringList &skipped)
{
    const QFileInfoList children = QDir(dir).entryInfoList(kEverything, QDir::Name);
    for (const QFileInfo &child : children) {
        const QString name = prefix + child.fileName();
        if (child.isSymLink()) {
            skipped << name;
        } else if (child.isDir()) {
            entries << name + QLatin1Char('/');
            collectEntries(child.filePath(), name + QLatin1Char('/'), entries, skipped);
        } else if (child.isFile()) {
            entries << name;
        } else {
            skipped << name;
        }
    }
}

// Owner access is restored before listing or deleting: an archive may store folders without it.
void allowOwnerAccess(const QString &path, bool folder)
{
    const QFileDevice::Permissions needed = folder
            ? QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
            : QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const QFileDevice::Permissions current = QFile::permissions(path);
    if ((current & needed) != needed)
        QFile::setPermissions(path, current | needed);
}

// After extraction only plain files and folders may be there; owner access is made sure of.
// How often the folder unzip fills is measured while it runs.
constexpr int kWatchIntervalMs = 100;

// Folders are walked by the bytes of their entries' names, which an archive may give in no
// encoding the toolkit reads back, and never through a symlink: each entry as lstat sees it.
template <typename Visit> void forEachEntry(const QByteArray &dir, Visit visit)
{
    QList<QByteArray> names;
    if (DIR *listing = ::opendir(dir.constData())) {
        while (const dirent *entry = ::readdir(listing)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names << name;
        }
        ::closedir(listing);
    }
    for (const QByteArray &name : qAsConst(names)) {
        const QByteArray path = dir + '/' + name;
        struct stat info;
        if (::lstat(path.constData(), &info) == 0)
            visit(path, info);
    }
}

qint64 bytesUnder(const QByteArray &dir)
{
    qint64 bytes = 0;
    forEachEntry(dir, [&bytes](const QByteArray &path, const struct stat &info) {
        if (S_ISDIR(info.st_mode))
            bytes += bytesUnder(path);
        else if (S_ISREG(info.st_mode))
            bytes += info.st_size;
    });
    return bytes;
}

// Bytes of the files under dir; links are not followed.
qint64 treeBytes(const QString &dir)
{
    return bytesUnder(QFile::encodeName(dir));
}

// Removes everything under dir (given owner access first, as an archive may have stored
// folders without it); false with *failed, the first path that stayed, when anything did.
bool removeUnder(const QByteArray &dir, QByteArray *failed)
{
    bool removed = true;
    forEachEntry(dir, [&](const QByteArray &path, const struct stat &info) {
        bool gone = false;
        if (S_ISDIR(info.st_mode)) {
            if ((info.st_mode & S_IRWXU) != S_IRWXU)
                ::chmod(path.constData(), info.st_mode | S_IRWXU);
            gone = removeUnder(path, failed) && ::rmdir(path.constData()) == 0;
        } else {
            gone = ::unlink(path.constData()) == 0;
        }
        if (!gone && removed) {
            removed = false;
            if (failed->isEmpty())
                *failed = path;
        }
    });
    return removed;
}

QString findUnsafeFile(const QString &dir)
{
    const QFileInfoList children = QDir(dir).entryInfoList(kEverything, QDir::Name);
    for (const QFileInfo &child : children) {
        if (child.isSymLink())
            return child.filePath() + QStringLiteral(": symlink");
        if (child.isDir()) {
            allowOwnerAccess(child.filePath(), true);
            const QString reason = findUnsafeFile(child.filePath());
            if (!reason.isEmpty())
                return reason;
        } else if (child.isFile()) {
            allowOwnerAccess(child.filePath(), false);
        } else {
            return child.filePath() + QStringLiteral(": not a plain file");
        }
    }
    return QString();
}

QStringList outputLines(const QByteArray &output)
{
    QStringList lines = QString::fromLocal8Bit(output).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

// Used when a rename cannot cross file systems: plain files and folders only.
QString copyTree(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return to + QStringLiteral(": cannot be made");
    const QFileInfoList children = QDir(from).entryInfoList(kEverything, QDir::Name);
    for (const QFileInfo &child : children) {
        const QString target = to + QLatin1Char('/') + child.fileName();
        if (child.isSymLink())
            continue;
        if (child.isDir()) {
            const QString error = copyTree(child.filePath(), target);
            if (!error.isEmpty())
                return error;
        } else if (child.isFile() && !QFile::copy(child.filePath(), target)) {
            return child.filePath() + QStringLiteral(": cannot be copied");
        }
    }
    return QString();
}

constexpr char kScratchArchive[] = "archive.zip";
// A document's text, as a save hands it to zip while its pictures are still being written.
constexpr char kScratchText[] = "content.xml";
// The archive a save replaced, kept by a second name until the scratch folder is removed.
constexpr char kScratchReplaced[] = "replaced.iwb";

// What pack and makeSiblingFolder name their folders: hidden, beside path, "." + its name + "-"
// and six characters.
QString scratchTemplate(const QFileInfo &path)
{
    return path.absolutePath() + QStringLiteral("/.") + path.fileName() + QStringLiteral("-XXXXXX");
}

// A save killed half-way leaves its scratch folder beside the target, holding at most the
// archive, the text it packs and the archive replaced (or zip's own temporary file "zi" and six
// characters): the next save to that name removes it once its owner is gone, and with it any
// lock a killed save left without a folder. A save of the same file in another running program
// keeps its own.
void removeStaleScratch(const QFileInfo &target)
{
    static const QRegularExpression leftBySave(
            QStringLiteral("^(%1|%2|%3|zi[A-Za-z0-9]{6})$")
                    .arg(QRegularExpression::escape(QLatin1String(kScratchArchive)),
                         QRegularExpression::escape(QLatin1String(kScratchReplaced)),
                         QRegularExpression::escape(QLatin1String(kScratchText))));
    for (const QString &folder : IwbArchive::scratchFoldersOf(target.absoluteFilePath())) {
        const QFileInfoList content = QDir(folder).entryInfoList(kEverything);
        const bool leftBySaving =
                std::all_of(content.begin(), content.end(), [](const QFileInfo &entry) {
                    return !entry.isSymLink() && entry.isFile()
                            && leftBySave.match(entry.fileName()).hasMatch();
                });
        if (!leftBySaving)
            continue;
        const std::unique_ptr<WorkFolder::Lock> owner = WorkFolder::claim(folder);
        if (owner)
            IwbArchive::removeTree(folder); // the lock goes after the folder
    }
    const QRegularExpression lockName(QStringLiteral("^\\.")
                                      + QRegularExpression::escape(target.fileName())
                                      + QStringLiteral("-[A-Za-z0-9]{6}\\.lock$"));
    const QFileInfoList locks = QDir(target.absolutePath())
                                        .entryInfoList({ QLatin1Char('.') + target.fileName()
                                                         + QStringLiteral("-*.lock") },
                                                       QDir::Files | QDir::Hidden);
    for (const QFileInfo &lock : locks) {
        const QString folder = lock.absoluteFilePath().chopped(5);
        if (lockName.match(lock.fileName()).hasMatch() && !QFileInfo::exists(folder))
            WorkFolder::claim(folder); // taken and let go: a lock whose save is gone is removed
    }
}

// The scratch folder of one save, beside its target: owned through a lock while the save runs,
// removed when it ends. QTemporaryDir's names and errors, so a failure reads the same.
class OwnedScratch
{
public:
    explicit OwnedScratch(const QFileInfo &target)
    {
        for (int attempt = 0; attempt < 10 && m_path.isEmpty(); ++attempt) {
            QTemporaryDir made(scratchTemplate(target));
            if (!made.isValid()) {
                m_error = made.errorString();
                return;
            }
            made.setAutoRemove(false);
            // Another save of this file may be removing it as stale in this very moment: the
            // lock is waited for, and the folder is ours only if it is still there then. A
            // place where no lock can be made is saved to all the same.
            m_lock = WorkFolder::claim(made.path(), 5000);
            if (QFileInfo(made.path()).isDir())
                m_path = made.path();
            else
                m_lock.reset();
        }
        if (m_path.isEmpty())
            m_error = QStringLiteral("the scratch folder was taken away");
    }
    ~OwnedScratch()
    {
        if (!m_path.isEmpty())
            IwbArchive::removeTree(m_path);
    }
    // The folder is removed (and then its lock let go) on another thread, when it has time.
    void removeLater()
    {
        if (m_path.isEmpty())
            return;
        auto lock = std::make_shared<std::unique_ptr<WorkFolder::Lock>>(std::move(m_lock));
        QThreadPool::globalInstance()->start([path = m_path, lock]() {
            IwbArchive::removeTree(path);
            lock->reset();
        });
        m_path.clear();
    }
    OwnedScratch(const OwnedScratch &) = delete;
    OwnedScratch &operator=(const OwnedScratch &) = delete;

    bool isValid() const { return !m_path.isEmpty(); }
    QString errorString() const { return m_error; }
    QString path() const { return m_path; }
    QString filePath(const QString &name) const { return m_path + QLatin1Char('/') + name; }

private:
    QString m_path;
    QString m_error;
    std::unique_ptr<WorkFolder::Lock> m_lock; // let go after the folder is removed
};

} // namespace

namespace IwbArchive {

QStringList scratchFoldersOf(const QString &path)
{
    const QFileInfo info(path);
    const QRegularExpression pattern(QStringLiteral("^\\.")
                                     + QRegularExpression::escape(info.fileName())
                                     + QStringLiteral("-[A-Za-z0-9]{6}$"));
    QStringList folders;
    const QFileInfoList siblings =
            QDir(info.absolutePath())
                    .entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &sibling : siblings) {
        if (!sibling.isSymLink() && pattern.match(sibling.fileName()).hasMatch())
            folders << sibling.absoluteFilePath();
    }
    return folders;
}

Result Result::failure(const QString &error)
{
    Result result;
    result.ok = false;
    result.error = error;
    return result;
}

namespace {

// The unpacking is shared by several runs of unzip at once: one run writes one file after the
// other, and a lesson of many pictures waited on it. A run is given at least this many files,
// and none is given more than a few thousand names (unzip compares each entry with each).
constexpr int kUnpackRuns = 4;
constexpr int kFilesPerRun = 8;
// Small files are as slow to unpack at once as one after the other (making a file in a folder
// waits for the folder): a run is given a few megabytes.
constexpr qint64 kBytesPerRun = qint64(4) << 20;
constexpr int kMostSharedFiles = 2000;
// What one more file costs a run beside its bytes.
constexpr qint64 kFileBytes = 32 << 10;

// The names given to each run of unzip: none for the first, which unpacks everything the others
// are not given (with the folders and any name unzip would take for a pattern), then a share
// of the files, by bytes, for each other run. The folders of the shared files are made here
// first, so that no two runs try to make one at the same time.
QList<QStringList> unpackShares(const QList<Entry> &entries, const QStringList &leftOut,
                                const QString &destination)
{
    // unzip's patterns; a backslash may also be taken for a folder's.
    static const QRegularExpression special(QStringLiteral("[*?\\[\\]\\\\]"));
    std::vector<const Entry *> files;
    for (const Entry &entry : entries) {
        if (!leftOut.contains(entry.name) && !entry.name.endsWith(QLatin1Char('/'))
            && !entry.name.contains(special))
            files.push_back(&entry);
    }
    qint64 total = 0;
    for (const Entry *file : files)
        total += file->size;
    const int runs = int(std::min<qint64>(
            { kUnpackRuns, qint64(files.size()) / kFilesPerRun, total / kBytesPerRun }));
    if (runs < 2 || files.size() > size_t(kMostSharedFiles))
        return { QStringList() };
    QSet<QString> folders;
    for (const Entry *file : files) {
        const int slash = file->name.lastIndexOf(QLatin1Char('/'));
        if (slash > 0)
            folders.insert(file->name.left(slash));
    }
    for (const QString &folder : qAsConst(folders)) {
        if (!QDir().mkpath(destination + QLatin1Char('/') + folder))
            return { QStringList() }; // one run makes its folders as it goes
    }
    // Each run has its share in the order of the archive, the order they are needed in.
    QList<QStringList> shares;
    std::vector<qint64> bytes(size_t(runs), 0);
    for (int n = 0; n < runs; ++n)
        shares << QStringList();
    for (const Entry *file : files) {
        const size_t least = size_t(std::min_element(bytes.begin(), bytes.end()) - bytes.begin());
        bytes[least] += file->size + kFileBytes;
        if (least > 0)
            shares[int(least)] << file->name;
    }
    return shares;
}

// Why archive, just packed from entries, may not take an old one's place, or "". fileOf gives
// the file an entry was packed from. Every entry must be listed, each at the size of its file
// (folders at none), and what zip deflated must inflate to the checksums zip recorded. What it
// stored as it was is not read back: that would only read again what zip read from the same
// files, and it took most of the check's time.
QString checkPacked(const QString &archive, const QStringList &entries,
                    const std::function<QString(const QString &)> &fileOf)
{
    QString error;
    const QList<Entry> listed = listEntries(archive, &error);
    if (!error.isEmpty())
        return error;
    QHash<QString, qint64> sizes;
    for (const Entry &entry : listed)
        sizes.insert(entry.name, entry.size);
    bool deflated = false;
    for (const QString &entry : entries) {
        const bool isFolder = entry.endsWith(QLatin1Char('/'));
        const qint64 size = isFolder ? 0 : QFileInfo(fileOf(entry)).size();
        if (!sizes.contains(entry) || sizes.value(entry) != size)
            return archive + QStringLiteral(": %1 is not packed whole").arg(entry);
        deflated = deflated || (!isFolder && !isStored(entry));
    }
    if (listed.size() != entries.size())
        return archive + QStringLiteral(": it holds other entries than were packed");
    if (!deflated)
        return QString();
    QStringList arguments{ QStringLiteral("-tqC"), archive, QStringLiteral("-x") };
    for (const QString &suffix : storedSuffixes())
        arguments << QLatin1Char('*') + suffix;
    const ToolRun tested = runZipTool(QStringLiteral("unzip"), arguments, QDir::rootPath());
    return tested.ok ? QString() : tested.error;
}

// Where a pack of target makes its archive: a scratch folder of its own beside target, on the
// target's file system so that the final rename is one step (zip updates an archive that exists,
// so it writes a fresh name). What earlier saves to target left behind is removed first.
std::unique_ptr<OwnedScratch> scratchFor(const QFileInfo &target, QString *error)
{
    if (target.isDir() && !target.isSymLink()) {
        *error = target.filePath() + QStringLiteral(": is a folder");
        return nullptr;
    }
    removeStaleScratch(target);
    auto scratch = std::make_unique<OwnedScratch>(target);
    if (!scratch->isValid()) {
        *error = target.absolutePath() + QLatin1String(": ") + scratch->errorString();
        return nullptr;
    }
    return scratch;
}

// Runs zip in folder on entries into archive; grow adds them to the archive's end without
// rewriting what it holds.
ToolRun zipEntries(const QString &folder, const QString &archive, const QStringList &entries,
                   bool grow)
{
    // -y stores a link as a link should one appear meanwhile, -nw takes names literally, "--"
    // keeps a name that begins with "-" a name. -n stores pictures, sound and video as they are:
    // they are compressed already, and deflating them again cost most of a save's time for a
    // gain of a few bytes.
    QStringList arguments{ QStringLiteral("-q"), QStringLiteral("-y"), QStringLiteral("-nw"),
                           QStringLiteral("-n"), QLatin1String(kStoredSuffixes) };
    if (grow)
        arguments << QStringLiteral("-g");
    arguments << archive << QStringLiteral("--");
    return runZipTool(QStringLiteral("zip"), arguments + entries, folder);
}

// The archive in scratch, packed from entries, tested and put in target's place.
Result installPacked(std::unique_ptr<OwnedScratch> scratch, const QFileInfo &targetInfo,
                     const QStringList &entries,
                     const std::function<QString(const QString &)> &fileOf, Result result)
{
    const QString archive = scratch->filePath(QLatin1String(kScratchArchive));
    const QString unchecked = checkPacked(archive, entries, fileOf);
    if (!unchecked.isEmpty())
        return Result::failure(unchecked);
    const QByteArray targetName = QFile::encodeName(targetInfo.absoluteFilePath());
    if (targetInfo.exists()) {
        QFile::setPermissions(archive, QFile::permissions(targetInfo.absoluteFilePath()));
        // The file replaced keeps a second name in the scratch folder while the new one takes
        // its place: freeing a large file's blocks takes a while, and is left to another thread
        // with the folder. Where no second name can be made, the replacing frees them.
        ::link(targetName.constData(),
               QFile::encodeName(scratch->filePath(QLatin1String(kScratchReplaced))).constData());
    }
    const QString renameError = renameOver(archive, targetInfo.absoluteFilePath());
    if (!renameError.isEmpty())
        return Result::failure(renameError);
    scratch->removeLater();
    return result;
}

} // namespace

Result pack(const QString &folder, const QString &target)
{
    const QFileInfo folderInfo(folder);
    if (folderInfo.isSymLink() || !folderInfo.isDir())
        return Result::failure(folder + QStringLiteral(": not a folder"));
    Result result;
    QStringList entries;
    collectEntries(folderInfo.absoluteFilePath(), QString(), entries, result.skipped);
    if (entries.isEmpty())
        return Result::failure(folder + QStringLiteral(": nothing to pack"));
    const QFileInfo targetInfo(target);
    QString error;
    std::unique_ptr<OwnedScratch> scratch = scratchFor(targetInfo, &error);
    if (!scratch)
        return Result::failure(error);
    const ToolRun zipped =
            zipEntries(folderInfo.absoluteFilePath(),
                       scratch->filePath(QLatin1String(kScratchArchive)), entries, false);
    if (!zipped.ok)
        return Result::failure(zipped.error);
    const QString base = folderInfo.absoluteFilePath() + QLatin1Char('/');
    return installPacked(
            std::move(scratch), targetInfo, entries,
            [&](const QString &entry) { return base + entry; }, result);
}

struct DocumentPack::Packing
{
    QFileInfo target;
    std::unique_ptr<OwnedScratch> scratch;
    QString error; // why no archive can be made at target
    std::future<ToolRun> text; // zip of the text, on a thread of its own
};

DocumentPack::DocumentPack(const QString &target, const QList<QByteArray> &text)
    : d(std::make_unique<Packing>())
{
    d->target = QFileInfo(target);
    d->scratch = scratchFor(d->target, &d->error);
    if (!d->scratch)
        return;
    // Not on the pool: the pictures being encoded meanwhile may fill it.
    d->text = std::async(std::launch::async, [folder = d->scratch->path(), text]() {
        QFile file(folder + QLatin1Char('/') + QLatin1String(kScratchText));
        bool written = file.open(QIODevice::WriteOnly);
        for (const QByteArray &part : text)
            written = written && file.write(part) == part.size();
        if (!written || !file.flush())
            return ToolRun::failed(file.fileName(), file.errorString());
        file.close();
        return zipEntries(folder, folder + QLatin1Char('/') + QLatin1String(kScratchArchive),
                          { QLatin1String(kScratchText) }, false);
    });
}

DocumentPack::~DocumentPack()
{
    if (d->text.valid())
        d->text.wait(); // before the scratch folder goes
}

Result DocumentPack::finish(const QString &folder, const QStringList &media)
{
    const QFileInfo folderInfo(folder);
    if (!d->scratch)
        return Result::failure(d->error);
    const ToolRun text = d->text.get();
    if (!text.ok)
        return Result::failure(text.error);
    if (folderInfo.isSymLink() || !folderInfo.isDir())
        return Result::failure(folder + QStringLiteral(": not a folder"));
    // The media in the order given (as the document first names them): an open unpacks them in
    // that order while it reads the text.
    QStringList added;
    for (const char *name : kMediaFolders)
        added << QLatin1String(name) + QLatin1Char('/');
    added << media;
    added.removeDuplicates();
    added.removeAll(QLatin1String(kScratchText));
    const QString archive = d->scratch->filePath(QLatin1String(kScratchArchive));
    const ToolRun grown = zipEntries(folderInfo.absoluteFilePath(), archive, added, true);
    if (!grown.ok)
        return Result::failure(grown.error);
    const QString textFile = d->scratch->filePath(QLatin1String(kScratchText));
    const QString base = folderInfo.absoluteFilePath() + QLatin1Char('/');
    return installPacked(
            std::move(d->scratch), d->target, QStringList{ QLatin1String(kScratchText) } + added,
            [&](const QString &entry) {
                return entry == QLatin1String(kScratchText) ? textFile : base + entry;
            },
            Result());
}

QList<Entry> listEntries(const QString &archive, QString *error)
{
    const QString path = QFileInfo(archive).absoluteFilePath();
    // One run of the lister: each run is a process started from a program that may hold a
    // large document, and opening pays for every one.
    const ToolRun details =
            runZipTool(QStringLiteral("unzip"),
                       { QStringLiteral("-Z"), QStringLiteral("-s"), QStringLiteral("-T"), path },
                       QDir::rootPath());
    const QString unreadable = archive + QStringLiteral(": the list of entries cannot be read");
    if (!details.ok) {
        if (error)
            *error = details.error;
        return {};
    }
    // Two header lines (the second one counting the entries) and one line of totals around
    // one line per entry: mode, version, system, unpacked size, type, method, date.time, then
    // after one space the name, which may hold any spaces of its own.
    const QStringList lines = outputLines(details.output);
    static const QRegularExpression counted(QStringLiteral("number of entries: (\\d+)$"));
    const QRegularExpressionMatch count =
            lines.size() >= 3 ? counted.match(lines.at(1)) : QRegularExpressionMatch();
    if (!count.hasMatch() || count.captured(1).toLongLong() != lines.size() - 3) {
        if (error)
            *error = unreadable;
        return {};
    }
    static const QRegularExpression entryLine(
            QStringLiteral("^(\\S+)\\s+\\S+\\s+\\S+\\s+(\\d+)\\s+\\S+\\s+\\S+\\s+\\S+ (.+)$"));
    QList<Entry> entries;
    for (int i = 2; i < lines.size() - 1; ++i) {
        const QRegularExpressionMatch entry = entryLine.match(lines.at(i));
        bool sized = false;
        const qint64 size = entry.hasMatch() ? entry.captured(2).toLongLong(&sized) : 0;
        if (!sized || size < 0) {
            if (error)
                *error = unreadable;
            return {};
        }
        // The mode's first letter is "l" for a symlink.
        entries.append({ entry.captured(3), entry.captured(1).startsWith(QLatin1Char('l')), size });
    }
    return entries;
}

QString unsafeEntryReason(const Entry &entry)
{
    if (entry.symlink)
        return entry.name + QStringLiteral(": symlink");
    static const QRegularExpression absolute(QStringLiteral("^([/\\\\]|[A-Za-z]:)"));
    if (entry.name.isEmpty() || absolute.match(entry.name).hasMatch())
        return entry.name + QStringLiteral(": absolute name");
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    if (entry.name.split(separators).contains(QStringLiteral("..")))
        return entry.name + QStringLiteral(": name leaves the folder");
    return QString();
}

Result unpack(const QString &archive, const QString &destination,
              const std::function<QStringList(const QList<Entry> &)> &listed)
{
    const QFileInfo archiveInfo(archive);
    // Checked here: given a missing name, unzip would go on to try the name with ".zip" added.
    if (!archiveInfo.isFile())
        return Result::failure(archive + QStringLiteral(": no such file"));
    const QFileInfo destinationInfo(destination);
    const bool made = !destinationInfo.exists() && !destinationInfo.isSymLink();
    if (!made
        && (destinationInfo.isSymLink() || !destinationInfo.isDir()
            || !QDir(destination).entryList(kEverything).isEmpty()))
        return Result::failure(destination + QStringLiteral(": not a new, empty folder"));

    QString error;
    const QList<Entry> entries = listEntries(archive, &error);
    if (!error.isEmpty())
        return Result::failure(error);
    qint64 unpacked = 0;
    QSet<QString> names;
    for (const Entry &entry : entries) {
        const QString reason = unsafeEntryReason(entry);
        if (!reason.isEmpty())
            return Result::failure(archive + QStringLiteral(": refused, ") + reason);
        unpacked += entry.size;
        // Two entries that land on one file: which one a reader gets would be the unpacker's
        // choice, and the other would be lost without a word.
        const QString name = QDir::cleanPath(entry.name);
        if (names.contains(name)) {
            Result refused = Result::failure(
                    archive + QStringLiteral(": refused, two entries named ") + entry.name);
            refused.damaged = true;
            return refused;
        }
        names.insert(name);
    }
    // From the listing, before a byte is written: an archive that unpacks to more than a
    // document can hold would fill the disk.
    if (entries.size() > IwbLimits::kMaxEntries || unpacked > IwbLimits::kMaxUnpackedBytes) {
        Result refused =
                Result::failure(archive
                                + QStringLiteral(": refused, %1 entries of %2 bytes unpacked")
                                          .arg(entries.size())
                                          .arg(unpacked));
        refused.damaged = true;
        return refused;
    }
    if (made && !QDir().mkdir(destination))
        return Result::failure(destination + QStringLiteral(": cannot be made"));

    const QString destinationPath = QFileInfo(destination).absoluteFilePath();
    const QStringList leftOut = listed ? listed(entries) : QStringList();
    qint64 promised = 0;
    for (const Entry &entry : entries) {
        if (!leftOut.contains(entry.name))
            promised += entry.size;
    }
    const QList<QStringList> shares = unpackShares(entries, leftOut, destinationPath);
    // The listing only says what the archive claims: an entry may unpack to far more (unzip
    // believes its data, not its size), and must be stopped before it fills the disk.
    std::atomic<bool> overflowing{ false };
    std::atomic<bool> stopping{ false };
    const auto withinListing = [&]() {
        if (treeBytes(destinationPath) > promised)
            overflowing = true;
        return !overflowing;
    };
    const auto keepRunning = [&]() { return withinListing() && !stopping; };
    // The first share is everything the others do not name (with what was left out), so that
    // names unzip would take for patterns are never given as names; unzip finds nothing to do
    // an error, and an archive of nothing but what was left out is not.
    const auto unzipShare = [&](int n) -> ToolRun {
        QStringList arguments{ QStringLiteral("-q"), QStringLiteral("-o"),
                               archiveInfo.absoluteFilePath() };
        if (n > 0) {
            arguments << shares.at(n);
        } else {
            QStringList excluded = leftOut;
            for (int other = 1; other < shares.size(); ++other)
                excluded << shares.at(other);
            const bool rest =
                    std::any_of(entries.begin(), entries.end(), [&excluded](const Entry &entry) {
                        return !excluded.contains(entry.name);
                    });
            if (!rest)
                return ToolRun{ true, 0, QString(), {}, {} };
            if (!excluded.isEmpty())
                arguments << QStringLiteral("-x") << excluded;
        }
        arguments << QStringLiteral("-d") << destinationPath;
        const ToolRun run =
                runToolWatched(QStringLiteral("unzip"), arguments, destinationPath, kToolTimeoutMs,
                               toolEnvironment(), kWatchIntervalMs, keepRunning);
        if (!run.ok)
            stopping = true; // the others need not go on
        return run;
    };
    std::vector<std::future<ToolRun>> others;
    for (int n = 1; n < shares.size(); ++n)
        others.push_back(std::async(std::launch::async, unzipShare, n));
    ToolRun unzipped = unzipShare(0);
    for (auto &other : others) {
        const ToolRun run = other.get();
        if (unzipped.ok && !run.ok)
            unzipped = run;
    }
    const QString beyond = archive + QStringLiteral(": refused, it unpacks to more than it lists");
    QString failure = overflowing ? beyond : unzipped.error;
    if (failure.isEmpty() && !withinListing())
        failure = beyond;
    if (failure.isEmpty()) {
        const QString unsafe = findUnsafeFile(destinationPath);
        if (!unsafe.isEmpty())
            failure = archive + QStringLiteral(": refused, ") + unsafe;
    }
    if (failure.isEmpty())
        return Result();
    if (made)
        removeTree(destinationPath);
    else
        clearFolder(destinationPath);
    Result refused = Result::failure(failure);
    refused.damaged = overflowing;
    return refused;
}

QString readEntry(const QString &archive, const QString &name,
                  const std::function<bool(const QByteArray &)> &take)
{
    const QStringList arguments{ QStringLiteral("-p"), QFileInfo(archive).absoluteFilePath(),
                                 name };
    const ToolRun read = runToolReading(QStringLiteral("unzip"), arguments, QString(),
                                        kToolTimeoutMs, toolEnvironment(), take);
    return read.ok ? QString() : read.error;
}

QString makeSiblingFolder(const QString &path)
{
    const QFileInfo info(path);
    QTemporaryDir sibling(scratchTemplate(info));
    if (!sibling.isValid())
        return QString();
    sibling.setAutoRemove(false);
    return sibling.path();
}

Result replaceFolder(const QString &replacement, const QString &target)
{
    const QFileInfo replacementInfo(replacement);
    if (replacementInfo.isSymLink() || !replacementInfo.isDir())
        return Result::failure(replacement + QStringLiteral(": not a folder"));
    const QFileInfo targetInfo(target);
    const QString targetPath = targetInfo.absoluteFilePath();
    if (!targetInfo.exists() && !targetInfo.isSymLink()) {
        const QString error = renameOver(replacementInfo.absoluteFilePath(), targetPath);
        return error.isEmpty() ? Result() : Result::failure(error);
    }
    if (targetInfo.isSymLink() || !targetInfo.isDir())
        return Result::failure(target + QStringLiteral(": not a folder"));
    // The old folder is moved into a folder of our own, so no other name can take its place.
    const QString holder = makeSiblingFolder(targetPath);
    if (holder.isEmpty())
        return Result::failure(targetInfo.absolutePath()
                               + QStringLiteral(": cannot make a folder"));
    const QString old = holder + QStringLiteral("/old");
    QString error = renameOver(targetPath, old);
    if (error.isEmpty()) {
        error = renameOver(replacementInfo.absoluteFilePath(), targetPath);
        if (!error.isEmpty())
            renameOver(old, targetPath);
    }
    removeTree(holder);
    return error.isEmpty() ? Result() : Result::failure(error);
}

Result removeTree(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    // lstat: a symlink is removed as a link, never followed.
    if (::lstat(name.constData(), &info) != 0)
        return errno == ENOENT ? Result()
                               : Result::failure(path + QStringLiteral(": cannot be removed"));
    if (!S_ISDIR(info.st_mode)) {
        if (::unlink(name.constData()) != 0)
            return Result::failure(path + QStringLiteral(": cannot be removed"));
        return Result();
    }
    if ((info.st_mode & S_IRWXU) != S_IRWXU)
        ::chmod(name.constData(), info.st_mode | S_IRWXU);
    QByteArray failed;
    if (!removeUnder(name, &failed))
        return Result::failure(QFile::decodeName(failed) + QStringLiteral(": cannot be removed"));
    if (::rmdir(name.constData()) != 0)
        return Result::failure(path + QStringLiteral(": cannot be removed"));
    return Result();
}

Result clearFolder(const QString &folder)
{
    const QByteArray name = QFile::encodeName(folder);
    struct stat info;
    if (::lstat(name.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return Result::failure(folder + QStringLiteral(": not a folder"));
    QByteArray failed;
    if (!removeUnder(name, &failed))
        return Result::failure(QFile::decodeName(failed) + QStringLiteral(": cannot be removed"));
    return Result();
}

Result adoptMedia(const QString &previous, const QString &workDir)
{
    Result result;
    for (const char *name : kMediaFolders) {
        const QString from = previous + QLatin1Char('/') + QLatin1String(name);
        const QString to = workDir + QLatin1Char('/') + QLatin1String(name);
        const QFileInfo fromInfo(from);
        if (fromInfo.isSymLink() || !fromInfo.isDir())
            continue;
        const Result cleared = removeTree(to);
        QString error = cleared.error;
        if (cleared.ok && !renameOver(from, to).isEmpty())
            error = copyTree(from, to);
        if (!error.isEmpty() && result.ok)
            result = Result::failure(error);
    }
    return result;
}

QString rebasePath(const QString &path, const QString &previous, const QString &workDir)
{
    const QString prefix = QDir::cleanPath(previous) + QLatin1Char('/');
    const QString clean = QDir::cleanPath(path);
    if (previous.isEmpty() || !clean.startsWith(prefix))
        return path;
    return QDir::cleanPath(workDir) + QLatin1Char('/') + clean.mid(prefix.size());
}

} // namespace IwbArchive
