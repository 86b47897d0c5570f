#include "downloads/DownloadsModel.h"

#include "downloads/DownloadQueue.h"
#include "downloads/HistoryStore.h"

#include <QFileInfo>

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
    m_atEnd = !m_store;
}

int DownloadsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int DownloadsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DownloadsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const DownloadRecord &record = m_rows.at(index.row());
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

bool DownloadsModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_atEnd;
}

void DownloadsModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || m_atEnd)
        return;
    QList<DownloadRecord> page =
        m_store ? m_store->pageAfter(m_lastStoreId, kPageSize) : QList<DownloadRecord>();
    if (!page.isEmpty())
        m_lastStoreId = page.last().id;
    m_atEnd = page.size() < kPageSize;
    // Items of this run are listed as the queue knows them, with their latest progress.
    if (m_queue) {
        for (DownloadRecord &record : page) {
            if (const std::optional<DownloadRecord> live = m_queue->record(record.id))
                record = *live;
        }
    }
    appendRows(page);
}

DownloadRecord DownloadsModel::recordAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row) : DownloadRecord();
}

void DownloadsModel::reload()
{
    beginResetModel();
    m_rows.clear();
    m_rowOf.clear();
    m_lastStoreId = 0;
    m_atEnd = !m_store;
    endResetModel();
    if (m_queue) {
        const QList<qint64> ids = m_queue->ids();
        for (qint64 id : ids) {
            if (id < 0)
                addItem(id);
        }
    }
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

void DownloadsModel::addItem(qint64 id)
{
    if (m_rowOf.contains(id)) {
        changeItem(id);
        return;
    }
    // A row of the history that is still to be read arrives with its page.
    if (!m_queue || (id > 0 && !m_atEnd))
        return;
    const std::optional<DownloadRecord> record = m_queue->record(id);
    if (!record)
        return;
    appendRows({*record});
}

void DownloadsModel::changeItem(qint64 id)
{
    const int row = rowOf(id);
    if (row < 0 || !m_queue)
        return;
    const std::optional<DownloadRecord> record = m_queue->record(id);
    if (!record)
        return;
    m_rows[row] = *record;
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void DownloadsModel::removeItem(qint64 id)
{
    const int row = rowOf(id);
    if (row < 0)
        return;
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    m_rowOf.remove(id);
    reindexFrom(row);
    endRemoveRows();
}

void DownloadsModel::appendRows(const QList<DownloadRecord> &records)
{
    if (records.isEmpty())
        return;
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows({}, first, first + static_cast<int>(records.size()) - 1);
    m_rows.append(records);
    reindexFrom(first);
    endInsertRows();
}

void DownloadsModel::reindexFrom(int row)
{
    for (int i = row; i < m_rows.size(); ++i)
        m_rowOf.insert(m_rows.at(i).id, i);
}

} // namespace clipnab
