#pragma once

#include "app/WindowComponents.h"
#include "downloads/DownloadRecord.h"
#include "retrieval/DownloadFlow.h"
#include "retrieval/DownloadOutcome.h"

#include <QList>
#include <QObject>
#include <QString>

#include <QHash>

#include <functional>
#include <memory>
#include <optional>

namespace clipnab {

class Clock;
class DownloadQueue;
class DownloadRunner;
class HistoryStore;

// Saves a list of addresses without a window, up to `jobs` at once, through the download queue
// and its runner, as the window does: each save under way has a flow on parts of its own, and
// every save is written into the history as it goes, when there is one, so that a save cut off
// without a chance to end (killed, power lost) is continued from its part file by the next save
// of the video. An address the check refuses ends at once; with skipSaved, a video whose last
// saved file is still there is skipped.
class BatchSave : public QObject
{
    Q_OBJECT
public:
    // An address to save, or an input line refused before any check (`refusal` says why).
    struct Entry
    {
        QString address;
        QString refusal{};
    };
    // The next entry, nothing at the end; asked only when a save can start.
    using Source = std::function<std::optional<Entry>()>;
    using MakeComponents = std::function<WindowComponents()>;

    struct Settings
    {
        QString siteBase;
        QString downloadFolder;
        int jobs = 1;
        bool skipSaved = false;
    };

    // The clock names the files; `history` may be null, and outlives the batch like the clock.
    BatchSave(Clock &clock, MakeComponents makeComponents, Settings settings, HistoryStore *history,
              QObject *parent = nullptr);
    ~BatchSave() override;

    // Saves what `source` gives; finished() comes once it is dry and every save has ended,
    // perhaps before this returns. The history's unfinished rows of programs no longer running
    // are taken over first, for their part files to be continued.
    void start(Source source);
    // Stops the saves under way as Stop does (their part files go) and starts no more.
    void stop();
    bool isFinished() const { return m_finished; }

Q_SIGNALS:
    // A save began on `flow`, which reports its phases and progress.
    void flowStarted(clipnab::DownloadFlow *flow);
    void ended(const QString &address, const clipnab::DownloadOutcome &outcome);
    // `saved` is the history's row of the earlier save.
    void skipped(const QString &address, const clipnab::DownloadRecord &saved);
    void finished();

private:
    void startMore();
    std::optional<DownloadRecord> earlierSave(const QString &address) const;
    // The paused item of the video whose part file is still there, taken out of the leftovers.
    std::optional<qint64> takeLeftover(const QString &videoId);
    void onEnded(qint64 id, const DownloadOutcome &outcome);

    Settings m_settings;
    HistoryStore *m_history;
    Source m_source;
    std::unique_ptr<DownloadQueue> m_queue;
    std::unique_ptr<DownloadRunner> m_runner;
    // The saves under way, with the address each was given as.
    QHash<qint64, QString> m_running;
    // Items of rows left by ended programs, oldest first; each continues at most one save.
    QList<qint64> m_leftovers;
    bool m_sourceDry = false;
    bool m_stopping = false;
    bool m_finished = false;
};

} // namespace clipnab
