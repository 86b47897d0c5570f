#pragma once

#include <QRect>

namespace clipnab {

// The window lays out its own widgets in twips, 15 to the pixel, as the saved layout does.
namespace WindowGeometry {

constexpr int kTwipsPerPixel = 15;

// Left, top, width and height in twips, relative to the widget's container.
struct TwipRect
{
    int left, top, width, height;
};

constexpr TwipRect kClient{0, 0, 9195, 7485};
constexpr TwipRect kSearchBox{6480, 570, 1875, 300};           // txtsearch
constexpr TwipRect kAddressBox{90, 510, 8115, 345};            // txtURL
constexpr TwipRect kVerdictLabel{3240, 900, 2340, 180};        // lblUrl
constexpr TwipRect kBrowserFrame{90, 1170, 9015, 3825};        // Shape2
constexpr TwipRect kSearchBrowser{120, 1200, 8955, 3765};      // wbSearch
constexpr TwipRect kSearchProgressLabel{8760, 5010, 345, 210}; // Label4
constexpr TwipRect kProgressFrame{1620, 5430, 5535, 285};      // Shape1
constexpr TwipRect kProgressStrip{1650, 5460, 75, 255};        // imgPB
constexpr TwipRect kStatusLabel{3480, 5460, 1515, 210};        // Label1

// Full width of the progress strip, and the width it is left at after a download.
constexpr int kStripWidthTwips = 5475;
constexpr int kStripRestTwips = 1;

// With no length announced the strip shows activity instead: a block of a fifth of its width
// sweeping across it and back, one step per tick.
constexpr int kSweepBlockTwips = kStripWidthTwips / 5;
constexpr int kSweepStepTwips = 150;
constexpr int kSweepIntervalMs = 40;

// Twips to pixels, halves to the even neighbour.
int pixels(int twips);
QRect pixels(const TwipRect &rect);

// value / max x 5475 in single precision, rounded; -1 when there is no usable maximum.
int stripWidthTwips(float value, float max);

// The sweeping block's left edge, in twips from the strip's left edge, at a tick.
int sweepOffsetTwips(int tick);

} // namespace WindowGeometry

} // namespace clipnab
