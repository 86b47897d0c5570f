#include "components/HttpFields.h"
#include "components/network/NetworkTransfer.h"

#include "DemoSite.h"
#include "GeneratedBody.h"
#include "support/FreePort.h"
#include "support/Sanitizers.h"
#include "support/TransferSteps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace clipnab;

namespace {

constexpr int kLongWaitMs = 180000;

qint64 procStatusKiB(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(QByteArray(field + ':')))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Descriptors of this process open on a file whose path starts with `prefix`; a temporary file
// may have no name in its folder at all, so the open descriptors are what counts.
int openDescriptors(const QString &prefix)
{
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    int count = 0;
    for (const QString &fd : descriptors.entryList(QDir::Files | QDir::System)) {
        if (QFile::symLinkTarget(descriptors.filePath(fd)).startsWith(prefix))
            ++count;
    }
    return count;
}

} // namespace

class NetworkTransferTest : public QObject
{
    Q_OBJECT

private:
    QString fileUrl(const QString &id, const QString &token) const
    {
        return m_site.baseUrl() + QStringLiteral("/get_video?video_id=") + id +
               QStringLiteral("&t=") + token;
    }
    QString fileUrl(const QString &id) const { return fileUrl(id, m_site.tokenFor(id)); }

    // Files in this test's temporary folder that the process holds open.
    int spoolFiles() const
    {
        return openDescriptors(QDir(m_tempDir.path()).canonicalPath() + QLatin1Char('/'));
    }

    // Where part files go; made before the temp folder is redirected, so it lies outside it.
    QString partPath(const QString &name) const
    {
        return QDir(m_saveDir.path()).canonicalPath() + QLatin1Char('/') + name;
    }
    QString partPath() const { return partPath(QStringLiteral("get.flv.part")); }

    QTemporaryDir m_saveDir;
    QTemporaryDir m_tempDir;
    DemoSite m_site;

private Q_SLOTS:
    void initTestCase()
    {
        // A temporary folder of this test alone, so that anything put there can be counted.
        QVERIFY(m_saveDir.isValid());
        QVERIFY(m_tempDir.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_tempDir.path()));
        QCOMPARE(QDir::tempPath(), QDir(m_tempDir.path()).canonicalPath());
        QVERIFY(m_site.listen() != 0);
        m_site.addVideo(QStringLiteral("threeK"), QStringLiteral("Three kilobytes"),
                        GeneratedBody::bytes(0, 3000));
        m_site.addVideo(QStringLiteral("stalled"), QStringLiteral("Stalled"),
                        GeneratedBody::bytes(0, 4000));
        m_site.setStalled(QStringLiteral("stalled"), true);
    }

    void headersAreFoundWithoutRegardToCase_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("length as sent") << "Content-Length"
                                        << "3000";
        QTest::newRow("length as the window asks") << "Content-length"
                                                   << "3000";
        QTest::newRow("lower case") << "content-type"
                                    << "video/x-flv";
        QTest::newRow("upper case") << "CONTENT-TYPE"
                                    << "video/x-flv";
        QTest::newRow("absent") << "X-Not-There"
                                << "";
        QTest::newRow("empty name") << ""
                                    << "";
    }
    void headersAreFoundWithoutRegardToCase()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        NetworkTransfer transfer;
        TransferSpy spy(transfer);
        QCOMPARE(get(transfer, spy, fileUrl(QStringLiteral("threeK")), partPath()),
                 GetEnd::Finished);
        QCOMPARE(transfer.GetHeader(name), expected);
    }

    void bodyIsWrittenWhole_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::newRow("empty") << qint64(0);
        QTest::newRow("one byte") << qint64(1);
        QTest::newRow("1024 bytes") << qint64(1024);
        QTest::newRow("1025 bytes") << qint64(1025);
        QTest::newRow("3000 bytes") << qint64(3000);
        QTest::newRow("half a megabyte and a bit") << qint64(512 * 1024 + 7);
    }
    void bodyIsWrittenWhole()
    {
        QFETCH(qint64, size);
        const QString id = QStringLiteral("body%1").arg(size);
        const QByteArray body = GeneratedBody::bytes(0, size);
        m_site.addVideo(id, QStringLiteral("Body"), body);

        NetworkTransfer transfer;
        TransferSpy spy(transfer);
        QCOMPARE(get(transfer, spy, fileUrl(id), partPath()), GetEnd::Finished);
        QCOMPARE(transfer.GetHeader(QStringLiteral("Content-Length")), QString::number(size));
        const QByteArray saved = contentsOf(partPath());
        QCOMPARE(saved.size(), body.size());
        QVERIFY(saved == body);
    }

    void successIsReportedOnceAfterStartReturns()
    {
        NetworkTransfer transfer;
        TransferSpy spy(transfer);
        QVERIFY(makeEmptyFile(partPath()));
        QVERIFY(
            !transfer.start({.url = fileUrl(QStringLiteral("threeK")), .partPath = partPath()}));
        // start() returns before anything is reported.
        QVERIFY(spy.progress.isEmpty() && spy.finished.isEmpty() && spy.failed.isEmpty());
        QCOMPARE(spy.waitForEnd(), GetEnd::Finished);
        QVERIFY(!spy.finished.wait(100));
        QCOMPARE(spy.finished.count(), 1);
        QVERIFY(spy.failed.isEmpty());
        // Progress only grows, against the announced total, and ends at the whole body.
        QVERIFY(!spy.progress.isEmpty());
        qint64 received = 0;
        for (const QList<QVariant> &report : spy.progress) {
            QVERIFY(report.at(0).toLongLong() >= received);
            received = report.at(0).toLongLong();
            QCOMPARE(report.at(1).toLongLong(), qint64(3000));
        }
        QCOMPARE(received, qint64(3000));
    }

    void redirectsAreFollowed()
    {
        NetworkTransfer transfer;
        TransferSpy spy(transfer);
        QCOMPARE(
            get(transfer, spy, m_site.baseUrl() + QStringLiteral("/v/bColorBar02"), partPath()),
            GetEnd::Finished);
        QVERIFY(
            contentsOf(partPath())
                .contains(QByteArray("/get_video?video_id=bColorBar02&amp;t=" +
                                     m_site.tokenFor(QStringLiteral("bColorBar02")).toLatin1())));
    }

    void redirectedFileArrivesOnce_data()
    {
        QTest::addColumn<DemoSite::FileRedirect>("redirect");
        QTest::newRow("relative") << DemoSite::FileRedirect::Relative;
        QTest::newRow("other host name") << DemoSite::FileRedirect::OtherHostName;
        QTest::newRow("other port") << DemoSite::FileRedirect::OtherPort;
    }
    void redirectedFileArrivesOnce()
    {
        // The network layer's own following could send the first request twice, now and then,
        // and merge that second answer's headers into the body's: so, many gets.
        QFETCH(DemoSite::FileRedirect, redirect);
        DemoSite site;
        QVERIFY(site.listen() != 0);
        QVERIFY(site.setFileRedirect(redirect));
        const QString id = QStringLiteral("aTestCard01");
        const QByteArray body = DemoSite::bundledVideo(id);
        const QString query =
            QStringLiteral("?video_id=") + id + QStringLiteral("&t=") + site.tokenFor(id);
        NetworkTransfer transfer;
        for (int i = 0; i < 25; ++i) {
            TransferSpy spy(transfer);
            const qsizetype before = site.requestLog().size();
            QCOMPARE(get(transfer, spy, site.baseUrl() + QStringLiteral("/get_video") + query,
                         partPath()),
                     GetEnd::Finished);
            QVERIFY(contentsOf(partPath()) == body);
            QCOMPARE(transfer.GetHeader(QStringLiteral("Content-Length")),
                     QString::number(body.size()));
            QCOMPARE(site.requestLog().mid(before),
                     (QStringList{QStringLiteral("/get_video") + query,
                                  QStringLiteral("/file") + query}));
        }
    }

    void conflictingLengthsFail_data()
    {
        QTest::addColumn<QByteArray>("secondLength");
        QTest::addColumn<bool>("fails");
        QTest::newRow("another length") << QByteArray("4000") << true;
        QTest::newRow("a list of two") << QByteArray("3000, 4000") << true;
        QTest::newRow("the same again") << QByteArray("3000") << false;
        QTest::newRow("the same in a list") << QByteArray("3000, 3000") << false;
    }
    void conflictingLengthsFail()
    {
        QFETCH(QByteArray, secondLength);
        QFETCH(bool, fails);
        const QString id = QStringLiteral("lengths") + QString::number(qHash(secondLength));
        m_site.addVideo(id, QStringLiteral("Two lengths"), GeneratedBody::bytes(0, 3000));
        m_site.setExtraHeaders(id, {{"Content-Length", secondLength}});
        NetworkTransfer transfer;
        TransferSpy spy(transfer);
        QCOMPARE(get(transfer, spy, fileUrl(id), partPath()),
                 fails ? GetEnd::Failed : GetEnd::Finished);
        if (fails) {
            QCOMPARE(spy.failure(), TransferFailure::Http);
            QCOMPARE(spy.reason(), QStringLiteral("the server sent conflicting lengths"));
        } else {
            QCOMPARE(contentsOf(partPath()), GeneratedBody::bytes(0, 3000));
        }
    }

    void failuresNeverLookComplete_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("token");
        QTest::addColumn<int>("forcedStatus");
        QTest::addColumn<qint64>("cutShortAfter");
        QTest::addColumn<TransferFailure>("kind");
        QTest::addColumn<QString>("reason");
        const auto http = TransferFailure::Http;
        const auto length = TransferFailure::Length;
        QTest::newRow("unknown video")
            << "noSuchVideo"
            << "x" << 0 << qint64(-1) << http << "the server answered 404 Not Found";
        QTest::newRow("wrong token") << "failA"
                                     << "wrong" << 0 << qint64(-1) << http << "answered 403";
        QTest::newRow("server error") << "failB"
                                      << "" << 500 << qint64(-1) << http << "answered 500";
        QTest::newRow("forbidden") << "failC"
                                   << "" << 403 << qint64(-1) << http << "answered 403";
        QTest::newRow("cut short in the middle")
            << "failD"
            << "" << 0 << qint64(1500) << length
            << "the server closed the connection after 1500 of 3000 bytes";
        QTest::newRow("cut short before the body")
            << "failE"
            << "" << 0 << qint64(0) << length << "closed the connection after 0 of 3000 bytes";
        QTest::newRow("cut short one byte early")
            << "failF"
            << "" << 0 << qint64(2999) << length
            << "closed the connection after 2999 of 3000 bytes";
    }
    void failuresNeverLookComplete()
    {
        QFETCH(QString, id);
        QFETCH(QString, token);
        QFETCH(int, forcedStatus);
        QFETCH(qint64, cutShortAfter);
        QFETCH(TransferFailure, kind);
        QFETCH(QString, reason);
        if (id != QLatin1String("noSuchVideo")) {
            m_site.addVideo(id, QStringLiteral("Failing"), GeneratedBody::bytes(0, 3000));
            m_site.setVideoStatus(id, forcedStatus);
            m_site.setCutShort(id, cutShortAfter);
        }

        NetworkTransfer transfer;
        transfer.setRetryDelay(10);
        TransferSpy spy(transfer);
        QCOMPARE(get(transfer, spy, token.isEmpty() ? fileUrl(id) : fileUrl(id, token), partPath()),
                 GetEnd::Failed);
        QVERIFY(spy.finished.isEmpty());
        QCOMPARE(spy.failed.count(), 1);
        QCOMPARE(spy.failure(), kind);
        QVERIFY2(spy.reason().contains(reason), qPrintable(spy.reason()));
        QVERIFY(!spy.reason().endsWith(QLatin1Char('.')));
        // The part file stays for its owner.
        QVERIFY(QFileInfo::exists(partPath()));

        // The component is usable again after a failure.
        spy.clear();
        QCOMPARE(get(transfer, spy, fileUrl(QStringLiteral("threeK")), partPath()),
                 GetEnd::Finished);
        QCOMPARE(contentsOf(partPath()), GeneratedBody::bytes(0, 3000));
    }

    void refusedConnectionIsANetworkFailure()
    {
        NetworkTransfer transfer;
        TransferSpy spy(transfer);
        QCOMPARE(get(transfer, spy,
                     QStringLiteral("http://127.0.0.1:%1/get_video?video_id=a&t=b").arg(freePort()),
                     partPath()),
                 GetEnd::Failed);
        QCOMPARE(spy.failure(), TransferFailure::Network);
        QVERIFY2(spy.reason().startsWith(QLatin1String("connection refused")),
                 qPrintable(spy.reason()));
    }

    void stalledServerFailsAfterIdleTimeout()
    {
        NetworkTransfer transfer;
        transfer.setIdleTimeout(300);
        TransferSpy spy(transfer);
        QCOMPARE(get(transfer, spy, fileUrl(QStringLiteral("stalled")), partPath()),
                 GetEnd::Failed);
        QVERIFY(spy.finished.isEmpty());
        QCOMPARE(spy.failure(), TransferFailure::Timeout);
        QVERIFY2(spy.reason().contains(QLatin1String("no data arrived")), qPrintable(spy.reason()));
    }

    void unusableRequestsAreRefused_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("withPart");
        QTest::newRow("no address") << "" << true;
        QTest::newRow("not http") << "ftp://127.0.0.1/file" << true;
        QTest::newRow("no host") << "http:///get_video" << true;
        QTest::newRow("not an address") << "watch?v=abc" << true;
        QTest::newRow("no part file") << fileUrl(QStringLiteral("threeK")) << false;
    }
    void unusableRequestsAreRefused()
    {
        QFETCH(QString, url);
        QFETCH(bool, withPart);
        NetworkTransfer transfer;
        TransferSpy spy(transfer);
        const auto refusal =
            transfer.start({.url = url, .partPath = withPart ? partPath() : QString()});
        QVERIFY(refusal.has_value());
        QVERIFY(!refusal->isEmpty());
        QVERIFY(!transfer.isRunning());
        QCOMPARE(spy.waitForEnd(100), GetEnd::Open);
        QVERIFY(spy.progress.isEmpty());
    }

    void addressesAreEscapedAsNeeded()
    {
        m_site.addVideo(QStringLiteral("a b"), QStringLiteral("Blank in the id"), "blank");
        NetworkTransfer transfer;
        TransferSpy spy(transfer);
        QCOMPARE(get(transfer, spy, fileUrl(QStringLiteral("a b")), partPath()), GetEnd::Finished);
        QCOMPARE(contentsOf(partPath()), QByteArray("blank"));
        QVERIFY(
            m_site.requestLog().last().startsWith(QLatin1String("/get_video?video_id=a%20b&t=")));
    }

    void secondGetWhileRunningIsRefused()
    {
        const qint64 size = 2 * 1024 * 1024;
        m_site.addGeneratedVideo(QStringLiteral("twoMiB"), QStringLiteral("Two MiB"), size);
        NetworkTransfer transfer;
        TransferSpy spy(transfer);
        const QString other = partPath(QStringLiteral("other.flv.part"));
        QVERIFY(makeEmptyFile(partPath()));
        QVERIFY(
            !transfer.start({.url = fileUrl(QStringLiteral("twoMiB")), .partPath = partPath()}));
        QVERIFY(transfer.start({.url = fileUrl(QStringLiteral("threeK")), .partPath = other})
                    .has_value());
        QVERIFY(transfer.isRunning());
        QCOMPARE(transfer.destination(), partPath());
        QCOMPARE(spy.waitForEnd(), GetEnd::Finished);
        QCOMPARE(spy.finished.count(), 1);
        const QByteArray body = contentsOf(partPath());
        QCOMPARE(body.size(), size);
        QVERIFY(body == GeneratedBody::bytes(0, size));
        QVERIFY(!QFileInfo::exists(other));
    }

    void abortStopsARunningGet()
    {
        NetworkTransfer transfer;
        TransferSpy spy(transfer);
        const QString stopped = partPath(QStringLiteral("stopped.flv.part"));
        QVERIFY(makeEmptyFile(stopped));
        QVERIFY(!transfer.start({.url = fileUrl(QStringLiteral("stalled")), .partPath = stopped}));
        QTRY_VERIFY(!spy.progress.isEmpty() && spy.progress.last().at(0).toLongLong() > 0);
        transfer.abort();
        QVERIFY(!transfer.isRunning());
        // Closed by the time abort() returns, and left for its owner.
        QCOMPARE(openDescriptors(stopped), 0);
        QVERIFY(QFileInfo::exists(stopped));
        transfer.abort();

        // Nothing of the aborted get is reported, and a new get runs normally.
        spy.clear();
        QCOMPARE(get(transfer, spy, fileUrl(QStringLiteral("threeK")), partPath()),
                 GetEnd::Finished);
        QVERIFY(spy.failed.isEmpty());
        QCOMPARE(contentsOf(partPath()), GeneratedBody::bytes(0, 3000));
        QFile::remove(stopped);
    }

    void partFileIsOnlyWrittenAndClosed_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("ending");
        QTest::newRow("completed") << "threeK"
                                   << "wait";
        QTest::newRow("failed download") << "noSuchVideo"
                                         << "wait";
        QTest::newRow("aborted while running") << "stalled"
                                               << "abort";
        QTest::newRow("destroyed while running") << "stalled"
                                                 << "destroy";
        QTest::newRow("part file missing") << "threeK"
                                           << "missing";
        QTest::newRow("part file is a symbolic link") << "threeK"
                                                      << "symlink";
    }
    void partFileIsOnlyWrittenAndClosed()
    {
        // The body goes to the part file only: the temporary folder never holds any of it.
        // However the get ends, the part file is closed and left where it was; one that is
        // missing is not made.
        QFETCH(QString, id);
        QFETCH(QString, ending);
        const bool missing = ending == QLatin1String("missing");
        const bool symlink = ending == QLatin1String("symlink");
        const QString part = partPath(QStringLiteral("spool.flv.part"));
        const QString target = partPath(QStringLiteral("elsewhere.txt"));
        if (symlink) {
            QVERIFY(makeEmptyFile(target));
            QVERIFY(QFile::link(target, part));
        }
        QVERIFY(missing || symlink || makeEmptyFile(part));
        auto transfer = std::make_unique<NetworkTransfer>();
        TransferSpy spy(*transfer);
        QVERIFY(!transfer->start({.url = fileUrl(id), .partPath = part}));
        if (id == QLatin1String("stalled")) {
            QTRY_VERIFY(!spy.progress.isEmpty() && spy.progress.last().at(0).toLongLong() > 0);
            QCOMPARE(openDescriptors(part), 1);
        } else {
            QVERIFY(spy.waitForEnd() != GetEnd::Open);
        }
        QCOMPARE(spoolFiles(), 0);

        if (ending == QLatin1String("abort"))
            transfer->abort();
        else if (ending == QLatin1String("destroy"))
            transfer.reset();
        else if (missing || symlink)
            QCOMPARE(spy.failure(), TransferFailure::Write);
        QCOMPARE(openDescriptors(part), 0);
        QCOMPARE(QFileInfo::exists(part), !missing);
        QCOMPARE(spoolFiles(), 0);
        if (symlink) {
            QVERIFY(QFileInfo(part).isSymLink());
            QCOMPARE(QFileInfo(target).size(), qint64(0));
            QFile::remove(target);
        }
        QFile::remove(part);
    }

    void droppedBodyIsResumed_data()
    {
        QTest::addColumn<QString>("how");
        // The Range header of the second request; empty: not checked exactly.
        QTest::addColumn<QString>("secondRange");
        QTest::addColumn<bool>("bodyChanged");
        QTest::newRow("closed after 100000 bytes") << "close"
                                                   << "bytes=100000-" << false;
        QTest::newRow("reset after 100000 bytes") << "reset"
                                                  << "" << false;
        QTest::newRow("server ignores Range") << "ignore"
                                              << "bytes=100000-" << false;
        QTest::newRow("file changed meanwhile") << "changed"
                                                << "bytes=100000-" << true;
    }
    void droppedBodyIsResumed()
    {
        QFETCH(QString, how);
        QFETCH(QString, secondRange);
        QFETCH(bool, bodyChanged);
        const qint64 size = 300000;
        const QString id = QStringLiteral("drop-") + how;
        m_site.addVideo(id, QStringLiteral("Dropped"), GeneratedBody::bytes(0, size));
        m_site.setDropOnce(id, 100000, how == QLatin1String("reset"));
        m_site.setIgnoreRange(id, how == QLatin1String("ignore"));
        // The new file has other validators: the client's If-Range no longer matches.
        const QByteArray newBody = GeneratedBody::bytes(7, size + 5);
        if (bodyChanged) {
            connect(&m_site, &DemoSite::requestServed, this, [&](const QString &target) {
                if (target.startsWith(QLatin1String("/get_video")))
                    m_site.addVideo(id, QStringLiteral("Changed"), newBody);
            });
        }
        const qsizetype before = m_site.rangeLog().size();

        NetworkTransfer transfer;
        transfer.setRetryDelay(10);
        const QString part = partPath(id + QStringLiteral(".flv.part"));
        TransferSpy spy(transfer);
        QCOMPARE(get(transfer, spy, fileUrl(id), part), GetEnd::Finished);
        m_site.disconnect(this);

        // Plain requests, then the rest asked for (the network layer may repeat a request of
        // its own accord when a connection ends early).
        const QStringList ranges = m_site.rangeLog().mid(before);
        QCOMPARE(ranges.first(), QString());
        QVERIFY2(ranges.last().startsWith(QLatin1String("bytes=")), qPrintable(ranges.join(u'|')));
        if (!secondRange.isEmpty())
            QCOMPARE(ranges.last(), secondRange);
        QCOMPARE(ranges.count(ranges.last()), 1);
        QVERIFY(contentsOf(part) == (bodyChanged ? newBody : GeneratedBody::bytes(0, size)));
        // The length announced is that of the whole body, whatever answer completed it.
        QCOMPARE(transfer.GetHeader(QStringLiteral("Content-Length")),
                 QString::number(bodyChanged ? size + 5 : size));
        QFile::remove(part);
    }

    void continuesAPartFile_data()
    {
        QTest::addColumn<QByteArray>("validator");
        QTest::newRow("the rest is sent") << QByteArray();
        QTest::newRow("the file has changed since") << QByteArray("\"0000\"");
    }
    void continuesAPartFile()
    {
        // A part file that holds the first bytes of the body, from an earlier get.
        QFETCH(QByteArray, validator);
        const qint64 size = 300000;
        const qint64 kept = 100000;
        const QString id = QStringLiteral("continued-") + QString::number(validator.size());
        m_site.addVideo(id, QStringLiteral("Continued"), GeneratedBody::bytes(0, size));
        const QString part = partPath(id + QStringLiteral(".flv.part"));
        QFile earlier(part);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write(GeneratedBody::bytes(0, kept) + QByteArray("beyond the kept bytes"));
        earlier.close();
        const qsizetype before = m_site.rangeLog().size();

        NetworkTransfer transfer;
        TransferSpy spy(transfer);
        QVERIFY(!transfer.start(
            {.url = fileUrl(id), .partPath = part, .resumeFrom = kept, .validator = validator}));
        QCOMPARE(spy.waitForEnd(), GetEnd::Finished);
        QCOMPARE(m_site.rangeLog().mid(before), QStringList{QStringLiteral("bytes=100000-")});
        QVERIFY(contentsOf(part) == GeneratedBody::bytes(0, size));
        // Reported as the whole body, whether the answer was its rest or all of it.
        QCOMPARE(spy.progress.last(), (QList<QVariant>{size, size}));
        QCOMPARE(transfer.GetHeader(QStringLiteral("Content-Length")), QString::number(size));
        QFile::remove(part);
    }

    void givesUpAfterThreeRetries()
    {
        const QString id = QStringLiteral("alwaysCut");
        m_site.addVideo(id, QStringLiteral("Always cut"), GeneratedBody::bytes(0, 3000));
        m_site.setCutShort(id, 1500);
        const qsizetype before = m_site.rangeLog().size();
        NetworkTransfer transfer;
        transfer.setRetryDelay(10);
        TransferSpy spy(transfer);
        QCOMPARE(get(transfer, spy, fileUrl(id), partPath()), GetEnd::Failed);
        // Three tries for the rest (the network layer may repeat one of its own accord).
        const QStringList ranges = m_site.rangeLog().mid(before);
        QCOMPARE(ranges.first(), QString());
        QVERIFY2(ranges.count(QStringLiteral("bytes=1500-")) >= 3, qPrintable(ranges.join(u'|')));
        QVERIFY(ranges.count(QStringLiteral("bytes=1500-")) <= 6);
        QCOMPARE(ranges.count(QString()) + ranges.count(QStringLiteral("bytes=1500-")),
                 ranges.size());
        QCOMPARE(spy.failure(), TransferFailure::Length);
    }

    void fullDiskIsAWriteFailure()
    {
        if (!QFileInfo::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full here");
        NetworkTransfer transfer;
        TransferSpy spy(transfer);
        QVERIFY(!transfer.start(
            {.url = fileUrl(QStringLiteral("threeK")), .partPath = QStringLiteral("/dev/full")}));
        QCOMPARE(spy.waitForEnd(), GetEnd::Failed);
        QCOMPARE(spy.failure(), TransferFailure::Write);
        QVERIFY2(spy.reason().contains(QLatin1String("write")), qPrintable(spy.reason()));
        QVERIFY2(spy.reason().endsWith(QLatin1String("no space left on the device")),
                 qPrintable(spy.reason()));
        QVERIFY(QFileInfo::exists(QStringLiteral("/dev/full")));
    }

    void contentRangeIsRead_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("first");
        QTest::addColumn<qint64>("last");
        QTest::addColumn<qint64>("total");
        QTest::newRow("the rest") << QByteArray("bytes 100000-299999/300000") << true
                                  << qint64(100000) << qint64(299999) << qint64(300000);
        QTest::newRow("unknown total")
            << QByteArray("bytes 5-9/*") << true << qint64(5) << qint64(9) << qint64(-1);
        QTest::newRow("last beyond total")
            << QByteArray("bytes 0-10/10") << false << qint64(0) << qint64(0) << qint64(0);
        QTest::newRow("backwards")
            << QByteArray("bytes 9-5/10") << false << qint64(0) << qint64(0) << qint64(0);
        QTest::newRow("unsatisfied")
            << QByteArray("bytes */10") << false << qint64(0) << qint64(0) << qint64(0);
        QTest::newRow("other unit")
            << QByteArray("items 0-1/2") << false << qint64(0) << qint64(0) << qint64(0);
        QTest::newRow("signed") << QByteArray("bytes -1-5/10") << false << qint64(0) << qint64(0)
                                << qint64(0);
    }
    void contentRangeIsRead()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, valid);
        QFETCH(qint64, first);
        QFETCH(qint64, last);
        QFETCH(qint64, total);
        const auto range = HttpFields::contentRange(value);
        QCOMPARE(range.has_value(), valid);
        if (valid) {
            QCOMPARE(range->first, first);
            QCOMPARE(range->last, last);
            QCOMPARE(range->total, total);
        }
    }

    void largeBodyKeepsMemoryFlat()
    {
        const qint64 size = 100 * 1024 * 1024;
        m_site.addGeneratedVideo(QStringLiteral("hundredMiB"), QStringLiteral("Large"), size);

        // Restart the peak-memory mark so that only this download counts.
        QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
        if (clearRefs.open(QIODevice::WriteOnly))
            clearRefs.write("5");
        clearRefs.close();
        const qint64 before = procStatusKiB("VmHWM");
        QVERIFY(before > 0);

        NetworkTransfer transfer;
        TransferSpy spy(transfer);
        const QString part = partPath(QStringLiteral("large.flv.part"));
        QCOMPARE(get(transfer, spy, fileUrl(QStringLiteral("hundredMiB")), part, kLongWaitMs),
                 GetEnd::Finished);
        QCOMPARE(QFileInfo(part).size(), size);

        QFile saved(part);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        qint64 offset = 0;
        bool inOrder = true;
        for (QByteArray block = saved.read(1024 * 1024); !block.isEmpty() && inOrder;
             block = saved.read(1024 * 1024)) {
            for (qsizetype i = 0; i < block.size() && inOrder; ++i)
                inOrder = block[i] == GeneratedBody::byteAt(offset + i);
            offset += block.size();
        }
        saved.close();
        QVERIFY(inOrder);
        QCOMPARE(offset, size);
        QFile::remove(part);

        const qint64 growthKiB = procStatusKiB("VmHWM") - before;
        qInfo("peak memory grew by %lld KiB for a %lld KiB body", growthKiB, size / 1024);
        if (kBuiltWithAddressSanitizer)
            QSKIP("the sanitizer's quarantine holds freed memory: no bound to check");
        QVERIFY2(growthKiB < 24 * 1024,
                 qPrintable(QStringLiteral("peak grew by %1 KiB").arg(growthKiB)));
    }
};

QTEST_GUILESS_MAIN(NetworkTransferTest)
#include "tst_networktransfer.moc"
