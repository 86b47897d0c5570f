#include "app/WebEngineModule.h"

#include "app/GraphicsRenderer.h"
#include "components/webengine/WebEngineModuleEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QOpenGLContext>

// Qt GUI's setter of QOpenGLContext::globalShareContext(), exported but declared in no public
// header.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace clipnab::WebEngineModule {

namespace {

QString modulePath()
{
    const QString name = QString::fromLatin1(WebEngineModuleEntry::kFileName);
    const QString beside =
        QDir(QCoreApplication::applicationDirPath())
            .filePath(QStringLiteral(CLIPNAB_MODULE_DIR_FROM_PROGRAM "/") + name);
    if (QFileInfo::exists(beside))
        return QDir::cleanPath(beside);
    return QDir(QStringLiteral(CLIPNAB_BUILD_MODULE_DIR)).filePath(name);
}

WebEngineModuleEntry::MakeBrowser load()
{
    // Qt WebEngine expects the application-wide OpenGL context that its start-up hook makes when
    // it is linked into the program; made here, before it loads, and kept as the module is.
    auto *shareContext = new QOpenGLContext;
    shareContext->create();
    qt_gl_set_global_share_context(shareContext);
    const QByteArray renderer = GraphicsRenderer::name(*shareContext);
    QLibrary module(modulePath());
    const auto make = reinterpret_cast<WebEngineModuleEntry::MakeBrowser>(
        module.resolve(WebEngineModuleEntry::kMakeBrowser));
    const auto useSoftwareRenderer = reinterpret_cast<WebEngineModuleEntry::UseSoftwareRenderer>(
        module.resolve(WebEngineModuleEntry::kUseSoftwareRenderer));
    if (!make || !useSoftwareRenderer)
        qFatal("Cannot load the browser engine: %s", qPrintable(module.errorString()));
    // The window is already on screen with raster painting: an OpenGL view added to it makes Qt
    // recreate it with an OpenGL surface. That is worth it only for a GPU; without one (no OpenGL
    // at all, or a renderer on the CPU) the view paints into the window as it is. A renderer
    // chosen with QT_QUICK_BACKEND stays.
    if (GraphicsRenderer::isSoftware(renderer) && qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        useSoftwareRenderer();
    return make;
}

} // namespace

std::unique_ptr<BrowserComponent> makeBrowser(QWidget *viewParent)
{
    static const WebEngineModuleEntry::MakeBrowser make = load();
    return std::unique_ptr<BrowserComponent>(make(viewParent));
}

} // namespace clipnab::WebEngineModule
