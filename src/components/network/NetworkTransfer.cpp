#include "components/network/NetworkTransfer.h"

#include <QFileInfo>
#include <QTimer>
#include <QUrl>

namespace clipnab {

namespace {

QString operationName(const QString &operation)
{
    return operation.trimmed().toUpper();
}

} // namespace

NetworkTransfer::NetworkTransfer(QObject *parent)
    : TransferComponent(parent), m_worker(new TransferWorker)
{
    m_thread.setObjectName(QStringLiteral("transfer"));
    m_worker->moveToThread(&m_thread);
    connect(m_worker, &TransferWorker::stateReached, this, &NetworkTransfer::onWorkerState);
    connect(m_worker, &TransferWorker::progressed, this, &NetworkTransfer::onWorkerProgress);
    connect(m_worker, &TransferWorker::completed, this, &NetworkTransfer::onWorkerCompleted);
    connect(m_worker, &TransferWorker::failed, this, &NetworkTransfer::onWorkerFailed);
    m_thread.start();
}

NetworkTransfer::~NetworkTransfer()
{
    quit();
    // The worker and its network objects end on their own thread.
    TransferWorker *worker = m_worker;
    QMetaObject::invokeMethod(
        worker, [worker] { delete worker; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void NetworkTransfer::setURL(const QString &url)
{
    m_url = url;
}

QString NetworkTransfer::URL() const
{
    return m_url;
}

void NetworkTransfer::setDestination(const QString &partPath)
{
    m_destination = partPath;
}

QString NetworkTransfer::destination() const
{
    return m_destination;
}

bool NetworkTransfer::Execute(const QString &operation)
{
    const QString name = operationName(operation);
    if (name == QLatin1String("GET"))
        return startGet();
    if (name == QLatin1String("QUIT")) {
        quit();
        return true;
    }
    return false;
}

bool NetworkTransfer::startGet()
{
    if (m_running)
        return false;

    // Tolerant parsing: characters an address may not hold as typed (a blank, say) are escaped.
    const QUrl url(m_url.trimmed(), QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        m_errorString = tr("The address \"%1\" is not a valid http address.").arg(m_url);
        return false;
    }

    releaseBody();
    m_headers.clear();
    m_errorString.clear();
    m_bytesReceived = 0;
    m_writeFailed = false;
    m_state = State::None;
    m_partPath = m_destination;
    m_running = true;
    const quint64 generation = ++m_generation;

    TransferWorker::Request request;
    request.generation = generation;
    request.url = url;
    request.partPath = m_partPath;
    request.idleTimeoutMs = m_idleTimeoutMs;
    request.retryDelayMs = m_retryDelayMs;
    TransferWorker *worker = m_worker;
    QMetaObject::invokeMethod(worker, [worker, request] { worker->start(request); });

    // Execute returns before any state is reported; the first one follows from the event loop.
    QTimer::singleShot(0, this, [this, generation] {
        if (generation == m_generation && m_running && m_state == State::None)
            setState(State::ResolvingHost);
    });
    return true;
}

void NetworkTransfer::quit()
{
    const quint64 stopped = m_generation++;
    if (m_running) {
        TransferWorker *worker = m_worker;
        QMetaObject::invokeMethod(worker, [worker, stopped] { worker->stop(stopped); });
        // The unfinished file goes now; the worker only closes its handle to it.
        if (!m_partPath.isEmpty() && QFileInfo(m_partPath).isFile())
            QFile::remove(m_partPath);
    }
    m_running = false;
    releaseBody();
    m_headers.clear();
    m_state = State::None;
}

void NetworkTransfer::setState(State state)
{
    m_state = state;
    Q_EMIT StateChanged(static_cast<int>(state));
}

void NetworkTransfer::fail(const QString &message)
{
    m_errorString = message;
    m_running = false;
    releaseBody();
    setState(State::Error);
}

void NetworkTransfer::onWorkerState(quint64 generation, int state)
{
    if (generation == m_generation && m_running)
        setState(static_cast<State>(state));
}

void NetworkTransfer::onWorkerProgress(quint64 generation, qint64 received, qint64 total)
{
    if (generation != m_generation || !m_running)
        return;
    m_bytesReceived = received;
    Q_EMIT bodyProgress(received, total);
}

void NetworkTransfer::onWorkerCompleted(quint64 generation, const TransferWorker::Headers &headers,
                                        const QByteArray &memoryBody, qint64 size)
{
    if (generation != m_generation || !m_running)
        return;
    m_running = false;
    m_headers = headers;
    m_memoryBody = memoryBody;
    m_bytesReceived = size;
    m_bodyLeft = size;
    setState(State::ResponseReceived);
    setState(State::ResponseCompleted);
}

void NetworkTransfer::onWorkerFailed(quint64 generation, const QString &message, bool writeFailed)
{
    if (generation != m_generation || !m_running)
        return;
    m_writeFailed = writeFailed;
    fail(message);
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

QByteArray NetworkTransfer::GetChunk(int size)
{
    if (size <= 0 || m_state != State::ResponseCompleted || m_bodyLeft <= 0) {
        releaseBody();
        return {};
    }
    if (m_readPos >= m_buffer.size()) {
        if (m_partPath.isEmpty()) {
            m_buffer = std::exchange(m_memoryBody, {});
        } else {
            // Read back from the part file, for a caller that wants the body in pieces.
            if (!m_readBack) {
                m_readBack = std::make_unique<QFile>(m_partPath);
                if (!m_readBack->open(QIODevice::ReadOnly)) {
                    fail(tr("Could not read the download back: %1").arg(m_readBack->errorString()));
                    return {};
                }
            }
            m_buffer.resize(qMin(kReadAheadSize, m_bodyLeft));
            const qint64 got = m_readBack->read(m_buffer.data(), m_buffer.size());
            if (got <= 0) {
                fail(tr("Could not read the download back: %1").arg(m_readBack->errorString()));
                return {};
            }
            m_buffer.truncate(got);
        }
        m_readPos = 0;
    }
    const qsizetype take = qMin<qsizetype>(size, m_buffer.size() - m_readPos);
    QByteArray chunk = m_buffer.mid(m_readPos, take);
    m_readPos += take;
    m_bodyLeft -= take;
    return chunk;
}

void NetworkTransfer::releaseBody()
{
    m_memoryBody.clear();
    m_readBack.reset();
    m_buffer.clear();
    m_readPos = 0;
    m_bodyLeft = 0;
}

} // namespace clipnab
