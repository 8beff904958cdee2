#pragma once

#include <QString>

class QPushButton;
class QWidget;

// The square icon buttons that the gadgets laid over the board (spotlight, curtain, magnifier)
// share: one maker and one pair of looks, so the rows of buttons read alike on every gadget.
namespace GadgetButton {

// Grey at rest, lighter under the mouse. Written with plain rgb(): Qt 5.15's style-sheet parser
// rejects a doubled "rgbrgb(" and the button would lose its background.
inline constexpr char kNormalStyle[] =
        "QPushButton {background-color: rgb(180, 180, 180);border-radius:3px;}"
        "QPushButton:hover{background-color: rgb(210, 210, 210);border-radius:3px;}";
// The chosen one of a group of buttons (the spotlight's hole shapes).
inline constexpr char kSelectedStyle[] =
        "QPushButton {background-color: rgb(0, 150, 255);border-radius:3px;}"
        "QPushButton:hover{background-color: rgb(210, 210, 210);border-radius:3px;}";

constexpr int kSide = 40;
constexpr int kIconSide = 30;

// A 40 x 40 button with a 30 x 30 icon (none for an empty path) and no text, child of parent.
QPushButton *make(QWidget *parent, const QString &iconPath);

} // namespace GadgetButton
