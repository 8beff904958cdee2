#include "coveredpictures.h"

#include "dgpixmapitem.h"
#include "dpage.h"

#include "pictures/heldpictures.h"

#include <QHash>
#include <QPointer>
#include <QPolygonF>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Page
{
    QPointer<QObject> page;
    quint64 revision = 0;
    quint64 epoch = 0;
    QSet<const DGPixmapItem *> covered;
};

QHash<const QObject *, Page> &pages()
{
    static QHash<const QObject *, Page> known;
    return known;
}

// Whether inside holds every corner of polygon. A corner on inside's edge is held: each corner
// is taken a hair in towards polygon's middle before it is tested, since a point on an edge is
// inside or not depending on the edge, and the pages of a PDF put in one over another lie
// exactly over each other.
bool holds(const QPolygonF &inside, const QPolygonF &polygon)
{
    constexpr qreal kHair = 1e-3; // of the page's units
    const QPointF middle = polygon.boundingRect().center();
    return std::all_of(polygon.cbegin(), polygon.cend(), [&](const QPointF &corner) {
        const QPointF inwards = middle - corner;
        const qreal length = std::hypot(inwards.x(), inwards.y());
        const QPointF tested = length > kHair ? corner + inwards * (kHair / length) : corner;
        return inside.containsPoint(tested, Qt::OddEvenFill);
    });
}

// An object that covers what lies under it: a picture shown opaque, whole, as it is.
bool covers(const DGPixmapItem *picture)
{
    return !picture->parentItem() && picture->isVisible() && picture->opacity() >= 1.0
            && picture->picture()->isOpaque() && !picture->picture()->isRefused();
}

QSet<const DGPixmapItem *> coveredOn(DPage *page)
{
    std::vector<const DGPixmapItem *> pictures;
    const QList<QGraphicsItem *> items = page->itemsUnsorted();
    for (const QGraphicsItem *item : items) {
        if (item->type() != 7 || item->parentItem())
            continue;
        if (const auto *picture = dynamic_cast<const DGPixmapItem *>(item))
            pictures.push_back(picture);
    }
    // Topmost first; objects enter a page each above the last.
    std::stable_sort(pictures.begin(), pictures.end(),
                     [](const DGPixmapItem *a, const DGPixmapItem *b) {
                         return a->zValue() > b->zValue();
                     });
    QSet<const DGPixmapItem *> covered;
    std::vector<std::pair<QPolygonF, qreal>> above; // the opaque ones, with their z
    for (const DGPixmapItem *picture : pictures) {
        const QPolygonF shape =
                picture->mapToScene(QRectF(picture->offset(), QSizeF(picture->pictureSize())));
        const bool hidden = std::any_of(above.cbegin(), above.cend(), [&](const auto &cover) {
            return cover.second > picture->zValue() && holds(cover.first, shape);
        });
        if (hidden)
            covered.insert(picture);
        else if (covers(picture))
            above.emplace_back(shape, picture->zValue());
    }
    return covered;
}

} // namespace

namespace CoveredPictures {

bool isCovered(const DGPixmapItem *picture)
{
    auto *page = qobject_cast<DPage *>(picture->scene());
    if (!page || picture->parentItem())
        return false;
    Page &known = pages()[page];
    if (known.page != page || known.revision != page->countedRevision()
        || known.epoch != HeldPictures::epoch()) {
        known.page = page;
        known.revision = page->countedRevision();
        known.epoch = HeldPictures::epoch();
        known.covered = coveredOn(page);
        // Pages gone leave nothing behind.
        for (auto other = pages().begin(); other != pages().end();)
            other = other->page ? std::next(other) : pages().erase(other);
    }
    return pages().value(page).covered.contains(picture);
}

} // namespace CoveredPictures
