#pragma once

#include <QPoint>
#include <QString>

class QMouseEvent;
class QPushButton;
class QWidget;

// What the magnifier and the spotlight share: a widget twice the board's size laid over it,
// dragged so that its centre stays over the board, with a row of buttons that stays at the
// board's bottom-right corner wherever the gadget is dragged.
namespace BoardGadget {

// A gadget button (GadgetButton::make) whose top-left stays dx, dy up and left of the board's
// bottom-right corner, placed there now.
QPushButton *makeCornerButton(QWidget *gadget, const QString &iconPath, int dx, int dy);
// Every corner button of gadget put back at its place after the gadget moved; the row goes up
// as far as needed to leave the board's own controls (the recycle bin, the toolbars, the
// clock, another gadget's buttons) uncovered.
void placeCornerButtons(QWidget *gadget);

// A left press starts a drag: dragOffset takes the press's distance from the gadget's corner.
void startDrag(QWidget *gadget, QMouseEvent *event, QPoint &dragOffset);
// While the left button is held, the gadget follows the pointer with its centre kept over the
// board and its corner buttons kept still; false (nothing done) without the left button.
bool dragTo(QWidget *gadget, QMouseEvent *event, const QPoint &dragOffset);

} // namespace BoardGadget
