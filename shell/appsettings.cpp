#include "appsettings.h"

#include <QSettings>

namespace {

const char kGroup[] = "System";

QVariant systemValue(QSettings &store, const char *key, const QVariant &fallback)
{
    store.beginGroup(QLatin1String(kGroup));
    const QVariant value = store.value(QLatin1String(key), fallback);
    store.endGroup();
    return value;
}

// Each group of writes is synced at once, so that a crash right after a change keeps it.
void setSystemValue(QSettings &store, const char *key, const QVariant &value)
{
    store.beginGroup(QLatin1String(kGroup));
    store.setValue(QLatin1String(key), value);
    store.endGroup();
    store.sync();
}

int storedInt(QSettings &store, const char *key, int fallback)
{
    bool ok = false;
    const QString text = systemValue(store, key, QString()).toString();
    const int value = text.toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

namespace AppSettings {

BtMenus::eLanguageMode language(QSettings &store)
{
    const int value = storedInt(store, "Language", BtMenus::lngSpanish);
    if (value < BtMenus::lngSpanish || value > BtMenus::lngGerman)
        return BtMenus::lngSpanish;
    return BtMenus::eLanguageMode(value);
}

BtMenus::eInterfaceMode interfaceMode(QSettings &store)
{
    const int value = storedInt(store, "Interface", BtMenus::imStandard);
    if (value < BtMenus::imStandard || value > BtMenus::imMultiUser)
        return BtMenus::imStandard;
    return BtMenus::eInterfaceMode(value);
}

int autosaveMinutes(QSettings &store)
{
    // Only a missing or empty value is the default; anything else that is not a number counts
    // as 0, and 0 or less means no autosave.
    const QString text = systemValue(store, "Autosave", QString()).toString();
    if (text.isEmpty())
        return 1;
    return qBound(0, text.toInt(), 60);
}

QColor pageColor(QSettings &store)
{
    const QColor colour(systemValue(store, "PageColor", QStringLiteral("#FFFFFF")).toString());
    return colour.isValid() ? colour : QColor(Qt::white);
}

QString temporalName(QSettings &store)
{
    return store.value(QStringLiteral("TemporalName")).toString();
}

void setLanguage(QSettings &store, BtMenus::eLanguageMode language)
{
    setSystemValue(store, "Language", int(language));
}

void setInterfaceMode(QSettings &store, BtMenus::eInterfaceMode mode)
{
    setSystemValue(store, "Interface", int(mode));
}

void setAutosaveMinutes(QSettings &store, int minutes)
{
    setSystemValue(store, "Autosave", qBound(1, minutes, 60));
}

void setPageColor(QSettings &store, const QColor &colour)
{
    setSystemValue(store, "PageColor", colour.name());
}

void setTemporalName(QSettings &store, const QString &path)
{
    store.setValue(QStringLiteral("TemporalName"), path);
    store.sync();
}

} // namespace AppSettings
