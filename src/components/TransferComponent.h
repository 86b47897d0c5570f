#pragma once

#include "components/TransferFailure.h"
#include "components/TransferRequest.h"

#include <QObject>
#include <QString>

#include <optional>

namespace clipnab {

// The program's HTTP client: one get at a time, its body written into a part file its caller
// owns. The transfer opens that file for writing, writes, syncs and closes it; it never creates,
// renames or deletes it. A get that started ends in exactly one finished() or failed(), unless
// abort() ends it first.
class TransferComponent : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts a background GET of request.url that continues request.partPath from
    // request.resumeFrom. Returns why it was refused (a get runs already, the address is not an
    // http one), with nothing reported then; nothing when it started.
    virtual std::optional<QString> start(const TransferRequest &request) = 0;
    // Ends the running get, if any. On return the part file is closed and no longer written, and
    // nothing more is reported of that get: its owner may delete the file at once.
    virtual void abort() = 0;
    // The part file of the running or last get.
    virtual QString destination() const = 0;
    // After finished(): the value of the named header (matched case-insensitively) of the
    // answer that announced the body, empty when absent.
    virtual QString GetHeader(const QString &name) const = 0;

Q_SIGNALS:
    // While the body arrives, now and then: the bytes of it the part file holds, of its total
    // (-1 when no length was announced).
    void progress(qint64 received, qint64 total);
    // The answer that describes the body was accepted; its ETag and Last-Modified values (empty
    // when absent), which a later get needs to continue the same body.
    void validated(const QString &etag, const QString &lastModified);
    // The whole body is in the part file, synced to disk, and the file is closed.
    void finished();
    // The get ended without its body; the part file is closed. `reason` says why in words
    // (see FailureReason).
    void failed(clipnab::TransferFailure kind, const QString &reason);
};

} // namespace clipnab
