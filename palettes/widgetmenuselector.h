#pragma once

#include "shell/btmenus.h"
#include "widgetmenu.h"

class Ui_WidgetMenuSelector;

// The file menu of the main toolbar: a column of text buttons with four pages (main, languages,
// export formats, interface styles) that replace one another inside the same palette.
class WidgetMenuSelector : public WidgetMenu
{
    Q_OBJECT
public:
    enum eSize {
        szPrincipal = 0,
        szLng = 1,
        szFormatFile = 2,
        szInterface = 3,
    };

    explicit WidgetMenuSelector(QWidget *parent = nullptr);
    ~WidgetMenuSelector() override;

    void setTopLabel() override;
    void setBottonLabel() override;

    // Back to the main page at its own height; the toolbar calls it whenever it closes palettes.
    void restarMenu();
    void changeSize(WidgetMenuSelector::eSize size);
    void setVisiblePrincipal(bool visible);
    void setVisibleLng(bool visible);
    void setVisibleFormatFile(bool visible);
    void setVisibleInterface(bool visible);

    eSize currentSize() const { return m_curSize; }
    bool opensBelowToolbar() const { return m_bTopLabel == 1; }

signals:
    // Bare type names, so the text signatures read "buttonClicked(btType)" as the shell's do.
    void buttonClicked(btType bt);
    void changeInterface(eInterfaceMode mode);

private slots:
    void on_newFile_clicked();
    void on_openFile_clicked();
    void on_saveFile_clicked();
    void on_saveAsFile_clicked();
    void on_exportFile_clicked();
    void on_language_clicked();
    void on_interfaces_clicked();
    void on_settings_clicked();
    void on_multiuser_clicked();
    void on_exit_clicked();
    void on_backLng_clicked();
    void on_pdffile_clicked();
    void on_bmpfile_clicked();
    void on_jpgfile_clicked();
    void on_pngfile_clicked();
    void on_tifffile_clicked();
    void on_english_clicked();
    void on_spanish_clicked();
    void on_russian_clicked();
    void on_portuguese_clicked();
    void on_french_clicked();
    void on_german_clicked();
    void on_standard_clicked();
    void on_kids_clicked();
    void on_classic_clicked();

private:
    void emitAndHide(BtMenus::btType command);
    void emitBackAndHide(BtMenus::btType command);
    void setPageVisible(int page, bool visible);

    Ui_WidgetMenuSelector *ui;
    eSize m_curSize =
            szPrincipal; // the sub-page switched to last; leaving to the main page keeps it
    int m_bTopLabel = 1; // 1 while opened below the toolbar, 0 while above it
};
