#pragma once

#include <QObject>

#include <memory>

class QIODevice;
class QTcpSocket;

namespace clipnab {

// Copies a response body from a device to a client socket as the socket drains, so that only a
// bounded amount is ever buffered. It can stop early and close or reset the connection (a
// cut-short or dropped answer) or stop sending and keep the connection open (a stalled answer). It
// is a child of the socket and goes away with it or when it is done.
class BodyStreamer : public QObject
{
    Q_OBJECT

public:
    // Bytes kept queued in the socket before the streamer waits for it to drain.
    static constexpr qint64 HighWater = 256 * 1024;
    static constexpr qint64 Step = 64 * 1024;

    enum class Ending
    {
        Complete,
        CutShort, // closed after the limit
        Reset,    // reset after the limit
        Stall     // kept open after the limit, silent
    };

    // Sends up to limit bytes of source (all of it when limit is negative).
    static void start(QTcpSocket *socket, std::unique_ptr<QIODevice> source, qint64 limit,
                      Ending ending, bool closeWhenDone);

private:
    BodyStreamer(QTcpSocket *socket, std::unique_ptr<QIODevice> source, qint64 limit, Ending ending,
                 bool closeWhenDone);
    void pump();
    void finish();
    void reset();

    QTcpSocket *m_socket;
    std::unique_ptr<QIODevice> m_source;
    qint64 m_remaining;
    Ending m_ending;
    bool m_closeWhenDone;
    bool m_finished = false;
};

} // namespace clipnab
