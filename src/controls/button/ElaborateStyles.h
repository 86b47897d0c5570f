#pragma once

#include "controls/button/ButtonView.h"

namespace clipnab {

// The renderer that draws the body of an elaborate style (5 and 7 to 10), or nullptr for the
// styles the pipeline draws itself. Style 5 has one renderer per colour source. Every renderer
// receives the state the refresh settled; the glossy picture chooses from it and the focus.
StyleRenderer elaborateRenderer(ButtonStyle style, bool useCustomColors);

} // namespace clipnab
