#include "board/douglaspeucker.h"

#include <QtTest>

#include <cmath>

class tst_DouglasPeucker : public QObject
{
    Q_OBJECT
private slots:
    void simplify_data();
    void simplify();
    void closedStrokeKeepsItsShape();
    void longSpiral();
};

using Points = QList<QPointF>;

void tst_DouglasPeucker::simplify_data()
{
    QTest::addColumn<Points>("points");
    QTest::addColumn<double>("epsilon");
    QTest::addColumn<Points>("expected");

    QTest::newRow("empty") << Points{} << 1.0 << Points{};
    QTest::newRow("one point twice") << Points{ { 3, 4 } } << 1.0 << Points{ { 3, 4 }, { 3, 4 } };
    QTest::newRow("two unchanged")
            << Points{ { 0, 0 }, { 5, 5 } } << 1.0 << Points{ { 0, 0 }, { 5, 5 } };
    QTest::newRow("straight line keeps its ends")
            << Points{ { 0, 0 }, { 1, 0.1 }, { 2, -0.1 }, { 3, 0 } } << 0.5
            << Points{ { 0, 0 }, { 3, 0 } };
    QTest::newRow("corner kept") << Points{ { 0, 0 }, { 5, 0 }, { 10, 0 }, { 10, 5 }, { 10, 10 } }
                                 << 1.0 << Points{ { 0, 0 }, { 10, 0 }, { 10, 10 } };
    // Strictly greater: a point exactly at epsilon goes.
    QTest::newRow("at epsilon dropped")
            << Points{ { 0, 0 }, { 5, 2 }, { 10, 0 } } << 2.0 << Points{ { 0, 0 }, { 10, 0 } };
    // Two points equally far: the earlier one splits, and the later one is then within reach
    // of the new chord (splitting at the later one would keep (9, 4) instead).
    QTest::newRow("tie keeps earlier split")
            << Points{ { 0, 0 }, { 3, 4 }, { 6, 0 }, { 9, 4 }, { 12, 0 } } << 3.0
            << Points{ { 0, 0 }, { 3, 4 }, { 12, 0 } };
}

void tst_DouglasPeucker::simplify()
{
    QFETCH(Points, points);
    QFETCH(double, epsilon);
    QFETCH(Points, expected);
    QCOMPARE(DouglasPeucker::simplify(points, epsilon), expected);
}

void tst_DouglasPeucker::closedStrokeKeepsItsShape()
{
    // First and last point coincide: the chord has no length, distances are to that point.
    Points circle;
    for (int i = 0; i <= 36; ++i)
        circle << QPointF(100 + 50 * std::cos(i * M_PI / 18), 100 + 50 * std::sin(i * M_PI / 18));
    circle.last() = circle.first();
    const Points kept = DouglasPeucker::simplify(circle, 5.0);
    QVERIFY(kept.size() > 4);
    QCOMPARE(kept.first(), circle.first());
    QCOMPARE(kept.last(), circle.first());
}

void tst_DouglasPeucker::longSpiral()
{
    // Deep splits must not exhaust the stack.
    Points spiral;
    for (int i = 0; i < 20000; ++i)
        spiral << QPointF(i * std::cos(i * 0.01), i * std::sin(i * 0.01));
    const Points kept = DouglasPeucker::simplify(spiral, 0.5);
    QVERIFY(kept.size() > 100);
    QCOMPARE(kept.first(), spiral.first());
    QCOMPARE(kept.last(), spiral.last());
}

QTEST_APPLESS_MAIN(tst_DouglasPeucker)
#include "tst_douglaspeucker.moc"
