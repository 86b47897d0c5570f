#pragma once

#include "components/TransferFailure.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QUrl>

class QNetworkAccessManager;
class QTimer;

namespace clipnab {

// The network and disk side of NetworkTransfer, on a thread of its own so that neither a slow
// write nor the final sync ever holds up the window. It writes the body once, as it arrives,
// into the part file it is given, resumes a body whose connection drops with a Range request,
// and syncs the file to disk before it reports completion. It opens that file and closes it,
// nothing more: making and deleting it is the caller's.
//
// It follows redirects itself, one reply per address. Qt 6.4's own following can start the
// redirected request a second time: the finished hop's thread delegate stays connected to the
// reply's start signal until its queued deletion runs, and when it is still there it sends the
// old request again on the kept-alive connection. Its answer then adds that hop's headers to the
// final ones ("Content-Length: 61, 27827"), and a complete body looks cut.
class TransferWorker : public QObject
{
    Q_OBJECT

public:
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    struct Request
    {
        quint64 generation = 0;
        QUrl url;
        QString partPath;
        qint64 resumeFrom = 0;
        QByteArray validator; // sent as If-Range with a resume; empty: none known
        int idleTimeoutMs = 0;
        int retryDelayMs = 0; // before the first retry; doubled for each further one
    };

    // Bytes the network layer may hold before it stops reading from the socket. Small enough
    // that four downloads at once stay within a few MiB while the disk holds their writes back.
    static constexpr qint64 kReadBufferSize = 512 * 1024;
    // Largest piece moved from the network layer to the file in one write.
    static constexpr qint64 kWriteStep = 256 * 1024;
    static constexpr int kMaximumRedirects = 20;
    static constexpr int kMaximumRetries = 3;
    // Progress is reported at most this often.
    static constexpr qint64 kProgressIntervalMs = 40;

    explicit TransferWorker(QObject *parent = nullptr);
    ~TransferWorker() override;

    // These run on the worker's thread.
    void start(const Request &request);
    // Ends the current request, if any, and closes its file.
    void stop();

Q_SIGNALS:
    // Each report carries the generation of the request it belongs to.
    void progressed(quint64 generation, qint64 received, qint64 total);
    // The answer that describes the body named these validators (empty when absent).
    void validated(quint64 generation, const QByteArray &etag, const QByteArray &lastModified);
    // The whole body is in the file, synced and closed; headers are those of the answer that
    // announced the body.
    void completed(quint64 generation, const clipnab::TransferWorker::Headers &headers);
    // The file is closed.
    void failed(quint64 generation, clipnab::TransferFailure kind, const QString &reason);

private:
    bool openFile();
    void sendRequest();
    void get(const QUrl &url);
    void onMetaData();
    void onReadyRead();
    void onFinished();
    bool followRedirect();
    bool acceptAnswer(int status, qint64 announced);
    void keepAnswerHeaders(qint64 total);
    bool keep(const char *data, qint64 size);
    bool restartFromZero();
    void reportProgress(bool force);
    void complete();
    QPair<TransferFailure, QString> problemOf(QNetworkReply::NetworkError error) const;
    void fail(TransferFailure kind, const QString &reason);
    void failToWrite(const QString &what, const QString &systemText);
    void dropReply();
    void closeFile();

    QNetworkAccessManager *m_manager = nullptr;
    QTimer *m_retryTimer = nullptr;
    // Reports the progress held back by the interval, so that the last of it always shows.
    QTimer *m_progressTimer = nullptr;
    QPointer<QNetworkReply> m_reply;
    Request m_request;
    // Where the current reply's request went: the address asked for, or a redirect's target.
    QUrl m_url;
    int m_redirects = 0; // followed since the address asked for
    QFile m_file;
    QByteArray m_buffer;
    Headers m_headers;
    // Sent as If-Range with a resume: the request's own, else what the first answer gave (a
    // strong ETag, else Last-Modified).
    QByteArray m_validator;
    qint64 m_received = 0;
    qint64 m_total = -1;
    qint64 m_syncedUpTo = 0;
    int m_retries = 0;
    int m_status = 0;
    bool m_active = false;
    bool m_decided = false;  // this attempt's answer has been judged
    bool m_accepted = false; // this attempt's body is kept
    bool m_mismatch = false; // a 206 for other bytes than those asked for
    QElapsedTimer m_sinceProgress;
};

} // namespace clipnab
