#include "board/freehandstroke.h"

#include <QBitmap>
#include <QRegion>
#include <QtTest>

class tst_FreehandStroke : public QObject
{
    Q_OBJECT
private slots:
    void scaledCopy_data();
    void scaledCopy();
    void strokePath_data();
    void strokePath();
    void calligraphicPicture_data();
    void calligraphicPicture();
    void texturePictureKeepsTheStampedRegion();
};

using Points = QVector<QPointF>;

void tst_FreehandStroke::scaledCopy_data()
{
    QTest::addColumn<Points>("points");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<Points>("expected");
    QTest::newRow("zoom 1 unchanged")
            << Points{ { 10.5, 20 }, { 30, 40 } } << 1.0 << Points{ { 10.5, 20 }, { 30, 40 } };
    // 100 / 2 - 100 = -50: the shift puts the first point back at 100.
    QTest::newRow("zoom 2") << Points{ { 100, 60 }, { 140, 80 } } << 2.0
                            << Points{ { 100, 60 }, { 120, 70 } };
    // 101 / 0.5 - 101 = 101; 33 / 0.5 - 33 = 33.
    QTest::newRow("zoom 0.5") << Points{ { 101, 33 }, { 111, 43 } } << 0.5
                              << Points{ { 101, 33 }, { 121, 53 } };
    // 100 / 1.5 - 100 = -33.33, truncated to -33: the first point stays within a pixel.
    QTest::newRow("zoom 1.5") << Points{ { 100, 100 } } << 1.5
                              << Points{ { 100 / 1.5 + 33, 100 / 1.5 + 33 } };
    QTest::newRow("empty") << Points{} << 2.0 << Points{};
}

void tst_FreehandStroke::scaledCopy()
{
    QFETCH(Points, points);
    QFETCH(double, zoom);
    QFETCH(Points, expected);
    QCOMPARE(FreehandStroke::scaledCopy(points, zoom), expected);
}

void tst_FreehandStroke::strokePath_data()
{
    QTest::addColumn<Points>("points");
    QTest::addColumn<Points>("elements");
    QTest::newRow("one point") << Points{ { 5, 5 } } << Points{ { 5, 5 } };
    // A tap is its point alone, drawn as a dot; a quick dash keeps every point.
    QTest::newRow("click of two") << Points{ { 5, 5 }, { 5, 5 } } << Points{ { 5, 5 } };
    QTest::newRow("five") << Points{ { 0, 0 }, { 10, 0 }, { 50, 50 }, { 90, 0 }, { 99, 9 } }
                          << Points{ { 0, 0 }, { 10, 0 }, { 50, 50 }, { 90, 0 }, { 99, 9 } };
    QTest::newRow("six") << Points{ { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 }, { 4, 0 }, { 5, 1 } }
                         << Points{ { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 }, { 4, 0 }, { 5, 1 } };
}

void tst_FreehandStroke::strokePath()
{
    QFETCH(Points, points);
    QFETCH(Points, elements);
    const QPainterPath path = FreehandStroke::strokePath(points);
    Points actual;
    for (int i = 0; i < path.elementCount(); ++i)
        actual << QPointF(path.elementAt(i).x, path.elementAt(i).y);
    QCOMPARE(actual, elements);
}

void tst_FreehandStroke::calligraphicPicture_data()
{
    QTest::addColumn<Points>("stroke");
    QTest::addColumn<QRect>("ink"); // where the bars lie, in the stroke's frame
    QTest::addColumn<QSize>("size"); // 20 more than the stroke's bounds
    Points level;
    for (int x = 100; x <= 200; x += 10)
        level << QPointF(x, 50);
    // Each bar stands on the pixel that holds its point and one pixel each side of it.
    QTest::newRow("level") << level << QRect(QPoint(99, 40), QPoint(201, 59)) << QSize(120, 20);
    QTest::newRow("three points") << Points{ { 100, 50 }, { 110, 50 }, { 110, 90 } }
                                  << QRect(QPoint(99, 40), QPoint(111, 99)) << QSize(30, 60);
}

void tst_FreehandStroke::calligraphicPicture()
{
    QFETCH(Points, stroke);
    QFETCH(QRect, ink);
    QFETCH(QSize, size);
    const FreehandStroke::Picture picture = FreehandStroke::calligraphic(
            stroke, FreehandStroke::strokePath(stroke), QColor(0, 0, 255, 40));
    QCOMPARE(picture.image.size(), size);
    const QPoint topLeft = picture.topLeft.toPoint();
    const QRegion inked(QBitmap::fromImage(picture.image.createAlphaMask()));
    QCOMPARE(inked.boundingRect().translated(topLeft), ink);
    // Solid, whatever the pen's alpha.
    QCOMPARE(picture.image.pixelColor(stroke.first().toPoint() - topLeft), QColor(0, 0, 255));
}

void tst_FreehandStroke::texturePictureKeepsTheStampedRegion()
{
    QImage stamp(20, 20, QImage::Format_ARGB32_Premultiplied);
    stamp.fill(QColor(255, 0, 0));
    const Points stroke{ { 50, 50 }, { 60, 50 }, { 70, 52 }, { 80, 55 }, { 90, 60 }, { 100, 70 } };
    const QPainterPath path = FreehandStroke::strokePath(stroke);
    const FreehandStroke::Picture picture = FreehandStroke::texture(stroke, path, stamp);
    const QRect bounds = path.boundingRect().toRect();
    QCOMPARE(picture.topLeft, QPointF(bounds.topLeft() - QPoint(8, 8)));
    QCOMPARE(picture.image.size(), bounds.size() + QSize(16, 16));
    for (const QPointF &point : stroke)
        QCOMPARE(picture.image.pixelColor((point - picture.topLeft).toPoint()), QColor(255, 0, 0));
    // Away from the stroke only the faint ground remains.
    QCOMPARE(picture.image.pixelColor(picture.image.width() - 1, 0), QColor(0, 0, 0, 1));

    // Three points: the last one's stamp is kept too.
    const Points turn{ { 50, 50 }, { 60, 50 }, { 60, 90 } };
    const FreehandStroke::Picture turned =
            FreehandStroke::texture(turn, FreehandStroke::strokePath(turn), stamp);
    QCOMPARE(QRectF(turned.topLeft, turned.image.size()), QRectF(42, 42, 26, 56));

    // A single point would stamp nothing: no picture of the bare ground is made.
    const Points dot{ { 10, 10 } };
    const FreehandStroke::Picture bare =
            FreehandStroke::texture(dot, FreehandStroke::strokePath(dot), stamp);
    QVERIFY(bare.image.isNull());
}

QTEST_MAIN(tst_FreehandStroke)
#include "tst_freehandstroke.moc"
