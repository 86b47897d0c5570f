#include "downloads/DownloadQueue.h"
#include "downloads/HistoryStore.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace clipnab;

namespace {

// What the window hands the queue: the address and the video id in it.
DownloadRecord draft(const QString &videoId)
{
    DownloadRecord record;
    record.address = QStringLiteral("http://site/watch?v=") + videoId;
    record.videoId = videoId;
    return record;
}

} // namespace

// Drives a queue with a small script: "+a" queues item a; "a saving", "a progress", "a saved",
// "a failed", "a diskfull", "a stop", "a resume", "a retry", "a remove" report or act on it;
// "pause" ends the program; "limit N" sets the downloads at once. Items are named by letters in
// the order they were queued.
class QueueScript
{
public:
    explicit QueueScript(DownloadQueue &queue) : m_queue(queue)
    {
        // Named when added: the start request comes before enqueue() returns.
        QObject::connect(&queue, &DownloadQueue::itemAdded, &queue,
                         [this](qint64 id) { m_ids.insert(m_adding, id); });
        QObject::connect(&queue, &DownloadQueue::startRequested, &queue,
                         [this](qint64 id) { m_starts << nameOf(id); });
        QObject::connect(&queue, &DownloadQueue::stopRequested, &queue,
                         [this](qint64 id) { m_stops << nameOf(id); });
    }

    void run(const QString &script)
    {
        const QStringList steps = script.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (const QString &step : steps) {
            const QStringList words = step.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            const QString &first = words.at(0);
            if (first.startsWith(QLatin1Char('+'))) {
                DownloadRecord draft;
                draft.address = QStringLiteral("http://site/watch?v=") + first.mid(1);
                m_adding = first.mid(1);
                m_queue.enqueue(draft);
            } else if (first == QLatin1String("pause")) {
                m_queue.pauseAll();
            } else if (first == QLatin1String("limit")) {
                m_queue.setConcurrency(words.at(1).toInt());
            } else {
                act(m_ids.value(first), words.at(1));
            }
        }
    }

    // "a:saved b:locating", in queue order.
    QString states() const
    {
        QStringList parts;
        for (qint64 id : m_queue.ids())
            parts << nameOf(id) + QLatin1Char(':') + downloadStateWord(m_queue.record(id)->state);
        return parts.join(QLatin1Char(' '));
    }
    QString starts() const { return m_starts.join(QLatin1Char(' ')); }
    QString stops() const { return m_stops.join(QLatin1Char(' ')); }

private:
    void act(qint64 id, const QString &event)
    {
        if (event == QLatin1String("saving"))
            m_queue.reportSaving(id, QStringLiteral("/v/1.flv"), QStringLiteral("/v/1.flv.part"));
        else if (event == QLatin1String("progress"))
            m_queue.reportProgress(id, 10, 100);
        else if (event == QLatin1String("saved"))
            m_queue.reportSaved(id, QStringLiteral("/v/1.flv"), 100);
        else if (event == QLatin1String("failed"))
            m_queue.reportFailed(id, QStringLiteral("Connection reset"), false);
        else if (event == QLatin1String("diskfull"))
            m_queue.reportFailed(id, QStringLiteral("Can not save the video file"), true);
        else if (event == QLatin1String("stop"))
            m_queue.stop(id);
        else if (event == QLatin1String("resume"))
            m_queue.resume(id);
        else if (event == QLatin1String("retry"))
            m_queue.retry(id);
        else if (event == QLatin1String("remove"))
            m_queue.remove(id);
        else
            QFAIL(qPrintable(QStringLiteral("unknown event ") + event));
    }

    QString nameOf(qint64 id) const { return m_ids.key(id, QStringLiteral("?")); }

    DownloadQueue &m_queue;
    QHash<QString, qint64> m_ids;
    QString m_adding;
    QStringList m_starts;
    QStringList m_stops;
};

class DownloadQueueTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void events_data();
    void events();
    void startAnsweredAtOnce();
    void speedAndTimeLeft();
    void keepsHistoryInStep();
    void restoresAnEarlierRun_data();
    void restoresAnEarlierRun();
};

void DownloadQueueTest::events_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("states");
    QTest::addColumn<QString>("starts");
    QTest::addColumn<QString>("stops");

    QTest::newRow("one at a time by default") << "+a;+b;+c"
                                              << "a:locating b:queued c:queued"
                                              << "a"
                                              << "";
    QTest::newRow("saving, then saved starts the next") << "+a;+b;a saving;a progress;a saved"
                                                        << "a:saved b:locating"
                                                        << "a b"
                                                        << "";
    QTest::newRow("saved while locating") << "+a;a saved"
                                          << "a:saved"
                                          << "a"
                                          << "";
    QTest::newRow("a failure starts the next") << "+a;+b;a saving;a failed"
                                               << "a:failed b:locating"
                                               << "a b"
                                               << "";
    QTest::newRow("two at once") << "limit 2;+a;+b;+c"
                                 << "a:locating b:locating c:queued"
                                 << "a b"
                                 << "";
    QTest::newRow("a higher limit starts waiting items") << "+a;+b;+c;limit 3"
                                                         << "a:locating b:locating c:locating"
                                                         << "a b c"
                                                         << "";
    QTest::newRow("limit above four is four")
        << "limit 9;+a;+b;+c;+d;+e"
        << "a:locating b:locating c:locating d:locating e:queued"
        << "a b c d"
        << "";
    QTest::newRow("limit below one is one") << "limit 0;+a;+b"
                                            << "a:locating b:queued"
                                            << "a"
                                            << "";
    QTest::newRow("disk full pauses the waiting items") << "+a;+b;+c;a saving;a diskfull"
                                                        << "a:failed b:paused c:paused"
                                                        << "a"
                                                        << "";
    QTest::newRow("disk full leaves the other running item")
        << "limit 2;+a;+b;+c;+d;a diskfull"
        << "a:failed b:locating c:paused d:paused"
        << "a b"
        << "";
    QTest::newRow("resume after disk full") << "+a;+b;+c;a diskfull;c resume"
                                            << "a:failed b:paused c:locating"
                                            << "a c"
                                            << "";
    QTest::newRow("items queued after disk full start") << "+a;+b;a diskfull;+c"
                                                        << "a:failed b:paused c:locating"
                                                        << "a c"
                                                        << "";
    QTest::newRow("stop a running item starts the next") << "+a;+b;a saving;a stop"
                                                         << "a:stopped b:locating"
                                                         << "a b"
                                                         << "a";
    QTest::newRow("stop a queued item") << "+a;+b;b stop"
                                        << "a:locating b:stopped"
                                        << "a"
                                        << "";
    QTest::newRow("saved after stop is ignored") << "+a;a saving;a stop;a saved"
                                                 << "a:stopped"
                                                 << "a"
                                                 << "a";
    QTest::newRow("a second stop is ignored") << "+a;a stop;a stop"
                                              << "a:stopped"
                                              << "a"
                                              << "a";
    QTest::newRow("saving for a queued item is ignored") << "+a;+b;b saving;b saved"
                                                         << "a:locating b:queued"
                                                         << "a"
                                                         << "";
    QTest::newRow("progress before saving is ignored") << "+a;a progress;a saving;a saved"
                                                       << "a:saved"
                                                       << "a"
                                                       << "";
    QTest::newRow("retry waits behind the queue") << "+a;+b;+c;a failed;a retry;b saved"
                                                  << "a:queued b:saved c:locating"
                                                  << "a b c"
                                                  << "";
    QTest::newRow("retry after stop") << "+a;a stop;a retry"
                                      << "a:locating"
                                      << "a a"
                                      << "a";
    QTest::newRow("retry of a saved item is ignored") << "+a;a saving;a saved;a retry"
                                                      << "a:saved"
                                                      << "a"
                                                      << "";
    QTest::newRow("resume of a queued item is ignored") << "+a;+b;b resume"
                                                        << "a:locating b:queued"
                                                        << "a"
                                                        << "";
    QTest::newRow("the program ends: everything pauses, nothing starts")
        << "limit 2;+a;+b;+c;a saving;pause"
        << "a:paused b:paused c:paused"
        << "a b"
        << "";
    QTest::newRow("resume after a restart") << "+a;+b;pause;b resume"
                                            << "a:paused b:locating"
                                            << "a b"
                                            << "";
    QTest::newRow("stop a paused item deletes its part") << "+a;pause;a stop"
                                                         << "a:stopped"
                                                         << "a"
                                                         << "a";
    QTest::newRow("remove a running item starts the next") << "+a;+b;a saving;a remove"
                                                           << "b:locating"
                                                           << "a b"
                                                           << "a";
    QTest::newRow("remove a queued item") << "+a;+b;b remove"
                                          << "a:locating"
                                          << "a"
                                          << "";
    QTest::newRow("events for a removed item are ignored") << "+a;+b;b remove;b resume;b saved"
                                                           << "a:locating"
                                                           << "a"
                                                           << "";
}

void DownloadQueueTest::events()
{
    QFETCH(QString, script);
    QFETCH(QString, states);
    QFETCH(QString, starts);
    QFETCH(QString, stops);
    DownloadQueue queue;
    QueueScript driver(queue);
    driver.run(script);
    QCOMPARE(driver.states(), states);
    QCOMPARE(driver.starts(), starts);
    QCOMPARE(driver.stops(), stops);
    QCOMPARE(queue.activeCount(), static_cast<int>(states.count(QLatin1String(":locating")) +
                                                   states.count(QLatin1String(":saving"))));
}

// A transfer that fails before its start request returns starts the next from the same loop,
// one after another, without overrunning the limit.
void DownloadQueueTest::startAnsweredAtOnce()
{
    DownloadQueue queue;
    int most = 0;
    connect(&queue, &DownloadQueue::startRequested, &queue, [&](qint64 id) {
        most = std::max(most, queue.activeCount());
        queue.reportFailed(id, QStringLiteral("Can not find this video file"), false);
    });
    QSignalSpy starts(&queue, &DownloadQueue::startRequested);
    queue.setConcurrency(2);
    for (int i = 0; i < 5; ++i)
        queue.enqueue(draft(QStringLiteral("x")));
    QCOMPARE(starts.count(), 5);
    QCOMPARE(most, 1);
    for (qint64 id : queue.ids())
        QCOMPARE(queue.record(id)->state, DownloadState::Failed);
}

void DownloadQueueTest::speedAndTimeLeft()
{
    DownloadQueue queue;
    qint64 now = 0;
    queue.setClock([&now] { return now; });
    const qint64 id = queue.enqueue(draft(QStringLiteral("a")));
    queue.reportSaving(id, QStringLiteral("/v/a.flv"), QStringLiteral("/v/a.flv.part"));
    constexpr qint64 kMiB = 1024 * 1024;
    queue.reportProgress(id, 0, 10 * kMiB);
    QCOMPARE(queue.speed(id), 0.0);
    QCOMPARE(queue.secondsLeft(id), qint64(-1));
    now = 100; // too short a span to measure
    queue.reportProgress(id, kMiB / 2, 10 * kMiB);
    QCOMPARE(queue.speed(id), 0.0);
    now = 1000;
    queue.reportProgress(id, 2 * kMiB, 10 * kMiB);
    QCOMPARE(queue.speed(id), 2.0 * kMiB);
    QCOMPARE(queue.secondsLeft(id), qint64(4));
    now = 2000; // slower: the speed follows, smoothed
    queue.reportProgress(id, 3 * kMiB, 10 * kMiB);
    QCOMPARE(queue.speed(id), 1.7 * kMiB);
    QCOMPARE(queue.secondsLeft(id), qint64(5)); // 7 MiB at 1.7 MiB/s, rounded up
    queue.reportSaved(id, QStringLiteral("/v/a.flv"), 10 * kMiB);
    QCOMPARE(queue.speed(id), 0.0);
    QCOMPARE(queue.secondsLeft(id), qint64(-1));
}

void DownloadQueueTest::keepsHistoryInStep()
{
    QTemporaryDir folder;
    HistoryStore store(folder.path());
    QVERIFY(store.open());
    qint64 now = 0;
    DownloadQueue queue(&store);
    queue.setClock([&now] { return now; });

    const qint64 a = queue.enqueue(draft(QStringLiteral("a")));
    const qint64 b = queue.enqueue(draft(QStringLiteral("b")));
    QVERIFY(a > 0 && b > a);
    QCOMPARE(store.find(a)->state, DownloadState::Locating);
    QVERIFY(store.find(a)->startedAt.isValid());
    QCOMPARE(store.find(b)->state, DownloadState::Queued);
    QVERIFY(store.find(b)->queuedAt.isValid());

    queue.reportTitle(a, QStringLiteral("A cat"));
    queue.reportSaving(a, QStringLiteral("/v/a.flv"), QStringLiteral("/v/a.flv.part"));
    queue.reportValidators(a, QStringLiteral("\"e1\""), QStringLiteral("Wed, 01 May 2024"));
    queue.reportProgress(a, 100, 1000);
    now = 500;
    queue.reportProgress(a, 400, 1000); // within a second of the last write: not written
    DownloadRecord row = *store.find(a);
    QCOMPARE(row.state, DownloadState::Saving);
    QCOMPARE(row.title, QStringLiteral("A cat"));
    QCOMPARE(row.partPath, QStringLiteral("/v/a.flv.part"));
    QCOMPARE(row.etag, QStringLiteral("\"e1\""));
    QCOMPARE(row.bytes, qint64(100));
    QCOMPARE(row.total, qint64(1000));
    now = 1000;
    queue.reportProgress(a, 700, 1000);
    QCOMPARE(store.find(a)->bytes, qint64(700));

    queue.reportSaved(a, QStringLiteral("/v/a (2).flv"), 1000);
    row = *store.find(a);
    QCOMPARE(row.state, DownloadState::Saved);
    QCOMPARE(row.filePath, QStringLiteral("/v/a (2).flv"));
    QCOMPARE(row.bytes, qint64(1000));
    QVERIFY(row.endedAt.isValid());
    QCOMPARE(store.latestSaved(QStringLiteral("a"))->id, a);

    queue.reportFailed(b, QStringLiteral("Can not save the video file"), true);
    QCOMPARE(store.find(b)->reason, QStringLiteral("Can not save the video file"));

    // A later run retries the failed row and removes the saved one.
    DownloadQueue later(&store);
    QSignalSpy starts(&later, &DownloadQueue::startRequested);
    QSignalSpy removed(&later, &DownloadQueue::itemRemoved);
    later.retry(b);
    QCOMPARE(starts.count(), 1);
    QCOMPARE(store.find(b)->state, DownloadState::Locating);
    QVERIFY(store.find(b)->reason.isEmpty());
    later.remove(a);
    QCOMPARE(removed.count(), 1);
    QVERIFY(!store.find(a));
}

void DownloadQueueTest::restoresAnEarlierRun_data()
{
    QTest::addColumn<bool>("resumeNow");
    QTest::addColumn<QString>("states");
    QTest::addColumn<int>("starts");
    QTest::newRow("listed as paused") << false << "paused paused" << 0;
    QTest::newRow("resumed at start") << true << "locating queued" << 1;
}

void DownloadQueueTest::restoresAnEarlierRun()
{
    QFETCH(bool, resumeNow);
    QFETCH(QString, states);
    QFETCH(int, starts);
    QTemporaryDir folder;
    {
        HistoryStore store(folder.path());
        QVERIFY(store.open());
        DownloadQueue queue(&store);
        queue.enqueue(draft(QStringLiteral("a")));
        queue.enqueue(draft(QStringLiteral("b")));
        queue.reportSaving(queue.ids().at(0), QStringLiteral("/v/a.flv"),
                           QStringLiteral("/v/a.flv.part"));
        queue.reportProgress(queue.ids().at(0), 5000, 9000);
    } // ended without pausing, as if killed

    HistoryStore store(folder.path());
    QVERIFY(store.open());
    DownloadQueue queue(&store);
    QSignalSpy startSpy(&queue, &DownloadQueue::startRequested);
    queue.restore(store.unfinished(), resumeNow);
    QStringList found;
    for (qint64 id : queue.ids())
        found << downloadStateWord(queue.record(id)->state);
    QCOMPARE(found.join(QLatin1Char(' ')), states);
    QCOMPARE(startSpy.count(), starts);
    QCOMPARE(queue.record(queue.ids().at(0))->bytes, qint64(5000));
    QCOMPARE(store.find(queue.ids().at(1))->state,
             resumeNow ? DownloadState::Queued : DownloadState::Paused);
}

QTEST_GUILESS_MAIN(DownloadQueueTest)
#include "tst_downloadqueue.moc"
