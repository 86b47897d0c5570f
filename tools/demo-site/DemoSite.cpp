#include "DemoSite.h"

#include "BodyStreamer.h"
#include "GeneratedBody.h"
#include "HttpMessages.h"
#include "SitePages.h"
#include "SiteServer.h"
#include "Thumbnail.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QHostAddress>
#include <QHttpServerRequest>
#include <QLocale>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>

#include <optional>

// Keeps the bundled files in any program that links the static library.
static void initDemoSiteResources()
{
    Q_INIT_RESOURCE(demosite);
}

namespace clipnab {

namespace {

struct BundledVideo
{
    const char *id;
    const char *file; // the name of its video and thumbnail in the resources
    const char *title;
    const char *duration;
};

// The last one has the id of the address Clipnab's address box starts with, so that the first
// Download of a new user saves a video.
constexpr BundledVideo kBundledVideos[] = {
    {"aTestCard01", "aTestCard01", "Test card with a running counter", "0:04"},
    {"bColorBar02", "bColorBar02", "Classic colour bars", "0:04"},
    {"cMandelZm03", "cMandelZm03", "Mandelbrot set zoom in four seconds", "0:04"},
    {"dTestSrc204", "dTestSrc204", "Colourful test pattern with moving gradient", "0:04"},
    {"5qWsH5lO-ME", "aTestCard01", "Clipnab example clip", "0:04"},
};

constexpr int kTokenLength = 16;
constexpr int kSecretLength = 16;
constexpr int kRelatedVideos = 6;

QByteArray readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QByteArray headerValue(const QHttpServerRequest &request, const char *wanted)
{
    for (const auto &[name, value] : request.headers()) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return value.trimmed();
    }
    return {};
}

bool asksToClose(const QHttpServerRequest &request)
{
    return headerValue(request, "Connection").compare("close", Qt::CaseInsensitive) == 0;
}

// The first and last byte of a "bytes=N-" or "bytes=N-M" request for a file of `size` bytes;
// nothing for another form (several ranges, a suffix range), which is answered with the whole
// file. first >= size marks a range that cannot be satisfied.
std::optional<std::pair<qint64, qint64>> requestedRange(const QByteArray &header, qint64 size)
{
    if (!header.startsWith("bytes="))
        return std::nullopt;
    const QByteArray spec = header.mid(6).trimmed();
    const qsizetype dash = spec.indexOf('-');
    if (dash <= 0 || spec.contains(','))
        return std::nullopt;
    bool ok = false;
    const qint64 first = spec.left(dash).toLongLong(&ok);
    if (!ok || first < 0)
        return std::nullopt;
    qint64 last = size - 1;
    if (dash + 1 < spec.size()) {
        last = qMin(last, spec.mid(dash + 1).toLongLong(&ok));
        if (!ok || last < first)
            return std::nullopt;
    }
    return std::make_pair(first, last);
}

// Validators that change whenever the file does, so that If-Range tells a changed file apart.
void stampValidators(DemoVideo &video)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(video.id.toUtf8());
    hash.addData(QByteArray::number(video.generatedSize));
    hash.addData(video.body);
    video.etag = '"' + hash.result().toHex().left(16) + '"';
    video.lastModified = QLocale::c()
                             .toString(QDateTime::currentDateTimeUtc(),
                                       QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"))
                             .toLatin1();
}

QString requestTarget(const QHttpServerRequest &request)
{
    const QUrl url = request.url();
    const QString query = url.query(QUrl::FullyEncoded);
    return url.path(QUrl::FullyEncoded) +
           (query.isEmpty() ? QString() : QStringLiteral("?") + query);
}

} // namespace

DemoSite::DemoSite(QObject *parent)
    : QObject(parent),
      m_server(new SiteServer([this](const QHttpServerRequest &request,
                                     QTcpSocket *socket) { handle(request, socket); },
                              this))
{
    initDemoSiteResources();
    m_secret.resize(kSecretLength);
    QRandomGenerator::system()->generate(m_secret.begin(), m_secret.end());
    addBundledVideos();
}

DemoSite::~DemoSite() = default;

quint16 DemoSite::listen(quint16 port)
{
    m_port = m_server->listen(QHostAddress::LocalHost, port);
    return m_port;
}

QString DemoSite::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

void DemoSite::addBundledVideos()
{
    for (const BundledVideo &bundled : kBundledVideos) {
        const QString id = QLatin1String(bundled.id);
        DemoVideo video;
        video.id = id;
        video.title = QLatin1String(bundled.title);
        video.duration = QLatin1String(bundled.duration);
        video.body = bundledVideo(id);
        video.thumbnail = readResource(QStringLiteral(":/demo-site/thumbnails/") +
                                       QLatin1String(bundled.file) + QStringLiteral(".jpg"));
        video.thumbnailType = "image/jpeg";
        stampValidators(video);
        m_catalog.add(video);
    }
}

QByteArray DemoSite::bundledVideo(const QString &id)
{
    initDemoSiteResources();
    for (const BundledVideo &bundled : kBundledVideos) {
        if (id == QLatin1String(bundled.id))
            return readResource(QStringLiteral(":/demo-site/videos/") +
                                QLatin1String(bundled.file) + QStringLiteral(".flv"));
    }
    return {};
}

void DemoSite::addVideo(const QString &id, const QString &title, const QByteArray &body)
{
    DemoVideo video;
    video.id = id;
    video.title = title;
    video.body = body;
    video.thumbnail = placeholderThumbnail(id);
    video.thumbnailType = "image/png";
    stampValidators(video);
    m_catalog.add(video);
}

void DemoSite::addGeneratedVideo(const QString &id, const QString &title, qint64 size)
{
    DemoVideo video;
    video.id = id;
    video.title = title;
    video.generatedSize = qMax<qint64>(0, size);
    video.thumbnail = placeholderThumbnail(id);
    video.thumbnailType = "image/png";
    stampValidators(video);
    m_catalog.add(video);
}

QStringList DemoSite::videoIds() const
{
    QStringList ids;
    for (const DemoVideo &video : m_catalog.videos())
        ids.append(video.id);
    return ids;
}

QString DemoSite::tokenFor(const QString &id) const
{
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray(m_secret + id.toUtf8()), QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.toHex().left(kTokenLength));
}

void DemoSite::setVideoStatus(const QString &id, int status)
{
    if (DemoVideo *video = m_catalog.find(id))
        video->forcedStatus = status;
}

void DemoSite::setCutShort(const QString &id, qint64 bytesSent)
{
    if (DemoVideo *video = m_catalog.find(id))
        video->cutShortAfter = bytesSent;
}

void DemoSite::setWithoutToken(const QString &id, bool withoutToken)
{
    if (DemoVideo *video = m_catalog.find(id))
        video->withoutToken = withoutToken;
}

void DemoSite::setStalled(const QString &id, bool stalled)
{
    if (DemoVideo *video = m_catalog.find(id))
        video->stalled = stalled;
}

void DemoSite::setDropOnce(const QString &id, qint64 bytes, bool reset)
{
    if (DemoVideo *video = m_catalog.find(id)) {
        video->dropOnceAfter = bytes;
        video->dropReset = reset;
    }
}

void DemoSite::setIgnoreRange(const QString &id, bool ignore)
{
    if (DemoVideo *video = m_catalog.find(id))
        video->ignoreRange = ignore;
}

void DemoSite::setExtraHeaders(const QString &id, const HttpHeaders &headers)
{
    if (DemoVideo *video = m_catalog.find(id))
        video->extraHeaders = headers;
}

bool DemoSite::setFileRedirect(FileRedirect redirect)
{
    if (redirect == FileRedirect::OtherPort && !m_otherServer) {
        m_otherServer = new SiteServer([this](const QHttpServerRequest &request,
                                              QTcpSocket *socket) { handle(request, socket); },
                                       this);
        m_otherPort = m_otherServer->listen(QHostAddress::LocalHost);
    }
    if (redirect == FileRedirect::OtherPort && m_otherPort == 0)
        return false;
    m_fileRedirect = redirect;
    return true;
}

QList<const DemoVideo *> DemoSite::allVideos() const
{
    return m_catalog.search(QString());
}

QString DemoSite::playerAddress(const DemoVideo &video) const
{
    const QString id = QString::fromUtf8(QUrl::toPercentEncoding(video.id));
    if (video.withoutToken)
        return QStringLiteral("/player?video_id=") + id + QStringLiteral("&fmt=1");
    return QStringLiteral("/player?video_id=") + id + QStringLiteral("&t=") + tokenFor(video.id) +
           QStringLiteral("&fmt=1");
}

void DemoSite::handle(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const auto method = request.method();
    const Exchange exchange{socket, method == QHttpServerRequest::Method::Head,
                            asksToClose(request)};
    int status = 0;
    if (method == QHttpServerRequest::Method::Get || method == QHttpServerRequest::Method::Head)
        status = answer(request, exchange);
    else
        status = sendText(exchange, 405, "Only GET and HEAD are served.");
    const QString target = requestTarget(request);
    m_requestLog.append(target);
    Q_EMIT requestServed(target, status);
}

int DemoSite::answer(const QHttpServerRequest &request, const Exchange &exchange)
{
    const QString path = request.url().path();
    const QString query = request.url().query(QUrl::FullyEncoded);
    const QString noSuchVideo = tr("This video does not exist.");

    if (path == QLatin1String("/"))
        return sendPage(exchange, 200, homePage(allVideos()));

    if (path == QLatin1String("/results")) {
        const QString words = queryValue(query, QStringLiteral("search_query")).trimmed();
        return sendPage(exchange, 200, resultsPage(words, m_catalog.search(words)));
    }

    if (path == QLatin1String("/watch")) {
        const DemoVideo *video = m_catalog.find(queryValue(query, QStringLiteral("v")));
        if (!video)
            return sendPage(exchange, 404, notFoundPage(noSuchVideo));
        QList<const DemoVideo *> related;
        for (const DemoVideo *other : allVideos()) {
            if (other != video && related.size() < kRelatedVideos)
                related.append(other);
        }
        return sendPage(exchange, 200, watchPage(*video, related));
    }

    if (path.startsWith(QLatin1String("/v/"))) {
        const DemoVideo *video = m_catalog.find(path.mid(3));
        if (!video)
            return sendPage(exchange, 404, notFoundPage(noSuchVideo));
        return send(exchange, 302,
                    {{"Location", playerAddress(*video).toUtf8()}, {"Cache-Control", "no-store"}},
                    {});
    }

    if (path == QLatin1String("/player")) {
        const DemoVideo *video = m_catalog.find(queryValue(query, QStringLiteral("video_id")));
        if (!video)
            return sendPage(exchange, 404, notFoundPage(noSuchVideo));
        const QString token = queryValue(query, QStringLiteral("t"));
        const QString file = token.isEmpty()
                                 ? QString()
                                 : QStringLiteral("/get_video?video_id=") +
                                       QString::fromUtf8(QUrl::toPercentEncoding(video->id)) +
                                       QStringLiteral("&t=") +
                                       QString::fromUtf8(QUrl::toPercentEncoding(token));
        return sendPage(exchange, 200, playerPage(*video, file));
    }

    if (path == QLatin1String("/get_video")) {
        if (m_fileRedirect != FileRedirect::None)
            return redirectToFile(request, exchange);
        return sendVideoFile(request, exchange);
    }

    if (path == QLatin1String("/file"))
        return sendVideoFile(request, exchange);

    if (path.startsWith(QLatin1String("/thumb/"))) {
        const DemoVideo *video = m_catalog.find(path.mid(7));
        if (!video)
            return sendText(exchange, 404, "No such thumbnail.");
        return send(exchange, 200, {{"Content-Type", video->thumbnailType}}, video->thumbnail);
    }

    return sendPage(exchange, 404, notFoundPage(tr("This page does not exist.")));
}

int DemoSite::sendVideoFile(const QHttpServerRequest &request, const Exchange &exchange)
{
    const QString rawQuery = request.url().query(QUrl::FullyEncoded);
    const QByteArray rangeHeader = headerValue(request, "Range");
    m_rangeLog.append(QString::fromLatin1(rangeHeader));
    connect(exchange.socket, &QTcpSocket::disconnected, this, &DemoSite::onDownloadConnectionClosed,
            Qt::UniqueConnection);
    DemoVideo *video = m_catalog.find(queryValue(rawQuery, QStringLiteral("video_id")));
    if (!video)
        return sendText(exchange, 404, "No such video.");
    if (video->forcedStatus != 0)
        return sendText(exchange, video->forcedStatus, httpReasonPhrase(video->forcedStatus));
    if (queryValue(rawQuery, QStringLiteral("t")) != tokenFor(video->id))
        return sendText(exchange, 403, "The token does not match.");

    const qint64 size = video->size();
    HttpHeaders headers{{"Content-Type", "video/x-flv"},
                        {"Cache-Control", "no-store"},
                        {"Accept-Ranges", "bytes"},
                        {"ETag", video->etag},
                        {"Last-Modified", video->lastModified}};
    // A range is served only while the validator the client holds still names this file.
    const QByteArray ifRange = headerValue(request, "If-Range");
    const bool sameFile =
        ifRange.isEmpty() || ifRange == video->etag || ifRange == video->lastModified;
    const auto range =
        video->ignoreRange || !sameFile ? std::nullopt : requestedRange(rangeHeader, size);
    qint64 first = 0;
    qint64 length = size;
    int status = 200;
    if (range) {
        if (range->first >= size) {
            return send(exchange, 416, {{"Content-Range", "bytes */" + QByteArray::number(size)}},
                        {});
        }
        status = 206;
        first = range->first;
        length = range->second - first + 1;
        headers.append({"Content-Range", "bytes " + QByteArray::number(first) + '-' +
                                             QByteArray::number(range->second) + '/' +
                                             QByteArray::number(size)});
    }
    QByteArray head = httpResponseHead(status, headers, length);
    // After the Content-Length the head ends with, before the blank line.
    for (const auto &[name, value] : video->extraHeaders)
        head.insert(head.size() - 2, name + ": " + value + "\r\n");
    exchange.socket->write(head);
    if (exchange.headOnly)
        return status;

    std::unique_ptr<QIODevice> source;
    if (video->isGenerated()) {
        source = std::make_unique<GeneratedBody>(size);
    } else {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(video->body);
        source = std::move(buffer);
    }
    source->open(QIODevice::ReadOnly);
    source->seek(first);

    // Where the answer stops early, as an offset into the file.
    qint64 end = first + length;
    BodyStreamer::Ending ending = BodyStreamer::Ending::Complete;
    if (video->stalled && size / 2 < end) {
        end = qMax(first, size / 2);
        ending = BodyStreamer::Ending::Stall;
    } else if (video->cutShortAfter >= 0 && video->cutShortAfter < end) {
        end = qMax(first, video->cutShortAfter);
        ending = BodyStreamer::Ending::CutShort;
    } else if (video->dropOnceAfter >= 0 && video->dropOnceAfter < end) {
        end = qMax(first, video->dropOnceAfter);
        ending = video->dropReset ? BodyStreamer::Ending::Reset : BodyStreamer::Ending::CutShort;
        video->dropOnceAfter = -1;
    }
    BodyStreamer::start(exchange.socket, std::move(source), end - first, ending, exchange.close);
    return status;
}

int DemoSite::redirectToFile(const QHttpServerRequest &request, const Exchange &exchange)
{
    QByteArray location = "/file?" + request.url().query(QUrl::FullyEncoded).toUtf8();
    if (m_fileRedirect == FileRedirect::OtherHostName)
        location.prepend("http://localhost:" + QByteArray::number(m_port));
    else if (m_fileRedirect == FileRedirect::OtherPort)
        location.prepend("http://127.0.0.1:" + QByteArray::number(m_otherPort));
    // With a short body, as most servers send one.
    return send(exchange, 302, {{"Location", location}, {"Cache-Control", "no-store"}},
                "The file is at " + location + '\n');
}

void DemoSite::onDownloadConnectionClosed()
{
    ++m_closedDownloads;
}

int DemoSite::send(const Exchange &exchange, int status, const HttpHeaders &headers,
                   const QByteArray &body)
{
    exchange.socket->write(httpResponseHead(status, headers, body.size()));
    if (!exchange.headOnly)
        exchange.socket->write(body);
    if (exchange.close)
        exchange.socket->disconnectFromHost();
    return status;
}

int DemoSite::sendPage(const Exchange &exchange, int status, const QByteArray &html)
{
    return send(exchange, status, {{"Content-Type", "text/html; charset=utf-8"}}, html);
}

int DemoSite::sendText(const Exchange &exchange, int status, const QByteArray &text)
{
    return send(exchange, status, {{"Content-Type", "text/plain; charset=utf-8"}}, text + '\n');
}

} // namespace clipnab
