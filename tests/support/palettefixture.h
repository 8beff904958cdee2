#pragma once

#include <QColor>
#include <QImage>
#include <QPen>
#include <QStringList>

#include <memory>

class QGraphicsScene;
class QWidget;

// Helpers shared by the palette tests.
namespace PaletteFixture {

// The designer-style slots on_<name>_clicked of widget's own class whose button <name> is
// missing (a slot that can never be reached); count receives how many such slots there are.
QStringList slotsWithoutButton(const QWidget *widget, int *count = nullptr);

// Object names of the buttons (any QAbstractButton) of palette that are visible in it, in
// creation order.
QStringList visibleButtons(const QWidget *palette);

// Clicks the named button the way a user does; fails the test if it is absent or not visible.
// Returns false when the caller should stop (the failure is already recorded).
bool click(QWidget *palette, const QString &name);

// The widget drawn into an image with a transparent background.
QImage grab(QWidget *widget);

// Colour of a button's style-sheet background as it is drawn (middle of the button).
QColor drawnBackground(QWidget *button);

// The pen of the one line a palette's preview scene shows; no pen unless there is exactly one.
QPen previewPen(const QGraphicsScene *scene);

// Answers the next colour dialog by cancelling it, after noting in initial the colour it
// started on. The flag turns true once answered.
std::shared_ptr<bool> cancelColourDialog(QColor *initial);
// Answers the next colour dialog by choosing colour.
std::shared_ptr<bool> chooseColour(const QColor &colour);

} // namespace PaletteFixture
