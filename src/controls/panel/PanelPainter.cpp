#include "controls/panel/PanelPainter.h"

#include "platform/Rounding.h"
#include "platform/Surface.h"
#include "platform/SystemColors.h"

#include <algorithm>
#include <array>

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

std::optional<RowBand> gradientBand(const SystemColors &colors, OleColor top, OleColor bottom,
                                    const RowGradient &gradient, int height)
{
    if (gradient.n == 1)
        return std::nullopt;
    RowBand band;
    // The line's pixels: from 0 to x2, the end point left out.
    if (gradient.x2 > 0) {
        band.right = gradient.x2;
    } else if (gradient.x2 < 0) {
        band.left = gradient.x2 + 1;
        band.right = 1;
    }
    band.top = gradient.y0;
    const Rgb from = translateColor(top, colors);
    const Rgb to = translateColor(bottom, colors);
    const float divisor = static_cast<float>(gradient.n - 1);
    const float stepR = static_cast<float>(redOf(from) - redOf(to)) / divisor;
    const float stepG = static_cast<float>(greenOf(from) - greenOf(to)) / divisor;
    const float stepB = static_cast<float>(blueOf(from) - blueOf(to)) / divisor;
    float r = static_cast<float>(redOf(from));
    float g = static_cast<float>(greenOf(from));
    float b = static_cast<float>(blueOf(from));
    // Rows below the surface would not show; the band ends at its last row.
    const int last = std::min(gradient.y1, height - 1);
    for (int y = gradient.y0; y <= last; ++y) {
        band.colors.push_back(makeRgb(composedChannel(r), composedChannel(g), composedChannel(b)));
        r -= stepR;
        g -= stepG;
        b -= stepB;
    }
    return band;
}

std::optional<Rgb> frameColor(const SystemColors &colors, OleColor border)
{
    const Rgb color = translateColor(border, colors);
    if (color == kInvalidRgb)
        return std::nullopt;
    return color;
}

namespace {

enum class Layer
{
    Background,
    Body,
    Frame,
    Header
};

struct LayerRun
{
    int length;
    Layer layer;
};

// Which layers a row meets: the body's rows, the frame's full rows, the header's rows.
constexpr unsigned kBodyRow = 1;
constexpr unsigned kFrameRow = 2;
constexpr unsigned kHeaderRow = 4;
constexpr int kRowKinds = 8;

bool bandHasRow(const std::optional<RowBand> &band, int y)
{
    return band && y >= band->top && y - band->top < static_cast<int>(band->colors.size());
}

// The runs of a row of the given kind: the layer on top at each column, equal neighbours merged.
std::vector<LayerRun> rowLayout(const PanelPicture &picture, int width, unsigned kind)
{
    std::vector<int> edges{0, width};
    const auto addBand = [&](const std::optional<RowBand> &band) {
        if (band) {
            edges.push_back(std::clamp(band->left, 0, width));
            edges.push_back(std::clamp(band->right, 0, width));
        }
    };
    addBand(picture.body);
    addBand(picture.header);
    if (picture.frame) {
        edges.push_back(std::min(1, width));
        edges.push_back(std::max(width - 1, 0));
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    const auto inBand = [](const std::optional<RowBand> &band, int x) {
        return x >= band->left && x < band->right;
    };
    std::vector<LayerRun> runs;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const int x = edges[i];
        Layer layer = Layer::Background;
        if ((kind & kHeaderRow) && inBand(picture.header, x))
            layer = Layer::Header;
        else if (picture.frame && ((kind & kFrameRow) || x == 0 || x == width - 1))
            layer = Layer::Frame;
        else if ((kind & kBodyRow) && inBand(picture.body, x))
            layer = Layer::Body;
        const int length = edges[i + 1] - x;
        if (!runs.empty() && runs.back().layer == layer)
            runs.back().length += length;
        else
            runs.push_back({length, layer});
    }
    return runs;
}

} // namespace

void paintPanel(Surface &target, const PanelPicture &picture)
{
    const int width = target.width();
    const int height = target.height();
    std::array<std::optional<std::vector<LayerRun>>, kRowKinds> layouts;
    std::vector<ColorRun> runs;
    Surface::PixelWriter out = target.pixelWriter();
    for (int y = 0; y < height; ++y) {
        unsigned kind = 0;
        if (bandHasRow(picture.body, y))
            kind |= kBodyRow;
        if (y == 0 || y == height - 1)
            kind |= kFrameRow;
        if (bandHasRow(picture.header, y))
            kind |= kHeaderRow;
        auto &layout = layouts[kind];
        if (!layout)
            layout = rowLayout(picture, width, kind);
        runs.clear();
        for (const LayerRun &run : *layout) {
            Rgb color = picture.background;
            switch (run.layer) {
            case Layer::Background:
                break;
            case Layer::Body:
                color = picture.body->colors[static_cast<std::size_t>(y - picture.body->top)];
                break;
            case Layer::Frame:
                color = *picture.frame;
                break;
            case Layer::Header:
                color = picture.header->colors[static_cast<std::size_t>(y - picture.header->top)];
                break;
            }
            runs.push_back({run.length, toQRgb(color)});
        }
        out.runs(y, runs);
    }
}

} // namespace clipnab
