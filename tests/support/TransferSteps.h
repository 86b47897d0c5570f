#pragma once

#include "components/TransferFailure.h"

#include <QByteArray>
#include <QSignalSpy>
#include <QString>

namespace clipnab {

class TransferComponent;

// Steps that drive a transfer of any kind.

// How a get ended, as far as its transfer reported it.
enum class GetEnd
{
    Finished,
    Failed,
    Refused, // start() refused it
    Open,    // nothing reported before the wait ran out
};

// What a transfer reports, from the moment the spy is made.
class TransferSpy
{
public:
    explicit TransferSpy(TransferComponent &transfer);

    // Waits until finished() or failed() has been reported since the last clear().
    GetEnd waitForEnd(int limitMs = 30000);
    void clear();
    // Of the last failed() report.
    TransferFailure failure() const;
    QString reason() const;

    QSignalSpy progress;
    QSignalSpy finished;
    QSignalSpy failed;
};

// Makes partPath an empty file, starts a get of url into it and waits for its end.
GetEnd get(TransferComponent &transfer, TransferSpy &spy, const QString &url,
           const QString &partPath, int limitMs = 30000);

// Makes path an empty file; false when it cannot.
bool makeEmptyFile(const QString &path);

// What the file at path holds; empty when it cannot be read.
QByteArray contentsOf(const QString &path);

} // namespace clipnab
