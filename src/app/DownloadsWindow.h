#pragma once

#include "downloads/DownloadAction.h"

#include <QWidget>

#include <map>
#include <optional>

class QPushButton;
class QTableView;

namespace clipnab {

class DownloadQueue;
class DownloadsModel;
class Shell;
struct DownloadRecord;

// The Downloads window: the list of downloads, this run's and the history's, with the actions
// of the selected one. Double-click opens a saved file.
class DownloadsWindow final : public QWidget
{
    Q_OBJECT
public:
    DownloadsWindow(DownloadsModel &model, DownloadQueue &queue, Shell &shell,
                    QWidget *parent = nullptr);

    // Runs an action on the download in `row`, if it applies to it.
    void act(DownloadAction action, int row);
    QTableView *view() const { return m_view; }

private:
    std::optional<DownloadRecord> selected() const;
    int selectedRow() const;
    void updateButtons();

    DownloadsModel &m_model;
    DownloadQueue &m_queue;
    Shell &m_shell;
    QTableView *m_view = nullptr;
    std::map<DownloadAction, QPushButton *> m_buttons;
};

} // namespace clipnab
