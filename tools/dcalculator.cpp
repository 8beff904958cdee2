#include "dcalculator.h"

#include "buttonc.h"

#include <QGridLayout>
#include <QLineEdit>

#include <cmath>

DCalculator::DCalculator(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setStyleSheet(QString());

    m_display = new QLineEdit(QStringLiteral("0"));
    m_display->setReadOnly(true);
    m_display->setAlignment(Qt::AlignRight);
    m_display->setMaxLength(kDisplayLength);
    QFont font = m_display->font();
    font.setPointSize(font.pointSize() + 8);
    m_display->setFont(font);

    for (int digit = 0; digit < 10; ++digit)
        m_digitButtons[digit] = createButton(QString::number(digit), SLOT(digitClicked()));
    ButtonC *point = createButton(tr("."), SLOT(pointClicked()));
    ButtonC *changeSign = createButton(tr("+-"), SLOT(changeSignClicked()));
    ButtonC *backspace = createButton(tr("Backspace"), SLOT(backspaceClicked()));
    ButtonC *clearButton = createButton(tr("Clear"), SLOT(clear()));
    ButtonC *clearAllButton = createButton(tr("Clear All"), SLOT(clearAll()));
    ButtonC *clearMemoryButton = createButton(tr("MC"), SLOT(clearMemory()));
    ButtonC *readMemoryButton = createButton(tr("MR"), SLOT(readMemory()));
    ButtonC *setMemoryButton = createButton(tr("MS"), SLOT(setMemory()));
    ButtonC *addToMemoryButton = createButton(tr("M+"), SLOT(addToMemory()));
    ButtonC *divide = createButton(tr("/"), SLOT(multiplicativeOperatorClicked()));
    ButtonC *times = createButton(tr("*"), SLOT(multiplicativeOperatorClicked()));
    ButtonC *minus = createButton(tr("-"), SLOT(additiveOperatorClicked()));
    ButtonC *plus = createButton(tr("+"), SLOT(additiveOperatorClicked()));
    ButtonC *squareRoot = createButton(tr("Sqrt"), SLOT(unaryOperatorClicked()));
    ButtonC *power = createButton(tr("x^2"), SLOT(unaryOperatorClicked()));
    ButtonC *reciprocal = createButton(tr("1/x"), SLOT(unaryOperatorClicked()));
    ButtonC *equal = createButton(tr("="), SLOT(equalClicked()));

    auto *layout = new QGridLayout;
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_display, 0, 0, 1, 6);
    layout->addWidget(backspace, 1, 0, 1, 2);
    layout->addWidget(clearButton, 1, 2, 1, 2);
    layout->addWidget(clearAllButton, 1, 4, 1, 2);
    layout->addWidget(clearMemoryButton, 2, 0);
    layout->addWidget(readMemoryButton, 3, 0);
    layout->addWidget(setMemoryButton, 4, 0);
    layout->addWidget(addToMemoryButton, 5, 0);
    for (int digit = 1; digit < 10; ++digit)
        layout->addWidget(m_digitButtons[digit], (9 - digit) / 3 + 2, (digit - 1) % 3 + 1);
    layout->addWidget(m_digitButtons[0], 5, 1);
    layout->addWidget(point, 5, 2);
    layout->addWidget(changeSign, 5, 3);
    layout->addWidget(divide, 2, 4);
    layout->addWidget(times, 3, 4);
    layout->addWidget(minus, 4, 4);
    layout->addWidget(plus, 5, 4);
    layout->addWidget(squareRoot, 2, 5);
    layout->addWidget(power, 3, 5);
    layout->addWidget(reciprocal, 4, 5);
    layout->addWidget(equal, 5, 5);
    setLayout(layout);
    setWindowTitle(tr("Calculator"));
}

ButtonC *DCalculator::createButton(const QString &text, const char *member)
{
    auto *button = new ButtonC(text);
    connect(button, SIGNAL(clicked()), this, member);
    return button;
}

QString DCalculator::displayText() const
{
    return m_display->text();
}

double DCalculator::displayValue() const
{
    return m_display->text().toDouble(); // "####" and other text read as 0
}

void DCalculator::showText(const QString &text)
{
    // A minus sign put in front of a full display must not push its last digit out.
    m_display->setMaxLength(text.startsWith(QLatin1Char('-')) ? kDisplayLength + 1
                                                              : kDisplayLength);
    m_display->setText(text);
}

void DCalculator::showValue(double value)
{
    showText(QString::number(value)); // six significant digits, as a pocket calculator shows
}

void DCalculator::digitClicked()
{
    auto *button = qobject_cast<ButtonC *>(sender());
    const int digit = button->text().toInt();
    if (m_display->text() == QLatin1String("0") && digit == 0)
        return;
    if (m_newOperand) {
        m_display->clear();
        m_newOperand = false;
    }
    showText(m_display->text() + QString::number(digit));
}

void DCalculator::unaryOperatorClicked()
{
    auto *button = qobject_cast<ButtonC *>(sender());
    const QString clickedOperator = button->text();
    const double operand = displayValue();
    double result = 0.0;
    if (clickedOperator == tr("Sqrt")) {
        if (operand < 0.0) {
            abortOperation();
            return;
        }
        result = std::sqrt(operand);
    } else if (clickedOperator == tr("x^2")) {
        result = operand * operand;
    } else if (clickedOperator == tr("1/x")) {
        if (operand == 0.0) {
            abortOperation();
            return;
        }
        result = 1.0 / operand;
    }
    showValue(result);
    m_newOperand = true;
}

void DCalculator::additiveOperatorClicked()
{
    auto *button = qobject_cast<ButtonC *>(sender());
    const QString clickedOperator = button->text();
    double operand = displayValue();

    if (!m_pendingMul.isEmpty()) {
        if (!calculate(operand, m_pendingMul)) {
            abortOperation();
            return;
        }
        showValue(m_product);
        operand = m_product;
        m_product = 0.0;
        m_pendingMul.clear();
    }
    if (!m_pendingAdd.isEmpty()) {
        if (!calculate(operand, m_pendingAdd)) {
            abortOperation();
            return;
        }
        showValue(m_sum);
    } else {
        m_sum = operand;
    }
    m_pendingAdd = clickedOperator;
    m_newOperand = true;
}

void DCalculator::multiplicativeOperatorClicked()
{
    auto *button = qobject_cast<ButtonC *>(sender());
    const QString clickedOperator = button->text();
    const double operand = displayValue();

    if (!m_pendingMul.isEmpty()) {
        if (!calculate(operand, m_pendingMul)) {
            abortOperation();
            return;
        }
        showValue(m_product);
    } else {
        m_product = operand;
    }
    m_pendingMul = clickedOperator;
    m_newOperand = true;
}

void DCalculator::equalClicked()
{
    double operand = displayValue();
    if (!m_pendingMul.isEmpty()) {
        if (!calculate(operand, m_pendingMul)) {
            abortOperation();
            return;
        }
        operand = m_product;
        m_product = 0.0;
        m_pendingMul.clear();
    }
    if (!m_pendingAdd.isEmpty()) {
        if (!calculate(operand, m_pendingAdd)) {
            abortOperation();
            return;
        }
        m_pendingAdd.clear();
    } else {
        m_sum = operand;
    }
    showValue(m_sum);
    m_sum = 0.0;
    m_newOperand = true;
}

void DCalculator::pointClicked()
{
    if (m_newOperand)
        showText(QStringLiteral("0"));
    if (!m_display->text().contains(QLatin1Char('.')))
        showText(m_display->text() + tr("."));
    m_newOperand = false;
}

void DCalculator::changeSignClicked()
{
    QString text = m_display->text();
    const double value = text.toDouble();
    if (value > 0.0)
        text.prepend(QLatin1Char('-'));
    else if (value < 0.0)
        text.remove(0, 1);
    showText(text);
}

void DCalculator::backspaceClicked()
{
    if (m_newOperand)
        return;
    QString text = m_display->text();
    text.chop(1);
    if (text.isEmpty()) {
        text = QStringLiteral("0");
        m_newOperand = true;
    }
    showText(text);
}

void DCalculator::clear()
{
    if (m_newOperand)
        return;
    showText(QStringLiteral("0"));
    m_newOperand = true;
}

void DCalculator::clearAll()
{
    m_sum = 0.0;
    m_product = 0.0;
    m_pendingAdd.clear();
    m_pendingMul.clear();
    showText(QStringLiteral("0"));
    m_newOperand = true;
}

void DCalculator::clearMemory()
{
    m_memory = 0.0;
}

void DCalculator::readMemory()
{
    showValue(m_memory);
    m_newOperand = true;
}

void DCalculator::setMemory()
{
    equalClicked();
    m_memory = displayValue();
}

void DCalculator::addToMemory()
{
    equalClicked();
    m_memory += displayValue();
}

void DCalculator::abortOperation()
{
    clearAll();
    showText(QStringLiteral("####"));
}

bool DCalculator::calculate(double rightOperand, const QString &pendingOperator)
{
    if (pendingOperator == tr("+")) {
        m_sum += rightOperand;
    } else if (pendingOperator == tr("-")) {
        m_sum -= rightOperand;
    } else if (pendingOperator == tr("*")) {
        m_product *= rightOperand;
    } else if (pendingOperator == tr("/")) {
        if (rightOperand == 0.0)
            return false;
        m_product /= rightOperand;
    }
    return true;
}
