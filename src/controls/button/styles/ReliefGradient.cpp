#include "controls/button/styles/ReliefGradient.h"

#include "controls/button/Primitives.h"
#include "platform/Surface.h"
#include "platform/SystemColors.h"

namespace clipnab {

namespace {

using enum ButtonState;

Rgb S(Rgb c, int d)
{
    return ShiftColor(c, d);
}

} // namespace

void paintReliefGradient(Surface &s, const ButtonView &v, ButtonState state)
{
    if (state < Normal || state > Disabled)
        return;
    const int w = v.width;
    const int h = v.height;
    const Rgb buttonFace = v.colors.color(SysColor::ButtonFace);
    const Rgb p = v.useCustomColors ? v.backColor : buttonFace;
    Rgb a = p;
    if (state != Normal)
        a = v.useCustomColors ? v.highlightColor : S(buttonFace, 15);
    const Rgb frame = S(p, v.hasFocus && state != Pressed ? -96 : -48);
    const Rgb shadow = S(frame, 21);
    const bool pressed = state == Pressed;
    const Rgb bright = S(a, 96);

    s.setBackColor(a);
    if (pressed)
        GradientRowsOn(s, S(a, -15), S(a, 15), 2, 2, w - 3, h - 6);
    else
        GradientRowsOn(s, S(a, 15), S(a, -15), 2, 2, w - 3, h - 6);
    DrawLineOn(s, 2, 1, w - 3, 1, pressed ? a : bright);
    DrawLineOn(s, 1, 2, 1, h - 3, pressed ? a : bright);
    DrawLineOn(s, 2, h - 3, w - 2, h - 3, pressed ? bright : a);

    DrawLineOn(s, 2, 0, w - 3, 0, frame);
    DrawLineOn(s, 0, 2, 0, h - 3, frame);
    DrawLineOn(s, 2, h - 2, w - 3, h - 2, frame);
    DrawLineOn(s, w - 2, 2, w - 2, h - 3, frame);
    s.setPixel(1, 1, frame);
    s.setPixel(1, h - 3, frame);
    s.setPixel(w - 3, 1, frame);
    s.setPixel(w - 3, h - 3, frame);

    DrawLineOn(s, 3, h - 1, w - 4, h - 1, shadow);
    DrawLineOn(s, w - 1, 3, w - 1, h - 4, shadow);
    DrawLineOn(s, w - 4, h - 1, w, h - 5, shadow);
    DrawLineOn(s, w - 3, h - 1, w, h - 4, S(shadow, 15));
}

} // namespace clipnab
