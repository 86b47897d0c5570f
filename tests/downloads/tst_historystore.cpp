#include "downloads/HistoryStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace clipnab;

namespace {

// Runs one statement on a connection of its own, as sqlite3 would; the first value it gives, or
// true when it gives none; an invalid value when it fails.
QVariant sql(const QString &path, const QString &statement)
{
    QVariant result;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (db.open() && query.exec(statement))
            result = query.next() ? query.value(0) : QVariant(true);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return result;
}

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = static_cast<char>(generator.bounded(256));
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

DownloadRecord sample(const QString &videoId, DownloadState state)
{
    DownloadRecord record;
    record.address = QStringLiteral("http://site/watch?v=") + videoId;
    record.videoId = videoId;
    record.state = state;
    return record;
}

// The other program of twoProcesses(): adds `rows` rows and marks each saved; the exit status
// is the number of changes that failed.
int writeRows(const QString &folder, int rows)
{
    HistoryStore store(folder);
    if (!store.open())
        return 255;
    int failures = 0;
    for (int i = 0; i < rows; ++i) {
        DownloadRecord record = sample(QStringLiteral("child"), DownloadState::Saving);
        record.id = store.add(record);
        record.state = DownloadState::Saved;
        if (record.id <= 0 || !store.update(record, DownloadRecord::Field::State))
            ++failures;
    }
    return failures;
}

} // namespace

class HistoryStoreTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roundTrip();
    void migration_data();
    void migration();
    void corruption_data();
    void corruption();
    void disabledWhenNothingWorks();
    void twoConnections();
    void twoProcesses();
    void unfinishedRows_data();
    void unfinishedRows();
};

void HistoryStoreTest::roundTrip()
{
    QTemporaryDir folder;
    HistoryStore store(folder.path());
    QVERIFY(store.open());
    DownloadRecord record;
    record.address = QStringLiteral("http://site/watch?v=5qWsH5lO-ME");
    record.videoId = QStringLiteral("5qWsH5lO-ME");
    record.title = QStringLiteral("Ünïcode 'quoted' title");
    record.filePath = QStringLiteral("/home/u/Downloads/Clipnab/5_1_10_20_30.flv");
    record.partPath = record.filePath + QStringLiteral(".part");
    record.bytes = 5'000'000'000;
    record.etag = QStringLiteral("\"abc\"");
    record.lastModified = QStringLiteral("Wed, 01 May 2024 10:20:30 GMT");
    record.queuedAt = QDateTime(QDate(2024, 5, 1), QTime(10, 20, 30, 456), Qt::UTC);
    record.startedAt = record.queuedAt.addSecs(2);
    record.state = DownloadState::Saving;

    record.id = store.add(record);
    QVERIFY(record.id > 0);
    QCOMPARE(store.find(record.id), record);
    QCOMPARE(store.count(), qint64(1));

    // What a person reading the file with sqlite3 sees.
    QCOMPARE(sql(store.filePath(), QStringLiteral("SELECT state FROM downloads")).toString(),
             QStringLiteral("saving"));
    QCOMPARE(sql(store.filePath(), QStringLiteral("SELECT queued_at FROM downloads")).toString(),
             QStringLiteral("2024-05-01T10:20:30.456Z"));
    QVERIFY(sql(store.filePath(), QStringLiteral("SELECT total FROM downloads")).isNull());
    QCOMPARE(sql(store.filePath(), QStringLiteral("PRAGMA journal_mode")).toString(),
             QStringLiteral("wal"));
}

void HistoryStoreTest::migration_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("version");
    QTest::addColumn<qint64>("rows");
    QTest::newRow("no file") << "none" << 1 << qint64(0);
    QTest::newRow("empty file") << "empty" << 1 << qint64(0);
    QTest::newRow("version 0 with another table") << "version 0" << 1 << qint64(0);
    QTest::newRow("current version") << "current" << 1 << qint64(1);
    QTest::newRow("newer version with an added column") << "newer" << 2 << qint64(1);
}

void HistoryStoreTest::migration()
{
    QFETCH(QString, before);
    QFETCH(int, version);
    QFETCH(qint64, rows);
    QTemporaryDir folder;
    const QString path = folder.filePath(HistoryStore::fileName());
    if (before == QLatin1String("empty")) {
        QVERIFY(writeFile(path, {}));
    } else if (before == QLatin1String("version 0")) {
        QVERIFY(sql(path, QStringLiteral("CREATE TABLE notes (text TEXT)")).isValid());
    } else if (before == QLatin1String("current") || before == QLatin1String("newer")) {
        HistoryStore older(folder.path());
        QVERIFY(older.open());
        QVERIFY(older.add(sample(QStringLiteral("a"), DownloadState::Saved)) > 0);
        older.close();
        if (before == QLatin1String("newer")) {
            QVERIFY(sql(path, QStringLiteral("ALTER TABLE downloads ADD COLUMN rating INTEGER"))
                        .isValid());
            QVERIFY(sql(path, QStringLiteral("PRAGMA user_version = 2")).isValid());
        }
    }

    HistoryStore store(folder.path());
    QSignalSpy recovered(&store, &HistoryStore::recovered);
    QVERIFY(store.open());
    QCOMPARE(recovered.count(), 0);
    QCOMPARE(store.count(), rows);
    const qint64 id = store.add(sample(QStringLiteral("b"), DownloadState::Queued));
    QVERIFY(id > 0);
    QCOMPARE(store.find(id)->videoId, QStringLiteral("b"));
    QCOMPARE(sql(path, QStringLiteral("PRAGMA user_version")).toInt(), version);
    if (before == QLatin1String("version 0"))
        QVERIFY(sql(path, QStringLiteral("SELECT text FROM notes")).isValid());
}

void HistoryStoreTest::corruption_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("withLog");
    QTest::newRow("random bytes") << "random" << false;
    QTest::newRow("random bytes with log and index") << "random" << true;
    QTest::newRow("pages overwritten, quick check fails") << "pages" << false;
    QTest::newRow("a database without the table") << "no table" << false;
    QTest::newRow("a history cut short") << "cut" << false;
}

void HistoryStoreTest::corruption()
{
    QFETCH(QString, damage);
    QFETCH(bool, withLog);
    QTemporaryDir folder;
    const QString path = folder.filePath(HistoryStore::fileName());
    if (damage == QLatin1String("random")) {
        QVERIFY(writeFile(path, randomBytes(8192, 1)));
    } else if (damage == QLatin1String("pages")) {
        QVERIFY(sql(path, QStringLiteral("CREATE TABLE t (a TEXT)")).isValid());
        QVERIFY(sql(path, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                                         "SELECT i + 1 FROM n WHERE i < 2000) "
                                         "INSERT INTO t SELECT printf('%0200d', i) FROM n"))
                    .isValid());
        QVERIFY(sql(path, QStringLiteral("CREATE INDEX t_a ON t (a)")).isValid());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const qint64 pageSize = 4096;
        QVERIFY(file.size() > 8 * pageSize);
        QVERIFY(file.seek(2 * pageSize));
        file.write(randomBytes(file.size() - 2 * pageSize, 2));
    } else if (damage == QLatin1String("cut")) {
        {
            HistoryStore whole(folder.path());
            QVERIFY(whole.open());
        }
        QVERIFY(sql(path, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                                         "SELECT i + 1 FROM n WHERE i < 2000) "
                                         "INSERT INTO downloads (address, title, state) "
                                         "SELECT 'http://site/watch?v=' || i, "
                                         "printf('%0200d', i), 'saved' FROM n"))
                    .isValid());
        QFile file(path);
        QVERIFY(file.size() > 16 * 4096);
        QVERIFY(file.resize(file.size() / 2 / 4096 * 4096));
    } else {
        QVERIFY(sql(path, QStringLiteral("PRAGMA user_version = 1")).isValid());
    }
    if (withLog) {
        QVERIFY(writeFile(path + QStringLiteral("-wal"), randomBytes(4096, 3)));
        QVERIFY(writeFile(path + QStringLiteral("-shm"), randomBytes(32768, 4)));
    }
    const QByteArray broken = readFile(path);

    HistoryStore store(folder.path());
    QSignalSpy recovered(&store, &HistoryStore::recovered);
    QVERIFY(store.open());
    QCOMPARE(recovered.count(), 1);
    const QString aside = store.recoveredPath();
    QCOMPARE(recovered.at(0).at(0).toString(), aside);
    QVERIFY2(QRegularExpression(QStringLiteral("/history\\.sqlite\\.broken-\\d{8}-\\d{6}$"))
                 .match(aside)
                 .hasMatch(),
             qPrintable(aside));
    QCOMPARE(readFile(aside), broken);
    // SQLite may drop a log it cannot use when it closes the file; what is left of it goes
    // aside too and never lands on the fresh file.
    if (withLog) {
        for (const auto &[suffix, garbage] :
             {std::pair{QStringLiteral("-wal"), randomBytes(4096, 3)},
              std::pair{QStringLiteral("-shm"), randomBytes(32768, 4)}}) {
            QVERIFY(readFile(path + suffix) != garbage);
            if (QFile::exists(aside + suffix))
                QCOMPARE(readFile(aside + suffix), garbage);
        }
    }

    QCOMPARE(store.count(), qint64(0));
    const qint64 id = store.add(sample(QStringLiteral("a"), DownloadState::Queued));
    QVERIFY(id > 0);
    QVERIFY(store.find(id));

    // Reported once: the fresh file opens quietly.
    HistoryStore again(folder.path());
    QSignalSpy againRecovered(&again, &HistoryStore::recovered);
    QVERIFY(again.open());
    QCOMPARE(againRecovered.count(), 0);
    QVERIFY(again.recoveredPath().isEmpty());
    QCOMPARE(again.count(), qint64(1));
}

void HistoryStoreTest::disabledWhenNothingWorks()
{
    QTemporaryDir folder;
    // A file where the folder should be: neither the folder nor the database can be made.
    const QString notAFolder = folder.filePath(QStringLiteral("file"));
    QVERIFY(writeFile(notAFolder, "x"));
    HistoryStore store(notAFolder);
    QSignalSpy recovered(&store, &HistoryStore::recovered);
    QVERIFY(!store.open());
    QVERIFY(!store.isOpen());
    QCOMPARE(recovered.count(), 0);
    DownloadRecord record = sample(QStringLiteral("a"), DownloadState::Queued);
    QCOMPARE(store.add(record), qint64(0));
    record.id = 1;
    QVERIFY(!store.update(record));
    QVERIFY(!store.remove(1));
    QVERIFY(!store.find(1));
    QVERIFY(store.unfinished().isEmpty());
    QCOMPARE(store.count(), qint64(-1));
    QCOMPARE(readFile(notAFolder), QByteArray("x"));
}

void HistoryStoreTest::twoConnections()
{
    QTemporaryDir folder;
    HistoryStore first(folder.path());
    HistoryStore second(folder.path());
    QVERIFY(first.open());
    QVERIFY(second.open());

    const qint64 a = first.add(sample(QStringLiteral("a"), DownloadState::Queued));
    const qint64 b = second.add(sample(QStringLiteral("b"), DownloadState::Queued));
    const qint64 c = first.add(sample(QStringLiteral("c"), DownloadState::Queued));
    QVERIFY(a > 0 && b > a && c > b);
    QCOMPARE(first.count(), qint64(3));
    QCOMPARE(second.count(), qint64(3));

    // Only the fields named are written.
    DownloadRecord seen = *second.find(a);
    seen.state = DownloadState::Saved;
    seen.filePath = QStringLiteral("/v/a.flv");
    seen.title = QStringLiteral("not written");
    QVERIFY(second.update(seen, DownloadRecord::Field::State | DownloadRecord::Field::FilePath));
    seen.title.clear();
    QCOMPARE(first.find(a), seen);
    QCOMPARE(first.latestSaved(QStringLiteral("a"))->id, a);
    QVERIFY(!first.latestSaved(QStringLiteral("b")));
    QVERIFY(first.remove(b));
    QVERIFY(!second.remove(b));
    QVERIFY(!second.find(b));
    seen.id = b;
    QVERIFY(!second.update(seen));

    QList<qint64> ids;
    for (const DownloadRecord &record : second.page(1, 10))
        ids << record.id;
    QCOMPARE(ids, QList<qint64>{c});
}

// Two other programs start on a folder without a history while this one writes to it too: one
// of them makes the file, nobody waits in vain, nothing is lost.
void HistoryStoreTest::twoProcesses()
{
    QTemporaryDir folder;
    constexpr int kRows = 40;
    QProcess writers[2];
    for (QProcess &writer : writers) {
        writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writer.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--write"), folder.path(), QString::number(kRows)});
    }
    QCOMPARE(writeRows(folder.path(), kRows), 0);
    for (QProcess &writer : writers) {
        QVERIFY(writer.waitForFinished(60'000));
        QCOMPARE(writer.exitStatus(), QProcess::NormalExit);
        QCOMPARE(writer.exitCode(), 0);
    }
    QCOMPARE(sql(folder.filePath(HistoryStore::fileName()), QStringLiteral("PRAGMA quick_check"))
                 .toString(),
             QStringLiteral("ok"));
    QCOMPARE(sql(folder.filePath(HistoryStore::fileName()),
                 QStringLiteral("SELECT COUNT(*) FROM downloads WHERE state = 'saved'"))
                 .toInt(),
             3 * kRows);
}

void HistoryStoreTest::unfinishedRows_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("owner");    // the program working on the row
    QTest::addColumn<QString>("reported"); // empty: not reported
    QTest::addColumn<QString>("after");    // in the file afterwards
    const auto row = [](const char *name, const char *state, const char *owner,
                        const char *reported, const char *after) {
        QTest::newRow(name) << QString::fromLatin1(state) << QString::fromLatin1(owner)
                            << QString::fromLatin1(reported) << QString::fromLatin1(after);
    };
    row("queued", "queued", "this", "queued", "queued");
    row("locating left by this program", "locating", "this", "paused", "paused");
    row("saving left by this program", "saving", "this", "paused", "paused");
    row("paused", "paused", "this", "paused", "paused");
    row("saved", "saved", "none", "", "saved");
    row("failed", "failed", "none", "", "failed");
    row("stopped", "stopped", "none", "", "stopped");
    row("saving without owner", "saving", "none", "paused", "paused");
    row("saving of an ended program", "saving", "ended", "paused", "paused");
    row("saving in a running program", "saving", "running", "", "saving");
    row("queued in a running program", "queued", "running", "", "queued");
}

void HistoryStoreTest::unfinishedRows()
{
    QFETCH(QString, state);
    QFETCH(QString, owner);
    QFETCH(QString, reported);
    QFETCH(QString, after);
    QTemporaryDir folder;
    HistoryStore store(folder.path());
    QVERIFY(store.open());
    const qint64 id = store.add(sample(QStringLiteral("a"), *downloadStateFromWord(state)));
    if (owner != QLatin1String("this")) {
        // No process has a number this high (Linux allows at most 2^22).
        const qint64 pid = owner == QLatin1String("running") ? qint64(::getppid())
                           : owner == QLatin1String("ended") ? qint64(2'000'000'000)
                                                             : qint64(-1);
        QVERIFY(
            sql(store.filePath(), QStringLiteral("UPDATE downloads SET owner_pid = %1")
                                      .arg(pid < 0 ? QStringLiteral("NULL") : QString::number(pid)))
                .isValid());
    }

    const QList<DownloadRecord> found = store.unfinished();
    QCOMPARE(found.size(), reported.isEmpty() ? 0 : 1);
    if (!reported.isEmpty()) {
        QCOMPARE(found.at(0).id, id);
        QCOMPARE(downloadStateWord(found.at(0).state), reported);
    }
    QCOMPARE(downloadStateWord(store.find(id)->state), after);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--write") == 0)
        return writeRows(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    HistoryStoreTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_historystore.moc"
