#pragma once

#include "components/BrowserComponent.h"
#include "components/TransferComponent.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace clipnab {

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
};

} // namespace clipnab
