#include "controls/button/styles/Capsule.h"

#include "controls/button/Primitives.h"
#include "platform/Rounding.h"
#include "platform/Surface.h"
#include "platform/SystemColors.h"

namespace clipnab {

namespace {

using enum ButtonState;

// The face every colour of the capsule derives from.
Rgb faceFor(const ButtonView &v, ButtonState state)
{
    const Rgb buttonFace = v.colors.color(SysColor::kButtonFace);
    switch (state) {
    case Hot:
        return shiftColor(v.useCustomColors ? v.highlightColor : buttonFace, 1);
    case Pressed:
        return shiftColor(v.useCustomColors ? v.highlightColor : buttonFace, 24);
    case Disabled:
        return shiftColor(v.useCustomColors ? v.backColor : buttonFace, 15);
    default:
        return shiftColor(v.useCustomColors ? v.backColor : buttonFace, -15);
    }
}

// A column one pixel wide: rows y0 .. y0 + n at x.
void column(Surface &s, Rgb c0, Rgb c1, int x, int y0, int n)
{
    gradientRowsOn(s, c0, c1, x, y0, x + 1, n);
}

// Columns x0 .. x1 that end one row above or below where they start: one row at y.
void row(Surface &s, Rgb c0, Rgb c1, int x0, int y, int x1, int yEnd)
{
    gradientColumnsOn(s, c0, c1, x0, y, x1, yEnd);
}

// H / 2 - k from the exact half of the height, rounded half to even.
int capsuleHalf(int height, int k)
{
    return roundHalfEven(height / 2.0 - k);
}

} // namespace

void paintCapsule(Surface &s, const ButtonView &v, ButtonState state)
{
    if (state < Normal || state > Disabled)
        return;
    const int w = v.width;
    const int h = v.height;
    const auto half = [h](int k) { return capsuleHalf(h, k); };
    const Rgb a = faceFor(v, state);

    s.setBackColor(a);
    gradientRowsOn(s, shiftColor(a, 32), shiftColor(a, -32), 5, 2, w - 5, h - 6);
    column(s, shiftColor(a, 128), shiftColor(a, -128), 0, 0, h - 4);

    // Left cap: upper halves, lower halves, then the short rows that round it off below.
    column(s, a, shiftColor(a, -37), 2, 4, half(7));
    column(s, a, shiftColor(a, -53), 3, 3, half(7));
    column(s, a, shiftColor(a, -37), 4, 2, half(7));
    column(s, shiftColor(a, 37), shiftColor(a, 5), 5, 2, half(4));
    column(s, shiftColor(a, -37), shiftColor(a, -32), 2, half(2), half(5));
    column(s, shiftColor(a, -53), shiftColor(a, -32), 3, half(3), half(3));
    column(s, shiftColor(a, -37), shiftColor(a, -32), 4, half(4), half(1));
    column(s, shiftColor(a, 5), shiftColor(a, -5), 5, half(4), half(3));
    row(s, shiftColor(a, -53), shiftColor(a, -32), 5, h - 5, 12, h - 6);
    row(s, shiftColor(a, -56), shiftColor(a, -32), 4, h - 6, 7, h - 7);
    row(s, shiftColor(a, -37), shiftColor(a, -32), 3, h - 7, 5, h - 8);

    // Right edge, two columns wide; the outer one is shaded in two halves.
    column(s, shiftColor(a, 128), shiftColor(a, -128), w - 2, 0, h - 4);
    column(s, shiftColor(a, 128), shiftColor(a, -48), w - 1, 0, half(0));
    column(s, shiftColor(a, -64), shiftColor(a, -8), w - 1, half(0), half(4));

    // Right cap.
    column(s, a, shiftColor(a, -37), w - 4, 4, half(5));
    column(s, a, shiftColor(a, -48), w - 5, 3, half(4));
    column(s, a, shiftColor(a, -37), w - 6, 2, half(3));
    column(s, shiftColor(a, 37), shiftColor(a, 5), w - 7, 2, half(4));
    column(s, shiftColor(a, -37), shiftColor(a, -21), w - 4, half(0), half(5));
    column(s, shiftColor(a, -48), shiftColor(a, -37), w - 5, half(0), half(5));
    column(s, shiftColor(a, -37), shiftColor(a, -53), w - 6, half(0), half(4));
    column(s, shiftColor(a, -5), shiftColor(a, -37), w - 7, half(0), half(4));
    row(s, shiftColor(a, -32), shiftColor(a, -53), w - 15, h - 4, w - 7, h - 3);

    // Top rim, streaks and the specular dot.
    drawLineOn(s, 3, 0, w - 3, 0, shiftColor(a, 48));
    drawLineOn(s, 1, 1, w - 1, 1, shiftColor(a, 48));
    drawLineOn(s, 5, 1, w - 5, 1, a);
    row(s, shiftColor(a, 32), a, w - 11, 2, w - 4, 3);
    row(s, shiftColor(a, 32), a, w - 10, 3, w - 5, 4);
    row(s, shiftColor(a, 32), a, w - 9, 4, w - 6, 5);
    drawLineOn(s, 6, 3, 7, 3, shiftColor(a, 128));

    // Bottom rim.
    drawLineOn(s, 3, h - 1, w - 3, h - 1, shiftColor(a, -16));
    drawLineOn(s, 2, h - 2, w - 3, h - 2, shiftColor(a, -128));
    drawLineOn(s, 7, h - 3, w - 7, h - 3, a);
    s.setPixel(1, h - 3, shiftColor(a, -112));
    s.setPixel(w - 3, h - 3, shiftColor(a, -112));
    drawLineOn(s, w - 4, h - 1, w - 1, h - 4, shiftColor(a, -21));
}

} // namespace clipnab
