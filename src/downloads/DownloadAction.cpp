#include "downloads/DownloadAction.h"

namespace clipnab {

bool isAllowed(DownloadAction action, DownloadState state, bool fileExists)
{
    switch (action) {
    case DownloadAction::Stop:
        return isUnfinished(state);
    case DownloadAction::Resume:
        return state == DownloadState::Paused;
    case DownloadAction::Retry:
        return state == DownloadState::Failed || state == DownloadState::Stopped;
    case DownloadAction::Remove:
        return true;
    case DownloadAction::OpenFile:
    case DownloadAction::OpenFolder:
        return state == DownloadState::Saved && fileExists;
    }
    return false;
}

} // namespace clipnab
