#pragma once

#include <QPoint>
#include <QRect>
#include <vector>

#include "views/PicShowStyles.h"
#include "views/ShowRandom.h"

namespace pagora {

// The region builders the region styles share. Each adds to a mask of a
// W x H picture; rectangles may reach past the picture (copies are clipped).
// A kind of 0 adds nothing along that axis.

// Corner sizes are the corner ellipse's width and height.
void AddRoundedRect(ShowMask& mask, int x1, int y1, int x2, int y2, int cornerW, int cornerH);

// Bands 5 pixels wide every 10, and their partners between them, growing to
// extent a across the width (b down the height). Kinds: 1 from the right
// (bottom), 2 from the left (top), 4 left then right, 5 right then left, 3
// both sets at once from opposite sides. The margin snaps a first phase that
// is nearly done to the whole side.
void AddInterlacedBands(std::vector<QRect>& out, int W, int H, int a, int b, int hKind, int vKind,
                        int margin);

// Rows (columns) 5 pixels apart with edges jittered anew each frame. Kinds:
// 1 from the right (bottom), 2 from the left (top), 3 out from the centre, 4
// in from both edges.
void AddRaggedBands(std::vector<QRect>& out, int W, int H, int a, int b, int hKind, int vKind,
                    ShowRandom& random);

// Overlapping bars whose solid edge is led by scattered blocks. Kinds: 1 from
// the right (bottom), 2 from the left (top).
void AddDissolvingBars(std::vector<QRect>& out, int W, int H, int a, int b, int hKind, int vKind,
                       ShowRandom& random);

// Rows of the pixels whose centres lie inside the triangle, within W x H.
void AddTriangle(ShowMask& mask, int W, int H, QPoint a, QPoint b, QPoint c);

// Squares around grid points, each present with a probability of p percent.
void AddRandomBlocks(std::vector<QRect>& out, int W, int H, int p, ShowRandom& random);

}  // namespace pagora
