#include "benchdocument.h"

#include "board/dgpathcurveitem.h"
#include "board/dpage.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <cmath>
#include <vector>

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
        page->addTextItem(
                QStringLiteral("<p>Página %1, texto <b>%2</b></p>").arg(pageNumber).arg(t),
                QFont(QStringLiteral("DejaVu Sans"), 20), QPointF(50, 600 + t * 60), 0, 1.0f,
                QTransform(), false);
    }
    if (!picture.isNull())
        page->addPixmapItem(picture, QPointF(900, 300), 0, 1.0f, QTransform(), false);
}

} // namespace

QPixmap photo(QSize size, int variant)
{
    return QPixmap::fromImage(photoImage(size, variant));
}

QImage photoImage(QSize size, int variant)
{
    // Smooth light over the whole picture: sums and products of waves, one table per axis.
    const double phase = variant * 0.37;
    const int width = size.width();
    const int height = size.height();
    std::vector<double> redX(width), blueXs(width), blueXc(width), redY(height), blueYs(height),
            blueYc(height), green(width + height);
    for (int x = 0; x < width; ++x) {
        redX[x] = std::sin(x * 0.011 + phase);
        blueXs[x] = std::sin(x * 0.004);
        blueXc[x] = std::cos(x * 0.004);
    }
    for (int y = 0; y < height; ++y) {
        redY[y] = std::cos(y * 0.007);
        blueYs[y] = std::sin(y * 0.013 + phase);
        blueYc[y] = std::cos(y * 0.013 + phase);
    }
    for (int t = 0; t < width + height; ++t)
        green[t] = std::sin(t * 0.006 + 2 * phase);
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            // cos(a - b) = cos a cos b + sin a sin b
            const double blue = blueYc[y] * blueXc[x] + blueYs[y] * blueXs[x];
            line[x] = qRgb(int(128 + 90 * redX[x] * redY[y]), int(120 + 80 * green[x + y]),
                           int(128 + 100 * blue));
        }
    }
    // Things with hard edges in front of it.
    quint32 state = 12345u + quint32(variant) * 7919u;
    const auto next = [&state]() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    {
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        for (int k = 0; k < 12; ++k) {
            painter.setBrush(QColor(int(next() % 256), int(next() % 256), int(next() % 256)));
            const QRect box(int(next() % quint32(width)), int(next() % quint32(height)),
                            40 + int(next() % 200), 30 + int(next() % 150));
            if (k % 2)
                painter.drawEllipse(box);
            else
                painter.drawRect(box);
        }
    }
    // And the grain of a camera all over it: what makes a photo costly to pack.
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const quint32 noise = next();
            const auto grain = [noise](int value, int shift) {
                return qBound(0, value + int((noise >> shift) % 3) - 1, 255);
            };
            const QRgb pixel = line[x];
            line[x] = qRgb(grain(qRed(pixel), 0), grain(qGreen(pixel), 8), grain(qBlue(pixel), 16));
        }
    }
    return image;
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
