#include "controls/button/deRurara.h"

#include "controls/button/ButtonView.h"
#include "controls/button/ElaborateStyles.h"
#include "controls/button/PlainStyles.h"
#include "platform/PlatformContext.h"
#include "platform/PropertyBag.h"
#include "platform/Shell.h"
#include "platform/Surface.h"
#include "platform/SystemColors.h"
#include "platform/ThemePainter.h"
#include "platform/WindowSubclass.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QToolTip>

namespace clipnab {

namespace {

using namespace ButtonStateValue;

constexpr double kDesignFontPoints = 8.25;
constexpr int kDefaultIconSize = 16;
constexpr int kCheckButton = 1;
constexpr Rgb kIconShadow = makeRgb(128, 128, 128);
constexpr int kIconShadowOffset = 2;
// Results in the manner of the shell's opener: above 32 is success.
constexpr int kOpenSucceeded = 42;
constexpr int kOpenFileNotFound = 2;

// Mouse button numbers as the input handlers use them: 1 left, 2 right, 4 middle.
int buttonNumber(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

QFont designFont()
{
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(kDesignFontPoints);
    font.setWeight(QFont::Normal);
    return font;
}

const QString kDefaultCaption = QStringLiteral("deRurara");

} // namespace

deRurara::deRurara(PlatformContext &context, QWidget *parent)
    : QWidget(parent), m_context(context),
      m_surface(std::make_unique<Surface>(context.systemColors())),
      m_shapeRegion(std::make_unique<QRegion>())
{
    m_surface->setFont(designFont());
    // The control's own background starts as the button face, as a new window's does.
    m_surface->setBackColor(context.systemColors().color(SysColor::ButtonFace));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
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
}

QSize deRurara::sizeHint() const
{
    return {ButtonMetrics::kDesignWidth, ButtonMetrics::kDesignHeight};
}

QFont deRurara::Font() const
{
    return m_surface->font();
}

const QImage &deRurara::surfaceImage() const
{
    return m_surface->image();
}

const QRegion &deRurara::shapeRegion() const
{
    return *m_shapeRegion;
}

bool deRurara::isSubclassed() const
{
    return m_subclass && m_subclass->isSubclassed(this);
}

Rgb deRurara::translate(OleColor colour) const
{
    return TranslateColor(colour, m_context.systemColors());
}

void deRurara::notify(const QString &name)
{
    Q_EMIT propertyChanged(name);
}

// ---- persistence ---------------------------------------------------------------------------

void deRurara::initProperties()
{
    const auto sys = [this](int index) {
        return static_cast<OleColor>(translate(systemColorRef(index)));
    };
    m_style = ButtonStyle::RaisedEdge;
    m_caption = objectName();
    m_icon = QImage();
    m_iconAlign = 0;
    m_iconSize = kDefaultIconSize;
    m_captionAlign = 0;
    m_nonThemeStyle = ButtonStyle::RaisedEdge;
    m_enabled = true;
    m_iconVisible = false;
    m_showFocus = false;
    m_useCustomColors = false;
    m_backColor = sys(SysColor::ButtonFace);
    m_highlightColor = sys(SysColor::Highlight);
    m_fontColor = sys(SysColor::ButtonText);
    m_fontHighlightColor = sys(SysColor::ButtonText);
    m_toolTip.clear();
    m_toolTipTitle.clear();
    m_toolTipIcon = 0;
    m_toolTipType = 0;
    m_toolTipBackColor = 0;
    m_toolTipForeColor = 0;
    m_surface->setFont(designFont());
    m_buttonType = 0;
    m_value = false;
    m_captionFormat = kInitialCaptionFormat;
}

void deRurara::readProperties(const PropertyBag &bag)
{
    const SystemColors &colors = m_context.systemColors();
    const auto sys = [&colors](int index) { return static_cast<OleColor>(colors.color(index)); };
    m_buttonState = Normal;
    m_icon = bag.readPicture(QStringLiteral("Icon"), QImage());
    m_style = bag.readInt(QStringLiteral("Style"), ButtonStyle::EtchedFrame);
    m_caption = bag.readText(QStringLiteral("Caption"), kDefaultCaption);
    m_iconSize = bag.readInt16(QStringLiteral("IconSize"), kDefaultIconSize);
    m_captionAlign = bag.readInt(QStringLiteral("CaptionAlign"), 0);
    m_iconAlign = bag.readInt(QStringLiteral("IconAlign"), 1);
    m_nonThemeStyle = bag.readInt(QStringLiteral("iNonThemeStyle"), ButtonStyle::RingedGradient);
    m_enabled = bag.readBool(QStringLiteral("Enabled"), true);
    // A button restored disabled takes no input either, not only looks disabled.
    QWidget::setEnabled(m_enabled);
    m_showFocus = bag.readBool(QStringLiteral("ShowFocus"), false);
    m_useCustomColors = bag.readBool(QStringLiteral("USeCustomColors"), false);
    m_backColor = bag.readColor(QStringLiteral("BackColor"), sys(SysColor::ButtonFace));
    m_highlightColor = bag.readColor(QStringLiteral("HighlightColor"), sys(SysColor::Highlight));
    m_fontColor = bag.readColor(QStringLiteral("FontColor"), sys(SysColor::ButtonText));
    m_fontHighlightColor =
        bag.readColor(QStringLiteral("FontHighlightColor"), sys(SysColor::ButtonText));
    m_toolTip = bag.readText(QStringLiteral("ToolTipText"), toolTip());
    m_toolTipTitle = bag.readText(QStringLiteral("Tooltiptitle"), QString());
    m_toolTipIcon = bag.readInt(QStringLiteral("ToolTipIcon"), 0);
    m_toolTipType = bag.readInt(QStringLiteral("ToolTipType"), 1);
    m_toolTipBackColor = bag.readColor(QStringLiteral("ttBackColor"), sys(SysColor::TooltipText));
    m_toolTipForeColor =
        bag.readColor(QStringLiteral("ttForeColor"), sys(SysColor::TooltipBackground));
    m_surface->setFont(bag.readFont(QStringLiteral("Font"), m_surface->font()));
    m_buttonType = bag.readInt(QStringLiteral("ButtonType"), 0);
    m_value = bag.readBool(QStringLiteral("Value"), false);
    m_iconVisible = bag.readBool(QStringLiteral("IconVisible"), true);
    if (!m_designMode)
        startTracking();
}

void deRurara::writeProperties(PropertyBag &bag) const
{
    const SystemColors &colors = m_context.systemColors();
    const auto sys = [&colors](int index) { return static_cast<OleColor>(colors.color(index)); };
    bag.writePicture(QStringLiteral("Icon"), m_icon);
    bag.writeInt(QStringLiteral("Style"), m_style, ButtonStyle::EtchedFrame);
    bag.writeText(QStringLiteral("Caption"), m_caption, kDefaultCaption);
    bag.writeInt(QStringLiteral("IconSize"), m_iconSize, kDefaultIconSize);
    bag.writeInt(QStringLiteral("IconAlign"), m_iconAlign, 1);
    bag.writeInt(QStringLiteral("CaptionAlign"), m_captionAlign, 0);
    bag.writeInt(QStringLiteral("iNonThemeStyle"), m_nonThemeStyle, ButtonStyle::RingedGradient);
    bag.writeBool(QStringLiteral("Enabled"), m_enabled, true);
    bag.writeBool(QStringLiteral("ShowFocus"), m_showFocus, false);
    bag.writeBool(QStringLiteral("USeCustomColors"), m_useCustomColors, false);
    bag.writeColor(QStringLiteral("BackColor"), m_backColor, sys(SysColor::ButtonFace));
    bag.writeColor(QStringLiteral("HighlightColor"), m_highlightColor, sys(SysColor::Highlight));
    bag.writeColor(QStringLiteral("FontColor"), m_fontColor, sys(SysColor::ButtonText));
    bag.writeColor(QStringLiteral("FontHighlightColor"), m_fontHighlightColor,
                   sys(SysColor::ButtonText));
    bag.writeText(QStringLiteral("ToolTipText"), m_toolTip, toolTip());
    bag.writeTextAlways(QStringLiteral("Tooltiptitle"), m_toolTipTitle);
    bag.writeIntAlways(QStringLiteral("ToolTipIcon"), m_toolTipIcon);
    bag.writeIntAlways(QStringLiteral("ToolTipType"), m_toolTipType);
    bag.writeColor(QStringLiteral("ttBackColor"), m_toolTipBackColor, sys(SysColor::TooltipText));
    bag.writeColor(QStringLiteral("ttForeColor"), m_toolTipForeColor,
                   sys(SysColor::TooltipBackground));
    bag.writeFont(QStringLiteral("Font"), m_surface->font());
    bag.writeInt(QStringLiteral("ButtonType"), m_buttonType, 0);
    bag.writeBool(QStringLiteral("Value"), m_value, false);
    bag.writeBool(QStringLiteral("IconVisible"), m_iconVisible, true);
}

// ---- property writes -----------------------------------------------------------------------

void deRurara::writeStyle(int value)
{
    m_style = value;
    notify(QStringLiteral("Style"));
    layoutStep();
    Refresh();
}

void deRurara::writeCaption(const QString &value)
{
    m_caption = value;
    notify(QStringLiteral("Caption"));
    layoutStep();
    Refresh();
}

void deRurara::writeIcon(const QImage &value)
{
    m_icon = value;
    notify(QStringLiteral("Icon"));
    layoutStep();
    Refresh();
}

void deRurara::writeIconAlign(int value)
{
    m_iconAlign = value;
    notify(QStringLiteral("IconAlign"));
    layoutStep();
    Refresh();
}

void deRurara::writeIconSize(int value)
{
    m_iconSize = value;
    notify(QStringLiteral("IconSize"));
    layoutStep();
    Refresh();
}

void deRurara::writeCaptionAlign(int value)
{
    m_captionAlign = value;
    notify(QStringLiteral("CaptionAlign"));
    layoutStep();
    Refresh();
}

void deRurara::writeNonThemeStyle(int value)
{
    m_nonThemeStyle = value;
    notify(QStringLiteral("NonThemeStyle"));
    layoutStep();
    Refresh();
}

void deRurara::writeEnabled(bool value)
{
    m_buttonState = Normal;
    m_enabled = value;
    Refresh();
    notify(QStringLiteral("Enabled"));
    QWidget::setEnabled(value);
}

void deRurara::writeIconVisible(bool value)
{
    m_iconVisible = value;
    Refresh();
    notify(QStringLiteral("IconVisible"));
}

void deRurara::writeShowFocus(bool value)
{
    m_showFocus = value;
    notify(QStringLiteral("ShowFocus"));
    Refresh();
}

void deRurara::writeUseCustomColors(bool value)
{
    m_useCustomColors = value;
    notify(QStringLiteral("UseCustomColors"));
    Refresh();
}

void deRurara::writeBackColor(uint value)
{
    m_backColor = value;
    notify(QStringLiteral("BackColor"));
    Refresh();
}

void deRurara::writeHighlightColor(uint value)
{
    m_highlightColor = value;
    notify(QStringLiteral("HighlightColor"));
    Refresh();
}

void deRurara::writeFontColor(uint value)
{
    m_fontColor = value;
    notify(QStringLiteral("FontColor"));
    Refresh();
}

void deRurara::writeFontHighlightColor(uint value)
{
    m_fontHighlightColor = value;
    notify(QStringLiteral("FontHighlightColor"));
    Refresh();
}

void deRurara::writeToolTip(const QString &value)
{
    m_toolTip = value;
    notify(QStringLiteral("ToolTipText"));
    Refresh();
}

void deRurara::writeToolTipTitle(const QString &value)
{
    m_toolTipTitle = value;
    notify(QStringLiteral("TooltipTitle"));
    Refresh();
}

void deRurara::writeToolTipIcon(int value)
{
    m_toolTipIcon = value;
    notify(QStringLiteral("TooltipIcon"));
    Refresh();
}

void deRurara::writeToolTipType(int value)
{
    m_toolTipType = value;
    notify(QStringLiteral("ToolTipType"));
    Refresh();
}

void deRurara::writeToolTipBackColor(uint value)
{
    m_toolTipBackColor = value;
    notify(QStringLiteral("ToolTipBackColor"));
    Refresh();
}

void deRurara::writeToolTipForeColor(uint value)
{
    m_toolTipForeColor = value;
    notify(QStringLiteral("ToolTipForeColor"));
    Refresh();
}

void deRurara::writeFont(const QFont &value)
{
    m_surface->setFont(value);
    Refresh();
    notify(QStringLiteral("Font"));
}

void deRurara::writeButtonType(int value)
{
    m_buttonType = value;
    notify(QStringLiteral("ButtonType"));
    Refresh();
}

void deRurara::writeValue(bool value)
{
    m_value = value;
    notify(QStringLiteral("Value"));
    Refresh();
}

void deRurara::writeButtonState(int value)
{
    m_buttonState = value;
    Refresh();
}

void deRurara::writeHasFocus(bool value)
{
    m_hasFocus = value;
    Refresh();
}

// ---- layout and painting -------------------------------------------------------------------

void deRurara::layoutStep()
{
    if (m_inLayout)
        return;
    m_inLayout = true;
    const QSize clamped = clampedClientSize(size());
    if (clamped != size())
        resize(clamped);
    m_surface->resize(width(), height());
    m_captionRect = captionRectFor(width(), height());
    m_captionFormat = captionFormatFor(m_captionAlign, m_captionFormat);
    applyShape();
    m_inLayout = false;
    Refresh();
}

void deRurara::applyShape()
{
    *m_shapeRegion = shapeForStyle(m_style, width(), height());
    setMask(*m_shapeRegion);
}

ButtonView deRurara::view() const
{
    return ButtonView{m_context.systemColors(),
                      m_surface->width(),
                      m_surface->height(),
                      m_hasFocus,
                      m_showFocus,
                      m_useCustomColors,
                      translate(m_backColor),
                      translate(m_highlightColor)};
}

void deRurara::Refresh()
{
    if (m_inLayout)
        return;
    // A button not laid out yet for its current size gets its layout first, which repaints.
    if (m_surface->width() != width() || m_surface->height() != height() ||
        clampedClientSize(size()) != size()) {
        layoutStep();
        return;
    }
    const SystemColors &colors = m_context.systemColors();
    m_surface->clear();
    if (m_designMode && m_style != ButtonStyle::RingedGradient)
        m_buttonState = Hot;
    if (m_buttonType == kCheckButton && m_value)
        m_buttonState = Pressed;
    if (!m_enabled) {
        m_buttonState = Disabled;
        m_surface->setBackColor(colors.color(SysColor::ButtonFace));
    }

    if (m_style >= ButtonStyle::RaisedEdge && m_style <= ButtonStyle::HighlightBox)
        paintPlainStyle(m_style, *m_surface, view(), m_buttonState);
    else if (m_style == ButtonStyle::SystemTheme)
        paintSystemTheme();
    else if (const StyleRenderer renderer = elaborateRenderer(m_style, m_useCustomColors))
        renderer(*m_surface, view(), m_buttonState);

    const int iconMargin = iconMarginFor(m_style);
    drawCaption();
    drawIcon(iconMargin);
    update();
}

void deRurara::paintSystemTheme()
{
    m_surface->setBackColor(m_context.systemColors().color(SysColor::ButtonFace));
    const int themeState = m_buttonState == Normal && m_hasFocus ? Defaulted : m_buttonState;
    const bool drawn = m_context.theme().drawPushButton(
        m_surface->image(), QRect(0, 0, m_surface->width(), m_surface->height()), themeState, this);
    // Without a theme the button keeps the non-theme look for the rest of the run.
    if (!drawn)
        m_style = m_nonThemeStyle;
}

void deRurara::drawCaption()
{
    const SystemColors &colors = m_context.systemColors();
    Rgb colour = 0;
    if (m_buttonState == Disabled)
        colour = translate(systemColorRef(SysColor::GrayText));
    else if (!m_useCustomColors)
        colour = colors.color(SysColor::ButtonText);
    else if (m_buttonState == Hot || m_buttonState == Pressed)
        colour = translate(m_fontHighlightColor);
    else
        colour = translate(m_fontColor);
    const Rgb previous = m_surface->foreColor();
    m_surface->setForeColor(colour);
    m_surface->drawText(m_caption, m_captionRect.left, m_captionRect.top, m_captionRect.right,
                        m_captionRect.bottom, m_captionFormat);
    m_surface->setForeColor(previous);
}

void deRurara::drawIcon(int margin)
{
    if (m_icon.isNull() || !m_iconVisible)
        return;
    const int size = m_iconSize;
    QPoint at = iconPosition(m_iconAlign, width(), height(), size, margin);
    if (m_buttonState == Pressed)
        at += QPoint(1, 1);
    if (m_buttonState == Hot && m_style == ButtonStyle::HighlightBox) {
        // A grey silhouette of the icon, with the icon itself lifted up and left of it.
        m_surface->drawPicture(m_icon, at.x(), at.y(), size, size);
        const Rgb reference = m_surface->pixel(1, 1);
        for (int py = at.y(); py <= at.y() + size; ++py) {
            for (int px = at.x(); px <= at.x() + size; ++px) {
                if (m_surface->pixel(px, py) != reference)
                    m_surface->setPixel(px, py, kIconShadow);
            }
        }
        at -= QPoint(kIconShadowOffset, kIconShadowOffset);
    }
    m_surface->drawPicture(m_icon, at.x(), at.y(), size, size);
}

void deRurara::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_surface->image());
}

void deRurara::resizeEvent(QResizeEvent *)
{
    layoutStep();
}

// ---- input ---------------------------------------------------------------------------------

void deRurara::onMouseDown(int button)
{
    if (button != 1)
        return;
    m_buttonState = Pressed;
    Refresh();
}

void deRurara::onMouseUp(int button)
{
    if (button == 1) {
        m_buttonState = m_buttonType == kCheckButton && !m_value ? Pressed : Hot;
        Refresh();
    }
    m_lastButton = button;
}

void deRurara::onClick()
{
    if (m_lastButton != 1)
        return;
    if (m_buttonType == kCheckButton) {
        m_value = !m_value;
        m_buttonState = Hot;
        Refresh();
    }
    Q_EMIT Click();
}

void deRurara::onDoubleClick()
{
    if (m_lastButton == 1)
        onMouseDown(1);
}

void deRurara::mousePressEvent(QMouseEvent *event)
{
    const int button = buttonNumber(event->button());
    if (button == 1)
        m_leftPressed = true;
    onMouseDown(button);
    event->accept();
}

void deRurara::mouseReleaseEvent(QMouseEvent *event)
{
    const int button = buttonNumber(event->button());
    // A click is a left release inside the button after a left press on it.
    const bool click = button == 1 && m_leftPressed && rect().contains(event->position().toPoint());
    if (button == 1)
        m_leftPressed = false;
    QPointer<deRurara> alive(this);
    onMouseUp(button);
    if (click && alive)
        onClick();
    event->accept();
}

void deRurara::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int button = buttonNumber(event->button());
    // The second press of a double click presses the button again but clicks no second time.
    if (button == 1)
        onDoubleClick();
    else
        onMouseDown(button);
    event->accept();
}

void deRurara::mouseMoveEvent(QMouseEvent *event)
{
    event->ignore();
}

void deRurara::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        onMouseDown(1);
    event->accept();
}

void deRurara::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) {
        // Space acts as a left press and release; the release clicks once.
        QPointer<deRurara> alive(this);
        onMouseUp(1);
        if (alive)
            onClick();
    }
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
        m_toolTip = toolTip();
    setToolTip(QString());
    Refresh();
}

void deRurara::hideEvent(QHideEvent *)
{
    setToolTip(m_toolTip);
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
    for (const int message : {WindowMessage::MouseMove, WindowMessage::MouseLeave,
                              WindowMessage::ThemeChanged, WindowMessage::SysColorChange})
        m_subclass->addMessage(this, message, WindowSubclass::After);
}

void deRurara::subclassProc(SubclassCall &call)
{
    if (call.before)
        return;
    switch (call.message) {
    case WindowMessage::MouseMove: {
        // A disabled window gets no pointer input, so it never turns hot.
        if (m_mouseInside || !isEnabled())
            return;
        m_mouseInside = true;
        m_subclass->trackLeave(this);
        m_buttonState = Hot;
        Refresh();
        QPointer<deRurara> alive(this);
        Q_EMIT MouseEnter();
        if (alive)
            showTip();
        break;
    }
    case WindowMessage::MouseLeave:
        m_mouseInside = false;
        m_buttonState = Normal;
        Refresh();
        Q_EMIT MouseLeave();
        break;
    case WindowMessage::SysColorChange:
    case WindowMessage::ThemeChanged:
        Refresh();
        break;
    default:
        break;
    }
}

void deRurara::showTip()
{
    if (!m_toolTip.isEmpty())
        QToolTip::showText(mapToGlobal(QPoint(0, height())), m_toolTip, this, rect());
}

} // namespace clipnab
