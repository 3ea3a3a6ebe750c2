#include "book/BookLayout.h"

#include <algorithm>

#include "gfx/Rounding.h"

namespace pagora {

BookLayout ComputeBookLayout(int screenW, int screenH, const ChromeSize& chrome) {
    BookLayout b;
    b.ScreenW = std::max(screenW, 1);
    b.ScreenH = std::max(screenH, 1);
    const int W = b.ScreenW, H = b.ScreenH;
    double s;
    if (static_cast<double>(W) / H <= 1.4) {
        b.PageWidth = RoundHalfEven(static_cast<double>(W) / 640 * 308);
        b.PageHeight = RoundHalfEven(static_cast<double>(H) / 480 * 380);
        s = static_cast<double>(H) / 480;
    } else {
        b.PageWidth = RoundHalfEven(static_cast<double>(W) / 1280 * 615);
        b.PageHeight = RoundHalfEven(static_cast<double>(H) / 800 * 633);
        s = static_cast<double>(H) / 800;
    }
    b.PageY = (H - b.PageHeight) / 2;
    b.RightPageX = W / 2;
    b.LeftPageX = b.RightPageX - b.PageWidth;

    b.LeftStack = 0;
    b.RightStack = RoundHalfEven(10 * s);
    b.ShadeDepth = RoundHalfEven(3 * s);
    b.EdgeStep = RoundHalfEven(2 * s);
    b.SpineShade = RoundHalfEven(8 * s);
    b.CurlLift = RoundHalfEven(48 * s);

    b.PicWidth = b.PageWidth * 11 / 12;
    b.PicHeight = b.PageHeight * 20 / 21;
    b.PicY = (b.PageHeight - b.PicHeight) / 2;
    b.LeftPicX = (b.PageWidth - b.PicWidth) / 3;
    b.RightPicX = (b.PageWidth - b.PicWidth) * 2 / 3;

    // The labels' letters and the gaps between them keep their size.
    const auto px = [&chrome](int pixels) { return chrome ? chrome(pixels) : pixels; };
    b.LabelTop = b.PageY + b.PageHeight + b.ShadeDepth + (b.PageY - px(14)) / 2;
    b.UpLabelLeft = W - px(220);
    b.DownLabelLeft = W - px(170);
    b.PageLabelLeft = W - px(120);
    return b;
}

}  // namespace pagora
