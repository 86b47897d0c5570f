#pragma once

#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace clipnab {

class PlatformContext;

// A control the render tool can draw: a new instance with its properties initialised, in
// design mode or run mode.
struct RenderKind
{
    QString name;
    QSize designSize;
    std::function<std::unique_ptr<QWidget>(PlatformContext &context, bool design)> create;
};

const std::vector<RenderKind> &renderKinds();
const RenderKind *findRenderKind(const QString &name);

} // namespace clipnab
