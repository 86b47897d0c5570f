#pragma once

#include "controls/button/ButtonView.h"

namespace clipnab {

class Surface;

// Style 5: a dark one-pixel frame with softened corners around a light vertical gradient,
// sunken when pressed, pale when disabled, with a two-pixel ring inside the frame when hot or
// focused.

// Constant colours; the focus ring shows whenever the button at rest holds the focus.
void paintRingedGradientFixed(Surface &surface, const ButtonView &view, ButtonState state);
// Colours derived from BackColor and HighlightColor; the focus ring needs ShowFocus too.
void paintRingedGradientShaded(Surface &surface, const ButtonView &view, ButtonState state);

} // namespace clipnab
