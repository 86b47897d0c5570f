#include "controls/button/styles/GlossyImage.h"

#include "controls/button/Primitives.h"
#include "platform/Surface.h"

namespace clipnab {

namespace {

constexpr int kSideColumns = 17; // beside the extra left column x = 17
constexpr int kCentreLeft = 18;
constexpr int kCentreTop = 11;
constexpr int kEndRows = 11; // beside the extra top row y = 11

} // namespace

GlossyPictureKind glossyPictureFor(int state, bool hasFocus)
{
    if (state == ButtonStateValue::Pressed)
        return GlossyPictureKind::Pressed;
    if (state == ButtonStateValue::Hot || hasFocus)
        return GlossyPictureKind::Hot;
    return GlossyPictureKind::Rest;
}

void paintGlossyImage(Surface &s, const ButtonView &v, int state)
{
    const GlossyPicture &picture = glossyPicture(glossyPictureFor(state, v.hasFocus));
    const int w = v.width;
    const int h = v.height;

    FillBox(s, kCentreLeft, kCentreTop, w - 34, h - 19, picture.centre);

    // Corner pixels outside the rounded outline are left as the refresh cleared them.
    for (int corner = 0; corner < 4; ++corner) {
        const bool right = corner % 2 == 1;
        const bool bottom = corner >= 2;
        for (const GlossyCornerPixel &p : picture.corners[corner]) {
            const int x = right ? w - 1 - p.dx : p.dx;
            const int y = bottom ? h - 1 - p.dy : p.dy;
            s.setPixel(x, y, makeRgb(p.red, p.green, p.blue));
        }
    }

    for (int i = 0; i <= kSideColumns; ++i)
        DrawLineOn(s, i, kCentreTop, i, h - 10, picture.leftColumns[i]);
    for (int i = 0; i < kSideColumns; ++i) {
        const int x = w - kSideColumns + i;
        DrawLineOn(s, x, kCentreTop, x, h - 10, picture.rightColumns[i]);
    }
    for (int i = 0; i <= kEndRows; ++i)
        DrawLineOn(s, 17, i, w - 17, i, picture.topRows[i]);
    for (int i = 0; i < kEndRows; ++i) {
        const int y = h - kEndRows + i;
        DrawLineOn(s, 17, y, w - 17, y, picture.bottomRows[i]);
    }
}

} // namespace clipnab
