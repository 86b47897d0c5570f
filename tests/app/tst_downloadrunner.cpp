#include "app/DownloadRunner.h"
#include "downloads/DownloadQueue.h"
#include "support/FakeBrowser.h"
#include "support/FakeTransfer.h"
#include "support/FixedClock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace clipnab;

namespace {

const QString kSite = QStringLiteral("http://127.0.0.1:1");
const QString kAddress = kSite + QStringLiteral("/watch?v=5qWsH5lO-ME");
const QString kPlayer = kSite + QStringLiteral("/player?video_id=5qWsH5lO-ME&t=tok");

// A queue and its runner on one fake browser and transfer, saving into a scratch folder.
struct Rig
{
    Rig()
    {
        folder = dir.filePath(QStringLiteral("download"));
        QDir().mkpath(folder);
        auto browserMade = std::make_unique<FakeBrowser>();
        auto transferMade = std::make_unique<FakeTransfer>();
        browser = browserMade.get();
        transfer = transferMade.get();
        runner = std::make_unique<DownloadRunner>(
            clock, queue, DownloadParts{std::move(browserMade), std::move(transferMade)},
            DownloadRunner::MakeParts(), DownloadFlow::Settings{kSite, folder});
    }

    // A paused item of an earlier run whose part file holds `kept`.
    qint64 restorePaused(const QByteArray &kept, const QString &etag, const QString &lastModified)
    {
        DownloadRecord record;
        record.id = 7;
        record.address = kAddress;
        record.videoId = QStringLiteral("5qWsH5lO-ME");
        record.state = DownloadState::Paused;
        record.partPath = QDir(folder).filePath(QStringLiteral("12_7_1_5_9.flv.part"));
        record.etag = etag;
        record.lastModified = lastModified;
        if (!kept.isNull()) {
            QFile part(record.partPath);
            if (!part.open(QIODevice::WriteOnly) || part.write(kept) != kept.size())
                return 0;
        }
        queue.restore({record}, false);
        return record.id;
    }

    QTemporaryDir dir;
    QString folder;
    FixedClock clock;
    DownloadQueue queue;
    FakeBrowser *browser = nullptr;
    FakeTransfer *transfer = nullptr;
    std::unique_ptr<DownloadRunner> runner;
};

} // namespace

class DownloadRunnerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resumeContinuesThePartFile_data();
    void resumeContinuesThePartFile();
    void endingKeepsOrDeletesThePart_data();
    void endingKeepsOrDeletesThePart();
    void fullDiskHoldsTheRest_data();
    void fullDiskHoldsTheRest();
};

void DownloadRunnerTest::resumeContinuesThePartFile_data()
{
    QTest::addColumn<QByteArray>("kept"); // null: the part file is gone
    QTest::addColumn<QString>("etag");
    QTest::addColumn<QString>("lastModified");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<QByteArray>("validator");
    const QString date = QStringLiteral("Mon, 07 Dec 2026 01:05:09 GMT");
    QTest::newRow("strong ETag") << QByteArray("1234567") << "\"v1\"" << date << qint64(7)
                                 << QByteArray("\"v1\"");
    QTest::newRow("weak ETag: the date")
        << QByteArray("12") << "W/\"v1\"" << date << qint64(2) << date.toLatin1();
    QTest::newRow("part file gone: from the start")
        << QByteArray() << "\"v1\"" << date << qint64(0) << QByteArray();
}

void DownloadRunnerTest::resumeContinuesThePartFile()
{
    QFETCH(QByteArray, kept);
    QFETCH(QString, etag);
    QFETCH(QString, lastModified);
    QFETCH(qint64, from);
    QFETCH(QByteArray, validator);
    Rig rig;
    const qint64 id = rig.restorePaused(kept, etag, lastModified);
    QVERIFY(id != 0);
    QCOMPARE(rig.queue.record(id)->state, DownloadState::Paused);
    QVERIFY(rig.browser->navigations.isEmpty());

    rig.queue.resume(id);
    rig.browser->finish(kPlayer);
    QCOMPARE(rig.transfer->requests.size(), 1);
    const TransferRequest &request = rig.transfer->requests.constFirst();
    QCOMPARE(request.resumeFrom, from);
    QCOMPARE(request.validator, validator);
    if (!kept.isNull())
        QCOMPARE(request.partPath, rig.queue.record(id)->partPath);
    QCOMPARE(rig.queue.record(id)->state, DownloadState::Saving);
}

void DownloadRunnerTest::endingKeepsOrDeletesThePart_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>(
        "stage"); // how far the paused item got again: paused, locating, saving
    QTest::addColumn<bool>("kept");
    QTest::addColumn<int>("state"); // -1: the item is gone
    const int paused = int(DownloadState::Paused);
    const int stopped = int(DownloadState::Stopped);
    QTest::newRow("program ends") << "pauseAll"
                                  << "saving" << true << paused;
    QTest::newRow("stop saving") << "stop"
                                 << "saving" << false << stopped;
    QTest::newRow("stop locating") << "stop"
                                   << "locating" << false << stopped;
    QTest::newRow("stop paused") << "stop"
                                 << "paused" << false << stopped;
    QTest::newRow("remove saving") << "remove"
                                   << "saving" << false << -1;
    QTest::newRow("remove paused") << "remove"
                                   << "paused" << false << -1;
    // The part file was never taken over: it waits for the next try.
    QTest::newRow("no token while locating") << "notoken"
                                             << "locating" << true << paused;
}

void DownloadRunnerTest::endingKeepsOrDeletesThePart()
{
    QFETCH(QString, how);
    QFETCH(QString, stage);
    QFETCH(bool, kept);
    QFETCH(int, state);
    Rig rig;
    const qint64 id = rig.restorePaused("123", QString(), QString());
    const QString part = rig.queue.record(id)->partPath;
    if (stage != QLatin1String("paused"))
        rig.queue.resume(id);
    if (stage == QLatin1String("saving")) {
        rig.browser->finish(kPlayer);
        QVERIFY(rig.transfer->isRunning());
    }
    if (how == QLatin1String("pauseAll"))
        rig.runner->pauseAll();
    else if (how == QLatin1String("stop"))
        rig.queue.stop(id);
    else if (how == QLatin1String("remove"))
        rig.queue.remove(id);
    else
        rig.browser->finish(kSite + QStringLiteral("/player?video_id=5qWsH5lO-ME"));
    QVERIFY(!rig.transfer->isRunning());
    QCOMPARE(QFile::exists(part), kept);
    if (state < 0)
        QVERIFY(!rig.queue.contains(id));
    else
        QCOMPARE(int(rig.queue.record(id)->state), state);
}

void DownloadRunnerTest::fullDiskHoldsTheRest_data()
{
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("next");
    QTest::newRow("full disk") << "can not write 12_7_1_5_9.flv.part: no space left on the device"
                               << int(DownloadState::Paused);
    QTest::newRow("quota") << "disk quota exceeded" << int(DownloadState::Paused);
    QTest::newRow("another write failure") << "input/output error" << int(DownloadState::Locating);
}

void DownloadRunnerTest::fullDiskHoldsTheRest()
{
    QFETCH(QString, reason);
    QFETCH(int, next);
    Rig rig;
    DownloadRecord draft;
    draft.address = kAddress;
    const qint64 first = rig.queue.enqueue(draft);
    const qint64 second = rig.queue.enqueue(draft);
    rig.browser->finish(kPlayer);
    rig.transfer->fail(TransferFailure::Write, reason);
    QCOMPARE(rig.queue.record(first)->state, DownloadState::Failed);
    QCOMPARE(int(rig.queue.record(second)->state), next);
}

QTEST_GUILESS_MAIN(DownloadRunnerTest)
#include "tst_downloadrunner.moc"
