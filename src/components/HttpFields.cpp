#include "components/HttpFields.h"

#include <algorithm>

namespace clipnab::HttpFields {

namespace {

// A run of decimal digits that fits 63 bits; -1 otherwise. Blanks around it are dropped.
qint64 number(const QByteArray &text)
{
    const QByteArray digits = text.trimmed();
    if (digits.isEmpty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    return ok ? value : -1;
}

} // namespace

std::optional<ContentRange> contentRange(const QByteArray &value)
{
    const QByteArray text = value.trimmed();
    if (!text.startsWith("bytes "))
        return std::nullopt;
    const QByteArray spec = text.mid(6).trimmed();
    const qsizetype dash = spec.indexOf('-');
    const qsizetype slash = spec.indexOf('/');
    if (dash <= 0 || slash <= dash + 1)
        return std::nullopt;
    ContentRange range;
    range.first = number(spec.left(dash));
    range.last = number(spec.mid(dash + 1, slash - dash - 1));
    if (range.first < 0 || range.last < range.first)
        return std::nullopt;
    const QByteArray total = spec.mid(slash + 1).trimmed();
    if (total != "*") {
        range.total = number(total);
        if (range.total <= range.last)
            return std::nullopt;
    }
    return range;
}

ContentLength contentLength(const QList<QByteArray> &values)
{
    // Each element as a number, or as its text when it is none, so that "0300" and "300" agree
    // and two unreadable values agree only when they are the same text.
    std::optional<qint64> length;
    std::optional<QByteArray> text;
    for (const QByteArray &value : values) {
        for (const QByteArray &element : value.split(',')) {
            const QByteArray trimmed = element.trimmed();
            if (trimmed.isEmpty())
                continue;
            const qint64 n = number(trimmed);
            const bool agrees = n >= 0 ? (!text && (!length || *length == n))
                                       : (!length && (!text || *text == trimmed));
            if (!agrees)
                return {.length = -1, .conflicting = true};
            if (n >= 0)
                length = n;
            else
                text = trimmed;
        }
    }
    return {.length = length.value_or(-1)};
}

QByteArray resumeValidator(const QByteArray &etag, const QByteArray &lastModified)
{
    return !etag.isEmpty() && !etag.startsWith("W/") ? etag : lastModified;
}

} // namespace clipnab::HttpFields
