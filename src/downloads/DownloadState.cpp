#include "downloads/DownloadState.h"

#include <array>

namespace clipnab {

namespace {

struct StateWord
{
    DownloadState state;
    QStringView word;
};

constexpr std::array kStateWords{
    StateWord{DownloadState::Queued, u"queued"},   StateWord{DownloadState::Locating, u"locating"},
    StateWord{DownloadState::Saving, u"saving"},   StateWord{DownloadState::Paused, u"paused"},
    StateWord{DownloadState::Saved, u"saved"},     StateWord{DownloadState::Failed, u"failed"},
    StateWord{DownloadState::Stopped, u"stopped"},
};

} // namespace

QString downloadStateWord(DownloadState state)
{
    for (const StateWord &entry : kStateWords) {
        if (entry.state == state)
            return entry.word.toString();
    }
    return {};
}

std::optional<DownloadState> downloadStateFromWord(QStringView word)
{
    for (const StateWord &entry : kStateWords) {
        if (entry.word == word)
            return entry.state;
    }
    return std::nullopt;
}

bool isActive(DownloadState state)
{
    return state == DownloadState::Locating || state == DownloadState::Saving;
}

bool isUnfinished(DownloadState state)
{
    return state == DownloadState::Queued || isActive(state) || state == DownloadState::Paused;
}

} // namespace clipnab
