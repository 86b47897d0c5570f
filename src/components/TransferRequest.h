#pragma once

#include <QByteArray>
#include <QString>

namespace clipnab {

// One get: where the body comes from and the part file it goes into. The part file exists
// already: its owner made it, and it holds the first resumeFrom bytes of the body. Every member
// has a default, so that a request names only what it sets.
struct TransferRequest
{
    QString url{};
    QString partPath{};
    qint64 resumeFrom = 0;
    // The ETag or Last-Modified value of the body those bytes belong to, sent as If-Range so
    // that a changed file comes whole; empty: none is known.
    QByteArray validator{};
};

} // namespace clipnab
