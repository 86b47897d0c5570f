#include "downloads/DownloadQueue.h"
#include "downloads/DownloadsModel.h"
#include "downloads/HistoryStore.h"

#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace clipnab;

namespace {

// `rows` saved downloads written straight into the store's file in one statement.
bool fillHistory(const QString &path, int rows)
{
    if (rows == 0)
        return true;
    const QString name = QStringLiteral("fill");
    bool done = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        done =
            db.open() &&
            QSqlQuery(db).exec(
                QStringLiteral(
                    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                    "INSERT INTO downloads (address, video_id, title, file_path, bytes, total, "
                    "state) SELECT 'http://site/watch?v=' || i, i, 'Video ' || i, "
                    "'/v/' || i || '.flv', 1048576, 1048576, 'saved' FROM n")
                    .arg(rows));
    }
    QSqlDatabase::removeDatabase(name);
    return done;
}

// What the window hands the queue: the address and the video id in it.
DownloadRecord draft(const QString &videoId)
{
    DownloadRecord record;
    record.address = QStringLiteral("http://site/watch?v=") + videoId;
    record.videoId = videoId;
    return record;
}

QString cell(const DownloadsModel &model, int row, int column)
{
    return model.data(model.index(row, column)).toString();
}

} // namespace

class DownloadsModelTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsRowsAsAsked_data();
    void readsRowsAsAsked();
    void followsTheQueue();
    void withoutHistory();
    void texts();
};

void DownloadsModelTest::readsRowsAsAsked_data()
{
    constexpr int kPage = DownloadsModel::kPageSize;
    constexpr int kMany = (DownloadsModel::kCachedPages + 2) * kPage + 3;
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("asked");
    QTest::newRow("empty") << 0 << QList<int>{};
    QTest::newRow("one row") << 1 << QList<int>{0};
    QTest::newRow("down from the top")
        << 2 * kPage + 10 << QList<int>{0, kPage - 1, kPage, 2 * kPage, 2 * kPage + 9};
    QTest::newRow("the end first, then up")
        << 2 * kPage + 10 << QList<int>{2 * kPage + 9, 2 * kPage - 1, kPage, 0};
    QTest::newRow("the middle, then both ways")
        << 5 * kPage << QList<int>{2 * kPage + 7, 3 * kPage, 2 * kPage - 1};
    // More pages than are kept: the first ones are read again.
    QList<int> everyPage;
    for (int row = 0; row < kMany; row += kPage)
        everyPage << row;
    QTest::newRow("more pages than kept") << kMany << (everyPage << 0 << kMany - 1 << 1);
}

void DownloadsModelTest::readsRowsAsAsked()
{
    QFETCH(int, rows);
    QFETCH(QList<int>, asked);
    QTemporaryDir folder;
    HistoryStore store(folder.path());
    QVERIFY(store.open());
    QVERIFY(fillHistory(store.filePath(), rows));

    DownloadsModel model(&store, nullptr);
    QCOMPARE(model.rowCount(), rows);
    for (int row : std::as_const(asked)) {
        const QString number = QString::number(row + 1);
        QCOMPARE(cell(model, row, DownloadsModel::Title), QStringLiteral("Video ") + number);
        QCOMPARE(cell(model, row, DownloadsModel::File), number + QStringLiteral(".flv"));
        QCOMPARE(model.recordAt(row).address, QStringLiteral("http://site/watch?v=") + number);
        QCOMPARE(model.rowOf(model.data(model.index(row, 0), DownloadsModel::IdRole).toLongLong()),
                 row);
    }
    // Rows never read are found through the history.
    if (rows > 0) {
        DownloadsModel unread(&store, nullptr);
        QCOMPARE(unread.rowOf(rows), rows - 1);
        QCOMPARE(unread.rowOf(1), 0);
        QCOMPARE(unread.rowOf(rows + 1), -1);
    }
}

void DownloadsModelTest::followsTheQueue()
{
    QTemporaryDir folder;
    HistoryStore store(folder.path());
    QVERIFY(store.open());
    const int rows = DownloadsModel::kPageSize + 1;
    QVERIFY(fillHistory(store.filePath(), rows));
    DownloadQueue queue(&store);
    DownloadsModel model(&store, &queue);
    QCOMPARE(model.rowCount(), rows);

    // Queued now: new last rows, after the history counted at the start.
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    const qint64 a = queue.enqueue(draft(QStringLiteral("a")));
    const qint64 b = queue.enqueue(draft(QStringLiteral("b")));
    QCOMPARE(inserted.count(), 2);
    QCOMPARE(model.rowCount(), rows + 2);
    QCOMPARE(model.rowOf(a), rows);
    QCOMPARE(model.rowOf(b), rows + 1);
    QCOMPARE(cell(model, rows, DownloadsModel::State), QStringLiteral("locating"));
    QCOMPARE(cell(model, rows + 1, DownloadsModel::State), QStringLiteral("queued"));

    qint64 now = 0;
    queue.setClock([&now] { return now; });
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    queue.reportSaving(a, QStringLiteral("/v/a.flv"), QStringLiteral("/v/a.flv.part"));
    queue.reportProgress(a, 0, 4 * 1048576);
    now = 1000;
    queue.reportProgress(a, 1048576, 4 * 1048576);
    QCOMPARE(changed.count(), 3);
    for (const QList<QVariant> &signal : std::as_const(changed)) {
        QCOMPARE(signal.at(0).toModelIndex().row(), rows);
        QCOMPARE(signal.at(1).toModelIndex().row(), rows);
    }
    QCOMPARE(cell(model, rows, DownloadsModel::State), QStringLiteral("saving"));
    QCOMPARE(cell(model, rows, DownloadsModel::Size), QStringLiteral("1.0 MB of 4.0 MB"));
    QCOMPARE(cell(model, rows, DownloadsModel::Speed), QStringLiteral("1.0 MB/s"));
    QCOMPARE(cell(model, rows, DownloadsModel::TimeLeft), QStringLiteral("0:03"));

    // A row of the history the queue takes up changes in place.
    DownloadRecord old = *store.find(rows);
    old.state = DownloadState::Failed;
    QVERIFY(store.update(old, DownloadRecord::Field::State));
    queue.retry(rows);
    QCOMPARE(changed.last().at(0).toModelIndex().row(), rows - 1);
    QCOMPARE(cell(model, rows - 1, DownloadsModel::State), QStringLiteral("queued"));

    queue.remove(a);
    QCOMPARE(model.rowCount(), rows + 1);
    QCOMPARE(model.rowOf(a), -1);
    QCOMPARE(model.rowOf(b), rows);
    QCOMPARE(cell(model, rows, DownloadsModel::State), QStringLiteral("locating"));

    // A row of the history removed: the rows below move up.
    queue.remove(2);
    QCOMPARE(model.rowCount(), rows);
    QCOMPARE(cell(model, 1, DownloadsModel::Title), QStringLiteral("Video 3"));
    QCOMPARE(model.rowOf(b), rows - 1);
    QCOMPARE(model.rowOf(rows), rows - 2);
    QCOMPARE(cell(model, rows - 2, DownloadsModel::State), QStringLiteral("queued"));

    model.reload();
    QCOMPARE(model.rowCount(), rows);
    QCOMPARE(model.rowOf(b), rows - 1);
}

void DownloadsModelTest::withoutHistory()
{
    DownloadQueue queue;
    DownloadsModel model(nullptr, &queue);
    QCOMPARE(model.rowCount(), 0);
    queue.enqueue(draft(QStringLiteral("a")));
    const qint64 b = queue.enqueue(draft(QStringLiteral("b")));
    QCOMPARE(model.rowCount(), 2);
    queue.stop(b);
    QCOMPARE(cell(model, 1, DownloadsModel::State), QStringLiteral("stopped"));
}

// The cases the list shows beyond those above: nothing known, slow, long.
void DownloadsModelTest::texts()
{
    QCOMPARE(DownloadsModel::sizeText(0, -1), QString());
    QCOMPARE(DownloadsModel::sizeText(3 * 1048576, -1), QStringLiteral("3.0 MB"));
    QCOMPARE(DownloadsModel::speedText(0), QString());
    QCOMPARE(DownloadsModel::speedText(310 * 1024), QStringLiteral("310 KB/s"));
    QCOMPARE(DownloadsModel::timeLeftText(-1), QString());
    QCOMPARE(DownloadsModel::timeLeftText(605), QStringLiteral("10:05"));
    QCOMPARE(DownloadsModel::timeLeftText(3 * 3600 + 7 * 60 + 1), QStringLiteral("3:07:01"));
}

QTEST_GUILESS_MAIN(DownloadsModelTest)
#include "tst_downloadsmodel.moc"
