#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace clipnab {

// The program's HTTP client: one GET at a time, reported through StateChanged with the classic
// state numbers; after State::ResponseCompleted the headers and the body (in order, in pieces)
// can be read. Given a destination, the body is written there as it arrives and that file is
// complete and on disk when ResponseCompleted is raised; it then belongs to the caller.
class TransferComponent : public QObject
{
    Q_OBJECT

public:
    enum class State : int
    {
        None = 0,
        ResolvingHost = 1,
        HostResolved = 2,
        Connecting = 3,
        Connected = 4,
        Requesting = 5,
        RequestSent = 6,
        ReceivingResponse = 7,
        ResponseReceived = 8,
        Disconnecting = 9,
        Disconnected = 10,
        Error = 11,
        ResponseCompleted = 12,
    };
    Q_ENUM(State)

    using QObject::QObject;

    virtual void setURL(const QString &url) = 0;
    virtual QString URL() const = 0;
    // The file the body of the next Get is written into as it arrives (the part file beside the
    // name it will get); empty keeps the body in memory, for small answers only.
    virtual void setDestination(const QString &partPath) = 0;
    virtual QString destination() const = 0;
    // "Get" starts a background GET of URL(); "QUIT" closes any running request and deletes its
    // unfinished destination file. Returns false when the operation is refused.
    virtual bool Execute(const QString &operation) = 0;
    // Value of the named header of the response (name matched case-insensitively), empty when
    // absent.
    virtual QString GetHeader(const QString &name) const = 0;
    // The next at most size bytes of the body, in order; an empty array once the body is exhausted.
    virtual QByteArray GetChunk(int size) = 0;
    // After State::Error: the body could not be written to its destination (a full disk, say).
    virtual bool writeFailed() const = 0;

    // The event carries the state's number, as the classic component's did.
    Q_SIGNAL void StateChanged(int state);
    // While the body arrives, now and then: the bytes received of its total, -1 when no length
    // was announced.
    Q_SIGNAL void bodyProgress(qint64 received, qint64 total);
};

} // namespace clipnab
