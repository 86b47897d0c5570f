#pragma once

#include <QtGui/qrgb.h>

#include <cstdint>

namespace clipnab {

// A colour as stored by a property: plain 0x00BBGGRR, or 0x800000nn for system colour nn.
using OleColor = std::uint32_t;
// A plain RGB value 0x00BBGGRR; -1 marks a colour that could not be translated.
using Rgb = std::int32_t;

constexpr OleColor kSystemColorFlag = 0x80000000u;
constexpr Rgb kInvalidRgb = -1;

constexpr OleColor systemColorRef(int index)
{
    return kSystemColorFlag | static_cast<OleColor>(index);
}

// Channel extraction as the drawing code does it: mask after a truncating division, so that
// the failure value -1 yields (255, 0, 0) rather than white.
constexpr int redOf(Rgb v)
{
    return v & 0xFF;
}
constexpr int greenOf(Rgb v)
{
    return (v / 256) & 0xFF;
}
constexpr int blueOf(Rgb v)
{
    return (v / 65536) & 0xFF;
}

// Byte n (0 red, 1 green, 2 blue) of the value's bit pattern: 255 in each byte of -1.
constexpr int byteOf(Rgb v, int n)
{
    return static_cast<int>((static_cast<std::uint32_t>(v) >> (8 * n)) & 0xFFu);
}

constexpr Rgb makeRgb(int r, int g, int b)
{
    return r | (g << 8) | (b << 16);
}

constexpr QRgb toQRgb(Rgb v)
{
    return 0xFF000000u | (static_cast<QRgb>(redOf(v)) << 16) |
           (static_cast<QRgb>(greenOf(v)) << 8) | static_cast<QRgb>(blueOf(v));
}

constexpr Rgb fromQRgb(QRgb c)
{
    return makeRgb(qRed(c), qGreen(c), qBlue(c));
}

} // namespace clipnab
