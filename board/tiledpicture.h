#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>

#include <functional>
#include <vector>

class QPainter;

// A stroke's or shape's picture as the board keeps it. Zoomed in, a stroke's picture is as large
// as the screen and mostly clear, the ink a band across it: a large picture is kept in tiles, and
// the tiles without ink are left out. A small one is kept whole.
class TiledPicture
{
public:
    TiledPicture() = default;
    // Any thread: a picture of size painted by paint, through an antialiased painter whose
    // pixels are the picture's. A large one is painted a row of tiles at a time, so that no
    // image as large as the whole is made.
    static TiledPicture paint(QSize size, const std::function<void(QPainter *)> &paint);

    bool isNull() const { return m_size.isEmpty(); }
    QSize size() const { return m_size; }
    int tileCount() const { return int(m_tiles.size()); }
    qint64 bytes() const;
    // Draws it with its top-left corner at (0, 0) of painter's coordinates; stretched or
    // turned through a painter that filters pictures, without a seam where tiles meet, as a
    // picture with clear pixels about it.
    void draw(QPainter *painter) const;

private:
    void drawFiltered(QPainter *painter) const;

    struct Tile
    {
        QPoint at;
        QImage pixels;
    };
    QSize m_size;
    std::vector<Tile> m_tiles;
};
