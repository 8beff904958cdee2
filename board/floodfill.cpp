#include "floodfill.h"

#include <QVector>

#include <algorithm>

namespace FloodFill {

QImage fill(const QImage &image, QPoint seed, const QColor &colour, QPoint *topLeft)
{
    const QImage nothing(1, 1, QImage::Format_ARGB32);
    if (!image.rect().contains(seed))
        return nothing;
    // The working copy marks visited pixels by their new colour.
    QImage work = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb target = work.pixel(seed) | 0xff000000u;
    const QRgb paint = colour.rgba();
    // A colour whose red, green and blue equal the target would still match once painted and
    // never end: it changes nothing visible either.
    if (paint == target || (paint | 0xff000000u) == target)
        return nothing;

    QImage mask(work.size(), QImage::Format_ARGB32);
    mask.fill(0);
    const int width = work.width();
    const int height = work.height();
    auto matches = [&work, target](int x, int y) {
        return (reinterpret_cast<const QRgb *>(work.constScanLine(y))[x] | 0xff000000u) == target;
    };
    int minX = seed.x();
    int maxX = seed.x();
    int minY = seed.y();
    int maxY = seed.y();
    QVector<QPoint> stack{ seed };
    while (!stack.isEmpty()) {
        const QPoint point = stack.takeLast();
        const int y = point.y();
        if (!matches(point.x(), y))
            continue; // filled through another run since it was pushed
        int left = point.x();
        while (left > 0 && matches(left - 1, y))
            --left;
        int right = point.x();
        while (right + 1 < width && matches(right + 1, y))
            ++right;
        auto *workRow = reinterpret_cast<QRgb *>(work.scanLine(y));
        auto *maskRow = reinterpret_cast<QRgb *>(mask.scanLine(y));
        std::fill(workRow + left, workRow + right + 1, paint);
        std::fill(maskRow + left, maskRow + right + 1, paint);
        minX = std::min(minX, left);
        maxX = std::max(maxX, right);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        // One seed per run of matching pixels in the rows above and below.
        for (int row : { y - 1, y + 1 }) {
            if (row < 0 || row >= height)
                continue;
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool match = matches(x, row);
                if (match && !inRun)
                    stack.append(QPoint(x, row));
                inRun = match;
            }
        }
    }
    if (topLeft)
        *topLeft = QPoint(minX, minY);
    return mask.copy(QRect(QPoint(minX, minY), QPoint(maxX, maxY)));
}

} // namespace FloodFill
