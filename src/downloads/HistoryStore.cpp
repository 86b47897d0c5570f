#include "downloads/HistoryStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcHistory, "clipnab.history")

namespace clipnab {

namespace {

// SQLite's result codes for a file held by another connection: not a fault of the file.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;

// The columns of a record, in the order recordAt() reads them.
constexpr QLatin1StringView kColumns{
    "id, address, video_id, title, file_path, part_path, bytes, total, etag, last_modified, "
    "queued_at, started_at, ended_at, state, reason"};

// The owner_pid column follows the record's columns where a query reads it.
constexpr int kOwnerColumn = 15;

QString nextConnectionName()
{
    static std::atomic<quint64> counter{0};
    return QStringLiteral("clipnab-history-%1").arg(++counter);
}

qint64 ownPid()
{
    return static_cast<qint64>(::getpid());
}

bool processRuns(qint64 pid)
{
    if (pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Bound as '' rather than NULL for a null string: the text columns are NOT NULL.
QVariant textValue(const QString &text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QVariant timeValue(const QDateTime &time)
{
    if (!time.isValid())
        return QVariant(QMetaType(QMetaType::QString));
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime timeFrom(const QVariant &value)
{
    if (value.isNull())
        return {};
    return QDateTime::fromString(value.toString(), Qt::ISODateWithMs).toUTC();
}

QVariant ownerFor(DownloadState state)
{
    return isUnfinished(state) ? QVariant(ownPid()) : QVariant(QMetaType(QMetaType::LongLong));
}

DownloadRecord recordAt(const QSqlQuery &query)
{
    DownloadRecord record;
    record.id = query.value(0).toLongLong();
    record.address = query.value(1).toString();
    record.videoId = query.value(2).toString();
    record.title = query.value(3).toString();
    record.filePath = query.value(4).toString();
    record.partPath = query.value(5).toString();
    record.bytes = query.value(6).toLongLong();
    record.total = query.value(7).isNull() ? -1 : query.value(7).toLongLong();
    record.etag = query.value(8).toString();
    record.lastModified = query.value(9).toString();
    record.queuedAt = timeFrom(query.value(10));
    record.startedAt = timeFrom(query.value(11));
    record.endedAt = timeFrom(query.value(12));
    // A word this version does not know comes from a newer program; it is an end here.
    record.state =
        downloadStateFromWord(query.value(13).toString()).value_or(DownloadState::Failed);
    record.reason = query.value(14).toString();
    return record;
}

QVariant totalValue(qint64 total)
{
    return total < 0 ? QVariant(QMetaType(QMetaType::LongLong)) : QVariant(total);
}

bool isBusy(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt();
    return code == kSqliteBusy || code == kSqliteLocked;
}

// Whether the last statement that failed on this thread failed only because another
// connection held the file: opening tells a busy file from a broken one with it.
thread_local bool t_lastFailureBusy = false;

bool failed(const QSqlQuery &query)
{
    t_lastFailureBusy = isBusy(query.lastError());
    qCWarning(lcHistory) << "history:" << query.lastQuery()
                         << "failed:" << query.lastError().text();
    return false;
}

bool run(QSqlQuery &query, const QString &statement)
{
    return query.exec(statement) || failed(query);
}

bool run(QSqlQuery &query)
{
    return query.exec() || failed(query);
}

} // namespace

HistoryStore::HistoryStore(const QString &folder, QObject *parent)
    : QObject(parent), m_folder(folder)
{
}

HistoryStore::~HistoryStore()
{
    close();
}

QString HistoryStore::filePath() const
{
    return QDir(m_folder).filePath(fileName());
}

bool HistoryStore::open()
{
    close();
    m_recoveredPath.clear();
    QDir().mkpath(m_folder);

    OpenResult result = openConnection();
    if (result == OpenResult::Broken && QFileInfo::exists(filePath())) {
        close();
        const QString movedTo = moveAside();
        if (!movedTo.isEmpty()) {
            qCWarning(lcHistory) << "history: the broken file was moved to" << movedTo;
            result = openConnection();
            if (result == OpenResult::Ready) {
                m_recoveredPath = movedTo;
                Q_EMIT recovered(movedTo);
            }
        }
    }
    if (result != OpenResult::Ready) {
        qCWarning(lcHistory) << "history: disabled, downloads go on without it";
        close();
        return false;
    }
    return true;
}

void HistoryStore::close()
{
    if (m_connectionName.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    m_connectionName.clear();
}

QSqlDatabase HistoryStore::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

HistoryStore::OpenResult HistoryStore::openConnection()
{
    // Looked at before SQLite opens the file and makes a log of its own.
    const bool checkFully = needsFullCheck();
    m_connectionName = nextConnectionName();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    if (!db.isValid()) {
        qCWarning(lcHistory) << "history: Qt's SQLite driver is missing";
        return OpenResult::Unavailable;
    }
    db.setDatabaseName(filePath());
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open()) {
        qCWarning(lcHistory) << "history: cannot open" << filePath() << db.lastError().text();
        return isBusy(db.lastError()) ? OpenResult::Unavailable : OpenResult::Broken;
    }

    QSqlQuery query(db);
    const auto failure = [] {
        return t_lastFailureBusy ? OpenResult::Unavailable : OpenResult::Broken;
    };
    if (!run(query, QStringLiteral("PRAGMA busy_timeout = %1").arg(kBusyTimeoutMs)))
        return failure();
    // The full check reads every page: a tenth of a second and more on a long history. It runs
    // where damage is likely (a program that ended without closing the file, a header that does
    // not fit the file) and before the schema is written; otherwise the header, the schema and
    // both ends of the table are read, where a file cut short or overwritten shows first.
    // Checked before anything is written, so that a broken file is moved aside as it was found.
    bool checked = false;
    const auto check = [&] {
        checked = true;
        return quickCheck(db);
    };
    if (checkFully) {
        if (const OpenResult result = check(); result != OpenResult::Ready)
            return result;
    }
    // The first read of the file: a file that is not a database fails here.
    const std::optional<int> version = schemaVersion(db);
    if (!version)
        return failure();
    if (*version < kSchemaVersion && !checked) {
        if (const OpenResult result = check(); result != OpenResult::Ready)
            return result;
    }
    if (*version >= 1 && (!hasDownloadsTable(db) || !readsBothEnds(db)))
        return failure();
    // The log is kept in the file once set. Without it (another program holding the file just
    // now, a file system without shared memory) the file still works, only less concurrently.
    // Under the log, a commit waits for the disk only at checkpoints: a power cut may lose the
    // last commits but never breaks the file.
    if (run(query, QStringLiteral("PRAGMA journal_mode = WAL")) && query.next() &&
        query.value(0).toString() == QLatin1String("wal"))
        run(query, QStringLiteral("PRAGMA synchronous = NORMAL"));
    else
        qCWarning(lcHistory) << "history: no write-ahead log for now";
    query.finish();
    if (*version < kSchemaVersion && !migrate())
        return failure();
    return OpenResult::Ready;
}

bool HistoryStore::needsFullCheck() const
{
    constexpr qint64 kHeaderSize = 100;
    const QFileInfo log(filePath() + QStringLiteral("-wal"));
    if (log.exists() && log.size() > 0)
        return true;
    QFile file(filePath());
    if (!file.exists() || file.size() == 0)
        return false;
    if (!file.open(QIODevice::ReadOnly))
        return true;
    const QByteArray header = file.read(kHeaderSize);
    if (header.size() < kHeaderSize || !header.startsWith(QByteArrayView("SQLite format 3\0", 16)))
        return true;
    const auto number = [&header](int at, int bytes) {
        quint32 value = 0;
        for (int i = 0; i < bytes; ++i)
            value = value << 8 | static_cast<quint8>(header.at(at + i));
        return qint64(value);
    };
    const qint64 pageSize = number(16, 2) == 1 ? 65536 : number(16, 2);
    if (pageSize < 512 || file.size() % pageSize != 0)
        return true;
    // The page count in the header holds when the change counter and the number beside the
    // count agree, as they do for every file written by a recent SQLite.
    const bool countHolds = number(24, 4) == number(92, 4) && number(28, 4) > 0;
    return countHolds && number(28, 4) * pageSize != file.size();
}

HistoryStore::OpenResult HistoryStore::quickCheck(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!run(query, QStringLiteral("PRAGMA quick_check")))
        return t_lastFailureBusy ? OpenResult::Unavailable : OpenResult::Broken;
    if (!query.next() || query.value(0).toString() != QLatin1String("ok")) {
        qCWarning(lcHistory) << "history: quick check failed";
        return OpenResult::Broken;
    }
    return OpenResult::Ready;
}

// The first and the last row, every column read: the way down the table's tree to both ends.
bool HistoryStore::readsBothEnds(QSqlDatabase &db)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!run(query, QStringLiteral("SELECT %1 FROM downloads WHERE id = (SELECT MIN(id) FROM "
                                   "downloads) OR id = (SELECT MAX(id) FROM downloads)")
                        .arg(kColumns)))
        return false;
    while (query.next())
        recordAt(query);
    return !query.lastError().isValid() || failed(query);
}

bool HistoryStore::migrate()
{
    // The version is read again inside the transaction: another program may have migrated the
    // file meanwhile.
    return inTransaction([](QSqlDatabase &connection) {
        const std::optional<int> current = schemaVersion(connection);
        if (!current)
            return false;
        for (int step = *current; step < kSchemaVersion; ++step) {
            if (!migrateStep(connection, step))
                return false;
        }
        QSqlQuery query(connection);
        return run(query, QStringLiteral("PRAGMA user_version = %1")
                              .arg(std::max(*current, kSchemaVersion))) &&
               hasDownloadsTable(connection);
    });
}

std::optional<int> HistoryStore::schemaVersion(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!run(query, QStringLiteral("PRAGMA user_version")) || !query.next())
        return std::nullopt;
    return query.value(0).toInt();
}

// A newer program's file is used as it is, as long as the columns read here are there.
bool HistoryStore::hasDownloadsTable(QSqlDatabase &db)
{
    QSqlQuery probe(db);
    return run(probe, QStringLiteral("SELECT %1 FROM downloads LIMIT 0").arg(kColumns));
}

bool HistoryStore::migrateStep(QSqlDatabase &db, int fromVersion)
{
    QSqlQuery query(db);
    switch (fromVersion) {
    case 0:
        return run(query, QStringLiteral("CREATE TABLE downloads ("
                                         "id INTEGER PRIMARY KEY AUTOINCREMENT,"
                                         "address TEXT NOT NULL,"
                                         "video_id TEXT NOT NULL DEFAULT '',"
                                         "title TEXT NOT NULL DEFAULT '',"
                                         "file_path TEXT NOT NULL DEFAULT '',"
                                         "part_path TEXT NOT NULL DEFAULT '',"
                                         "bytes INTEGER NOT NULL DEFAULT 0,"
                                         "total INTEGER,"
                                         "etag TEXT NOT NULL DEFAULT '',"
                                         "last_modified TEXT NOT NULL DEFAULT '',"
                                         "queued_at TEXT,"
                                         "started_at TEXT,"
                                         "ended_at TEXT,"
                                         "state TEXT NOT NULL,"
                                         "reason TEXT NOT NULL DEFAULT '',"
                                         "owner_pid INTEGER)")) &&
               run(query, QStringLiteral(
                              "CREATE INDEX downloads_by_video ON downloads (video_id, state)")) &&
               run(query, QStringLiteral("CREATE INDEX downloads_by_state ON downloads (state)"));
    default:
        return false;
    }
}

QString HistoryStore::moveAside() const
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString base = filePath() + QStringLiteral(".broken-") + stamp;
    QString target = base;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = base + QLatin1Char('-') + QString::number(n);
    if (!QFile::rename(filePath(), target)) {
        qCWarning(lcHistory) << "history: cannot move" << filePath() << "aside";
        return {};
    }
    // The log and its index belong to the broken file: a fresh file must never replay them.
    for (const QLatin1StringView suffix : {QLatin1StringView("-wal"), QLatin1StringView("-shm")}) {
        const QString companion = filePath() + suffix;
        if (QFileInfo::exists(companion) && !QFile::rename(companion, target + suffix) &&
            !QFile::remove(companion)) {
            qCWarning(lcHistory) << "history: cannot move" << companion << "aside";
            return {};
        }
    }
    return target;
}

bool HistoryStore::inTransaction(const std::function<bool(QSqlDatabase &)> &change) const
{
    QSqlDatabase db = database();
    QSqlQuery control(db);
    // Immediate: the write lock is taken (or waited for) up front, so that a read followed by
    // a write never meets another writer halfway.
    if (!run(control, QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    if (change(db) && run(control, QStringLiteral("COMMIT")))
        return true;
    control.exec(QStringLiteral("ROLLBACK"));
    return false;
}

qint64 HistoryStore::add(const DownloadRecord &record)
{
    if (!isOpen())
        return 0;
    qint64 id = 0;
    inTransaction([&](QSqlDatabase &db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral(
            "INSERT INTO downloads (address, video_id, title, file_path, part_path, bytes, "
            "total, etag, last_modified, queued_at, started_at, ended_at, state, reason, "
            "owner_pid) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        query.addBindValue(textValue(record.address));
        query.addBindValue(textValue(record.videoId));
        query.addBindValue(textValue(record.title));
        query.addBindValue(textValue(record.filePath));
        query.addBindValue(textValue(record.partPath));
        query.addBindValue(record.bytes);
        query.addBindValue(totalValue(record.total));
        query.addBindValue(textValue(record.etag));
        query.addBindValue(textValue(record.lastModified));
        query.addBindValue(timeValue(record.queuedAt));
        query.addBindValue(timeValue(record.startedAt));
        query.addBindValue(timeValue(record.endedAt));
        query.addBindValue(downloadStateWord(record.state));
        query.addBindValue(textValue(record.reason));
        query.addBindValue(ownerFor(record.state));
        if (!run(query))
            return false;
        id = query.lastInsertId().toLongLong();
        return id > 0;
    });
    return id;
}

bool HistoryStore::update(const DownloadRecord &record, DownloadRecord::Fields fields)
{
    if (!isOpen() || record.id <= 0 || fields == DownloadRecord::Fields())
        return false;
    using Field = DownloadRecord::Field;
    QStringList assignments;
    QVariantList values;
    const auto set = [&](Field field, const char *column, const QVariant &value) {
        if (!fields.testFlag(field))
            return;
        assignments << QLatin1String(column) + QStringLiteral(" = ?");
        values << value;
    };
    set(Field::Address, "address", textValue(record.address));
    set(Field::VideoId, "video_id", textValue(record.videoId));
    set(Field::Title, "title", textValue(record.title));
    set(Field::FilePath, "file_path", textValue(record.filePath));
    set(Field::PartPath, "part_path", textValue(record.partPath));
    set(Field::Bytes, "bytes", record.bytes);
    set(Field::Total, "total", totalValue(record.total));
    set(Field::Etag, "etag", textValue(record.etag));
    set(Field::LastModified, "last_modified", textValue(record.lastModified));
    set(Field::QueuedAt, "queued_at", timeValue(record.queuedAt));
    set(Field::StartedAt, "started_at", timeValue(record.startedAt));
    set(Field::EndedAt, "ended_at", timeValue(record.endedAt));
    set(Field::State, "state", downloadStateWord(record.state));
    set(Field::Reason, "reason", textValue(record.reason));
    set(Field::State, "owner_pid", ownerFor(record.state));

    bool changed = false;
    inTransaction([&](QSqlDatabase &db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("UPDATE downloads SET %1 WHERE id = ?")
                          .arg(assignments.join(QStringLiteral(", "))));
        for (const QVariant &value : std::as_const(values))
            query.addBindValue(value);
        query.addBindValue(record.id);
        if (!run(query))
            return false;
        changed = query.numRowsAffected() == 1;
        return true;
    });
    return changed;
}

bool HistoryStore::remove(qint64 id)
{
    if (!isOpen())
        return false;
    bool removed = false;
    inTransaction([&](QSqlDatabase &db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("DELETE FROM downloads WHERE id = ?"));
        query.addBindValue(id);
        if (!run(query))
            return false;
        removed = query.numRowsAffected() == 1;
        return true;
    });
    return removed;
}

std::optional<DownloadRecord> HistoryStore::find(qint64 id) const
{
    if (!isOpen())
        return std::nullopt;
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT %1 FROM downloads WHERE id = ?").arg(kColumns));
    query.addBindValue(id);
    if (!run(query) || !query.next())
        return std::nullopt;
    return recordAt(query);
}

std::optional<DownloadRecord> HistoryStore::latestSaved(const QString &videoId) const
{
    if (!isOpen())
        return std::nullopt;
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT %1 FROM downloads WHERE video_id = ? AND state = ? "
                                 "ORDER BY id DESC LIMIT 1")
                      .arg(kColumns));
    query.addBindValue(textValue(videoId));
    query.addBindValue(downloadStateWord(DownloadState::Saved));
    if (!run(query) || !query.next())
        return std::nullopt;
    return recordAt(query);
}

QList<DownloadRecord> HistoryStore::unfinished()
{
    if (!isOpen())
        return {};
    QList<DownloadRecord> taken;
    const bool done = inTransaction([&](QSqlDatabase &db) {
        {
            QSqlQuery query(db);
            query.prepare(QStringLiteral("SELECT %1, owner_pid FROM downloads "
                                         "WHERE state IN (?, ?, ?, ?) ORDER BY id")
                              .arg(kColumns));
            for (DownloadState state : {DownloadState::Queued, DownloadState::Locating,
                                        DownloadState::Saving, DownloadState::Paused})
                query.addBindValue(downloadStateWord(state));
            if (!run(query))
                return false;
            while (query.next()) {
                const QVariant owner = query.value(kOwnerColumn);
                const qint64 pid = owner.toLongLong();
                if (!owner.isNull() && pid != ownPid() && processRuns(pid))
                    continue;
                DownloadRecord record = recordAt(query);
                if (isActive(record.state))
                    record.state = DownloadState::Paused;
                taken << record;
            }
        }
        QSqlQuery claim(db);
        claim.prepare(QStringLiteral("UPDATE downloads SET state = ?, owner_pid = ? WHERE id = ?"));
        for (const DownloadRecord &record : std::as_const(taken)) {
            claim.addBindValue(downloadStateWord(record.state));
            claim.addBindValue(ownPid());
            claim.addBindValue(record.id);
            if (!run(claim))
                return false;
        }
        return true;
    });
    return done ? taken : QList<DownloadRecord>();
}

qint64 HistoryStore::count() const
{
    if (!isOpen())
        return -1;
    QSqlQuery query(database());
    if (!run(query, QStringLiteral("SELECT COUNT(*) FROM downloads")) || !query.next())
        return -1;
    return query.value(0).toLongLong();
}

qint64 HistoryStore::countBetween(qint64 afterId, qint64 upToId) const
{
    if (!isOpen())
        return -1;
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM downloads WHERE id > ? AND id <= ?"));
    query.addBindValue(afterId);
    query.addBindValue(upToId);
    if (!run(query) || !query.next())
        return -1;
    return query.value(0).toLongLong();
}

qint64 HistoryStore::lastId() const
{
    if (!isOpen())
        return -1;
    QSqlQuery query(database());
    if (!run(query, QStringLiteral("SELECT MAX(id) FROM downloads")) || !query.next())
        return -1;
    return query.value(0).toLongLong();
}

QList<DownloadRecord> HistoryStore::page(qint64 offset, int limit) const
{
    if (offset < 0)
        return {};
    return rows(QStringLiteral("ORDER BY id LIMIT ? OFFSET ?"), {limit, offset}, limit);
}

QList<DownloadRecord> HistoryStore::pageAfter(qint64 afterId, int limit) const
{
    return rows(QStringLiteral("WHERE id > ? ORDER BY id LIMIT ?"), {afterId, limit}, limit);
}

QList<DownloadRecord> HistoryStore::pageBefore(qint64 beforeId, int limit, qint64 skip) const
{
    if (skip < 0)
        return {};
    QList<DownloadRecord> result =
        rows(QStringLiteral("WHERE id < ? ORDER BY id DESC LIMIT ? OFFSET ?"),
             {beforeId, limit, skip}, limit);
    std::reverse(result.begin(), result.end());
    return result;
}

QList<DownloadRecord> HistoryStore::rows(const QString &clauses, const QVariantList &values,
                                         int limit) const
{
    if (!isOpen() || limit <= 0)
        return {};
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM downloads %2").arg(kColumns, clauses));
    for (const QVariant &value : values)
        query.addBindValue(value);
    QList<DownloadRecord> result;
    if (!run(query))
        return result;
    result.reserve(limit);
    while (query.next())
        result << recordAt(query);
    return result;
}

} // namespace clipnab
