#pragma once

#include <QColor>
#include <QFrame>
#include <QSize>
#include <QString>

class DSliderControl;
class QGraphicsScene;
class QGraphicsView;
class QPen;
class QPushButton;
class QWidget;

// What every colour palette shares: the twelve swatches and the style sheets that draw them and
// mark a selected button.
namespace PaletteStyle {

struct Swatch
{
    const char *objectName; // the swatch button; a second set in one palette adds "_2"
    int red;
    int green;
    int blue;
    int row; // place in the 4 x 3 grid
    int column;
};

// clang-format off
inline constexpr Swatch kSwatches[] = {
    { "redcolor",    240,   0,   0, 0, 0 },
    { "orangecolor", 240, 120,   0, 0, 1 },
    { "yellowcolor", 240, 240,   0, 0, 2 },
    { "pinkcolor",   240,   0, 180, 1, 0 },
    { "greencolor",    0, 240,   0, 1, 1 },
    { "forestcolor",  60, 180,  60, 1, 2 },
    { "purplecolor", 120,   0, 240, 2, 0 },
    { "skycolor",      0, 120, 240, 2, 1 },
    { "bluecolor",     0,   0, 240, 2, 2 },
    { "blackcolor",    0,   0,   0, 3, 0 },
    { "greycolor",   127, 127, 127, 3, 1 },
    { "whitecolor",  255, 255, 255, 3, 2 },
};
// clang-format on
inline constexpr int kSwatchCount = int(sizeof(kSwatches) / sizeof(kSwatches[0]));

inline QColor swatchColour(const Swatch &swatch)
{
    return QColor(swatch.red, swatch.green, swatch.blue, 255);
}
// The swatch whose object name (without a "_2" suffix) is name; null when there is none.
const Swatch *swatchNamed(const QString &name);
// The colour of a swatch the caller knows to be in the table.
inline QColor swatchColourNamed(const char *name)
{
    return swatchColour(*swatchNamed(QLatin1String(name)));
}

// The sheet of a swatch button: its colour, and a light border while hovered.
QString swatchSheet(const QColor &colour);
// The sheet that marks the selected button of a group; selector is "QPushButton" or
// "QToolButton".
QString markSheet(const char *selector);

// A grid of the twelve swatches (fixed size each) in a new widget named gridName; the swatches
// are named after the table plus suffix, so designer-style slots find them by name.
QWidget *makeSwatchGrid(QWidget *parent, const QString &gridName, const QString &suffix,
                        QSize swatchSize, int spacing);

// A decoration row holding one centred arrow label, at most 20 px high (or exactly, when fixed).
QWidget *makeDecorationRow(QWidget *parent, const QString &rowName, const QString &labelName,
                           const QString &pixmap, bool fixedHeight = false);

// The grey command buttons of the dark palettes (rgb 180, lighter while hovered).
QString commandButtonSheet();
// A fixed-size button showing only an icon of the same size; the tool tip is translated in the
// palette's context.
QPushButton *makeIconButton(QWidget *parent, const char *objectName, const char *icon,
                            const char *context, const char *toolTip, QSize size);
// The dark, slightly translucent body of a palette (background rgba 58, 58, 58, 240).
QString panelSheet(const QString &objectName);

// An empty named box, of a fixed size when size is valid.
QWidget *makeBox(QWidget *parent, const char *name, QSize size = QSize());
// A sunken separator line with an optional sheet of its own.
QFrame *makeLine(QWidget *parent, const char *name, QFrame::Shape shape,
                 const QString &sheet = QString());

// The sheet of the icon buttons drawn on the palette body itself (line styles, pens, shapes):
// transparent at rest, light grey while hovered.
QString flatButtonSheet(const QString &objectName);
// A fixed-size, flat icon button (flatButtonSheet); the tool tip is translated in context.
QPushButton *makeFlatButton(QWidget *parent, const char *objectName, const char *icon,
                            const char *context, const char *toolTip, QSize size, QSize iconSize);

// The width row of the pen and shape palettes: the slider "horizontalSlider" and, in the white
// box "widget_17", the preview view "penexample" that shows a stroke in the current pen. Texts
// come translated: each palette keeps them in its own context.
struct WidthRow
{
    QWidget *row;
    DSliderControl *slider;
    QGraphicsView *preview;
};
WidthRow makeWidthRow(QWidget *parent, const char *rowName, QSize rowSize, int previewHeight,
                      const QString &sliderToolTip);
// The preview's one stroke, drawn afresh in pen.
void showPenPreview(QGraphicsScene *scene, const QPen &pen);

// The colour column "widget_6" of the pen, shape and page palettes: the swatch grid "widget_7"
// above the "Más colores" button "pushButton" in "widget_8".
struct ColourColumnLook
{
    QSize column;
    int spacing; // between the grid and the button, and between the swatches
    QSize swatch;
    QSize grid;
};
QWidget *makeColourColumn(QWidget *parent, const ColourColumnLook &look,
                          const QString &moreColoursText);

// The "Más colores" dialog's answer is used only when it is a valid colour: a cancelled dialog
// gives an invalid one, and sending that on would paint with black.
inline bool isChosen(const QColor &colour)
{
    return colour != QColor();
}

} // namespace PaletteStyle
