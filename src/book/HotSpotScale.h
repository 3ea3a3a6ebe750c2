#pragma once

namespace pagora {

// Hot-spot rectangles are stored in units of a screen 1024 pixels wide and
// scaled by screen width / 1024 on both axes where they are used.

// One stored coordinate or size in pixels of a screen screenW wide, rounded
// halves to even, as the hover test scales it.
int HotSpotToScreen(int units, int screenW);

struct HotSpotUnits {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

// The stored rectangle for the pixels [x, x + width) x [y, y + height) of a
// page picture made for a screen screenW wide: scaled back on that screen, and
// taken with its edges inclusive as the hover test takes them, it lies inside
// those pixels and misses as few of them as the rounding allows.
HotSpotUnits HotSpotCovering(int x, int y, int width, int height, int screenW);

}  // namespace pagora
