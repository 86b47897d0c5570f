#include "HttpMessages.h"

#include <QStringList>
#include <QUrl>

namespace clipnab {

QByteArray httpReasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 204:
        return "No Content";
    case 206:
        return "Partial Content";
    case 302:
        return "Found";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 416:
        return "Range Not Satisfiable";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Unknown";
    }
}

QByteArray httpResponseHead(int status, const HttpHeaders &headers, qint64 contentLength)
{
    QByteArray head =
        "HTTP/1.1 " + QByteArray::number(status) + ' ' + httpReasonPhrase(status) + "\r\n";
    for (const auto &[name, value] : headers)
        head += name + ": " + value + "\r\n";
    if (contentLength >= 0)
        head += "Content-Length: " + QByteArray::number(contentLength) + "\r\n";
    head += "\r\n";
    return head;
}

QString queryValue(const QString &rawQuery, const QString &key)
{
    const QStringList pairs = rawQuery.split(QLatin1Char('&'));
    for (const QString &pair : pairs) {
        const qsizetype equals = pair.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? pair : pair.left(equals);
        if (QUrl::fromPercentEncoding(name.toUtf8()) != key)
            continue;
        if (equals < 0)
            return QLatin1String("");
        QString value = pair.mid(equals + 1);
        value.replace(QLatin1Char('+'), QLatin1Char(' '));
        return QUrl::fromPercentEncoding(value.toUtf8());
    }
    return {};
}

} // namespace clipnab
