#include "shapefill.h"

#include "boardtypes.h"

#include <QLinearGradient>
#include <QPixmap>

#include <cmath>

namespace ShapeFill {

short itemFillFor(short fillKind)
{
    switch (fillKind) {
    case FillSolid:
        return ItemFillSolid;
    case FillGradient:
        return ItemFillGradient;
    case FillImage:
    case FillPattern:
        return ItemFillTexture;
    default:
        return ItemFillNone;
    }
}

Fill forShape(short fillKind, const QColor &fillColour, const QColor &outlineColour, qreal height,
              const QString &fileName)
{
    Fill fill;
    if (fillColour.alpha() != 0 && fillKind == FillSolid) {
        fill.changes = true;
        fill.itemFillType = ItemFillSolid;
        fill.brush = QBrush(fillColour, Qt::SolidPattern);
        return fill;
    }
    switch (fillKind) {
    case FillGradient: {
        // From the press point (0, 0) downward, whichever way the shape was dragged.
        QLinearGradient gradient(0, 0, 0, std::isfinite(height) ? height : 0.0);
        gradient.setColorAt(1.0, outlineColour);
        gradient.setColorAt(0.0, fillColour);
        fill.changes = true;
        fill.itemFillType = ItemFillGradient;
        fill.brush = QBrush(gradient);
        break;
    }
    case FillImage:
    case FillPattern:
        fill.changes = true;
        fill.itemFillType = ItemFillTexture;
        fill.fileName = fileName;
        fill.brush = QBrush(QPixmap(fileName));
        break;
    default:
        break;
    }
    return fill;
}

} // namespace ShapeFill
