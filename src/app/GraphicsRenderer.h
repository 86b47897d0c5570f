#pragma once

#include <QByteArray>

class QOpenGLContext;

namespace clipnab {

// What draws for an OpenGL context: the browser view composites its pages with the GPU only when
// there is one, because an OpenGL view makes Qt recreate the window it is added to.
namespace GraphicsRenderer {

// The renderer string of `context` (GL_RENDERER), empty when the context cannot be made
// current.
QByteArray name(QOpenGLContext &context);

// Whether `renderer` draws on the CPU: Mesa's llvmpipe, softpipe and swrast, or no renderer at
// all.
bool isSoftware(const QByteArray &renderer);

} // namespace GraphicsRenderer

} // namespace clipnab
