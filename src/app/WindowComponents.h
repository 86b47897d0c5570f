#pragma once

#include "components/BrowserComponent.h"
#include "components/TransferComponent.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace clipnab {

// What one download runs on: a hidden browser for the locator and a transfer.
struct DownloadParts
{
    std::unique_ptr<BrowserComponent> locatorBrowser;
    std::unique_ptr<TransferComponent> transfer;
};

// The parts the window runs with, real or fake, and where they point. The save without a window
// takes the same bundle and uses the locator browser and the transfer alone.
struct WindowComponents
{
    // Makes the visible search browser; its view (if any) is placed in `viewParent`.
    std::function<std::unique_ptr<BrowserComponent>(QWidget *viewParent)> makeSearchBrowser;
    std::unique_ptr<BrowserComponent> locatorBrowser; // `wb`, never shown
    std::unique_ptr<TransferComponent> transfer;      // `Inet1`
    QString siteBase;
    QString downloadFolder;
    // More parts, for downloads at once beyond the first; unset: one download at a time.
    std::function<DownloadParts()> makeDownloadParts{};
    // Where the history is kept; empty: no history.
    QString historyFolder{};
};

} // namespace clipnab
