#pragma once

#include "platform/Color.h"
#include "platform/SystemColors.h"

namespace clipnab {

class Surface;

// The drawing styles a button's Style property selects. The property keeps any number; values
// outside 0..10 select no body.
enum class ButtonStyle : int
{
    RaisedEdge = 0,
    ThinEdge = 1,
    FlatHover = 2,
    EtchedFrame = 3,
    HighlightBox = 4,
    RingedGradient = 5,
    SystemTheme = 6,
    SoftGradient = 7,
    ReliefGradient = 8,
    Capsule = 9,
    GlossyImage = 10
};

// The visual state of a button. Defaulted is a theme state only: a focused button at rest in the
// system-theme style; the button never holds it.
enum class ButtonState : int
{
    Normal = 1,
    Hot = 2,
    Pressed = 3,
    Disabled = 4,
    Defaulted = 5
};

// What a style renderer may read of the button. Colors are already translated to plain RGB.
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
using StyleRenderer = void (*)(Surface &surface, const ButtonView &view, ButtonState state);

} // namespace clipnab
