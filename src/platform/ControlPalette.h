#pragma once

#include <QPalette>

namespace clipnab {

// The palette the program's own controls and the labels on its panels are drawn with. They keep
// their light look on every desktop: a light desktop palette is used as it is, so a light
// desktop sees them exactly as before; when the desktop palette is dark (its window text is
// lighter than its window) a fixed light palette stands in, so that captions stay dark on the
// light faces and panels instead of taking the desktop's light text colour.
namespace ControlPalette {

// True when the palette's window text is lighter than its window.
bool isDark(const QPalette &palette);

// The fixed light palette: the colours of Qt's own light (Fusion) palette.
const QPalette &light();

// `desktop` when it is light, light() when it is dark.
QPalette forDesktop(const QPalette &desktop);

// forDesktop() of the application palette.
QPalette current();

} // namespace ControlPalette

} // namespace clipnab
