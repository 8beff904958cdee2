#pragma once

#include "picturereading.h"

#include <QString>

// What a picture may read: itself, and, of the files it links (an SVG's pictures), only plain
// files inside the folder it came from, its link root. Never through "..", an absolute name, a
// symbolic link leading out of the root, or anything but a plain file: not a device, nor a
// named pipe, which would hold its reader for ever; nor, wherever the root lies, a file in the
// fonts' folders or the system's (/proc, /sys, /dev), which the decoding process reads itself.
//
// The decoding process is handed a picture under a name of its own below
// DecoderProtocol::kLinkRoot, so that the picture's relative links name files below it too; it
// asks the program for every such file it would open, and the program opens it here, or not.
namespace LinkRoot {

// The folder file's links reach when root is "": file's own.
QString rootOf(const QString &file, const QString &root);

// The name the decoding process reads file by: its path inside root (file's own folder when
// root is ""), or, when it lies elsewhere, its name alone, below DecoderProtocol::kLinkRoot.
QString nameFor(const QString &file, const QString &root);

// Opens for reading what the decoding process asks for by name, reading file (named as
// nameFor(file, root) names it): file itself, or a plain file inside root. A file descriptor
// (close on exec), or minus the reason it is not opened (an errno value), and (into why) the
// reason as the teacher is told it.
int open(const QString &name, const QString &file, const QString &root,
         PictureReading::LeftOut *why = nullptr);

} // namespace LinkRoot
