#pragma once

class QWidget;

namespace clipnab {

class BrowserComponent;

// The functions the browser engine module exports, loaded by name at run time.
namespace WebEngineModuleEntry {

inline constexpr auto kFileName = "clipnab-webengine.so";

// Makes a WebEngine browser (see WebEngineBrowser) and hands it to the caller, who owns it.
inline constexpr auto kMakeBrowser = "clipnab_make_webengine_browser";
using MakeBrowser = BrowserComponent *(*)(QWidget *viewParent);

// Has the views paint with Qt Quick's software renderer into the window's raster painting;
// called before the first browser is made, where there is no GPU to composite with.
inline constexpr auto kUseSoftwareRenderer = "clipnab_webengine_use_software_renderer";
using UseSoftwareRenderer = void (*)();

} // namespace WebEngineModuleEntry

} // namespace clipnab
