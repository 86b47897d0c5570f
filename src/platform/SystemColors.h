#pragma once

#include "platform/Color.h"

#include <QHash>

namespace clipnab {

// System colour indices the drawing code names.
namespace SysColor {
constexpr int kWindow = 5;
constexpr int kHighlight = 13;
constexpr int kButtonFace = 15;
constexpr int kButtonShadow = 16;
constexpr int kGrayText = 17;
constexpr int kButtonText = 18;
constexpr int kButtonHighlight = 20;
constexpr int kDarkShadow = 21;
constexpr int kLight = 22;
constexpr int kTooltipText = 23;
constexpr int kTooltipBackground = 24;
} // namespace SysColor

// The platform's system colours by index, read through one fixed table from the palette the
// controls are drawn with (ControlPalette: the application palette, or a light one in its place
// on a dark desktop). Tests and tools can pin single indices.
class SystemColors
{
public:
    // Highest index that names a colour (COLOR_MENUBAR).
    static constexpr int kLastIndex = 30;

    static bool isValidIndex(int index);

    // GetSysColor: the colour's present RGB value; 0 for an index that names nothing.
    Rgb color(int index) const;

    void setOverride(int index, Rgb value);
    void clearOverrides();

private:
    QHash<int, Rgb> m_overrides;
};

// OleTranslateColor without a palette: a plain colour passes, 0x800000nn gives system colour
// nn, anything else (or an unknown index) fails with -1.
Rgb translateColor(OleColor color, const SystemColors &colors);

} // namespace clipnab
