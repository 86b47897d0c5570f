#include "controls/button/ButtonProperties.h"

#include "controls/button/ButtonView.h"
#include "platform/SystemColors.h"

namespace clipnab {

namespace {

using Source = ButtonDefault::Source;
using enum ButtonChange;
using P = ButtonProperties;

ButtonDefault constant(PropertyValue value)
{
    return {Source::Constant, std::move(value), 0};
}

ButtonDefault systemColor(int index)
{
    return {Source::SystemColor, PropertyValue{}, index};
}

ButtonDefault from(Source source)
{
    return {source, PropertyValue{}, 0};
}

const ButtonDefault kAlwaysStored = from(Source::None);

constexpr std::int32_t styleNumber(ButtonStyle value)
{
    return static_cast<std::int32_t>(value);
}

constexpr std::int32_t kIconSize = 16;

} // namespace

const std::array<ButtonPropertyRow, kButtonPropertyCount> &buttonPropertyRows()
{
    // The stored keys "iNonThemeStyle", "USeCustomColors", "ToolTipText", "Tooltiptitle",
    // "ttBackColor" and "ttForeColor", and the names "ToolTipText", "TooltipTitle" and
    // "TooltipIcon" that their writes notify, are the saved layout's format as it stands.
    // Columns: property, bag key, notified name, bag format, where the value is kept, new
    // instance, restore default, save default, what a write does.
    static const std::array<ButtonPropertyRow, kButtonPropertyCount> rows{{
        {ButtonProperty::Icon, "Icon", "Icon", BagFormat::Picture, &P::icon, constant(QImage()),
         constant(QImage()), kAlwaysStored, Relayout},
        {ButtonProperty::Style, "Style", "Style", BagFormat::Int32, &P::style,
         constant(styleNumber(ButtonStyle::RaisedEdge)),
         constant(styleNumber(ButtonStyle::EtchedFrame)),
         constant(styleNumber(ButtonStyle::EtchedFrame)), Relayout},
        {ButtonProperty::Caption, "Caption", "Caption", BagFormat::Text, &P::caption,
         from(Source::HostName), constant(QStringLiteral("deRurara")),
         constant(QStringLiteral("deRurara")), Relayout},
        {ButtonProperty::IconSize, "IconSize", "IconSize", BagFormat::Int16, &P::iconSize,
         constant(kIconSize), constant(kIconSize), constant(kIconSize), Relayout},
        {ButtonProperty::IconAlign, "IconAlign", "IconAlign", BagFormat::Int32, &P::iconAlign,
         constant(0), constant(1), constant(1), Relayout},
        {ButtonProperty::CaptionAlign, "CaptionAlign", "CaptionAlign", BagFormat::Int32,
         &P::captionAlign, constant(0), constant(0), constant(0), Relayout},
        {ButtonProperty::NonThemeStyle, "iNonThemeStyle", "NonThemeStyle", BagFormat::Int32,
         &P::nonThemeStyle, constant(styleNumber(ButtonStyle::RaisedEdge)),
         constant(styleNumber(ButtonStyle::RingedGradient)),
         constant(styleNumber(ButtonStyle::RingedGradient)), Relayout},
        {ButtonProperty::Enabled, "Enabled", "Enabled", BagFormat::Bool, &P::enabled,
         constant(true), constant(true), constant(true), RepaintThenNotify},
        {ButtonProperty::ShowFocus, "ShowFocus", "ShowFocus", BagFormat::Bool, &P::showFocus,
         constant(false), constant(false), constant(false), Repaint},
        {ButtonProperty::UseCustomColors, "USeCustomColors", "UseCustomColors", BagFormat::Bool,
         &P::useCustomColors, constant(false), constant(false), constant(false), Repaint},
        {ButtonProperty::BackColor, "BackColor", "BackColor", BagFormat::Color, &P::backColor,
         systemColor(SysColor::kButtonFace), systemColor(SysColor::kButtonFace),
         systemColor(SysColor::kButtonFace), Repaint},
        {ButtonProperty::HighlightColor, "HighlightColor", "HighlightColor", BagFormat::Color,
         &P::highlightColor, systemColor(SysColor::kHighlight), systemColor(SysColor::kHighlight),
         systemColor(SysColor::kHighlight), Repaint},
        {ButtonProperty::FontColor, "FontColor", "FontColor", BagFormat::Color, &P::fontColor,
         systemColor(SysColor::kButtonText), systemColor(SysColor::kButtonText),
         systemColor(SysColor::kButtonText), Repaint},
        {ButtonProperty::FontHighlightColor, "FontHighlightColor", "FontHighlightColor",
         BagFormat::Color, &P::fontHighlightColor, systemColor(SysColor::kButtonText),
         systemColor(SysColor::kButtonText), systemColor(SysColor::kButtonText), Repaint},
        {ButtonProperty::ToolTip, "ToolTipText", "ToolTipText", BagFormat::Text, &P::toolTip,
         constant(QString()), from(Source::HostToolTip), from(Source::HostToolTip), Repaint},
        {ButtonProperty::ToolTipTitle, "Tooltiptitle", "TooltipTitle", BagFormat::Text,
         &P::toolTipTitle, constant(QString()), constant(QString()), kAlwaysStored, Repaint},
        {ButtonProperty::ToolTipIcon, "ToolTipIcon", "TooltipIcon", BagFormat::Int32,
         &P::toolTipIcon, constant(0), constant(0), kAlwaysStored, Repaint},
        {ButtonProperty::ToolTipType, "ToolTipType", "ToolTipType", BagFormat::Int32,
         &P::toolTipType, constant(0), constant(1), kAlwaysStored, Repaint},
        // The tooltip's background defaults to the system's tooltip background and its text to
        // the tooltip text colour, so that a button storing neither shows readable text.
        {ButtonProperty::ToolTipBackColor, "ttBackColor", "ToolTipBackColor", BagFormat::Color,
         &P::toolTipBackColor, constant(OleColor{0}), systemColor(SysColor::kTooltipBackground),
         systemColor(SysColor::kTooltipBackground), Repaint},
        {ButtonProperty::ToolTipForeColor, "ttForeColor", "ToolTipForeColor", BagFormat::Color,
         &P::toolTipForeColor, constant(OleColor{0}), systemColor(SysColor::kTooltipText),
         systemColor(SysColor::kTooltipText), Repaint},
        {ButtonProperty::Font, "Font", "Font", BagFormat::Font, &P::font, from(Source::DesignFont),
         from(Source::CurrentFont), kAlwaysStored, RepaintThenNotify},
        {ButtonProperty::ButtonType, "ButtonType", "ButtonType", BagFormat::Int32, &P::buttonType,
         constant(0), constant(0), constant(0), Repaint},
        {ButtonProperty::Value, "Value", "Value", BagFormat::Bool, &P::value, constant(false),
         constant(false), constant(false), Repaint},
        {ButtonProperty::IconVisible, "IconVisible", "IconVisible", BagFormat::Bool,
         &P::iconVisible, constant(false), constant(true), constant(true), RepaintThenNotify},
    }};
    return rows;
}

const ButtonPropertyRow &buttonPropertyRow(ButtonProperty property)
{
    const ButtonPropertyRow &row = buttonPropertyRows()[static_cast<std::size_t>(property)];
    Q_ASSERT(row.property == property);
    return row;
}

} // namespace clipnab
