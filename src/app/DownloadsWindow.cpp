#include "app/DownloadsWindow.h"

#include "downloads/DownloadQueue.h"
#include "downloads/DownloadsModel.h"
#include "platform/Shell.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace clipnab {

namespace {

constexpr QSize kInitialSize{860, 360};
constexpr int kTitleWidth = 200;
constexpr int kAddressWidth = 180;

struct ActionButton
{
    DownloadAction action;
    const char *objectName;
    const char *text;
};

constexpr ActionButton kActionButtons[] = {
    {DownloadAction::Stop, "cmdStopDownload", "&Stop"},
    {DownloadAction::Resume, "cmdResume", "&Resume"},
    {DownloadAction::Retry, "cmdRetry", "Re&try"},
    {DownloadAction::Remove, "cmdRemove", "Re&move"},
    {DownloadAction::OpenFile, "cmdOpenFile", "&Open file"},
    {DownloadAction::OpenFolder, "cmdOpenFolder", "Open &folder"},
};

} // namespace

DownloadsWindow::DownloadsWindow(DownloadsModel &model, DownloadQueue &queue, Shell &shell,
                                 QWidget *parent)
    : QWidget(parent, Qt::Window), m_model(model), m_queue(queue), m_shell(shell)
{
    setObjectName(QStringLiteral("frmDownloads"));
    setWindowTitle(QStringLiteral("Downloads"));
    resize(kInitialSize);

    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("lstDownloads"));
    m_view->setAccessibleName(QStringLiteral("Downloads"));
    m_view->setModel(&m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAlternatingRowColors(true);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    // Fixed row heights and no per-row size pass: a long history scrolls without measuring rows.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->horizontalHeader()->setStretchLastSection(true);
    // The title and the address are what a row is known by.
    m_view->horizontalHeader()->resizeSection(DownloadsModel::Title, kTitleWidth);
    m_view->horizontalHeader()->resizeSection(DownloadsModel::Address, kAddressWidth);

    auto *buttons = new QHBoxLayout;
    for (const ActionButton &entry : kActionButtons) {
        auto *button = new QPushButton(tr(entry.text), this);
        button->setObjectName(QString::fromLatin1(entry.objectName));
        connect(button, &QPushButton::clicked, this,
                [this, action = entry.action] { act(action, selectedRow()); });
        buttons->addWidget(button);
        m_buttons[entry.action] = button;
    }
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);

    connect(m_view, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { act(DownloadAction::OpenFile, index.row()); });
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DownloadsWindow::updateButtons);
    connect(&m_model, &QAbstractItemModel::dataChanged, this, &DownloadsWindow::updateButtons);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &DownloadsWindow::updateButtons);
    connect(&m_model, &QAbstractItemModel::rowsRemoved, this, &DownloadsWindow::updateButtons);
    updateButtons();
}

int DownloadsWindow::selectedRow() const
{
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

std::optional<DownloadRecord> DownloadsWindow::selected() const
{
    const int row = selectedRow();
    if (row < 0)
        return std::nullopt;
    return m_model.recordAt(row);
}

void DownloadsWindow::act(DownloadAction action, int row)
{
    if (row < 0 || row >= m_model.rowCount())
        return;
    const DownloadRecord record = m_model.recordAt(row);
    if (!isAllowed(action, record.state, QFileInfo(record.filePath).isFile()))
        return;
    switch (action) {
    case DownloadAction::Stop:
        m_queue.stop(record.id);
        break;
    case DownloadAction::Resume:
        m_queue.resume(record.id);
        break;
    case DownloadAction::Retry:
        m_queue.retry(record.id);
        break;
    case DownloadAction::Remove:
        m_queue.remove(record.id);
        break;
    case DownloadAction::OpenFile:
        m_shell.open(QDir::toNativeSeparators(record.filePath));
        break;
    case DownloadAction::OpenFolder:
        m_shell.open(QDir::toNativeSeparators(QFileInfo(record.filePath).absolutePath()));
        break;
    }
    updateButtons();
}

void DownloadsWindow::updateButtons()
{
    const auto record = selected();
    // Only a saved row's file matters; the list changes with every progress report.
    const bool fileExists =
        record && record->state == DownloadState::Saved && QFileInfo(record->filePath).isFile();
    for (const auto &[action, button] : m_buttons)
        button->setEnabled(record && isAllowed(action, record->state, fileExists));
}

} // namespace clipnab
