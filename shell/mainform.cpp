#include "mainform.h"

#include <QGuiApplication>
#include <QScreen>

MainForm::MainForm(QWidget *parent, Qt::WindowFlags flags) : QMainWindow(parent, flags)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("MainFormClass"));
    resize(978, 741);
    setFocusPolicy(Qt::NoFocus);
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);
    setWindowTitle(QCoreApplication::translate("MainFormClass", "Veltorisa"));

    // The given flags are replaced: the board is always a frameless full-screen surface.
    setWindowFlags(Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    // Without a window manager the full-screen request is not honoured; the explicit geometry is.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    showFullScreen();
}

MainForm::~MainForm() = default;
