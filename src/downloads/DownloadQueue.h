#pragma once

#include "downloads/DownloadRecord.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

namespace clipnab {

class HistoryStore;

// The download queue's state machine, without any network: it holds the downloads of this run,
// decides which queued one starts next within the limit of downloads at once, and follows each
// through the events its transfer reports. Events that do not fit an item's state are ignored
// (a late "saved" for a stopped item, a second stop). With a history store, every change is
// written to it; without one it works alone.
//
// Whoever runs the transfers answers startRequested(id) by starting one for record(id) (the
// item is locating from that moment and counts against the limit) and reports back with the
// report...() calls. stopRequested(id) asks it to end the item's transfer, if one runs, and to
// delete its part file (stop and remove of a running or paused item).
class DownloadQueue : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMinConcurrency = 1;
    static constexpr int kMaxConcurrency = 4;
    // Progress goes to the history at most this often; state changes go at once.
    static constexpr qint64 kProgressSaveIntervalMs = 1000;
    // Speed is measured over spans of at least this length and smoothed.
    static constexpr qint64 kSpeedSampleMs = 500;

    explicit DownloadQueue(HistoryStore *store = nullptr, QObject *parent = nullptr);

    // Items added from now on are written to `store` (may be null).
    void setStore(HistoryStore *store);
    int concurrency() const { return m_concurrency; }
    // Clamped to 1..4; a higher limit starts waiting items at once.
    void setConcurrency(int limit);
    // Milliseconds from any fixed point, for speed and for spacing history writes.
    void setClock(std::function<qint64()> milliseconds);

    // The items of this run, in the order they were added.
    QList<qint64> ids() const;
    bool contains(qint64 id) const { return find(id) != nullptr; }
    std::optional<DownloadRecord> record(qint64 id) const;
    // Items locating or saving.
    int activeCount() const;
    // What runs or waits (queued, locating, saving): how many, and their bytes of the total
    // announced; `sized` is false when one has announced no length yet.
    struct Totals
    {
        int count = 0;
        qint64 bytes = 0;
        qint64 total = 0;
        bool sized = true;
    };
    Totals totals() const;
    // Bytes per second of a saving item; 0 when not known yet.
    double speed(qint64 id) const;
    // Seconds until a saving item is complete at its speed; -1 when not known.
    qint64 secondsLeft(qint64 id) const;

    // A new item from the address, video id and title of `draft`; queued now, started when a
    // place is free. Its id comes from the history (or, without one, is negative).
    qint64 enqueue(const DownloadRecord &draft);
    // Takes over the unfinished rows the history kept from an earlier run. Locating and saving
    // rows become paused; with `resumeNow` every one is queued instead.
    void restore(const QList<DownloadRecord> &records, bool resumeNow);

    // Reports from the transfer of an item.
    void reportTitle(qint64 id, const QString &title);
    void reportSaving(qint64 id, const QString &filePath, const QString &partPath);
    void reportValidators(qint64 id, const QString &etag, const QString &lastModified);
    void reportProgress(qint64 id, qint64 bytes, qint64 total);
    // The complete file is in place under `filePath`, `size` bytes long.
    void reportSaved(qint64 id, const QString &filePath, qint64 size);
    // On a full disk the items still queued are paused instead of started: they wait until the
    // user resumes them. An item that ended before its transfer began, with the part file of an
    // earlier try untouched (`partKept`), is paused with the reason instead, to be continued.
    void reportFailed(qint64 id, const QString &reason, bool diskFull, bool partKept = false);

    // User actions and the end of the program. Stop, resume, retry and remove also take a row of
    // an earlier run that the history holds.
    void stop(qint64 id);
    // The program ends: running and queued items become paused and keep their part files;
    // nothing more is started.
    void pauseAll();
    void resume(qint64 id);
    void retry(qint64 id);
    // Takes the item off the queue and its row out of the history.
    void remove(qint64 id);

Q_SIGNALS:
    void startRequested(qint64 id);
    void stopRequested(qint64 id);
    void itemAdded(qint64 id);
    // Any change of an item: its state, progress or details.
    void itemChanged(qint64 id);
    void stateChanged(qint64 id, clipnab::DownloadState state);
    void itemRemoved(qint64 id);

private:
    struct Item
    {
        DownloadRecord record;
        quint64 queuedOrder = 0; // the order in which items became queued: who starts first
        qint64 sampleAt = -1;    // the speed's last sample
        qint64 sampleBytes = 0;
        double speed = 0;
        qint64 savedAt = -1; // when progress last went to the history
    };

    Item *find(qint64 id);
    const Item *find(qint64 id) const;
    Item *findOrLoad(qint64 id);
    void changeState(Item &item, DownloadState state, DownloadRecord::Fields alsoChanged = {});
    void persist(const Item &item, DownloadRecord::Fields fields);
    void startWaiting();

    QPointer<HistoryStore> m_store;
    std::function<qint64()> m_clock;
    QList<Item> m_items;
    int m_concurrency = kMinConcurrency;
    qint64 m_nextLocalId = -1;
    quint64 m_nextQueuedOrder = 0;
    bool m_starting = false;
};

} // namespace clipnab
