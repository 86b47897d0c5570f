#include "platform/SystemColors.h"

#include "platform/ControlPalette.h"

namespace clipnab {

namespace {

struct PaletteEntry
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Index 25 names no colour on the original platform; it stays invalid here too.
constexpr PaletteEntry kTable[SystemColors::kLastIndex + 1] = {
    {QPalette::Active, QPalette::Button},          // 0 scroll bar
    {QPalette::Active, QPalette::Dark},            // 1 desktop
    {QPalette::Active, QPalette::Highlight},       // 2 active caption
    {QPalette::Inactive, QPalette::Mid},           // 3 inactive caption
    {QPalette::Active, QPalette::Window},          // 4 menu
    {QPalette::Active, QPalette::Base},            // 5 window
    {QPalette::Active, QPalette::Shadow},          // 6 window frame
    {QPalette::Active, QPalette::WindowText},      // 7 menu text
    {QPalette::Active, QPalette::Text},            // 8 window text
    {QPalette::Active, QPalette::HighlightedText}, // 9 caption text
    {QPalette::Active, QPalette::Button},          // 10 active border
    {QPalette::Inactive, QPalette::Button},        // 11 inactive border
    {QPalette::Active, QPalette::Mid},             // 12 application workspace
    {QPalette::Active, QPalette::Highlight},       // 13 highlight
    {QPalette::Active, QPalette::HighlightedText}, // 14 highlight text
    {QPalette::Active, QPalette::Button},          // 15 button face
    {QPalette::Active, QPalette::Dark},            // 16 button shadow
    {QPalette::Disabled, QPalette::Text},          // 17 grey text
    {QPalette::Active, QPalette::ButtonText},      // 18 button text
    {QPalette::Disabled, QPalette::WindowText},    // 19 inactive caption text
    {QPalette::Active, QPalette::Light},           // 20 button highlight
    {QPalette::Active, QPalette::Shadow},          // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},     // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase},     // 24 tooltip background
    {QPalette::Active, QPalette::NoRole},          // 25 unused
    {QPalette::Active, QPalette::Link},            // 26 hot-tracked item
    {QPalette::Active, QPalette::Highlight},       // 27 active caption gradient
    {QPalette::Inactive, QPalette::Mid},           // 28 inactive caption gradient
    {QPalette::Active, QPalette::Highlight},       // 29 menu highlight
    {QPalette::Active, QPalette::Window},          // 30 menu bar
};

} // namespace

bool SystemColors::isValidIndex(int index)
{
    return index >= 0 && index <= kLastIndex && kTable[index].role != QPalette::NoRole;
}

Rgb SystemColors::color(int index) const
{
    if (const auto it = m_overrides.constFind(index); it != m_overrides.constEnd())
        return *it;
    if (!isValidIndex(index))
        return 0;
    const PaletteEntry &e = kTable[index];
    return fromQRgb(ControlPalette::current().color(e.group, e.role).rgb());
}

void SystemColors::setOverride(int index, Rgb value)
{
    m_overrides.insert(index, value);
}

void SystemColors::clearOverrides()
{
    m_overrides.clear();
}

Rgb translateColor(OleColor color, const SystemColors &colors)
{
    switch (color >> 24) {
    case 0x00:
        return static_cast<Rgb>(color);
    case 0x80: {
        const int index = static_cast<int>(color & 0x00FFFFFFu);
        return SystemColors::isValidIndex(index) ? colors.color(index) : kInvalidRgb;
    }
    default:
        return kInvalidRgb;
    }
}

} // namespace clipnab
