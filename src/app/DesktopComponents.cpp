#include "app/DesktopComponents.h"

#include "app/DeferredBrowser.h"
#include "app/FallbackLocator.h"
#include "app/WebEngineModule.h"
#include "components/network/NetworkTransfer.h"
#include "components/network/RedirectLocator.h"

#include <QFont>
#include <QPointer>
#include <QStandardPaths>

#include <unistd.h>

namespace clipnab::DesktopComponents {

void prepareWebEngine()
{
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // On Linux, WebEngine shows its pages to assistive technology only when asked to. Asking
    // costs nothing measurable at start-up (the page's accessibility tree is built only once an
    // assistive technology is active), so the search results' links always reach a screen
    // reader. A value set by the user stays.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"))
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
}

void installFontSubstitutes()
{
    const QStringList closest{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")};
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), closest);
    QFont::insertSubstitutions(QStringLiteral("Verdana"), closest);
}

namespace {

// A WebEngine browser without a view, made by its first navigation.
std::unique_ptr<DeferredBrowser> makeHiddenBrowser()
{
    return std::make_unique<DeferredBrowser>(&WebEngineModule::makeBrowser, nullptr,
                                             DeferredBrowser::Start::OnFirstUse);
}

// The visible search browser, made once the window's first paint is done.
std::unique_ptr<DeferredBrowser> makeSearchBrowser(QWidget *viewParent)
{
    return std::make_unique<DeferredBrowser>(&WebEngineModule::makeBrowser, viewParent,
                                             DeferredBrowser::Start::AfterFirstPaint);
}

// A locator that loads a page in the browser engine (a renderer process each) only where a
// plain GET finds no token.
std::unique_ptr<BrowserComponent> quickLocator()
{
    return std::make_unique<FallbackLocator>(std::make_unique<RedirectLocator>(),
                                             [] { return WebEngineModule::makeBrowser(nullptr); });
}

// The bundle around a given locator.
WindowComponents bundle(const QString &siteBase, const QString &downloadFolder,
                        std::unique_ptr<BrowserComponent> locator)
{
    WindowComponents components;
    components.makeSearchBrowser = &makeSearchBrowser;
    components.locatorBrowser = std::move(locator);
    components.transfer = std::make_unique<NetworkTransfer>();
    components.siteBase = siteBase;
    components.downloadFolder = downloadFolder;
    components.makeDownloadParts = [] {
        return DownloadParts{quickLocator(), std::make_unique<NetworkTransfer>()};
    };
    components.historyFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return components;
}

} // namespace

WindowComponents make(const QString &siteBase, const QString &downloadFolder)
{
    // The engine starts after the window's first paint, with the search browser; the locator
    // follows it, unless a download needs it first.
    auto locator = makeHiddenBrowser();
    QPointer<DeferredBrowser> locatorLater = locator.get();
    WindowComponents components = bundle(siteBase, downloadFolder, std::move(locator));
    components.makeSearchBrowser = [locatorLater](QWidget *viewParent) {
        auto search = makeSearchBrowser(viewParent);
        if (locatorLater)
            QObject::connect(search.get(), &DeferredBrowser::made, locatorLater.data(),
                             &DeferredBrowser::make, Qt::QueuedConnection);
        return search;
    };
    return components;
}

WindowComponents makeForSave(const QString &siteBase, const QString &downloadFolder)
{
    return bundle(siteBase, downloadFolder, quickLocator());
}

} // namespace clipnab::DesktopComponents
