#include "controls/button/styles/RingedGradient.h"

#include "controls/button/Primitives.h"
#include "controls/button/styles/BluntFrame.h"
#include "platform/Surface.h"
#include "platform/SystemColors.h"

#include <initializer_list>
#include <utility>

namespace clipnab {

namespace {

using enum ButtonState;
using Pixels = std::initializer_list<std::pair<int, int>>;

constexpr Rgb kFrame = makeRgb(0, 60, 116);
constexpr Rgb kInnerCorner = makeRgb(72, 110, 144);
constexpr Rgb kOuterCorner = makeRgb(106, 139, 162);
constexpr Rgb kSoftCorner = makeRgb(191, 199, 202);
constexpr Rgb kDisabledFace = makeRgb(245, 244, 234);
constexpr Rgb kDisabledOutline = makeRgb(201, 199, 186);
constexpr Rgb kDisabledCorner = makeRgb(216, 213, 199);

// The four colours of a ring: top two rows, bottom two rows; the side columns grade from the
// second to the third.
struct RingColors
{
    Rgb top1, top2, bottom1, bottom2;
};

constexpr RingColors kHotRing{makeRgb(255, 240, 207), makeRgb(253, 216, 137), makeRgb(248, 179, 48),
                              makeRgb(229, 151, 16)};
constexpr RingColors kFocusRing{makeRgb(206, 231, 255), makeRgb(188, 212, 246),
                                makeRgb(137, 173, 228), makeRgb(105, 130, 238)};

void setPixels(Surface &s, Pixels pixels, Rgb color)
{
    for (const auto &[x, y] : pixels)
        s.setPixel(x, y, color);
}

void drawRing(Surface &s, int w, int h, const RingColors &c)
{
    drawLineOn(s, 2, 1, w - 2, 1, c.top1);
    drawLineOn(s, 2, 2, w - 2, 2, c.top2);
    drawLineOn(s, 2, h - 3, w - 2, h - 3, c.bottom1);
    drawLineOn(s, 2, h - 2, w - 2, h - 2, c.bottom2);
    gradientRowsOn(s, c.top2, c.bottom1, 1, 2, 3, h - 5);
    gradientRowsOn(s, c.top2, c.bottom1, w - 3, 2, w - 1, h - 5);
}

// The one-pixel frame whose corners are left open for the corner pixels.
void drawOpenFrame(Surface &s, int w, int h, Rgb color)
{
    drawLineOn(s, 1, 0, w - 1, 0, color);
    drawLineOn(s, 0, 1, 0, h - 1, color);
    drawLineOn(s, w - 1, 1, w - 1, h - 1, color);
    drawLineOn(s, 1, h - 1, w - 1, h - 1, color);
}

void innerCorners(Surface &s, int w, int h, Rgb color)
{
    setPixels(s, {{1, 1}, {1, h - 2}, {w - 2, 1}, {w - 2, h - 2}}, color);
}

void fixedFrameAndCorners(Surface &s, int w, int h)
{
    drawOpenFrame(s, w, h, kFrame);
    innerCorners(s, w, h, kInnerCorner);
    setPixels(s,
              {{0, 1},
               {1, 0},
               {1, h - 1},
               {0, h - 2},
               {w - 1, h - 2},
               {w - 2, h - 1},
               {w - 2, 0},
               {w - 1, 1}},
              kOuterCorner);
    setPixels(s,
              {{1, 2},
               {2, 1},
               {2, h - 2},
               {1, h - 3},
               {w - 2, h - 3},
               {w - 3, h - 2},
               {w - 3, 1},
               {w - 2, 2}},
              kSoftCorner);
}

void disabledLook(Surface &s, int w, int h, Rgb face, Rgb outline, Rgb corner)
{
    s.setBackColor(face);
    drawBox(s, 0, 0, w - 1, h - 1, outline);
    setPixels(s,
              {{0, 1},
               {1, 1},
               {1, 0},
               {0, h - 2},
               {1, h - 2},
               {1, h - 1},
               {w - 1, 1},
               {w - 2, 1},
               {w - 2, 0},
               {w - 1, h - 2},
               {w - 2, h - 2},
               {w - 2, h - 1}},
              corner);
}

} // namespace

void paintRingedGradientFixed(Surface &s, const ButtonView &v, ButtonState state)
{
    const int w = v.width;
    const int h = v.height;
    s.setBackColor(v.colors.color(SysColor::kButtonFace));
    switch (state) {
    case Normal:
    case Hot:
        gradientRowsOn(s, makeRgb(252, 252, 251), makeRgb(240, 240, 240), 1, 1, w - 2, 4);
        gradientRowsOn(s, makeRgb(250, 250, 249), makeRgb(240, 240, 234), 1, 4, w - 2, h - 8);
        gradientRowsOn(s, makeRgb(235, 235, 230), makeRgb(214, 208, 197), 1, h - 4, w - 2, 3);
        gradientRowsOn(s, makeRgb(251, 251, 250), makeRgb(228, 226, 218), w - 3, 3, w - 2, h - 5);
        gradientRowsOn(s, makeRgb(245, 244, 242), makeRgb(219, 215, 205), w - 2, 3, w - 1, h - 5);
        fixedFrameAndCorners(s, w, h);
        if (state == Hot)
            drawRing(s, w, h, kHotRing);
        else if (v.hasFocus)
            drawRing(s, w, h, kFocusRing);
        break;
    case Pressed:
        gradientRowsOn(s, makeRgb(209, 204, 193), makeRgb(228, 227, 220), 2, 1, w - 1, 4);
        gradientRowsOn(s, makeRgb(228, 227, 220), makeRgb(227, 226, 219), 2, 4, w - 1, h - 8);
        gradientRowsOn(s, makeRgb(227, 226, 219), makeRgb(242, 241, 238), 3, h - 4, w - 1, 3);
        gradientRowsOn(s, makeRgb(218, 216, 206), makeRgb(227, 226, 219), 1, 3, 2, h - 5);
        gradientRowsOn(s, makeRgb(218, 216, 206), makeRgb(227, 226, 219), 2, 4, 3, h - 7);
        fixedFrameAndCorners(s, w, h);
        break;
    case Disabled:
        disabledLook(s, w, h, kDisabledFace, kDisabledOutline, kDisabledCorner);
        break;
    default:
        break;
    }
}

void paintRingedGradientShaded(Surface &s, const ButtonView &v, ButtonState state)
{
    const int w = v.width;
    const int h = v.height;
    const Rgb b = v.backColor;
    const Rgb frame = shiftColor(b, -128);
    switch (state) {
    case Normal:
    case Hot: {
        s.setBackColor(b);
        gradientRowsOn(s, b, shiftColor(b, -15), 1, 1, w - 2, h - 3);
        gradientRowsOn(s, shiftColor(b, 21), shiftColor(b, -21), 1, 2, 2, h - 5);
        gradientRowsOn(s, shiftColor(b, -5), shiftColor(b, -32), w - 2, 2, w - 3, h - 5);
        drawLineOn(s, 2, 1, w - 2, 1, shiftColor(b, 5));
        drawLineOn(s, 1, 2, w - 1, 2, shiftColor(b, 2));
        drawLineOn(s, 2, h - 4, w - 2, h - 4, shiftColor(b, -16));
        drawLineOn(s, 2, h - 3, w - 2, h - 3, shiftColor(b, -24));
        drawLineOn(s, 2, h - 2, w - 2, h - 2, shiftColor(b, -37));
        paintBluntFrame(s, w, h, frame, shiftColor(b, -21));
        if (state == Hot || (v.hasFocus && v.showFocus)) {
            const Rgb r = state == Hot ? v.highlightColor : v.colors.color(SysColor::kHighlight);
            drawRing(s, w, h, {shiftColor(r, 85), shiftColor(r, 69), shiftColor(r, 16), r});
        }
        break;
    }
    case Pressed:
        gradientRowsOn(s, shiftColor(b, -37), shiftColor(b, -21), 2, 1, w - 1, 4);
        gradientRowsOn(s, shiftColor(b, -21), shiftColor(b, -5), 2, 4, w - 1, h - 8);
        gradientRowsOn(s, shiftColor(b, -5), shiftColor(b, 5), 3, h - 4, w - 1, 3);
        gradientRowsOn(s, shiftColor(b, -32), shiftColor(b, -22), 1, 3, 2, h - 5);
        gradientRowsOn(s, shiftColor(b, -24), shiftColor(b, -15), 2, 4, 3, h - 7);
        s.setPixel(1, 2, shiftColor(b, -48));
        s.setPixel(2, 1, shiftColor(b, -48));
        s.setPixel(2, h - 2, shiftColor(b, -5));
        s.setPixel(1, h - 3, shiftColor(b, -16));
        s.setPixel(w - 2, h - 3, shiftColor(b, 18));
        s.setPixel(w - 3, h - 2, shiftColor(b, 8));
        s.setPixel(w - 3, 1, shiftColor(b, -48));
        s.setPixel(w - 2, 2, shiftColor(b, -37));
        drawOpenFrame(s, w, h, frame);
        innerCorners(s, w, h, shiftColor(b, -96));
        break;
    case Disabled:
        disabledLook(s, w, h, b, shiftColor(b, -64), shiftColor(b, -53));
        break;
    default:
        break;
    }
}

} // namespace clipnab
