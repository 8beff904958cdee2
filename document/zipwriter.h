#pragma once

#include <QString>
#include <QStringList>

// Writes a zip archive of files and folders as the zip command packs them by default: each
// file deflated at zip's default level, or stored when that does not make it smaller; folders
// as entries of their own; names relative to a folder. The files are compressed on several
// threads at once, so that a document's pictures, which hardly compress, do not keep the save
// waiting one after the other.
namespace ZipWriter {

struct Result
{
    bool ok = false;
    // Beyond what an archive without the zip64 extensions holds (4 GB, 65,535 entries): nothing
    // was written, the zip command can do it.
    bool tooLarge = false;
    QString error; // when neither
};

// Packs entries (relative to folder; a name ending in "/" is a folder) in that order into
// archive, a file that is made or replaced. Entries that are symlinks or neither plain files nor
// folders fail the whole archive, as does any entry that cannot be read.
Result write(const QString &folder, const QStringList &entries, const QString &archive);

} // namespace ZipWriter
