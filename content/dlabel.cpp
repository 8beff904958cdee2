#include "content/dlabel.h"

#include "ui_dlabel.h"

#include <QApplication>
#include <QDataStream>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

namespace {

// The payload must hold empty fields as zero-length strings: a null string is written as
// 0xFFFFFFFF, which the reader would take for a different value.
QString nonNull(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

} // namespace

QByteArray DLabel::dragPayload(const QString &kind, const QString &fileName, const QString &text)
{
    QByteArray payload;
    QDataStream stream(&payload, QIODevice::WriteOnly);
    stream << nonNull(kind) << nonNull(fileName) << nonNull(text);
    return payload;
}

DLabel::DLabel(BtMenus::resType type, QWidget *parent)
    : QWidget(parent),
      ui(std::make_unique<Ui::DLabel>()),
      m_fileName(QStringLiteral("")),
      m_text(QStringLiteral("")),
      m_kind(QString::number(int(type)))
{
    ui->setupUi(this);
    ui->pushButton->hide();
}

DLabel::~DLabel() = default;

void DLabel::setPixmap(const QPixmap &pixmap)
{
    ui->label->setAlignment(Qt::AlignCenter);
    ui->label->setPixmap(pixmap);
}

QPixmap DLabel::pixmap() const
{
    return ui->label->pixmap(Qt::ReturnByValue);
}

void DLabel::showBt()
{
    ui->pushButton->show();
}

void DLabel::hideBt()
{
    ui->pushButton->hide();
}

void DLabel::setFileName(const QString &fileName)
{
    m_fileName = nonNull(fileName);
}

void DLabel::setText(const QString &text)
{
    m_text = nonNull(text);
}

void DLabel::on_pushButton_clicked()
{
    emit removeRelPage(this);
}

void DLabel::mousePressEvent(QMouseEvent *event)
{
    m_moved = false;
    m_dragged = false;
    m_pressPos = event->pos();
    event->accept(); // the panel behind the tile has nothing to do with the press
}

void DLabel::mouseMoveEvent(QMouseEvent *event)
{
    if (m_kind == QLatin1String("2")) {
        if (event->buttons() & Qt::LeftButton) {
            // A finger on the board trembles: a thumbnail is chosen by a tap that moved a
            // little, and dragged only once the pointer has really gone somewhere.
            if (!m_moved
                && (event->pos() - m_pressPos).manhattanLength()
                        >= QApplication::startDragDistance()) {
                m_moved = true;
                setCursor(Qt::ClosedHandCursor);
            }
            emit mouseMovPage(this, event->pos());
        }
        return;
    }
    // Pictures and words leave the panel on the very first move, with whatever button: a
    // child's hand on the board is rarely still enough for a minimum drag distance.
    startDrag();
}

void DLabel::startDrag()
{
    const QPixmap picture = pixmap();
    auto *mimeData = new QMimeData;
    mimeData->setData(QLatin1String(kMimeType), dragPayload(m_kind, m_fileName, m_text));
    auto *drag = new QDrag(this);
    drag->setMimeData(mimeData);
    drag->setPixmap(picture);
    drag->setHotSpot(QPoint(picture.width() / 2, picture.height() / 2));
    m_dragged = true;
    drag->exec(Qt::MoveAction);
}

void DLabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (m_moved) {
        // Only the page drag's own button lets the page go.
        if (event->button() != Qt::LeftButton)
            return;
        m_moved = false;
        unsetCursor();
        emit mouseDropPage(this, event->pos());
        return;
    }
    if (m_dragged)
        return;
    if (m_kind == QLatin1String("0"))
        emit mouseRelImage(m_fileName);
    else if (m_kind == QLatin1String("1"))
        emit mouseRelText(m_text);
    else if (m_kind == QLatin1String("2"))
        emit mouseRelPage(this);
}
