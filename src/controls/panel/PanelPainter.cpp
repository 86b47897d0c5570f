#include "controls/panel/PanelPainter.h"

#include "platform/Rounding.h"
#include "platform/Surface.h"
#include "platform/SystemColors.h"

#include <algorithm>

namespace clipnab {

namespace {

int composedChannel(float running)
{
    return std::clamp(roundHalfEven(running), 0, 255);
}

} // namespace

std::optional<PanelLayout> layoutPanel(QSize panel, int headerHeight, int captionHeight)
{
    if (panel.width() == 0)
        return std::nullopt;
    PanelLayout layout;
    layout.captionTop = roundHalfEven(static_cast<double>(headerHeight - captionHeight) / 2.0);
    layout.headerWidth = std::max(0, panel.width() - 2);
    layout.bodyWidth = layout.headerWidth;
    layout.bodyHeight = std::max(0, panel.height() - PanelMetrics::kBodyHeightReduction);
    return layout;
}

RowGradient headerGradient(QSize strip)
{
    return {0, strip.height() - 1, strip.width(), strip.height()};
}

RowGradient bodyGradient(int style, QSize panel, const QRect &bodyBox)
{
    if (style == 0) {
        // The rows end at x = Wb - 1: the panel's background shows in the one column between
        // them and the right frame line.
        return {bodyBox.top(), panel.height() - 1, bodyBox.width(), bodyBox.height()};
    }
    return {0, panel.height() - 1, panel.width(), panel.height()};
}

bool paintRowGradient(Surface &target, const SystemColors &colors, OleColor top, OleColor bottom,
                      const RowGradient &gradient)
{
    if (gradient.n == 1)
        return false;
    const Rgb from = translateColor(top, colors);
    const Rgb to = translateColor(bottom, colors);
    const float divisor = static_cast<float>(gradient.n - 1);
    const float stepR = static_cast<float>(redOf(from) - redOf(to)) / divisor;
    const float stepG = static_cast<float>(greenOf(from) - greenOf(to)) / divisor;
    const float stepB = static_cast<float>(blueOf(from) - blueOf(to)) / divisor;
    float r = static_cast<float>(redOf(from));
    float g = static_cast<float>(greenOf(from));
    float b = static_cast<float>(blueOf(from));
    // Rows below the surface would not show; the loop ends at its last row.
    const int last = std::min(gradient.y1, target.height() - 1);
    for (int y = gradient.y0; y <= last; ++y) {
        target.line(0, y, gradient.x2, y,
                    makeRgb(composedChannel(r), composedChannel(g), composedChannel(b)));
        r -= stepR;
        g -= stepG;
        b -= stepB;
    }
    return true;
}

bool paintFrame(Surface &target, const SystemColors &colors, OleColor border)
{
    const Rgb color = translateColor(border, colors);
    if (color == kInvalidRgb)
        return false;
    const int right = target.width() - 1;
    const int bottom = target.height() - 1;
    target.line(0, 0, right, 0, color);
    target.line(right, 0, right, bottom, color);
    target.line(right, bottom, 0, bottom, color);
    target.line(0, bottom, 0, 0, color);
    target.line(0, bottom, right + 1, bottom, color);
    target.line(right, 0, right, bottom, color);
    return true;
}

} // namespace clipnab
