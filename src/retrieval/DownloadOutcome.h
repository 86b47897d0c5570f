#pragma once

#include <QString>

namespace clipnab {

// How one download action ended. Every member has a default, so that an outcome names only
// what it sets.
struct DownloadOutcome
{
    enum class Kind
    {
        Saved,          // the video is stored under savedPath
        Invalid,        // the address failed validation; nothing was started
        NoToken,        // the landed address held no "&t=" value
        DownloadFailed, // the transfer failed or its body arrived incomplete
        SaveFailed,     // the folder or the file could not be written
        Stopped,        // the user stopped it; nothing was kept
        Paused,         // ended for now; its part file is kept to be continued
    };

    Kind kind = Kind::Saved;
    QString savedPath{};
    // What the user is told of a failure; empty for Saved and Stopped.
    QString message{};
    // Why the download or the save failed, in the words of the part that failed ("the server
    // answered 404 Not Found", "no space left on device"): a lower-case phrase without a final
    // full stop. Empty for Saved, Stopped and Invalid.
    QString reason{};
};

} // namespace clipnab
