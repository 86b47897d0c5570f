#pragma once

#include <QPoint>
#include <QSize>

class QRegion;

namespace clipnab {

// A rectangle as the drawing calls take it: left and top inclusive, right and bottom exclusive.
struct GdiRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const GdiRect &, const GdiRect &) = default;
};

namespace ButtonMetrics {
constexpr int kMinimumSide = 20;
constexpr int kCaptionInset = 4;
constexpr int kDefaultIconMargin = 4;
constexpr int kCornerEllipse = 18;
constexpr int kDesignWidth = 229;
constexpr int kDesignHeight = 97;
} // namespace ButtonMetrics

// Caption format of a newly placed button: centred, word-wrapped.
constexpr unsigned kInitialCaptionFormat = 17;

// The client size after the resize step's minimum of 20 x 20 pixels.
QSize clampedClientSize(QSize size);
// (4, 4, w - 4, h - 4).
GdiRect captionRectFor(int width, int height);
// The text format for a caption alignment; alignments outside 0..4 keep the current format.
unsigned captionFormatFor(int captionAlign, unsigned current);

// Window shapes for a client of width x height pixels.
QRegion regionSmallCorners(int width, int height);
QRegion regionLargeCorners(int width, int height);
QRegion regionRounded(int width, int height);
// The shape a style gives its window: the three builders above or the plain rectangle.
QRegion shapeForStyle(int style, int width, int height);

// Distance of an edge-aligned icon from the border after the given style drew its body.
int iconMarginFor(int style);
// Top-left corner of an icon of side `size` for the icon alignment, halves rounded to even.
QPoint iconPosition(int iconAlign, int width, int height, int size, int margin);

} // namespace clipnab
