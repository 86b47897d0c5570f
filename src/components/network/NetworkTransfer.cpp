#include "components/network/NetworkTransfer.h"

#include <QUrl>

namespace clipnab {

NetworkTransfer::NetworkTransfer(QObject *parent)
    : TransferComponent(parent), m_worker(new TransferWorker)
{
    m_thread.setObjectName(QStringLiteral("transfer"));
    m_worker->moveToThread(&m_thread);
    connect(m_worker, &TransferWorker::progressed, this, &NetworkTransfer::onWorkerProgress);
    connect(m_worker, &TransferWorker::validated, this,
            [this](quint64 generation, const QByteArray &etag, const QByteArray &lastModified) {
                if (isCurrent(generation))
                    Q_EMIT validated(QString::fromLatin1(etag), QString::fromLatin1(lastModified));
            });
    connect(m_worker, &TransferWorker::completed, this, &NetworkTransfer::onWorkerCompleted);
    connect(m_worker, &TransferWorker::failed, this, &NetworkTransfer::onWorkerFailed);
    m_thread.start();
}

NetworkTransfer::~NetworkTransfer()
{
    abort();
    // The worker and its network objects end on their own thread.
    TransferWorker *worker = m_worker;
    QMetaObject::invokeMethod(
        worker, [worker] { delete worker; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

std::optional<QString> NetworkTransfer::start(const TransferRequest &request)
{
    if (m_running)
        return tr("a get is running already");
    // Tolerant parsing: characters an address may not hold as typed (a blank, say) are escaped.
    const QUrl url(request.url.trimmed(), QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return tr("the address \"%1\" is not an http address").arg(request.url);
    if (request.partPath.isEmpty())
        return tr("no part file to write into");
    if (request.resumeFrom < 0)
        return tr("a resume offset below zero");

    m_headers.clear();
    m_partPath = request.partPath;
    m_running = true;
    TransferWorker::Request work;
    work.generation = ++m_generation;
    work.url = url;
    work.partPath = request.partPath;
    work.resumeFrom = request.resumeFrom;
    work.validator = request.validator;
    work.idleTimeoutMs = m_idleTimeoutMs;
    work.retryDelayMs = m_retryDelayMs;
    TransferWorker *worker = m_worker;
    QMetaObject::invokeMethod(worker, [worker, work] { worker->start(work); });
    return std::nullopt;
}

void NetworkTransfer::abort()
{
    if (!m_running)
        return;
    m_running = false;
    ++m_generation;
    // Waits for the worker, so that the file is closed on return. The worker never waits for
    // this thread, and at worst finishes the write or the sync it is in.
    TransferWorker *worker = m_worker;
    QMetaObject::invokeMethod(
        worker, [worker] { worker->stop(); }, Qt::BlockingQueuedConnection);
}

void NetworkTransfer::onWorkerProgress(quint64 generation, qint64 received, qint64 total)
{
    if (isCurrent(generation))
        Q_EMIT progress(received, total);
}

void NetworkTransfer::onWorkerCompleted(quint64 generation, const TransferWorker::Headers &headers)
{
    if (!isCurrent(generation))
        return;
    m_running = false;
    m_headers = headers;
    Q_EMIT finished();
}

void NetworkTransfer::onWorkerFailed(quint64 generation, TransferFailure kind,
                                     const QString &reason)
{
    if (!isCurrent(generation))
        return;
    m_running = false;
    Q_EMIT failed(kind, reason);
}

QString NetworkTransfer::GetHeader(const QString &name) const
{
    const QByteArray key = name.trimmed().toLatin1();
    if (key.isEmpty())
        return {};
    QByteArray value;
    bool found = false;
    for (const auto &[headerName, headerValue] : m_headers) {
        if (headerName.compare(key, Qt::CaseInsensitive) != 0)
            continue;
        if (found)
            value += ", ";
        value += headerValue;
        found = true;
    }
    return QString::fromLatin1(value);
}

} // namespace clipnab
