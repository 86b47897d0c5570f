#pragma once

#include <QPolygon>
#include <QRect>
#include <QSize>

namespace clipnab {

// Form of a tooltip window: a plain rectangle, or a rounded balloon whose stem points at the
// pointer.
enum class ToolTipForm
{
    Rectangle,
    Balloon
};

// Where a tooltip window goes and how its outline runs. The window's geometry is global; the
// body, stem and content are in the window's own coordinates.
struct ToolTipShape
{
    QRect geometry;
    QRect body;
    // The stem's tip first, then its two base points on the body's edge; empty for a rectangle.
    QPolygon stem;
    QRect content;
    // The balloon hangs above the pointer (its stem points down).
    bool above = false;
};

namespace ToolTipMetrics {
constexpr int kBalloonPaddingX = 10;
constexpr int kBalloonPaddingY = 8;
constexpr int kRectanglePaddingX = 5;
constexpr int kRectanglePaddingY = 3;
constexpr int kCornerRadius = 7;
constexpr int kStemHeight = 14;
constexpr int kStemBase = 16;
// Distance from the stem's tip to the nearer end of the body.
constexpr int kStemInset = 18;
// A rectangular tip sits below and right of the pointer, clear of the arrow.
constexpr int kPointerOffsetX = 2;
constexpr int kPointerOffsetY = 18;
} // namespace ToolTipMetrics

// Places a tip whose title and text need `content` pixels, for the pointer at `pointer`, inside
// the available area of its screen: below the pointer when it fits there, else above; the
// balloon's body runs to the right of its stem unless that leaves the screen.
ToolTipShape layoutToolTip(ToolTipForm form, QSize content, QPoint pointer, const QRect &available);

} // namespace clipnab
