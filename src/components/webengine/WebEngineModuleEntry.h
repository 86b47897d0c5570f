#pragma once

class QWidget;

namespace clipnab {

class BrowserComponent;

// The one function the browser engine module exports, loaded by name at run time. It makes a
// WebEngine browser (see WebEngineBrowser) and hands it to the caller, who owns it.
namespace WebEngineModuleEntry {

inline constexpr auto kMakeBrowser = "clipnab_make_webengine_browser";
inline constexpr auto kFileName = "clipnab-webengine.so";

using MakeBrowser = BrowserComponent *(*)(QWidget *viewParent);

} // namespace WebEngineModuleEntry

} // namespace clipnab
