#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>

namespace pagora {

// The lens's geometry, as plain functions of numbers.

// Top-left of a lens centred on (x, y).
QPoint LensTopLeft(int x, int y, int lensWidth, int lensHeight);

// The parts of the old lens rectangle that a lens of the given size at its
// new top-left no longer covers; empty where nothing is uncovered.
std::array<QRect, 2> UncoveredStrips(const QRect& oldLens, QPoint newTopLeft, QSize lens);

// The size of the frame of the area's shape around a picture at the picture's
// own scale: one side is the picture's, the other rounded halves to even.
QSize SourceFrameSize(QSize area, QSize picture);

// Where the picture sits, centred, in that frame.
QPoint PictureOffset(QSize frame, QSize picture);

// The rectangle of the source (the frame) that the view around (x, y) shows: the
// area's view x view rectangle scaled from area to source coordinates, each
// edge rounded halves to even on the exact fraction.
QRect SampledArea(int x, int y, int viewWidth, int viewHeight, QSize source, QSize area);

}  // namespace pagora
