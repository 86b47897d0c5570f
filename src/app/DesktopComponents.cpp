#include "app/DesktopComponents.h"

#include "app/DeferredBrowser.h"
#include "app/WebEngineModule.h"
#include "components/network/NetworkTransfer.h"

#include <QFont>
#include <QPointer>

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

WindowComponents make(const QString &siteBase, const QString &downloadFolder)
{
    const DeferredBrowser::Factory makeWebEngine = &WebEngineModule::makeBrowser;
    WindowComponents components;
    // The engine starts after the window's first paint, with the search browser; the locator
    // follows it, unless a download needs it first. A save without a window makes the locator
    // at once.
    auto locator = std::make_unique<DeferredBrowser>(makeWebEngine, nullptr,
                                                     DeferredBrowser::Start::OnFirstUse);
    components.makeSearchBrowser = [makeWebEngine,
                                    locatorLater = QPointer(locator.get())](QWidget *viewParent) {
        auto search = std::make_unique<DeferredBrowser>(makeWebEngine, viewParent,
                                                        DeferredBrowser::Start::AfterFirstPaint);
        if (locatorLater)
            QObject::connect(search.get(), &DeferredBrowser::made, locatorLater.data(),
                             &DeferredBrowser::make, Qt::QueuedConnection);
        return search;
    };
    components.locatorBrowser = std::move(locator);
    components.transfer = std::make_unique<NetworkTransfer>();
    components.siteBase = siteBase;
    components.downloadFolder = downloadFolder;
    return components;
}

} // namespace clipnab::DesktopComponents
