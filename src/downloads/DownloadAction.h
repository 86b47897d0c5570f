#pragma once

#include "downloads/DownloadState.h"

namespace clipnab {

// What the user can do with one download in the Downloads list.
enum class DownloadAction
{
    Stop,
    Resume,
    Retry,
    Remove,
    OpenFile,
    OpenFolder,
};

// Whether `action` applies to a download in `state`; the file actions also need the saved file
// to be there.
bool isAllowed(DownloadAction action, DownloadState state, bool fileExists);

} // namespace clipnab
