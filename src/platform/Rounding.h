#pragma once

#include <cmath>

namespace clipnab {

// Every float-to-integer step of the drawing and layout code: to nearest, halves to the even
// neighbour (2.5 gives 2, 3.5 gives 4), in the default rounding mode.
inline int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

inline int roundHalfEven(float value)
{
    return static_cast<int>(std::nearbyint(value));
}

} // namespace clipnab
