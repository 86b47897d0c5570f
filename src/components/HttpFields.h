#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

namespace clipnab {

// Readers of the header fields a download relies on. They take the values as a server sent
// them, so they are readers of outside input: anything may come in.
namespace HttpFields {

// The first byte, last byte and total of a "Content-Range: bytes A-B/T" value; total is -1 for
// "*".
struct ContentRange
{
    qint64 first = 0;
    qint64 last = 0;
    qint64 total = -1;
};

// Empty when the value is not of that form, or names bytes backwards or beyond the total.
std::optional<ContentRange> contentRange(const QByteArray &value);

// What the Content-Length fields of one answer announce.
struct ContentLength
{
    qint64 length = -1; // -1: none, or one that is not a number
    bool conflicting = false;
};

// Reads every Content-Length value of one answer. A value may be a comma list, as a network
// layer that merges repeated fields makes it. Repeats of one value announce that value; values
// that differ conflict, and then no length can be trusted.
ContentLength contentLength(const QList<QByteArray> &values);

// What a request that continues a body sends as If-Range: a strong ETag, else Last-Modified
// (a weak ETag may not stand for the same bytes); empty when neither is known.
QByteArray resumeValidator(const QByteArray &etag, const QByteArray &lastModified);

} // namespace HttpFields

} // namespace clipnab
