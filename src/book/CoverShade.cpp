#include "book/CoverShade.h"

#include <QPoint>
#include <QRect>

#include "gfx/Shade.h"

namespace pagora {

namespace {

// Inclusive pixel ranges; a range that runs backwards is empty, and anything
// past the bitmap (column W at inset 0) is cut away by ShiftRect.
QRect Span(int x1, int y1, int x2, int y2) {
    return QRect(QPoint(x1, y1), QPoint(x2, y2));
}

void ShadeRing(QImage& bitmap, int j, int delta) {
    const int W = bitmap.width(), H = bitmap.height();
    ShiftRect(bitmap, -delta, Span(j, H - j - 1, W - j, H - j - 1));  // bottom
    ShiftRect(bitmap, delta, Span(j, j, W - j - 1, j));               // top
    ShiftRect(bitmap, delta, Span(j, j, j, H - j - 1));               // left
    ShiftRect(bitmap, -delta, Span(W - j - 1, j, W - j, H - j - 1));  // right
}

void ShadeColumn(QImage& bitmap, int x, int delta) {
    ShiftRect(bitmap, delta, Span(x, 0, x, bitmap.height() - 1));
}

}  // namespace

void ShadeCover(QImage& cover, int shadeDepth, int spineShade) {
    const int D = shadeDepth, G = spineShade;
    for (int k = D; k >= 1; --k) {
        ShadeRing(cover, D - k, 30 * k);
        ShadeColumn(cover, D + G - k, -20 * k);
        ShadeColumn(cover, D + G - k + 1, -10 * k);
    }
}

void ShadeBackCover(QImage& backCover, int shadeDepth) {
    for (int k = shadeDepth; k >= 1; --k)
        ShadeRing(backCover, shadeDepth - k, 30 * k);
}

}  // namespace pagora
