#pragma once

#include <QString>
#include <QtGlobal>

class QSaveFile;

// Why a file could not be written, in words a teacher can act on: no room left on the disk, a
// folder that may not be written to, a place that is read-only. The layers that write keep
// their technical texts for the log and the details; the one place that shows a failure adds
// the cause found here to its message.
namespace WriteFailure {

enum class Cause { Unknown, NoRoom, NoPermission, ReadOnly };

// What to try to reserve for a file of a size not known (a picture, a copied medium): a full
// disk refuses this much as well.
constexpr qint64 kUnknownSizeBytes = 1 << 20;

// The cause an errno value names (ENOSPC and EDQUOT, EACCES and EPERM, EROFS); Unknown else.
Cause fromErrno(int error);

// Why writing about bytes bytes into folder fails, found out by trying it there (or, when
// folder is missing, in the nearest folder above it that exists): a scratch file is made,
// the room reserved for it, and the file removed again. An external program's failure (zip)
// tells no cause of its own; this finds it as well as a failure met here. Unknown when the
// trial succeeds: the failure lies elsewhere.
Cause probe(const QString &folder, qint64 bytes);

// The cause as a sentence in the interface language; "" for Unknown.
QString sentence(Cause cause);

// headline and, on a line of its own, the cause's sentence when there is one.
QString message(const QString &headline, Cause cause);

// Commits file only when all that was written to it reached the disk. QSaveFile::commit() of
// Qt 5 misses a failure of its own last flush (a full disk takes what was still buffered): the
// file would be replaced by one cut short, or empty, and the write called a success. On false,
// the file's errorString() says why, and the old file stays (the new one is dropped with the
// QSaveFile).
bool commitWhole(QSaveFile &file);

} // namespace WriteFailure
