#include "controls/button/Primitives.h"

#include "platform/Rounding.h"
#include "platform/Surface.h"

#include <algorithm>

namespace clipnab {

namespace {

struct Channels
{
    int r, g, b;
};

// The gradients mask blue before dividing, so -1 splits into (255, 0, 255).
Channels splitForGradient(Rgb c)
{
    return {redOf(c), greenOf(c), byteOf(c, 2)};
}

// Shared by the row and column gradients: one line per step, colour by product, not sum.
template <typename DrawLine> void gradient(Rgb c0, Rgb c1, int steps, DrawLine drawLine)
{
    if (steps < 0)
        return;
    const Channels s = splitForGradient(c0);
    if (steps == 0) {
        drawLine(0, makeRgb(s.r, s.g, s.b));
        return;
    }
    const Channels e = splitForGradient(c1);
    const float n = static_cast<float>(steps);
    const float dR = static_cast<float>(e.r - s.r) / n;
    const float dG = static_cast<float>(e.g - s.g) / n;
    const float dB = static_cast<float>(e.b - s.b) / n;
    for (int i = 0; i <= steps; ++i) {
        const float fi = static_cast<float>(i);
        const int r = roundHalfEven(dR * fi + static_cast<float>(s.r));
        const int g = roundHalfEven(dG * fi + static_cast<float>(s.g));
        const int b = roundHalfEven(dB * fi + static_cast<float>(s.b));
        drawLine(i, makeRgb(r, g, b));
    }
}

} // namespace

Rgb mixColors(Rgb a, Rgb b)
{
    const auto mix = [](int x, int y) { return roundHalfEven((x + y) / 2.0); };
    return makeRgb(mix(redOf(a), redOf(b)), mix(greenOf(a), greenOf(b)), mix(blueOf(a), blueOf(b)));
}

Rgb lightenColor(Rgb color, int amount)
{
    const auto lighten = [amount](int c) {
        return std::min(255, amount + ((255 - amount) * c) / 255);
    };
    return makeRgb(lighten(redOf(color)), lighten(greenOf(color)), lighten(blueOf(color)));
}

Rgb shiftColor(Rgb color, int delta)
{
    // Per byte of the value, so -1 shifts from (255, 255, 255).
    const auto shift = [delta, color](int n) {
        return std::clamp(byteOf(color, n) + delta, 0, 255);
    };
    return makeRgb(shift(0), shift(1), shift(2));
}

void drawLineOn(Surface &dc, int x1, int y1, int x2, int y2, Rgb color)
{
    dc.line(x1, y1, x2, y2, color);
}

void fillRectColor(Surface &dc, int left, int top, int right, int bottom, Rgb color)
{
    dc.fillRect(left, top, right, bottom, color);
}

void fillBox(Surface &dc, int x, int y, int w, int h, Rgb color)
{
    dc.fillRect(x, y, x + w, y + h, color);
}

void drawBox(Surface &dc, int x, int y, int w, int h, Rgb color)
{
    Surface::PixelWriter out = dc.pixelWriter();
    out.line(x, y, x + w, y, color);
    out.line(x + w, y, x + w, y + h, color);
    out.line(x + w, y + h, x, y + h, color);
    out.line(x, y + h, x, y, color);
}

void drawEdgeBox(Surface &dc, float x, float y, float w, float h, unsigned edge, unsigned flags)
{
    dc.drawEdge(roundHalfEven(x), roundHalfEven(y), roundHalfEven(x + w), roundHalfEven(y + h),
                edge, flags);
}

void drawSoftFrame(Surface &dc, int x, int y, int w, int h, Rgb outer, Rgb inner, Rgb corner)
{
    drawBox(dc, x, y, w - 1, h - 1, outer);
    drawBox(dc, x + 1, y + 1, w - 1, h - 1, inner);
    dc.setPixel(x, y + h, corner);
    dc.setPixel(x + w, y, corner);
    const Rgb soft = mixColors(inner, outer);
    dc.setPixel(x + 1, y + h - 1, soft);
    dc.setPixel(x + w - 1, y + 1, soft);
}

void gradientRowsOn(Surface &dc, Rgb c0, Rgb c1, int x1, int y0, int x2, int n)
{
    // Each row is the line from (x1, y) to (x2, y) without its end point.
    if (x1 == x2)
        return;
    const int first = x2 > x1 ? x1 : x2 + 1;
    const int last = x2 > x1 ? x2 - 1 : x1;
    Surface::PixelWriter out = dc.pixelWriter();
    gradient(c0, c1, n, [&](int i, Rgb c) { out.hline(first, last, y0 + i, toQRgb(c)); });
}

void gradientColumnsOn(Surface &dc, Rgb c0, Rgb c1, int x0, int y1, int x1, int y2)
{
    // Each column is the line from (x, y1) to (x, y2) without its end point.
    if (y1 == y2)
        return;
    const int first = y2 > y1 ? y1 : y2 + 1;
    const int last = y2 > y1 ? y2 - 1 : y1;
    Surface::PixelWriter out = dc.pixelWriter();
    gradient(c0, c1, x1 - x0, [&](int i, Rgb c) { out.vline(x0 + i, first, last, toQRgb(c)); });
}

} // namespace clipnab
