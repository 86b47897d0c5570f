#pragma once

#include <QtGui/qrgb.h>

namespace clipnab {

// Contrast between colours as WCAG 2 defines it: the relative luminance of an sRGB colour, and
// the ratio (L1 + 0.05) / (L2 + 0.05) of the lighter to the darker, from 1 to 21. Text needs at
// least 4.5:1 against its background.
namespace Contrast {

constexpr double kMinimumTextRatio = 4.5;

double relativeLuminance(QRgb color);
double ratio(QRgb a, QRgb b);

} // namespace Contrast

} // namespace clipnab
