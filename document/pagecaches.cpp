// The drawing caches of the pages near the one shown: the page shown and the pages either side
// of it, the ones a teacher goes to next, keep their objects' pictures; every other page gives
// them back.

#include "dpageslist.h"

#include "board/dpage.h"
#include "board/dview.h"
#include "board/boardtypes.h"
#include "board/coveredpictures.h"
#include "board/dgpixmapitem.h"
#include "board/strokepictures.h"
#include "pictures/heldpictures.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {
// Pages either way of the one shown whose pictures' smallest copies are made ahead.
constexpr int kSmallAheadPages = 3;
} // namespace

void DPagesList::keepCachesNear(DPage *page)
{
    const int index = indexOf(page);
    QList<QPointer<DPage>> near;
    for (int n : { index, index + 1, index - 1 }) {
        if (index >= 0 && n >= 0 && n < size())
            near << QPointer<DPage>(at(n));
    }
    for (const QPointer<DPage> &cached : qAsConst(m_cachedPages)) {
        if (cached && !near.contains(cached) && contains(cached.data()))
            cached->releaseRenderCaches();
    }
    m_cachedPages = near;
    // The page shown before, if the board never painted it, goes on as a neighbour (or goes).
    if (m_shownPictures)
        m_strokePictures.push_back(std::move(m_shownPictures));
    // Pictures begun for a page that changed since are begun afresh; those all handed over
    // are done with (anything of their page that lost its picture since gets a new one).
    m_strokePictures.erase(std::remove_if(m_strokePictures.begin(), m_strokePictures.end(),
                                          [&near](const std::unique_ptr<StrokePictures> &pictures) {
                                              return !pictures->page()
                                                      || !near.contains(pictures->page())
                                                      || pictures->isHandedOver()
                                                      || !pictures->isCurrent();
                                          }),
                           m_strokePictures.end());
    // A document being read shows each page as it is made: its pages are readied once, when
    // the reading is done.
    if (m_openProgress || !page)
        return;
    keepPicturesNear(near);
    // The page shown gets its pictures drawn on every thread from now, each handed to its
    // object as the board paints it; the neighbours on other threads meanwhile, so that a page
    // turned to straight away is ready as soon as one turned to after a pause.
    auto shown = std::find_if(m_strokePictures.begin(), m_strokePictures.end(),
                              [page](const std::unique_ptr<StrokePictures> &pictures) {
                                  return pictures->page() == page;
                              });
    if (shown != m_strokePictures.end()) {
        m_shownPictures = std::move(*shown);
        m_strokePictures.erase(shown);
    } else {
        m_shownPictures = std::make_unique<StrokePictures>(page);
    }
    m_shownPictures->showFirst();
    for (const QPointer<DPage> &neighbour : near.mid(1)) {
        const bool started = std::any_of(
                m_strokePictures.begin(), m_strokePictures.end(),
                [&neighbour](const auto &pictures) { return pictures->page() == neighbour; });
        if (!started)
            m_strokePictures.push_back(std::make_unique<StrokePictures>(neighbour));
    }
}

void DPagesList::keepPicturesNear(const QList<QPointer<DPage>> &near)
{
    // The pictures of the page shown and of its neighbours are asked for at the size they show
    // at there (the page shown's are asked again, sooner, as the board paints them); those of
    // every other page are given back, but for their smallest copy.
    HeldPictures::beginKeeping();
    for (const QPointer<DPage> &page : near) {
        if (!page)
            continue;
        const qreal zoom = page->zoom();
        const QList<QGraphicsItem *> items = page->itemsUnsorted();
        for (QGraphicsItem *item : items) {
            auto *picture = item->type() == ItemTypePixmap ? dynamic_cast<DGPixmapItem *>(item)
                                                           : nullptr;
            if (!picture || picture->picture()->isMade() || !picture->isVisible()
                || CoveredPictures::isCovered(picture))
                continue;
            HeldPictures::want(picture->picture().get());
            const QTransform shown = item->sceneTransform() * QTransform::fromScale(zoom, zoom);
            const QSizeF size(picture->pictureSize().width() * std::hypot(shown.m11(), shown.m12()),
                              picture->pictureSize().height()
                                      * std::hypot(shown.m21(), shown.m22()));
            HeldPictures::prepare(picture->picture(), size);
        }
    }
    HeldPictures::keepOnly();
    // The pages a few further either way get the smallest copies of their pictures before the
    // rest of the lesson's are measured: turned to quickly, a page shows them at once.
    const int index = near.isEmpty() || !near.first() ? -1 : indexOf(near.first().data());
    for (int distance = 2; index >= 0 && distance <= kSmallAheadPages; ++distance) {
        for (const int n : { index + distance, index - distance }) {
            if (n < 0 || n >= size())
                continue;
            const QList<QGraphicsItem *> items = at(n)->itemsUnsorted();
            for (QGraphicsItem *item : items) {
                auto *picture = item->type() == ItemTypePixmap ? dynamic_cast<DGPixmapItem *>(item)
                                                               : nullptr;
                if (picture && !picture->picture()->isMade() && picture->isVisible())
                    HeldPictures::prepareSmallest(picture->picture());
            }
        }
    }
}

bool DPagesList::holdsPicturesOf(DPage *page)
{
    const QList<QGraphicsItem *> items = page->itemsUnsorted();
    return std::all_of(items.cbegin(), items.cend(), [](QGraphicsItem *item) {
        auto *picture =
                item->type() == ItemTypePixmap ? dynamic_cast<DGPixmapItem *>(item) : nullptr;
        return !picture || !picture->isVisible() || picture->picture()->isRefused()
                || HeldPictures::hasCopy(*picture->picture())
                || CoveredPictures::isCovered(picture);
    });
}

void DPagesList::readyShownPage()
{
    if (!m_shownPictures)
        return;
    std::unique_ptr<StrokePictures> shown = std::move(m_shownPictures);
    if (shown->isCurrent()) {
        // The board takes each object's picture as it paints it: the first objects are
        // painted while the threads still draw the last ones. Kept until all are handed over.
        m_strokePictures.push_back(std::move(shown));
        return;
    }
    shown->finish();
    // Anything of the page without its picture still (changed since the drawing began) gets it
    // the same way.
    if (shown->page() && shown->page() == m_view->scene())
        StrokePictures(shown->page()).finish();
}

bool DPagesList::eventFilter(QObject *watched, QEvent *event)
{
    // The board paints the page shown from its objects' pictures, drawn on every thread.
    if (event->type() == QEvent::Paint && watched == m_view->viewport())
        readyShownPage();
    return QObject::eventFilter(watched, event);
}

void DPagesList::indexPagesInSteps()
{
    m_pagesToIndex.clear();
    for (DPage *page : qAsConst(*this))
        m_pagesToIndex << page;
    if (!m_indexing) {
        m_indexing = new QTimer(this);
        // Not as soon as possible: steps due at once ran before a click or a repaint the
        // board was asked for meanwhile, however short each was.
        m_indexing->setInterval(2);
        connect(m_indexing, &QTimer::timeout, this, &DPagesList::indexNextPages);
    }
    m_indexing->start();
}

void DPagesList::indexNextPages()
{
    // A page of a hundred strokes takes about half a millisecond. Each step holds up what the
    // board is asked meanwhile (a click, a repaint): steps of four milliseconds kept the board
    // from answering right after an open for two of them.
    constexpr qint64 kStepNs = 1'000'000;
    QElapsedTimer clock;
    clock.start();
    while (!m_pagesToIndex.isEmpty() && clock.nsecsElapsed() < kStepNs) {
        const QPointer<DPage> page = m_pagesToIndex.takeFirst();
        // Asked for what lies at a point, the toolkit brings the page's index up to date and
        // drops the timer it had set for that.
        if (page)
            page->items(QRectF(0, 0, 1, 1));
    }
    if (m_pagesToIndex.isEmpty())
        m_indexing->stop();
}
