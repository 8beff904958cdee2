#include "dgpathtableitem.h"

#include "boardtypes.h"
#include "drotateitem.h"

DGPathTableItem::DGPathTableItem(int rows, int cols, QPointF pos, const QPen &pen,
                                 QGraphicsItem *parent)
    : DGPathItem(pos, pen, parent), m_rows(qMax(1, rows)), m_cols(qMax(1, cols))
{
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
