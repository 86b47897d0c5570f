#pragma once

#include "platform/Colour.h"
#include "platform/SystemColors.h"

namespace clipnab {

class Surface;

namespace ButtonStyle {
constexpr int RaisedEdge = 0;
constexpr int ThinEdge = 1;
constexpr int FlatHover = 2;
constexpr int EtchedFrame = 3;
constexpr int HighlightBox = 4;
constexpr int RingedGradient = 5;
constexpr int SystemTheme = 6;
constexpr int SoftGradient = 7;
constexpr int ReliefGradient = 8;
constexpr int Capsule = 9;
constexpr int GlossyImage = 10;
} // namespace ButtonStyle

namespace ButtonStateValue {
constexpr int Normal = 1;
constexpr int Hot = 2;
constexpr int Pressed = 3;
constexpr int Disabled = 4;
constexpr int Defaulted = 5;
} // namespace ButtonStateValue

// What a style renderer may read of the button. Colours are already translated to plain RGB.
struct ButtonView
{
    const SystemColors &colors;
    int width = 0;
    int height = 0;
    bool hasFocus = false;
    bool showFocus = false;
    bool useCustomColors = false;
    Rgb backColor = 0;
    Rgb highlightColor = 0;
};

// A renderer paints the whole body of the button (background included) for one button state;
// the caption and the icon are drawn after it returns.
using StyleRenderer = void (*)(Surface &surface, const ButtonView &view, int state);

} // namespace clipnab
