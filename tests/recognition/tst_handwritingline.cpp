#include "recognition/handwritingline.h"

#include <QtTest>

namespace {

const QString kChars = QString::fromUtf8(
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,?-@:;()+ñ");

// A line as the recogniser gave it: "c:top:bottom" per character, side by side 60 apart, the
// class written as any member of its look-alike group would come back; ":others" after it gives
// the recogniser's next choices, best first.
QVector<HandwritingLine::Character> line(const QString &marks, qreal slope = 0.0)
{
    QVector<HandwritingLine::Character> result;
    const QStringList items = marks.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int i = 0; i < items.size(); ++i) {
        const QStringList parts = items.at(i).split(QLatin1Char(':'));
        const qreal x = 60.0 * i;
        const qreal drop = slope * x;
        QVector<int> others;
        for (const QChar other : parts.value(3))
            others << int(kChars.indexOf(other));
        result.append({ int(kChars.indexOf(parts.at(0))),
                        QRectF(QPointF(x, parts.at(1).toDouble() + drop),
                               QPointF(x + 40, parts.at(2).toDouble() + drop)),
                        others });
    }
    return result;
}

QString text(const QVector<int> &classes)
{
    QString result;
    for (int id : classes)
        result += id >= 0 && id < kChars.size() ? QString(kChars.at(id)) : QStringLiteral("?");
    return result;
}

} // namespace

class tst_HandwritingLine : public QObject
{
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void lookAlike();
};

void tst_HandwritingLine::read_data()
{
    QTest::addColumn<QString>("marks");
    QTest::addColumn<qreal>("slope");
    QTest::addColumn<QString>("expected");
    // Capitals are 0 to 100 high, small letters 50 to 100, descenders reach 150.
    QTest::newRow("capital before small letters") << "c:0:100 a:50:100 s:50:100" << 0.0 << "Cas";
    QTest::newRow("small between capitals and digits")
            << "H:0:100 o:48:100 7:0:100" << 0.0 << "Ho7";
    QTest::newRow("capitals beside a tall letter")
            << "o:0:100 s:2:100 o:0:100 L:0:100" << 0.0 << "OSOL";
    QTest::newRow("sizes among undecided letters") << "O:0:100 s:50:100 o:50:100" << 0.0 << "Oso";
    QTest::newRow("one height, nothing to tell: small")
            << "O:0:100 S:0:100 O:0:100" << 0.0 << "oso";
    QTest::newRow("alone: small") << "X:0:100" << 0.0 << "x";
    QTest::newRow("bar among small letters") << "a:50:100 I:0:100" << 0.0 << "al";
    QTest::newRow("bar among capitals") << "A:0:100 1:0:100 R:0:100" << 0.0 << "AIR";
    QTest::newRow("bar and ring among digits")
            << "2:0:100 l:0:100 o:0:100 9:0:100" << 0.0 << "2109";
    QTest::newRow("bar alone") << "I:0:100" << 0.0 << "l";
    QTest::newRow("a bar says how high the capitals stand")
            << "U:0:100 I:0:100 S:0:100" << 0.0 << "UIS";
    QTest::newRow("k stands as high as a capital") << "Z:0:100 k:0:100 y:50:150" << 0.0 << "Zky";
    QTest::newRow("one read as a digit alone") << "1:0:100" << 0.0 << "1";
    QTest::newRow("ring alone") << "O:0:100" << 0.0 << "o";
    QTest::newRow("p hangs below the line") << "a:50:100 P:50:150 a:50:100" << 0.0 << "apa";
    QTest::newRow("p with a short tail") << "o:50:100 P:50:120 o:50:100" << 0.0 << "opo";
    QTest::newRow("P stands on the line") << "P:0:100 a:50:100 n:50:100" << 0.0 << "Pan";
    QTest::newRow("y hangs on a sloping line")
            << "m:50:100 u:50:100 Y:50:150 m:50:100" << 0.2 << "muym";
    QTest::newRow("a dotted stem below the line is a j")
            << "a:50:100 i:30:150 o:50:100" << 0.0 << "ajo";
    QTest::newRow("a bar below the line is a j") << "o:50:100 l:30:150 o:50:100" << 0.0 << "ojo";
    QTest::newRow("punctuation says nothing") << "-:70:75 l:0:100 -:70:75" << 0.0 << "-l-";
    QTest::newRow("other classes pass through") << "H:0:100 ?:0:100 E:0:100" << 0.0 << "H?E";
    // The recogniser's next choices: the first one that fits the line.
    QTest::newRow("a digit among letters takes its letter choice")
            << "s:50:100 9:50:150:8q a:50:100" << 0.0 << "sqa";
    QTest::newRow("a letter among digits takes its digit choice")
            << "2:0:100 S:0:100:5 7:0:100" << 0.0 << "257";
    QTest::newRow("no choice that fits: as read") << "s:50:100 9:50:150:86 a:50:100" << 0.0
                                                  << "s9a";
    QTest::newRow("only the next two choices count")
            << "2:0:100 S:0:100:BE5 7:0:100" << 0.0 << "2S7";
    QTest::newRow("a small letter among capitals takes its capital choice")
            << "N:0:100 k:0:100:K O:0:100" << 0.0 << "NKO";
    QTest::newRow("a capital inside a small word takes its small choice")
            << "s:50:100 E:50:100:e a:50:100" << 0.0 << "sea";
    QTest::newRow("a capital starting a small word stays")
            << "E:0:100:e s:50:100 a:50:100" << 0.0 << "Esa";
    QTest::newRow("a capital as small as the small letters")
            << "T:0:100 a:50:100 M:50:100:m a:50:100" << 0.0 << "Tama";
}

void tst_HandwritingLine::read()
{
    QFETCH(QString, marks);
    QFETCH(qreal, slope);
    QFETCH(QString, expected);
    QCOMPARE(text(HandwritingLine::read(line(marks, slope))), expected);
}

void tst_HandwritingLine::lookAlike()
{
    const auto id = [](const char *c) { return int(kChars.indexOf(QString::fromUtf8(c))); };
    QVERIFY(HandwritingLine::lookAlike(id("I"), id("1")));
    QVERIFY(HandwritingLine::lookAlike(id("0"), id("o")));
    QVERIFY(HandwritingLine::lookAlike(id("p"), id("P")));
    QVERIFY(HandwritingLine::lookAlike(id("W"), id("w")));
    QVERIFY(!HandwritingLine::lookAlike(id("a"), id("A")));
    QVERIFY(!HandwritingLine::lookAlike(id("S"), id("5")));
    QVERIFY(!HandwritingLine::lookAlike(id("l"), id("L")));
}

QTEST_GUILESS_MAIN(tst_HandwritingLine)
#include "tst_handwritingline.moc"
