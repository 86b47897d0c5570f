#pragma once

#include "downloads/DownloadRecord.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QPointer>

namespace clipnab {

class DownloadQueue;
class HistoryStore;

// The Downloads list: the history's rows in id order, read from the store a page at a time as
// a view scrolls (canFetchMore/fetchMore), so that a long history opens at once. Items of this
// run come from the queue, which also keeps their rows up to date (state, bytes, speed, time
// left) one row at a time.
class DownloadsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        Title,
        Address,
        State,
        Size,
        Speed,
        TimeLeft,
        File,
        Reason,
        ColumnCount
    };
    enum Role
    {
        IdRole = Qt::UserRole, // qint64
        StateRole,             // DownloadState as int
        FilePathRole,          // the full path of the file
    };
    static constexpr int kPageSize = 256;

    // Either may be null: without a store only this run's items are listed.
    DownloadsModel(HistoryStore *store, DownloadQueue *queue, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent = {}) const override;
    void fetchMore(const QModelIndex &parent = {}) override;

    // The row showing a download; -1 when it is not (yet) listed.
    int rowOf(qint64 id) const { return m_rowOf.value(id, -1); }
    DownloadRecord recordAt(int row) const;
    // Reads the history again from its start.
    void reload();

    // Texts of the columns: "12.3 MB of 45.6 MB", "1.2 MB/s" (below 1 MB/s "310 KB/s"),
    // "1:05:09"; empty when not known.
    static QString sizeText(qint64 bytes, qint64 total);
    static QString speedText(double bytesPerSecond);
    static QString timeLeftText(qint64 seconds);

private:
    void addItem(qint64 id);
    void changeItem(qint64 id);
    void removeItem(qint64 id);
    void appendRows(const QList<DownloadRecord> &records);
    void reindexFrom(int row);

    QPointer<HistoryStore> m_store;
    QPointer<DownloadQueue> m_queue;
    QList<DownloadRecord> m_rows;
    QHash<qint64, int> m_rowOf;
    qint64 m_lastStoreId = 0; // the last history row read: the next page starts after it
    bool m_atEnd = false;
};

} // namespace clipnab
