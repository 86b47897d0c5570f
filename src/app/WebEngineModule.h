#pragma once

#include "components/BrowserComponent.h"

#include <memory>

class QWidget;

namespace clipnab {

// The browser engine module (clipnab-webengine.so), loaded into the process when the first
// browser is made and kept until the process ends. It is looked for beside the program, where
// installing puts it, then in the build tree, for the tests and tools that run from there. The
// views' renderer is chosen as it loads: the GPU's where there is one, software otherwise.
namespace WebEngineModule {

// A WebEngine browser, its view (if any) placed in `viewParent`. The program ends with a
// message if the module cannot be loaded.
std::unique_ptr<BrowserComponent> makeBrowser(QWidget *viewParent);

} // namespace WebEngineModule

} // namespace clipnab
