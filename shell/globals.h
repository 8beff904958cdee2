#pragma once

#include <QList>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

class QGraphicsItem;

// Program-wide state, made before main runs (constructed in this order in globals.cpp).
extern QString g_strAppPath; // the application directory, set by main
extern const QString g_strAppName;
extern const QString g_strAppVersion;
// The clipboard of board objects shared by all pages: copy and cut fill it, paste reads it.
extern QList<QGraphicsItem *> m_pCopyPasteListItems;
// The settings store: the file "init" in the process's current directory.
extern QSettings settings;
// The working directory that holds the open document unpacked.
extern QTemporaryDir m_currentDir;
