#pragma once

#include "sharing/framegetter.h"

#include <QHostAddress>
#include <QList>
#include <QString>
#include <QWidget>

#include <memory>

class HTTPScreenServer;

namespace Ui {
class DShareScreen;
}

// The share window: starts the screen server and shows the board's address on the local network
// as text and as a QR code to scan. It deletes itself when closed, which stops the server.
class DShareScreen : public QWidget
{
    Q_OBJECT

public:
    explicit DShareScreen(QWidget *parent = nullptr);
    // Another port, address list and picture source than 8080, the machine's addresses and the
    // screen (tests).
    DShareScreen(QWidget *parent, int port, const QList<QHostAddress> &addresses,
                 FrameGetter::FrameSource source = {});
    ~DShareScreen() override;

    // "http://", the first non-loopback IPv4 address that begins with "192", and ":8080"; empty
    // when the machine has none.
    static QString getCurrentIPAddress();
    static QString shareAddress(const QList<QHostAddress> &addresses, int port);

    // Where a window built with the parent alone (as the share command builds it) listens and
    // which addresses it offers: 8080 and the machine's, unless pointed elsewhere, so that the
    // command can be tried on a free port without the machine's network (tests). GUI thread.
    static void setDefaultNetwork(int port, const QList<QHostAddress> &addresses);
    static void resetDefaultNetwork();

    HTTPScreenServer *server() const { return m_server.get(); }

signals:
    void deleteWidget();

private:
    std::unique_ptr<HTTPScreenServer> m_server;
    std::unique_ptr<Ui::DShareScreen> m_ui;
};
