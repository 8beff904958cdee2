#include "tools/instrumentrules.h"

#include "support/instrumentsfixture.h"

#include <QtTest>

using namespace InstrumentRules;

class tst_InstrumentRules : public QObject
{
    Q_OBJECT
private slots:
    void shownAngle_data();
    void shownAngle();
    void turnFollowsPointer();
    void shorterSweep_data();
    void shorterSweep();
    void protractorFigures_data();
    void protractorFigures();
    void compassArc_data();
    void compassArc();
    void sizeFromDistanceRatio();
};

void tst_InstrumentRules::shownAngle_data()
{
    QTest::addColumn<double>("rotation");
    QTest::addColumn<int>("angle");
    QTest::addColumn<qreal>("textX");
    QTest::newRow("upright") << 0.0 << 0 << 45.0;
    QTest::newRow("quarter counter-clockwise") << -90.0 << 90 << 37.0;
    QTest::newRow("quarter clockwise") << 90.0 << -90 << 45.0;
    QTest::newRow("two whole turns back") << -720.0 << 0 << 45.0;
    QTest::newRow("three digits") << -150.7 << 150 << 29.0;
    QTest::newRow("truncated, not rounded") << -9.9 << 9 << 45.0;
    QTest::newRow("ten") << -10.0 << 10 << 37.0;
    QTest::newRow("past a turn") << -370.0 << 10 << 37.0;
}

void tst_InstrumentRules::shownAngle()
{
    QFETCH(double, rotation);
    QFETCH(int, angle);
    QFETCH(qreal, textX);
    QCOMPARE(InstrumentRules::shownAngle(rotation), angle);
    QCOMPARE(angleTextX(angle, 29, 37, 45), textX);
}

void tst_InstrumentRules::turnFollowsPointer()
{
    // A pointer swung a quarter turn counter-clockwise on the screen (y down) turns the
    // instrument by -90; the start rotation is kept, never normalised.
    const QPointF origin(100, 100);
    QCOMPARE(turnedRotation(0, origin, QPointF(200, 100), QPointF(100, 0)), -90.0);
    QCOMPARE(turnedRotation(-350, origin, QPointF(200, 100), QPointF(100, 0)), -440.0);
    QCOMPARE(turnedRotation(15, origin, QPointF(200, 100), origin), 15.0);
}

void tst_InstrumentRules::shorterSweep_data()
{
    QTest::addColumn<qreal>("from");
    QTest::addColumn<qreal>("to");
    QTest::addColumn<qreal>("sweep");
    QTest::newRow("30 to 300 goes clockwise") << 30.0 << 300.0 << -90.0;
    QTest::newRow("30 to 120") << 30.0 << 120.0 << 90.0;
    QTest::newRow("half a turn") << 0.0 << 180.0 << 180.0;
    QTest::newRow("just past half") << 0.0 << 181.0 << -179.0;
}

void tst_InstrumentRules::shorterSweep()
{
    QFETCH(qreal, from);
    QFETCH(qreal, to);
    QFETCH(qreal, sweep);
    const qreal got = InstrumentRules::shorterSweep(QLineF::fromPolar(100, from).p2(),
                                                    QLineF::fromPolar(100, to).p2());
    QVERIFY2(qAbs(got - sweep) < 1e-6, qPrintable(QString::number(got)));
}

void tst_InstrumentRules::protractorFigures_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVector<QPointF>>("corners"); // the figure's first and last points
    const QPointF at30 = QLineF::fromPolar(202, 30).p2();
    const QPointF at300 = QLineF::fromPolar(202, 300).p2();
    QTest::newRow("arc") << int(tmArc) << QVector<QPointF>{ at30, at300 };
    QTest::newRow("chord closes on its start") << int(tmChord) << QVector<QPointF>{ at30, at30 };
    QTest::newRow("pie from the centre") << int(tmPie) << QVector<QPointF>{ {}, {} };
    QTest::newRow("angle") << int(tmAngle) << QVector<QPointF>{ at30, at300 };
    QTest::newRow("triangle") << int(tmTriangle) << QVector<QPointF>{ {}, {} };
}

void tst_InstrumentRules::protractorFigures()
{
    QFETCH(int, kind);
    QFETCH(QVector<QPointF>, corners);
    const QPainterPath figure = protractorFigure(kind, QLineF::fromPolar(190, 30).p2(),
                                                 QLineF::fromPolar(150, 300).p2(), 200);
    const QVector<QPointF> points = InstrumentsFixture::pointsOf(figure);
    // Arcs are Bezier curves: their ends lie within a tenth of a unit of the true circle.
    QVERIFY(InstrumentsFixture::close(points.first(), corners.first(), 0.1));
    QVERIFY(InstrumentsFixture::close(points.last(), corners.last(), 0.1));
    if (kind == tmArc) // clockwise through 345 degrees, never the long way over 165
        QVERIFY(InstrumentsFixture::close(figure.pointAtPercent(0.5),
                                          QLineF::fromPolar(202, 345).p2(), 3));
    if (kind == tmAngle)
        QCOMPARE(points.size(), 3);
}

void tst_InstrumentRules::compassArc_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<qreal>("sweep"); // travelled by the pencil from the +x axis
    QTest::addColumn<qreal>("middle"); // angle of the arc's middle
    QTest::addColumn<qreal>("end"); // angle of its end
    QTest::addColumn<qreal>("length"); // of the arc, in degrees
    QTest::newRow("circle, 10 clockwise") << int(tmFullCircle) << -10.0 << -5.0 << -10.0 << 10.0;
    QTest::newRow("circle, 10 counter-clockwise")
            << int(tmFullCircle) << 10.0 << 5.0 << 10.0 << 10.0;
    QTest::newRow("circle, 350 counter-clockwise")
            << int(tmFullCircle) << 350.0 << 175.0 << -10.0 << 350.0;
    QTest::newRow("circle, past a turn: whole, ending at the pencil")
            << int(tmFullCircle) << 400.0 << 220.0 << 40.0 << 360.0;
    QTest::newRow("circle, past a turn clockwise")
            << int(tmFullCircle) << -400.0 << -220.0 << -40.0 << 360.0;
    QTest::newRow("half, 350 counter-clockwise: 10 the short way")
            << int(tmHalfCircle) << 350.0 << -5.0 << -10.0 << 10.0;
    QTest::newRow("half, 100 clockwise") << int(tmHalfCircle) << -100.0 << -50.0 << -100.0 << 100.0;
}

void tst_InstrumentRules::compassArc()
{
    QFETCH(int, kind);
    QFETCH(qreal, sweep);
    QFETCH(qreal, middle);
    QFETCH(qreal, end);
    QFETCH(qreal, length);
    const QRectF circle(-200, -200, 400, 400);
    const QLineF start(QPointF(), QPointF(200, 0));
    const QPainterPath arc = InstrumentRules::compassArc(circle, start, sweep, kind);
    const auto onCircle = [](qreal angle) { return QLineF::fromPolar(200, angle).p2(); };
    QVERIFY(InstrumentsFixture::close(arc.pointAtPercent(0.5), onCircle(middle), 3));
    // The toolkit finds an arc's end on its curves to a tenth of a unit.
    QVERIFY(InstrumentsFixture::close(InstrumentsFixture::pointsOf(arc).last(), onCircle(end),
                                      0.2));
    QVERIFY(qAbs(arc.length() - 200 * qDegreesToRadians(length)) < 0.5);
}

void tst_InstrumentRules::sizeFromDistanceRatio()
{
    QCOMPARE(scaledSize(600, QPointF(120, 0), QPointF(60, 0)), 1200);
    QCOMPARE(scaledSize(600, QPointF(59, 0), QPointF(60, 0)), 590);
    QCOMPARE(scaledSize(600, QPointF(10, 0), QPointF()), 600); // pressed on the origin itself
}

QTEST_MAIN(tst_InstrumentRules)
#include "tst_instrumentrules.moc"
