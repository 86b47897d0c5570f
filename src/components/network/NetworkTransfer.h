#pragma once

#include "components/TransferComponent.h"

#include <QList>
#include <QNetworkReply>
#include <QPointer>

#include <memory>

class QNetworkAccessManager;
class QTemporaryFile;

namespace clipnab {

// TransferComponent over QNetworkAccessManager. The body is spooled to a temporary file while it
// arrives, so memory use stays flat whatever its size; State::ResponseCompleted is raised only for
// a 2xx answer whose body arrived in full, every other outcome ends in Error.
class NetworkTransfer : public TransferComponent
{
    Q_OBJECT
    Q_PROPERTY(QString URL READ URL WRITE setURL)

public:
    // Bytes the network layer may hold before it stops reading from the socket.
    static constexpr qint64 kReadBufferSize = 256 * 1024;
    // Largest piece moved from the network layer to the spool file in one step.
    static constexpr qint64 kSpoolStep = 64 * 1024;
    // The spooled body is read back in blocks of this size and handed out chunk by chunk.
    static constexpr qint64 kReadAheadSize = 1024 * 1024;
    // A request that receives nothing for this long fails.
    static constexpr int kDefaultIdleTimeoutMs = 60 * 1000;
    static constexpr int kMaximumRedirects = 20;

    explicit NetworkTransfer(QObject *parent = nullptr);
    ~NetworkTransfer() override;

    void setURL(const QString &url) override;
    QString URL() const override;
    bool Execute(const QString &operation) override;
    QString GetHeader(const QString &name) const override;
    QByteArray GetChunk(int size) override;

    State state() const { return m_state; }
    bool isRunning() const;
    // Why the last request failed or was refused; empty after a success.
    QString errorString() const { return m_errorString; }
    // Body bytes received so far by the current or last request.
    qint64 bytesReceived() const { return m_bytesReceived; }
    void setIdleTimeout(int milliseconds) { m_idleTimeoutMs = milliseconds; }

private:
    bool startGet();
    void quit();
    void setState(State state);
    void fail(const QString &message);
    void spoolAvailable();
    void onFinished();
    QString checkFinishedReply() const;
    void dropReply();
    void dropSpool();

    QNetworkAccessManager *m_manager = nullptr;
    QPointer<QNetworkReply> m_reply;
    std::unique_ptr<QTemporaryFile> m_spool;
    // Bytes of the spooled body left to hand out; kept here to spare a stat per chunk.
    qint64 m_spoolLeft = 0;
    // While receiving: one step on its way to the spool; once complete: the read-ahead block.
    QByteArray m_buffer;
    qsizetype m_readPos = 0;
    QList<QNetworkReply::RawHeaderPair> m_headers;
    QString m_url;
    QString m_errorString;
    qint64 m_bytesReceived = 0;
    State m_state = State::None;
    int m_idleTimeoutMs = kDefaultIdleTimeoutMs;
    quint64 m_generation = 0;
    bool m_receiving = false;
};

} // namespace clipnab
