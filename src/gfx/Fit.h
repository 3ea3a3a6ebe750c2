#pragma once

#include <QImage>
#include <QSize>

namespace pagora {

// The size a source of srcWidth x srcHeight gets in a box: the box itself when
// exact; otherwise the source's own size when it is strictly smaller on both
// sides, else the largest size of its proportions inside the box (rounded
// halves to even, each side at least 1). An empty source or box gives 0 x 0.
QSize FitSize(int srcWidth, int srcHeight, int boxWidth, int boxHeight, bool exact);

// The whole source stretched onto width x height: fast drops or repeats rows
// and columns, otherwise pixels are averaged.
QImage StretchBitmap(const QImage& source, int width, int height, bool fast);

// target := source fitted into the box (FitSize), both made 24-bit first.
void FitBitmap(QImage& source, QImage& target, bool fast, int boxHeight, int boxWidth, bool exact);

}  // namespace pagora
