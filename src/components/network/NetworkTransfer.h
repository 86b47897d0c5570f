#pragma once

#include "components/network/TransferWorker.h"
#include "components/TransferComponent.h"

#include <QFile>
#include <QThread>

#include <memory>

namespace clipnab {

// TransferComponent over QNetworkAccessManager. The network and file work runs on a thread of
// its own (TransferWorker); this side, on the caller's thread, keeps the states, the headers and
// the completed body. The body goes once, as it arrives, into the destination file (memory
// without one), so memory stays flat whatever its size. State::ResponseCompleted is raised only
// for a 2xx answer whose body arrived in full and is on disk; every other outcome ends in Error.
class NetworkTransfer : public TransferComponent
{
    Q_OBJECT
    Q_PROPERTY(QString URL READ URL WRITE setURL)

public:
    // The completed body is read back in blocks of this size and handed out chunk by chunk.
    static constexpr qint64 kReadAheadSize = 1024 * 1024;
    // A request that receives nothing for this long fails.
    static constexpr int kDefaultIdleTimeoutMs = 60 * 1000;
    // Wait before asking again for the rest of a dropped body; doubled at each further try.
    static constexpr int kDefaultRetryDelayMs = 250;

    explicit NetworkTransfer(QObject *parent = nullptr);
    ~NetworkTransfer() override;

    void setURL(const QString &url) override;
    QString URL() const override;
    void setDestination(const QString &partPath) override;
    QString destination() const override;
    bool Execute(const QString &operation) override;
    QString GetHeader(const QString &name) const override;
    QByteArray GetChunk(int size) override;
    bool writeFailed() const override { return m_writeFailed; }

    State state() const { return m_state; }
    bool isRunning() const { return m_running; }
    // Why the last request failed or was refused; empty after a success.
    QString errorString() const { return m_errorString; }
    // Body bytes received so far by the current or last request.
    qint64 bytesReceived() const { return m_bytesReceived; }
    void setIdleTimeout(int milliseconds) { m_idleTimeoutMs = milliseconds; }
    void setRetryDelay(int milliseconds) { m_retryDelayMs = milliseconds; }

private:
    bool startGet();
    void quit();
    void setState(State state);
    void fail(const QString &message);
    void onWorkerState(quint64 generation, int state);
    void onWorkerProgress(quint64 generation, qint64 received, qint64 total);
    void onWorkerCompleted(quint64 generation, const TransferWorker::Headers &headers,
                           const QByteArray &memoryBody, qint64 size);
    void onWorkerFailed(quint64 generation, const QString &message, bool writeFailed);
    void releaseBody();

    QThread m_thread;
    TransferWorker *m_worker = nullptr;
    TransferWorker::Headers m_headers;
    QString m_url;
    QString m_destination;
    // The request's own destination, kept from its start.
    QString m_partPath;
    QString m_errorString;
    // The completed body: in memory, or read back from the part file for GetChunk.
    QByteArray m_memoryBody;
    std::unique_ptr<QFile> m_readBack;
    QByteArray m_buffer;
    qsizetype m_readPos = 0;
    qint64 m_bodyLeft = 0;
    qint64 m_bytesReceived = 0;
    State m_state = State::None;
    int m_idleTimeoutMs = kDefaultIdleTimeoutMs;
    int m_retryDelayMs = kDefaultRetryDelayMs;
    quint64 m_generation = 0;
    bool m_running = false;
    bool m_writeFailed = false;
};

} // namespace clipnab
