#include "search/SearchRules.h"

#include <QUrl>

#include <cmath>
#include <cstdint>
#include <limits>

namespace clipnab::SearchRules {

namespace {
QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}
} // namespace

bool isPlaceholder(const QString &text)
{
    return text.toUpper() == kPlaceholder.toUpper();
}

QString searchAddress(const QString &siteBase, const QString &words)
{
    // Every reserved and non-ASCII character is escaped, so "+", "&", "#" and "%" reach the
    // site as typed instead of changing the query.
    const QByteArray value = QUrl::toPercentEncoding(trimBlanks(words));
    return siteBase + QStringLiteral("/results?search_query=") + QString::fromLatin1(value);
}

std::optional<int> percentage(int progress, int progressMax)
{
    int percent = 0;
    const std::int64_t product = static_cast<std::int64_t>(progress) * 100;
    if (progressMax != 0 && product >= std::numeric_limits<std::int32_t>::min() &&
        product <= std::numeric_limits<std::int32_t>::max()) {
        const double value =
            std::nearbyint(static_cast<double>(product) / static_cast<double>(progressMax));
        if (value >= std::numeric_limits<std::int16_t>::min() &&
            value <= std::numeric_limits<std::int16_t>::max())
            percent = static_cast<int>(value);
    }
    if (percent > 100)
        return std::nullopt;
    return percent;
}

QString progressCaption(int percent)
{
    return QStringLiteral("Loading page...") + QString::number(percent) + QLatin1Char('%');
}

} // namespace clipnab::SearchRules
