#include "controls/button/deRurara.h"

#include "controls/AccessibleFactory.h"
#include "controls/button/AboutBox.h"
#include "controls/button/ButtonAccessible.h"
#include "controls/button/ElaborateStyles.h"
#include "controls/button/PlainStyles.h"
#include "platform/PropertyBag.h"
#include "platform/Shell.h"
#include "platform/Surface.h"
#include "platform/SystemColors.h"
#include "platform/widgets/PlatformContext.h"
#include "platform/widgets/ThemePainter.h"
#include "platform/widgets/ToolTipWindow.h"
#include "platform/widgets/WindowSubclass.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRegion>

#include <utility>

namespace clipnab {

namespace {

using enum ButtonState;

constexpr double kDesignFontPoints = 8.25;
constexpr int kBalloonTip = 1;
constexpr Rgb kIconShadow = makeRgb(128, 128, 128);
constexpr int kIconShadowOffset = 2;
// Results in the manner of the shell's opener: above 32 is success.
constexpr int kOpenSucceeded = 42;
constexpr int kOpenFileNotFound = 2;

// Runs `step` and tells whether `object` outlived it: a step that raises an event runs the
// host's handler, which may delete the button.
template <typename Step> bool survives(QObject *object, Step &&step)
{
    const QPointer<QObject> alive(object);
    std::forward<Step>(step)();
    return !alive.isNull();
}

QFont designFont()
{
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(kDesignFontPoints);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

deRurara::deRurara(PlatformContext &context, QWidget *parent)
    : QWidget(parent), m_context(context),
      m_surface(std::make_unique<Surface>(context.systemColors())),
      m_shapeRegion(std::make_unique<QRegion>()),
      m_about(std::make_unique<AboutBox>(context.systemColors(), Version(), this))
{
    m_properties.font = designFont();
    // The control's own background starts as the button face, as a new window's does.
    m_surface->setBackColor(context.systemColors().color(SysColor::kButtonFace));
    setFocusPolicy(Qt::StrongFocus);
    installAccessibleFactory<deRurara, ButtonAccessible>();
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The resize step's minimum size: a smaller request is enlarged to it.
    setMinimumSize(ButtonMetrics::kMinimumSide, ButtonMetrics::kMinimumSide);
    resize(ButtonMetrics::kDesignWidth, ButtonMetrics::kDesignHeight);
}

deRurara::~deRurara()
{
    // Interception ends before the window goes; nothing here may escape a destructor.
    try {
        if (m_subclass)
            m_subclass->stopAll();
    } catch (...) {
    }
    // The tooltip window watches this widget: it goes while the widget is still whole.
    delete m_tipWindow;
}

QSize deRurara::sizeHint() const
{
    return {ButtonMetrics::kDesignWidth, ButtonMetrics::kDesignHeight};
}

const QImage &deRurara::surfaceImage() const
{
    return m_surface->image();
}

const QRegion &deRurara::shapeRegion() const
{
    return *m_shapeRegion;
}

ToolTipWindow *deRurara::toolTipWindow() const
{
    return m_tipWindow;
}

bool deRurara::isSubclassed() const
{
    return m_subclass && m_subclass->isSubclassed(this);
}

Rgb deRurara::translate(OleColor color) const
{
    return translateColor(color, m_context.systemColors());
}

void deRurara::notify(const QString &name)
{
    ButtonAccessible::propertyChanged(this, name);
    Q_EMIT propertyChanged(name);
}

// ---- properties ----------------------------------------------------------------------------

std::optional<PropertyValue> deRurara::resolve(const ButtonDefault &source) const
{
    switch (source.source) {
    case ButtonDefault::Source::Constant:
        return source.constant;
    case ButtonDefault::Source::SystemColor:
        return OleColor(m_context.systemColors().color(source.systemColor));
    case ButtonDefault::Source::HostToolTip:
        return toolTip();
    case ButtonDefault::Source::HostName:
        return objectName();
    case ButtonDefault::Source::CurrentFont:
        return m_properties.font;
    case ButtonDefault::Source::DesignFont:
        return designFont();
    case ButtonDefault::Source::None:
        break;
    }
    return std::nullopt;
}

void deRurara::initProperties()
{
    for (const ButtonPropertyRow &row : buttonPropertyRows())
        storeField(m_properties, row.field, *resolve(row.newValue));
    m_captionFormat = kInitialCaptionFormat;
}

void deRurara::readProperties(const PropertyBag &bag)
{
    m_buttonState = Normal;
    // Each value is stored as soon as it is read; a bad entry stops the restore there.
    for (const ButtonProperty property : kButtonRestoreOrder) {
        const ButtonPropertyRow &row = buttonPropertyRow(property);
        storeField(m_properties, row.field,
                   readBagValue(bag, QString::fromLatin1(row.key), row.format,
                                *resolve(row.restoreDefault)));
        // A button restored disabled takes no input either, not only looks disabled.
        if (property == ButtonProperty::Enabled)
            QWidget::setEnabled(m_properties.enabled);
    }
    if (!m_designMode)
        startTracking();
}

void deRurara::writeProperties(PropertyBag &bag) const
{
    for (const ButtonPropertyRow &row : buttonPropertyRows())
        writeBagValue(bag, QString::fromLatin1(row.key), row.format,
                      fieldValue(m_properties, row.field), resolve(row.saveDefault));
}

void deRurara::write(ButtonProperty property, const PropertyValue &value)
{
    const ButtonPropertyRow &row = buttonPropertyRow(property);
    storeField(m_properties, row.field, value);
    const QString name = QString::fromLatin1(row.notifiedName);
    switch (row.change) {
    case ButtonChange::Relayout:
        notify(name);
        resizeStep();
        break;
    case ButtonChange::Repaint:
        notify(name);
        Refresh();
        break;
    case ButtonChange::RepaintThenNotify:
        Refresh();
        notify(name);
        break;
    }
}

void deRurara::writeEnabled(bool value)
{
    m_buttonState = Normal;
    write(ButtonProperty::Enabled, value);
    QWidget::setEnabled(value);
}

void deRurara::writeButtonState(int value)
{
    m_buttonState = static_cast<clipnab::ButtonState>(value);
    Refresh();
}

void deRurara::writeHasFocus(bool value)
{
    m_hasFocus = value;
    Refresh();
}

// ---- layout and painting -------------------------------------------------------------------

clipnab::ButtonStyle deRurara::buttonStyle() const
{
    return static_cast<clipnab::ButtonStyle>(m_properties.style);
}

void deRurara::resizeStep()
{
    updateLayout();
    Refresh();
}

void deRurara::updateLayout()
{
    m_surface->resize(width(), height(), Surface::scaleFor(devicePixelRatio()));
    m_captionRect = captionRectFor(width(), height());
    m_captionFormat =
        captionFormatFor(static_cast<ButtonAlign>(m_properties.captionAlign), m_captionFormat);
    applyShape();
}

void deRurara::applyShape()
{
    *m_shapeRegion = shapeForStyle(buttonStyle(), width(), height());
    setMask(*m_shapeRegion);
}

ButtonView deRurara::view() const
{
    return ButtonView{m_context.systemColors(),
                      m_surface->width(),
                      m_surface->height(),
                      m_hasFocus,
                      m_properties.showFocus,
                      m_properties.useCustomColors,
                      translate(m_properties.backColor),
                      translate(m_properties.highlightColor)};
}

clipnab::ButtonState deRurara::shownState() const
{
    if (!m_properties.enabled)
        return Disabled;
    if (m_properties.buttonType == kCheckButton && m_properties.value)
        return Pressed;
    if (m_designMode && buttonStyle() != ButtonStyle::RingedGradient)
        return Hot;
    return m_buttonState;
}

void deRurara::Refresh()
{
    paintSurface();
    update();
}

void deRurara::paintSurface()
{
    // A hidden button gets its resize event only when shown; a size set meanwhile is laid out
    // here, so that this pass paints at the right size. A new density shows at the next paint.
    if (m_surface->width() != width() || m_surface->height() != height())
        updateLayout();
    ++m_paintCount;
    const clipnab::ButtonState state = shownState();
    clipnab::ButtonStyle style = buttonStyle();
    m_surface->clear();
    if (state == Disabled)
        m_surface->setBackColor(m_context.systemColors().color(SysColor::kButtonFace));

    bool themeFailed = false;
    if (isPlainStyle(style))
        paintPlainStyle(style, *m_surface, view(), state);
    else if (style == ButtonStyle::SystemTheme)
        themeFailed = !paintSystemTheme(state);
    else if (const StyleRenderer renderer = elaborateRenderer(style, m_properties.useCustomColors))
        renderer(*m_surface, view(), state);

    // Without a theme the caption and the icon of this pass already follow the non-theme style.
    if (themeFailed)
        style = static_cast<clipnab::ButtonStyle>(m_properties.nonThemeStyle);
    drawCaption(state);
    drawIcon(style, state);
    // ... which the button keeps for the rest of the run; the window shape follows at the next
    // resize step.
    if (themeFailed)
        m_properties.style = m_properties.nonThemeStyle;
}

bool deRurara::paintSystemTheme(clipnab::ButtonState state)
{
    m_surface->setBackColor(m_context.systemColors().color(SysColor::kButtonFace));
    const ThemePainter &theme = m_context.theme();
    if (!theme.isAvailable())
        return false;
    const int themeState = static_cast<int>(state == Normal && m_hasFocus ? Defaulted : state);
    QImage &image = m_surface->paintDevice();
    return m_themeMemo.paint(
        image, image.rect(),
        ThemeKey{style(), palette().cacheKey(), themeState, m_surface->scale()}, [&] {
            return theme.drawPushButton(image, QRect(0, 0, m_surface->width(), m_surface->height()),
                                        themeState, this);
        });
}

void deRurara::drawCaption(clipnab::ButtonState state)
{
    const SystemColors &colors = m_context.systemColors();
    Rgb color = 0;
    if (state == Disabled)
        color = translate(systemColorRef(SysColor::kGrayText));
    else if (!m_properties.useCustomColors)
        color = colors.color(SysColor::kButtonText);
    else if (state == Hot || state == Pressed)
        color = translate(m_properties.fontHighlightColor);
    else
        color = translate(m_properties.fontColor);
    const Rgb previous = m_surface->foreColor();
    m_surface->setForeColor(color);
    m_surface->setFont(m_properties.font);
    const GdiRect &r = m_captionRect;
    const int k = m_surface->scale();
    m_captionMemo.paint(
        m_surface->paintDevice(),
        QRect(r.left * k, r.top * k, (r.right - r.left) * k, (r.bottom - r.top) * k),
        CaptionKey{m_properties.caption, m_properties.font, m_captionFormat, r, color, k}, [&] {
            m_surface->drawText(m_properties.caption, r.left, r.top, r.right, r.bottom,
                                m_captionFormat);
            return true;
        });
    m_surface->setForeColor(previous);
}

void deRurara::drawIcon(clipnab::ButtonStyle style, clipnab::ButtonState state)
{
    const QImage &icon = m_properties.icon;
    if (icon.isNull() || !m_properties.iconVisible)
        return;
    const int size = m_properties.iconSize;
    QPoint at = iconPosition(static_cast<ButtonAlign>(m_properties.iconAlign), width(), height(),
                             size, iconMarginFor(style));
    if (state == Pressed)
        at += QPoint(1, 1);
    if (state == Hot && style == ButtonStyle::HighlightBox) {
        // A grey silhouette of the icon, with the icon itself lifted up and left of it.
        m_surface->drawPicture(icon, at.x(), at.y(), size, size);
        const Rgb reference = m_surface->pixel(1, 1);
        for (int py = at.y(); py <= at.y() + size; ++py) {
            for (int px = at.x(); px <= at.x() + size; ++px) {
                if (m_surface->pixel(px, py) != reference)
                    m_surface->setPixel(px, py, kIconShadow);
            }
        }
        at -= QPoint(kIconShadowOffset, kIconShadowOffset);
    }
    m_surface->drawPicture(icon, at.x(), at.y(), size, size);
}

void deRurara::paintEvent(QPaintEvent *)
{
    // A window moved to a screen of another density shows it first here.
    if (m_surface->scale() != Surface::scaleFor(devicePixelRatio()))
        paintSurface();
    QPainter painter(this);
    m_surface->drawOn(painter);
}

void deRurara::resizeEvent(QResizeEvent *)
{
    resizeStep();
}

// ---- input ---------------------------------------------------------------------------------

void deRurara::onMouseDown(Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    m_buttonState = Pressed;
    Refresh();
}

clipnab::ButtonState deRurara::releasedState(bool byPointer) const
{
    return byPointer || m_mouseInside ? Hot : Normal;
}

void deRurara::onMouseUp(Qt::MouseButton button, bool byPointer)
{
    if (button == Qt::LeftButton) {
        m_buttonState = m_properties.buttonType == kCheckButton && !m_properties.value
                            ? Pressed
                            : releasedState(byPointer);
        Refresh();
    }
    m_lastButton = button;
}

void deRurara::onClick(bool byPointer)
{
    if (m_lastButton != Qt::LeftButton)
        return;
    if (m_properties.buttonType == kCheckButton) {
        m_properties.value = !m_properties.value;
        m_buttonState = releasedState(byPointer);
        Refresh();
        ButtonAccessible::propertyChanged(this, QStringLiteral("Value"));
    }
    Q_EMIT Click();
}

void deRurara::click()
{
    if (!m_properties.enabled)
        return;
    if (survives(this, [this] {
            onMouseDown(Qt::LeftButton);
            onMouseUp(Qt::LeftButton, false);
        }))
        onClick(false);
}

void deRurara::onDoubleClick()
{
    if (m_lastButton == Qt::LeftButton)
        onMouseDown(Qt::LeftButton);
}

void deRurara::mousePressEvent(QMouseEvent *event)
{
    m_pressedButtons |= event->button();
    onMouseDown(event->button());
    event->accept();
}

void deRurara::mouseReleaseEvent(QMouseEvent *event)
{
    const Qt::MouseButton button = event->button();
    // A click is a left release inside the button after a left press on it.
    const bool click = button == Qt::LeftButton && m_pressedButtons.testFlag(Qt::LeftButton) &&
                       rect().contains(event->position().toPoint());
    m_pressedButtons.setFlag(button, false);
    if (survives(this, [this, button] { onMouseUp(button); }) && click)
        onClick();
    event->accept();
}

void deRurara::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click presses the button again but clicks no second time.
    if (event->button() == Qt::LeftButton)
        onDoubleClick();
    else
        onMouseDown(event->button());
    event->accept();
}

void deRurara::mouseMoveEvent(QMouseEvent *event)
{
    event->ignore();
}

namespace {

// Space and Enter press a focused button, as they do a push button on Linux desktops.
bool pressesButton(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return false;
    }
}

} // namespace

void deRurara::keyPressEvent(QKeyEvent *event)
{
    if (!pressesButton(event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        onMouseDown(Qt::LeftButton);
    event->accept();
}

void deRurara::keyReleaseEvent(QKeyEvent *event)
{
    if (!pressesButton(event)) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    // The key acts as a left press and release; the release clicks once.
    if (!event->isAutoRepeat() && survives(this, [this] { onMouseUp(Qt::LeftButton, false); }))
        onClick(false);
    event->accept();
}

void deRurara::focusInEvent(QFocusEvent *)
{
    m_hasFocus = true;
    Refresh();
}

void deRurara::focusOutEvent(QFocusEvent *)
{
    m_hasFocus = false;
    Refresh();
}

void deRurara::showEvent(QShowEvent *)
{
    // The button shows the host's tooltip text itself; the host's own tooltip stays empty
    // while it is visible. A host without text keeps the button's own.
    if (!toolTip().isEmpty())
        m_properties.toolTip = toolTip();
    setToolTip(QString());
    Refresh();
}

void deRurara::hideEvent(QHideEvent *)
{
    setToolTip(m_properties.toolTip);
}

void deRurara::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // A new style, palette or theme may draw the bevel and the text differently.
    const QEvent::Type type = event->type();
    if (type == QEvent::StyleChange || type == QEvent::PaletteChange ||
        type == QEvent::ThemeChange || type == QEvent::FontChange) {
        m_captionMemo.clear();
        m_themeMemo.clear();
    }
}

void deRurara::About()
{
    m_about->showAsWindow(QStringLiteral("About deRurara ") + Version());
}

int deRurara::OpenLink(const QString &link)
{
    if (link.isEmpty())
        return kOpenFileNotFound;
    return m_context.shell().open(link) ? kOpenSucceeded : kOpenFileNotFound;
}

// ---- pointer tracking ----------------------------------------------------------------------

void deRurara::startTracking()
{
    if (!m_context.canTrackLeave())
        return;
    if (!m_subclass)
        m_subclass =
            std::make_unique<WindowSubclass>([this](SubclassCall &call) { subclassProc(call); });
    m_subclass->start(this);
    for (const int message : {WindowMessage::kMouseMove, WindowMessage::kMouseLeave,
                              WindowMessage::kThemeChanged, WindowMessage::kSysColorChange})
        m_subclass->addMessage(this, message, WindowSubclass::After);
}

void deRurara::subclassProc(SubclassCall &call)
{
    if (call.before)
        return;
    switch (call.message) {
    case WindowMessage::kMouseMove: {
        // A disabled window gets no pointer input, so it never turns hot.
        if (m_mouseInside || !isEnabled())
            return;
        m_mouseInside = true;
        m_subclass->trackLeave(this);
        m_buttonState = Hot;
        Refresh();
        if (survives(this, [this] { Q_EMIT MouseEnter(); }))
            showTip();
        break;
    }
    case WindowMessage::kMouseLeave:
        m_mouseInside = false;
        m_buttonState = Normal;
        Refresh();
        Q_EMIT MouseLeave();
        break;
    case WindowMessage::kSysColorChange:
    case WindowMessage::kThemeChanged:
        Refresh();
        break;
    default:
        break;
    }
}

void deRurara::showTip()
{
    // A new window at each entry, so that property changes show from the next entry on.
    delete m_tipWindow;
    const ToolTipForm form =
        m_properties.toolTipType == kBalloonTip ? ToolTipForm::Balloon : ToolTipForm::Rectangle;
    m_tipWindow = new ToolTipWindow(form, m_context.systemColors(), this);
    m_tipWindow->addTool(this, rect(), m_properties.toolTip);
    if (!m_properties.toolTipTitle.isEmpty() || m_properties.toolTipIcon != 0)
        m_tipWindow->setTitle(m_properties.toolTipIcon, m_properties.toolTipTitle);
    // 0 keeps the system's tooltip colour.
    if (m_properties.toolTipForeColor != 0)
        m_tipWindow->setTextColor(
            QColor::fromRgb(toQRgb(translate(m_properties.toolTipForeColor))));
    if (m_properties.toolTipBackColor != 0)
        m_tipWindow->setBackgroundColor(
            QColor::fromRgb(toQRgb(translate(m_properties.toolTipBackColor))));
}

} // namespace clipnab
