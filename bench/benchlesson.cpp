#include "benchlesson.h"

#include "benchdocument.h"

#include "board/dpage.h"
#include "document/dpageslist.h"

namespace BenchLesson {

void build(DPagesList &list)
{
    while (list.size() < kPages)
        list.newPage(BtMenus::btColorPage, false);
    BenchDocument::Recipe recipe;
    recipe.strokes = kStrokesPerPage;
    // A picture of its own on every page, as a lesson's photos are.
    for (int n = 0; n < kPages; ++n)
        BenchDocument::fillPage(list.at(n), n, recipe, BenchDocument::photo(recipe.picture, n));
}

void buildSmallObjects(DPagesList &list)
{
    while (list.size() < kPages)
        list.newPage(BtMenus::btColorPage, false);
    BenchDocument::Recipe recipe;
    recipe.strokes = kSmallStrokesPerPage;
    recipe.shapes = 0;
    recipe.texts = 2;
    recipe.picture = QSize(200, 150);
    for (int n = 0; n < kPages; ++n) {
        BenchDocument::fillPage(list.at(n), n, recipe,
                                BenchDocument::photo(recipe.picture, 2 * n));
        list.at(n)->addPixmapItem(BenchDocument::photo(recipe.picture, 2 * n + 1),
                                  QPointF(300, 120), 0, 1.0f, QTransform(), false);
    }
}

} // namespace BenchLesson
