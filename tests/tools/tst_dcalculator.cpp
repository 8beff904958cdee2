#include "support/testsupport.h"
#include "support/toolsfixture.h"
#include "tools/buttonc.h"
#include "tools/dcalculator.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QtTest>

// The calculator driven key by key with the mouse, as a pupil uses it.
class tst_DCalculator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void keys_data();
    void keys();
    void everyKeyIsInItsPlace();
    void displayTakesFifteenCharacters();

private:
    static ButtonC *key(DCalculator &calculator, const QString &label);
    static void press(DCalculator &calculator, const QString &sequence);
};

void tst_DCalculator::initTestCase()
{
    TestSupport::recordConnectWarnings();
}

void tst_DCalculator::cleanup()
{
    QVERIFY2(TestSupport::takeConnectWarnings().isEmpty(), "a key is not connected");
}

ButtonC *tst_DCalculator::key(DCalculator &calculator, const QString &label)
{
    const auto keys = calculator.findChildren<ButtonC *>();
    for (ButtonC *button : keys) {
        if (button->text() == label)
            return button;
    }
    return nullptr;
}

// Keys separated by blanks; a run of digits is one key per digit. "CA" is "Clear All",
// "C" is "Clear" and "BS" is "Backspace".
void tst_DCalculator::press(DCalculator &calculator, const QString &sequence)
{
    const QHash<QString, QString> names = { { "CA", "Clear All" },
                                            { "C", "Clear" },
                                            { "BS", "Backspace" } };
    for (const QString &token : sequence.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QStringList labels;
        if (QRegularExpression(QStringLiteral("^[0-9]+$")).match(token).hasMatch()) {
            for (const QChar digit : token)
                labels << QString(digit);
        } else {
            labels << names.value(token, token);
        }
        for (const QString &label : labels) {
            ButtonC *button = key(calculator, label);
            QVERIFY2(button, qPrintable(label));
            QTest::mouseClick(button, Qt::LeftButton);
        }
    }
}

void tst_DCalculator::keys_data()
{
    QTest::addColumn<QString>("sequence");
    QTest::addColumn<QString>("display");
    QTest::addColumn<double>("memory");

    // clang-format off
    QTest::newRow("product binds first: display after *") << "2 + 3 *" << "3" << 0.0;
    QTest::newRow("product binds first") << "2 + 3 * 4 =" << "14" << 0.0;
    QTest::newRow("running sum shown at second -") << "7 - 2 -" << "5" << 0.0;
    QTest::newRow("subtraction from the left") << "7 - 2 - 1 =" << "4" << 0.0;
    QTest::newRow("division by zero") << "1 / 0 =" << "####" << 0.0;
    QTest::newRow("after a failure all is cleared") << "1 / 0 = 5 + 1 =" << "6" << 0.0;
    QTest::newRow("pending sum dropped by failure") << "9 + 1 / 0 = 2 =" << "2" << 0.0;
    QTest::newRow("root of a negative") << "4 +- Sqrt" << "####" << 0.0;
    QTest::newRow("root") << "81 Sqrt" << "9" << 0.0;
    QTest::newRow("reciprocal of zero") << "0 1/x" << "####" << 0.0;
    QTest::newRow("reciprocal") << "4 1/x" << "0.25" << 0.0;
    QTest::newRow("square of a negative") << "3 +- x^2" << "9" << 0.0;
    QTest::newRow("unary keeps the pending sum") << "1 + 3 x^2 =" << "10" << 0.0;
    QTest::newRow("zero on zero") << "0 0 0" << "0" << 0.0;
    QTest::newRow("one point only") << ". 5 . 2" << "0.52" << 0.0;
    QTest::newRow("point starts a new operand") << "7 + . 5 =" << "7.5" << 0.0;
    QTest::newRow("sign of zero untouched") << "+-" << "0" << 0.0;
    QTest::newRow("sign on") << "5 +-" << "-5" << 0.0;
    QTest::newRow("sign off") << "5 +- +-" << "5" << 0.0;
    QTest::newRow("backspace after a result") << "2 + 3 = BS" << "5" << 0.0;
    QTest::newRow("backspace on one digit") << "7 BS" << "0" << 0.0;
    QTest::newRow("backspace then typing") << "7 BS 4" << "4" << 0.0;
    QTest::newRow("backspace on two digits") << "75 BS" << "7" << 0.0;
    QTest::newRow("clear keeps the pending operation") << "2 + 3 C 4 =" << "6" << 0.0;
    QTest::newRow("clear after a result does nothing") << "2 + 3 = C" << "5" << 0.0;
    QTest::newRow("clear all") << "2 + 3 CA 4 =" << "4" << 0.0;
    QTest::newRow("memory store") << "2 MS" << "2" << 2.0;
    QTest::newRow("memory add and read") << "2 MS 3 M+ CA MR" << "5" << 5.0;
    QTest::newRow("memory survives clear all") << "2 MS CA MR" << "2" << 2.0;
    QTest::newRow("memory cleared") << "2 MS MC MR" << "0" << 0.0;
    QTest::newRow("memory store finishes the sum") << "2 + 3 MS" << "5" << 5.0;
    QTest::newRow("six significant digits") << "1 / 3 =" << "0.333333" << 0.0;
    QTest::newRow("result fed back as shown") << "1 / 3 = * 3 =" << "0.999999" << 0.0;
    QTest::newRow("large numbers in exponent form") << "1000 * 1000 =" << "1e+06" << 0.0;
    // An overflow is shown as the number it is, not as a failure.
    QTest::newRow("overflow shows inf") << "99999999 x^2 x^2 x^2 x^2 x^2 x^2" << "inf" << 0.0;
    QTest::newRow("new operand after failure") << "0 1/x 8" << "8" << 0.0;
    // clang-format on
}

void tst_DCalculator::keys()
{
    QFETCH(QString, sequence);
    QFETCH(QString, display);
    QFETCH(double, memory);
    DCalculator calculator(nullptr);
    calculator.show();
    press(calculator, sequence);
    QCOMPARE(calculator.displayText(), display);
    QCOMPARE(calculator.memory(), memory);
}

void tst_DCalculator::everyKeyIsInItsPlace()
{
    DCalculator calculator(nullptr);
    calculator.show();
    QCOMPARE(calculator.windowTitle(), QStringLiteral("Calculator"));
    QVERIFY(!(calculator.windowFlags() & Qt::WindowContextHelpButtonHint));
    auto *grid = qobject_cast<QGridLayout *>(calculator.layout());
    QVERIFY(grid);
    QCOMPARE(grid->sizeConstraint(), QLayout::SetFixedSize);
    QCOMPARE(calculator.findChildren<ButtonC *>().size(), 27);

    struct Place
    {
        const char *label;
        int row;
        int column;
        int columnSpan;
    };
    // clang-format off
    const Place places[] = {
        { "Backspace", 1, 0, 2 }, { "Clear", 1, 2, 2 }, { "Clear All", 1, 4, 2 },
        { "MC", 2, 0, 1 }, { "MR", 3, 0, 1 }, { "MS", 4, 0, 1 }, { "M+", 5, 0, 1 },
        { "7", 2, 1, 1 }, { "8", 2, 2, 1 }, { "9", 2, 3, 1 },
        { "4", 3, 1, 1 }, { "5", 3, 2, 1 }, { "6", 3, 3, 1 },
        { "1", 4, 1, 1 }, { "2", 4, 2, 1 }, { "3", 4, 3, 1 },
        { "0", 5, 1, 1 }, { ".", 5, 2, 1 }, { "+-", 5, 3, 1 },
        { "/", 2, 4, 1 }, { "*", 3, 4, 1 }, { "-", 4, 4, 1 }, { "+", 5, 4, 1 },
        { "Sqrt", 2, 5, 1 }, { "x^2", 3, 5, 1 }, { "1/x", 4, 5, 1 }, { "=", 5, 5, 1 },
    };
    // clang-format on
    for (const Place &place : places) {
        ButtonC *button = key(calculator, QLatin1String(place.label));
        QVERIFY2(button, place.label);
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(button), &row, &column, &rowSpan, &columnSpan);
        QCOMPARE(row, place.row);
        QCOMPARE(column, place.column);
        QCOMPARE(columnSpan, place.columnSpan);
        QVERIFY(button->sizeHint().width() >= button->sizeHint().height());
    }
    auto *display = calculator.findChild<QLineEdit *>();
    QVERIFY(display->isReadOnly());
    QCOMPARE(display->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    ToolsFixture::saveShot(calculator.grab().toImage(), QStringLiteral("calculator"));
}

void tst_DCalculator::displayTakesFifteenCharacters()
{
    DCalculator calculator(nullptr);
    press(calculator, QStringLiteral("1234567890123456"));
    QCOMPARE(calculator.displayText(), QStringLiteral("123456789012345"));
    // The sign does not push the last digit out, and comes off again cleanly.
    press(calculator, QStringLiteral("+-"));
    QCOMPARE(calculator.displayText(), QStringLiteral("-123456789012345"));
    press(calculator, QStringLiteral("7"));
    QCOMPARE(calculator.displayText(), QStringLiteral("-123456789012345"));
    press(calculator, QStringLiteral("+-"));
    QCOMPARE(calculator.displayText(), QStringLiteral("123456789012345"));
}

QTEST_MAIN(tst_DCalculator)
#include "tst_dcalculator.moc"
