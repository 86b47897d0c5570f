#pragma once

#include "app/WindowComponents.h"

class QString;

namespace clipnab::DesktopComponents {

// Runs before the QApplication is made: Chromium refuses its sandbox when run as root, the
// browser's pages are shown to assistive technology, and the browser views share one OpenGL
// context.
void prepareWebEngine();

// Tahoma and Verdana are not packaged for Debian: the closest installed sans font stands in.
void installFontSubstitutes();

// The window's real parts: WebEngine browsers (a view for the search, none for the locator)
// and the network transfer, against `siteBase`, saving into `downloadFolder`. Downloads beyond
// the first at once get the quick locator of makeForSave().
WindowComponents make(const QString &siteBase, const QString &downloadFolder);

// The parts of a save without a window: as make(), but the locator follows redirects without a
// page engine and turns to the WebEngine browser only where that finds no video token.
WindowComponents makeForSave(const QString &siteBase, const QString &downloadFolder);

} // namespace clipnab::DesktopComponents
