#include "controls/button/styles/GlossyImage.h"

#include "controls/button/Primitives.h"
#include "platform/Surface.h"

#include <cstddef>
#include <span>

namespace clipnab {

namespace {

// The centre fill starts at (18, 11); side columns run from row 11, end rows from column 17.
constexpr int kCentreLeft = 18;
constexpr int kCentreTop = 11;
constexpr int kEndRowLeft = 17;

bool sameRun(const GlossyCornerPixel &a, const GlossyCornerPixel &b)
{
    return b.dy == a.dy && b.dx == a.dx + 1 && b.red == a.red && b.green == a.green &&
           b.blue == a.blue;
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
    const GlossyPicture &picture = glossyPicture(glossyPictureFor(state, v.hasFocus));
    const int w = v.width;
    const int h = v.height;

    fillBox(s, kCentreLeft, kCentreTop, w - 34, h - 19, picture.centre);

    // Corner pixels outside the rounded outline are left as the refresh cleared them. Pixels
    // that continue a run of one colour along their row are drawn as one line.
    Surface::PixelWriter out = s.pixelWriter();
    for (std::size_t corner = 0; corner < picture.corners.size(); ++corner) {
        const bool right = corner % 2 == 1;
        const bool bottom = corner >= 2;
        const std::span<const GlossyCornerPixel> pixels = picture.corners[corner];
        for (std::size_t i = 0; i < pixels.size();) {
            const GlossyCornerPixel &first = pixels[i];
            std::size_t end = i + 1;
            while (end < pixels.size() && sameRun(pixels[end - 1], pixels[end]))
                ++end;
            const int run = static_cast<int>(end - i);
            const int y = bottom ? h - 1 - first.dy : first.dy;
            const int x = right ? w - 1 - first.dx : first.dx;
            const Rgb color = makeRgb(first.red, first.green, first.blue);
            if (run == 1)
                out.setPixel(x, y, color);
            else
                out.line(x, y, right ? x - run : x + run, y, color);
            i = end;
        }
    }

    // The end columns and rows are a few dozen entries: their indices fit an int.
    const int rightColumns = static_cast<int>(picture.rightColumns.size());
    const int bottomRows = static_cast<int>(picture.bottomRows.size());
    for (std::size_t i = 0; i < picture.leftColumns.size(); ++i) {
        const int x = static_cast<int>(i);
        drawLineOn(s, x, kCentreTop, x, h - 10, picture.leftColumns[i]);
    }
    for (std::size_t i = 0; i < picture.rightColumns.size(); ++i) {
        const int x = w - rightColumns + static_cast<int>(i);
        drawLineOn(s, x, kCentreTop, x, h - 10, picture.rightColumns[i]);
    }
    for (std::size_t i = 0; i < picture.topRows.size(); ++i) {
        const int y = static_cast<int>(i);
        drawLineOn(s, kEndRowLeft, y, w - 17, y, picture.topRows[i]);
    }
    for (std::size_t i = 0; i < picture.bottomRows.size(); ++i) {
        const int y = h - bottomRows + static_cast<int>(i);
        drawLineOn(s, kEndRowLeft, y, w - 17, y, picture.bottomRows[i]);
    }
}

} // namespace clipnab
