#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace clipnab {

// Where a download stands. The history stores it as its lower-case word, so that a person
// reading the database sees "saved" or "failed".
enum class DownloadState
{
    Queued,
    Locating,
    Saving,
    Paused,
    Saved,
    Failed,
    Stopped,
};

// "queued", "locating", "saving", "paused", "saved", "failed", "stopped".
QString downloadStateWord(DownloadState state);

// The state a word names (exactly as written by downloadStateWord); nothing for any other text.
std::optional<DownloadState> downloadStateFromWord(QStringView word);

// Locating or saving: a transfer is running for it.
bool isActive(DownloadState state);

// Not yet at an end: queued, locating, saving or paused.
bool isUnfinished(DownloadState state);

} // namespace clipnab
