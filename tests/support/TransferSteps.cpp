#include "support/TransferSteps.h"

#include "components/TransferComponent.h"

#include <QDeadlineTimer>
#include <QSignalSpy>

namespace clipnab {

using State = TransferComponent::State;

int waitForEnd(QSignalSpy &spy, int limitMs)
{
    QDeadlineTimer deadline(limitMs);
    while (true) {
        if (!spy.isEmpty()) {
            const int last = spy.last().first().toInt();
            if (last == int(State::Error) || last == int(State::ResponseCompleted))
                return last;
        }
        if (deadline.hasExpired())
            return -1;
        spy.wait(int(qMax<qint64>(1, deadline.remainingTime())));
    }
}

int get(TransferComponent &transfer, QSignalSpy &spy, const QString &url, int limitMs)
{
    transfer.setURL(url);
    if (!transfer.Execute(QStringLiteral("Get")))
        return -2;
    return waitForEnd(spy, limitMs);
}

QList<int> statesOf(const QSignalSpy &spy)
{
    QList<int> states;
    for (const QList<QVariant> &arguments : spy)
        states.append(arguments.first().toInt());
    return states;
}

QByteArray drain(TransferComponent &transfer, int chunkSize, int *largestChunk)
{
    QByteArray body;
    for (QByteArray chunk = transfer.GetChunk(chunkSize); !chunk.isEmpty();
         chunk = transfer.GetChunk(chunkSize)) {
        if (largestChunk)
            *largestChunk = qMax(*largestChunk, int(chunk.size()));
        body += chunk;
    }
    return body;
}

} // namespace clipnab
