#include "httpscreenserver.h"

#include "sharing/http/httplistener.h"
#include "sharing/http/httprequest.h"
#include "sharing/http/httpresponse.h"

#include <QFile>

namespace {
const QByteArray kFramePrefix = "/pcPictureStr";
} // namespace

HTTPScreenServer::HTTPScreenServer() : HTTPScreenServer(kPort) { }

HTTPScreenServer::HTTPScreenServer(int port, FrameGetter::FrameSource source)
    : HTTPScreenServer(port, nullptr, std::move(source))
{
}

HTTPScreenServer::HTTPScreenServer(QSettings *settings, FrameGetter::FrameSource source)
    : HTTPScreenServer(int(veskaweb::readIntSetting(settings, QStringLiteral("port"), 0)), settings,
                       std::move(source))
{
}

HTTPScreenServer::HTTPScreenServer(int port, QSettings *settings, FrameGetter::FrameSource source)
    : veskaweb::HttpRequestHandler(nullptr), m_port(port)
{
    // Connections are accepted by this thread's event loop, so none is served before the page
    // and the grabber below are in place.
    if (settings)
        m_listener = std::make_unique<veskaweb::HttpListener>(settings, this, nullptr);
    else
        m_listener = std::make_unique<veskaweb::HttpListener>(port, this, nullptr);
    QFile file(QStringLiteral(":/html/serveScreen.html"));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        if (!bytes.isEmpty())
            m_page = QString::fromUtf8(bytes);
    } else {
        qWarning("HTTPScreenServer: cannot read the viewer page");
    }
    m_grabber = std::make_unique<FrameGetter>(std::move(source));
    m_grabber->start(QThread::TimeCriticalPriority);
}

HTTPScreenServer::~HTTPScreenServer()
{
    // The listener first, so that no connection thread calls service() any more.
    m_listener.reset();
    m_grabber->stop();
    m_grabber.reset();
}

bool HTTPScreenServer::isListening() const
{
    return m_listener && m_listener->isListening();
}

void HTTPScreenServer::service(veskaweb::HttpRequest &request, veskaweb::HttpResponse &response)
{
    const QByteArray path = request.getPath();
    if (path.startsWith(kFramePrefix)) {
        response.setHeader("Content-Type", "image/jpg");
        response.write(m_grabber->getInstantFrame());
        ++m_frameRequests;
    } else if (path == "/") {
        response.setHeader("Content-Type", "text/html");
        response.write(m_page.toLatin1());
    } else {
        response.setHeader("Content-Type", "text/html");
        response.setStatus(404, QByteArray());
        response.write("NOT FOUND");
    }
    // The connection handler writes the last part and so decides the framing.
}
