#pragma once

#include "dgpathitem.h"

// A table drawn with the table tool (type 4): one header band across the top, then a grid of
// rows and columns, all one path.
class DGPathTableItem : public DGPathItem
{
    Q_OBJECT
public:
    DGPathTableItem(int rows, int cols, QPointF pos, const QPen &pen, QGraphicsItem *parent);
    int type() const override;
    // Turns the current path's bounds (grown by the pen width) into the table's grid.
    void resetPath();
    // Lays the grid out exactly over rect, as a document gives it: what was written is read.
    void setTableRect(const QRectF &rect);
    // A new count of rows and columns re-lays the grid over the table's present rectangle.
    void setRowsColumns(int rows, int cols);
    DGPathTableItem *clone() const;

    int m_headerHeight = 20;
    int m_rows;
    int m_cols;
    double m_rowHeight = 0;
    double m_colWidth = 0;

protected:
    // One-unit lines in a picture kept at one pixel per unit drop out when the board is zoomed
    // out or the page is shrunk into a thumbnail: the grid is drawn at the scale it is shown.
    bool keepsPicture() const override { return false; }
    void paintContent(QPainter *painter, const QStyleOptionGraphicsItem *style,
                      QWidget *widget) override;

private:
    void layOut(const QRectF &r);
};
