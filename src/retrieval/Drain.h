#pragma once

#include <QByteArray>

#include <functional>

class QIODevice;

namespace clipnab {

// The invisible progress bar: two single-precision counters.
struct ProgressCounters
{
    float max = 0;
    float value = 0;
};

namespace Drain {

constexpr int kChunkSize = 1024;
// Full width of the progress strip in twips.
constexpr int kStripWidthTwips = 5475;

// One chunk's worth of progress: 1024 more, capped at the maximum.
void advance(ProgressCounters &progress);

// value / max x 5475 twips, rounded; -1 when there is no usable maximum.
int stripWidthTwips(const ProgressCounters &progress);

struct Result
{
    qint64 bytesWritten = 0;
    bool writeFailed = false;
};

// Drains the body chunk by chunk into `out`: chunks of two or more bytes advance the
// progress, a final 0- or 1-byte chunk is written after the loop. A lone byte that is not the
// last is written too and the drain goes on, so no data is ever dropped. `onWidth` receives
// the strip width after each chunk (when it can be computed).
Result drainBody(const std::function<QByteArray()> &nextChunk, QIODevice &out,
                 ProgressCounters &progress, const std::function<void(int)> &onWidth);

} // namespace Drain

} // namespace clipnab
