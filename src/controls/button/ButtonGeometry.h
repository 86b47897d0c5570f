#pragma once

#include "controls/button/ButtonView.h"

#include <QPoint>

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

// Sizes of the button in pixels.
namespace ButtonMetrics {
constexpr int kMinimumSide = 20;
constexpr int kCaptionInset = 4;
// Distance of an edge-aligned icon from the border: most styles, the small-corner gradients
// (5 and 7), and the capsule and glossy styles (9 and 10).
constexpr int kDefaultIconMargin = 4;
constexpr int kGradientIconMargin = 5;
constexpr int kRoundIconMargin = 7;
constexpr int kDesignWidth = 229;
constexpr int kDesignHeight = 97;
} // namespace ButtonMetrics

// Where IconAlign and CaptionAlign place the icon and the caption. The properties keep any
// number; other values fall back as the functions below say.
enum class ButtonAlign : int
{
    Center = 0,
    Left = 1,
    Right = 2,
    Top = 3,
    Bottom = 4
};

// Caption format of a newly placed button: centred, word-wrapped.
constexpr unsigned kInitialCaptionFormat = 17;

// (4, 4, w - 4, h - 4).
GdiRect captionRectFor(int width, int height);
// The text format for a caption alignment; alignments outside 0..4 keep the current format.
unsigned captionFormatFor(ButtonAlign captionAlign, unsigned current);

// Window shapes for a client of width x height pixels.
QRegion regionSmallCorners(int width, int height);
QRegion regionLargeCorners(int width, int height);
// The shape a style gives its window: the two builders above, the glossy pictures' outline
// (style 10) or the plain rectangle.
QRegion shapeForStyle(ButtonStyle style, int width, int height);

// Distance of an edge-aligned icon from the border after the given style drew its body.
int iconMarginFor(ButtonStyle style);
// Top-left corner of an icon of side `size` for the icon alignment, halves rounded to even;
// (0, 0) for alignments outside 0..4.
QPoint iconPosition(ButtonAlign iconAlign, int width, int height, int size, int margin);

} // namespace clipnab
