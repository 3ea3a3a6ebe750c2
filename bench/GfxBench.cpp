// Pixel moves of the book window beside a memcpy of the same bytes: a page
// area drawn onto the back buffer, a bevel shaded, a cover fitted.
#include <cstdio>
#include <cstring>
#include <vector>

#include "BenchTimer.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Fit.h"
#include "gfx/Shade.h"

using pagora::bench::BestMs;

namespace {

QImage Pattern(int w, int h) {
    QImage image = pagora::NewBitmap24(w, h);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = qRgb(x * 3, y * 5, (x ^ y) & 255);
    }
    return image;
}

void Row(const char* what, double ms, double floorMs) {
    std::printf("%-46s %9.3f ms  x%.2f\n", what, ms, ms / floorMs);
}

}  // namespace

int main() {
    // A 4K screen's page: 3840 x 2160 gives pages of 1845 x 1839.
    const int W = 3840, H = 2160, PW = 1845, PH = 1839;
    QImage screen = pagora::NewBitmap24(W, H);
    QImage page = Pattern(PW, PH);
    pagora::Canvas canvas(&screen);
    const size_t pageBytes = static_cast<size_t>(PW) * PH * 4;
    std::vector<uint8_t> from(pageBytes), to(pageBytes);
    std::memset(from.data(), 7, pageBytes);
    std::memset(to.data(), 1, pageBytes);

    double floorMs = BestMs([&] { std::memcpy(to.data(), from.data(), pageBytes); }, 9);
    std::printf("page area %d x %d, %.1f MB; ratios are to the memcpy floor\n", PW, PH,
                pageBytes / 1e6);
    Row("memcpy of the page's bytes (floor)", floorMs, floorMs);
    Row("Canvas::Draw of the page onto the screen",
        BestMs([&] { canvas.Draw(1920, 160, page); }, 9), floorMs);
    Row("Canvas::Draw half outside the screen (clipped)",
        BestMs([&] { canvas.Draw(W - PW / 2, H - PH / 2, page); }, 9), floorMs / 4);
    Row("ShiftRect over the whole page",
        BestMs([&] { pagora::ShiftRect(page, 8, page.rect()); }, 9), floorMs);

    QImage cover = Pattern(1200, 1600), fitted;
    Row("FitBitmap fast, 1200x1600 cover to the page",
        BestMs([&] { pagora::FitBitmap(cover, fitted, true, PH, PW, true); }), floorMs);
    Row("FitBitmap smooth, 1200x1600 cover to the page",
        BestMs([&] { pagora::FitBitmap(cover, fitted, false, PH, PW, true); }), floorMs);
    return 0;
}
