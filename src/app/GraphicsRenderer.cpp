#include "app/GraphicsRenderer.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <array>

namespace clipnab::GraphicsRenderer {

QByteArray name(QOpenGLContext &context)
{
    if (!context.isValid())
        return {};
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.makeCurrent(&surface))
        return {};
    const auto *renderer = context.functions()->glGetString(GL_RENDERER);
    QByteArray result(reinterpret_cast<const char *>(renderer));
    context.doneCurrent();
    return result;
}

bool isSoftware(const QByteArray &renderer)
{
    static constexpr std::array kSoftware{"llvmpipe", "softpipe", "swrast", "software rasterizer"};
    const QByteArray lower = renderer.toLower();
    if (lower.trimmed().isEmpty())
        return true;
    for (const char *software : kSoftware) {
        if (lower.contains(software))
            return true;
    }
    return false;
}

} // namespace clipnab::GraphicsRenderer
