#include "document/iwbformat.h"

#include <QPainterPath>
#include <QtTest>

#include <cmath>
#include <limits>
#include <random>

// The value texts of "content.xml": what the writer produces and what the readers take back,
// quirks of stored files included.
class tst_IwbFormat : public QObject
{
    Q_OBJECT

private slots:
    void numbers_data();
    void numbers();
    void numbersAsTheToolkitWritesThem();
    void transforms_data();
    void transforms();
    void everyPenStyleSurvivesARoundTrip_data();
    void everyPenStyleSurvivesARoundTrip();
    void penStylesOfOtherFiles_data();
    void penStylesOfOtherFiles();
    void colours_data();
    void colours();
    void pointsRoundTrip();
    void pointsOfOtherFiles_data();
    void pointsOfOtherFiles();
    void nonFinitePathsAreNotWritten();
    void readNumbers_data();
    void readNumbers();
    void fillKindsAndTextWords();
    void ubzMatrices_data();
    void ubzMatrices();
};

void tst_IwbFormat::numbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("half") << 12.5 << "12.5";
    QTest::newRow("whole") << 100.0 << "100";
    QTest::newRow("third") << 1.0 / 3 << "0.333333";
    QTest::newRow("small") << 0.00001 << "1e-05";
    QTest::newRow("large") << 1234567.0 << "1.23457e+06";
    QTest::newRow("negative") << -7.25 << "-7.25";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "0";
    QTest::newRow("infinity") << inf << "0";
    QTest::newRow("minus infinity") << -inf << "0";
    // Rounded to six digits exactly as the toolkit rounds: on the exact value, halves away from
    // zero.
    QTest::newRow("half past the sixth digit") << 12345.25 << "12345.3";
    QTest::newRow("negative half past the sixth digit") << -12345.25 << "-12345.3";
    QTest::newRow("just under half past it") << std::nextafter(12345.25, 0.0) << "12345.2";
    QTest::newRow("half of a whole number") << 500000.5 << "500001";
    QTest::newRow("rounded up to a million") << 999999.5 << "1e+06";
    QTest::newRow("just under a million") << 999999.4 << "999999";
    QTest::newRow("rounded into the next power of ten") << 0.00999999951 << "0.01";
    QTest::newRow("a ten thousandth") << 0.0001 << "0.0001";
    QTest::newRow("just under a ten thousandth") << 0.000099999 << "9.9999e-05";
    QTest::newRow("rounded up to a ten thousandth") << 0.00009999996 << "0.0001";
    QTest::newRow("many digits") << 0.00123456789 << "0.00123457";
}

void tst_IwbFormat::numbers()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(IwbFormat::number(value), text);
}

void tst_IwbFormat::numbersAsTheToolkitWritesThem()
{
    // Every file written so far has its numbers as the toolkit writes them: values of every
    // size, halves and eighths (exact ties), and values a hair off each power of ten.
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> power(-7, 8);
    QVector<double> values;
    for (int n = 0; n < 100000; ++n) {
        const double value = std::pow(10.0, power(random));
        values << value << -value << std::round(value * 8) / 8;
    }
    for (int exponent = -6; exponent <= 7; ++exponent) {
        const double ten = std::pow(10.0, exponent);
        for (int step = -200; step <= 200; ++step)
            values << ten * (1 + step * 1e-13) << ten * (0.9999995 + step * 1e-14);
    }
    for (const double value : qAsConst(values))
        QCOMPARE(IwbFormat::number(value), QString::number(value, 'g', 6));
}

void tst_IwbFormat::transforms_data()
{
    QTest::addColumn<double>("rotation"); // counter-clockwise, as written
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("readRotation");
    QTest::addColumn<float>("readScale");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("plain") << 0.0 << 1.0 << "translate(0,0) rotate(0,0,0) scale(1)" << 0.f << 1.f;
    QTest::newRow("unturned item")
            << -0.0 << 1.0 << "translate(0,0) rotate(0,0,0) scale(1)" << 0.f << 1.f;
    QTest::newRow("turned and scaled")
            << 90.0 << 2.0 << "translate(0,0) rotate(90,0,0) scale(2)" << 90.f << 2.f;
    QTest::newRow("fractions") << -30.5 << 1.5 << "translate(0,0) rotate(-30.5,0,0) scale(1.5)"
                               << -30.5f << 1.5f;
    // Kept from stored files: digits before an exponent and no comma after them read as 0 / 1.
    QTest::newRow("exponent rotation")
            << 0.00001 << 1.0 << "translate(0,0) rotate(1e-05,0,0) scale(1)" << 0.f << 1.f;
    QTest::newRow("exponent scale")
            << 0.0 << 0.00001 << "translate(0,0) rotate(0,0,0) scale(1e-05)" << 0.f << 1.f;
    QTest::newRow("zero scale") << 0.0 << 0.0 << "translate(0,0) rotate(0,0,0) scale(0)" << 0.f
                                << 1.f;
    QTest::newRow("not finite") << nan << nan << "translate(0,0) rotate(0,0,0) scale(1)" << 0.f
                                << 1.f;
}

void tst_IwbFormat::transforms()
{
    QFETCH(double, rotation);
    QFETCH(double, scale);
    QFETCH(QString, text);
    QFETCH(float, readRotation);
    QFETCH(float, readScale);
    QCOMPARE(IwbFormat::transform(rotation, scale), text);
    QCOMPARE(IwbFormat::readRotation(text), readRotation);
    QCOMPARE(IwbFormat::readScale(text), readScale);
}

void tst_IwbFormat::everyPenStyleSurvivesARoundTrip_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("readBack");

    QTest::newRow("solid") << int(Qt::SolidLine) << "1, 0" << int(Qt::SolidLine);
    QTest::newRow("dash") << int(Qt::DashLine) << "2, 1" << int(Qt::DashLine);
    QTest::newRow("dot") << int(Qt::DotLine) << "5, 1" << int(Qt::DotLine);
    QTest::newRow("dash dot") << int(Qt::DashDotLine) << "5, 1, 2" << int(Qt::DashDotLine);
    QTest::newRow("dash dot dot") << int(Qt::DashDotDotLine) << "" << int(Qt::SolidLine);
    QTest::newRow("no pen") << int(Qt::NoPen) << "" << int(Qt::SolidLine);
    QTest::newRow("custom") << int(Qt::CustomDashLine) << "" << int(Qt::SolidLine);
}

void tst_IwbFormat::everyPenStyleSurvivesARoundTrip()
{
    QFETCH(int, style);
    QFETCH(QString, text);
    QFETCH(int, readBack);
    QCOMPARE(IwbFormat::dashArray(Qt::PenStyle(style)), text);
    QCOMPARE(int(IwbFormat::readPenStyle(text)), readBack);
}

void tst_IwbFormat::penStylesOfOtherFiles_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("style");

    QTest::newRow("no digits") << "none" << int(Qt::SolidLine);
    QTest::newRow("leading zero one") << "01, 3" << int(Qt::SolidLine);
    QTest::newRow("other first number") << "4, 2" << int(Qt::DotLine);
    QTest::newRow("dash dot without blanks") << "5,1,2" << int(Qt::DotLine);
    QTest::newRow("three numbers, third not 2") << "5, 1, 3" << int(Qt::DotLine);
    QTest::newRow("dash dot other middle") << "5, 9, 2" << int(Qt::DashDotLine);
    QTest::newRow("huge first number") << "99999999999999999999, 1" << int(Qt::DotLine);
    QTest::newRow("words before the number") << "dash 2 1" << int(Qt::DashLine);
    QTest::newRow("number ends the text") << "x1" << int(Qt::SolidLine);
    QTest::newRow("sign is not a digit") << "-2, 1" << int(Qt::DashLine);
    QTest::newRow("only ASCII digits count")
            << QString::fromUtf8("\u0662, 1") << int(Qt::SolidLine);
}

void tst_IwbFormat::penStylesOfOtherFiles()
{
    QFETCH(QString, text);
    QFETCH(int, style);
    QCOMPARE(int(IwbFormat::readPenStyle(text)), style);
}

void tst_IwbFormat::colours_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("colourText");

    QTest::newRow("written colour") << "#1a2b3c"
                                    << "#1a2b3c";
    QTest::newRow("short form kept") << "#abc"
                                     << "#abc";
    QTest::newRow("letters kept as they are") << "#zzz"
                                              << "#zzz";
    QTest::newRow("upper case read as numbers") << "#ABCDEF"
                                                << "#ffffff";
    QTest::newRow("upper case with digits") << "#AB12EF"
                                            << "#0cffff";
    QTest::newRow("rgb") << "rgb(10,20,30)"
                         << "#0a141e";
    QTest::newRow("two numbers") << "rgb(10,20)"
                                 << "#0a14ff";
    QTest::newRow("later numbers replace blue") << "1 2 3 4"
                                                << "#010204";
    QTest::newRow("above 255") << "rgb(280,0,0)"
                               << "#ff0000";
    QTest::newRow("empty is white") << ""
                                    << "#ffffff";
    QTest::newRow("name without digits is white") << "none"
                                                  << "#ffffff";
}

void tst_IwbFormat::colours()
{
    QFETCH(QString, text);
    QFETCH(QString, colourText);
    QCOMPARE(IwbFormat::readColourText(text), colourText);
    QColor expected;
    expected.setNamedColor(colourText);
    QCOMPARE(IwbFormat::readColour(text), expected);
}

void tst_IwbFormat::pointsRoundTrip()
{
    QPainterPath path;
    path.moveTo(0, 0);
    path.lineTo(10, 5);
    QCOMPARE(IwbFormat::points(path, QPointF(100, 50)), QStringLiteral("100,50 110,55"));
    QCOMPARE(IwbFormat::points(QPainterPath(), QPointF(1, 1)), QString());

    QPainterPath curve;
    curve.moveTo(0.5, -2);
    curve.cubicTo(1.0 / 3, 4, 5, 6, 7, 1e-05);
    const QString text = IwbFormat::points(curve, QPointF());
    QCOMPARE(text, QStringLiteral("0.5,-2 0.333333,4 5,6 7,1e-05"));
    QPainterPath far;
    far.moveTo(12345.25, -0.00001);
    far.lineTo(999999.5, -0.0);
    QCOMPARE(IwbFormat::points(far, QPointF()), QStringLiteral("12345.3,-1e-05 1e+06,0"));
    const QList<QPointF> read = IwbFormat::readPoints(text);
    QCOMPARE(read.size(), curve.elementCount());
    for (int i = 0; i < read.size(); ++i)
        QVERIFY(qAbs(read.at(i).x() - curve.elementAt(i).x) < 1e-6);

    // Each number to the last bit as the text-to-float conversion reads it, whatever the form.
    const QStringList numbers = { "0.1",
                                  "-123.456",
                                  "+5",
                                  ".5",
                                  "1.",
                                  "-0",
                                  "16777217",
                                  "999999999999999",
                                  "1.0000000000000001",
                                  "1e3",
                                  "0.333333",
                                  "3.4e39",
                                  "-",
                                  "1..2",
                                  "0x10",
                                  "12345.678901234" };
    for (const QString &number : numbers) {
        const QList<QPointF> one = IwbFormat::readPoints(number + QLatin1Char(',') + number);
        const float expected = std::isfinite(number.toFloat()) ? number.toFloat() : 0.0f;
        QVERIFY2(one.size() == 1 && one.at(0).x() == qreal(expected), qPrintable(number));
    }
}

void tst_IwbFormat::pointsOfOtherFiles_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<QList<QPointF>>("points");

    QTest::newRow("written") << "10,20 110,20 110,80" << QPointF()
                             << QList<QPointF>{ { 10, 20 }, { 110, 20 }, { 110, 80 } };
    QTest::newRow("two blanks") << "1,2  3,4" << QPointF()
                                << QList<QPointF>{ { 1, 2 }, { 0, 0 }, { 3, 4 } };
    QTest::newRow("no comma") << "12" << QPointF() << QList<QPointF>{ { 12, 12 } };
    QTest::newRow("trailing blank") << "1,2 " << QPointF() << QList<QPointF>{ { 1, 2 } };
    QTest::newRow("not numbers") << "a,b 1e999,nan" << QPointF()
                                 << QList<QPointF>{ { 0, 0 }, { 0, 0 } };
    QTest::newRow("empty") << "" << QPointF() << QList<QPointF>();
    QTest::newRow("repeated points")
            << "5,5 5,5 6,6 6,6 5,5" << QPointF()
            << QList<QPointF>{ { 5, 5 }, { 5, 5 }, { 6, 6 }, { 6, 6 }, { 5, 5 } };
    QTest::newRow("one point repeated")
            << "3,3 3,3" << QPointF() << QList<QPointF>{ { 3, 3 }, { 3, 3 } };
    QTest::newRow("last repeats") << "1,1 2,2 2,2" << QPointF()
                                  << QList<QPointF>{ { 1, 1 }, { 2, 2 }, { 2, 2 } };
    QTest::newRow("two points") << "1,1 2,2" << QPointF() << QList<QPointF>{ { 1, 1 }, { 2, 2 } };
    QTest::newRow("ubz two blanks")
            << "0,0 10,0  10,10" << QPointF(1380, 1060)
            << QList<QPointF>{ { 1380, 1060 }, { 1390, 1060 }, { 1380, 1060 }, { 1390, 1070 } };
}

void tst_IwbFormat::pointsOfOtherFiles()
{
    QFETCH(QString, text);
    QFETCH(QPointF, offset);
    QFETCH(QList<QPointF>, points);
    QCOMPARE(IwbFormat::readPoints(text, offset), points);
    if (!offset.isNull())
        return;
    // The same points as a path: a move to the first, lines to the others, nothing for none.
    QPainterPath path;
    for (int i = 0; i < points.size(); ++i) {
        if (i == 0)
            path.moveTo(points.at(i));
        else
            path.lineTo(points.at(i));
    }
    const QPainterPath read = IwbFormat::readPolyline(text);
    QCOMPARE(read, path);
    QCOMPARE(read.elementCount(), path.elementCount());
}

void tst_IwbFormat::nonFinitePathsAreNotWritten()
{
    QPainterPath path;
    path.moveTo(0, 0);
    path.lineTo(10, 10);
    QVERIFY(IwbFormat::isFinite(path));
    QVERIFY(IwbFormat::isFinite(QPainterPath()));
    path.setElementPositionAt(1, std::numeric_limits<qreal>::quiet_NaN(), 3);
    QVERIFY(!IwbFormat::isFinite(path));
    QCOMPARE(IwbFormat::points(path, QPointF()), QStringLiteral("0,0 0,3"));
}

void tst_IwbFormat::readNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("number");
    QTest::addColumn<int>("integer");
    QTest::addColumn<int>("truncated");

    QTest::newRow("plain") << "12" << 12.f << 12 << 12;
    QTest::newRow("fraction") << "12.9" << 12.9f << 0 << 12;
    QTest::newRow("negative fraction") << "-3.7" << -3.7f << 0 << -3;
    QTest::newRow("exponent") << "1e-05" << 1e-05f << 0 << 0;
    QTest::newRow("empty") << "" << 0.f << 0 << 0;
    QTest::newRow("word") << "abc" << 0.f << 0 << 0;
    QTest::newRow("overflow") << "1e999" << 0.f << 0 << 0;
    QTest::newRow("nan") << "nan" << 0.f << 0 << 0;
    QTest::newRow("far beyond int") << "3e20" << 3e20f << 0 << 1000000000;
    QTest::newRow("bare fraction") << ".5" << 0.5f << 0 << 0;
    QTest::newRow("trailing point") << "7." << 7.f << 0 << 7;
    QTest::newRow("plus sign") << "+5" << 5.f << 5 << 5;
    QTest::newRow("tenth") << "0.1" << 0.1f << 0 << 0;
    QTest::newRow("rounded to float") << "16777217" << 16777216.f << 16777217 << 16777216;
    QTest::newRow("sixteen digits") << "1234567.123456789" << 1234567.125f << 0 << 1234567;
    QTest::newRow("blanks around") << " 7 " << 7.f << 7 << 7;
    QTest::newRow("two points") << "1.2.3" << 0.f << 0 << 0;
    QTest::newRow("sign alone") << "-" << 0.f << 0 << 0;
}

void tst_IwbFormat::readNumbers()
{
    QFETCH(QString, text);
    QFETCH(float, number);
    QFETCH(int, integer);
    QFETCH(int, truncated);
    QCOMPARE(IwbFormat::readNumber(text), number);
    QCOMPARE(IwbFormat::readInteger(text), integer);
    QCOMPARE(IwbFormat::readTruncated(text), truncated);
}

void tst_IwbFormat::fillKindsAndTextWords()
{
    QCOMPARE(IwbFormat::readFillKind("2", ""), 2); // gradient even without a fill colour
    QCOMPARE(IwbFormat::readFillKind("3", "#ff0000"), 3);
    QCOMPARE(IwbFormat::readFillKind("1", "#ff0000"), 1);
    QCOMPARE(IwbFormat::readFillKind("", "#ff0000"), 1);
    QCOMPARE(IwbFormat::readFillKind("1", ""), 0);
    QCOMPARE(IwbFormat::readFillKind("02", ""), 0);

    QCOMPARE(IwbFormat::readOpacity("127", false), 127);
    QCOMPARE(IwbFormat::readOpacity("", false), 0); // a missing opacity is a transparent pen
    QCOMPARE(IwbFormat::readOpacity("ff", false), 0);
    QCOMPARE(IwbFormat::readOpacity("ff", true), 255);
    QCOMPARE(IwbFormat::readOpacity("300", false), 255);
    QCOMPARE(IwbFormat::readOpacity("-5", false), 0);
    QCOMPARE(IwbFormat::opacity(QColor(1, 2, 3, 127)), QStringLiteral("127"));
    QCOMPARE(IwbFormat::colour(QColor(0xAB, 0xCD, 0xEF, 10)), QStringLiteral("#abcdef"));

    const QStringList weights = { "25", "50", "67", "75", "87", "", "63", "bold" };
    const QStringList words = {
        "light", "normal", "demibold", "bold", "black", "400", "63", "bold"
    };
    for (int i = 0; i < weights.size(); ++i)
        QCOMPARE(IwbFormat::readWeightWord(weights.at(i)), words.at(i));

    const QStringList htmlAligns = { "", "right", "center", "justify" };
    const QStringList textAligns = { "start", "end", "center", "justify" };
    for (int i = 0; i < htmlAligns.size(); ++i) {
        QCOMPARE(IwbFormat::textAlign(htmlAligns.at(i)), textAligns.at(i));
        QCOMPARE(IwbFormat::readTextAlign(textAligns.at(i)), htmlAligns.at(i));
    }
}

void tst_IwbFormat::ubzMatrices_data()
{
    QTest::addColumn<QString>("transform");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<float>("rotation");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QSizeF>("stretch");

    const QSizeF same(1, 1);
    QTest::newRow("text placement")
            << "matrix(1,0,0,1,20.7,-5.2)" << QPoint(20, -5) << 0.f << 1.0 << same;
    QTest::newRow("quarter turn") << "matrix(0,1,-1,0,0,0)" << QPoint(0, 0) << -90.f << 1.0 << same;
    QTest::newRow("a map at 60 %")
            << "matrix(0.6,0,0,0.6,-300,10)" << QPoint(-300, 10) << 0.f << 0.6 << same;
    QTest::newRow("turned and grown")
            << "matrix(0,1.25,-1.25,0,0,0)" << QPoint(0, 0) << -90.f << 1.25 << same;
    QTest::newRow("wider than high")
            << "matrix(2,0,0,0.5,0,0)" << QPoint(0, 0) << 0.f << 1.0 << QSizeF(2, 0.5);
    QTest::newRow("scaled to nothing")
            << "matrix(0,0,0,0,3,4)" << QPoint(3, 4) << 0.f << 1.0 << same;
    QTest::newRow("short") << "matrix(1,0,0,1)" << QPoint(0, 0) << 0.f << 1.0 << same;
    QTest::newRow("empty") << "" << QPoint(0, 0) << 0.f << 1.0 << same;
    QTest::newRow("no parenthesis") << "1,0,0,1,7,8" << QPoint(7, 8) << 0.f << 1.0 << same;
    QTest::newRow("not numbers") << "matrix(a,b,c,d,e,f)" << QPoint(0, 0) << 0.f << 1.0 << same;
}

void tst_IwbFormat::ubzMatrices()
{
    QFETCH(QString, transform);
    QFETCH(QPoint, position);
    QFETCH(float, rotation);
    QFETCH(qreal, scale);
    QFETCH(QSizeF, stretch);
    const IwbFormat::UbzPlacement placement = IwbFormat::readUbzMatrix(transform);
    QCOMPARE(placement.position, position);
    QCOMPARE(placement.rotation, rotation);
    QVERIFY2(qAbs(placement.scale - scale) < 1e-6, qPrintable(QString::number(placement.scale)));
    QVERIFY(qAbs(placement.stretch.width() - stretch.width()) < 1e-6);
    QVERIFY(qAbs(placement.stretch.height() - stretch.height()) < 1e-6);
    // The other program's page is centred on its origin.
    QCOMPARE(placement.objectPosition(QPointF(960, 540)), QPointF(position + QPoint(960, 540)));
}

QTEST_GUILESS_MAIN(tst_IwbFormat)
#include "tst_iwbformat.moc"
