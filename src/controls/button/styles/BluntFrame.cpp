#include "controls/button/styles/BluntFrame.h"

#include "controls/button/Primitives.h"
#include "platform/Surface.h"

#include <initializer_list>
#include <utility>

namespace clipnab {

void paintBluntFrame(Surface &surface, int w, int h, Rgb frame, Rgb corner)
{
    using Pixels = std::initializer_list<std::pair<int, int>>;
    drawLineOn(surface, 2, 0, w - 2, 0, frame);
    drawLineOn(surface, 0, 2, 0, h - 2, frame);
    drawLineOn(surface, 2, h - 1, w - 2, h - 1, frame);
    drawLineOn(surface, w - 1, 0, w - 1, h, frame);
    Surface::PixelWriter out = surface.pixelWriter();
    for (const auto &[x, y] : Pixels{{1, 1}, {1, h - 2}, {w - 2, 1}, {w - 2, h - 2}})
        out.setPixel(x, y, frame);
    for (const auto &[x, y] : Pixels{{1, 0},
                                     {w - 2, 0},
                                     {0, 1},
                                     {0, h - 2},
                                     {1, h - 1},
                                     {w - 2, h - 1},
                                     {w - 1, 1},
                                     {w - 1, h - 2}})
        out.setPixel(x, y, corner);
}

} // namespace clipnab
