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
    return lastSuffix(name).compare(QLatin1String("iwb"), Qt::CaseInsensitive) == 0;
}

QString iwbTarget(const QString &name)
{
    return hasIwbExtension(name) ? name : name + kIwbSuffix;
}

QString keptName(const QString &target)
{
    if (!hasIwbExtension(target))
        return target;
    const QString stripped = target.left(target.size() - kIwbSuffix.size());
    return iwbTarget(stripped) == target ? stripped : target;
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
