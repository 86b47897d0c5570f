#include "RenderKinds.h"

#include "RenderOptions.h"

#include "controls/button/AboutBox.h"
#include "controls/button/ButtonGeometry.h"
#include "controls/button/deRurara.h"
#include "controls/panel/PanelPainter.h"
#include "controls/panel/XPContainer.h"
#include "platform/PropertyBag.h"
#include "platform/widgets/PlatformContext.h"
#include "platform/widgets/ToolTipWindow.h"

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
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

std::unique_ptr<QWidget> createAboutBox(PlatformContext &context, bool)
{
    return std::make_unique<AboutBox>(context.systemColors(), QString::fromLatin1(kButtonVersion));
}

void sendMouse(QWidget &target, QEvent::Type type, Qt::MouseButton button, QPoint at)
{
    QMouseEvent event(type, QPointF(at), target.mapToGlobal(QPointF(at)), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &event);
}

// The box shows pressed while a mouse button is down in it.
void showAboutLook(QWidget &box, ButtonLook look)
{
    if (look == ButtonLook::Pressed)
        sendMouse(box, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(1, 1));
    else if (look != ButtonLook::Unset && look != ButtonLook::Normal)
        throw UsageError("about shows --state normal or pressed only");
}

// A button at run time, restored as the window restores its buttons, whose tooltip is drawn.
std::unique_ptr<QWidget> createTipButton(PlatformContext &context, bool design)
{
    auto button = std::make_unique<deRurara>(context);
    button->setDesignMode(design);
    button->readProperties(PropertyBag());
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// The pointer enters the button; its tooltip window pops up at once where the pointer is.
QImage captureToolTip(QWidget &control)
{
    auto &button = static_cast<deRurara &>(control);
    const QPoint at = button.rect().center();
    sendMouse(button, QEvent::MouseMove, Qt::NoButton, at);
    ToolTipWindow *tip = button.toolTipWindow();
    if (!tip || tip->text().isEmpty())
        throw UsageError("the button shows no tooltip: it needs --set ToolTip=TEXT in run mode");
    tip->popUp(button.mapToGlobal(at));
    QCoreApplication::processEvents();
    return tip->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

const std::vector<RenderKind> &renderKinds()
{
    static const std::vector<RenderKind> kinds{
        {QStringLiteral("panel"), PanelMetrics::kDesignSize, &createControl<XPContainer>, {}, {}},
        {QStringLiteral("button"),
         QSize(ButtonMetrics::kDesignWidth, ButtonMetrics::kDesignHeight),
         &createButton,
         {},
         {}},
        {QStringLiteral("about"),
         QSize(AboutMetrics::kWidth, AboutMetrics::kHeight),
         &createAboutBox,
         &showAboutLook,
         {}},
        {QStringLiteral("tooltip"),
         QSize(ButtonMetrics::kDesignWidth, ButtonMetrics::kDesignHeight),
         &createTipButton,
         {},
         &captureToolTip},
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
