#include "benchlesson.h"

#include "board/dgpathcurveitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgtextitem.h"
#include "board/dpage.h"
#include "document/dpageslist.h"

#include <QImage>
#include <QPixmap>

namespace BenchLesson {

namespace {

constexpr int kPointsPerStroke = 40;

constexpr int kShapesPerPage = 5;

void addShapesTextsAndPicture(DPage *page, int pageNumber, const QPixmap &picture)
{
    const BtMenus::btType shapes[kShapesPerPage] = { BtMenus::btRectangle, BtMenus::btCircle,
                                                     BtMenus::btTriangle, BtMenus::btStar,
                                                     BtMenus::btEllipse };
    for (int s = 0; s < kShapesPerPage; ++s) {
        QPainterPath outline;
        outline.addRect(0, 0, 60 + s * 10, 40 + pageNumber % 20);
        page->addCurveItem(outline, QPen(QColor(20 * s, 90, 160), 4), 0, shapes[s],
                           BtMenus::fnPathAtPos, QPointF(100 + s * 120, 500), 1.0f, QTransform(),
                           false);
    }
    for (int t = 0; t < 2; ++t) {
        page->addTextItem(
                QStringLiteral("<p>Página %1, texto <b>%2</b></p>").arg(pageNumber).arg(t),
                QFont(QStringLiteral("DejaVu Sans"), 20), QPointF(50, 600 + t * 60), 0, 1.0f,
                QTransform(), false);
    }
    page->addPixmapItem(picture, QPointF(900, 300), 0, 1.0f, QTransform(), false);
}

void fillPage(DPage *page, int pageNumber, const QPixmap &picture)
{
    addShapesTextsAndPicture(page, pageNumber, picture);
    const BtMenus::btType kinds[] = { BtMenus::btPencil, BtMenus::btHighlighter };
    for (int s = 0; s < kStrokesPerPage; ++s) {
        const BtMenus::btType kind = kinds[s % 2];
        auto *stroke = new DGPathCurveItem(QPointF(s * 3.7, pageNumber + s * 1.3),
                                           QPen(QColor(s % 255, 40, 90), 3), kind, nullptr);
        QPainterPath path(QPointF(0, 0));
        for (int p = 1; p < kPointsPerStroke; ++p)
            path.lineTo(p * 2.31, (p * p) % 37 + 0.5);
        stroke->setPath(path);
        if (s % 7 == 0)
            stroke->setRotation(s % 90);
        page->addItem(stroke);
    }
}

} // namespace

void build(DPagesList &list)
{
    while (list.size() < kPages)
        list.newPage(BtMenus::btColorPage, false);
    QImage photo(320, 240, QImage::Format_RGB32); // a picture that compresses like a photo
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * y) % 256, (x ^ y) % 256));
    const QPixmap picture = QPixmap::fromImage(photo);
    for (int n = 0; n < kPages; ++n)
        fillPage(list.at(n), n, picture);
}

} // namespace BenchLesson
