#pragma once

#include <QSize>

class QWidget;

// Many forms give their buttons and labels a fixed size, chosen for the Spanish texts at one
// font. A longer translation, or a larger system font, would then be cut ("Fondo Gradi",
// ":olumnas", "1…0"). These functions give such a widget a smaller font until its text fits.
namespace TextFit {

// Fonts are never made smaller than this: below it a text is no longer readable.
constexpr qreal kSmallestPointSize = 6.0;

// How much wider and higher the text of a button, tool button, label or combo box would need
// its widget to be (0 by 0 when it fits, and for any other widget or one without text).
QSize shortfall(const QWidget *widget);

// Gives every widget under root (root included) whose text does not fit a smaller font, one
// step at a time down to kSmallestPointSize, laying root out again between steps.
void fit(QWidget *root);

// For a widget whose text changes while it is shown (a page counter): back to the font it
// inherits, then smaller only as far as the new text needs.
void refit(QWidget *widget);

// Runs fit() on every window, and on every widget shown on its own (a palette), each time it
// is shown. Installed once for the application; later calls do nothing.
void installForApplication();

} // namespace TextFit
