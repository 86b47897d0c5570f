#pragma once

#include "controls/button/ButtonView.h"

namespace clipnab {

class Surface;

// Styles 0 to 4: raised edge, thin edge, flat hover, etched frame and highlight box. Each paints
// the background and the outline for one button state. Other style values draw nothing.
void paintPlainStyle(int style, Surface &surface, const ButtonView &view, int state);

// The face the plain styles fill with, at rest and hot.
Rgb faceColor(const ButtonView &view);
Rgb hotFaceColor(const ButtonView &view);

} // namespace clipnab
