#pragma once

#include "btmenus.h"

#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <QTranslator>

#include "sharing/dsharescreen.h"

class DMainUi;
class DPagesList;
class DResources;
class DSavePages;
class DScreenPhoto;
class DSetting;
class DShortUi;
class QWidget;

// The program's one main window: frameless, translucent and covering the whole screen. It
// builds the other top-level parts, wires them, and dispatches every toolbar and palette
// command to the page list, the current page, the board view or a dialog.
class MainForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainForm(QWidget *parent = nullptr, Qt::WindowFlags flags = {});
    ~MainForm() override;

    DPagesList *pagesList() const { return m_pagesList; }
    DMainUi *mainUi() const { return m_mainUi; }
    DShortUi *shortUi() const { return m_shortUi; }
    DSetting *settingsDialog() const { return m_setting; }
    DResources *resources() const { return m_resources; }
    DSavePages *savePages() const { return m_savePages; }
    DShareScreen *shareScreen() const { return m_share; }
    DScreenPhoto *screenPhoto() const { return m_screenPhoto; }

public slots:
    void uiColorMultiUser(QColor c, btType bt);
    void uiMainBt(btType bt);
    void setDesktopMode();
    void showVeltorina();
    void transparentPageIfNotExist();
    void insertCapture();
    void dropImage(QString str);
    void dropText(QString str);
    void changeBckColor(QColor color);
    void destroyShare();
    void updatePensMenu();
    void newCapturePage();
    void changeLng(eLanguageMode lng, bool alert);
    void help();
    void setSettings();
    void exitApp();
    // The session ends (SIGTERM, SIGHUP): the document is written where an autosave writes it,
    // for the next start to offer back as after a crash, and the program ends by that signal,
    // its own processes with it. Nothing is asked: nobody may be there to answer.
    void endSession(int signal);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setUI();
    void connectPalettes();
    void showPageCounter();
    void refreshGallery();
    void hideGallery();
    void toggleGallery();
    bool confirmDeletePage();
    void showShareScreen();
    void applyPenCommand(btType bt);
    bool dispatchPageCommand(btType bt);

    QTranslator m_translator;
    QTranslator m_toolkitTranslator; // the toolkit's own dialogs and buttons
    QWidget *m_central = nullptr;
    DPagesList *m_pagesList = nullptr;
    DMainUi *m_mainUi = nullptr;
    DShortUi *m_shortUi = nullptr;
    DResources *m_resources = nullptr;
    DSetting *m_setting = nullptr;
    DSavePages *m_savePages = nullptr;
    QPointer<DShareScreen> m_share;
    DScreenPhoto *m_screenPhoto = nullptr;
    bool m_bExiting = false;
    bool m_exitAfterOpen = false; // asked while a document was being opened
    bool m_sessionEnding = false;
};
