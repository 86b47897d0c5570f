#include "components/network/TransferWorker.h"

#include "components/FailureReason.h"
#include "components/HttpFields.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTimer>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace clipnab {

namespace {

// Written data is handed to the disk in steps of this size while the body arrives, so that the
// sync at the end has little left to wait for.
constexpr qint64 kWritebackStep = 16 * 1024 * 1024;

// The answers that send a GET elsewhere.
bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The connection ended before the body did: worth asking again for the rest.
bool isDrop(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::NoError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::UnknownNetworkError:
        return true;
    default:
        return false;
    }
}

// Every value of the named field, in the order the answer gave them.
QList<QByteArray> fieldValues(const QNetworkReply &reply, const QByteArray &name)
{
    QList<QByteArray> values;
    for (const auto &[field, value] : reply.rawHeaderPairs()) {
        if (field.compare(name, Qt::CaseInsensitive) == 0)
            values.append(value);
    }
    return values;
}

} // namespace

TransferWorker::TransferWorker(QObject *parent) : QObject(parent) {}

TransferWorker::~TransferWorker()
{
    dropReply();
    closeFile();
}

void TransferWorker::start(const Request &request)
{
    if (!m_manager) {
        m_manager = new QNetworkAccessManager(this);
        m_manager->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
        m_retryTimer = new QTimer(this);
        m_retryTimer->setSingleShot(true);
        connect(m_retryTimer, &QTimer::timeout, this, &TransferWorker::sendRequest);
        m_progressTimer = new QTimer(this);
        m_progressTimer->setSingleShot(true);
        connect(m_progressTimer, &QTimer::timeout, this, [this] {
            if (m_active)
                reportProgress(true);
        });
    }
    dropReply();
    closeFile();
    m_retryTimer->stop();
    m_request = request;
    m_headers.clear();
    m_validator = request.validator;
    m_received = request.resumeFrom;
    m_total = -1;
    m_syncedUpTo = request.resumeFrom;
    m_retries = 0;
    m_active = true;
    if (openFile())
        sendRequest();
}

bool TransferWorker::openFile()
{
    // Never made here, and never written through a symbolic link put in its place.
    const int fd =
        ::open(QFile::encodeName(m_request.partPath).constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        failToWrite(tr("can not open %1").arg(m_request.partPath),
                    error == ELOOP ? tr("it is a symbolic link") : qt_error_string(error));
        return false;
    }
    if (!m_file.open(fd, QIODevice::ReadWrite | QIODevice::Unbuffered,
                     QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        failToWrite(tr("can not open %1").arg(m_request.partPath), m_file.errorString());
        return false;
    }
    const qint64 kept = m_request.resumeFrom;
    const qint64 size = m_file.size();
    if (size < kept) {
        fail(TransferFailure::Write, tr("%1 holds %2 bytes, fewer than the %3 to continue from")
                                         .arg(m_request.partPath)
                                         .arg(size)
                                         .arg(kept));
        return false;
    }
    // Whatever lies beyond the bytes kept is written anew. A device (a sequential file) is only
    // ever written from its start.
    if ((size != kept && !m_file.resize(kept)) || (kept > 0 && !m_file.seek(kept))) {
        failToWrite(tr("can not continue %1").arg(m_request.partPath), m_file.errorString());
        return false;
    }
    return true;
}

void TransferWorker::stop()
{
    m_active = false;
    if (m_retryTimer) {
        m_retryTimer->stop();
        m_progressTimer->stop();
    }
    dropReply();
    closeFile();
}

void TransferWorker::sendRequest()
{
    if (!m_active)
        return;
    // Each try starts at the address asked for: where it sends us may have changed.
    m_redirects = 0;
    get(m_request.url);
}

void TransferWorker::get(const QUrl &url)
{
    m_url = url;
    QNetworkRequest request(url);
    request.setTransferTimeout(m_request.idleTimeoutMs);
    // The body is saved as stored: checked against Content-Length and resumable by offset.
    request.setRawHeader("Accept-Encoding", "identity");
    if (m_received > 0) {
        request.setRawHeader("Range", "bytes=" + QByteArray::number(m_received) + '-');
        if (!m_validator.isEmpty())
            request.setRawHeader("If-Range", m_validator);
    }
    m_decided = false;
    m_accepted = false;
    m_mismatch = false;
    m_status = 0;

    QNetworkReply *reply = m_manager->get(request);
    reply->setReadBufferSize(kReadBufferSize);
    m_reply = reply;
    connect(reply, &QNetworkReply::metaDataChanged, this, &TransferWorker::onMetaData);
    connect(reply, &QNetworkReply::readyRead, this, &TransferWorker::onReadyRead);
    connect(reply, &QNetworkReply::finished, this, &TransferWorker::onFinished);
}

void TransferWorker::onMetaData()
{
    if (!m_reply || m_decided)
        return;
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return;
    m_decided = true;
    m_status = status.toInt();
    // A redirect is followed once its answer has finished (onFinished).
    if (isRedirect(m_status))
        return;
    qint64 announced = -1;
    if (m_status >= 200 && m_status <= 299) {
        // Differing lengths leave the body's end unknown (RFC 9112, 6.3): nothing of it is kept.
        const auto length = HttpFields::contentLength(fieldValues(*m_reply, "Content-Length"));
        if (length.conflicting) {
            fail(TransferFailure::Http, tr("the server sent conflicting lengths"));
            return;
        }
        announced = length.length;
    }
    m_accepted = acceptAnswer(m_status, announced);
    if (m_mismatch) {
        m_reply->abort();
        return;
    }
    if (m_accepted)
        reportProgress(true);
}

bool TransferWorker::acceptAnswer(int status, qint64 announced)
{
    if (status < 200 || status > 299)
        return false;
    if (m_received > 0 && status == 206) {
        // Only the bytes asked for, of the same body.
        const auto range = HttpFields::contentRange(m_reply->rawHeader("Content-Range"));
        m_mismatch = !range || range->first != m_received ||
                     (range->total >= 0 && range->last != range->total - 1) ||
                     (m_total >= 0 && range->total != m_total);
        // The first answer of a request that continues a part file describes the body.
        if (!m_mismatch && m_headers.isEmpty())
            keepAnswerHeaders(range->total);
        return !m_mismatch;
    }
    // The whole body from its start: a first answer, or a server that ignored the range.
    if (m_received > 0 && !restartFromZero())
        return false;
    keepAnswerHeaders(announced);
    return true;
}

void TransferWorker::keepAnswerHeaders(qint64 total)
{
    m_total = total;
    m_headers = m_reply->rawHeaderPairs();
    // A 206 announces only the rest; the headers kept announce the whole body, as a 200 does.
    if (m_status == 206) {
        m_headers.removeIf([](const QPair<QByteArray, QByteArray> &header) {
            return header.first.compare("Content-Length", Qt::CaseInsensitive) == 0;
        });
        if (total >= 0)
            m_headers.append({"Content-Length", QByteArray::number(total)});
    }
    // What a later resume sends as If-Range: a strong ETag, else Last-Modified. A 206 with
    // neither keeps the validator its request was sent with.
    const QByteArray etag = m_reply->rawHeader("ETag");
    const QByteArray lastModified = m_reply->rawHeader("Last-Modified");
    const QByteArray validator = HttpFields::resumeValidator(etag, lastModified);
    if (!validator.isEmpty() || m_status != 206)
        m_validator = validator;
    Q_EMIT validated(m_request.generation, etag, lastModified);
}

bool TransferWorker::restartFromZero()
{
    m_received = 0;
    m_syncedUpTo = 0;
    if (!m_file.resize(0) || !m_file.seek(0)) {
        failToWrite(tr("can not start the file over"), m_file.errorString());
        return false;
    }
    return true;
}

void TransferWorker::onReadyRead()
{
    if (!m_reply)
        return;
    if (!m_accepted) {
        // An error page or an answer being refused: nothing of it is kept.
        m_reply->skip(m_reply->bytesAvailable());
        return;
    }
    if (m_buffer.size() != kWriteStep)
        m_buffer.resize(kWriteStep);
    while (m_reply && m_reply->bytesAvailable() > 0) {
        const qint64 got = m_reply->read(m_buffer.data(), kWriteStep);
        if (got <= 0 || !keep(m_buffer.constData(), got))
            break;
    }
    if (m_active)
        reportProgress(false);
}

bool TransferWorker::keep(const char *data, qint64 size)
{
    if (m_file.write(data, size) != size) {
        failToWrite(tr("can not write the video to disk"), m_file.errorString());
        return false;
    }
    m_received += size;
#ifdef SYNC_FILE_RANGE_WRITE
    if (m_received - m_syncedUpTo >= kWritebackStep) {
        ::sync_file_range(m_file.handle(), m_syncedUpTo, m_received - m_syncedUpTo,
                          SYNC_FILE_RANGE_WRITE);
        m_syncedUpTo = m_received;
    }
#endif
    return true;
}

void TransferWorker::reportProgress(bool force)
{
    const qint64 elapsed =
        m_sinceProgress.isValid() ? m_sinceProgress.elapsed() : kProgressIntervalMs;
    if (!force && elapsed < kProgressIntervalMs) {
        if (!m_progressTimer->isActive())
            m_progressTimer->start(static_cast<int>(kProgressIntervalMs - elapsed));
        return;
    }
    m_progressTimer->stop();
    m_sinceProgress.start();
    Q_EMIT progressed(m_request.generation, m_received, m_total);
}

void TransferWorker::onFinished()
{
    if (!m_reply)
        return;
    onMetaData();
    onReadyRead();
    if (!m_reply || followRedirect())
        return;

    const QNetworkReply::NetworkError error = m_reply->error();
    if (m_accepted && error == QNetworkReply::NoError && (m_total < 0 || m_received == m_total)) {
        complete();
        return;
    }
    // A body cut short (or an answer for other bytes) is asked for again from where it ended.
    const bool resumable = (m_accepted && isDrop(error)) || m_mismatch;
    if (resumable && m_retries < kMaximumRetries) {
        dropReply();
        m_retryTimer->start(m_request.retryDelayMs << m_retries);
        ++m_retries;
        return;
    }
    const auto [kind, reason] = problemOf(error);
    fail(kind, reason);
}

bool TransferWorker::followRedirect()
{
    // A redirect without a target ends as any other answer outside 2xx does.
    const QByteArray location = m_reply->rawHeader("Location").trimmed();
    if (!isRedirect(m_status) || location.isEmpty())
        return false;
    const QUrl relative = QUrl::fromEncoded(location);
    const QUrl target = m_url.resolved(relative);
    const QString scheme = target.scheme().toLower();
    if (!relative.isValid() || target.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        fail(TransferFailure::Http, tr("the server redirected to an address that is not http"));
    } else if (m_url.scheme().toLower() == QLatin1String("https") &&
               scheme == QLatin1String("http")) {
        fail(TransferFailure::Http, tr("the server redirected from https to http"));
    } else if (m_redirects >= kMaximumRedirects) {
        fail(TransferFailure::Http, tr("too many redirects"));
    } else {
        // The finished hop lets its connection go back to the pool for the next one.
        dropReply();
        ++m_redirects;
        get(target);
    }
    return true;
}

QPair<TransferFailure, QString> TransferWorker::problemOf(QNetworkReply::NetworkError error) const
{
    if (m_mismatch)
        return {TransferFailure::Http,
                tr("the server answered the resume with other bytes than those asked for")};
    if (m_status != 0 && (m_status < 200 || m_status > 299)) {
        const QString phrase =
            m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        return {TransferFailure::Http,
                phrase.isEmpty() ? tr("the server answered %1").arg(m_status)
                                 : tr("the server answered %1 %2").arg(m_status).arg(phrase)};
    }
    if (m_status == 0 && error == QNetworkReply::NoError)
        return {TransferFailure::Network, tr("the server sent no HTTP answer")};
    if (m_accepted && isDrop(error) && m_total >= 0)
        return {TransferFailure::Length, tr("the server closed the connection after %1 of %2 bytes")
                                             .arg(m_received)
                                             .arg(m_total)};
    // Aborts of our own drop the reply first, so a cancelled reply here is the idle timeout.
    if (error == QNetworkReply::OperationCanceledError)
        return {TransferFailure::Timeout,
                tr("no data arrived for %1 seconds").arg(m_request.idleTimeoutMs / 1000.0)};
    return {TransferFailure::Network, FailureReason::fromSystemText(m_reply->errorString())};
}

void TransferWorker::complete()
{
    dropReply();
    // On disk before it is reported: the caller's rename then never shows a file that a crash
    // could leave with missing data.
    if (::fsync(m_file.handle()) != 0) {
        const int error = errno;
        failToWrite(tr("can not write the video to disk"), qt_error_string(error));
        return;
    }
    m_file.close();
    m_active = false;
    reportProgress(true);
    Q_EMIT completed(m_request.generation, m_headers);
}

void TransferWorker::fail(TransferFailure kind, const QString &reason)
{
    m_active = false;
    m_retryTimer->stop();
    m_progressTimer->stop();
    dropReply();
    closeFile();
    Q_EMIT failed(m_request.generation, kind, reason);
}

void TransferWorker::failToWrite(const QString &what, const QString &systemText)
{
    fail(TransferFailure::Write,
         what + QStringLiteral(": ") + FailureReason::fromSystemText(systemText));
}

void TransferWorker::dropReply()
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

void TransferWorker::closeFile()
{
    if (m_file.isOpen())
        m_file.close();
}

} // namespace clipnab
