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

// One chunk's worth of progress: 1024 more, capped at the maximum.
void advance(ProgressCounters &progress);

struct Result
{
    qint64 bytesWritten = 0;
    bool writeFailed = false;
};

// Drains the body chunk by chunk into `out`: chunks of two or more bytes advance the
// progress, a final 0- or 1-byte chunk is written after the loop. A lone byte that is not the
// last is written too and the drain goes on, so no data is ever dropped. `onProgress` receives
// the counters after each chunk that advanced them, once the next chunk has been fetched.
Result drainBody(const std::function<QByteArray()> &nextChunk, QIODevice &out,
                 ProgressCounters &progress,
                 const std::function<void(const ProgressCounters &)> &onProgress);

} // namespace Drain

} // namespace clipnab
