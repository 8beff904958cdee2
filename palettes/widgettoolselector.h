#pragma once

#include "shell/btmenus.h"
#include "widgetmenu.h"

class Ui_WidgetToolSelector;

// The classroom tools palette: a grid of icon buttons that start the tools laid over the board.
// It keeps no selection; each click sends its command and closes the palette.
class WidgetToolSelector : public WidgetMenu
{
    Q_OBJECT
public:
    explicit WidgetToolSelector(QWidget *parent = nullptr);
    ~WidgetToolSelector() override;

    void setTopLabel() override;
    void setBottonLabel() override;

signals:
    void buttonClicked(btType bt);

private slots:
    void on_curtain_clicked();
    void on_searchLight_clicked();
    void on_calculator_clicked();
    void on_capture_clicked();
    void on_magnifier_clicked();
    void on_ruler_clicked();
    void on_triangleRuler_clicked();
    void on_compass_clicked();
    void on_portractor_clicked();
    void on_clock_clicked();
    void on_share_clicked();
    void on_keyboard_clicked();
    void on_browser_clicked();
    void on_activities_clicked();
    void on_recorder_clicked();
    void on_playRecorder_clicked();
    void on_stopRecorder_clicked();

private:
    void emitAndHide(BtMenus::btType tool);

    Ui_WidgetToolSelector *ui;
};
