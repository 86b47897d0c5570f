#pragma once

#include "controls/button/ButtonView.h"

namespace clipnab {

class Surface;

// Style 7: a soft vertical gradient in the face colour with a light left and a shaded right
// column inside a frame 96 steps darker, lit from the top; hot is lighter, pressed darker and lit
// from below. Hot, and focused at rest, add highlight lines in the highlight colour.
void paintSoftGradient(Surface &surface, const ButtonView &view, ButtonState state);

} // namespace clipnab
