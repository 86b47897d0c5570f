#pragma once

#include "retrieval/DownloadFlow.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QTimer;

namespace clipnab {

class BrowserComponent;
struct ControlRecord;
class PlatformContext;
class SearchPanel;
class TransferComponent;
class XPContainer;
class deRurara;

// The program's one window: two panels, five buttons, the address and search boxes, the
// search browser, and the hidden locator browser and transfer component behind them.
class Form1 final : public QMainWindow
{
    Q_OBJECT
public:
    struct Components
    {
        // Makes the visible search browser; its view (if any) is placed in `viewParent`.
        std::function<std::unique_ptr<BrowserComponent>(QWidget *viewParent)> makeSearchBrowser;
        std::unique_ptr<BrowserComponent> locatorBrowser; // `wb`, never shown
        std::unique_ptr<TransferComponent> transfer;      // `Inet1`
        QString siteBase;
        QString downloadFolder;
    };

    static constexpr auto kHomePage = "https://clipnab.org/";
    // The saved layout of the panels and buttons, compiled in.
    static constexpr auto kLayoutPath = ":/clipnab/form1-layout.json";

    Form1(PlatformContext &context, Components components, QWidget *parent = nullptr);
    ~Form1() override;

    bool downloading() const;
    QString videoId() const;
    bool searchHasFocus() const;

    BrowserComponent &searchBrowser() const { return *m_searchBrowser; }
    BrowserComponent &locatorBrowser() const { return *m_locatorBrowser; }
    TransferComponent &transfer() const { return *m_transfer; }
    DownloadFlow &downloadFlow() const { return *m_download; }

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
    // Loading, in this order.
    void createClientArea();
    void restoreSavedControls();
    QWidget *restoreControl(const ControlRecord &record, QWidget *container);
    void createOwnWidgets();
    void createSearchBox();
    void createAddressWidgets();
    void createBrowserArea();
    void createProgressWidgets();
    void wireTabOrder();
    void buildMenus();
    void createComponents(Components components);
    void connectHandlers();
    void startUp();

    // Handlers.
    void onDownloadClicked();
    void onStartClicked();
    void onWebsiteClicked();
    void onExitClicked();
    void onStopClicked();
    void onSearchClicked();
    void onAddressChanged(const QString &text);
    void onSearchBoxEvent(QEvent *event);

    // What the search panel and the download report, shown.
    void showSearchProgress(const QString &caption);
    void showDownloadPhase(DownloadFlow::Phase phase);
    void showDownloadProgress(qint64 received, qint64 total);
    void showDownloadOutcome(const DownloadOutcome &outcome);
    void showIdleAfterLookup();
    void showIdleAfterTransfer();
    void setDownloadControlsEnabled(bool enabled);
    void setProgressStripVisible(bool visible);
    void setProgressStripWidth(int twips);
    void hideProgressStrip();
    void sweepProgressStrip();
    void warn(const QString &text);
    std::optional<QString> linkToDrop(const QDropEvent *event) const;

    PlatformContext &m_context;
    QString m_siteBase;
    std::unique_ptr<BrowserComponent> m_searchBrowser;
    std::unique_ptr<BrowserComponent> m_locatorBrowser;
    std::unique_ptr<TransferComponent> m_transfer;
    std::unique_ptr<DownloadFlow> m_download;
    std::unique_ptr<SearchPanel> m_searchPanel;

    QWidget *m_client = nullptr;
    XPContainer *m_toolsPanel = nullptr;      // XPContainer1
    XPContainer *m_downloaderPanel = nullptr; // XPContainer2
    deRurara *m_downloadButton = nullptr;     // cmdDown
    deRurara *m_websiteButton = nullptr;      // cmdWeb
    deRurara *m_exitButton = nullptr;         // cmdExit
    deRurara *m_searchButton = nullptr;       // cmdSearch
    deRurara *m_startButton = nullptr;        // cmdStart
    QLineEdit *m_searchBox = nullptr;         // txtsearch
    QLineEdit *m_addressBox = nullptr;        // txtURL
    QLabel *m_verdictLabel = nullptr;         // lblUrl
    QFrame *m_browserFrame = nullptr;         // Shape2
    QWidget *m_searchBrowserHost = nullptr;   // wbSearch
    QLabel *m_searchProgressLabel = nullptr;  // Label4
    QFrame *m_progressFrame = nullptr;        // Shape1
    QLabel *m_progressStrip = nullptr;        // imgPB
    QLabel *m_statusLabel = nullptr;          // Label1
    QAction *m_stopAction = nullptr;          // menuStop
    // Moves the activity block while a body of unknown length arrives.
    QTimer *m_sweepTimer = nullptr;
    int m_sweepTick = 0;
    // The live check's verdict on txtURL; the example address at start-up counts as available.
    bool m_addressAvailable = true;
    bool m_unloaded = false;
};

} // namespace clipnab
