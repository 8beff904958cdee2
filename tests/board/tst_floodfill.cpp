#include "board/boardtypes.h"
#include "board/floodfill.h"
#include "board/shapefill.h"

#include <QLinearGradient>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>

class tst_FloodFill : public QObject
{
    Q_OBJECT
private slots:
    void fillsRegionUpToItsBorder();
    void reachesTheImageEdges();
    void followsOneWideChannelsEveryWay();
    void matchesAReferenceFillOnRandomPictures();
    void nothingToDo_data();
    void nothingToDo();
    void sourceAlphaIsIgnored();
    void shapeBrushes();
};

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QColor kRed(255, 0, 0);

// Rows of '#' (black) and '.' (white).
QImage picture(const QStringList &rows)
{
    QImage image(rows.first().size(), rows.size(), QImage::Format_RGB32);
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x)
            image.setPixel(x, y, rows[y][x] == QLatin1Char('#') ? kBlack : kWhite);
    return image;
}

// Which pixels of the whole picture the fill painted, from its cut-out and top-left.
QSet<QPair<int, int>> painted(const QImage &area, QPoint topLeft)
{
    QSet<QPair<int, int>> set;
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            if (qAlpha(area.pixel(x, y)) != 0)
                set.insert({ x + topLeft.x(), y + topLeft.y() });
    return set;
}

// A plain breadth-first 4-connected fill to compare with.
QSet<QPair<int, int>> reference(const QImage &image, QPoint seed)
{
    const QRgb target = image.pixel(seed) | 0xff000000u;
    QSet<QPair<int, int>> seen;
    std::deque<QPoint> queue{ seed };
    seen.insert({ seed.x(), seed.y() });
    while (!queue.empty()) {
        const QPoint p = queue.front();
        queue.pop_front();
        for (const QPoint step : { QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1) }) {
            const QPoint next = p + step;
            if (!image.rect().contains(next) || seen.contains({ next.x(), next.y() }))
                continue;
            if ((image.pixel(next) | 0xff000000u) != target)
                continue;
            seen.insert({ next.x(), next.y() });
            queue.push_back(next);
        }
    }
    return seen;
}

} // namespace

void tst_FloodFill::fillsRegionUpToItsBorder()
{
    const QImage image = picture({ "..#...", "..#...", "###...", "......" });
    QPoint topLeft(-1, -1);
    const QImage area = FloodFill::fill(image, QPoint(4, 0), kRed, &topLeft);
    QCOMPARE(topLeft, QPoint(0, 0));
    QCOMPARE(area.size(), QSize(6, 4)); // the bottom row joins the left edge
    QCOMPARE(area.pixel(5, 3), kRed.rgba());
    QCOMPARE(area.pixel(0, 3), kRed.rgba());
    QCOMPARE(qAlpha(area.pixel(0, 0)), 0); // walled off: left transparent
    QCOMPARE(qAlpha(area.pixel(2, 1)), 0); // the wall itself
    QCOMPARE(painted(area, topLeft).size(), 24 - 5 - 4);
}

void tst_FloodFill::reachesTheImageEdges()
{
    const QImage image = picture({ "...#", "...#", "####" });
    QPoint topLeft;
    const QImage area = FloodFill::fill(image, QPoint(1, 1), kRed, &topLeft);
    QCOMPARE(topLeft, QPoint(0, 0));
    QCOMPARE(area.size(), QSize(3, 2));
    QCOMPARE(painted(area, topLeft).size(), 6);
}

void tst_FloodFill::followsOneWideChannelsEveryWay()
{
    // A comb: the seed row is joined to the other rows only through one-pixel teeth.
    const QImage image =
            picture({ ".#.#.#.", ".#.#.#.", ".......", "#.###.#", "#.#.#.#", "#...#.." });
    const QPoint seed(6, 5);
    QPoint topLeft;
    const QImage area = FloodFill::fill(image, seed, kRed, &topLeft);
    QCOMPARE(painted(area, topLeft), reference(image, seed));
    QVERIFY(painted(area, topLeft).contains({ 0, 0 }));
    QVERIFY(painted(area, topLeft).contains({ 3, 5 }));
}

void tst_FloodFill::matchesAReferenceFillOnRandomPictures()
{
    QRandomGenerator random(20240607);
    for (int round = 0; round < 200; ++round) {
        const int width = 1 + int(random.bounded(14));
        const int height = 1 + int(random.bounded(14));
        QImage image(width, height, QImage::Format_ARGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, random.bounded(100) < 45 ? kBlack : kWhite);
        const QPoint seed(int(random.bounded(width)), int(random.bounded(height)));
        QPoint topLeft;
        const QImage area = FloodFill::fill(image, seed, kRed, &topLeft);
        QCOMPARE(painted(area, topLeft), reference(image, seed));
    }
}

void tst_FloodFill::nothingToDo_data()
{
    QTest::addColumn<QPoint>("seed");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("seed outside") << QPoint(9, 0) << kRed;
    QTest::newRow("already that colour") << QPoint(0, 0) << QColor(Qt::white);
    // Painted pixels would still match: the fill must end at once, changing nothing.
    QTest::newRow("same colour, see-through") << QPoint(0, 0) << QColor(255, 255, 255, 120);
}

void tst_FloodFill::nothingToDo()
{
    QFETCH(QPoint, seed);
    QFETCH(QColor, colour);
    const QImage image = picture({ "....", "...." });
    QPoint topLeft(-7, -7);
    const QImage area = FloodFill::fill(image, seed, colour, &topLeft);
    QCOMPARE(area.size(), QSize(1, 1));
    QCOMPARE(topLeft, QPoint(-7, -7));
}

void tst_FloodFill::sourceAlphaIsIgnored()
{
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(0, 0, 255, 255));
    image.setPixel(1, 0, qRgba(0, 0, 255, 10));
    image.setPixel(2, 0, qRgba(0, 0, 250, 255));
    QPoint topLeft;
    const QImage area = FloodFill::fill(image, QPoint(0, 0), QColor(0, 255, 0, 128), &topLeft);
    QCOMPARE(area.size(), QSize(2, 1));
    QCOMPARE(area.pixel(1, 0), QColor(0, 255, 0, 128).rgba()); // the fill keeps its own alpha
}

void tst_FloodFill::shapeBrushes()
{
    QTemporaryDir dir;
    const QString texture = dir.filePath(QStringLiteral("tile.png"));
    QImage tile(8, 6, QImage::Format_RGB32);
    tile.fill(Qt::darkCyan);
    QVERIFY(tile.save(texture));
    const QColor fill(10, 200, 30);
    const QColor outline(Qt::black);

    ShapeFill::Fill solid = ShapeFill::forShape(FillSolid, fill, outline, texture);
    QVERIFY(solid.changes);
    QCOMPARE(solid.itemFillType, short(ItemFillSolid));
    QCOMPARE(solid.brush, QBrush(fill, Qt::SolidPattern));

    QVERIFY(!ShapeFill::forShape(FillSolid, QColor(0, 0, 0, 0), outline, texture).changes);

    // Runs down the shape's own box whichever way the shape was dragged.
    ShapeFill::Fill gradient = ShapeFill::forShape(FillGradient, fill, outline, texture);
    QCOMPARE(gradient.itemFillType, short(ItemFillGradient));
    QCOMPARE(gradient.brush.style(), Qt::LinearGradientPattern);
    const auto *linear = static_cast<const QLinearGradient *>(gradient.brush.gradient());
    QCOMPARE(linear->coordinateMode(), QGradient::ObjectMode);
    QCOMPARE(linear->start(), QPointF(0, 0));
    QCOMPARE(linear->finalStop(), QPointF(0, 1));
    QCOMPARE(linear->stops().first(), QGradientStop(0.0, fill));
    QCOMPARE(linear->stops().last(), QGradientStop(1.0, outline));

    for (short kind : { short(FillImage), short(FillPattern) }) {
        ShapeFill::Fill textured = ShapeFill::forShape(kind, fill, outline, texture);
        QCOMPARE(textured.itemFillType, short(ItemFillTexture));
        QCOMPARE(textured.fileName, texture);
        QCOMPARE(textured.brush.style(), Qt::TexturePattern);
        QCOMPARE(textured.brush.texture().size(), QSize(8, 6));
    }
    ShapeFill::Fill missing =
            ShapeFill::forShape(FillImage, fill, outline, dir.filePath("missing.png"));
    QVERIFY(missing.changes); // the kind is kept for the file; the brush shows nothing
    QVERIFY(missing.brush.texture().isNull());
    QCOMPARE(ShapeFill::itemFillFor(FillPattern), short(ItemFillTexture));
}

QTEST_MAIN(tst_FloodFill)
#include "tst_floodfill.moc"
