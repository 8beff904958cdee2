#include "documentname.h"

#include <QFileInfo>

namespace {

QString lastSuffix(const QString &name)
{
    return QFileInfo(name).suffix();
}

const QString kIwbSuffix = QStringLiteral(".iwb");

} // namespace

namespace DocumentName {

bool hasIwbExtension(const QString &name)
{
    return lastSuffix(name) == QLatin1String("iwb");
}

QString iwbTarget(const QString &name)
{
    return hasIwbExtension(name) ? name : name + kIwbSuffix;
}

QString withoutIwbExtension(const QString &name)
{
    return hasIwbExtension(name) ? name.left(name.size() - kIwbSuffix.size()) : name;
}

OpenKind openKind(const QString &name)
{
    const QString suffix = lastSuffix(name).toLower();
    if (suffix == QLatin1String("iwb"))
        return OpenKind::Iwb;
    if (suffix == QLatin1String("ubz"))
        return OpenKind::Ubz;
    return OpenKind::Unknown;
}

} // namespace DocumentName
