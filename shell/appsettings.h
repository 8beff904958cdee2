#pragma once

#include "btmenus.h"

#include <QColor>

class QSettings;

// Typed reads of the settings store "init", with the defaults that apply when a key is missing
// and the repairs for stored values that would otherwise break the interface.
namespace AppSettings {

BtMenus::eLanguageMode language(QSettings &store); // "System/Language", missing: Spanish
// "System/Interface"; anything outside 0 to 3 (a damaged or foreign file) reads as standard.
BtMenus::eInterfaceMode interfaceMode(QSettings &store);
// "System/Autosave", up to 60; missing or empty: 1; 0 (also for 0 or less, or no number): no
// autosave.
int autosaveMinutes(QSettings &store);
QColor pageColor(QSettings &store); // "System/PageColor", missing or unreadable: white
QString temporalName(QSettings &store); // "TemporalName": working directory of unsaved work

void setLanguage(QSettings &store, BtMenus::eLanguageMode language);
void setInterfaceMode(QSettings &store, BtMenus::eInterfaceMode mode);
void setAutosaveMinutes(QSettings &store, int minutes);
void setPageColor(QSettings &store, const QColor &colour);
void setTemporalName(QSettings &store, const QString &path);

} // namespace AppSettings
