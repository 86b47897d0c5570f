#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace clipnab {

using HttpHeaders = QList<QPair<QByteArray, QByteArray>>;

// Reason phrase of an HTTP status code ("Not Found" for 404).
QByteArray httpReasonPhrase(int status);

// Status line and headers of an HTTP/1.1 response, ending with the empty line. Content-Length is
// added when contentLength is zero or more.
QByteArray httpResponseHead(int status, const HttpHeaders &headers, qint64 contentLength);

// Value of a key in a raw (still percent-encoded) query string, decoded as a form field: "+"
// stands for a blank. The first occurrence wins; a missing key gives a null string.
QString queryValue(const QString &rawQuery, const QString &key);

} // namespace clipnab
