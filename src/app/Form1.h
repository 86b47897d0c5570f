#pragma once

#include "retrieval/DownloadView.h"

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;

namespace clipnab {

class BrowserComponent;
class DownloadFlow;
class PlatformContext;
class SearchPanel;
class TransferComponent;
class XPContainer;
class deRurara;

// The program's one window: two panels, five buttons, the address and search boxes, the
// search browser, and the hidden locator browser and transfer component behind them.
class Form1 final : public QMainWindow, private DownloadView
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
        QString layoutPath = QStringLiteral(":/clipnab/form1-layout.json");
    };

    static constexpr int kTwipsPerPixel = 15;
    static constexpr auto kHomePage = "https://clipnab.org/";

    Form1(PlatformContext &context, Components components, QWidget *parent = nullptr);
    ~Form1() override;

    bool downloading() const;
    QString videoId() const;
    bool searchHasFocus() const;

    BrowserComponent &searchBrowser() const { return *m_wbSearch; }
    BrowserComponent &locatorBrowser() const { return *m_wb; }
    TransferComponent &transfer() const { return *m_inet; }
    DownloadFlow &downloadFlow() const { return *m_flow; }

Q_SIGNALS:
    // The window was unloaded: the program ends.
    void terminated();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    void loadLayout(const QString &path);
    void buildMenus();
    void connectHandlers();
    void formLoad();

    // Handlers.
    void cmdDownClick();
    void cmdStartClick();
    void cmdWebClick();
    void cmdExitClick();
    void cmdSearchClick();
    void txtUrlChange(const QString &text);

    // DownloadView
    void setDownloadControlsEnabled(bool enabled) override;
    void setStatusCaption(const QString &caption) override;
    void setStatusVisible(bool visible) override;
    void setProgressVisible(bool visible) override;
    void setProgressWidthTwips(int twips) override;
    QWidget *dialogParent() override { return this; }

    PlatformContext &m_context;
    Components m_components;
    std::unique_ptr<BrowserComponent> m_wbSearch;
    std::unique_ptr<BrowserComponent> m_wb;
    std::unique_ptr<TransferComponent> m_inet;
    std::unique_ptr<DownloadFlow> m_flow;
    std::unique_ptr<SearchPanel> m_search;

    QWidget *m_client = nullptr;
    XPContainer *m_xpContainer1 = nullptr;
    XPContainer *m_xpContainer2 = nullptr;
    deRurara *m_cmdDown = nullptr;
    deRurara *m_cmdWeb = nullptr;
    deRurara *m_cmdExit = nullptr;
    deRurara *m_cmdSearch = nullptr;
    deRurara *m_cmdStart = nullptr;
    QLineEdit *m_txtSearch = nullptr;
    QLineEdit *m_txtUrl = nullptr;
    QLabel *m_lblUrl = nullptr;
    QFrame *m_shape2 = nullptr;
    QWidget *m_wbSearchHost = nullptr;
    QLabel *m_label4 = nullptr;
    QFrame *m_shape1 = nullptr;
    QLabel *m_imgPB = nullptr;
    QLabel *m_label1 = nullptr;
    // The verdict colour of lblUrl as an OLE colour: 255 red "not available", 0 black.
    std::int32_t m_lblUrlForeColor = 0;
    bool m_unloaded = false;
};

} // namespace clipnab
