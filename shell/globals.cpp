#include "globals.h"

// All six live in this one file so their construction order is the order written here;
// across files static initialisation order would be unspecified.
QString g_strAppPath;
const QString g_strAppName = QStringLiteral("Veltorina");
const QString g_strAppVersion = QStringLiteral("1.23");
QList<QGraphicsItem *> m_pCopyPasteListItems;
QSettings settings(QStringLiteral("init"), QSettings::IniFormat);
QTemporaryDir m_currentDir;
