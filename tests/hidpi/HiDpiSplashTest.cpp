// The loading splash on a scaled screen keeps its physical size: the window,
// the album's pictures and everything drawn in it grow with the scale.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>

#include "HiDpiScreen.h"
#include "gfx/Bitmap.h"
#include "platform/Messages.h"
#include "platform/ScreenScale.h"
#include "shell/TfrmFlash.h"

namespace pagora {
namespace {

using namespace test;

int Count(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

TEST(HiDpiSplash, GrowsWithTheScale) {
    const ScreenScale scale(TestScreen().Ratio);
    TfrmFlash splash(nullptr, 0);
    splash.MainPicture = NewBitmap24(558, 234);
    splash.MainPicture.fill(qRgb(10, 20, 30));
    splash.FilmPicture = NewBitmap24(600, 112);
    splash.FilmPicture.fill(qRgb(40, 50, 60));
    splash.ShowSplash();
    splash.SetProgress(50);
    EXPECT_EQ(splash.MainPicture.size(), scale.DeviceSize(QSize(558, 234)));

    // The film strip is drawn by its own thread.
    ASSERT_TRUE(WaitUntil([&] {
        CanvasLock lock(splash.PaintBoxBottom->GetCanvas());
        return splash.PaintBoxBottom->BackBuffer().pixel(0, 0) == qRgb(40, 50, 60);
    }));
    const QImage window = splash.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(window.size(), scale.DeviceSize(QSize(560, 348)));
    // The frame round the window, at most as wide as the gap the boxes leave
    // (on a fractional scale they may cover part of it on one side).
    const QRgb frameColour = qRgb(204, 255, 221);
    const int side = scale.Scaled(1);
    const QSize size = window.size();
    int outside = 0, missing = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int edge = std::min({x, y, size.width() - 1 - x, size.height() - 1 - y});
            missing += edge == 0 && window.pixel(x, y) != frameColour;
            outside += edge >= side && window.pixel(x, y) == frameColour;
        }
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(outside, 0);
    // Half of the 100-pixel bar, 4 pixels high, at the scale.
    EXPECT_EQ(Count(window, qRgb(238, 153, 153)), scale.Scaled(50) * scale.Scaled(4));
    // The picture fills the body, the film the strip below it.
    EXPECT_GT(Count(window, qRgb(10, 20, 30)), scale.Scaled(400) * scale.Scaled(200));
    EXPECT_EQ(window.pixel(size.width() / 2, size.height() - side - 2), qRgb(40, 50, 60));
    if (const char* keep = std::getenv("PAGORA_TEST_KEEP"))
        window.save(QString::fromLocal8Bit(keep) + "/splash.png");
}

}  // namespace
}  // namespace pagora
