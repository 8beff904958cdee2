#include "globals.h"

#include "document/workfolder.h"

// All six live in this one file so their construction order is the order written here;
// across files static initialisation order would be unspecified.
QString g_strAppPath;
const QString g_strAppName = QStringLiteral("Veltorina");
const QString g_strAppVersion = QStringLiteral("1.23");
QList<QGraphicsItem *> m_pCopyPasteListItems;
QSettings settings(QStringLiteral("init"), QSettings::IniFormat);
// Named as the program names its working directories (before main the application has no
// name yet, so the default would be a name any program may use).
QTemporaryDir m_currentDir(WorkFolder::pathTemplate());
