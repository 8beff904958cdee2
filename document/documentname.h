#pragma once

#include <QString>

// The file-name rules of the document commands: which archive a save writes and which reader
// an open uses. Only the last suffix counts, in any case.
namespace DocumentName {

// True when the last suffix of name is "iwb" in any case ("lesson.iwb", "lesson.IWB").
bool hasIwbExtension(const QString &name);
// The archive a save of name writes: name itself when it has the IWB extension, else name with
// ".iwb" added ("lesson" and "lesson.iwb" give "lesson.iwb", "lesson.IWB" gives itself, an
// opened "lesson.ubz" gives "lesson.ubz.iwb").
QString iwbTarget(const QString &name);
// The name the document keeps after a save as to target: target without its extension when a
// later save of that name writes target again ("lesson.iwb" keeps "lesson"), else target
// itself ("lesson.IWB", "lesson.iwb.iwb").
QString keptName(const QString &target);

enum class OpenKind { Unknown, Iwb, Ubz };
OpenKind openKind(const QString &name); // by the last suffix, in any case

} // namespace DocumentName
