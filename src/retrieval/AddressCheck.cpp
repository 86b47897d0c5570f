#include "retrieval/AddressCheck.h"

namespace clipnab::AddressCheck {

namespace {
constexpr int kMarkerLength = 8;

QString takeUntilDelimiter(const QString &text, qsizetype from)
{
    qsizetype end = from;
    while (end < text.size() && text[end] != QLatin1Char('&') && text[end] != QLatin1Char('='))
        ++end;
    return text.mid(from, end - from);
}
} // namespace

bool hasVideoMarker(const QString &text)
{
    // The first occurrence is the only candidate: any later one also ends later.
    const qsizetype at = text.indexOf(kMarker);
    return at >= 0 && at + kMarkerLength < text.size();
}

bool isAvailable(const QString &text)
{
    return text.size() >= kMarkerLength && hasVideoMarker(text);
}

QString verdictCaption(bool available)
{
    return available ? QStringLiteral("URL is available") : QStringLiteral("URL is not available");
}

std::optional<QString> validate(const QString &text, bool verdictNotAvailable)
{
    if (text.isEmpty())
        return QStringLiteral("Please enter the URL of youtube video");
    if (text.left(4).toUpper() != QLatin1String("HTTP"))
        return QStringLiteral("URL must be based on HTTP Socket");
    if (verdictNotAvailable)
        return QStringLiteral("URL is not available");
    if (!hasVideoMarker(text))
        return QStringLiteral("Can not find this video file");
    return std::nullopt;
}

QString cutVideoId(const QString &text)
{
    const qsizetype at = text.indexOf(kMarker);
    if (at < 0)
        return {};
    return takeUntilDelimiter(text, at + kMarkerLength);
}

} // namespace clipnab::AddressCheck
