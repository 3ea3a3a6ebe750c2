#pragma once

#include <functional>

namespace pagora {

// Where the book lies on a screen of a given size: everything that follows
// from the screen's width and height alone.
struct BookLayout {
    int ScreenW = 0, ScreenH = 0;
    int PageWidth = 0, PageHeight = 0;
    int PageY = 0, LeftPageX = 0, RightPageX = 0;
    int LeftStack = 0, RightStack = 0;
    int ShadeDepth = 0, EdgeStep = 0, SpineShade = 0, CurlLift = 0;
    int PicWidth = 0, PicHeight = 0, PicY = 0, LeftPicX = 0, RightPicX = 0;
    int LabelTop = 0, UpLabelLeft = 0, DownLabelLeft = 0, PageLabelLeft = 0;

    bool operator==(const BookLayout&) const = default;
};

// A fixed size of chrome on the screen laid out: the same number on an
// unscaled screen.
using ChromeSize = std::function<int(int pixels)>;

// Screens up to 1.4 times as wide as high take the 640 x 480 reference page,
// wider ones the 1280 x 800 one. Sizes below 1 count as 1. Everything is in
// the screen's pixels; the labels' offsets are chrome.
BookLayout ComputeBookLayout(int screenW, int screenH, const ChromeSize& chrome = {});

}  // namespace pagora
