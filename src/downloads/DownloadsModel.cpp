#include "downloads/DownloadsModel.h"

#include "downloads/DownloadQueue.h"
#include "downloads/HistoryStore.h"

#include <QFileInfo>

#include <algorithm>

namespace clipnab {

namespace {

QString megabytes(qint64 bytes)
{
    return QStringLiteral("%1 MB").arg(static_cast<double>(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

} // namespace

DownloadsModel::DownloadsModel(HistoryStore *store, DownloadQueue *queue, QObject *parent)
    : QAbstractTableModel(parent), m_store(store), m_queue(queue)
{
    if (queue) {
        connect(queue, &DownloadQueue::itemAdded, this, &DownloadsModel::addItem);
        connect(queue, &DownloadQueue::itemChanged, this, &DownloadsModel::changeItem);
        connect(queue, &DownloadQueue::itemRemoved, this, &DownloadsModel::removeItem);
    }
    m_pages.setMaxCost(kCachedPages);
    reload();
}

int DownloadsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_storeCount + m_extraIds.size());
}

int DownloadsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DownloadsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const DownloadRecord *found = record(index.row());
    if (!found)
        return {};
    const DownloadRecord &record = *found;
    switch (role) {
    case IdRole:
        return record.id;
    case StateRole:
        return static_cast<int>(record.state);
    case FilePathRole:
        return record.filePath;
    case Qt::ToolTipRole:
        if (index.column() == File)
            return record.filePath;
        if (index.column() == Address)
            return record.address;
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == Size || index.column() == Speed || index.column() == TimeLeft)
            return (Qt::AlignRight | Qt::AlignVCenter).toInt();
        return {};
    case Qt::DisplayRole:
        break;
    default:
        return {};
    }
    const bool saving = record.state == DownloadState::Saving;
    switch (index.column()) {
    case Title:
        return record.title;
    case Address:
        return record.address;
    case State:
        return downloadStateWord(record.state);
    case Size:
        return sizeText(record.bytes, record.total);
    case Speed:
        return saving && m_queue ? speedText(m_queue->speed(record.id)) : QString();
    case TimeLeft:
        return saving && m_queue ? timeLeftText(m_queue->secondsLeft(record.id)) : QString();
    case File:
        return record.filePath.isEmpty() ? QString() : QFileInfo(record.filePath).fileName();
    case Reason:
        return record.reason;
    default:
        return {};
    }
}

QVariant DownloadsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Title:
        return tr("Title");
    case Address:
        return tr("Address");
    case State:
        return tr("State");
    case Size:
        return tr("Saved");
    case Speed:
        return tr("Speed");
    case TimeLeft:
        return tr("Time left");
    case File:
        return tr("File");
    case Reason:
        return tr("Reason");
    default:
        return {};
    }
}

int DownloadsModel::rowOf(qint64 id) const
{
    if (id > 0 && id <= m_storeLastId)
        return storeRowOf(id, true);
    const qsizetype extra = m_extraIds.indexOf(id);
    return extra < 0 ? -1 : static_cast<int>(m_storeCount + extra);
}

DownloadRecord DownloadsModel::recordAt(int row) const
{
    const DownloadRecord *found = record(row);
    return found ? *found : DownloadRecord();
}

void DownloadsModel::reload()
{
    beginResetModel();
    m_pages.clear();
    m_storeRows.clear();
    m_extraIds.clear();
    m_live.clear();
    const qint64 count = m_store ? m_store->count() : -1;
    const qint64 lastId = m_store ? m_store->lastId() : -1;
    const bool counted = count >= 0 && lastId >= 0;
    m_storeCount = counted ? count : 0;
    m_storeLastId = counted ? lastId : 0;
    if (m_queue) {
        const QList<qint64> ids = m_queue->ids();
        for (qint64 id : ids) {
            if (const std::optional<DownloadRecord> live = m_queue->record(id))
                m_live.insert(id, *live);
            if (id <= 0 || id > m_storeLastId)
                m_extraIds << id;
        }
    }
    endResetModel();
}

QString DownloadsModel::sizeText(qint64 bytes, qint64 total)
{
    if (total < 0)
        return bytes > 0 ? megabytes(bytes) : QString();
    return tr("%1 of %2").arg(megabytes(bytes), megabytes(total));
}

QString DownloadsModel::speedText(double bytesPerSecond)
{
    if (bytesPerSecond <= 0)
        return {};
    if (bytesPerSecond < 1024.0 * 1024.0)
        return QStringLiteral("%1 KB/s").arg(bytesPerSecond / 1024.0, 0, 'f', 0);
    return QStringLiteral("%1 MB/s").arg(bytesPerSecond / (1024.0 * 1024.0), 0, 'f', 1);
}

QString DownloadsModel::timeLeftText(qint64 seconds)
{
    if (seconds < 0)
        return {};
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds / 60 % 60;
    const QString rest = QStringLiteral("%1:%2")
                             .arg(minutes, hours > 0 ? 2 : 1, 10, QLatin1Char('0'))
                             .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return hours > 0 ? QString::number(hours) + QLatin1Char(':') + rest : rest;
}

const DownloadRecord *DownloadsModel::record(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    if (row >= m_storeCount) {
        const auto live = m_live.constFind(m_extraIds.at(row - m_storeCount));
        return live == m_live.cend() ? nullptr : &*live;
    }
    const Page *rows = page(row / kPageSize);
    const qsizetype at = row % kPageSize;
    if (!rows || at >= rows->size())
        return nullptr;
    const DownloadRecord &stored = rows->at(at);
    const auto live = m_live.constFind(stored.id);
    return live == m_live.cend() ? &stored : &*live;
}

const DownloadsModel::Page *DownloadsModel::page(qint64 index) const
{
    if (const Page *cached = m_pages.object(index))
        return cached;
    auto *read = new Page(readPage(index));
    return m_pages.insert(index, read) ? read : nullptr;
}

DownloadsModel::Page DownloadsModel::readPage(qint64 index) const
{
    const qint64 first = index * kPageSize;
    const int limit = static_cast<int>(std::min<qint64>(kPageSize, m_storeCount - first));
    if (!m_store || limit <= 0)
        return {};
    // From a neighbour read before, through the key; otherwise from the nearer end of the
    // history, which costs the rows skipped on the way.
    const Page *previous = m_pages.object(index - 1);
    const Page *next = m_pages.object(index + 1);
    const qint64 fromEnd = m_storeCount - first - limit;
    Page rows;
    if (previous && previous->size() == kPageSize)
        rows = m_store->pageAfter(previous->last().id, limit);
    else if (next && !next->isEmpty())
        rows = m_store->pageBefore(next->first().id, limit);
    else if (first <= fromEnd)
        rows = m_store->page(first, limit);
    else
        rows = m_store->pageBefore(m_storeLastId + 1, limit, fromEnd);
    // Rows added since the history was counted are listed after its part.
    rows.removeIf([this](const DownloadRecord &row) { return row.id > m_storeLastId; });
    return rows;
}

int DownloadsModel::storeRowOf(qint64 id, bool verify) const
{
    if (const auto known = m_storeRows.constFind(id); known != m_storeRows.cend())
        return *known;
    const auto byId = [](const DownloadRecord &row, qint64 key) { return row.id < key; };
    const QList<qint64> indexes = m_pages.keys();
    for (qint64 index : indexes) {
        const Page *rows = m_pages.object(index);
        if (!rows || rows->isEmpty() || id < rows->first().id || id > rows->last().id)
            continue;
        const auto at = std::lower_bound(rows->cbegin(), rows->cend(), id, byId);
        return at != rows->cend() && at->id == id
                   ? static_cast<int>(index * kPageSize + (at - rows->cbegin()))
                   : -1;
    }
    if (!m_store || (verify && !m_store->find(id)))
        return -1;
    // Counted from the nearer end: the cost is the rows counted.
    const qint64 row = id > m_storeLastId / 2
                           ? m_storeCount - 1 - m_store->countBetween(id, m_storeLastId)
                           : m_store->countBetween(0, id - 1);
    if (row < 0 || row >= m_storeCount)
        return -1;
    m_storeRows.insert(id, static_cast<int>(row));
    return static_cast<int>(row);
}

void DownloadsModel::addItem(qint64 id)
{
    if (!m_queue)
        return;
    const std::optional<DownloadRecord> record = m_queue->record(id);
    if (!record)
        return;
    m_live.insert(id, *record);
    if (const int row = rowOf(id); row >= 0) {
        Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
        return;
    }
    if (id > 0 && id <= m_storeLastId)
        return;
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_extraIds << id;
    endInsertRows();
}

void DownloadsModel::changeItem(qint64 id)
{
    if (!m_queue)
        return;
    const std::optional<DownloadRecord> record = m_queue->record(id);
    const int row = rowOf(id);
    if (!record || row < 0)
        return;
    m_live.insert(id, *record);
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void DownloadsModel::removeItem(qint64 id)
{
    m_live.remove(id);
    if (id <= 0 || id > m_storeLastId) {
        const qsizetype extra = m_extraIds.indexOf(id);
        if (extra < 0)
            return;
        const int row = static_cast<int>(m_storeCount + extra);
        beginRemoveRows({}, row, row);
        m_extraIds.removeAt(extra);
        endRemoveRows();
        return;
    }
    // The queue has taken the row out of the history already.
    const int row = storeRowOf(id, false);
    if (row < 0)
        return;
    beginRemoveRows({}, row, row);
    --m_storeCount;
    m_storeRows.remove(id);
    for (int &other : m_storeRows) {
        if (other > row)
            --other;
    }
    // The pages from the removed row on hold rows that moved up: they are read again.
    const QList<qint64> indexes = m_pages.keys();
    for (qint64 index : indexes) {
        if (index >= row / kPageSize)
            m_pages.remove(index);
    }
    endRemoveRows();
}

} // namespace clipnab
