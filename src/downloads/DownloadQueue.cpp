#include "downloads/DownloadQueue.h"

#include "downloads/HistoryStore.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <memory>

namespace clipnab {

namespace {

// The weight of the newest measurement in the smoothed speed.
constexpr double kSpeedSmoothing = 0.3;

using Field = DownloadRecord::Field;

// A running transfer or a kept part file: what stopRequested() asks to end and delete.
bool holdsPart(DownloadState state)
{
    return isActive(state) || state == DownloadState::Paused;
}

} // namespace

DownloadQueue::DownloadQueue(HistoryStore *store, QObject *parent) : QObject(parent), m_store(store)
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    m_clock = [timer] { return timer->elapsed(); };
}

void DownloadQueue::setStore(HistoryStore *store)
{
    m_store = store;
}

void DownloadQueue::setConcurrency(int limit)
{
    m_concurrency = std::clamp(limit, kMinConcurrency, kMaxConcurrency);
    startWaiting();
}

void DownloadQueue::setClock(std::function<qint64()> milliseconds)
{
    m_clock = std::move(milliseconds);
}

QList<qint64> DownloadQueue::ids() const
{
    QList<qint64> result;
    result.reserve(m_items.size());
    for (const Item &item : m_items)
        result << item.record.id;
    return result;
}

std::optional<DownloadRecord> DownloadQueue::record(qint64 id) const
{
    const Item *item = find(id);
    if (!item)
        return std::nullopt;
    return item->record;
}

int DownloadQueue::activeCount() const
{
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(), [](const Item &item) {
        return isActive(item.record.state);
    }));
}

DownloadQueue::Totals DownloadQueue::totals() const
{
    Totals totals;
    for (const Item &item : m_items) {
        const DownloadRecord &record = item.record;
        if (!isActive(record.state) && record.state != DownloadState::Queued)
            continue;
        ++totals.count;
        totals.sized = totals.sized && record.total > 0;
        totals.bytes += record.bytes;
        totals.total += std::max<qint64>(record.total, 0);
    }
    return totals;
}

double DownloadQueue::speed(qint64 id) const
{
    const Item *item = find(id);
    return item && item->record.state == DownloadState::Saving ? item->speed : 0;
}

qint64 DownloadQueue::secondsLeft(qint64 id) const
{
    const Item *item = find(id);
    if (!item || item->record.state != DownloadState::Saving || item->record.total < 0 ||
        item->speed <= 0)
        return -1;
    const qint64 remaining = std::max<qint64>(0, item->record.total - item->record.bytes);
    return static_cast<qint64>(std::ceil(static_cast<double>(remaining) / item->speed));
}

qint64 DownloadQueue::enqueue(const DownloadRecord &draft)
{
    Item item;
    item.record = draft;
    item.record.state = DownloadState::Queued;
    item.record.queuedAt = QDateTime::currentDateTimeUtc();
    item.record.startedAt = {};
    item.record.endedAt = {};
    item.record.reason.clear();
    item.queuedOrder = m_nextQueuedOrder++;
    const qint64 stored = m_store ? m_store->add(item.record) : 0;
    item.record.id = stored > 0 ? stored : m_nextLocalId--;
    const qint64 id = item.record.id;
    m_items << item;
    Q_EMIT itemAdded(id);
    startWaiting();
    return id;
}

void DownloadQueue::restore(const QList<DownloadRecord> &records, bool resumeNow)
{
    for (const DownloadRecord &record : records) {
        if (record.id == 0 || !isUnfinished(record.state) || contains(record.id))
            continue;
        Item item;
        item.record = record;
        const DownloadState state = resumeNow ? DownloadState::Queued : DownloadState::Paused;
        const bool changed = item.record.state != state;
        item.record.state = state;
        item.queuedOrder = m_nextQueuedOrder++;
        if (changed)
            persist(item, Field::State);
        m_items << item;
        Q_EMIT itemAdded(record.id);
    }
    startWaiting();
}

void DownloadQueue::reportTitle(qint64 id, const QString &title)
{
    Item *item = find(id);
    if (!item || !isActive(item->record.state))
        return;
    item->record.title = title;
    persist(*item, Field::Title);
    Q_EMIT itemChanged(id);
}

void DownloadQueue::reportSaving(qint64 id, const QString &filePath, const QString &partPath)
{
    Item *item = find(id);
    if (!item || item->record.state != DownloadState::Locating)
        return;
    item->record.filePath = filePath;
    item->record.partPath = partPath;
    item->sampleAt = -1;
    item->speed = 0;
    changeState(*item, DownloadState::Saving, Field::FilePath | Field::PartPath);
}

void DownloadQueue::reportValidators(qint64 id, const QString &etag, const QString &lastModified)
{
    Item *item = find(id);
    // A continued answer that names neither leaves the item's own: they still describe the body
    // its part file holds.
    if (!item || !isActive(item->record.state) || (etag.isEmpty() && lastModified.isEmpty()))
        return;
    item->record.etag = etag;
    item->record.lastModified = lastModified;
    persist(*item, Field::Etag | Field::LastModified);
    Q_EMIT itemChanged(id);
}

void DownloadQueue::reportProgress(qint64 id, qint64 bytes, qint64 total)
{
    Item *item = find(id);
    if (!item || item->record.state != DownloadState::Saving)
        return;
    const qint64 now = m_clock();
    if (item->sampleAt < 0 || bytes < item->sampleBytes) {
        item->sampleAt = now;
        item->sampleBytes = bytes;
        item->speed = 0;
    } else if (now - item->sampleAt >= kSpeedSampleMs) {
        const double measured = static_cast<double>(bytes - item->sampleBytes) * 1000.0 /
                                static_cast<double>(now - item->sampleAt);
        item->speed =
            item->speed > 0 ? item->speed + kSpeedSmoothing * (measured - item->speed) : measured;
        item->sampleAt = now;
        item->sampleBytes = bytes;
    }
    item->record.bytes = bytes;
    item->record.total = total;
    if (item->savedAt < 0 || now - item->savedAt >= kProgressSaveIntervalMs) {
        item->savedAt = now;
        persist(*item, Field::Bytes | Field::Total);
    }
    Q_EMIT itemChanged(id);
}

void DownloadQueue::reportSaved(qint64 id, const QString &filePath, qint64 size)
{
    Item *item = find(id);
    if (!item || !isActive(item->record.state))
        return;
    item->record.filePath = filePath;
    item->record.partPath.clear();
    if (size >= 0) {
        item->record.bytes = size;
        item->record.total = size;
    }
    item->record.endedAt = QDateTime::currentDateTimeUtc();
    changeState(*item, DownloadState::Saved,
                Field::FilePath | Field::PartPath | Field::Bytes | Field::Total | Field::EndedAt);
    startWaiting();
}

void DownloadQueue::reportFailed(qint64 id, const QString &reason, bool diskFull, bool partKept)
{
    Item *item = find(id);
    if (!item || !isActive(item->record.state))
        return;
    item->record.reason = reason;
    if (partKept && !item->record.partPath.isEmpty()) {
        changeState(*item, DownloadState::Paused, Field::Reason);
    } else {
        item->record.endedAt = QDateTime::currentDateTimeUtc();
        // A failed transfer leaves no part file.
        item->record.partPath.clear();
        changeState(*item, DownloadState::Failed,
                    Field::Reason | Field::EndedAt | Field::Bytes | Field::PartPath);
    }
    if (diskFull) {
        QList<qint64> waiting;
        for (const Item &other : std::as_const(m_items)) {
            if (other.record.state == DownloadState::Queued)
                waiting << other.record.id;
        }
        for (qint64 waitingId : std::as_const(waiting)) {
            if (Item *other = find(waitingId);
                other && other->record.state == DownloadState::Queued) {
                other->record.reason = reason;
                changeState(*other, DownloadState::Paused, Field::Reason);
            }
        }
    }
    startWaiting();
}

void DownloadQueue::stop(qint64 id)
{
    Item *item = findOrLoad(id);
    if (!item || !isUnfinished(item->record.state))
        return;
    const bool hadPart = holdsPart(item->record.state);
    item->record.endedAt = QDateTime::currentDateTimeUtc();
    changeState(*item, DownloadState::Stopped, Field::EndedAt | Field::Bytes);
    if (hadPart)
        Q_EMIT stopRequested(id);
    // The part file went with the stop.
    if (Item *stopped = find(id); stopped && !stopped->record.partPath.isEmpty()) {
        stopped->record.partPath.clear();
        persist(*stopped, Field::PartPath);
    }
    startWaiting();
}

void DownloadQueue::pauseAll()
{
    const QList<qint64> all = ids();
    for (qint64 id : all) {
        Item *item = find(id);
        if (item && (isActive(item->record.state) || item->record.state == DownloadState::Queued))
            changeState(*item, DownloadState::Paused, Field::Bytes | Field::Total);
    }
}

void DownloadQueue::resume(qint64 id)
{
    Item *item = findOrLoad(id);
    if (!item || item->record.state != DownloadState::Paused)
        return;
    item->record.reason.clear();
    item->queuedOrder = m_nextQueuedOrder++;
    changeState(*item, DownloadState::Queued, Field::Reason);
    startWaiting();
}

void DownloadQueue::retry(qint64 id)
{
    Item *item = findOrLoad(id);
    if (!item || (item->record.state != DownloadState::Failed &&
                  item->record.state != DownloadState::Stopped))
        return;
    item->record.reason.clear();
    item->record.startedAt = {};
    item->record.endedAt = {};
    item->queuedOrder = m_nextQueuedOrder++;
    changeState(*item, DownloadState::Queued, Field::Reason | Field::StartedAt | Field::EndedAt);
    startWaiting();
}

void DownloadQueue::remove(qint64 id)
{
    const Item *item = findOrLoad(id);
    const bool hadPart = item && holdsPart(item->record.state);
    const bool wasActive = item && isActive(item->record.state);
    // Asked while the item is still there, so that its part file can be found.
    if (hadPart)
        Q_EMIT stopRequested(id);
    const bool hadItem = m_items.removeIf([id](const Item &each) { return each.record.id == id; });
    const bool removedRow = id > 0 && m_store && m_store->remove(id);
    if (!hadItem && !removedRow)
        return;
    Q_EMIT itemRemoved(id);
    if (wasActive)
        startWaiting();
}

DownloadQueue::Item *DownloadQueue::find(qint64 id)
{
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [id](const Item &item) { return item.record.id == id; });
    return it == m_items.end() ? nullptr : &*it;
}

const DownloadQueue::Item *DownloadQueue::find(qint64 id) const
{
    const auto it = std::find_if(m_items.cbegin(), m_items.cend(),
                                 [id](const Item &item) { return item.record.id == id; });
    return it == m_items.cend() ? nullptr : &*it;
}

DownloadQueue::Item *DownloadQueue::findOrLoad(qint64 id)
{
    if (Item *item = find(id))
        return item;
    if (!m_store || id <= 0)
        return nullptr;
    const std::optional<DownloadRecord> stored = m_store->find(id);
    if (!stored || isActive(stored->state))
        return nullptr;
    Item item;
    item.record = *stored;
    m_items << item;
    return &m_items.last();
}

void DownloadQueue::changeState(Item &item, DownloadState state, DownloadRecord::Fields alsoChanged)
{
    item.record.state = state;
    persist(item, alsoChanged | Field::State);
    const qint64 id = item.record.id;
    Q_EMIT stateChanged(id, state);
    Q_EMIT itemChanged(id);
}

void DownloadQueue::persist(const Item &item, DownloadRecord::Fields fields)
{
    if (m_store && item.record.id > 0)
        m_store->update(item.record, fields);
}

void DownloadQueue::startWaiting()
{
    // A start request may be answered at once with reports that end the item and ask for the
    // next start; the loop that runs already takes care of that.
    if (m_starting)
        return;
    m_starting = true;
    while (activeCount() < m_concurrency) {
        Item *next = nullptr;
        for (Item &item : m_items) {
            if (item.record.state == DownloadState::Queued &&
                (!next || item.queuedOrder < next->queuedOrder))
                next = &item;
        }
        if (!next)
            break;
        const qint64 id = next->record.id;
        next->record.startedAt = QDateTime::currentDateTimeUtc();
        next->record.endedAt = {};
        next->savedAt = -1;
        changeState(*next, DownloadState::Locating, Field::StartedAt | Field::EndedAt);
        Q_EMIT startRequested(id);
    }
    m_starting = false;
}

} // namespace clipnab
