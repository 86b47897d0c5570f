#pragma once

#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QImage;
class QWidget;

namespace clipnab {

class PlatformContext;
enum class ButtonLook;

// A control the render tool can draw: a new instance with its properties initialised, in
// design mode or run mode.
struct RenderKind
{
    QString name;
    QSize designSize;
    std::function<std::unique_ptr<QWidget>(PlatformContext &context, bool design)> create;
    // How a --state shows when it is not through the button's runtime properties.
    std::function<void(QWidget &control, ButtonLook look)> showLook;
    // What is drawn when it is not the control itself.
    std::function<QImage(QWidget &control)> capture;
};

const std::vector<RenderKind> &renderKinds();
const RenderKind *findRenderKind(const QString &name);

} // namespace clipnab
