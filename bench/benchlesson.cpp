#include "benchlesson.h"

#include "benchdocument.h"

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

} // namespace BenchLesson
