#include "controls/button/styles/GlossyImage.h"

#include "platform/Surface.h"

#include <QRegion>

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace clipnab {

namespace {

// The centre fill starts at (18, 11); side columns run from row 11, end rows from column 17.
constexpr int kCentreLeft = 18;
constexpr int kCentreTop = 11;
constexpr int kEndRowLeft = 17;

// A box of pixels painted in one colour: left and top inclusive, right and bottom exclusive.
struct Run
{
    int left;
    int top;
    int right;
    int bottom;
    QRgb color;
};

// Pixels of a corner patch that continue one colour along their row: `length` pixels from `dx`
// columns in from the corner's side, `dy` rows in from its end.
struct CornerRun
{
    int dx;
    int dy;
    int length;
    QRgb color;
};

using CornerRuns = std::array<std::vector<CornerRun>, 4>;

CornerRuns mergeCornerPixels(const GlossyPicture &picture)
{
    CornerRuns runs;
    for (std::size_t corner = 0; corner < picture.corners.size(); ++corner) {
        for (const GlossyCornerPixel &p : picture.corners[corner]) {
            const QRgb color = toQRgb(makeRgb(p.red, p.green, p.blue));
            std::vector<CornerRun> &row = runs[corner];
            if (!row.empty() && row.back().dy == p.dy &&
                row.back().dx + row.back().length == p.dx && row.back().color == color)
                ++row.back().length;
            else
                row.push_back({p.dx, p.dy, 1, color});
        }
    }
    return runs;
}

// Each picture's corner runs, merged once.
const CornerRuns &cornerRuns(GlossyPictureKind kind)
{
    static const CornerRuns rest = mergeCornerPixels(glossyPicture(GlossyPictureKind::Rest));
    static const CornerRuns hot = mergeCornerPixels(glossyPicture(GlossyPictureKind::Hot));
    static const CornerRuns pressed = mergeCornerPixels(glossyPicture(GlossyPictureKind::Pressed));
    switch (kind) {
    case GlossyPictureKind::Hot:
        return hot;
    case GlossyPictureKind::Pressed:
        return pressed;
    default:
        return rest;
    }
}

// Hands `sink` the runs a picture paints at w x h, in painting order (later runs paint over
// earlier ones), each clipped to the button and none empty. Painting fills them; the window
// shape is their union, so the two cannot disagree at any size.
template <typename Sink> void forEachRun(GlossyPictureKind kind, int w, int h, Sink &&sink)
{
    const GlossyPicture &picture = glossyPicture(kind);
    const auto box = [&](int left, int top, int right, int bottom, QRgb color) {
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, w);
        bottom = std::min(bottom, h);
        if (left < right && top < bottom)
            sink(Run{left, top, right, bottom, color});
    };
    // A horizontal or vertical line from (x1, y1) to (x2, y2) without its end point, in either
    // direction.
    const auto line = [&](int x1, int y1, int x2, int y2, Rgb color) {
        if (y1 == y2)
            box(x2 > x1 ? x1 : x2 + 1, y1, x2 > x1 ? x2 : x1 + 1, y1 + 1, toQRgb(color));
        else
            box(x1, y2 > y1 ? y1 : y2 + 1, x1 + 1, y2 > y1 ? y2 : y1 + 1, toQRgb(color));
    };

    box(kCentreLeft, kCentreTop, w - 16, h - 8, toQRgb(picture.centre));

    // Corner pixels outside the rounded outline are not painted.
    const CornerRuns &corners = cornerRuns(kind);
    for (std::size_t corner = 0; corner < corners.size(); ++corner) {
        const bool right = corner % 2 == 1;
        const bool bottom = corner >= 2;
        for (const CornerRun &run : corners[corner]) {
            const int y = bottom ? h - 1 - run.dy : run.dy;
            const int x = right ? w - run.dx - run.length : run.dx;
            box(x, y, x + run.length, y + 1, run.color);
        }
    }

    // The end columns and rows are a few dozen entries: their indices fit an int.
    const int rightColumns = static_cast<int>(picture.rightColumns.size());
    const int bottomRows = static_cast<int>(picture.bottomRows.size());
    for (std::size_t i = 0; i < picture.leftColumns.size(); ++i) {
        const int x = static_cast<int>(i);
        line(x, kCentreTop, x, h - 10, picture.leftColumns[i]);
    }
    for (std::size_t i = 0; i < picture.rightColumns.size(); ++i) {
        const int x = w - rightColumns + static_cast<int>(i);
        line(x, kCentreTop, x, h - 10, picture.rightColumns[i]);
    }
    for (std::size_t i = 0; i < picture.topRows.size(); ++i) {
        const int y = static_cast<int>(i);
        line(kEndRowLeft, y, w - 17, y, picture.topRows[i]);
    }
    for (std::size_t i = 0; i < picture.bottomRows.size(); ++i) {
        const int y = h - bottomRows + static_cast<int>(i);
        line(kEndRowLeft, y, w - 17, y, picture.bottomRows[i]);
    }
}

} // namespace

GlossyPictureKind glossyPictureFor(ButtonState state, bool hasFocus)
{
    if (state == ButtonState::Pressed)
        return GlossyPictureKind::Pressed;
    if (state == ButtonState::Hot || hasFocus)
        return GlossyPictureKind::Hot;
    return GlossyPictureKind::Rest;
}

void paintGlossyImage(Surface &s, const ButtonView &v, ButtonState state)
{
    Surface::PixelWriter out = s.pixelWriter();
    forEachRun(glossyPictureFor(state, v.hasFocus), v.width, v.height, [&out](const Run &run) {
        if (run.right - run.left == 1) {
            out.vline(run.left, run.top, run.bottom - 1, run.color);
            return;
        }
        for (int y = run.top; y < run.bottom; ++y)
            out.hline(run.left, run.right - 1, y, run.color);
    });
}

QRegion glossyShape(int width, int height)
{
    // The three pictures paint the same pixels; only their colours differ.
    QRegion region;
    forEachRun(GlossyPictureKind::Rest, width, height, [&region](const Run &run) {
        region += QRect(run.left, run.top, run.right - run.left, run.bottom - run.top);
    });
    return region;
}

} // namespace clipnab
