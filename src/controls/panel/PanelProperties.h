#pragma once

#include "controls/panel/PanelColorSets.h"
#include "platform/Color.h"
#include "platform/PropertyField.h"
#include "platform/PropertyValue.h"

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>

namespace clipnab {

// The values of a panel's saved properties as written: the six colours, which a colour set
// assigns as a whole, then the caption, style and colour set number.
struct PanelProperties : PanelColorSet
{
    QString caption;
    std::int32_t style = 0;
    std::int32_t theme = 0;
};

// Where a property's value is kept. The six colours are the panel's only colour members.
using PanelField = PropertyField<PanelProperties>;

// What a write does after storing the value and notifying its name.
enum class PanelChange
{
    Redraw,
    // Writes the chosen color set, when there is one, and redraws.
    ApplyColorSet
};

// The saved properties, in the order they are saved and restored.
enum class PanelProperty
{
    HeaderLightColor,
    HeaderDarkColor,
    BackLightColor,
    BackDarkColor,
    BorderColor,
    TextColor,
    Caption,
    Style,
    Theme
};

inline constexpr std::size_t kPanelPropertyCount = 9;

// One saved property: everything init, read, write and the property write need to know.
struct PanelPropertyRow
{
    PanelProperty property;
    // The bag key, which is also the name a write notifies.
    const char *key;
    BagFormat format;
    PanelField field;
    // A new panel's value; restoring and saving use it as their default too.
    PropertyValue defaultValue;
    PanelChange change;
};

const std::array<PanelPropertyRow, kPanelPropertyCount> &panelPropertyRows();
const PanelPropertyRow &panelPropertyRow(PanelProperty property);

// Whether the field is one of the six colors a color set writes.
bool isColorSetField(const PanelField &field);

} // namespace clipnab
