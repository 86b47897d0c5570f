#include "components/webengine/WebEngineModuleEntry.h"

#include "components/webengine/WebEngineBrowser.h"

#include <QQuickWindow>

#include <type_traits>

extern "C" Q_DECL_EXPORT clipnab::BrowserComponent *
clipnab_make_webengine_browser(QWidget *viewParent)
{
    static_assert(std::is_same_v<decltype(&clipnab_make_webengine_browser),
                                 clipnab::WebEngineModuleEntry::MakeBrowser>);
    // The view paints with the window's raster painting. An OpenGL view added to a window already
    // on screen would make Qt destroy and recreate the window with an OpenGL surface. The renderer
    // is chosen once, before the first view.
    static const bool softwareRenderer = [] {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        return true;
    }();
    Q_UNUSED(softwareRenderer);
    return new clipnab::WebEngineBrowser(viewParent);
}
