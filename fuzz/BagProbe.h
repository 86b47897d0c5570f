#pragma once

namespace clipnab {
class PropertyBag;
}

namespace clipnab::fuzz {

// Starts the offscreen application the controls need; call once before the first probe.
void startApplication(int *argc, char ***argv);

// Reads every entry of a restored bag as each type a control may ask for. A value that does
// not convert must raise PropertyBagError and nothing else.
void readEveryWay(const PropertyBag &bag);

// Restores a panel or a button from the bag, as the window does when it loads its layout.
void restorePanel(const PropertyBag &bag);
void restoreButton(const PropertyBag &bag);

} // namespace clipnab::fuzz
