#pragma once

#include <QtGlobal>

#include <deque>
#include <optional>

namespace clipnab {

// The speed of a transfer and the time it has left, from its byte count read now and then on a
// steady clock. The speed is taken over the last few seconds, so that it follows a change of
// pace and falls to nothing while no bytes arrive.
class TransferRate
{
public:
    // The span the speed is taken over.
    static constexpr qint64 kWindowMs = 3000;
    // Samples closer together than this give no speed yet.
    static constexpr qint64 kMinimumSpanMs = 500;

    // Forgets every sample: a new transfer.
    void restart();
    // `received` bytes at `msecs` on a steady clock. A count below the last one (the body
    // started over) restarts the measure.
    void sample(qint64 msecs, qint64 received);

    // Bytes per second over the window; nothing until the samples span kMinimumSpanMs.
    std::optional<double> bytesPerSecond() const;
    // Whole seconds, rounded up, until `total` bytes are in at the present speed; nothing when the
    // total or the speed is unknown, or nothing arrives.
    std::optional<qint64> secondsLeft(qint64 total) const;
    // The last count sampled.
    qint64 received() const { return m_samples.empty() ? 0 : m_samples.back().received; }

private:
    struct Sample
    {
        qint64 msecs;
        qint64 received;
    };
    // Oldest first; the first one is the last sample at or before the window's start.
    std::deque<Sample> m_samples;
};

} // namespace clipnab
