#pragma once

class QApplication;
class QTemporaryDir;
class QWidget;

// Runs the program's event loop. A first run that ends while the main window is still shown
// (something called exit() with the window up) is followed by a second run, and the working
// directory is kept so that no unsaved work is lost while the program goes on. When the window
// is gone there is nothing left that could end a second run, so the program ends; a non-zero
// code then means the run failed and its working directory is removed. Returns the last code.
int runMainLoops(QApplication &app, QWidget *mainWindow, QTemporaryDir &workingDir);
