#include "controls/panel/PanelProperties.h"

#include <variant>

namespace clipnab {

namespace {

using P = PanelProperties;
using S = PanelColorSet;
using enum PanelChange;

} // namespace

const std::array<PanelPropertyRow, kPanelPropertyCount> &panelPropertyRows()
{
    const PanelColorSet &d = kPanelDefaultColors;
    // Columns: property, bag key and notified name, bag format, where the value is kept, default,
    // what a write does.
    static const std::array<PanelPropertyRow, kPanelPropertyCount> rows{{
        {PanelProperty::HeaderLightColor, "HeaderLightColor", BagFormat::Color, &S::headerLight,
         d.headerLight, Redraw},
        {PanelProperty::HeaderDarkColor, "HeaderDarkColor", BagFormat::Color, &S::headerDark,
         d.headerDark, Redraw},
        {PanelProperty::BackLightColor, "BackLightColor", BagFormat::Color, &S::backLight,
         d.backLight, Redraw},
        {PanelProperty::BackDarkColor, "BackDarkColor", BagFormat::Color, &S::backDark, d.backDark,
         Redraw},
        {PanelProperty::BorderColor, "BorderColor", BagFormat::Color, &S::border, d.border, Redraw},
        {PanelProperty::TextColor, "TextColor", BagFormat::Color, &S::text, d.text, Redraw},
        {PanelProperty::Caption, "Caption", BagFormat::Text, &P::caption,
         QStringLiteral("XPContainer"), Redraw},
        {PanelProperty::Style, "Style", BagFormat::Int32, &P::style, std::int32_t{0}, Redraw},
        {PanelProperty::Theme, "Theme", BagFormat::Int32, &P::theme, std::int32_t{0},
         ApplyColorSet},
    }};
    return rows;
}

const PanelPropertyRow &panelPropertyRow(PanelProperty property)
{
    const PanelPropertyRow &row = panelPropertyRows()[static_cast<std::size_t>(property)];
    Q_ASSERT(row.property == property);
    return row;
}

bool isColorSetField(const PanelField &field)
{
    return std::holds_alternative<OleColor PanelProperties::*>(field);
}

} // namespace clipnab
