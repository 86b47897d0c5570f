#include "app/BatchSave.h"

#include "components/BrowserComponent.h"
#include "components/HttpFields.h"
#include "components/TransferComponent.h"
#include "downloads/HistoryStore.h"
#include "retrieval/AddressCheck.h"
#include "retrieval/PartFile.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>

namespace clipnab {

namespace {

using Field = DownloadRecord::Field;
using Kind = DownloadOutcome::Kind;

const QString kPartSuffix = QStringLiteral(".part");

} // namespace

// One save at a time on its own browser and transfer. The flow refers to both, so it goes first.
struct BatchSave::Runner
{
    WindowComponents components;
    std::unique_ptr<DownloadFlow> flow;
    bool busy = false;
    QString address;
    DownloadRecord record; // id 0 when the history did not take it
    bool transferStarted = false;
    QElapsedTimer progressSaved;
};

BatchSave::BatchSave(Clock &clock, MakeComponents makeComponents, Settings settings,
                     HistoryStore *history, QObject *parent)
    : QObject(parent), m_clock(clock), m_makeComponents(std::move(makeComponents)),
      m_settings(std::move(settings)), m_history(history)
{
    m_settings.jobs = std::max(m_settings.jobs, 1);
}

BatchSave::~BatchSave() = default;

void BatchSave::start(Source source)
{
    m_source = std::move(source);
    if (m_history)
        m_leftovers = m_history->unfinished();
    startMore();
}

void BatchSave::stop()
{
    m_stopping = true;
    for (const auto &runner : m_runners) {
        if (runner->busy)
            runner->flow->stop();
    }
    startMore();
}

int BatchSave::busyCount() const
{
    return static_cast<int>(std::count_if(m_runners.begin(), m_runners.end(),
                                          [](const auto &runner) { return runner->busy; }));
}

void BatchSave::startMore()
{
    while (!m_stopping && !m_sourceDry && busyCount() < m_settings.jobs) {
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
        begin(freeRunner(), address);
    }
    if (!m_finished && busyCount() == 0 && (m_sourceDry || m_stopping)) {
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

std::optional<DownloadRecord> BatchSave::takeLeftover(const QString &videoId)
{
    // The newest first: an older row of the same video is a try that was given up on.
    for (auto it = m_leftovers.rbegin(); it != m_leftovers.rend(); ++it) {
        if (it->videoId != videoId || it->partPath.isEmpty() || !QFileInfo(it->partPath).isFile())
            continue;
        DownloadRecord taken = *it;
        m_leftovers.erase(std::next(it).base());
        return taken;
    }
    return std::nullopt;
}

BatchSave::Runner &BatchSave::freeRunner()
{
    for (const auto &runner : m_runners) {
        if (!runner->busy)
            return *runner;
    }
    auto runner = std::make_unique<Runner>();
    Runner *made = runner.get();
    made->components = m_makeComponents();
    made->flow = std::make_unique<DownloadFlow>(
        m_clock, *made->components.locatorBrowser, *made->components.transfer,
        DownloadFlow::Settings{m_settings.siteBase, m_settings.downloadFolder});
    connect(made->flow.get(), &DownloadFlow::phaseChanged, this,
            [this, made](DownloadFlow::Phase phase) { onPhase(*made, phase); });
    connect(made->flow.get(), &DownloadFlow::progressChanged, this,
            [this, made](qint64 received, qint64 total) { onProgress(*made, received, total); });
    connect(made->flow.get(), &DownloadFlow::validated, this,
            [this, made](const QString &etag, const QString &lastModified) {
                onValidated(*made, etag, lastModified);
            });
    // The flow may report before it has gone idle: the runner is reused only after that.
    connect(made->flow.get(), &DownloadFlow::finished, this,
            [this, made](const DownloadOutcome &outcome) {
                QMetaObject::invokeMethod(
                    this, [this, made, outcome] { onFinished(*made, outcome); },
                    Qt::QueuedConnection);
            });
    m_runners.push_back(std::move(runner));
    return *made;
}

void BatchSave::begin(Runner &runner, const QString &address)
{
    runner.busy = true;
    runner.address = address;
    runner.transferStarted = false;
    const QString videoId = AddressCheck::cutVideoId(address);
    if (auto leftover = takeLeftover(videoId)) {
        // The same row goes on: its part file, validators and times are those of the save that
        // was cut off.
        runner.record = *leftover;
        runner.record.address = address;
        runner.record.state = DownloadState::Locating;
        record(runner, Field::Address | Field::State);
        Q_EMIT flowStarted(runner.flow.get());
        runner.flow->resume(address, runner.record.partPath,
                            HttpFields::resumeValidator(runner.record.etag.toLatin1(),
                                                        runner.record.lastModified.toLatin1()));
        return;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    runner.record = DownloadRecord();
    runner.record.address = address;
    runner.record.videoId = videoId;
    runner.record.queuedAt = now;
    runner.record.startedAt = now;
    runner.record.state = DownloadState::Locating;
    runner.record.id = m_history ? m_history->add(runner.record) : 0;
    Q_EMIT flowStarted(runner.flow.get());
    runner.flow->start(address);
}

void BatchSave::onPhase(Runner &runner, DownloadFlow::Phase phase)
{
    if (phase != DownloadFlow::Phase::Transferring)
        return;
    DownloadRecord &record = runner.record;
    record.partPath = runner.components.transfer->destination();
    record.filePath = record.partPath.endsWith(kPartSuffix)
                          ? record.partPath.chopped(kPartSuffix.size())
                          : record.partPath;
    record.title = runner.components.locatorBrowser->LocationName();
    record.state = DownloadState::Saving;
    runner.transferStarted = true;
    this->record(runner, Field::PartPath | Field::FilePath | Field::Title | Field::State);
    // Bytes follow from here on, once an interval has passed: a short save writes no row for
    // them before its end.
    runner.progressSaved.start();
}

void BatchSave::onProgress(Runner &runner, qint64 received, qint64 total)
{
    runner.record.bytes = received;
    runner.record.total = total > 0 ? total : -1;
    if (runner.progressSaved.elapsed() < kProgressSaveIntervalMs)
        return;
    runner.progressSaved.start();
    record(runner, Field::Bytes | Field::Total);
}

void BatchSave::onValidated(Runner &runner, const QString &etag, const QString &lastModified)
{
    // A continued answer that names neither leaves the row's own: they still describe the body
    // the part file holds.
    if (etag.isEmpty() && lastModified.isEmpty())
        return;
    runner.record.etag = etag;
    runner.record.lastModified = lastModified;
    record(runner, Field::Etag | Field::LastModified);
}

void BatchSave::onFinished(Runner &runner, const DownloadOutcome &outcome)
{
    DownloadRecord &record = runner.record;
    record.endedAt = QDateTime::currentDateTimeUtc();
    // The flow keeps no part file of an ended save. A continued one that ended before its
    // transfer began has not touched the part file it was given.
    const QString untouchedPart = !runner.transferStarted && QFileInfo(record.partPath).isFile()
                                      ? record.partPath
                                      : QString();
    record.partPath.clear();
    DownloadRecord::Fields fields = Field::EndedAt | Field::PartPath | Field::State;
    switch (outcome.kind) {
    case Kind::Saved:
        record.state = DownloadState::Saved;
        record.filePath = outcome.savedPath;
        record.bytes = record.total = QFileInfo(outcome.savedPath).size();
        fields |= Field::FilePath | Field::Bytes | Field::Total;
        break;
    case Kind::Stopped:
        record.state = DownloadState::Stopped;
        fields |= Field::Bytes;
        // A stopped save leaves no part file, not even one it had yet to continue.
        if (PartFile part; !untouchedPart.isEmpty() && part.adopt(untouchedPart))
            part.remove();
        break;
    default:
        record.reason = outcome.reason.isEmpty() ? outcome.message : outcome.reason;
        fields |= Field::Reason | Field::Bytes;
        if (untouchedPart.isEmpty()) {
            record.state = DownloadState::Failed;
            break;
        }
        // Kept for a later save to continue, as the save that was cut off left it.
        record.state = DownloadState::Paused;
        record.partPath = untouchedPart;
        record.endedAt = QDateTime();
        break;
    }
    this->record(runner, fields);
    runner.busy = false;
    Q_EMIT ended(runner.address, outcome);
    startMore();
}

void BatchSave::record(Runner &runner, DownloadRecord::Fields fields)
{
    if (m_history && runner.record.id > 0)
        m_history->update(runner.record, fields);
}

} // namespace clipnab
