#include "tiledpicture.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int kTileSide = 128;
// Pictures of fewer bytes are kept whole: a stroke's picture at 100 % is a few tiles at most.
constexpr qint64 kTiledFromBytes = qint64(4) * kTileSide * kTileSide * 16;
// Kept whole when at least this share of its tiles has ink: tiles would save little.
constexpr int kWholeFromPercent = 75;

bool hasInk(const QImage &image, const QRect &area)
{
    // Premultiplied: a clear pixel is all zero.
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        if (std::any_of(line + area.left(), line + area.right() + 1,
                        [](quint32 pixel) { return pixel != 0; }))
            return true;
    }
    return false;
}

} // namespace

TiledPicture::TiledPicture(QImage painted) : m_size(painted.size())
{
    if (painted.isNull())
        return;
    const bool premultiplied = painted.format() == QImage::Format_ARGB32_Premultiplied;
    if (painted.sizeInBytes() < kTiledFromBytes || !premultiplied) {
        // A copy: an image keeps the engine of its last painter (some 180 KB) as long as its
        // pixels live, and a page holds thousands of small pictures.
        m_tiles.push_back({ QPoint(), painted.copy() });
        return;
    }
    std::vector<QRect> inked;
    int tiles = 0;
    for (int y = 0; y < painted.height(); y += kTileSide) {
        for (int x = 0; x < painted.width(); x += kTileSide) {
            const QRect tile = QRect(x, y, kTileSide, kTileSide) & painted.rect();
            ++tiles;
            if (hasInk(painted, tile))
                inked.push_back(tile);
        }
    }
    if (int(inked.size()) * 100 >= tiles * kWholeFromPercent) {
        m_tiles.push_back({ QPoint(), std::move(painted) }); // its engine is little beside it
        return;
    }
    for (const QRect &tile : inked)
        m_tiles.push_back({ tile.topLeft(), painted.copy(tile) });
}

qint64 TiledPicture::bytes() const
{
    qint64 total = 0;
    for (const Tile &tile : m_tiles)
        total += tile.pixels.sizeInBytes();
    return total;
}

void TiledPicture::draw(QPainter *painter) const
{
    for (const Tile &tile : m_tiles)
        painter->drawImage(tile.at, tile.pixels);
}
