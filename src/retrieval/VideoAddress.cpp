#include "retrieval/VideoAddress.h"

namespace clipnab::VideoAddress {

std::optional<QString> tValue(const QString &landedUrl)
{
    static const QString marker = QStringLiteral("&t=");
    const qsizetype at = landedUrl.indexOf(marker);
    if (at < 0 || at + marker.size() >= landedUrl.size())
        return std::nullopt;
    qsizetype end = at + marker.size();
    while (end < landedUrl.size() && landedUrl[end] != QLatin1Char('&') &&
           landedUrl[end] != QLatin1Char('='))
        ++end;
    return landedUrl.mid(at + marker.size(), end - at - marker.size());
}

QString playerAddress(const QString &siteBase, const QString &videoId)
{
    return siteBase + QStringLiteral("/v/") + videoId;
}

QString videoFileAddress(const QString &siteBase, const QString &videoId, const QString &tValue)
{
    return siteBase + QStringLiteral("/get_video?video_id=") + videoId + QStringLiteral("&t=") +
           tValue;
}

QString homePage(const QString &siteBase)
{
    return siteBase + QLatin1Char('/');
}

} // namespace clipnab::VideoAddress
