#include "benchdocument.h"

#include "board/dgpathcurveitem.h"
#include "board/dpage.h"

#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPen>

namespace BenchDocument {

namespace {

constexpr int kShapeKinds = 5;

void addShapesTextsAndPicture(DPage *page, int pageNumber, const Recipe &recipe,
                              const QPixmap &picture)
{
    const BtMenus::btType shapes[kShapeKinds] = { BtMenus::btRectangle, BtMenus::btCircle,
                                                  BtMenus::btTriangle, BtMenus::btStar,
                                                  BtMenus::btEllipse };
    for (int s = 0; s < qMin(recipe.shapes, kShapeKinds); ++s) {
        QPainterPath outline;
        outline.addRect(0, 0, 60 + s * 10, 40 + pageNumber % 20);
        page->addCurveItem(outline, QPen(QColor(20 * s, 90, 160), 4), 0, shapes[s],
                           BtMenus::fnPathAtPos, QPointF(100 + s * 120, 500), 1.0f, QTransform(),
                           false);
    }
    for (int t = 0; t < recipe.texts; ++t) {
        page->addTextItem(QStringLiteral("<p>Página %1, texto <b>%2</b></p>").arg(pageNumber).arg(t),
                          QFont(QStringLiteral("DejaVu Sans"), 20), QPointF(50, 600 + t * 60), 0,
                          1.0f, QTransform(), false);
    }
    if (!picture.isNull())
        page->addPixmapItem(picture, QPointF(900, 300), 0, 1.0f, QTransform(), false);
}

} // namespace

QPixmap photo(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * y) % 256, (x ^ y) % 256));
    return QPixmap::fromImage(image);
}

void fillPage(DPage *page, int pageNumber, const Recipe &recipe, const QPixmap &picture)
{
    addShapesTextsAndPicture(page, pageNumber, recipe, picture);
    const BtMenus::btType kinds[] = { BtMenus::btPencil, BtMenus::btHighlighter };
    for (int s = 0; s < recipe.strokes; ++s) {
        const BtMenus::btType kind = kinds[s % 2];
        auto *stroke = new DGPathCurveItem(QPointF(s * 3.7, pageNumber + s * 1.3),
                                           QPen(QColor(s % 255, 40, 90), 3), kind, nullptr);
        QPainterPath path(QPointF(0, 0));
        for (int p = 1; p < recipe.pointsPerStroke; ++p)
            path.lineTo(p * 2.31, (p * p) % 37 + 0.5);
        stroke->setPath(path);
        if (s % 7 == 0)
            stroke->setRotation(s % 90);
        page->addItem(stroke);
    }
}

} // namespace BenchDocument
