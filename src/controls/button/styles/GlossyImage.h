#pragma once

#include "controls/button/ButtonView.h"
#include "controls/button/styles/GlossyPictures.h"

class QRegion;

namespace clipnab {

class Surface;

// Style 10: one of three fixed glossy capsule pictures stretched to the button. No colour
// comes from the properties or the system.
void paintGlossyImage(Surface &surface, const ButtonView &view, ButtonState state);

// Hot while the pointer is over the button, or while it holds the focus and is not pressed.
GlossyPictureKind glossyPictureFor(ButtonState state, bool hasFocus);

// The window shape of style 10 at width x height: exactly the pixels the pictures paint there.
QRegion glossyShape(int width, int height);

} // namespace clipnab
