#include "RenderKinds.h"

#include "controls/button/ButtonGeometry.h"
#include "controls/button/deRurara.h"
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

// Shown as a window of its own the button would take the focus on activation; whether it
// looks focused is the --focus option's to say.
std::unique_ptr<QWidget> createButton(PlatformContext &context, bool design)
{
    auto button = createControl<deRurara>(context, design);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

const std::vector<RenderKind> &renderKinds()
{
    static const std::vector<RenderKind> kinds{
        {QStringLiteral("panel"), PanelMetrics::kDesignSize, &createControl<XPContainer>},
        {QStringLiteral("button"), QSize(ButtonMetrics::kDesignWidth, ButtonMetrics::kDesignHeight),
         &createButton},
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
