#include "controls/button/styles/ReliefGradient.h"

#include "controls/button/Primitives.h"
#include "platform/Surface.h"
#include "platform/SystemColors.h"

namespace clipnab {

namespace {

using enum ButtonState;

} // namespace

void paintReliefGradient(Surface &s, const ButtonView &v, ButtonState state)
{
    if (state < Normal || state > Disabled)
        return;
    const int w = v.width;
    const int h = v.height;
    const Rgb buttonFace = v.colors.color(SysColor::kButtonFace);
    const Rgb p = v.useCustomColors ? v.backColor : buttonFace;
    Rgb a = p;
    if (state != Normal)
        a = v.useCustomColors ? v.highlightColor : shiftColor(buttonFace, 15);
    const Rgb frame = shiftColor(p, v.hasFocus && state != Pressed ? -96 : -48);
    const Rgb shadow = shiftColor(frame, 21);
    const bool pressed = state == Pressed;
    const Rgb bright = shiftColor(a, 96);

    s.setBackColor(a);
    if (pressed)
        gradientRowsOn(s, shiftColor(a, -15), shiftColor(a, 15), 2, 2, w - 3, h - 6);
    else
        gradientRowsOn(s, shiftColor(a, 15), shiftColor(a, -15), 2, 2, w - 3, h - 6);
    drawLineOn(s, 2, 1, w - 3, 1, pressed ? a : bright);
    drawLineOn(s, 1, 2, 1, h - 3, pressed ? a : bright);
    drawLineOn(s, 2, h - 3, w - 2, h - 3, pressed ? bright : a);

    drawLineOn(s, 2, 0, w - 3, 0, frame);
    drawLineOn(s, 0, 2, 0, h - 3, frame);
    drawLineOn(s, 2, h - 2, w - 3, h - 2, frame);
    drawLineOn(s, w - 2, 2, w - 2, h - 3, frame);
    s.setPixel(1, 1, frame);
    s.setPixel(1, h - 3, frame);
    s.setPixel(w - 3, 1, frame);
    s.setPixel(w - 3, h - 3, frame);

    drawLineOn(s, 3, h - 1, w - 4, h - 1, shadow);
    drawLineOn(s, w - 1, 3, w - 1, h - 4, shadow);
    drawLineOn(s, w - 4, h - 1, w, h - 5, shadow);
    drawLineOn(s, w - 3, h - 1, w, h - 4, shiftColor(shadow, 15));
}

} // namespace clipnab
