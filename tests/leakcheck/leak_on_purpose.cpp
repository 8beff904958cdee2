// Leaks a board object on purpose. The leak check of the test programs must report it through
// the function below: the suppression file may name only the toolkit's and the system's own
// allocations, and an entry that matched an object of ours would hide it (and everything it owns).

#include "board/dgpathcurveitem.h"

#include <QApplication>
#include <QPen>

namespace {

__attribute__((noinline)) void leakAStrokeOnPurpose()
{
    auto *stroke = new DGPathCurveItem(QPointF(10, 10), QPen(Qt::red, 3), BtMenus::btPencil,
                                       nullptr);
    QPainterPath path;
    path.lineTo(40, 40);
    stroke->setPath(path);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    leakAStrokeOnPurpose();
    return 0;
}
