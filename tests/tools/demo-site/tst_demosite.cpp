#include "DemoSite.h"
#include "GeneratedBody.h"
#include "HttpMessages.h"

#include <QFile>
#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

using namespace clipnab;

namespace {

struct Answer
{
    int status = 0;
    QByteArray body;
    QByteArray contentType;
    QByteArray location;
    QByteArray etag;
    QByteArray lastModified;
    qint64 contentLength = -1;
};

QByteArray committedVideo(const QString &id)
{
    QFile file(QStringLiteral(CLIPNAB_DEMO_SITE_SOURCE_DIR "/videos/") + id +
               QStringLiteral(".flv"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray watchLink(const QString &id)
{
    return "href=\"/watch?v=" + id.toUtf8() + '"';
}

const QStringList kBundledIds{QStringLiteral("aTestCard01"), QStringLiteral("bColorBar02"),
                              QStringLiteral("cMandelZm03"), QStringLiteral("dTestSrc204"),
                              QStringLiteral("5qWsH5lO-ME")};

} // namespace

class DemoSiteTest : public QObject
{
    Q_OBJECT

private:
    // Fetches a site address without following redirects.
    Answer fetch(const QString &target)
    {
        QNetworkRequest request(QUrl(m_site.baseUrl() + target));
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::ManualRedirectPolicy);
        QNetworkReply *reply = m_manager.get(request);
        QSignalSpy finished(reply, &QNetworkReply::finished);
        if (!reply->isFinished())
            finished.wait(30000);
        Answer answer;
        answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        answer.body = reply->readAll();
        answer.contentType = reply->rawHeader("Content-Type");
        answer.location = reply->rawHeader("Location");
        answer.etag = reply->rawHeader("ETag");
        answer.lastModified = reply->rawHeader("Last-Modified");
        bool ok = false;
        const qint64 length = reply->rawHeader("Content-Length").toLongLong(&ok);
        answer.contentLength = ok ? length : -1;
        reply->deleteLater();
        return answer;
    }

    QString fileTarget(const QString &id) const
    {
        return QStringLiteral("/get_video?video_id=") + id + QStringLiteral("&t=") +
               m_site.tokenFor(id);
    }

    DemoSite m_site;
    QNetworkAccessManager m_manager;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_site.listen() != 0);
        QVERIFY(m_site.baseUrl().startsWith(QLatin1String("http://127.0.0.1:")));
        QCOMPARE(m_site.videoIds(), kBundledIds);
    }

    void homePageListsEveryVideo()
    {
        const Answer home = fetch(QStringLiteral("/"));
        QCOMPARE(home.status, 200);
        QVERIFY(home.contentType.startsWith("text/html"));
        QVERIFY(home.body.contains("<form action=\"/results\""));
        QVERIFY(home.body.contains("name=\"search_query\""));
        for (const QString &id : kBundledIds) {
            QVERIFY2(home.body.contains(watchLink(id)), qPrintable(id));
            QVERIFY2(home.body.contains(QByteArray("src=\"/thumb/" + id.toUtf8() + "\"")),
                     qPrintable(id));
        }
        QVERIFY(home.body.contains("Classic colour bars"));
    }

    void searchFiltersByTitleWords_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one word, two titles")
            << "colour"
            << QStringList{QStringLiteral("bColorBar02"), QStringLiteral("dTestSrc204")};
        QTest::newRow("case is ignored")
            << "COLOUR bars" << QStringList{QStringLiteral("bColorBar02")};
        QTest::newRow("words in any order")
            << "zoom%20mandelbrot" << QStringList{QStringLiteral("cMandelZm03")};
        QTest::newRow("form encoding")
            << "classic+colour" << QStringList{QStringLiteral("bColorBar02")};
        QTest::newRow("blanks around")
            << "%20%20counter%20" << QStringList{QStringLiteral("aTestCard01")};
        QTest::newRow("every word must match") << "colour%20zoom" << QStringList{};
        QTest::newRow("no match") << "cats" << QStringList{};
        QTest::newRow("empty query lists all") << "" << kBundledIds;
    }
    void searchFiltersByTitleWords()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, expected);
        const Answer results = fetch(QStringLiteral("/results?search_query=") + query);
        QCOMPARE(results.status, 200);
        for (const QString &id : kBundledIds) {
            const bool listed = results.body.contains(watchLink(id));
            QVERIFY2(listed == expected.contains(id), qPrintable(id));
        }
    }

    void searchWordsAreEscapedInThePage()
    {
        const Answer results = fetch(QStringLiteral("/results?search_query=%3Cb%3Ex"));
        QCOMPARE(results.status, 200);
        QVERIFY(!results.body.contains("<b>x"));
        QVERIFY(results.body.contains("&lt;b&gt;x"));
    }

    void watchPageLinksToOtherVideos()
    {
        const Answer page = fetch(QStringLiteral("/watch?v=bColorBar02"));
        QCOMPARE(page.status, 200);
        QVERIFY(page.body.contains("Classic colour bars"));
        QVERIFY(page.body.contains("href=\"/v/bColorBar02\""));
        QVERIFY(page.body.contains("href=\"/watch?v=aTestCard01\""));
        QVERIFY(!page.body.contains("href=\"/watch?v=bColorBar02\""));
        QCOMPARE(fetch(QStringLiteral("/watch?v=unknown")).status, 404);
    }

    void playerAddressRedirectsWithToken_data()
    {
        QTest::addColumn<bool>("withoutToken");
        QTest::newRow("with token") << false;
        QTest::newRow("without token") << true;
    }
    void playerAddressRedirectsWithToken()
    {
        QFETCH(bool, withoutToken);
        const QString id = QStringLiteral("redirected");
        m_site.addVideo(id, QStringLiteral("Redirected"), QByteArray("abc"));
        m_site.setWithoutToken(id, withoutToken);
        const Answer answer = fetch(QStringLiteral("/v/") + id);
        QCOMPARE(answer.status, 302);
        QVERIFY(answer.location.startsWith("/player?video_id=redirected"));
        const QByteArray token = "&t=" + m_site.tokenFor(id).toLatin1() + "&";
        QCOMPARE(answer.location.contains(token), !withoutToken);
        QCOMPARE(answer.location.contains("&t="), !withoutToken);

        const Answer player = fetch(QString::fromLatin1(answer.location));
        QCOMPARE(player.status, 200);
        QCOMPARE(player.body.contains(QByteArray("/get_video?video_id=" + id.toUtf8())),
                 !withoutToken);
    }

    void tokensDifferPerVideoAndSite()
    {
        DemoSite other;
        const QString id = QStringLiteral("aTestCard01");
        QCOMPARE(m_site.tokenFor(id), m_site.tokenFor(id));
        QVERIFY(m_site.tokenFor(id) != m_site.tokenFor(QStringLiteral("bColorBar02")));
        QVERIFY(m_site.tokenFor(id) != other.tokenFor(id));
        QVERIFY(!m_site.tokenFor(id).contains(QLatin1Char('&')));
        QCOMPARE(fetch(QStringLiteral("/v/unknown")).status, 404);
        QCOMPARE(fetch(QStringLiteral("/v/")).status, 404);
    }

    void bundledFilesAreServedUnchanged_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("file");
        for (const QString &id : kBundledIds.mid(0, 4))
            QTest::newRow(qPrintable(id)) << id << id;
        // The address box's starting address is a video of the site.
        QTest::newRow("Clipnab's example") << "5qWsH5lO-ME"
                                           << "aTestCard01";
    }
    void bundledFilesAreServedUnchanged()
    {
        QFETCH(QString, id);
        QFETCH(QString, file);
        const QByteArray committed = committedVideo(file);
        QVERIFY(committed.startsWith("FLV"));
        QCOMPARE(DemoSite::bundledVideo(id), committed);
        const Answer answer = fetch(fileTarget(id));
        QCOMPARE(answer.status, 200);
        QCOMPARE(answer.contentType, QByteArray("video/x-flv"));
        QCOMPARE(answer.contentLength, committed.size());
        QVERIFY(answer.body == committed);
    }

    void fileDownloadChecksTheRequest_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("forcedStatus");
        QTest::addColumn<int>("status");
        QTest::newRow("wrong token")
            << "/get_video?video_id=checked&t=0123456789abcdef" << 0 << 403;
        QTest::newRow("no token") << "/get_video?video_id=checked" << 0 << 403;
        QTest::newRow("empty token") << "/get_video?video_id=checked&t=" << 0 << 403;
        QTest::newRow("unknown video") << "/get_video?video_id=nothing&t=x" << 0 << 404;
        QTest::newRow("no video id") << "/get_video?t=x" << 0 << 404;
        QTest::newRow("forced 500") << "" << 500 << 500;
        QTest::newRow("forced 404") << "" << 404 << 404;
        QTest::newRow("forced 403") << "" << 403 << 403;
        QTest::newRow("good token") << "" << 0 << 200;
    }
    void fileDownloadChecksTheRequest()
    {
        QFETCH(QString, target);
        QFETCH(int, forcedStatus);
        QFETCH(int, status);
        const QString id = QStringLiteral("checked");
        m_site.addVideo(id, QStringLiteral("Checked"), QByteArray("checked body"));
        m_site.setVideoStatus(id, forcedStatus);
        const Answer answer = fetch(target.isEmpty() ? fileTarget(id) : target);
        QCOMPARE(answer.status, status);
        QCOMPARE(answer.body == "checked body", status == 200);
    }

    void generatedBodyIsStreamedInOrder()
    {
        const qint64 size = 3 * 1024 * 1024 + 123;
        m_site.addGeneratedVideo(QStringLiteral("generated"), QStringLiteral("Generated"), size);
        const Answer answer = fetch(fileTarget(QStringLiteral("generated")));
        QCOMPARE(answer.status, 200);
        QCOMPARE(answer.contentLength, size);
        QCOMPARE(answer.body.size(), size);
        QVERIFY(answer.body == GeneratedBody::bytes(0, size));
    }

    void cutShortAnnouncesMoreThanItSends_data()
    {
        QTest::addColumn<qint64>("sent");
        QTest::newRow("nothing") << qint64(0);
        QTest::newRow("half") << qint64(1000);
        QTest::newRow("all but one byte") << qint64(1999);
    }
    void cutShortAnnouncesMoreThanItSends()
    {
        QFETCH(qint64, sent);
        const QString id = QStringLiteral("cut");
        m_site.addVideo(id, QStringLiteral("Cut"), GeneratedBody::bytes(0, 2000));
        m_site.setCutShort(id, sent);

        // The site runs in this thread, so the client must wait through the event loop.
        QTcpSocket socket;
        QByteArray received;
        connect(&socket, &QTcpSocket::readyRead, this, [&] { received += socket.readAll(); });
        QSignalSpy closed(&socket, &QTcpSocket::disconnected);
        socket.connectToHost(QHostAddress::LocalHost, m_site.port());
        socket.write("GET " + fileTarget(id).toLatin1() + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
        QVERIFY(closed.wait(10000));
        received += socket.readAll();
        const qsizetype headEnd = received.indexOf("\r\n\r\n");
        QVERIFY(headEnd > 0);
        QVERIFY(received.startsWith("HTTP/1.1 200 OK\r\n"));
        QVERIFY(received.left(headEnd).contains("Content-Length: 2000"));
        QCOMPARE(received.mid(headEnd + 4), GeneratedBody::bytes(0, sent));
    }

    void rangesAreServed_data()
    {
        QTest::addColumn<QByteArray>("range");
        QTest::addColumn<QString>("ifRange"); // "etag", "date", "stale" or empty
        QTest::addColumn<bool>("ignoreRange");
        QTest::addColumn<int>("status");
        QTest::addColumn<qint64>("first");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<QByteArray>("contentRange");
        QTest::newRow("the rest") << QByteArray("bytes=1500-") << "" << false << 206 << qint64(1500)
                                  << qint64(500) << QByteArray("bytes 1500-1999/2000");
        QTest::newRow("a slice") << QByteArray("bytes=10-19") << "" << false << 206 << qint64(10)
                                 << qint64(10) << QByteArray("bytes 10-19/2000");
        QTest::newRow("same ETag")
            << QByteArray("bytes=1500-") << "etag" << false << 206 << qint64(1500) << qint64(500)
            << QByteArray("bytes 1500-1999/2000");
        QTest::newRow("same date")
            << QByteArray("bytes=1500-") << "date" << false << 206 << qint64(1500) << qint64(500)
            << QByteArray("bytes 1500-1999/2000");
        QTest::newRow("stale validator") << QByteArray("bytes=1500-") << "stale" << false << 200
                                         << qint64(0) << qint64(2000) << QByteArray();
        QTest::newRow("range ignored") << QByteArray("bytes=1500-") << "" << true << 200
                                       << qint64(0) << qint64(2000) << QByteArray();
        QTest::newRow("beyond the end") << QByteArray("bytes=2000-") << "" << false << 416
                                        << qint64(0) << qint64(0) << QByteArray("bytes */2000");
        QTest::newRow("several ranges") << QByteArray("bytes=0-1,5-9") << "" << false << 200
                                        << qint64(0) << qint64(2000) << QByteArray();
    }
    void rangesAreServed()
    {
        QFETCH(QByteArray, range);
        QFETCH(QString, ifRange);
        QFETCH(bool, ignoreRange);
        QFETCH(int, status);
        QFETCH(qint64, first);
        QFETCH(qint64, length);
        QFETCH(QByteArray, contentRange);
        const QString id = QStringLiteral("ranged");
        m_site.addVideo(id, QStringLiteral("Ranged"), GeneratedBody::bytes(0, 2000));
        m_site.setIgnoreRange(id, ignoreRange);
        const Answer plain = fetch(fileTarget(id));
        QVERIFY(!plain.etag.isEmpty());
        QVERIFY(!plain.lastModified.isEmpty());

        QNetworkRequest request(QUrl(m_site.baseUrl() + fileTarget(id)));
        request.setRawHeader("Range", range);
        if (ifRange == QLatin1String("etag"))
            request.setRawHeader("If-Range", plain.etag);
        else if (ifRange == QLatin1String("date"))
            request.setRawHeader("If-Range", plain.lastModified);
        else if (ifRange == QLatin1String("stale"))
            request.setRawHeader("If-Range", "\"0000\"");
        QNetworkReply *reply = m_manager.get(request);
        QSignalSpy finished(reply, &QNetworkReply::finished);
        QVERIFY(reply->isFinished() || finished.wait(30000));
        QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), status);
        QCOMPARE(reply->rawHeader("Content-Range"), contentRange);
        QCOMPARE(m_site.rangeLog().last(), QString::fromLatin1(range));
        if (status != 416)
            QVERIFY(reply->readAll() == GeneratedBody::bytes(first, length));
        reply->deleteLater();
    }

    void thumbnailsAreImages_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QByteArray>("type");
        QTest::newRow("bundled") << "cMandelZm03" << QByteArray("image/jpeg");
        QTest::newRow("added") << "thumbOfAdded" << QByteArray("image/png");
    }
    void thumbnailsAreImages()
    {
        QFETCH(QString, id);
        QFETCH(QByteArray, type);
        m_site.addVideo(QStringLiteral("thumbOfAdded"), QStringLiteral("Thumb"), QByteArray("x"));
        const Answer answer = fetch(QStringLiteral("/thumb/") + id);
        QCOMPARE(answer.status, 200);
        QCOMPARE(answer.contentType, type);
        const QImage image = QImage::fromData(answer.body);
        QCOMPARE(image.size(), QSize(120, 90));
        QCOMPARE(fetch(QStringLiteral("/thumb/none")).status, 404);
    }

    void requestsAreLogged()
    {
        fetch(QStringLiteral("/results?search_query=demo%20clip"));
        QCOMPARE(m_site.requestLog().last(), QStringLiteral("/results?search_query=demo%20clip"));
        QCOMPARE(fetch(QStringLiteral("/no/such/page")).status, 404);
    }

    void queryValuesDecodeLikeAForm_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("present");
        QTest::newRow("plain") << "a=1&b=2"
                               << "b"
                               << "2" << true;
        QTest::newRow("plus is a blank") << "q=red+car"
                                         << "q"
                                         << "red car" << true;
        QTest::newRow("percent escapes") << "q=a%26b%3Dc%2B"
                                         << "q"
                                         << "a&b=c+" << true;
        QTest::newRow("first one wins") << "t=x&t=y"
                                        << "t"
                                        << "x" << true;
        QTest::newRow("empty value") << "t=&v=1"
                                     << "t"
                                     << "" << true;
        QTest::newRow("key without value") << "t&v=1"
                                           << "t"
                                           << "" << true;
        QTest::newRow("missing") << "video_id=1"
                                 << "t"
                                 << "" << false;
        QTest::newRow("key is a suffix") << "xt=1"
                                         << "t"
                                         << "" << false;
        QTest::newRow("utf-8") << "q=caf%C3%A9"
                               << "q" << QStringLiteral("caf\u00e9") << true;
    }
    void queryValuesDecodeLikeAForm()
    {
        QFETCH(QString, query);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QFETCH(bool, present);
        const QString value = queryValue(query, key);
        QCOMPARE(value, expected);
        QCOMPARE(!value.isNull(), present);
    }
};

QTEST_GUILESS_MAIN(DemoSiteTest)
#include "tst_demosite.moc"
