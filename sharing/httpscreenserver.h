#pragma once

#include "sharing/framegetter.h"
#include "sharing/http/httprequesthandler.h"

#include <QString>

class QSettings;

#include <atomic>
#include <memory>

namespace veskaweb {
class HttpListener;
}

// The request handler of the screen share: "/" gives the viewer page, every path that starts
// with "/pcPictureStr" the newest screen frame as JPEG, anything else 404. It owns the listener
// and the frame grabber, both started by the constructor and stopped by the destructor.
class HTTPScreenServer : public veskaweb::HttpRequestHandler
{
public:
    static constexpr int kPort = 8080;

    HTTPScreenServer();
    // Another port and picture source than 8080 and the primary screen (tests).
    explicit HTTPScreenServer(int port, FrameGetter::FrameSource source = {});
    // The listener's settings (port, host, time limits) from a store the caller keeps (tests).
    HTTPScreenServer(QSettings *settings, FrameGetter::FrameSource source);
    ~HTTPScreenServer() override;

    // Runs in the connection threads, several at once; blocks on nothing but the frame queue.
    void service(veskaweb::HttpRequest &request, veskaweb::HttpResponse &response) override;

    // False when the port could not be opened (in use, no permission): nobody can connect.
    bool isListening() const;
    int port() const { return m_port; }
    FrameGetter *grabber() const { return m_grabber.get(); }
    const QString &page() const { return m_page; }
    // How many frame requests were answered: tells whether viewers are still polling.
    int frameRequests() const { return m_frameRequests.load(); }

private:
    HTTPScreenServer(int port, QSettings *settings, FrameGetter::FrameSource source);

    const int m_port;
    std::unique_ptr<FrameGetter> m_grabber;
    // The listener's port constructor ignores its parent, so the server deletes it itself.
    std::unique_ptr<veskaweb::HttpListener> m_listener;
    QString m_page; // written once by the constructor, only read afterwards
    std::atomic<int> m_frameRequests{ 0 };
};
