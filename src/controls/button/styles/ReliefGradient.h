#pragma once

#include "controls/button/ButtonView.h"

namespace clipnab {

class Surface;

// Style 8: a raised gradient body with a bright top and left inner edge, a frame with blunted
// corners that stops a pixel short of the right and bottom, and a one-pixel drop shadow that
// turns the bottom-right corner diagonally. Pressed swaps the gradient and the bright edge; the
// frame darkens while the button holds the focus.
void paintReliefGradient(Surface &surface, const ButtonView &view, ButtonState state);

} // namespace clipnab
