#pragma once

#include <QDialog>

// The base of every pop-up palette of the main toolbar. The toolbar opens a palette above or
// below itself and asks it first to show the decoration row (a small arrow) that points back at
// the toolbar; a palette without such rows overrides both operations with empty bodies.
//
// No Q_OBJECT on purpose: the base adds no signals or slots, and the palettes' own meta-objects
// derive straight from QDialog's.
class WidgetMenu : public QDialog
{
public:
    explicit WidgetMenu(QWidget *parent = nullptr);
    ~WidgetMenu() override;

    // The palette opens below the toolbar: show the top row, hide the bottom one.
    virtual void setTopLabel();
    // The palette opens above the toolbar: show the bottom row, hide the top one. The name's
    // spelling is kept: the toolbar and every palette call it by this name.
    virtual void setBottonLabel();
};
