#include "tiledpicture.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kTileSide = 128;
// Pictures of fewer bytes are kept whole: a stroke's picture at 100 % is a few tiles at most.
constexpr qint64 kTiledFromBytes = qint64(4) * kTileSide * kTileSide * 16;

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

TiledPicture TiledPicture::paint(QSize size, const std::function<void(QPainter *)> &paint)
{
    TiledPicture picture;
    if (size.isEmpty())
        return picture;
    picture.m_size = size;
    // Through a painter of its own: an image keeps the engine of its last painter (some 180 KB)
    // as long as its pixels live, and a page holds thousands of small pictures.
    const auto paintOn = [&paint](QImage *image, int top) {
        QPainter painter(image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(0, -top);
        paint(&painter);
    };
    const qint64 bytesPerLine = qint64(size.width()) * 4;
    if (bytesPerLine * size.height() < kTiledFromBytes) {
        // Painted on pixels allocated clear, which need no filling, then handed to an image that
        // owns them: none are copied.
        auto *pixels = static_cast<uchar *>(std::calloc(size_t(bytesPerLine), size_t(size.height())));
        if (!pixels)
            return TiledPicture();
        {
            QImage painted(pixels, size.width(), size.height(), bytesPerLine,
                           QImage::Format_ARGB32_Premultiplied);
            paintOn(&painted, 0);
        }
        picture.m_tiles.push_back({ QPoint(), QImage(pixels, size.width(), size.height(),
                                                     bytesPerLine,
                                                     QImage::Format_ARGB32_Premultiplied, std::free,
                                                     pixels) });
        return picture;
    }
    QImage band(size.width(), kTileSide, QImage::Format_ARGB32_Premultiplied);
    for (int top = 0; top < size.height(); top += kTileSide) {
        band.fill(Qt::transparent);
        paintOn(&band, top);
        const int rows = std::min(kTileSide, size.height() - top);
        for (int x = 0; x < size.width(); x += kTileSide) {
            const QRect tile = QRect(x, 0, std::min(kTileSide, size.width() - x), rows);
            if (hasInk(band, tile))
                picture.m_tiles.push_back({ QPoint(x, top), band.copy(tile) });
        }
    }
    return picture;
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
