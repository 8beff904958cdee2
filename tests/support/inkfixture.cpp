#include "inkfixture.h"

#include "board/dcustomitem.h"
#include "board/dpage.h"
#include "board/dview.h"

#include <QCoreApplication>
#include <QGraphicsItem>

#include <algorithm>

namespace InkFixture {

void chooseTool(DView *view, int tool)
{
    view->m_penType[0] = tool;
    const bool pen = tool >= 50 && tool <= 69;
    view->setDragMode(QGraphicsView::NoDrag);
    view->setVisibleScribbleArea(pen);
    QCoreApplication::processEvents();
}

QVector<QPoint> line(QPoint from, QPoint to, int count)
{
    QVector<QPoint> points;
    for (int i = 0; i <= count; ++i)
        points << from + (to - from) * i / count;
    return points;
}

QList<QGraphicsItem *> boardObjects(DPage *page)
{
    QList<QGraphicsItem *> objects;
    for (QGraphicsItem *item : page->items(Qt::AscendingOrder)) {
        if (!item->parentItem() && DCustomItem::fromItem(item) && item->isVisible())
            objects << item;
    }
    std::stable_sort(objects.begin(), objects.end(),
                     [](QGraphicsItem *a, QGraphicsItem *b) { return a->zValue() < b->zValue(); });
    return objects;
}

} // namespace InkFixture
