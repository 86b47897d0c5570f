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

// Plays a script on a fresh queue and sums up the outcome as "a:saved b:locating / a b / a":
// the states in queue order, the start requests, the stop requests. "+a" queues item a;
// "a saving", "a saved", "a failed", "a diskfull", "a stop", "a resume", "a retry" and
// "a remove" report or act on it; "pause" ends the program; "limit N" sets the downloads at once.
QString play(const QString &script)
{
    DownloadQueue queue;
    QHash<qint64, QString> names;
    QString adding; // named when added: the start request comes before enqueue() returns
    QStringList starts;
    QStringList stops;
    QObject::connect(&queue, &DownloadQueue::itemAdded, &queue,
                     [&](qint64 id) { names.insert(id, adding); });
    QObject::connect(&queue, &DownloadQueue::startRequested, &queue,
                     [&](qint64 id) { starts << names.value(id); });
    QObject::connect(&queue, &DownloadQueue::stopRequested, &queue,
                     [&](qint64 id) { stops << names.value(id); });
    const auto is = [](const QString &word, const char *text) {
        return word == QLatin1String(text);
    };
    for (const QString &step : script.split(QLatin1Char(';'))) {
        const QString subject = step.section(QLatin1Char(' '), 0, 0);
        const QString event = step.section(QLatin1Char(' '), 1, 1);
        const qint64 id = names.key(subject);
        if (subject.startsWith(QLatin1Char('+'))) {
            adding = subject.mid(1);
            queue.enqueue(draft(adding));
        } else if (is(subject, "pause")) {
            queue.pauseAll();
        } else if (is(subject, "limit")) {
            queue.setConcurrency(event.toInt());
        } else if (is(event, "saving")) {
            queue.reportSaving(id, QStringLiteral("/v/1.flv"), QStringLiteral("/v/1.flv.part"));
            queue.reportProgress(id, 10, 100);
        } else if (is(event, "saved")) {
            queue.reportSaved(id, QStringLiteral("/v/1.flv"), 100);
        } else if (is(event, "failed") || is(event, "diskfull")) {
            queue.reportFailed(id, QStringLiteral("Can not save the video file"),
                               is(event, "diskfull"));
        } else if (is(event, "stop")) {
            queue.stop(id);
        } else if (is(event, "resume")) {
            queue.resume(id);
        } else if (is(event, "retry")) {
            queue.retry(id);
        } else if (is(event, "remove")) {
            queue.remove(id);
        } else {
            return QStringLiteral("unknown step ") + step;
        }
    }
    QStringList states;
    for (qint64 id : queue.ids())
        states << names.value(id) + QLatin1Char(':') + downloadStateWord(queue.record(id)->state);
    return states.join(QLatin1Char(' ')) + QLatin1String(" / ") + starts.join(QLatin1Char(' ')) +
           QLatin1String(" / ") + stops.join(QLatin1Char(' '));
}

} // namespace

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
    QTest::addColumn<QString>("outcome"); // states / start requests / stop requests
    const auto row = [](const char *name, const char *script, const char *outcome) {
        QTest::newRow(name) << QString::fromLatin1(script) << QString::fromLatin1(outcome);
    };
    row("one at a time by default", "+a;+b;+c", "a:locating b:queued c:queued / a / ");
    row("saved starts the next", "+a;+b;a saving;a saved", "a:saved b:locating / a b / ");
    row("saved while locating", "+a;a saved", "a:saved / a / ");
    row("a failure starts the next", "+a;+b;a saving;a failed", "a:failed b:locating / a b / ");
    row("two at once", "limit 2;+a;+b;+c", "a:locating b:locating c:queued / a b / ");
    row("a higher limit starts waiting items", "+a;+b;+c;limit 3",
        "a:locating b:locating c:locating / a b c / ");
    row("limit above four is four", "limit 9;+a;+b;+c;+d;+e",
        "a:locating b:locating c:locating d:locating e:queued / a b c d / ");
    row("limit below one is one", "limit 0;+a;+b", "a:locating b:queued / a / ");
    row("disk full pauses the waiting items", "+a;+b;+c;a saving;a diskfull",
        "a:failed b:paused c:paused / a / ");
    row("disk full leaves the other running item", "limit 2;+a;+b;+c;+d;a diskfull",
        "a:failed b:locating c:paused d:paused / a b / ");
    row("resume after disk full", "+a;+b;+c;a diskfull;c resume",
        "a:failed b:paused c:locating / a c / ");
    row("queued after disk full starts", "+a;+b;a diskfull;+c",
        "a:failed b:paused c:locating / a c / ");
    row("stop a running item", "+a;+b;a saving;a stop", "a:stopped b:locating / a b / a");
    row("stop a queued item", "+a;+b;b stop", "a:locating b:stopped / a / ");
    row("saved after stop is ignored", "+a;a saving;a stop;a saved", "a:stopped / a / a");
    row("a second stop is ignored", "+a;a stop;a stop", "a:stopped / a / a");
    row("saving for a queued item is ignored", "+a;+b;b saving;b saved",
        "a:locating b:queued / a / ");
    row("retry waits behind the queue", "+a;+b;+c;a failed;a retry;b saved",
        "a:queued b:saved c:locating / a b c / ");
    row("retry after stop", "+a;a stop;a retry", "a:locating / a a / a");
    row("retry of a saved item is ignored", "+a;a saving;a saved;a retry", "a:saved / a / ");
    row("resume of a queued item is ignored", "+a;+b;b resume", "a:locating b:queued / a / ");
    row("the program ends: all pause, none starts", "limit 2;+a;+b;+c;a saving;pause",
        "a:paused b:paused c:paused / a b / ");
    row("resume a paused item", "+a;+b;pause;b resume", "a:paused b:locating / a b / ");
    row("stop a paused item drops its part", "+a;pause;a stop", "a:stopped / a / a");
    row("remove a running item", "+a;+b;a saving;a remove", "b:locating / a b / a");
    row("events for a removed item are ignored", "+a;+b;b remove;b resume;b saved",
        "a:locating / a / ");
}

void DownloadQueueTest::events()
{
    QFETCH(QString, script);
    QFETCH(QString, outcome);
    QCOMPARE(play(script), outcome);
}

// A transfer that fails before its start request returns: the next starts from the same loop,
// without overrunning the limit.
void DownloadQueueTest::startAnsweredAtOnce()
{
    DownloadQueue queue;
    int most = 0;
    connect(&queue, &DownloadQueue::startRequested, &queue, [&](qint64 id) {
        most = std::max(most, queue.activeCount());
        queue.reportFailed(id, QStringLiteral("Can not find this video file"), false);
    });
    QSignalSpy starts(&queue, &DownloadQueue::startRequested);
    for (int i = 0; i < 5; ++i)
        queue.enqueue(draft(QStringLiteral("x")));
    QCOMPARE(starts.count(), 5);
    QCOMPARE(most, 1);
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
    now = 100; // too short a span to measure
    queue.reportProgress(id, kMiB / 2, 10 * kMiB);
    QCOMPARE(queue.speed(id), 0.0);
    QCOMPARE(queue.secondsLeft(id), qint64(-1));
    now = 1000;
    queue.reportProgress(id, 2 * kMiB, 10 * kMiB);
    QCOMPARE(queue.speed(id), 2.0 * kMiB);
    QCOMPARE(queue.secondsLeft(id), qint64(4));
    now = 2000; // slower: the speed follows, smoothed
    queue.reportProgress(id, 3 * kMiB, 10 * kMiB);
    QCOMPARE(queue.speed(id), 1.7 * kMiB);
    QCOMPARE(queue.secondsLeft(id), qint64(5)); // 7 MiB at 1.7 MiB/s, rounded up
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
    QCOMPARE(store.find(b)->state, DownloadState::Queued);

    queue.reportSaving(a, QStringLiteral("/v/a.flv"), QStringLiteral("/v/a.flv.part"));
    queue.reportValidators(a, QStringLiteral("\"e1\""), QStringLiteral("Wed, 01 May 2024"));
    queue.reportProgress(a, 100, 1000);
    now = 500;
    queue.reportProgress(a, 400, 1000); // within a second of the last write: not written
    DownloadRecord row = *store.find(a);
    QCOMPARE(row.state, DownloadState::Saving);
    QCOMPARE(row.partPath, QStringLiteral("/v/a.flv.part"));
    QCOMPARE(row.etag, QStringLiteral("\"e1\""));
    QCOMPARE(row.bytes, qint64(100));
    now = 1000;
    queue.reportProgress(a, 700, 1000);
    QCOMPARE(store.find(a)->bytes, qint64(700));

    queue.reportSaved(a, QStringLiteral("/v/a (2).flv"), 1000);
    row = *store.find(a);
    QCOMPARE(row.state, DownloadState::Saved);
    QCOMPARE(row.filePath, QStringLiteral("/v/a (2).flv"));
    QVERIFY(row.endedAt.isValid());
    queue.reportFailed(b, QStringLiteral("Can not save the video file"), true);

    // A later run retries the failed row and removes the saved one.
    DownloadQueue later(&store);
    QSignalSpy starts(&later, &DownloadQueue::startRequested);
    later.retry(b);
    QCOMPARE(starts.count(), 1);
    QCOMPARE(store.find(b)->state, DownloadState::Locating);
    QVERIFY(store.find(b)->reason.isEmpty());
    later.remove(a);
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
        const qint64 a = queue.enqueue(draft(QStringLiteral("a")));
        queue.enqueue(draft(QStringLiteral("b")));
        queue.reportSaving(a, QStringLiteral("/v/a.flv"), QStringLiteral("/v/a.flv.part"));
        queue.reportProgress(a, 5000, 9000);
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
