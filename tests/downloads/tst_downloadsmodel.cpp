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
    void fetchesInPages();
    void followsTheQueue();
    void withoutHistory();
    void texts();
};

void DownloadsModelTest::fetchesInPages()
{
    QTemporaryDir folder;
    HistoryStore store(folder.path());
    QVERIFY(store.open());
    const int rows = 2 * DownloadsModel::kPageSize + 10;
    QVERIFY(fillHistory(store.filePath(), rows));

    DownloadsModel model(&store, nullptr);
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(model.canFetchMore());
    model.fetchMore();
    QCOMPARE(model.rowCount(), DownloadsModel::kPageSize);
    while (model.canFetchMore())
        model.fetchMore();
    QCOMPARE(model.rowCount(), rows);
    QCOMPARE(cell(model, 0, DownloadsModel::Title), QStringLiteral("Video 1"));
    QCOMPARE(cell(model, rows - 1, DownloadsModel::Address),
             QStringLiteral("http://site/watch?v=%1").arg(rows));
    QCOMPARE(cell(model, 5, DownloadsModel::State), QStringLiteral("saved"));
    QCOMPARE(cell(model, 5, DownloadsModel::Size), QStringLiteral("1.0 MB of 1.0 MB"));
    QCOMPARE(cell(model, 5, DownloadsModel::File), QStringLiteral("6.flv"));
    QCOMPARE(model.data(model.index(5, 0), DownloadsModel::FilePathRole).toString(),
             QStringLiteral("/v/6.flv"));
    QCOMPARE(model.rowOf(model.data(model.index(rows - 1, 0), DownloadsModel::IdRole).toLongLong()),
             rows - 1);
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
    model.fetchMore();

    // Queued while the end of the history is still unread: it comes with its page, once.
    const qint64 a = queue.enqueue(draft(QStringLiteral("a")));
    QCOMPARE(model.rowCount(), DownloadsModel::kPageSize);
    while (model.canFetchMore())
        model.fetchMore();
    QCOMPARE(model.rowCount(), rows + 1);
    QCOMPARE(model.rowOf(a), rows);
    QCOMPARE(cell(model, rows, DownloadsModel::State), QStringLiteral("locating"));

    // Queued with everything read: a new last row.
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    const qint64 b = queue.enqueue(draft(QStringLiteral("b")));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(model.rowOf(b), rows + 1);
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

    queue.remove(a);
    QCOMPARE(model.rowCount(), rows + 1);
    QCOMPARE(model.rowOf(a), -1);
    QCOMPARE(model.rowOf(b), rows);
    QCOMPARE(cell(model, rows, DownloadsModel::State), QStringLiteral("locating"));

    model.reload();
    while (model.canFetchMore())
        model.fetchMore();
    QCOMPARE(model.rowCount(), rows + 1);
}

void DownloadsModelTest::withoutHistory()
{
    DownloadQueue queue;
    DownloadsModel model(nullptr, &queue);
    QVERIFY(!model.canFetchMore());
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
