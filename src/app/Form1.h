#pragma once

#include "app/Form1Ui.h"
#include "app/WindowComponents.h"
#include "retrieval/DownloadFlow.h"
#include "retrieval/TransferRate.h"

#include <QElapsedTimer>
#include <QMainWindow>

#include <memory>
#include <optional>

class QTimer;

namespace clipnab {

class ClipboardWatch;
class DownloadNotices;
class DownloadQueue;
class DownloadRunner;
class DownloadsModel;
class DownloadsWindow;
class HistoryStore;
class PlatformContext;
class SearchPanel;

// The program's one window: two panels, five buttons, the address and search boxes, the
// search browser, and the download queue with its hidden locator browsers and transfers behind
// them. It wires the buttons, menus and boxes to the search panel and the queue and shows what
// they report: the strip and status line follow the first download that runs.
class Form1 final : public QMainWindow
{
    Q_OBJECT
public:
    using Components = WindowComponents;

    static constexpr auto kHomePage = "https://clipnab.org/";
    static constexpr auto kLayoutPath = Form1Ui::kLayoutPath;

    Form1(PlatformContext &context, Components components, QWidget *parent = nullptr);
    ~Form1() override;

    // A download runs or waits to.
    bool downloading() const;
    QString videoId() const;
    bool searchHasFocus() const { return m_searchHasFocus; }

    BrowserComponent &searchBrowser() const { return *m_searchBrowser; }
    // The first download's transfer and flow.
    TransferComponent &transfer() const;
    DownloadFlow &downloadFlow() const;
    DownloadQueue &queue() const { return *m_queue; }
    // Null until the history is open, and when there is none.
    HistoryStore *history() const { return m_history.get(); }
    // Made when first shown.
    DownloadsWindow *downloadsWindow() const { return m_downloadsWindow; }
    void showDownloads();
    void showPreferences();

    // Puts an address into the address box; the address check runs as on any change.
    void setAddress(const QString &address);

Q_SIGNALS:
    // The window was unloaded: the program ends.
    void terminated();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    // A link dropped anywhere on the window goes into the address box.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createComponents(Components components);
    void connectHandlers();
    // Opens the history once the window is up, and takes over what an earlier run left.
    void openHistory();
    // "Already saved on DATE as FILE. Save it again?" when the video was saved before and the
    // file is still there; true when it is to be saved.
    bool confirmSaveAgain(const QString &videoId);
    void follow(DownloadFlow *flow);
    void followNext();
    void onItemStarted(qint64 id, DownloadFlow *flow);
    // The launcher entry's count and progress, over what runs or waits.
    void showQueueProgress();
    void onItemEnded(qint64 id, DownloadFlow *flow, const DownloadOutcome &outcome);

    // Handlers.
    void onDownloadClicked();
    void onStartClicked();
    void onWebsiteClicked();
    void onExitClicked();
    void onStopClicked();
    void onSearchClicked();
    void onHelpClicked();
    void onAboutClicked();
    void onAddressChanged(const QString &text);
    void onAddressReturn();
    void onSearchBoxEvent(QEvent *event);
    void focusAddress();

    // What the search panel and the download report, shown.
    void showSearchProgress(const QString &caption);
    void showDownloadPhase(DownloadFlow::Phase phase);
    void showDownloadProgress(qint64 received, qint64 total);
    // The numbers of the running transfer, a few times a second: the window title and the
    // strip's report.
    void showNumbers();
    // Nothing runs any more; `afterLookup`: the lookup gave up.
    void showIdle(bool afterLookup);
    void stopNumbers();
    void showStatus(const QString &caption);
    // The outcome's sentence, with its reason under it.
    void warn(const DownloadOutcome &outcome);
    std::optional<QString> linkToDrop(const QDropEvent *event) const;

    PlatformContext &m_context;
    QString m_siteBase;
    Form1Ui m_ui;
    std::unique_ptr<BrowserComponent> m_searchBrowser;
    QString m_historyFolder;
    std::unique_ptr<HistoryStore> m_history;
    std::unique_ptr<DownloadQueue> m_queue;
    std::unique_ptr<DownloadRunner> m_runner;
    std::unique_ptr<DownloadsModel> m_downloadsModel;
    DownloadsWindow *m_downloadsWindow = nullptr;
    // The flow the strip and status line show; null while none runs.
    DownloadFlow *m_followed = nullptr;
    bool m_downloadsOpenedOnce = false;
    std::unique_ptr<SearchPanel> m_searchPanel;
    std::unique_ptr<DownloadNotices> m_notices;
    std::unique_ptr<ClipboardWatch> m_clipboardWatch;
    // txtsearch has the focus: Enter there runs a search.
    bool m_searchHasFocus = false;
    bool m_unloaded = false;

    // The running transfer's numbers: its bytes, its length (0 when none was announced) and its
    // speed, sampled on a steady clock; shown by a timer a few times a second.
    TransferRate m_rate;
    QElapsedTimer m_sinceTransferStart;
    QTimer *m_numbersTimer = nullptr;
    qint64 m_received = -1; // -1 until the first report
    qint64 m_total = 0;
};

} // namespace clipnab
