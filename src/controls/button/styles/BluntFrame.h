#pragma once

#include "platform/Color.h"

namespace clipnab {

class Surface;

// The frame that RingedGradient's shaded look and SoftGradient share: four lines whose corners
// stay open (the right line runs to the bottom edge), a pixel in the frame colour inside each
// corner, and two corner pixels on each corner's open ends.
void paintBluntFrame(Surface &surface, int w, int h, Rgb frame, Rgb corner);

} // namespace clipnab
