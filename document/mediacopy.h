#pragma once

#include <QString>

// Copies media (videos, linked files, media links) into a folder of the working directory as a
// document carries them. Two different files of the same name both survive: the second gets a
// name of its own; a copy with the same bytes already there is used again, so saving twice or
// saving an opened document does not pile up copies.
namespace MediaCopy {

struct Copied
{
    bool ok = false;
    QString name; // the file name in folder, which the element's href or link must name
    QString error; // empty when ok
};

// Only regular files are copied (a FIFO or a device would hang the save or fill the disk);
// failures come back as values for the document writer to report.
Copied copyInto(const QString &source, const QString &folder);

} // namespace MediaCopy
