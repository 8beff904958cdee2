// The drawing caches of the pages near the one shown: the page shown and the pages either side
// of it, the ones a teacher goes to next, keep their objects' pictures; every other page gives
// them back.

#include "dpageslist.h"

#include "board/dpage.h"
#include "board/strokepictures.h"

#include <algorithm>

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
    m_strokePictures.erase(std::remove_if(m_strokePictures.begin(), m_strokePictures.end(),
                                          [&near](const std::unique_ptr<StrokePictures> &pictures) {
                                              return !pictures->page()
                                                      || !near.contains(pictures->page());
                                          }),
                           m_strokePictures.end());
    // A document being read shows each page as it is made: its pages are readied once, when
    // the reading is done.
    if (m_openProgress || !page)
        return;
    readyShownPage(page);
    // The neighbours are drawn on other threads meanwhile: a page turned to straight away is
    // ready as soon as one turned to after a pause.
    for (const QPointer<DPage> &neighbour : near.mid(1)) {
        const bool started = std::any_of(
                m_strokePictures.begin(), m_strokePictures.end(),
                [&neighbour](const auto &pictures) { return pictures->page() == neighbour; });
        if (!started)
            m_strokePictures.push_back(std::make_unique<StrokePictures>(neighbour));
    }
}

void DPagesList::readyShownPage(DPage *page)
{
    // What was begun for it is finished here, along with anything begun since; the board then
    // draws from pictures only.
    const auto begun = std::find_if(m_strokePictures.begin(), m_strokePictures.end(),
                                    [page](const std::unique_ptr<StrokePictures> &pictures) {
                                        return pictures->page() == page;
                                    });
    if (begun != m_strokePictures.end()) {
        (*begun)->finish();
        m_strokePictures.erase(begun);
    }
    StrokePictures(page).finish();
}
