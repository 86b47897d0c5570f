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
        band.colors.push_back(
            toQRgb(makeRgb(composedChannel(r), composedChannel(g), composedChannel(b))));
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

// Which layers a row meets: the body's rows, the frame's full rows, the header's rows.
constexpr unsigned kBodyRow = 1;
constexpr unsigned kFrameRow = 2;
constexpr unsigned kHeaderRow = 4;
// A row has at most eight column edges, so at most seven runs.
constexpr std::size_t kMaxRuns = 7;

// The runs of one kind of row; the colours of the background and frame runs are set once.
struct RowLayout
{
    std::array<ColorRun, kMaxRuns> runs{};
    std::array<Layer, kMaxRuns> layers{};
    std::size_t count = 0;
};

// Sorts the first `count` entries and drops repeated ones; returns how many are left.
std::size_t sortDistinct(std::array<int, 8> &values, std::size_t count)
{
    std::size_t distinct = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int value = values[i];
        std::size_t at = 0;
        while (at < distinct && values[at] < value)
            ++at;
        if (at < distinct && values[at] == value)
            continue;
        for (std::size_t j = distinct; j > at; --j)
            values[j] = values[j - 1];
        values[at] = value;
        ++distinct;
    }
    return distinct;
}

bool bandHasRow(const RowBand *band, int y)
{
    return band && y >= band->top && y - band->top < static_cast<int>(band->colors.size());
}

bool bandHasColumn(const RowBand *band, int x)
{
    return x >= band->left && x < band->right;
}

// The layer on top at each column of a row of the given kind, equal neighbours merged.
RowLayout rowLayout(const PanelPicture &picture, int width, unsigned kind)
{
    std::array<int, 8> edges{0, width};
    std::size_t edgeCount = 2;
    const auto addEdge = [&](int x) { edges[edgeCount++] = std::clamp(x, 0, width); };
    for (const RowBand *band : {picture.body, picture.header}) {
        if (band) {
            addEdge(band->left);
            addEdge(band->right);
        }
    }
    if (picture.frame) {
        addEdge(1);
        addEdge(width - 1);
    }
    edgeCount = sortDistinct(edges, edgeCount);

    RowLayout layout;
    for (std::size_t i = 0; i + 1 < edgeCount; ++i) {
        const int x = edges[i];
        Layer layer = Layer::Background;
        QRgb color = toQRgb(picture.background);
        if ((kind & kHeaderRow) && bandHasColumn(picture.header, x)) {
            layer = Layer::Header;
        } else if (picture.frame && ((kind & kFrameRow) || x == 0 || x == width - 1)) {
            layer = Layer::Frame;
            color = toQRgb(*picture.frame);
        } else if ((kind & kBodyRow) && bandHasColumn(picture.body, x)) {
            layer = Layer::Body;
        }
        const int length = edges[i + 1] - x;
        if (layout.count > 0 && layout.layers[layout.count - 1] == layer) {
            layout.runs[layout.count - 1].length += length;
        } else {
            layout.runs[layout.count] = {length, color};
            layout.layers[layout.count] = layer;
            ++layout.count;
        }
    }
    return layout;
}

} // namespace

void paintPanel(Surface &target, const PanelPicture &picture)
{
    const int width = target.width();
    const int height = target.height();
    // Rows where no layer starts or ends share one layout; only the bands' colours change.
    std::array<int, 8> starts{0, std::min(1, height), std::max(height - 1, 0), height};
    std::size_t startCount = 4;
    for (const RowBand *band : {picture.body, picture.header}) {
        if (band) {
            const int top = std::clamp(band->top, 0, height);
            starts[startCount++] = top;
            starts[startCount++] =
                std::clamp(band->top + static_cast<int>(band->colors.size()), top, height);
        }
    }
    startCount = sortDistinct(starts, startCount);

    Surface::PixelWriter out = target.pixelWriter();
    for (std::size_t i = 0; i + 1 < startCount; ++i) {
        const int first = starts[i];
        const int end = starts[i + 1];
        unsigned kind = 0;
        if (bandHasRow(picture.body, first))
            kind |= kBodyRow;
        if (first == 0 || first == height - 1)
            kind |= kFrameRow;
        if (bandHasRow(picture.header, first))
            kind |= kHeaderRow;
        const RowLayout layout = rowLayout(picture, width, kind);
        const std::span<const ColorRun> runs(layout.runs.data(), layout.count);
        // Rows meeting one band take its colours one row after the other; rows meeting both (a
        // header over the body's rows) are written row by row.
        std::size_t graded = layout.count;
        std::size_t gradedRuns = 0;
        for (std::size_t r = 0; r < layout.count; ++r) {
            if (layout.layers[r] == Layer::Body || layout.layers[r] == Layer::Header) {
                graded = r;
                ++gradedRuns;
            }
        }
        if (gradedRuns == 1) {
            const RowBand &band =
                *(layout.layers[graded] == Layer::Body ? picture.body : picture.header);
            out.gradedRuns(first, runs, graded,
                           std::span<const QRgb>(band.colors)
                               .subspan(static_cast<std::size_t>(first - band.top),
                                        static_cast<std::size_t>(end - first)));
            continue;
        }
        RowLayout row = layout;
        for (int y = first; y < end; ++y) {
            for (std::size_t r = 0; r < row.count; ++r) {
                if (row.layers[r] == Layer::Body)
                    row.runs[r].color =
                        picture.body->colors[static_cast<std::size_t>(y - picture.body->top)];
                else if (row.layers[r] == Layer::Header)
                    row.runs[r].color =
                        picture.header->colors[static_cast<std::size_t>(y - picture.header->top)];
            }
            out.runs(y, std::span<const ColorRun>(row.runs.data(), row.count));
        }
    }
}

} // namespace clipnab
