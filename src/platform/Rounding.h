#pragma once

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace clipnab {

// Every float-to-integer step of the drawing and layout code: to nearest, halves to the even
// neighbour (2.5 gives 2, 3.5 gives 4), in the default rounding mode. On x86 the conversion
// instruction itself rounds that way, which keeps gradient-heavy paints free of library calls.
inline int roundHalfEven(double value)
{
#if defined(__SSE2__)
    return _mm_cvtsd_si32(_mm_set_sd(value));
#else
    return static_cast<int>(std::nearbyint(value));
#endif
}

inline int roundHalfEven(float value)
{
#if defined(__SSE2__)
    return _mm_cvtss_si32(_mm_set_ss(value));
#else
    return static_cast<int>(std::nearbyint(value));
#endif
}

} // namespace clipnab
