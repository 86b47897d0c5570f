#pragma once

#include "platform/Color.h"

#include <QRect>
#include <QSize>

#include <optional>
#include <vector>

namespace clipnab {

class Surface;
class SystemColors;

// Geometry of the panel's parts in pixels.
namespace PanelMetrics {
constexpr QSize kDesignSize{165, 128};
constexpr int kHeaderLeft = 1;
constexpr int kHeaderTop = 1;
constexpr int kHeaderHeight = 23;
constexpr int kHeaderDesignWidth = 163;
constexpr int kCaptionLeft = 10;
constexpr int kCaptionPixelSize = 13;
constexpr int kBodyLeft = 1;
constexpr int kBodyTop = 24;
constexpr int kBodyDesignWidth = 161;
constexpr int kBodyDesignHeight = 102;
// Header strip height plus the two frame rows.
constexpr int kBodyHeightReduction = kHeaderHeight + 2;
} // namespace PanelMetrics

// Where the parts go for a panel of the given size.
struct PanelLayout
{
    int headerWidth = 0;
    int bodyWidth = 0;
    int bodyHeight = 0;
    int captionTop = 0;
};

// Layout of a resize; none for a panel of width 0, which keeps its parts where they are.
std::optional<PanelLayout> layoutPanel(QSize panel, int headerHeight, int captionHeight);

// Rows y0 .. y1 (inclusive) from x = 0 up to x2 (not painted), graded over a reference
// height of n rows.
struct RowGradient
{
    int y0 = 0;
    int y1 = -1;
    int x2 = 0;
    int n = 0;
    friend bool operator==(const RowGradient &, const RowGradient &) = default;
};

RowGradient headerGradient(QSize strip);
// Style 0 grades the area of the body box (below the header); any other style the whole panel.
RowGradient bodyGradient(int style, QSize panel, const QRect &bodyBox);

// Columns left .. right - 1 of the rows from `top` down, one colour per row as the surface's
// image holds it.
struct RowBand
{
    int left = 0;
    int right = 0;
    int top = 0;
    std::vector<QRgb> colors;
};

// The rows a gradient paints on a surface `height` rows high, each row the line from (0, y) to
// (x2, y) without its end point, graded from top to bottom by repeated subtraction of a
// single-precision step. None when the reference height is 1, which has no step.
// A colour that cannot be translated grades from the failure value -1, split into channels like
// any other colour; components beyond 0..255 are held at the nearer limit.
std::optional<RowBand> gradientBand(const SystemColors &colors, OleColor top, OleColor bottom,
                                    const RowGradient &gradient, int height);

// The colour of the closed one-pixel frame; none when the colour cannot be translated.
std::optional<Rgb> frameColor(const SystemColors &colors, OleColor border);

// What the panel's surface shows, from the bottom up: the background, the body's gradient, the
// frame on the outermost rows and columns, and the header's rows (the header strip shows them
// again above the panel).
struct PanelPicture
{
    Rgb background = 0;
    const RowBand *body = nullptr;
    std::optional<Rgb> frame;
    const RowBand *header = nullptr;
};

// Paints the whole surface, each pixel once.
void paintPanel(Surface &target, const PanelPicture &picture);

} // namespace clipnab
