#pragma once

#include <QString>

#include <memory>

// The working folders of running programs: where they are made and how they are named, which
// program owns each, and the clean-up of what programs that are gone left behind. A folder is
// owned through a lock file beside it (its path and ".lock"): the lock stays put while an open
// swaps the folder in by renames, and the system lets it go however its owner ends, so a lock
// that can be taken means the owner is gone.
namespace WorkFolder {

// A held lock on a lock file (flock). The kernel lets it go when its program ends, however it
// ends (a tool the program was starting in that moment may keep it a little longer): a file
// nobody holds is free, whatever it holds (a program killed while it made the file leaves it
// empty). The holder removes the file when it lets go.
class Lock
{
public:
    // Takes the lock of path, waiting up to timeoutMs for it; null when another holds it (in
    // this program or another) or the file cannot be made.
    static std::unique_ptr<Lock> take(const QString &path, int timeoutMs = 0);
    ~Lock();
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

private:
    Lock(const QString &path, int fd) : m_path(path), m_fd(fd) { }
    QString m_path;
    int m_fd;
};

// Where working folders are made: "veltorina-" and six characters in the system's temporary
// folder, as QTemporaryDir takes a template.
QString pathTemplate();

// The lock file that says who owns folder.
QString lockPath(const QString &folder);

// Takes and holds the owner's lock of folder (waiting up to timeoutMs for it); null when a
// running program holds it or the lock cannot be made.
std::unique_ptr<Lock> claim(const QString &folder, int timeoutMs = 0);
// Whether this very program holds folder's lock (through another claim).
bool isClaimedHere(const QString &folder);

// True only for a working folder of this program's own making: an absolute, clean path
// directly in the temporary folder, named as pathTemplate names them, a folder (no link) of
// this user holding plain files and folders as the program writes them ("content.xml" a file,
// the media folders folders), no link. Nothing is changed on disk.
bool isOwn(const QString &path);

// An autosave marks the folder it writes: a save to a file writes the same "content.xml" but
// leaves no mark, so what a program killed during a save left is not taken for unsaved work.
void markAutosaved(const QString &folder);
bool holdsAutosave(const QString &folder); // marked, with its "content.xml"

// Removes the hidden scratch folders an open or a save of folder made beside it; for a folder
// whose owner's lock the caller holds.
void removeScratchOf(const QString &folder);

// At start: for every working folder in the temporary folder whose owner is gone, its scratch
// folders are removed, and so is the folder itself when it holds no autosave (its unsaved work
// stays to be offered) and is not record (the folder "TemporalName" names, offered when it
// holds a "content.xml"). Folders that hold an autosave are not even looked at; a running
// program's folders, and anything not named and filled as the program's own, are left alone.
void removeLeftovers(const QString &own, const QString &record);

} // namespace WorkFolder
