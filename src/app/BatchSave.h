#pragma once

#include "app/WindowComponents.h"
#include "downloads/DownloadRecord.h"
#include "retrieval/DownloadFlow.h"
#include "retrieval/DownloadOutcome.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace clipnab {

class Clock;
class HistoryStore;

// Saves a list of addresses without a window, up to `jobs` at once. Each save under way has a
// download flow on a hidden browser and a transfer of its own, made when first needed and used
// again for a later address. An address the check refuses ends at once, without a browser; with
// skipSaved, a video whose last saved file is still there is skipped. Every save that starts is
// written into the history as it goes, when there is one, so that a save cut off without a chance
// to end (killed, power lost) is continued from its part file by the next save of the video.
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

    // Progress goes into the history at most this often; every change of state at once.
    static constexpr qint64 kProgressSaveIntervalMs = 1000;

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
    struct Runner;

    void startMore();
    std::optional<DownloadRecord> earlierSave(const QString &address) const;
    // The unfinished row of the video whose part file is still there, taken out of the list.
    std::optional<DownloadRecord> takeLeftover(const QString &videoId);
    Runner &freeRunner();
    void begin(Runner &runner, const QString &address);
    void onPhase(Runner &runner, DownloadFlow::Phase phase);
    void onProgress(Runner &runner, qint64 received, qint64 total);
    void onValidated(Runner &runner, const QString &etag, const QString &lastModified);
    void onFinished(Runner &runner, const DownloadOutcome &outcome);
    void record(Runner &runner, DownloadRecord::Fields fields);
    int busyCount() const;

    Clock &m_clock;
    MakeComponents m_makeComponents;
    Settings m_settings;
    HistoryStore *m_history;
    Source m_source;
    // Rows left by ended programs, oldest first; each continues at most one save.
    QList<DownloadRecord> m_leftovers;
    std::vector<std::unique_ptr<Runner>> m_runners;
    bool m_sourceDry = false;
    bool m_stopping = false;
    bool m_finished = false;
};

} // namespace clipnab
