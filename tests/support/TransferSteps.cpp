#include "support/TransferSteps.h"

#include "components/TransferComponent.h"

#include <QDeadlineTimer>
#include <QFile>

namespace clipnab {

TransferSpy::TransferSpy(TransferComponent &transfer)
    : progress(&transfer, &TransferComponent::progress),
      finished(&transfer, &TransferComponent::finished),
      failed(&transfer, &TransferComponent::failed)
{
}

GetEnd TransferSpy::waitForEnd(int limitMs)
{
    QDeadlineTimer deadline(limitMs);
    while (finished.isEmpty() && failed.isEmpty()) {
        if (deadline.hasExpired())
            return GetEnd::Open;
        // Waited on in slices, so that a failure ends the wait too.
        finished.wait(int(qBound(qint64(1), deadline.remainingTime(), qint64(50))));
    }
    return failed.isEmpty() ? GetEnd::Finished : GetEnd::Failed;
}

void TransferSpy::clear()
{
    progress.clear();
    finished.clear();
    failed.clear();
}

TransferFailure TransferSpy::failure() const
{
    return failed.last().at(0).value<TransferFailure>();
}

QString TransferSpy::reason() const
{
    return failed.last().at(1).toString();
}

GetEnd get(TransferComponent &transfer, TransferSpy &spy, const QString &url,
           const QString &partPath, int limitMs)
{
    if (!makeEmptyFile(partPath) || transfer.start({.url = url, .partPath = partPath}))
        return GetEnd::Refused;
    return spy.waitForEnd(limitMs);
}

bool makeEmptyFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace clipnab
