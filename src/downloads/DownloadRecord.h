#pragma once

#include "downloads/DownloadState.h"

#include <QDateTime>
#include <QFlags>
#include <QString>

namespace clipnab {

// One download as the history keeps it: what was asked for, where it goes, how far it got, what
// a later request needs to continue it, and how it ended. Times are UTC.
struct DownloadRecord
{
    // Single fields, for updating only those that changed.
    enum class Field : unsigned
    {
        Address = 1u << 0,
        VideoId = 1u << 1,
        Title = 1u << 2,
        FilePath = 1u << 3,
        PartPath = 1u << 4,
        Bytes = 1u << 5,
        Total = 1u << 6,
        Etag = 1u << 7,
        LastModified = 1u << 8,
        QueuedAt = 1u << 9,
        StartedAt = 1u << 10,
        EndedAt = 1u << 11,
        State = 1u << 12,
        Reason = 1u << 13,
    };
    Q_DECLARE_FLAGS(Fields, Field)
    static constexpr Fields kAllFields = Fields::fromInt((1u << 14) - 1);

    qint64 id = 0; // 0 until the history (or the queue) gives it one
    QString address;
    QString videoId;
    QString title;        // the page title the locator saw
    QString filePath;     // the saved file, or the one being saved
    QString partPath;     // the part file the body goes into until it is complete
    qint64 bytes = 0;     // bytes in the part (or saved) file
    qint64 total = -1;    // the announced length; -1 when not known
    QString etag;         // validators for continuing with Range and If-Range
    QString lastModified; // the Last-Modified header as the server wrote it
    QDateTime queuedAt;
    QDateTime startedAt;
    QDateTime endedAt;
    DownloadState state = DownloadState::Queued;
    QString reason; // why it failed; empty otherwise

    bool operator==(const DownloadRecord &other) const = default;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(DownloadRecord::Fields)

} // namespace clipnab
