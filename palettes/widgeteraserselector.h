#pragma once

#include "buttonmark.h"
#include "shell/btmenus.h"
#include "widgetmenu.h"

class QPushButton;
class Ui_WidgetEraserSelector;

// The eraser palette: clear the page, the point eraser (kept but not offered) and the object
// eraser. Opening it while another tool is active switches the board to the eraser at once.
class WidgetEraserSelector : public WidgetMenu
{
    Q_OBJECT
public:
    explicit WidgetEraserSelector(QWidget *parent = nullptr);
    ~WidgetEraserSelector() override;

    void setTopLabel() override;
    void setBottonLabel() override;

    void selectErsButton(QPushButton *button, bool force);
    QPushButton *selectedButton() const { return m_mark.selected(); }

signals:
    void buttonClicked(btType bt);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void on_pageeraser_clicked();
    void on_bitmaperaser_clicked();
    void on_objecteraser_clicked();

private:
    QPushButton *eraserButton(BtMenus::btType eraser) const;

    Ui_WidgetEraserSelector *ui;
    // Starts unmarked: the first opening marks the eraser that is really active.
    ButtonMark<QPushButton> m_mark{ "QPushButton" };
    const BtMenus::btType m_lastEraser = BtMenus::btObjectEraser; // re-selected on opening
};
