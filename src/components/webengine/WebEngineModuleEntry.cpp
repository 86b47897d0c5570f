#include "components/webengine/WebEngineModuleEntry.h"

#include "components/webengine/WebEngineBrowser.h"

#include <QQuickWindow>

#include <type_traits>

extern "C" Q_DECL_EXPORT clipnab::BrowserComponent *
clipnab_make_webengine_browser(QWidget *viewParent)
{
    static_assert(std::is_same_v<decltype(&clipnab_make_webengine_browser),
                                 clipnab::WebEngineModuleEntry::MakeBrowser>);
    return new clipnab::WebEngineBrowser(viewParent);
}

extern "C" Q_DECL_EXPORT void clipnab_webengine_use_software_renderer()
{
    static_assert(std::is_same_v<decltype(&clipnab_webengine_use_software_renderer),
                                 clipnab::WebEngineModuleEntry::UseSoftwareRenderer>);
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}
