#pragma once

#include <QtGui/qrgb.h>

#include <QtGlobal>

namespace clipnab {

// Sets n pixels from p on to c.
using PixelFill = void (*)(QRgb *p, qsizetype n, QRgb c);

// The fill with the widest stores the processor has: AVX2 or SSE2 on x86-64, the standard
// library's elsewhere. Rows of a few hundred pixels fill at the speed of the cache.
PixelFill widestPixelFill();

} // namespace clipnab
