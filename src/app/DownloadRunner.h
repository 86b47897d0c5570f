#pragma once

#include "app/WindowComponents.h"
#include "retrieval/DownloadFlow.h"
#include "retrieval/DownloadOutcome.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace clipnab {

class Clock;
class DownloadQueue;

// Runs what the download queue starts: each item gets a download flow on parts of its own (a
// hidden browser and a transfer), taken from a pool that grows up to the queue's limit and is
// used again for later items. What the flows report goes back into the queue. An item that left
// a part file behind continues it; the queue's stop deletes it, the end of the program keeps it.
class DownloadRunner : public QObject
{
    Q_OBJECT
public:
    using MakeParts = std::function<DownloadParts()>;

    // `first` are the parts the first flow runs on; `makeParts` (may be unset) makes more.
    DownloadRunner(Clock &clock, DownloadQueue &queue, DownloadParts first, MakeParts makeParts,
                   DownloadFlow::Settings settings, QObject *parent = nullptr);
    ~DownloadRunner() override;

    // How many downloads can run at once: 1 without a way to make more parts.
    int capacity() const;
    // The flow on the first parts, which runs the first item.
    DownloadFlow &firstFlow() const;
    // The flow running the item; null when none does.
    DownloadFlow *flowOf(qint64 id) const;
    // The item a flow runs; 0 when it is idle.
    qint64 itemOf(const DownloadFlow *flow) const;
    // The page title the item's locator saw; empty when none runs it.
    QString titleOf(qint64 id) const;
    // Where downloads started from now on go.
    void setDownloadFolder(const QString &folder);
    const DownloadParts &firstParts() const;
    // The program ends: every running flow stops and keeps its part file, and the queue keeps
    // its items as paused.
    void pauseAll();

Q_SIGNALS:
    // A flow began on the item.
    void started(qint64 id, clipnab::DownloadFlow *flow);
    // The item's flow ended with this outcome and is free again.
    void ended(qint64 id, clipnab::DownloadFlow *flow, const clipnab::DownloadOutcome &outcome);

private:
    struct Runner;

    // A runner without an item; a new one when every runner is busy.
    Runner &freeRunner();
    void makeFlow(Runner &runner);
    Runner *runnerOf(qint64 id) const;
    void onStartRequested(qint64 id);
    // Starts the flow of the runner's item.
    void begin(Runner &runner);
    void onStopRequested(qint64 id);
    void onPhase(Runner &runner, DownloadFlow::Phase phase);
    void onFinished(Runner &runner, const DownloadOutcome &outcome);

    Clock &m_clock;
    DownloadQueue &m_queue;
    MakeParts m_makeParts;
    DownloadFlow::Settings m_settings;
    std::vector<std::unique_ptr<Runner>> m_runners;
    bool m_pausing = false;
    bool m_reporting = false; // a flow's end is being reported
};

} // namespace clipnab
