#include "retrieval/TransferRate.h"

#include <cmath>

namespace clipnab {

void TransferRate::restart()
{
    m_samples.clear();
}

void TransferRate::sample(qint64 msecs, qint64 received)
{
    if (!m_samples.empty() &&
        (received < m_samples.back().received || msecs < m_samples.back().msecs))
        m_samples.clear();
    m_samples.push_back({msecs, received});
    // Keeps one sample at or before the window's start, as the measure's starting point.
    while (m_samples.size() > 2 && m_samples[1].msecs <= msecs - kWindowMs)
        m_samples.pop_front();
}

std::optional<double> TransferRate::bytesPerSecond() const
{
    if (m_samples.size() < 2)
        return std::nullopt;
    const Sample &first = m_samples.front();
    const Sample &last = m_samples.back();
    const qint64 span = last.msecs - first.msecs;
    if (span < kMinimumSpanMs)
        return std::nullopt;
    return static_cast<double>(last.received - first.received) * 1000.0 / static_cast<double>(span);
}

std::optional<qint64> TransferRate::secondsLeft(qint64 total) const
{
    const auto speed = bytesPerSecond();
    if (total <= 0 || !speed)
        return std::nullopt;
    const qint64 left = total - received();
    if (left <= 0)
        return 0;
    if (*speed <= 0)
        return std::nullopt;
    return static_cast<qint64>(std::ceil(static_cast<double>(left) / *speed));
}

} // namespace clipnab
