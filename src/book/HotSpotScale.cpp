#include "book/HotSpotScale.h"

#include <algorithm>

#include "gfx/Rounding.h"

namespace pagora {
namespace {

// The stored start and length of one axis for pixels [start, start + length).
void CoverAxis(int start, int length, int screenW, int& units, int& extent) {
    double toUnits = 1024.0 / screenW;
    units = std::max(0, RoundHalfEven(start * toUnits));
    while (HotSpotToScreen(units, screenW) < start)
        ++units;
    while (units > 0 && HotSpotToScreen(units - 1, screenW) >= start)
        --units;
    // The last pixel the hover test takes in is start' + length', inclusive.
    int room = start + length - 1 - HotSpotToScreen(units, screenW);
    extent = std::max(0, RoundHalfEven(room * toUnits));
    while (extent > 0 && HotSpotToScreen(extent, screenW) > room)
        --extent;
    while (HotSpotToScreen(extent + 1, screenW) <= room)
        ++extent;
}

}  // namespace

int HotSpotToScreen(int units, int screenW) {
    double scale = screenW / 1024.0;
    return RoundHalfEven(units * scale);
}

HotSpotUnits HotSpotCovering(int x, int y, int width, int height, int screenW) {
    HotSpotUnits r;
    // Stored rectangles start at the page picture's corner or inside it.
    if (x < 0) {
        width += x;
        x = 0;
    }
    if (y < 0) {
        height += y;
        y = 0;
    }
    if (screenW <= 0 || width <= 0 || height <= 0)
        return r;
    CoverAxis(x, width, screenW, r.Left, r.Width);
    CoverAxis(y, height, screenW, r.Top, r.Height);
    return r;
}

}  // namespace pagora
