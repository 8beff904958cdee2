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
    const QPixmap picture = BenchDocument::photo(recipe.picture);
    for (int n = 0; n < kPages; ++n)
        BenchDocument::fillPage(list.at(n), n, recipe, picture);
}

} // namespace BenchLesson
