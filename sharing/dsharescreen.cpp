#include "dsharescreen.h"

#include "sharing/httpscreenserver.h"
#include "ui_dsharescreen.h"

#include <QFontMetrics>
#include <QLabel>
#include <QNetworkInterface>

#include <optional>

namespace {
// The form's point sizes suit a narrow font; with a wider one, or a longer translation, the text
// would be cut at both ends. Shrink it until it fits the label's width.
void fitToWidth(QLabel *label)
{
    QFont font = label->font();
    const int available = label->contentsRect().width();
    while (font.pointSize() > 8 && QFontMetrics(font).horizontalAdvance(label->text()) > available)
        font.setPointSize(font.pointSize() - 1);
    label->setFont(font);
}

struct Network
{
    int port;
    QList<QHostAddress> addresses;
};
std::optional<Network> g_defaultNetwork;
} // namespace

DShareScreen::DShareScreen(QWidget *parent)
    : DShareScreen(parent, g_defaultNetwork ? g_defaultNetwork->port : HTTPScreenServer::kPort,
                   g_defaultNetwork ? g_defaultNetwork->addresses
                                    : QNetworkInterface::allAddresses())
{
}

void DShareScreen::setDefaultNetwork(int port, const QList<QHostAddress> &addresses)
{
    g_defaultNetwork = Network{ port, addresses };
}

void DShareScreen::resetDefaultNetwork()
{
    g_defaultNetwork.reset();
}

DShareScreen::DShareScreen(QWidget *parent, int port, const QList<QHostAddress> &addresses,
                           FrameGetter::FrameSource source)
    : QWidget(parent), m_ui(std::make_unique<Ui::DShareScreen>())
{
    m_ui->setupUi(this);
    m_server = std::make_unique<HTTPScreenServer>(port, std::move(source));
    const QString address = shareAddress(addresses, port);
    if (!m_server->isListening()) {
        // An address here would send the class to whatever holds the port, or to nothing.
        m_ui->widget->hide();
        m_ui->decorTitle_2->setText(tr("No se puede abrir el puerto %1").arg(port));
        m_ui->connectAddress->setText(tr("Puede que otro programa lo esté usando"));
    } else if (address.isEmpty()) {
        m_ui->widget->hide();
        m_ui->connectAddress->setText(QString());
        m_ui->decorTitle_2->setText(tr("Sin conexión"));
    } else {
        m_ui->connectAddress->setText(address);
        m_ui->widget->setQrText(address);
    }
    for (QLabel *label : { m_ui->decorTitle, m_ui->decorTitle_2, m_ui->connectAddress })
        fitToWidth(label);
    setAttribute(Qt::WA_DeleteOnClose);
}

DShareScreen::~DShareScreen()
{
    emit deleteWidget();
    m_server.reset(); // closes the port and stops the grabber
    m_ui.reset();
}

QString DShareScreen::getCurrentIPAddress()
{
    return shareAddress(QNetworkInterface::allAddresses(), HTTPScreenServer::kPort);
}

QString DShareScreen::shareAddress(const QList<QHostAddress> &addresses, int port)
{
    for (const QHostAddress &address : addresses) {
        if (address.protocol() != QAbstractSocket::IPv4Protocol
            || address == QHostAddress(QHostAddress::LocalHost))
            continue;
        const QString text = address.toString();
        if (text.startsWith(QLatin1String("192")))
            return QStringLiteral("http://%1:%2").arg(text).arg(port);
    }
    return QString();
}
