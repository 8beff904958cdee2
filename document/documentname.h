#pragma once

#include <QString>

// The file-name rules of the document commands: which archive a save writes and which reader
// an open uses. Only the last suffix counts, and only in lower case for saving.
namespace DocumentName {

// True when the last suffix of name is exactly "iwb" ("lesson.IWB" has none).
bool hasIwbExtension(const QString &name);
// The archive a save of name writes: name itself when it has the IWB extension, else name with
// ".iwb" added ("lesson" and "lesson.iwb" give "lesson.iwb", an opened "lesson.ubz" gives
// "lesson.ubz.iwb", "lesson.IWB" gives "lesson.IWB.iwb").
QString iwbTarget(const QString &name);
// The name the document keeps after a save as: the target without ".iwb".
QString withoutIwbExtension(const QString &name);

enum class OpenKind { Unknown, Iwb, Ubz };
OpenKind openKind(const QString &name); // by the last suffix, in any case

} // namespace DocumentName
