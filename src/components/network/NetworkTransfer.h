#pragma once

#include "components/network/TransferWorker.h"
#include "components/TransferComponent.h"

#include <QThread>

namespace clipnab {

// TransferComponent over QNetworkAccessManager. The network and file work runs on a thread of
// its own (TransferWorker); this side, on the caller's thread, keeps the headers and relays the
// worker's reports. finished() is raised only for a 2xx answer whose body arrived in full and is
// on disk; every other outcome ends in failed().
class NetworkTransfer : public TransferComponent
{
    Q_OBJECT

public:
    // A request that receives nothing for this long fails.
    static constexpr int kDefaultIdleTimeoutMs = 60 * 1000;
    // Wait before asking again for the rest of a dropped body; doubled at each further try.
    static constexpr int kDefaultRetryDelayMs = 250;

    explicit NetworkTransfer(QObject *parent = nullptr);
    ~NetworkTransfer() override;

    std::optional<QString> start(const TransferRequest &request) override;
    void abort() override;
    QString destination() const override { return m_partPath; }
    QString GetHeader(const QString &name) const override;

    bool isRunning() const { return m_running; }
    void setIdleTimeout(int milliseconds) { m_idleTimeoutMs = milliseconds; }
    void setRetryDelay(int milliseconds) { m_retryDelayMs = milliseconds; }

private:
    bool isCurrent(quint64 generation) const { return m_running && generation == m_generation; }
    void onWorkerProgress(quint64 generation, qint64 received, qint64 total);
    void onWorkerCompleted(quint64 generation, const TransferWorker::Headers &headers);
    void onWorkerFailed(quint64 generation, TransferFailure kind, const QString &reason);

    QThread m_thread;
    TransferWorker *m_worker = nullptr;
    TransferWorker::Headers m_headers;
    QString m_partPath;
    int m_idleTimeoutMs = kDefaultIdleTimeoutMs;
    int m_retryDelayMs = kDefaultRetryDelayMs;
    // The number of the current get. The worker tags each report with the number of the get it
    // belongs to, and its reports reach this thread through the event queue: when abort()
    // returns, reports of the aborted get may still wait there, and a new get may already run.
    // Each start and each abort moves the number on, so those late reports match no get.
    quint64 m_generation = 0;
    bool m_running = false;
};

} // namespace clipnab
