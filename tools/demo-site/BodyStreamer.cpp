#include "BodyStreamer.h"

#include <QByteArray>
#include <QIODevice>
#include <QTcpSocket>

#include <sys/socket.h>

namespace clipnab {

void BodyStreamer::start(QTcpSocket *socket, std::unique_ptr<QIODevice> source, qint64 limit,
                         Ending ending, bool closeWhenDone)
{
    // Owned by the socket from here on.
    auto *streamer = new BodyStreamer(socket, std::move(source), limit, ending, closeWhenDone);
    streamer->pump();
}

BodyStreamer::BodyStreamer(QTcpSocket *socket, std::unique_ptr<QIODevice> source, qint64 limit,
                           Ending ending, bool closeWhenDone)
    : QObject(socket), m_socket(socket), m_source(std::move(source)),
      m_remaining(limit < 0 ? m_source->size() - m_source->pos()
                            : qMin(limit, m_source->size() - m_source->pos())),
      m_ending(ending), m_closeWhenDone(closeWhenDone)
{
    connect(socket, &QTcpSocket::bytesWritten, this, &BodyStreamer::pump);
}

void BodyStreamer::pump()
{
    if (m_finished)
        return;
    QByteArray piece;
    while (m_remaining > 0 && m_socket->bytesToWrite() < HighWater &&
           m_socket->state() == QAbstractSocket::ConnectedState) {
        piece = m_source->read(qMin(Step, m_remaining));
        if (piece.isEmpty()) {
            m_remaining = 0;
            break;
        }
        m_socket->write(piece);
        m_remaining -= piece.size();
    }
    if (m_remaining <= 0)
        finish();
}

void BodyStreamer::finish()
{
    m_finished = true;
    switch (m_ending) {
    case Ending::Stall:
        // Stays with the socket, which is neither written to nor closed any more.
        return;
    case Ending::CutShort:
        m_socket->disconnectFromHost();
        break;
    case Ending::Reset:
        // Once what was sent has left the socket, so that the client may see all of it.
        if (m_socket->bytesToWrite() > 0) {
            connect(m_socket, &QTcpSocket::bytesWritten, this, &BodyStreamer::reset);
            return;
        }
        reset();
        return;
    case Ending::Complete:
        if (m_closeWhenDone)
            m_socket->disconnectFromHost();
        break;
    }
    deleteLater();
}

void BodyStreamer::reset()
{
    if (m_socket->bytesToWrite() > 0)
        return;
    // Closing with a zero linger time sends a reset instead of the orderly end.
    const linger noLinger{1, 0};
    ::setsockopt(static_cast<int>(m_socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &noLinger,
                 sizeof noLinger);
    m_socket->abort();
    deleteLater();
}

} // namespace clipnab
