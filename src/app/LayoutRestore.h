#pragma once

class QWidget;

namespace clipnab {

class PlatformContext;
class SavedLayout;

// Builds a saved layout's panels and buttons: what a window shows of it.
namespace LayoutRestore {

// Makes each panel and button of `layout` in the panel its record names (one restored before it)
// or else in `client`, with its saved name, tooltip, properties, place and extent. A record whose
// bag cannot be read keeps the control's defaults; records of other classes are skipped.
void restore(const SavedLayout &layout, PlatformContext &context, QWidget *client);

} // namespace LayoutRestore

} // namespace clipnab
