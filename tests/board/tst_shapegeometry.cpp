#include "board/dgpathcurveitem.h"
#include "board/shapegeometry.h"

#include <QtTest>

#include <cmath>

using Points = QVector<QPointF>;
Q_DECLARE_METATYPE(Points)

class tst_ShapeGeometry : public QObject
{
    Q_OBJECT
private slots:
    void polygons_data();
    void polygons();
    void outlines_data();
    void outlines();
    void degenerateDragsStayFinite_data();
    void degenerateDragsStayFinite();
    void nonFiniteInputGivesNothing();
    void scenePointsMapIntoTheObject();
    void starKeepsItsProportionsBothWays();
    void fillStepTools();
    void shortestDistance_data();
    void shortestDistance();
};

namespace {

Points elementsOf(const QPainterPath &path)
{
    Points points;
    for (int i = 0; i < path.elementCount(); ++i)
        points << QPointF(path.elementAt(i).x, path.elementAt(i).y);
    return points;
}

QPainterPath pathOf(int tool, QPointF current)
{
    return ShapeGeometry::path(tool, current, QPointF(0, 0), current);
}

} // namespace

// The polygon tools for a drag from the object's origin to (100, 60): the dragged rectangle
// in whole numbers is (0, 0) to (99, 59) with centre (49, 29).
void tst_ShapeGeometry::polygons_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<QPointF>("current");
    QTest::addColumn<Points>("points");
    const QPointF drag(100, 60);
    QTest::newRow("line") << int(BtMenus::btLine) << drag << Points{ { 0, 0 }, { 100, 60 } };
    QTest::newRow("triangle") << int(BtMenus::btTriangle) << drag
                              << Points{ { 49, 0 }, { 0, 59 }, { 99, 59 }, { 49, 0 } };
    QTest::newRow("pentagon") << int(BtMenus::btPentagon) << drag
                              << Points{ { 97, 14 }, { 49, -21 }, { 1, 14 },
                                         { 20, 69 }, { 78, 69 },  { 97, 14 } };
    QTest::newRow("hexagon") << int(BtMenus::btHexagon) << drag
                             << Points{ { 99, 29 }, { 74, -14 }, { 24, -14 }, { 0, 29 },
                                        { 24, 72 }, { 74, 72 },  { 99, 29 } };
    QTest::newRow("parallelogram reaches 1.25 dx")
            << int(BtMenus::btParallelogram) << drag
            << Points{ { 25, 0 }, { 0, 60 }, { 100, 60 }, { 125, 0 }, { 25, 0 } };
    QTest::newRow("right triangle") << int(BtMenus::btRightTriangle) << drag
                                    << Points{ { 0, 0 }, { 0, 60 }, { 100, 60 }, { 0, 0 } };
    QTest::newRow("rhombus") << int(BtMenus::btRhombus) << drag
                             << Points{ { 50, 0 }, { 0, 30 }, { 50, 60 }, { 100, 30 }, { 50, 0 } };
    QTest::newRow("arrow") << int(BtMenus::btArrow) << drag
                           << Points{ { 99, 29 }, { 66, 0 },  { 66, 15 }, { 0, 15 },
                                      { 0, 44 },  { 66, 44 }, { 66, 59 }, { 99, 29 } };
    QTest::newRow("double arrow") << int(BtMenus::btDoubleArrow) << drag
                                  << Points{ { 99, 29 }, { 74, 0 },  { 74, 15 }, { 25, 15 },
                                             { 25, 0 },  { 0, 29 },  { 25, 59 }, { 25, 44 },
                                             { 74, 44 }, { 74, 59 }, { 99, 29 } };
    QTest::newRow("triangle dragged up-left")
            << int(BtMenus::btTriangle) << QPointF(-40, -20)
            << Points{ { -20, -20 }, { -40, -1 }, { -1, -1 }, { -20, -20 } };
    QTest::newRow("cube: K0 to K7")
            << int(BtMenus::btCube) << drag
            << Points{ { 99, 0 },  { 25, 0 },  { 0, 15 },  { 74, 15 }, { 99, 0 },  { 99, 59 },
                       { 74, 74 }, { 0, 74 },  { 0, 15 },  { 74, 15 }, { 74, 74 }, { 25, 59 },
                       { 25, 0 },  { 25, 59 }, { 99, 59 }, { 25, 59 }, { 0, 74 } };
    QTest::newRow("shape 93") << int(BtMenus::btShape93) << drag
                              << Points{ { 87, 0 },  { 37, 0 },  { 12, 7 }, { 62, 7 },  { 87, 0 },
                                         { 99, 59 }, { 74, 74 }, { 0, 74 }, { 12, 7 },  { 62, 7 },
                                         { 74, 74 }, { 25, 59 }, { 37, 0 }, { 25, 59 }, { 99, 59 },
                                         { 25, 59 }, { 0, 74 } };
}

void tst_ShapeGeometry::polygons()
{
    QFETCH(int, tool);
    QFETCH(QPointF, current);
    QFETCH(Points, points);
    const QPainterPath path = pathOf(tool, current);
    QCOMPARE(elementsOf(path), points);
    QVERIFY(path.elementAt(0).isMoveTo());
}

// Rectangles and ellipses: compared by the bounds of the outline.
void tst_ShapeGeometry::outlines_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<QPointF>("current");
    QTest::addColumn<QRectF>("bounds");
    QTest::newRow("rectangle") << int(BtMenus::btRectangle) << QPointF(-30, 20)
                               << QRectF(-30, 0, 30, 20);
    QTest::newRow("square dragged up-right lies below")
            << int(BtMenus::btSquare) << QPointF(40, -30) << QRectF(0, 0, 40, 40);
    QTest::newRow("round rectangle")
            << int(BtMenus::btRoundRect) << QPointF(80, 40) << QRectF(0, 0, 80, 40);
    QTest::newRow("ellipse") << int(BtMenus::btEllipse) << QPointF(50, 20) << QRectF(0, 0, 50, 20);
    QTest::newRow("thin circle is 10 across")
            << int(BtMenus::btCircle) << QPointF(4, 30) << QRectF(0, 0, 10, 10);
    QTest::newRow("circle takes the smaller side")
            << int(BtMenus::btCircle) << QPointF(-70, 35.7) << QRectF(-70, 0, 35, 35);
    QTest::newRow("cylinder: lids above and below")
            << int(BtMenus::btCylinder) << QPointF(100, 80) << QRectF(0, -10, 99, 99);
    QTest::newRow("ball: equator from cx - W / 2")
            << int(BtMenus::btBall) << QPointF(100, 80) << QRectF(-1, 0, 101, 80);
    QTest::newRow("cone") << int(BtMenus::btCone) << QPointF(100, 80) << QRectF(0, 0, 99, 79);
}

void tst_ShapeGeometry::outlines()
{
    QFETCH(int, tool);
    QFETCH(QPointF, current);
    QFETCH(QRectF, bounds);
    const QRectF got = pathOf(tool, current).boundingRect();
    QVERIFY2(qAbs(got.left() - bounds.left()) < 0.01 && qAbs(got.top() - bounds.top()) < 0.01
                     && qAbs(got.width() - bounds.width()) < 0.01
                     && qAbs(got.height() - bounds.height()) < 0.01,
             qPrintable(QStringLiteral("got %1 %2 %3 %4")
                                .arg(got.x())
                                .arg(got.y())
                                .arg(got.width())
                                .arg(got.height())));
}

void tst_ShapeGeometry::degenerateDragsStayFinite_data()
{
    QTest::addColumn<QPointF>("current");
    QTest::newRow("no move") << QPointF(0, 0);
    QTest::newRow("under a pixel") << QPointF(0.4, 0.3);
    QTest::newRow("flat") << QPointF(7, 0);
    QTest::newRow("upright") << QPointF(0, -7);
    QTest::newRow("one pixel") << QPointF(1, 1);
}

void tst_ShapeGeometry::degenerateDragsStayFinite()
{
    QFETCH(QPointF, current);
    for (int tool = BtMenus::btLine; tool <= BtMenus::btShape93; ++tool) {
        if (!ShapeGeometry::isShapeTool(tool))
            continue;
        const QPainterPath path = pathOf(tool, current); // may be empty: a flat square
        for (const QPointF &point : elementsOf(path))
            QVERIFY2(std::isfinite(point.x()) && std::isfinite(point.y()),
                     qPrintable(QString::number(tool)));
    }
}

void tst_ShapeGeometry::nonFiniteInputGivesNothing()
{
    const QPointF bad(std::nan(""), 3);
    QVERIFY(ShapeGeometry::path(BtMenus::btRoundRect, bad, QPointF(), bad).isEmpty());
    QVERIFY(ShapeGeometry::path(BtMenus::btPolygon, QPointF(5, 5), QPointF(), QPointF(5, 5))
                    .isEmpty());
}

void tst_ShapeGeometry::scenePointsMapIntoTheObject()
{
    DGPathCurveItem shape(QPointF(200, 100), QPen(), BtMenus::btArrow, nullptr);
    const QPainterPath path =
            ShapeGeometry::pathFor(BtMenus::btArrow, QPointF(200, 100), QPointF(300, 160), &shape);
    QCOMPARE(elementsOf(path), elementsOf(pathOf(BtMenus::btArrow, QPointF(100, 60))));
}

void tst_ShapeGeometry::starKeepsItsProportionsBothWays()
{
    const QRectF right = pathOf(BtMenus::btStar, QPointF(120, 80)).boundingRect();
    const QRectF left = pathOf(BtMenus::btStar, QPointF(-120, 80)).boundingRect();
    QVERIFY(right.width() > 100);
    QVERIFY(qAbs(right.width() - left.width()) <= 2);
    QVERIFY(qAbs(right.height() - left.height()) <= 2);
    QCOMPARE(pathOf(BtMenus::btStar, QPointF(120, 80)).elementCount(), 11);
}

void tst_ShapeGeometry::fillStepTools()
{
    for (int tool = 60; tool <= 100; ++tool) {
        const bool fills = (tool >= 73 && tool <= 80) || (tool >= 82 && tool <= 87);
        QCOMPARE(ShapeGeometry::takesFill(tool), fills);
    }
}

void tst_ShapeGeometry::shortestDistance_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QLineF>("line");
    QTest::addColumn<double>("distance");
    QTest::newRow("horizontal") << QPointF(3, 4) << QLineF(0, 0, 10, 0) << 4.0;
    QTest::newRow("vertical") << QPointF(3, 4) << QLineF(0, 0, 0, 10) << 3.0;
    QTest::newRow("beyond the ends") << QPointF(20, 4) << QLineF(0, 0, 10, 0) << 4.0;
    QTest::newRow("diagonal") << QPointF(0, 2) << QLineF(0, 0, 5, 5) << std::sqrt(2.0);
    QTest::newRow("coincident ends: to the point") << QPointF(3, 4) << QLineF(0, 0, 0, 0) << 5.0;
}

void tst_ShapeGeometry::shortestDistance()
{
    QFETCH(QPointF, point);
    QFETCH(QLineF, line);
    QFETCH(double, distance);
    QVERIFY(qAbs(ShapeGeometry::shortestDistance(point, line) - distance) < 1e-9);
}

QTEST_MAIN(tst_ShapeGeometry)
#include "tst_shapegeometry.moc"
