#pragma once

#include <QDialog>
#include <QString>

class ButtonC;
class QLineEdit;

// The pocket calculator: a small modeless window working on the number in its display, with two
// levels of precedence (* and / before + and -), three unary keys and a one-number memory. Any
// failure (root of a negative number, reciprocal or division by zero) clears all and shows "####".
class DCalculator : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kDisplayLength = 15;

    explicit DCalculator(QWidget *parent);

    QString displayText() const;
    double memory() const { return m_memory; }

private slots:
    void digitClicked();
    void unaryOperatorClicked();
    void additiveOperatorClicked();
    void multiplicativeOperatorClicked();
    void equalClicked();
    void pointClicked();
    void changeSignClicked();
    void backspaceClicked();
    void clear();
    void clearAll();
    void clearMemory();
    void readMemory();
    void setMemory();
    void addToMemory();

private:
    ButtonC *createButton(const QString &text, const char *member);
    void abortOperation();
    bool calculate(double rightOperand, const QString &pendingOperator);
    double displayValue() const;
    void showText(const QString &text);
    void showValue(double value);

    double m_memory = 0.0;
    double m_sum = 0.0;
    double m_product = 0.0;
    QString m_pendingAdd;
    QString m_pendingMul;
    bool m_newOperand = true;
    QLineEdit *m_display = nullptr;
    ButtonC *m_digitButtons[10] = {};
};
