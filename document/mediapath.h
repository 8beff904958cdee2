#pragma once

#include <QString>
#include <QStringList>

// Media named inside a document (pictures, videos, pen textures, attached files) are looked up
// only inside the document's unpacked folder, so a crafted document cannot make the program
// read, play or later pack a file from elsewhere. Every function answers "" for a path that is
// refused or missing, and the caller treats it as a missing file.
namespace MediaPath {

// An "xlink:href" of an IWB document. The format writes some with a leading slash
// ("/videos/clip.avi") and some without ("images/obj1.png"); both are relative to the folder.
// Refused: "..", a symlink or anything that resolves outside folder, and anything that is not a
// regular file (a folder, a FIFO, a device).
QString resolveHref(const QString &folder, const QString &href);

// A "ub:source" of a UBZ page: relative to the unpacked folder; an absolute path is refused.
QString resolveSource(const QString &folder, const QString &source);

// The copy of a linked file or media file that a saved document carries: "document/" and the
// file name of the path the object holds (the path itself may name a file on another computer).
QString resolveAttachment(const QString &folder, const QString &storedPath);

// The media a part of a document's text names (pictures, textures, videos, sounds and the
// copies of linked files) as it names them, each once; text is one or more elements, such as a
// page's, whose prefixes need not be declared.
QStringList namesIn(const QByteArray &text);
// The files of folder that names (as namesIn gives them) stand for, as paths relative to
// folder, each once, in the order they are first named; only regular files inside folder that
// are there and reached through no symlink. A save packs these and nothing else, so what the
// document no longer uses does not travel with it.
QStringList filesNamed(const QString &folder, const QStringList &names);

// True for a regular file, also when reached through a symlink: only these are copied into a
// document (a FIFO or /dev/zero would hang the save or fill the disk).
bool isRegularFile(const QString &path);

} // namespace MediaPath
