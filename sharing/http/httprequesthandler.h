#pragma once

#include <QObject>

namespace veskaweb {

class HttpRequest;
class HttpResponse;

// Base of every request handler. `service` runs in the connection threads, possibly in several
// at once, so a subclass must keep its shared state safe to use from them.
class HttpRequestHandler : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(HttpRequestHandler)

public:
    explicit HttpRequestHandler(QObject *parent = nullptr);
    ~HttpRequestHandler() override;

    // The default answers 501 "not implemented".
    virtual void service(HttpRequest &request, HttpResponse &response);
};

} // namespace veskaweb
