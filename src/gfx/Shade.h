#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace pagora {

// The colour with delta added to red, green and blue, each kept in 0..255.
// An invalid colour (the stand-in for a named system colour) counts as the
// window text colour of the palette, black.
QColor ShiftColor(const QColor& color, int delta);

// Adds delta to the three colour bytes of every pixel in the rectangle
// (right and bottom excluded), clipped to the bitmap; the fourth byte stays.
void ShiftRect(QImage& bitmap, int delta, QRect rect);

// Brightens or darkens four edge strips of thickness t, bottom, top, left and
// right in that order; the corners get both deltas.
void ShadeFrame(QImage& bitmap, int left, int top, int right, int bottom, int thickness,
                int leftDelta, int topDelta, int rightDelta, int bottomDelta);

}  // namespace pagora
