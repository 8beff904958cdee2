#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// The archive side of IWB and UBZ documents: packing the working directory with the external
// zip, unpacking with unzip into a fresh folder, and removing folders without following
// symlinks. Errors come back as values; the UI edge decides what the user sees.
namespace IwbArchive {

struct Result
{
    bool ok = true;
    QString error; // empty when ok
    QStringList skipped; // pack only: entries left out (symlinks, special files), for the log
    bool damaged = false; // unpack only: the archive asks for more than a document may

    static Result failure(const QString &error);
};

// Limits for one run of zip or unzip; the GUI waits for it.
constexpr int kToolTimeoutMs = 5 * 60 * 1000;

// The suffixes of the files a pack stores as they are (zip's -n list; zip compares them without
// regard to case): pictures, sound and video are compressed already.
inline constexpr char kStoredSuffixes[] = ".png:.jpg:.jpeg:.gif:.webp:"
                                          ".mp3:.ogg:.oga:.m4a:"
                                          ".mp4:.m4v:.webm:.ogv:.avi:.mkv:.mov:.mpg:.mpeg";

// Packs the content of folder (relative entries, folders included even when empty) into the
// archive target. The archive is made beside target, tested, and only then renamed over target
// in one step, so an existing target survives any failure unchanged. Symlinks and special files
// in folder are never followed nor packed (they are listed in Result::skipped).
Result pack(const QString &folder, const QString &target);
// The same for a document, in two steps: deflating its text took as long as all else in a save,
// so zip packs it while the pictures the text names are still being written. The text (its
// parts one after the other) goes first, as "content.xml", on a thread of its own; finish()
// adds the media folders (also when empty) and exactly the media files given (relative to
// folder), in that order, and then tests and puts the archive in target's place as pack does.
// Anything else lying in folder stays out. Dropped unfinished, it waits for zip and leaves
// nothing behind.
class DocumentPack
{
public:
    DocumentPack(const QString &target, const QList<QByteArray> &text);
    ~DocumentPack();
    Result finish(const QString &folder, const QStringList &media);

    DocumentPack(const DocumentPack &) = delete;
    DocumentPack &operator=(const DocumentPack &) = delete;

private:
    struct Packing;
    std::unique_ptr<Packing> d;
};

// Names of the entries of archive as unzip lists them, and for each whether it is a symlink.
struct Entry
{
    QString name;
    bool symlink = false;
    qint64 size = 0; // unpacked, as the listing gives it
};
QList<Entry> listEntries(const QString &archive, QString *error);

// Why an entry may not be unpacked (a symlink, an absolute name, a ".." part), or "" when safe.
QString unsafeEntryReason(const Entry &entry);

// Unpacks archive into destination, a folder that must not exist yet (it is made). The archive
// is refused as a whole, with nothing left behind, when any entry is unsafe or unzip fails, or
// (damaged) when its listing promises more entries or bytes than a document may unpack, or
// names one file twice;
// after extraction the tree is checked again for anything but plain files and folders.
// listed, when given, is called with the entries once they are found safe, before any is
// unpacked: work it hands to another thread (reading an entry through readEntry, say)
// overlaps the unpacking. It answers the names of entries it writes into destination itself
// (none of unzip's wildcard characters in them): unzip leaves those out.
Result unpack(const QString &archive, const QString &destination,
              const std::function<QStringList(const QList<Entry> &)> &listed = {});

// Hands the bytes of the entry called name to take, in pieces as unzip gives them out, until
// all came or take answers false; "" then, else why the entry could not be read. Nothing is
// written to disk. name must hold none of unzip's wildcard characters.
QString readEntry(const QString &archive, const QString &name,
                  const std::function<bool(const QByteArray &)> &take);

// A new, empty folder beside path (same file system, so it can later be renamed over path);
// "" when it cannot be made.
QString makeSiblingFolder(const QString &path);

// The scratch folders that pack (beside its target) and makeSiblingFolder (beside path) make.
// pack removes those a save of the same target left when its program is gone; those beside
// working directories go at start (WorkFolder::removeLeftovers).
QStringList scratchFoldersOf(const QString &path);

// Puts the folder replacement in the place of target (which may be missing) by renames, so
// that target is either the old folder or the new one, never a mix; the old one is removed.
Result replaceFolder(const QString &replacement, const QString &target);

// Removes path and everything under it. A symlink is removed as a link, never followed, so
// nothing outside path is touched. A path that does not exist is not an error.
Result removeTree(const QString &path);
// Removes everything inside folder but keeps folder itself.
Result clearFolder(const QString &folder);

// The media folders of a document ("images", "videos", "document").
inline const char *const kMediaFolders[] = { "images", "videos", "document" };

// Moves the media folders of previous (an autosaved working directory being restored) into
// workDir, replacing what workDir holds under those names, so that objects restored from
// previous still find their files once previous is removed. Symlinks are not moved.
Result adoptMedia(const QString &previous, const QString &workDir);
// path with the folder previous at its start replaced by workDir; other paths unchanged.
QString rebasePath(const QString &path, const QString &previous, const QString &workDir);

} // namespace IwbArchive
