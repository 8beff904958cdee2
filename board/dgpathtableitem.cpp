#include "dgpathtableitem.h"

#include "boardtypes.h"
#include "drotateitem.h"
#include "itemplacement.h"

#include <QPaintDevice>
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

// Cuts the segment a-b to rect (Liang and Barsky); false when none of it lies inside.
bool clipSegment(QPointF *a, QPointF *b, const QRectF &rect)
{
    const QPointF from = *a;
    const QPointF delta = *b - from;
    const qreal towards[4] = { -delta.x(), delta.x(), -delta.y(), delta.y() };
    const qreal room[4] = { from.x() - rect.left(), rect.right() - from.x(),
                            from.y() - rect.top(), rect.bottom() - from.y() };
    qreal enter = 0;
    qreal leave = 1;
    for (int side = 0; side < 4; ++side) {
        if (towards[side] == 0) {
            if (room[side] < 0)
                return false;
            continue;
        }
        const qreal t = room[side] / towards[side];
        if (towards[side] < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
        if (enter > leave)
            return false;
    }
    if (enter > 0)
        *a = from + delta * enter;
    if (leave < 1)
        *b = from + delta * leave;
    return true;
}

// The grid's lines cut to rect, each run of them that stays inside one polyline, its corners
// keeping their joins; a line wholly inside is kept as it is.
QVector<QPolygonF> linesWithin(const QPainterPath &grid, const QRectF &rect)
{
    QVector<QPolygonF> runs;
    for (const QPolygonF &line : grid.toSubpathPolygons()) {
        const int segments = line.size() - 1;
        if (segments < 1)
            continue;
        const auto outside = std::find_if(line.cbegin(), line.cend(), [&rect](const QPointF &p) {
            return !rect.contains(p);
        });
        if (outside == line.cend()) {
            runs << line;
            continue;
        }
        // A closed outline is walked from a corner out of sight, so that no corner in sight
        // falls between the first run and the last.
        const bool closed = segments > 1 && line.first() == line.last();
        const int start = closed ? int(outside - line.cbegin()) % segments : 0;
        QPolygonF run;
        for (int j = 0; j < segments; ++j) {
            const int k = closed ? (start + j) % segments : j;
            QPointF a = line.at(k);
            QPointF b = line.at(k + 1);
            if (!clipSegment(&a, &b, rect))
                continue;
            if (run.isEmpty() || run.last() != a || a != line.at(k)) {
                if (run.size() > 1)
                    runs << run;
                run = QPolygonF();
                run << a;
            }
            run << b;
        }
        if (run.size() > 1)
            runs << run;
    }
    return runs;
}

// The grid as it may be drawn in parts: a line whose ends lie on lines across it, inside their
// ink, drawn on its own with flat ends covers what it covered; the rest (the border and the lines
// along it) is drawn as one, since the toolkit adds up the shares of an edge pixel that two
// outlines drawn apart both cover.
struct GridParts
{
    QPainterPath together;
    QVector<QLineF> apart;
};

GridParts gridParts(const QPainterPath &grid, qreal penWidth)
{
    const QList<QPolygonF> lines = grid.toSubpathPolygons();
    QVector<QLineF> segments;
    for (const QPolygonF &line : lines) {
        for (int i = 1; i < line.size(); ++i)
            segments << QLineF(line.at(i - 1), line.at(i));
    }
    const auto endsAcross = [&segments, penWidth](const QLineF &line, const QPointF &end) {
        const QPointF along = line.p2() - line.p1();
        return std::any_of(segments.cbegin(), segments.cend(), [&](const QLineF &other) {
            const QPointF across = other.p2() - other.p1();
            const qreal length = std::hypot(across.x(), across.y());
            if (length <= penWidth || std::abs(QPointF::dotProduct(along, across))
                        > 1e-9 * length * std::hypot(along.x(), along.y()))
                return false;
            const QPointF from = end - other.p1();
            const qreal off = (from.x() * across.y() - from.y() * across.x()) / length;
            const qreal at = QPointF::dotProduct(from, across) / length;
            return std::abs(off) < 1e-9 * length && at >= penWidth / 2
                    && at <= length - penWidth / 2;
        });
    };
    GridParts parts;
    for (const QPolygonF &line : lines) {
        if (line.size() == 2 && line.first() != line.last()
            && endsAcross(QLineF(line.first(), line.last()), line.first())
            && endsAcross(QLineF(line.first(), line.last()), line.last())) {
            parts.apart << QLineF(line.first(), line.last());
            continue;
        }
        parts.together.moveTo(line.first());
        for (int i = 1; i < line.size(); ++i)
            parts.together.lineTo(line.at(i));
    }
    return parts;
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
    const QPen drawn = painter->pen();
    // Smoothed, the toolkit strokes the whole grid as one outline, at a cost that grows with
    // the size shown however little of it is in sight (a turned table a screen large took
    // 20 to 70 ms, near the ceiling a tenth of a second): it is drawn in parts where that
    // changes nothing, and only what lies on the device. A dash cut short would start its
    // pattern afresh.
    if (!painter->testRenderHint(QPainter::Antialiasing) || drawn.style() != Qt::SolidLine
        || !device.isInvertible()) {
        painter->drawPath(path());
    } else {
        if (brush().style() != Qt::NoBrush)
            painter->fillPath(path(), brush());
        painter->setBrush(Qt::NoBrush);
        // What lies on the device, and a pen's reach beyond it where the cut ends and their
        // caps fall out of sight; nothing is cut from a grid the device holds whole.
        const QPaintDevice *target = painter->device();
        const int targetType = target ? target->devType() : 0;
        const QRectF deviceRect = targetType == QInternal::Widget
                        || targetType == QInternal::Pixmap || targetType == QInternal::Image
                ? QRectF(0, 0, target->width(), target->height())
                : QRectF();
        const qreal reach =
                2 * drawn.widthF() * (drawn.isCosmetic() ? 1 : deviceScale(device)) + 2;
        const bool cut = !deviceRect.isEmpty()
                && !deviceRect.adjusted(-reach, -reach, reach, reach)
                            .contains(device.mapRect(path().boundingRect()));
        const qreal margin = reach / deviceScale(device);
        const QRectF seen = cut ? device.inverted().mapRect(deviceRect).adjusted(
                                          -margin, -margin, margin, margin)
                                : QRectF();
        // A pen that lets the page through would show twice where lines drawn apart cross.
        GridParts parts;
        if (drawn.color().alpha() == 255 && !drawn.isCosmetic())
            parts = gridParts(path(), drawn.widthF());
        else
            parts.together = path();
        if (cut) {
            QPainterPath together;
            for (const QPolygonF &run : linesWithin(parts.together, seen)) {
                together.moveTo(run.first());
                for (int i = 1; i < run.size(); ++i)
                    together.lineTo(run.at(i));
            }
            parts.together = together;
        }
        painter->drawPath(parts.together);
        QPen flat = drawn;
        flat.setCapStyle(Qt::FlatCap);
        painter->setPen(flat);
        for (QLineF line : qAsConst(parts.apart)) {
            QPointF from = line.p1();
            QPointF to = line.p2();
            if (!cut || clipSegment(&from, &to, seen))
                painter->drawLine(from, to);
        }
    }
    // The grid is drawn here rather than by the toolkit, and so is its outline.
    if (style->state & QStyle::State_Selected)
        ItemPlacement::paintSelectionOutline(painter, style, boundingRect(), pen().widthF());
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
