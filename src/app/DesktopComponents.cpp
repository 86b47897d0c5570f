#include "app/DesktopComponents.h"

#include "app/FallbackLocator.h"
#include "components/network/NetworkTransfer.h"
#include "components/network/RedirectLocator.h"
#include "components/webengine/WebEngineBrowser.h"

#include <QCoreApplication>
#include <QFont>
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
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

void installFontSubstitutes()
{
    const QStringList closest{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")};
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), closest);
    QFont::insertSubstitutions(QStringLiteral("Verdana"), closest);
}

namespace {

// A locator that loads a page in the browser engine (a renderer process each) only where a
// plain GET finds no token.
std::unique_ptr<BrowserComponent> quickLocator()
{
    return std::make_unique<FallbackLocator>(std::make_unique<RedirectLocator>(), [] {
        return std::make_unique<WebEngineBrowser>(nullptr);
    });
}

// The bundle around a given locator.
WindowComponents bundle(const QString &siteBase, const QString &downloadFolder,
                        std::unique_ptr<BrowserComponent> locator)
{
    WindowComponents components;
    components.makeSearchBrowser = [](QWidget *viewParent) {
        return std::make_unique<WebEngineBrowser>(viewParent);
    };
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
    return bundle(siteBase, downloadFolder, std::make_unique<WebEngineBrowser>(nullptr));
}

WindowComponents makeForSave(const QString &siteBase, const QString &downloadFolder)
{
    return bundle(siteBase, downloadFolder, quickLocator());
}

} // namespace clipnab::DesktopComponents
