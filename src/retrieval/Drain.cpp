#include "retrieval/Drain.h"

#include <QIODevice>

namespace clipnab::Drain {

namespace {
constexpr qsizetype kWriteBlock = 256 * 1024;
}

void advance(ProgressCounters &progress)
{
    if (progress.max - progress.value < static_cast<float>(kChunkSize))
        progress.value = progress.max;
    else
        progress.value += static_cast<float>(kChunkSize);
}

Result drainBody(const std::function<QByteArray()> &nextChunk, QIODevice &out,
                 ProgressCounters &progress,
                 const std::function<void(const ProgressCounters &)> &onProgress)
{
    Result result;
    // Chunks are gathered and written in larger pieces, in the same order.
    QByteArray pending;
    pending.reserve(kWriteBlock);
    const auto flush = [&] {
        if (pending.isEmpty() || result.writeFailed)
            return;
        if (out.write(pending) != pending.size())
            result.writeFailed = true;
        else
            result.bytesWritten += pending.size();
        pending.truncate(0);
    };
    const auto write = [&](const QByteArray &chunk) {
        pending.append(chunk);
        if (pending.size() >= kWriteBlock)
            flush();
    };

    QByteArray chunk = nextChunk();
    for (;;) {
        while (chunk.size() >= 2) {
            write(chunk);
            advance(progress);
            chunk = nextChunk();
            if (onProgress)
                onProgress(progress);
        }
        write(chunk);
        if (chunk.isEmpty())
            break;
        chunk = nextChunk();
        if (chunk.isEmpty())
            break;
    }
    flush();
    return result;
}

} // namespace clipnab::Drain
