// The page's fills: the shape palette's fill on the shape being drawn, the bucket fill, and
// the recolouring of selected objects.

#include "dpage.h"

#include "boardtypes.h"
#include "dgpathcurveitem.h"
#include "dview.h"
#include "floodfill.h"
#include "shapefill.h"
#include "shapegeometry.h"

#include <QColorDialog>

namespace {

// The colour the dialog ends on, or an invalid colour when it was cancelled.
QColor askColour(QWidget *parent, const QColor &initial)
{
    QColorDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return QColor();
    return dialog.selectedColor();
}

} // namespace

void DPage::fillFigure()
{
    auto *shape = DGPathItem::pathObject(m_pDrawItem);
    if (!shape)
        return;
    const ShapeFill::Fill fill =
            ShapeFill::forShape(m_view->getFillType(), m_view->getShapeFillPen().color(),
                                m_view->getShapePen().color(), m_view->getFillFileName());
    if (!fill.changes)
        return;
    // Polygons take the brush but keep no fill kind of their own.
    if (shape->type() == ItemTypePath)
        static_cast<DGPathCurveItem *>(shape)->m_fillType = fill.itemFillType;
    if (fill.itemFillType == ItemFillTexture)
        shape->setFillFileName(fill.fileName);
    else
        shape->setGradColor(m_view->getShapeFillPen().color()); // the colour a save writes
    shape->setBrush(fill.brush);
}

QImage DPage::FillShapeArea(QImage imagesource, QPoint seed, QColor color, QPoint *pposimage)
{
    return FloodFill::fill(imagesource, seed, color, pposimage);
}

double DPage::shortest_distance(QPointF p, QLineF line)
{
    return ShapeGeometry::shortestDistance(p, line);
}

void DPage::editFillColor()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.isEmpty())
        return;
    const QColor colour = askColour(m_view, Qt::blue);
    if (!colour.isValid())
        return;
    QList<QGraphicsItem *> changed;
    for (QGraphicsItem *item : selection) {
        if (item->type() != ItemTypePath)
            continue;
        auto *shape = dynamic_cast<DGPathCurveItem *>(item);
        if (!shape || !shape->couldFilled())
            continue;
        // The pen is set to itself so that the command's earlier pen is the current one.
        shape->setPen(shape->pen());
        shape->setBrush(QBrush(colour, Qt::SolidPattern));
        shape->setGradColor(colour);
        shape->m_fillType = colour.alpha() != 0 ? ItemFillSolid : ItemFillNone;
        changed << item;
    }
    if (!changed.isEmpty())
        recordOperation(BtMenus::stColor, changed, nullptr);
}

void DPage::editBoderColor()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.isEmpty())
        return;
    const QColor chosen = askColour(m_view, Qt::black);
    if (!chosen.isValid())
        return;
    QList<QGraphicsItem *> changed;
    for (QGraphicsItem *item : selection) {
        DGPathItem *path = DGPathItem::pathObject(item);
        if (!path)
            continue;
        QPen pen = path->pen();
        QColor colour = chosen;
        // Highlighter ink stays see-through; each object keeps its own kind of ink.
        if (pen.color().alpha() == 100)
            colour.setAlpha(100);
        pen.setColor(colour);
        path->setBrush(path->brush()); // the command's earlier brush is the current one
        path->setPen(pen);
        changed << item;
    }
    if (!changed.isEmpty())
        recordOperation(BtMenus::stColor, changed, nullptr);
}
