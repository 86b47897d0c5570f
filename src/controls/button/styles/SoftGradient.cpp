#include "controls/button/styles/SoftGradient.h"

#include "controls/button/Primitives.h"
#include "controls/button/styles/BluntFrame.h"
#include "platform/Surface.h"
#include "platform/SystemColors.h"

namespace clipnab {

namespace {

using enum ButtonState;

// How far each state shifts the base colour.
int stateShift(ButtonState state)
{
    switch (state) {
    case Hot:
        return 24;
    case Pressed:
        return -9;
    case Disabled:
        return 18;
    default:
        return 8;
    }
}

} // namespace

void paintSoftGradient(Surface &s, const ButtonView &v, ButtonState state)
{
    if (state < Normal || state > Disabled)
        return;
    const int w = v.width;
    const int h = v.height;
    const Rgb p = v.useCustomColors ? v.backColor : v.colors.color(SysColor::kButtonFace);
    const Rgb b = shiftColor(p, stateShift(state));

    if (state == Pressed) {
        // Not cleared: pixels left unpainted keep what the refresh cleared them to.
        gradientRowsOn(s, shiftColor(b, -15), b, 1, 1, w - 2, h - 2);
        gradientRowsOn(s, shiftColor(b, -21), shiftColor(b, 21), w - 2, 2, w - 3, h - 5);
        gradientRowsOn(s, shiftColor(b, -32), shiftColor(b, -5), 1, 2, 2, h - 5);
        paintBluntFrame(s, w, h, shiftColor(b, -96), shiftColor(p, -21));
        drawLineOn(s, 2, h - 2, w - 2, h - 2, shiftColor(p, 8));
        drawLineOn(s, 2, 1, w - 2, 1, shiftColor(p, -21));
        return;
    }

    const int body = state == Hot ? 16 : 15;
    s.setBackColor(b);
    gradientRowsOn(s, shiftColor(b, body), shiftColor(b, -body), 1, 1, w - 2, h - 3);
    gradientRowsOn(s, shiftColor(b, 21), shiftColor(b, -21), 1, 2, 2, h - 5);
    gradientRowsOn(s, shiftColor(b, -5), shiftColor(b, -32), w - 2, 2, w - 3, h - 5);
    paintBluntFrame(s, w, h, shiftColor(b, -96), shiftColor(p, state == Disabled ? 5 : -21));
    if (state != Hot) {
        drawLineOn(s, 2, 1, w - 2, 1, shiftColor(p, 21));
        drawLineOn(s, 2, h - 2, w - 2, h - 2, shiftColor(p, -37));
    }
    if (state == Hot || (state == Normal && v.hasFocus)) {
        const Rgb q = v.useCustomColors ? v.highlightColor : v.colors.color(SysColor::kHighlight);
        drawLineOn(s, 2, 1, w - 2, 1, shiftColor(q, 21));
        drawLineOn(s, 1, 2, w - 1, 2, shiftColor(q, 21));
        drawLineOn(s, 1, h - 3, w - 1, h - 3, shiftColor(q, -5));
        drawLineOn(s, 2, h - 2, w - 2, h - 2, shiftColor(q, -21));
    }
}

} // namespace clipnab
