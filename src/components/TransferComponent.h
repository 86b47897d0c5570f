#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace clipnab {

// The program's HTTP client: one GET at a time, reported through StateChanged with the classic
// state numbers; after State::ResponseCompleted the headers and the body (in order, in pieces)
// can be read.
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
    // "Get" starts a background GET of URL(); "QUIT" closes any running request. Returns false
    // when the operation is refused.
    virtual bool Execute(const QString &operation) = 0;
    // Value of the named header of the response (name matched case-insensitively), empty when
    // absent.
    virtual QString GetHeader(const QString &name) const = 0;
    // The next at most size bytes of the body, in order; an empty array once the body is exhausted.
    virtual QByteArray GetChunk(int size) = 0;

    // The event carries the state's number, as the classic component's did.
    Q_SIGNAL void StateChanged(int state);
};

} // namespace clipnab
