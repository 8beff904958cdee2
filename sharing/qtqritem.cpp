#include "qtqritem.h"

#include <QPainter>
#include <QtDebug>

#include <qrcodegen.hpp>

QtQrItem::QtQrItem(QWidget *parent) : QWidget(parent) { }

QtQrItem::~QtQrItem() = default;

void QtQrItem::setQrText(const QString &text)
{
    m_qrText = text;
    update();
}

void QtQrItem::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintQR(painter, QSize(width(), height()), m_qrText, Qt::black);
}

void QtQrItem::paintQR(QPainter &painter, QSize size, const QString &text, const QColor &colour)
{
    if (size.isEmpty())
        return;
    const QByteArray utf8 = text.toUtf8();
    try {
        const qrcodegen::QrCode qr =
                qrcodegen::QrCode::encodeText(utf8.constData(), qrcodegen::QrCode::Ecc::LOW);
        const int modules = qr.getSize() > 0 ? qr.getSize() : 1;
        // One module of quiet margin on the top and left; the widget's white shows through.
        const int side = qMin(size.width(), size.height());
        const double cell = double(side) / double(modules + 2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QBrush(colour, Qt::SolidPattern));
        for (int y = 0; y < modules; ++y) {
            for (int x = 0; x < modules; ++x) {
                if (qr.getModule(x, y))
                    painter.drawRect(QRectF((x + 1) * cell, (y + 1) * cell, cell, cell));
            }
        }
    } catch (const qrcodegen::data_too_long &error) {
        qWarning("QtQrItem: text too long for a QR code: %s", error.what());
    }
}
