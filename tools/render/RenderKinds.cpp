#include "RenderKinds.h"

#include "controls/panel/PanelPainter.h"
#include "controls/panel/XPContainer.h"

#include <QWidget>

namespace clipnab {

namespace {

// Each kind makes a new instance the way a host places one: design flag first, then the
// defaults.
template <typename Control>
std::unique_ptr<QWidget> createControl(PlatformContext &context, bool design)
{
    auto control = std::make_unique<Control>(context);
    control->setDesignMode(design);
    control->initProperties();
    return control;
}

} // namespace

const std::vector<RenderKind> &renderKinds()
{
    static const std::vector<RenderKind> kinds{
        {QStringLiteral("panel"), PanelMetrics::kDesignSize, &createControl<XPContainer>},
    };
    return kinds;
}

const RenderKind *findRenderKind(const QString &name)
{
    for (const RenderKind &kind : renderKinds()) {
        if (kind.name == name)
            return &kind;
    }
    return nullptr;
}

} // namespace clipnab
