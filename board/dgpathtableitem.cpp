#include "dgpathtableitem.h"

#include "boardtypes.h"
#include "drotateitem.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <cmath>

namespace {

// The smaller of the two scales from the table's units to the pixels it is drawn on.
qreal deviceScale(const QTransform &device)
{
    return std::min(std::hypot(device.m11(), device.m12()), std::hypot(device.m21(), device.m22()));
}

// Straight along the pixel rows and columns (turned by a multiple of 90 degrees at most).
bool axisAligned(const QTransform &device)
{
    return (qFuzzyIsNull(device.m12()) && qFuzzyIsNull(device.m21()))
            || (qFuzzyIsNull(device.m11()) && qFuzzyIsNull(device.m22()));
}

// The grid's pen as drawn: never thinner than a pixel of the device. The pen the table keeps,
// and a document saves, is left as it is.
QPen drawnPen(const QPen &pen, const QTransform &device)
{
    if (pen.isCosmetic() || pen.widthF() * deviceScale(device) >= 1.0)
        return pen;
    QPen thinnest(pen);
    thinnest.setCosmetic(true);
    thinnest.setWidthF(1.0);
    return thinnest;
}

// The toolkit's dashed outline of a selected shape, which the grid, drawn here rather than by
// the toolkit, draws itself.
void paintSelectionOutline(QPainter *painter, const QStyleOptionGraphicsItem *style,
                           const QRectF &bounds, qreal penWidth)
{
    const QRectF onDevice = painter->transform().mapRect(bounds);
    if (std::min(onDevice.width(), onDevice.height()) < 1.0)
        return;
    const QColor ink = style->palette.windowText().color();
    const QColor under(ink.red() > 127 ? 0 : 255, ink.green() > 127 ? 0 : 255,
                       ink.blue() > 127 ? 0 : 255);
    const qreal pad = penWidth / 2;
    const QRectF outline = bounds.adjusted(pad, pad, -pad, -pad);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(under, 0, Qt::SolidLine));
    painter->drawRect(outline);
    painter->setPen(QPen(style->palette.windowText(), 0, Qt::DashLine));
    painter->drawRect(outline);
}

} // namespace

DGPathTableItem::DGPathTableItem(int rows, int cols, QPointF pos, const QPen &pen,
                                 QGraphicsItem *parent)
    : DGPathItem(pos, pen, parent), m_rows(qMax(1, rows)), m_cols(qMax(1, cols))
{
    chooseToolkitCache(); // drawn at the scale shown, it keeps no picture of its own
}

int DGPathTableItem::type() const
{
    return ItemTypeTable;
}

void DGPathTableItem::resetPath()
{
    layOut(boundingRect());
}

void DGPathTableItem::setTableRect(const QRectF &rect)
{
    layOut(rect.normalized());
}

void DGPathTableItem::setRowsColumns(int rows, int cols)
{
    m_rows = qMax(1, rows);
    m_cols = qMax(1, cols);
    layOut(path().boundingRect());
}

void DGPathTableItem::layOut(const QRectF &r)
{
    const qreal header = m_headerHeight;
    m_rowHeight = (r.height() - header) / m_rows;
    m_colWidth = r.width() / m_cols;

    QPainterPath grid;
    grid.addRect(r);
    // Zig-zag: each line starts where the previous one ended, so the pen never jumps back.
    for (int i = 0; i <= m_rows; ++i) {
        const qreal y = r.top() + header + i * m_rowHeight;
        const qreal next = r.top() + header + (i + 1) * m_rowHeight;
        const bool even = i % 2 == 0;
        grid.moveTo(even ? r.left() : r.right(), y);
        grid.lineTo(even ? r.right() : r.left(), y);
        if (i < m_rows)
            grid.moveTo(even ? r.right() : r.left(), next);
    }
    const qreal top = r.top() + header;
    for (int j = 0; j <= m_cols; ++j) {
        const qreal x = r.left() + j * m_colWidth;
        const qreal next = r.left() + (j + 1) * m_colWidth;
        const bool even = j % 2 == 0;
        grid.moveTo(x, even ? top : r.bottom());
        grid.lineTo(x, even ? r.bottom() : top);
        if (j < m_cols)
            grid.moveTo(next, even ? r.bottom() : top);
    }
    setPath(grid);
}

void DGPathTableItem::paintContent(QPainter *painter, const QStyleOptionGraphicsItem *style,
                                   QWidget *)
{
    const QTransform device = painter->worldTransform();
    painter->save();
    // Lines along the pixels need no smoothing, which would spread a thin line over two faint
    // rows.
    painter->setRenderHint(QPainter::Antialiasing, !axisAligned(device));
    painter->setPen(drawnPen(pen(), device));
    painter->setBrush(brush());
    painter->drawPath(path());
    if (style->state & QStyle::State_Selected)
        paintSelectionOutline(painter, style, boundingRect(), pen().widthF());
    painter->restore();
}

DGPathTableItem *DGPathTableItem::clone() const
{
    auto *copy = new DGPathTableItem(m_rows, m_cols, pos(), pen(), parentItem());
    copyTransformInto(copy);
    copy->m_headerHeight = m_headerHeight;
    copy->m_rowHeight = m_rowHeight;
    copy->m_colWidth = m_colWidth;
    copy->setPos(pos());
    copy->setScale(scale());
    if (scale() > 0 && copy->madeRotateItem())
        copy->madeRotateItem()->setScale(1.0 / scale());
    copy->setBrush(brush());
    return copy;
}
