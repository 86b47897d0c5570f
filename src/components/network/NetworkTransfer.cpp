#include "components/network/NetworkTransfer.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTemporaryFile>
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
    : TransferComponent(parent), m_manager(new QNetworkAccessManager(this))
{
    m_manager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

NetworkTransfer::~NetworkTransfer()
{
    dropReply();
}

void NetworkTransfer::setURL(const QString &url)
{
    m_url = url;
}

QString NetworkTransfer::URL() const
{
    return m_url;
}

bool NetworkTransfer::isRunning() const
{
    return !m_reply.isNull();
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
    if (isRunning())
        return false;

    // Tolerant parsing: characters an address may not hold as typed (a blank, say) are escaped.
    const QUrl url(m_url.trimmed(), QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        m_errorString = tr("The address \"%1\" is not a valid http address.").arg(m_url);
        return false;
    }

    auto spool = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                  QLatin1String("/clipnab-transfer-XXXXXX"));
    if (!spool->open()) {
        m_errorString =
            tr("Could not create a temporary file for the download: %1").arg(spool->errorString());
        return false;
    }

    dropSpool();
    m_spool = std::move(spool);
    m_headers.clear();
    m_errorString.clear();
    m_bytesReceived = 0;
    m_receiving = false;
    m_state = State::None;
    const quint64 generation = ++m_generation;

    QNetworkRequest request(url);
    request.setMaximumRedirectsAllowed(kMaximumRedirects);
    request.setTransferTimeout(m_idleTimeoutMs);
    // Ask for the body as stored: its bytes are saved unchanged and checked against Content-Length.
    request.setRawHeader("Accept-Encoding", "identity");

    QNetworkReply *reply = m_manager->get(request);
    reply->setReadBufferSize(kReadBufferSize);
    m_reply = reply;

    connect(reply, &QNetworkReply::socketStartedConnecting, this,
            [this] { setState(State::Connecting); });
    connect(reply, &QNetworkReply::requestSent, this, [this] {
        setState(State::Requesting);
        setState(State::RequestSent);
    });
    connect(reply, &QNetworkReply::metaDataChanged, this, [this] {
        if (m_reply)
            m_headers = m_reply->rawHeaderPairs();
    });
    connect(reply, &QNetworkReply::readyRead, this, &NetworkTransfer::spoolAvailable);
    connect(reply, &QNetworkReply::finished, this, &NetworkTransfer::onFinished);

    // Execute returns before any state is reported; the first one follows from the event loop.
    QTimer::singleShot(0, this, [this, generation] {
        if (generation == m_generation && isRunning() && m_state == State::None)
            setState(State::ResolvingHost);
    });
    return true;
}

void NetworkTransfer::quit()
{
    ++m_generation;
    dropReply();
    dropSpool();
    m_headers.clear();
    m_receiving = false;
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
    dropReply();
    dropSpool();
    setState(State::Error);
}

void NetworkTransfer::spoolAvailable()
{
    if (!m_reply || !m_spool)
        return;
    if (!m_receiving) {
        m_receiving = true;
        setState(State::ReceivingResponse);
        if (!m_reply)
            return;
    }
    if (m_buffer.size() != kSpoolStep)
        m_buffer.resize(kSpoolStep);
    while (m_reply && m_reply->bytesAvailable() > 0) {
        const qint64 got = m_reply->read(m_buffer.data(), kSpoolStep);
        if (got <= 0)
            break;
        if (m_spool->write(m_buffer.constData(), got) != got) {
            fail(tr("Could not write the download to a temporary file: %1")
                     .arg(m_spool->errorString()));
            return;
        }
        m_bytesReceived += got;
    }
}

QString NetworkTransfer::checkFinishedReply() const
{
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid()) {
        const int code = status.toInt();
        if (code < 200 || code > 299) {
            const QString reason =
                m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
            return reason.isEmpty() ? tr("The server answered %1.").arg(code)
                                    : tr("The server answered %1 %2.").arg(code).arg(reason);
        }
    }
    if (!status.isValid() && m_reply->error() == QNetworkReply::NoError)
        return tr("The server sent no HTTP answer.");

    bool announced = false;
    const qint64 length =
        GetHeader(QStringLiteral("Content-Length")).trimmed().toLongLong(&announced);
    const QNetworkReply::NetworkError error = m_reply->error();
    const bool closedEarly =
        error == QNetworkReply::NoError || error == QNetworkReply::RemoteHostClosedError;
    if (closedEarly && announced && length != m_bytesReceived)
        return tr("The connection ended after %1 of %2 bytes.").arg(m_bytesReceived).arg(length);
    // Aborts of our own disconnect first, so a cancelled reply here is the idle timeout.
    if (error == QNetworkReply::OperationCanceledError)
        return tr("No data arrived for %1 seconds.").arg(m_idleTimeoutMs / 1000.0);
    if (error != QNetworkReply::NoError)
        return m_reply->errorString();
    return {};
}

void NetworkTransfer::onFinished()
{
    if (!m_reply)
        return;
    m_headers = m_reply->rawHeaderPairs();
    spoolAvailable();
    if (!m_reply)
        return;

    const QString problem = checkFinishedReply();
    if (!problem.isEmpty()) {
        fail(problem);
        return;
    }
    if (!m_spool->flush() || !m_spool->seek(0)) {
        fail(tr("Could not read the download back: %1").arg(m_spool->errorString()));
        return;
    }
    m_spoolLeft = m_spool->size();
    m_buffer.clear();
    m_readPos = 0;
    dropReply();
    setState(State::ResponseReceived);
    setState(State::ResponseCompleted);
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
    if (size <= 0 || m_state != State::ResponseCompleted || !m_spool)
        return {};
    if (m_readPos >= m_buffer.size() && m_spoolLeft > 0) {
        m_buffer.resize(qMin(kReadAheadSize, m_spoolLeft));
        const qint64 got = m_spool->read(m_buffer.data(), m_buffer.size());
        if (got <= 0) {
            fail(tr("Could not read the download back: %1").arg(m_spool->errorString()));
            return {};
        }
        m_buffer.truncate(got);
        m_readPos = 0;
    }
    const qsizetype take = qMin<qsizetype>(size, m_buffer.size() - m_readPos);
    if (take <= 0) {
        dropSpool();
        return {};
    }
    QByteArray chunk = m_buffer.mid(m_readPos, take);
    m_readPos += take;
    m_spoolLeft -= take;
    return chunk;
}

void NetworkTransfer::dropReply()
{
    QNetworkReply *reply = m_reply.data();
    m_reply = nullptr;
    if (!reply)
        return;
    reply->disconnect(this);
    if (reply->isRunning())
        reply->abort();
    reply->deleteLater();
}

void NetworkTransfer::dropSpool()
{
    m_spoolLeft = 0;
    m_buffer.clear();
    m_readPos = 0;
    m_spool.reset();
}

} // namespace clipnab
