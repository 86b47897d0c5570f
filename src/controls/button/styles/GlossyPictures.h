#pragma once

#include "platform/Color.h"

#include <array>
#include <cstdint>
#include <span>

namespace clipnab {

// One pixel of a corner patch: columns in from the corner's side, rows in from its end.
struct GlossyCornerPixel
{
    std::uint8_t dx;
    std::uint8_t dy;
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

// A glossy button picture in nine parts, stretched to any size: a flat centre, one colour per
// side column and per end row, and four corner patches of single pixels.
struct GlossyPicture
{
    Rgb centre;
    std::array<Rgb, 18> leftColumns;  // x = 0 .. 17
    std::array<Rgb, 17> rightColumns; // x = W - 17 .. W - 1
    std::array<Rgb, 12> topRows;      // y = 0 .. 11
    std::array<Rgb, 11> bottomRows;   // y = H - 11 .. H - 1
    // Top-left, top-right, bottom-left, bottom-right.
    std::array<std::span<const GlossyCornerPixel>, 4> corners;
};

enum class GlossyPictureKind
{
    Rest,
    Hot,
    Pressed
};

const GlossyPicture &glossyPicture(GlossyPictureKind kind);

} // namespace clipnab
