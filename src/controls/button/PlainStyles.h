#pragma once

#include "controls/button/ButtonView.h"

namespace clipnab {

class Surface;

// Styles 0 to 4: raised edge, thin edge, flat hover, etched frame and highlight box.
bool isPlainStyle(ButtonStyle style);
// Paints the background and the outline of a plain style for one button state. Other styles
// draw nothing.
void paintPlainStyle(ButtonStyle style, Surface &surface, const ButtonView &view,
                     ButtonState state);

// The face the plain styles fill with, at rest and hot.
Rgb faceColor(const ButtonView &view);
Rgb hotFaceColor(const ButtonView &view);

} // namespace clipnab
