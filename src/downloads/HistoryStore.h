#pragma once

#include "downloads/DownloadRecord.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariantList>

#include <functional>
#include <optional>

class QSqlDatabase;

namespace clipnab {

// The download history: one SQLite file, history.sqlite, in a folder it is given, read and
// written through Qt SQL. Every store has its own connection, so several stores in one process
// and several processes share the file (write-ahead log, a busy timeout, one immediate
// transaction per change). Columns are plain: the state as its word, times as ISO 8601 text in
// UTC, so the file reads well in sqlite3.
//
// The history never stops a download: a file that cannot be opened or fails its check is moved
// aside with the date in its name and a fresh one is made (reported once through recovered());
// when even that fails the store is disabled and every operation does nothing and fails.
// A store is used on the thread that opened it, as Qt SQL connections are.
class HistoryStore : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSchemaVersion = 1;
    static constexpr int kBusyTimeoutMs = 5000;
    static QString fileName() { return QStringLiteral("history.sqlite"); }

    explicit HistoryStore(const QString &folder, QObject *parent = nullptr);
    ~HistoryStore() override;

    // Opens folder/history.sqlite (creating the folder and the file), checks it and brings its
    // schema up to date. False when the store ends up disabled.
    bool open();
    void close();
    bool isOpen() const { return !m_connectionName.isEmpty(); }
    QString filePath() const;
    // Where open() moved a broken file; empty when it did not.
    QString recoveredPath() const { return m_recoveredPath; }

    // The new row's id, or 0 when it was not written. The record's own id is ignored.
    qint64 add(const DownloadRecord &record);
    // Writes the given fields of the row with the record's id; false when no such row was
    // changed.
    bool update(const DownloadRecord &record,
                DownloadRecord::Fields fields = DownloadRecord::kAllFields);
    bool remove(qint64 id);
    std::optional<DownloadRecord> find(qint64 id) const;
    // The most recent saved download of a video, for "Already saved on DATE as FILE".
    std::optional<DownloadRecord> latestSaved(const QString &videoId) const;
    // The rows that did not reach an end, oldest first, taken over by this process. A row left
    // locating or saving by a program that ended without pausing it (killed, power lost) is
    // turned into paused, in the file too. Rows that another running program is working on are
    // left to it. Meant for the start of the program, before anything is queued.
    QList<DownloadRecord> unfinished();
    // The number of rows; -1 when it cannot be read.
    qint64 count() const;
    // The number of rows with ids above `afterId` and up to `upToId`; -1 when it cannot be read.
    qint64 countBetween(qint64 afterId, qint64 upToId) const;
    // The highest id; 0 in an empty file, -1 when it cannot be read.
    qint64 lastId() const;
    // Up to `limit` rows from the `offset`-th on, in id order.
    QList<DownloadRecord> page(qint64 offset, int limit) const;
    // Up to `limit` rows with ids above `afterId`, in id order: the next page after the last
    // row read, found through the key at any depth.
    QList<DownloadRecord> pageAfter(qint64 afterId, int limit) const;
    // Up to `limit` rows with ids below `beforeId`, in id order, the `skip` rows nearest to it
    // left out: a page read backwards from a known row or from the end, which costs what is
    // skipped rather than the whole offset from the start.
    QList<DownloadRecord> pageBefore(qint64 beforeId, int limit, qint64 skip = 0) const;

Q_SIGNALS:
    // open() found the file broken, moved it to `movedAsidePath` and started a fresh one.
    void recovered(const QString &movedAsidePath);

private:
    enum class OpenResult
    {
        Ready,
        Broken,
        Unavailable
    };

    OpenResult openConnection();
    // Whether the file needs the full check before use: a log left behind, a header that does
    // not match the file's size.
    bool needsFullCheck() const;
    static OpenResult quickCheck(QSqlDatabase &db);
    static bool readsBothEnds(QSqlDatabase &db);
    bool migrate();
    // One step of the schema, from `fromVersion` to the next; a new version adds a case.
    static bool migrateStep(QSqlDatabase &db, int fromVersion);
    static std::optional<int> schemaVersion(QSqlDatabase &db);
    static bool hasDownloadsTable(QSqlDatabase &db);
    QString moveAside() const;
    // Up to `limit` rows of "SELECT <columns> FROM downloads <clauses>" with `values` bound.
    QList<DownloadRecord> rows(const QString &clauses, const QVariantList &values, int limit) const;
    bool inTransaction(const std::function<bool(QSqlDatabase &)> &change) const;
    QSqlDatabase database() const;

    QString m_folder;
    QString m_connectionName;
    QString m_recoveredPath;
};

} // namespace clipnab
