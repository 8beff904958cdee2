#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QPainter;

// Paints a text as a QR code (lowest error correction, smallest version that fits) over the
// widget, in the top-left corner when the widget is not square. Light modules are not painted,
// so whatever lies behind the widget shows through.
class QtQrItem : public QWidget
{
public:
    explicit QtQrItem(QWidget *parent = nullptr);
    ~QtQrItem() override;

    QString qrText() const { return m_qrText; }
    void setQrText(const QString &text);

    // A text too long for any QR symbol paints nothing.
    static void paintQR(QPainter &painter, QSize size, const QString &text, const QColor &colour);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_qrText;
};
