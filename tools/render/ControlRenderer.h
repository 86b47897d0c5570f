#pragma once

#include <QImage>

class QWidget;

namespace clipnab {

struct RenderOptions;

// Builds the control the options describe and returns its client area as an ARGB32 image:
// alpha 255 inside the control's window shape, 0 outside. Throws UsageError for an unknown
// kind, property or value.
QImage renderControl(const RenderOptions &options);

// The widget and its children as shown, with the window shape applied to the alpha channel.
QImage captureWidget(QWidget &widget);

} // namespace clipnab
