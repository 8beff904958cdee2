#include "support/testsupport.h"

#include "pictures/picturereductions.h"

#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

// Each pixel of picture averaged over the part of picture it covers once picture is laid over
// size, partly covered pixels counted by their share, alpha premultiplied: what a photo viewer
// shows, computed the long way.
QImage averagedByArea(const QImage &picture, QSize size)
{
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const double wide = double(source.width()) / size.width();
    const double high = double(source.height()) / size.height();
    QImage averaged(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            double sum[4] = {};
            double weights = 0;
            for (int sy = int(y * high);
                 sy < std::min(source.height(), int(std::ceil((y + 1) * high))); ++sy) {
                const double down =
                        std::min(sy + 1.0, (y + 1) * high) - std::max(double(sy), y * high);
                for (int sx = int(x * wide);
                     sx < std::min(source.width(), int(std::ceil((x + 1) * wide))); ++sx) {
                    const double across =
                            std::min(sx + 1.0, (x + 1) * wide) - std::max(double(sx), x * wide);
                    const QRgb pixel = source.pixel(sx, sy);
                    const double weight = down * across;
                    sum[0] += weight * qRed(pixel);
                    sum[1] += weight * qGreen(pixel);
                    sum[2] += weight * qBlue(pixel);
                    sum[3] += weight * qAlpha(pixel);
                    weights += weight;
                }
            }
            averaged.setPixel(x, y,
                              qRgba(qRound(sum[0] / weights), qRound(sum[1] / weights),
                                    qRound(sum[2] / weights), qRound(sum[3] / weights)));
        }
    }
    return averaged;
}

// The largest difference of any channel of any pixel, both taken premultiplied.
int largestDifference(const QImage &one, const QImage &other)
{
    const QImage a = one.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = other.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (a.size() != b.size())
        return 255;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({ largest, std::abs(qRed(p) - qRed(q)),
                                 std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q)),
                                 std::abs(qAlpha(p) - qAlpha(q)) });
        }
    }
    return largest;
}

// A picture of size whose left part is transparent and the rest opaque red: its halvings'
// squares across the border mix the two.
QImage redBesideNothing(QSize size)
{
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = size.width() / 2 + 1; x < size.width(); ++x)
            picture.setPixel(x, y, qRgba(255, 0, 0, 255));
    }
    return picture;
}

} // namespace

class tst_PictureReductions : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void halvingAveragesWhatEachPixelCovers_data();
    void halvingAveragesWhatEachPixelCovers();
    void halvingsOfAScaleNoLongerShownAreGivenBack();
    void halvingsShownAreKeptWhateverTheirSize();
};

void tst_PictureReductions::cleanup()
{
    // Nothing of one case is kept for the next.
    PictureReductions::newScaleShown();
    PictureReductions::giveBackOtherScales();
}

void tst_PictureReductions::halvingAveragesWhatEachPixelCovers_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<int>("halvings");
    QTest::addColumn<int>("tolerance"); // each halving rounds once
    QTest::newRow("photo, twice") << TestSupport::photoLike(QSize(320, 240)) << 2 << 1;
    // The last column and row of an odd side are half a square.
    QTest::newRow("odd sides") << TestSupport::photoLike(QSize(161, 121)) << 1 << 1;
    QTest::newRow("grid of lines, four times")
            << TestSupport::gridOfLines(QSize(256, 192)) << 4 << 1;
    // Averaged without its alpha premultiplied, the transparent pixels' black darkens the red.
    QTest::newRow("red beside nothing") << redBesideNothing(QSize(64, 32)) << 2 << 1;
    QTest::newRow("grey levels")
            << TestSupport::photoLike(QSize(200, 100)).convertToFormat(QImage::Format_Grayscale8)
            << 1 << 1;
    QTest::newRow("a colour table")
            << TestSupport::gridOfLines(QSize(96, 64)).convertToFormat(QImage::Format_Indexed8) << 3
            << 1;
}

void tst_PictureReductions::halvingAveragesWhatEachPixelCovers()
{
    QFETCH(QImage, picture);
    QFETCH(int, halvings);
    QFETCH(int, tolerance);
    const QImage halved = PictureReductions::halved(picture, halvings);
    const QSize size = PictureReductions::halvedSize(picture.size(), halvings);
    QCOMPARE(halved.size(), size);
    QVERIFY(halved.hasAlphaChannel() || !picture.hasAlphaChannel());
    QVERIFY2(largestDifference(halved, averagedByArea(picture, size)) <= tolerance,
             qPrintable(QString::number(largestDifference(halved, averagedByArea(picture, size)))));
}

// Zoomed from one band of sizes to another and left still, the board keeps the halving it
// shows, and gives back those it showed before.
void tst_PictureReductions::halvingsOfAScaleNoLongerShownAreGivenBack()
{
    const QImage photo = TestSupport::photoLike(QSize(640, 480));
    PictureReductions::newScaleShown();
    const QImage before = PictureReductions::halved(photo, 2);
    PictureReductions::newScaleShown();
    const QImage now = PictureReductions::halved(photo, 1);
    QCOMPARE(PictureReductions::keptHalvings(photo), (QVector<int>{ 1, 2 }));
    // The halving of the scale before stands in while the next is made.
    QCOMPARE(PictureReductions::nearestHalving(photo, 3).cacheKey(), before.cacheKey());
    PictureReductions::giveBackOtherScales();
    QCOMPARE(PictureReductions::keptHalvings(photo), QVector<int>{ 1 });
    // Shown again at the next scale, it is kept, and not made again.
    PictureReductions::newScaleShown();
    QCOMPARE(PictureReductions::halved(photo, 1).cacheKey(), now.cacheKey());
    PictureReductions::giveBackOtherScales();
    QCOMPARE(PictureReductions::keptHalvings(photo), QVector<int>{ 1 });
}

// The halvings the board shows at once are all kept, however much they take: given back to
// make room, each was made again for the next paint, which gave back another.
void tst_PictureReductions::halvingsShownAreKeptWhateverTheirSize()
{
    constexpr int kPictures = 20; // each halving 4 MB: more than the room kept for others
    constexpr int kSide = 2048;
    // Pictures of their own over the same pixels, so that the test holds one picture's memory.
    QByteArray pixels(kSide * kSide * 4, '\x60');
    PictureReductions::newScaleShown();
    QVector<QImage> pictures;
    QVector<qint64> halvings;
    for (int n = 0; n < kPictures; ++n) {
        pictures << QImage(reinterpret_cast<const uchar *>(pixels.constData()), kSide, kSide,
                           QImage::Format_RGB32);
        halvings << PictureReductions::halved(pictures.last(), 1).cacheKey();
    }
    for (int n = 0; n < kPictures; ++n) {
        QCOMPARE(PictureReductions::keptHalvings(pictures[n]), QVector<int>{ 1 });
        QCOMPARE(PictureReductions::halved(pictures[n], 1).cacheKey(), halvings[n]);
    }
}

QTEST_MAIN(tst_PictureReductions)
#include "tst_picturereductions.moc"
