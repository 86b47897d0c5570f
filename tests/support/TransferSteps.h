#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QSignalSpy;

namespace clipnab {

class TransferComponent;

// Steps that drive a transfer of any kind; `spy` watches its StateChanged.

// Waits until the transfer reports completion or failure; returns the final state or -1.
int waitForEnd(QSignalSpy &spy, int limitMs = 30000);

// Starts a Get of the address and waits for its end; returns the final state, -2 when refused.
int get(TransferComponent &transfer, QSignalSpy &spy, const QString &url, int limitMs = 30000);

// The states reported so far, in order.
QList<int> statesOf(const QSignalSpy &spy);

// Reads the body to its end in chunks of `chunkSize`; `largestChunk`, when given, is raised to
// the largest chunk seen.
QByteArray drain(TransferComponent &transfer, int chunkSize, int *largestChunk = nullptr);

} // namespace clipnab
