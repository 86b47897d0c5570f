#include "controls/button/ButtonGeometry.h"

#include "platform/Rounding.h"
#include "platform/Surface.h"

#include <QPolygon>
#include <QRegion>

#include <algorithm>
#include <cstdint>

namespace clipnab {

namespace {

QRegion octagon(const std::initializer_list<QPoint> &points)
{
    return QRegion(QPolygon(QList<QPoint>(points)), Qt::OddEvenFill);
}

// Whether the pixel (x, y) lies inside an ellipse filling a dx x dy box at the origin,
// judged at the pixel's centre with integers only.
bool insideCorner(int x, int y, int dx, int dy)
{
    const std::int64_t ex = 2 * x + 1 - dx;
    const std::int64_t ey = 2 * y + 1 - dy;
    const std::int64_t a = dx;
    const std::int64_t b = dy;
    return ex * ex * b * b + ey * ey * a * a <= a * a * b * b;
}

} // namespace

GdiRect captionRectFor(int width, int height)
{
    using ButtonMetrics::kCaptionInset;
    return {kCaptionInset, kCaptionInset, width - kCaptionInset, height - kCaptionInset};
}

unsigned captionFormatFor(ButtonAlign captionAlign, unsigned current)
{
    using namespace TextFormat;
    switch (captionAlign) {
    case ButtonAlign::Center:
        return kSingleLine | kVCenter | kCenter;
    case ButtonAlign::Left:
        return kSingleLine | kVCenter;
    case ButtonAlign::Right:
        return kSingleLine | kVCenter | kRight;
    case ButtonAlign::Top:
        return kSingleLine | kCenter;
    case ButtonAlign::Bottom:
        return kSingleLine | kBottom | kCenter;
    }
    return current;
}

QRegion regionSmallCorners(int w, int h)
{
    return octagon(
        {{0, 1}, {1, 0}, {w - 1, 0}, {w, 1}, {w, h - 2}, {w - 2, h}, {2, h}, {0, h - 2}});
}

QRegion regionLargeCorners(int w, int h)
{
    return octagon(
        {{0, 2}, {2, 0}, {w - 3, 0}, {w, 3}, {w, h - 3}, {w - 3, h}, {4, h}, {0, h - 4}});
}

QRegion regionRounded(int w, int h)
{
    // The corner ellipse shrinks to the client when the client is smaller than it.
    const int dx = std::min(ButtonMetrics::kCornerEllipse, w);
    const int dy = std::min(ButtonMetrics::kCornerEllipse, h);
    QRegion region;
    if (w <= 0 || h <= 0)
        return region;
    int runStart = 0;
    int runInset = -1;
    const auto flush = [&](int endRow) {
        if (runInset >= 0 && endRow > runStart && w - 2 * runInset > 0)
            region += QRect(runInset, runStart, w - 2 * runInset, endRow - runStart);
    };
    for (int y = 0; y < h; ++y) {
        // Rows of the bottom corners mirror those of the top ones.
        const int cy = y < dy / 2 ? y : (y >= h - dy / 2 ? y - (h - dy) : -1);
        int inset = 0;
        if (cy >= 0) {
            inset = dx / 2;
            while (inset > 0 && insideCorner(inset - 1, cy, dx, dy))
                --inset;
            if (!insideCorner(inset, cy, dx, dy))
                inset = (w + 1) / 2;
        }
        if (inset != runInset) {
            flush(y);
            runStart = y;
            runInset = inset;
        }
    }
    flush(h);
    return region;
}

QRegion shapeForStyle(ButtonStyle style, int width, int height)
{
    switch (style) {
    case ButtonStyle::RingedGradient:
    case ButtonStyle::SoftGradient:
        return regionSmallCorners(width, height);
    case ButtonStyle::ReliefGradient:
    case ButtonStyle::Capsule:
        return regionLargeCorners(width, height);
    case ButtonStyle::GlossyImage:
        return regionRounded(width, height);
    default:
        return QRegion(0, 0, width, height);
    }
}

int iconMarginFor(ButtonStyle style)
{
    switch (style) {
    case ButtonStyle::RingedGradient:
    case ButtonStyle::SoftGradient:
        return ButtonMetrics::kGradientIconMargin;
    case ButtonStyle::Capsule:
    case ButtonStyle::GlossyImage:
        return ButtonMetrics::kRoundIconMargin;
    default:
        return ButtonMetrics::kDefaultIconMargin;
    }
}

QPoint iconPosition(ButtonAlign iconAlign, int width, int height, int size, int margin)
{
    const double centreX = (width - size) / 2.0;
    const double centreY = (height - size) / 2.0;
    switch (iconAlign) {
    case ButtonAlign::Center:
        return {roundHalfEven(centreX), roundHalfEven(centreY)};
    case ButtonAlign::Left:
        return {margin, roundHalfEven(centreY)};
    case ButtonAlign::Right:
        return {width - size - margin, roundHalfEven(centreY)};
    case ButtonAlign::Top:
        return {roundHalfEven(centreX), margin};
    case ButtonAlign::Bottom:
        return {roundHalfEven(centreX), height - size - margin};
    }
    return {0, 0};
}

} // namespace clipnab
