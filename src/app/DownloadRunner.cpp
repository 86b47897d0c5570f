#include "app/DownloadRunner.h"

#include "components/BrowserComponent.h"
#include "components/FailureReason.h"
#include "components/HttpFields.h"
#include "components/TransferComponent.h"
#include "downloads/DownloadQueue.h"
#include "retrieval/PartFile.h"

#include <QFileInfo>
#include <QScopedValueRollback>

#include <algorithm>

namespace clipnab {

namespace {

using Kind = DownloadOutcome::Kind;

const QString kPartSuffix = QStringLiteral(".part");

// A write that failed for want of space: the queue holds back what waits until space is freed.
bool outOfSpace(const DownloadOutcome &outcome)
{
    return outcome.kind == Kind::SaveFailed && FailureReason::meansDiskFull(outcome.reason);
}

} // namespace

// One flow on parts of its own. The flow refers to the parts, so it goes first.
struct DownloadRunner::Runner
{
    DownloadParts parts;
    std::unique_ptr<DownloadFlow> flow;
    qint64 item = 0;      // the item it runs; 0 when free
    bool pending = false; // the item is taken, its flow starts from the event loop
    // The item's transfer began: the flow owns its part file from then on. Before, a part file
    // of an earlier try is still as that try left it.
    bool transferring = false;
};

DownloadRunner::DownloadRunner(Clock &clock, DownloadQueue &queue, DownloadParts first,
                               MakeParts makeParts, DownloadFlow::Settings settings,
                               QObject *parent)
    : QObject(parent), m_clock(clock), m_queue(queue), m_makeParts(std::move(makeParts)),
      m_settings(std::move(settings))
{
    auto runner = std::make_unique<Runner>();
    runner->parts = std::move(first);
    makeFlow(*runner);
    m_runners.push_back(std::move(runner));
    connect(&m_queue, &DownloadQueue::startRequested, this, &DownloadRunner::onStartRequested);
    connect(&m_queue, &DownloadQueue::stopRequested, this, &DownloadRunner::onStopRequested);
}

DownloadRunner::~DownloadRunner()
{
    // A flow ends its transfer and removes its part file as it goes; the end of the program
    // goes through pauseAll() first when the parts are to be kept.
    for (const auto &runner : m_runners)
        runner->flow.reset();
}

int DownloadRunner::capacity() const
{
    return m_makeParts ? DownloadQueue::kMaxConcurrency : 1;
}

DownloadFlow &DownloadRunner::firstFlow() const
{
    return *m_runners.front()->flow;
}

const DownloadParts &DownloadRunner::firstParts() const
{
    return m_runners.front()->parts;
}

void DownloadRunner::setDownloadFolder(const QString &folder)
{
    m_settings.downloadFolder = folder;
    for (const auto &runner : m_runners)
        runner->flow->setDownloadFolder(folder);
}

DownloadFlow *DownloadRunner::flowOf(qint64 id) const
{
    Runner *runner = runnerOf(id);
    return runner && !runner->pending ? runner->flow.get() : nullptr;
}

qint64 DownloadRunner::itemOf(const DownloadFlow *flow) const
{
    for (const auto &runner : m_runners) {
        if (runner->flow.get() == flow)
            return runner->item;
    }
    return 0;
}

QString DownloadRunner::titleOf(qint64 id) const
{
    Runner *runner = runnerOf(id);
    return runner ? runner->parts.locatorBrowser->LocationName() : QString();
}

DownloadRunner::Runner *DownloadRunner::runnerOf(qint64 id) const
{
    if (id == 0)
        return nullptr;
    const auto it = std::find_if(m_runners.begin(), m_runners.end(),
                                 [id](const auto &runner) { return runner->item == id; });
    return it == m_runners.end() ? nullptr : it->get();
}

DownloadRunner::Runner &DownloadRunner::freeRunner()
{
    for (const auto &runner : m_runners) {
        if (runner->item == 0)
            return *runner;
    }
    auto runner = std::make_unique<Runner>();
    runner->parts = m_makeParts();
    Runner &made = *runner;
    m_runners.push_back(std::move(runner));
    makeFlow(made);
    return made;
}

void DownloadRunner::makeFlow(Runner &runner)
{
    runner.flow = std::make_unique<DownloadFlow>(m_clock, *runner.parts.locatorBrowser,
                                                 *runner.parts.transfer, m_settings);
    DownloadFlow *flow = runner.flow.get();
    Runner *made = &runner;
    connect(flow, &DownloadFlow::phaseChanged, this,
            [this, made](DownloadFlow::Phase phase) { onPhase(*made, phase); });
    connect(flow, &DownloadFlow::progressChanged, this,
            [this, made](qint64 received, qint64 total) {
                m_queue.reportProgress(made->item, received, total > 0 ? total : -1);
            });
    connect(flow, &DownloadFlow::validated, this,
            [this, made](const QString &etag, const QString &lastModified) {
                m_queue.reportValidators(made->item, etag, lastModified);
            });
    connect(flow, &DownloadFlow::finished, this,
            [this, made](const DownloadOutcome &outcome) { onFinished(*made, outcome); });
}

void DownloadRunner::onStartRequested(qint64 id)
{
    if (m_pausing)
        return;
    Runner &runner = freeRunner();
    runner.item = id;
    if (!m_reporting) {
        begin(runner);
        return;
    }
    // The flow that freed a runner may still be reporting: new work starts from the event loop.
    runner.pending = true;
    QMetaObject::invokeMethod(
        this,
        [this, taken = &runner, id] {
            if (taken->item == id && taken->pending)
                begin(*taken);
        },
        Qt::QueuedConnection);
}

void DownloadRunner::begin(Runner &runner)
{
    runner.pending = false;
    runner.transferring = false;
    const qint64 id = runner.item;
    const auto record = m_queue.record(id);
    if (!record) {
        runner.item = 0;
        return;
    }
    Q_EMIT started(id, runner.flow.get());
    // A part file left by an earlier try is continued from the bytes it holds.
    if (!record->partPath.isEmpty() && QFileInfo(record->partPath).isFile())
        runner.flow->resume(
            record->address, record->partPath,
            HttpFields::resumeValidator(record->etag.toLatin1(), record->lastModified.toLatin1()));
    else
        runner.flow->start(record->address);
}

void DownloadRunner::onStopRequested(qint64 id)
{
    if (Runner *runner = runnerOf(id)) {
        if (!runner->pending) {
            const bool transferring = runner->transferring;
            runner->flow->stop();
            if (transferring)
                return;
        } else {
            runner->item = 0;
            runner->pending = false;
            Q_EMIT ended(id, runner->flow.get(), {.kind = Kind::Stopped});
        }
    }
    // A part file the flow has not taken over: only while it is still the plain file it was.
    const auto record = m_queue.record(id);
    PartFile part;
    if (record && !record->partPath.isEmpty() && part.adopt(record->partPath))
        part.remove();
}

void DownloadRunner::pauseAll()
{
    m_pausing = true;
    for (const auto &runner : m_runners) {
        if (runner->item == 0)
            continue;
        if (runner->pending) {
            runner->item = 0;
            runner->pending = false;
        } else {
            runner->flow->pause();
        }
    }
    m_queue.pauseAll();
}

void DownloadRunner::onPhase(Runner &runner, DownloadFlow::Phase phase)
{
    if (phase != DownloadFlow::Phase::Transferring)
        return;
    const QString partPath = runner.flow->partPath();
    runner.transferring = true;
    m_queue.reportTitle(runner.item, runner.parts.locatorBrowser->LocationName());
    m_queue.reportSaving(
        runner.item,
        partPath.endsWith(kPartSuffix) ? partPath.chopped(kPartSuffix.size()) : partPath, partPath);
}

void DownloadRunner::onFinished(Runner &runner, const DownloadOutcome &outcome)
{
    const qint64 id = runner.item;
    if (id == 0)
        return;
    // Free from here on; a new item starts on it from the event loop.
    runner.item = 0;
    const QScopedValueRollback reporting(m_reporting, true);
    switch (outcome.kind) {
    case Kind::Saved:
        m_queue.reportSaved(id, outcome.savedPath, QFileInfo(outcome.savedPath).size());
        break;
    case Kind::Stopped:
    case Kind::Paused:
        // The queue made these itself.
        break;
    case Kind::Invalid:
    case Kind::NoToken:
    case Kind::DownloadFailed:
    case Kind::SaveFailed: {
        // A part file of an earlier try that the flow never took over stays to be continued.
        const auto record = m_queue.record(id);
        const bool partKept =
            !runner.transferring && record && QFileInfo(record->partPath).isFile();
        m_queue.reportFailed(id, outcome.reason.isEmpty() ? outcome.message : outcome.reason,
                             outOfSpace(outcome), partKept);
        break;
    }
    }
    Q_EMIT ended(id, runner.flow.get(), outcome);
}

} // namespace clipnab
