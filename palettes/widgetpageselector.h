#pragma once

#include "buttonmark.h"
#include "shell/btmenus.h"
#include "widgetmenu.h"

#include <QColor>

class QFont;
class QPushButton;
class Ui_WidgetPageSelector;

// The page palette: new pages of four kinds, clear and delete, page dragging and its return,
// zoom with the current percentage, and the page's background colour.
class WidgetPageSelector : public WidgetMenu
{
    Q_OBJECT
public:
    explicit WidgetPageSelector(QWidget *parent = nullptr);
    ~WidgetPageSelector() override;

    void setTopLabel() override;
    void setBottonLabel() override;

    // Null clears the mark whatever force says; force re-applies the mark on the marked button.
    void selectPageButton(QPushButton *button, bool force);
    QPushButton *selectedButton() const { return m_mark.selected(); }

signals:
    void buttonClicked(btType bt);
    void colorClicked(QColor color);

public slots:
    // zoom is the view's total zoom factor, 1.0 for the unzoomed page.
    void updateExample(float zoom);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void on_baZoomIn_clicked();
    void on_baZoomOut_clicked();
    void on_baDragPage_clicked();
    void on_baMoveBackPage_clicked();
    void on_baColorPage_clicked();
    void on_baImagePage_clicked();
    void on_baCapturePage_clicked();
    void on_baTransparentPage_clicked();
    void on_baCleanPage_clicked();
    void on_baDelPage_clicked();
    void on_pushButton_clicked();
    void on_redcolor_clicked();
    void on_orangecolor_clicked();
    void on_yellowcolor_clicked();
    void on_pinkcolor_clicked();
    void on_greencolor_clicked();
    void on_forestcolor_clicked();
    void on_purplecolor_clicked();
    void on_skycolor_clicked();
    void on_bluecolor_clicked();
    void on_blackcolor_clicked();
    void on_greycolor_clicked();
    void on_whitecolor_clicked();

private:
    void showZoomText(const QString &text);
    void centreInkVertically(const QFont &face);
    void swatchClicked(const char *name);

    Ui_WidgetPageSelector *ui;
    ButtonMark<QPushButton> m_mark{ "QPushButton" };
};
