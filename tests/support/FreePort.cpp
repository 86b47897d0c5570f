#include "support/FreePort.h"

#include <QHostAddress>
#include <QTcpServer>

namespace clipnab {

quint16 freePort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 0;
    return server.serverPort();
}

} // namespace clipnab
