#pragma once

#include "platform/Color.h"

namespace clipnab {

class Surface;

// The button's drawing primitives. Stateless; colours are plain RGB values (translate OLE
// colours first). Every float-to-integer step rounds half to even.

Rgb mixColors(Rgb a, Rgb b);
Rgb lightenColor(Rgb color, int amount);
Rgb shiftColor(Rgb color, int delta);

// Line from (x1, y1) to (x2, y2), end point not painted.
void drawLineOn(Surface &dc, int x1, int y1, int x2, int y2, Rgb color);
// Rectangle fill, right and bottom exclusive.
void fillRectColor(Surface &dc, int left, int top, int right, int bottom, Rgb color);
// Exactly w x h pixels from (x, y).
void fillBox(Surface &dc, int x, int y, int w, int h, Rgb color);
// Outline with corners (x, y) and (x + w, y + h), all four corners painted.
void drawBox(Surface &dc, int x, int y, int w, int h, Rgb color);
void drawEdgeBox(Surface &dc, float x, float y, float w, float h, unsigned edge, unsigned flags);
void drawSoftFrame(Surface &dc, int x, int y, int w, int h, Rgb outer, Rgb inner, Rgb corner);

// n + 1 rows y0 .. y0 + n from x1 to x2 (x2 not painted), grading from c0 to c1.
// A step count of 0 draws one line in the start colour; a negative one draws nothing.
void gradientRowsOn(Surface &dc, Rgb c0, Rgb c1, int x1, int y0, int x2, int n);
// Columns x0 .. x1, each from y1 to y2 (y2 not painted), grading from c0 to c1.
void gradientColumnsOn(Surface &dc, Rgb c0, Rgb c1, int x0, int y1, int x1, int y2);

} // namespace clipnab
