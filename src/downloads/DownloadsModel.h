#pragma once

#include "downloads/DownloadRecord.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QHash>
#include <QList>
#include <QPointer>

namespace clipnab {

class DownloadQueue;
class HistoryStore;

// The Downloads list: the history's rows in id order, then this run's items that the history
// did not hold when it was counted. The row count comes from the history's count, and rows are
// read when asked for, a page at a time into a small cache of recently used pages, so that a
// long history opens at once and its last row costs one page read. This run's items come from
// the queue, which keeps their rows up to date (state, bytes, speed, time left) one row at a
// time.
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
    static constexpr int kCachedPages = 32;

    // Either may be null: without a store only this run's items are listed.
    DownloadsModel(HistoryStore *store, DownloadQueue *queue, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // The row showing a download; -1 when it is not (yet) listed.
    int rowOf(qint64 id) const;
    DownloadRecord recordAt(int row) const;
    // Counts the history again and forgets the rows read.
    void reload();

    // Texts of the columns: "12.3 MB of 45.6 MB", "1.2 MB/s" (below 1 MB/s "310 KB/s"),
    // "1:05:09"; empty when not known.
    static QString sizeText(qint64 bytes, qint64 total);
    static QString speedText(double bytesPerSecond);
    static QString timeLeftText(qint64 seconds);

private:
    using Page = QList<DownloadRecord>;

    // The row's record: this run's latest from the queue, else the history's; null when the
    // history cannot give it. Valid until the next page is read.
    const DownloadRecord *record(int row) const;
    const Page *page(qint64 index) const;
    Page readPage(qint64 index) const;
    // The row of a history id; `verify` first asks the history whether it holds the id, which
    // a row just removed from it no longer does.
    int storeRowOf(qint64 id, bool verify) const;
    void addItem(qint64 id);
    void changeItem(qint64 id);
    void removeItem(qint64 id);

    QPointer<HistoryStore> m_store;
    QPointer<DownloadQueue> m_queue;
    // The history's part of the list: m_storeCount rows, ids up to m_storeLastId.
    qint64 m_storeCount = 0;
    qint64 m_storeLastId = 0;
    mutable QCache<qint64, Page> m_pages;
    // Rows of history ids found through the history, for the items that report often.
    mutable QHash<qint64, int> m_storeRows;
    // The rows after the history's part, in order.
    QList<qint64> m_extraIds;
    // This run's items as the queue last reported them.
    QHash<qint64, DownloadRecord> m_live;
};

} // namespace clipnab
