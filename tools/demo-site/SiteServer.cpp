#include "SiteServer.h"

namespace clipnab {

SiteServer::SiteServer(Handler handler, QObject *parent)
    : QAbstractHttpServer(parent), m_handler(std::move(handler))
{
}

bool SiteServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    m_handler(request, socket);
    return true;
}

void SiteServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    m_handler(request, socket);
}

} // namespace clipnab
