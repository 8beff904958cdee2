#include "mainloop.h"

#include <QApplication>
#include <QPointer>
#include <QTemporaryDir>
#include <QWidget>

int runMainLoops(QApplication &app, QWidget *mainWindow, QTemporaryDir &workingDir)
{
    const QPointer<QWidget> window(mainWindow);
    const int firstCode = app.exec();
    if (window && window->isVisible())
        return app.exec();
    if (firstCode != 0)
        workingDir.remove();
    return firstCode;
}
