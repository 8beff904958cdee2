#include "tiledpicture.h"

#include <QHash>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kTileSide = 128;
// Filtered, a tile is drawn from its pixels framed by this many of its neighbours': the filter
// reaches half a pixel past its sides, a picture's edge one more.
constexpr int kFrame = 2;
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
    if (m_tiles.size() > 1 && painter->testRenderHint(QPainter::SmoothPixmapTransform)
        && painter->combinedTransform().type() > QTransform::TxTranslate) {
        drawFiltered(painter);
        return;
    }
    for (const Tile &tile : m_tiles)
        painter->drawImage(tile.at, tile.pixels);
}

void TiledPicture::drawFiltered(QPainter *painter) const
{
    // Filtered apart, each tile blended its sides with the clear beyond it: a seam of half-lit
    // pixels along every side, and antialiased, another. Each tile fills the device pixels
    // whose centres lie on its own pixels, no more and with hard sides, so that every pixel is
    // drawn once, from its own pixels and its neighbours' as the whole picture would be.
    const auto key = [](QPoint at) {
        return (quint64(quint32(at.x() / kTileSide)) << 32) | quint32(at.y() / kTileSide);
    };
    QHash<quint64, const QImage *> kept;
    for (const Tile &tile : m_tiles)
        kept.insert(key(tile.at), &tile.pixels);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(Qt::NoPen);
    for (const Tile &tile : m_tiles) {
        const QRect own(tile.at, tile.pixels.size());
        QImage framed(own.size() + QSize(2 * kFrame, 2 * kFrame),
                      QImage::Format_ARGB32_Premultiplied);
        framed.fill(Qt::transparent);
        {
            QPainter copy(&framed);
            copy.setCompositionMode(QPainter::CompositionMode_Source);
            for (int row = -1; row <= 1; ++row) {
                for (int column = -1; column <= 1; ++column) {
                    const QPoint at = tile.at + QPoint(column, row) * kTileSide;
                    if (const QImage *pixels = kept.value(key(at), nullptr))
                        copy.drawImage(at - own.topLeft() + QPoint(kFrame, kFrame), *pixels);
                }
            }
        }
        QBrush brush(framed);
        brush.setTransform(QTransform::fromTranslate(own.x() - kFrame, own.y() - kFrame));
        painter->setBrush(brush);
        // The picture's own edge is filtered into the clear about it.
        const int reach = kFrame - 1;
        painter->drawRect(
                QRectF(own.adjusted(own.left() == 0 ? -reach : 0, own.top() == 0 ? -reach : 0,
                                    own.right() == m_size.width() - 1 ? reach : 0,
                                    own.bottom() == m_size.height() - 1 ? reach : 0)));
    }
    painter->restore();
}
