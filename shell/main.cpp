#include "globals.h"
#include "mainform.h"
#include "mainloop.h"
#include "sessionend.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    g_strAppPath = QCoreApplication::applicationDirPath();
    MainForm window;
    window.showFullScreen();
    SessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &SessionEnd::ending, &window, &MainForm::endSession);
    return runMainLoops(app, &window, m_currentDir);
}
