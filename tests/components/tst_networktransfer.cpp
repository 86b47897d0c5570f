#include "components/network/NetworkTransfer.h"

#include "DemoSite.h"
#include "GeneratedBody.h"
#include "support/FreePort.h"
#include "support/Sanitizers.h"
#include "support/TransferSteps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace clipnab;
using State = TransferComponent::State;

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

    // Files in this test's temporary folder that the process holds open; a temporary file may
    // have no name in the folder at all, so the open descriptors are what counts.
    int spoolFiles() const
    {
        const QString folder = QDir(m_tempDir.path()).canonicalPath() + QLatin1Char('/');
        const QDir descriptors(QStringLiteral("/proc/self/fd"));
        int count = 0;
        for (const QString &fd : descriptors.entryList(QDir::Files | QDir::System)) {
            if (QFile::symLinkTarget(descriptors.filePath(fd)).startsWith(folder))
                ++count;
        }
        return count;
    }

    // Where part files go; made before the temp folder is redirected, so it lies outside it.
    QString partPath(const QString &name) const { return m_saveDir.filePath(name); }
    QStringList savedFiles() const { return QDir(m_saveDir.path()).entryList(QDir::Files); }

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
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        QCOMPARE(get(transfer, spy, fileUrl(QStringLiteral("threeK"))),
                 int(State::ResponseCompleted));
        QCOMPARE(transfer.GetHeader(name), expected);
    }

    void bodyArrivesInOrderInBoundedChunks_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<int>("chunkSize");
        QTest::newRow("empty") << qint64(0) << 1024;
        QTest::newRow("one byte") << qint64(1) << 1024;
        QTest::newRow("exactly one chunk") << qint64(1024) << 1024;
        QTest::newRow("one chunk and a byte") << qint64(1025) << 1024;
        QTest::newRow("three chunks, last partial") << qint64(3000) << 1024;
        QTest::newRow("byte by byte") << qint64(700) << 1;
        QTest::newRow("chunks larger than the body") << qint64(5000) << 65536;
        QTest::newRow("half a megabyte") << qint64(512 * 1024 + 7) << 1024;
    }
    void bodyArrivesInOrderInBoundedChunks()
    {
        QFETCH(qint64, size);
        QFETCH(int, chunkSize);
        const QString id = QStringLiteral("body%1").arg(size);
        const QByteArray body = GeneratedBody::bytes(0, size);
        m_site.addVideo(id, QStringLiteral("Body"), body);

        NetworkTransfer transfer;
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        QCOMPARE(get(transfer, spy, fileUrl(id)), int(State::ResponseCompleted));
        QCOMPARE(transfer.GetHeader(QStringLiteral("Content-Length")), QString::number(size));

        int largest = 0;
        const QByteArray received = drain(transfer, chunkSize, &largest);
        QVERIFY(largest <= chunkSize);
        QCOMPARE(received.size(), body.size());
        QVERIFY(received == body);
        QVERIFY(transfer.GetChunk(chunkSize).isEmpty());
    }

    void successReportsStatesInOrder()
    {
        NetworkTransfer transfer;
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        transfer.setURL(fileUrl(QStringLiteral("threeK")));
        QVERIFY(transfer.Execute(QStringLiteral("Get")));
        // Execute returns before any state is reported.
        QVERIFY(spy.isEmpty());
        QCOMPARE(waitForEnd(spy), int(State::ResponseCompleted));
        const QList<int> states = statesOf(spy);
        QCOMPARE(states.first(), int(State::ResolvingHost));
        QVERIFY(!states.contains(int(State::Error)));
        QCOMPARE(states.count(int(State::ResponseCompleted)), 1);
        QVERIFY(std::is_sorted(states.begin(), states.end()));
        QVERIFY(states.contains(int(State::ResponseReceived)));
        QVERIFY(transfer.errorString().isEmpty());
    }

    void redirectsAreFollowed()
    {
        NetworkTransfer transfer;
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        transfer.setURL(m_site.baseUrl() + QStringLiteral("/v/bColorBar02"));
        // The operation name is matched without regard to case.
        QVERIFY(transfer.Execute(QStringLiteral("GET")));
        QCOMPARE(waitForEnd(spy), int(State::ResponseCompleted));
        const QByteArray page = drain(transfer, 1024);
        QVERIFY(
            page.contains(QByteArray("/get_video?video_id=bColorBar02&amp;t=" +
                                     m_site.tokenFor(QStringLiteral("bColorBar02")).toLatin1())));
    }

    void failuresNeverLookComplete_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("token");
        QTest::addColumn<int>("forcedStatus");
        QTest::addColumn<qint64>("cutShortAfter");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown video") << "noSuchVideo"
                                       << "x" << 0 << qint64(-1) << "404";
        QTest::newRow("wrong token") << "failA"
                                     << "wrong" << 0 << qint64(-1) << "403";
        QTest::newRow("server error") << "failB"
                                      << "" << 500 << qint64(-1) << "500";
        QTest::newRow("forbidden") << "failC"
                                   << "" << 403 << qint64(-1) << "403";
        QTest::newRow("cut short in the middle")
            << "failD"
            << "" << 0 << qint64(1500) << "ended after 1500 of 3000 bytes";
        QTest::newRow("cut short before the body")
            << "failE"
            << "" << 0 << qint64(0) << "ended after 0 of 3000 bytes";
        QTest::newRow("cut short one byte early")
            << "failF"
            << "" << 0 << qint64(2999) << "ended after 2999 of 3000 bytes";
    }
    void failuresNeverLookComplete()
    {
        QFETCH(QString, id);
        QFETCH(QString, token);
        QFETCH(int, forcedStatus);
        QFETCH(qint64, cutShortAfter);
        QFETCH(QString, message);
        if (id != QLatin1String("noSuchVideo")) {
            m_site.addVideo(id, QStringLiteral("Failing"), GeneratedBody::bytes(0, 3000));
            m_site.setVideoStatus(id, forcedStatus);
            m_site.setCutShort(id, cutShortAfter);
        }

        NetworkTransfer transfer;
        transfer.setRetryDelay(10);
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        QCOMPARE(get(transfer, spy, token.isEmpty() ? fileUrl(id) : fileUrl(id, token)),
                 int(State::Error));
        QVERIFY(!statesOf(spy).contains(int(State::ResponseCompleted)));
        QVERIFY(transfer.GetChunk(1024).isEmpty());
        QVERIFY(!transfer.errorString().isEmpty());
        QVERIFY2(transfer.errorString().contains(message), qPrintable(transfer.errorString()));

        // The component is usable again after a failure.
        spy.clear();
        QCOMPARE(get(transfer, spy, fileUrl(QStringLiteral("threeK"))),
                 int(State::ResponseCompleted));
        QCOMPARE(drain(transfer, 1024), GeneratedBody::bytes(0, 3000));
    }

    void refusedConnectionIsAnError()
    {
        NetworkTransfer transfer;
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        QCOMPARE(
            get(transfer, spy,
                QStringLiteral("http://127.0.0.1:%1/get_video?video_id=a&t=b").arg(freePort())),
            int(State::Error));
        QVERIFY2(transfer.errorString().contains(QLatin1String("refused")),
                 qPrintable(transfer.errorString()));
        QVERIFY(transfer.GetChunk(1024).isEmpty());
    }

    void stalledServerFailsAfterIdleTimeout()
    {
        NetworkTransfer transfer;
        transfer.setIdleTimeout(300);
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        QCOMPARE(get(transfer, spy, fileUrl(QStringLiteral("stalled"))), int(State::Error));
        QVERIFY(!statesOf(spy).contains(int(State::ResponseCompleted)));
        QVERIFY2(transfer.errorString().contains(QLatin1String("No data arrived")),
                 qPrintable(transfer.errorString()));
    }

    void unusableRequestsAreRefused_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("operation");
        QTest::newRow("no address") << ""
                                    << "Get";
        QTest::newRow("not http") << "ftp://127.0.0.1/file"
                                  << "Get";
        QTest::newRow("no host") << "http:///get_video"
                                 << "Get";
        QTest::newRow("not an address") << "watch?v=abc"
                                        << "Get";
        QTest::newRow("unknown operation") << "http://127.0.0.1:1/"
                                           << "Post";
    }
    void unusableRequestsAreRefused()
    {
        QFETCH(QString, url);
        QFETCH(QString, operation);
        NetworkTransfer transfer;
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        transfer.setURL(url);
        QVERIFY(!transfer.Execute(operation));
        QVERIFY(!transfer.isRunning());
        QVERIFY(!spy.wait(100));
        QCOMPARE(transfer.URL(), url);
    }

    void addressesAreEscapedAsNeeded()
    {
        m_site.addVideo(QStringLiteral("a b"), QStringLiteral("Blank in the id"), "blank");
        NetworkTransfer transfer;
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        QCOMPARE(get(transfer, spy, fileUrl(QStringLiteral("a b"))), int(State::ResponseCompleted));
        QCOMPARE(drain(transfer, 1024), QByteArray("blank"));
        QVERIFY(
            m_site.requestLog().last().startsWith(QLatin1String("/get_video?video_id=a%20b&t=")));
    }

    void secondGetWhileRunningIsRefused()
    {
        const qint64 size = 2 * 1024 * 1024;
        m_site.addGeneratedVideo(QStringLiteral("twoMiB"), QStringLiteral("Two MiB"), size);
        NetworkTransfer transfer;
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        transfer.setURL(fileUrl(QStringLiteral("twoMiB")));
        QVERIFY(transfer.Execute(QStringLiteral("Get")));
        transfer.setURL(fileUrl(QStringLiteral("threeK")));
        QVERIFY(!transfer.Execute(QStringLiteral("Get")));
        QVERIFY(transfer.isRunning());
        QCOMPARE(waitForEnd(spy), int(State::ResponseCompleted));
        QCOMPARE(statesOf(spy).count(int(State::ResponseCompleted)), 1);
        const QByteArray body = drain(transfer, 1024);
        QCOMPARE(body.size(), size);
        QVERIFY(body == GeneratedBody::bytes(0, size));
    }

    void quitStopsARunningRequest()
    {
        NetworkTransfer transfer;
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        transfer.setURL(fileUrl(QStringLiteral("stalled")));
        transfer.setDestination(partPath(QStringLiteral("stopped.flv.part")));
        QVERIFY(transfer.Execute(QStringLiteral("Get")));
        QTRY_VERIFY(transfer.bytesReceived() > 0);
        QVERIFY(transfer.Execute(QStringLiteral("QUIT")));
        QVERIFY(!transfer.isRunning());
        QCOMPARE(transfer.state(), State::None);
        QVERIFY(transfer.GetChunk(1024).isEmpty());
        // Stopped mid-body: nothing is left behind.
        QCOMPARE(savedFiles(), QStringList{});
        transfer.setDestination({});

        // Nothing of the stopped request is reported, and a new request runs normally.
        const int reported = int(spy.size());
        QCOMPARE(get(transfer, spy, fileUrl(QStringLiteral("threeK"))),
                 int(State::ResponseCompleted));
        QVERIFY(!statesOf(spy).mid(reported).contains(int(State::Error)));
        QCOMPARE(drain(transfer, 1024), GeneratedBody::bytes(0, 3000));
    }

    void quitFreesACompletedBody()
    {
        NetworkTransfer transfer;
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        QCOMPARE(get(transfer, spy, fileUrl(QStringLiteral("threeK"))),
                 int(State::ResponseCompleted));
        QCOMPARE(transfer.GetChunk(10).size(), 10);
        QVERIFY(transfer.Execute(QStringLiteral("QUIT")));
        QVERIFY(transfer.GetChunk(1024).isEmpty());
        QVERIFY(transfer.GetHeader(QStringLiteral("Content-Length")).isEmpty());
        QVERIFY(transfer.Execute(QStringLiteral("QUIT")));
    }

    void spoolFileLivesOnlyWhileNeeded_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("ending");
        // Whether the part file is there once the transfer ended that way.
        QTest::addColumn<bool>("partLeft");
        QTest::newRow("drained to the end") << "threeK"
                                            << "drain" << true;
        QTest::newRow("quit after completion") << "threeK"
                                               << "quit" << true;
        QTest::newRow("failed download") << "noSuchVideo"
                                         << "none" << false;
        QTest::newRow("quit while running") << "stalled"
                                            << "quit" << false;
        QTest::newRow("destroyed while running") << "stalled"
                                                 << "destroy" << false;
    }
    void spoolFileLivesOnlyWhileNeeded()
    {
        // The body goes to the part file only: the temporary folder never holds any of it, and
        // a transfer that does not complete leaves no part file behind.
        QFETCH(QString, id);
        QFETCH(QString, ending);
        QFETCH(bool, partLeft);
        const QString part = partPath(QStringLiteral("spool.flv.part"));
        auto transfer = std::make_unique<NetworkTransfer>();
        QSignalSpy spy(transfer.get(), &TransferComponent::StateChanged);
        transfer->setURL(fileUrl(id));
        transfer->setDestination(part);
        QVERIFY(transfer->Execute(QStringLiteral("Get")));
        if (id == QLatin1String("stalled")) {
            QTRY_VERIFY(transfer->bytesReceived() > 0);
            QVERIFY(QFileInfo::exists(part));
        } else {
            QVERIFY(waitForEnd(spy) > 0);
        }
        QCOMPARE(spoolFiles(), 0);

        if (ending == QLatin1String("drain"))
            QCOMPARE(drain(*transfer, 1024), GeneratedBody::bytes(0, 3000));
        else if (ending == QLatin1String("quit"))
            transfer->Execute(QStringLiteral("QUIT"));
        else if (ending == QLatin1String("destroy"))
            transfer.reset();
        QCOMPARE(QFileInfo::exists(part), partLeft);
        QCOMPARE(spoolFiles(), 0);
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
        transfer.setDestination(part);
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        QCOMPARE(get(transfer, spy, fileUrl(id)), int(State::ResponseCompleted));
        m_site.disconnect(this);

        // Plain requests, then the rest asked for (the network layer may repeat a request of
        // its own accord when a connection ends early).
        const QStringList ranges = m_site.rangeLog().mid(before);
        QCOMPARE(ranges.first(), QString());
        QVERIFY2(ranges.last().startsWith(QLatin1String("bytes=")), qPrintable(ranges.join(u'|')));
        if (!secondRange.isEmpty())
            QCOMPARE(ranges.last(), secondRange);
        QCOMPARE(ranges.count(ranges.last()), 1);
        QFile saved(part);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll() == (bodyChanged ? newBody : GeneratedBody::bytes(0, size)));
        // The length announced is that of the whole body, whatever answer completed it.
        QCOMPARE(transfer.GetHeader(QStringLiteral("Content-Length")),
                 QString::number(bodyChanged ? size + 5 : size));
        saved.close();
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
        transfer.setDestination(partPath(QStringLiteral("cut.flv.part")));
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        QCOMPARE(get(transfer, spy, fileUrl(id)), int(State::Error));
        // Three tries for the rest (the network layer may repeat one of its own accord).
        const QStringList ranges = m_site.rangeLog().mid(before);
        QCOMPARE(ranges.first(), QString());
        QVERIFY2(ranges.count(QStringLiteral("bytes=1500-")) >= 3, qPrintable(ranges.join(u'|')));
        QVERIFY(ranges.count(QStringLiteral("bytes=1500-")) <= 6);
        QCOMPARE(ranges.count(QString()) + ranges.count(QStringLiteral("bytes=1500-")),
                 ranges.size());
        QVERIFY(!transfer.writeFailed());
        QCOMPARE(savedFiles(), QStringList{});
    }

    void fullDiskIsAWriteFailure()
    {
        if (!QFileInfo::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full here");
        NetworkTransfer transfer;
        transfer.setDestination(QStringLiteral("/dev/full"));
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        QCOMPARE(get(transfer, spy, fileUrl(QStringLiteral("threeK"))), int(State::Error));
        QVERIFY(transfer.writeFailed());
        QVERIFY2(transfer.errorString().contains(QLatin1String("write")),
                 qPrintable(transfer.errorString()));
        // Only files of its own making are deleted.
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
        const auto range = TransferWorker::parseContentRange(value);
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
        QSignalSpy spy(&transfer, &TransferComponent::StateChanged);
        const QString part = partPath(QStringLiteral("large.flv.part"));
        transfer.setDestination(part);
        QCOMPARE(get(transfer, spy, fileUrl(QStringLiteral("hundredMiB")), kLongWaitMs),
                 int(State::ResponseCompleted));
        QCOMPARE(QFileInfo(part).size(), size);

        qint64 offset = 0;
        bool inOrder = true;
        for (QByteArray chunk = transfer.GetChunk(1024); !chunk.isEmpty();
             chunk = transfer.GetChunk(1024)) {
            for (qsizetype i = 0; i < chunk.size() && inOrder; ++i)
                inOrder = chunk[i] == GeneratedBody::byteAt(offset + i);
            offset += chunk.size();
        }
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
