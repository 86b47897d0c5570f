#pragma once

#include "controls/button/ButtonView.h"

namespace clipnab {

// The renderer that draws the body of an elaborate style (5 and 7 to 10), or nullptr when the
// style has none yet or is drawn by the pipeline itself. Style 5 has one renderer per colour
// source.
StyleRenderer elaborateRenderer(ButtonStyle style, bool useCustomColors);

} // namespace clipnab
