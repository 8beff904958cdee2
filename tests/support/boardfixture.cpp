#include "boardfixture.h"

#include "board/dgpathcurveitem.h"
#include "board/dgpathvertexitem.h"
#include "board/dpage.h"
#include "board/drotateitem.h"
#include "board/drotateitembutton.h"
#include "board/drotateitemfocus.h"
#include "board/dview.h"

#include <QGraphicsSceneMouseEvent>
#include <QPainter>

#include <algorithm>
#include <QRandomGenerator>
#include <QTest>

namespace BoardFixture {

Board::Board(int pageCount) : m_window(std::make_unique<QWidget>())
{
    m_window->setFixedSize(kBoardWidth, kBoardHeight);
    m_view = new DView(m_window.get());
    m_window->show();
    for (int i = 0; i < pageCount; ++i)
        newPage();
    selectPage(0);
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("board window not exposed");
}

Board::~Board()
{
    m_view->setScene(nullptr);
    qDeleteAll(m_pages);
}

DPage *Board::newPage(int pageType)
{
    auto *page = new DPage(m_view, m_window.get());
    if (pageType == 3) {
        page->setPageType(3);
        page->setTransparent(true);
        page->setBackgroundBrush(QBrush(QColor(0, 0, 0, 0)));
    } else {
        page->setPageBackgroundColor(Qt::white);
    }
    m_pages << page;
    return page;
}

DPage *Board::current() const
{
    return m_view->page();
}

void Board::selectPage(int index)
{
    if (DPage *leaving = current())
        leaving->saveCurPos();
    DPage *shown = m_pages.at(index);
    m_view->setScene(shown);
    shown->moveToPos();
    shown->zoomToScale();
}

RectObject::RectObject(const QRectF &rect, int type) : QGraphicsRectItem(rect), m_type(type)
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    setBrush(Qt::blue);
    setFrameOwner(this);
    connect(rotateItem()->m_focus, &DRotateItemFocus::pressBt, this, &RectObject::saveTransform);
}

void RectObject::lock(bool locked)
{
    setFlag(ItemIsMovable, !locked);
    showLockState(locked);
}

bool RectObject::isLocked() const
{
    return !(flags() & ItemIsMovable);
}

void RectObject::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    QGraphicsRectItem::paint(painter, option, widget);
    const bool standalone = !parentItem() || parentItem()->type() != 10;
    paintRotateItem(boundingRect(), scale(), isLocked(), standalone, isSelected());
}

void RectObject::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_pressPos = pos();
    QGraphicsRectItem::mousePressEvent(event);
}

void RectObject::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    m_bMoved = true;
    QGraphicsRectItem::mouseMoveEvent(event);
}

void RectObject::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_bMoved)
        emit releaseBt(QPoint(int(event->scenePos().x()), int(event->scenePos().y())),
                       BtMenus::stMove);
    QGraphicsRectItem::mouseReleaseEvent(event);
}

RectObject *addRect(DPage *page, const QRectF &rect, const QPointF &pos)
{
    auto *object = new RectObject(rect);
    object->setPos(pos);
    object->m_pressPos = pos;
    QObject::connect(object, &RectObject::releaseBt, page, &DPage::isValidRelease);
    QObject::connect(object->rotateItem()->m_focus, &DRotateItemFocus::releaseBt, page,
                     &DPage::isValidRelease);
    QObject::connect(object->rotateItem()->m_btPageLink, &DRotateItemButton::releaseBt, page,
                     &DPage::isValidRelease);
    QObject::connect(object->rotateItem()->m_btLock, &DRotateItemButton::releaseBt, page,
                     &DPage::isValidRelease);
    page->addItem(object);
    return object;
}

template <typename Object> void connectReleases(DPage *page, Object *object)
{
    QObject::connect(object, &Object::releaseBt, page, &DPage::isValidRelease);
    QObject::connect(object->rotateItem()->m_focus, &DRotateItemFocus::releaseBt, page,
                     &DPage::isValidRelease);
    QObject::connect(object->rotateItem()->m_btPageLink, &DRotateItemButton::releaseBt, page,
                     &DPage::isValidRelease);
    QObject::connect(object->rotateItem()->m_btLock, &DRotateItemButton::releaseBt, page,
                     &DPage::isValidRelease);
}

DGPathCurveItem *addCurve(DPage *page, const QPainterPath &path, const QPointF &pos,
                          BtMenus::btType kind, bool record, const QPen &pen)
{
    auto *curve = new DGPathCurveItem(pos, pen, kind, nullptr);
    curve->setPath(path);
    connectReleases(page, curve);
    curve->setTransformOriginPoint(curve->boundingRect().center());
    if (record)
        page->recordOperation(BtMenus::stAdd, {}, curve);
    else
        page->addItem(curve);
    return curve;
}

DGPathVertexItem *addVertex(DPage *page, const QPainterPath &path, const QPointF &pos)
{
    auto *polygon = new DGPathVertexItem(pos, QPen(Qt::darkGreen, 3), nullptr);
    polygon->setPath(path);
    connectReleases(page, polygon);
    page->addItem(polygon);
    return polygon;
}

QPainterPath stroke(int count, qreal size, quint32 seed)
{
    QRandomGenerator random(seed);
    QPainterPath path;
    QPointF point(size / 2, size / 2);
    path.moveTo(point);
    for (int i = 1; i < count; ++i) {
        point += QPointF(random.bounded(7.0) - 3.5, random.bounded(7.0) - 3.5);
        point.setX(qBound(0.0, point.x(), size));
        point.setY(qBound(0.0, point.y(), size));
        path.lineTo(point);
    }
    return path;
}

QImage shownArea(DPage *page, const QRectF &area)
{
    QImage image(area.size().toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    // Its pictures drawn whole, as in any picture of the page drawn at once.
    page->readyPictures(std::min(image.width() / area.width(), image.height() / area.height()));
    QPainter painter(&image);
    page->render(&painter, QRectF(image.rect()), area);
    return image;
}

QRect sceneArea(const QList<QGraphicsItem *> &items, int margin)
{
    QRectF area;
    for (const QGraphicsItem *item : items)
        area |= item->sceneBoundingRect();
    return area.toAlignedRect().adjusted(-margin, -margin, margin, margin);
}

} // namespace BoardFixture
