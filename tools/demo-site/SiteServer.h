#pragma once

#include <QAbstractHttpServer>

#include <functional>

namespace clipnab {

// The HTTP server under the demo site: Qt parses the requests, the handler answers each one by
// writing the raw response to the client socket itself.
class SiteServer : public QAbstractHttpServer
{
    Q_OBJECT

public:
    using Handler = std::function<void(const QHttpServerRequest &, QTcpSocket *)>;

    explicit SiteServer(Handler handler, QObject *parent = nullptr);

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    Handler m_handler;
};

} // namespace clipnab
