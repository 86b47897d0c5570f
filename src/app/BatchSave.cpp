#include "app/BatchSave.h"

#include "app/DownloadRunner.h"
#include "downloads/DownloadQueue.h"
#include "downloads/HistoryStore.h"
#include "retrieval/AddressCheck.h"

#include <QFileInfo>

namespace clipnab {

namespace {

using Kind = DownloadOutcome::Kind;

DownloadParts partsOf(WindowComponents components)
{
    return {std::move(components.locatorBrowser), std::move(components.transfer)};
}

} // namespace

BatchSave::BatchSave(Clock &clock, MakeComponents makeComponents, Settings settings,
                     HistoryStore *history, QObject *parent)
    : QObject(parent), m_settings(std::move(settings)), m_history(history),
      m_queue(std::make_unique<DownloadQueue>(history))
{
    m_runner = std::make_unique<DownloadRunner>(
        clock, *m_queue, partsOf(makeComponents()),
        [makeComponents] { return partsOf(makeComponents()); },
        DownloadFlow::Settings{m_settings.siteBase, m_settings.downloadFolder});
    m_queue->setConcurrency(m_settings.jobs);
    connect(m_runner.get(), &DownloadRunner::started, this,
            [this](qint64, DownloadFlow *flow) { Q_EMIT flowStarted(flow); });
    connect(m_runner.get(), &DownloadRunner::ended, this,
            [this](qint64 id, DownloadFlow *, const DownloadOutcome &outcome) {
                onEnded(id, outcome);
            });
}

BatchSave::~BatchSave()
{
    // The runner's flows report to the queue to the end.
    m_runner.reset();
}

void BatchSave::start(Source source)
{
    m_source = std::move(source);
    if (m_history) {
        const QList<DownloadRecord> rows = m_history->unfinished();
        m_queue->restore(rows, false);
        for (const DownloadRecord &row : rows)
            m_leftovers << row.id;
    }
    startMore();
}

void BatchSave::stop()
{
    m_stopping = true;
    const QList<qint64> running = m_running.keys();
    for (qint64 id : running)
        m_queue->stop(id);
    startMore();
}

void BatchSave::startMore()
{
    while (!m_stopping && !m_sourceDry && m_running.size() < m_queue->concurrency()) {
        const std::optional<Entry> entry = m_source();
        if (!entry) {
            m_sourceDry = true;
            break;
        }
        const QString &address = entry->address;
        if (!entry->refusal.isEmpty()) {
            Q_EMIT ended(address, {.kind = Kind::Invalid, .message = entry->refusal});
            continue;
        }
        if (const auto refusal =
                AddressCheck::validate(address, !AddressCheck::isAvailable(address))) {
            Q_EMIT ended(address, {.kind = Kind::Invalid, .message = *refusal});
            continue;
        }
        if (const auto saved = earlierSave(address)) {
            Q_EMIT skipped(address, *saved);
            continue;
        }
        const QString videoId = AddressCheck::cutVideoId(address);
        if (const auto leftover = takeLeftover(videoId)) {
            // The same row goes on: its part file, validators and times are those of the save
            // that was cut off.
            m_running.insert(*leftover, address);
            m_queue->resume(*leftover);
            continue;
        }
        DownloadRecord draft;
        draft.address = address;
        draft.videoId = videoId;
        m_running.insert(m_queue->enqueue(draft), address);
    }
    if (!m_finished && m_running.isEmpty() && (m_sourceDry || m_stopping)) {
        m_finished = true;
        Q_EMIT finished();
    }
}

std::optional<DownloadRecord> BatchSave::earlierSave(const QString &address) const
{
    if (!m_settings.skipSaved || !m_history)
        return std::nullopt;
    const auto saved = m_history->latestSaved(AddressCheck::cutVideoId(address));
    if (!saved || !QFileInfo(saved->filePath).isFile())
        return std::nullopt;
    return saved;
}

std::optional<qint64> BatchSave::takeLeftover(const QString &videoId)
{
    // The newest first: an older row of the same video is a try that was given up on.
    for (auto it = m_leftovers.rbegin(); it != m_leftovers.rend(); ++it) {
        const auto record = m_queue->record(*it);
        if (!record || record->state != DownloadState::Paused || record->videoId != videoId ||
            !QFileInfo(record->partPath).isFile())
            continue;
        const qint64 id = *it;
        m_leftovers.erase(std::next(it).base());
        return id;
    }
    return std::nullopt;
}

void BatchSave::onEnded(qint64 id, const DownloadOutcome &outcome)
{
    const QString address = m_running.take(id);
    Q_EMIT ended(address, outcome);
    startMore();
}

} // namespace clipnab
