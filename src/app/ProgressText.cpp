#include "app/ProgressText.h"

#include <cmath>

namespace clipnab {

ProgressText::ProgressText(qint64 received, qint64 total, std::optional<double> bytesPerSecond,
                           std::optional<qint64> secondsLeft)
    : m_received(received), m_total(total), m_bytesPerSecond(bytesPerSecond),
      m_secondsLeft(secondsLeft)
{
}

std::optional<int> ProgressText::percent() const
{
    if (m_total <= 0)
        return std::nullopt;
    if (m_received >= m_total)
        return 100;
    return static_cast<int>(std::max<qint64>(m_received, 0) * 100 / m_total);
}

QString ProgressText::line() const
{
    QString text = size(m_received);
    if (const auto share = percent())
        text = QStringLiteral("%1%: %2 of %3").arg(*share).arg(text, size(m_total));
    if (m_bytesPerSecond)
        text += QStringLiteral(" at ") + speed(*m_bytesPerSecond);
    if (m_secondsLeft && percent())
        text += QStringLiteral(", %1 left").arg(duration(*m_secondsLeft));
    return text;
}

QString ProgressText::windowTitle(const QString &title) const
{
    const auto share = percent();
    return QStringLiteral("%1 - %2").arg(
        share ? QStringLiteral("%1%").arg(*share) : size(m_received), title);
}

QString ProgressText::size(qint64 bytes)
{
    constexpr double kUnit = 1024.0;
    if (bytes == 1)
        return QStringLiteral("1 byte");
    if (bytes < 1024)
        return QStringLiteral("%1 bytes").arg(bytes);
    double value = static_cast<double>(bytes) / kUnit;
    if (value < kUnit)
        return QStringLiteral("%1 KB").arg(value, 0, 'f', 1);
    value /= kUnit;
    if (value < kUnit)
        return QStringLiteral("%1 MB").arg(value, 0, 'f', 1);
    return QStringLiteral("%1 GB").arg(value / kUnit, 0, 'f', 2);
}

QString ProgressText::speed(double bytesPerSecond)
{
    return size(std::llround(std::max(bytesPerSecond, 0.0))) + QStringLiteral("/s");
}

QString ProgressText::duration(qint64 seconds)
{
    if (seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    if (seconds < 3600)
        return QStringLiteral("%1 min %2 s")
            .arg(seconds / 60)
            .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    const qint64 minutes = seconds / 60;
    return QStringLiteral("%1 h %2 min")
        .arg(minutes / 60)
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

} // namespace clipnab
