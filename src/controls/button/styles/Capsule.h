#pragma once

#include "controls/button/ButtonView.h"

namespace clipnab {

class Surface;

// Style 9: a glassy capsule - a strong vertical gradient between rounded end caps whose upper
// and lower halves are shaded apart, a bright top rim with a specular dot and streaks, and a dark
// bottom rim. Every state draws the same; only the face colour changes.
void paintCapsule(Surface &surface, const ButtonView &view, ButtonState state);

} // namespace clipnab
