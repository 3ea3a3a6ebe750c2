#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <utility>

#include "ShowPictures.h"
#include "gfx/Canvas.h"
#include "platform/ScreenCursor.h"
#include "views/MagnifierGeometry.h"
#include "views/TMagnifier.h"

namespace pagora {
namespace {

using test::CodedPicture;
using test::SamePixels;

struct StripCase {
    const char* Name;
    QPoint NewTopLeft;
    std::array<QRect, 2> Strips;
};

class UncoveredStripsTest : public testing::TestWithParam<StripCase> {};

TEST_P(UncoveredStripsTest, AreWhatTheNewLensLeavesOfTheOld) {
    const StripCase& c = GetParam();
    // The old lens: (100, 100, 150, 140).
    EXPECT_EQ(UncoveredStrips(QRect(100, 100, 50, 40), c.NewTopLeft, QSize(50, 40)), c.Strips);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, UncoveredStripsTest,
    testing::Values(
        StripCase{"still", {100, 100}, {QRect(), QRect()}},
        StripCase{"left_and_up", {90, 95}, {QRect(140, 100, 10, 40), QRect(100, 135, 50, 5)}},
        StripCase{"right_and_up", {103, 97}, {QRect(100, 100, 3, 40), QRect(100, 137, 50, 3)}},
        StripCase{"right_level", {103, 100}, {QRect(100, 100, 3, 40), QRect()}},
        StripCase{"left_and_down", {96, 104}, {QRect(100, 100, 50, 4), QRect(146, 100, 4, 40)}},
        StripCase{"right_and_down", {105, 110}, {QRect(100, 100, 50, 10), QRect(100, 100, 5, 40)}},
        StripCase{"far_away", {400, 300}, {QRect(100, 100, 50, 40), QRect(100, 100, 50, 40)}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(MagnifierGeometry, TheLensIsCentredOnThePointer) {
    EXPECT_EQ(LensTopLeft(100, 80, 144, 144), QPoint(28, 8));
    EXPECT_EQ(LensTopLeft(101, 81, 5, 7), QPoint(99, 78));
    EXPECT_EQ(UncoveredStrips(QRect(), QPoint(5, 5), QSize(10, 10)), (std::array<QRect, 2>{}));
}

struct FrameCase {
    const char* Name;
    QSize Area, Picture, Frame;
};

class SourceFrameTest : public testing::TestWithParam<FrameCase> {};

TEST_P(SourceFrameTest, HasTheAreasShapeAtThePicturesScale) {
    const FrameCase& c = GetParam();
    EXPECT_EQ(SourceFrameSize(c.Area, c.Picture), c.Frame);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, SourceFrameTest,
    testing::Values(FrameCase{"photo_on_4_by_3", {1024, 768}, {3000, 2000}, {3000, 2250}},
                    FrameCase{"photo_on_a_tall_area", {768, 1024}, {3000, 2000}, {3000, 4000}},
                    FrameCase{"panorama", {1024, 768}, {16000, 100}, {16000, 12000}},
                    FrameCase{"same_shape", {800, 600}, {400, 300}, {400, 300}},
                    // 7 / 6 x 105 is 122.5 exactly; as doubles it comes out above.
                    FrameCase{"tie_goes_to_even", {7, 6}, {100, 105}, {122, 105}},
                    FrameCase{"empty_picture", {1024, 768}, {0, 10}, {0, 0}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(MagnifierGeometry, TheLensOfAFittedPhotoShowsItsOwnPixels) {
    // 3000 x 2000 fitted to 1024 x 683 on 1024 x 768: the lens 256 x 192 shows
    // 128 x 96 screen pixels, about 375 x 281 of the photo's.
    const QSize frame = SourceFrameSize({1024, 768}, {3000, 2000});
    const QRect sampled = SampledArea(512, 384, 256 / 2, 192 / 2, frame, {1024, 768});
    EXPECT_EQ(sampled, QRect(1312, 984, 376, 282));
    EXPECT_EQ(PictureOffset(frame, {3000, 2000}), QPoint(0, 125));
}

TEST(MagnifierGeometry, BoundsRoundHalvesToEvenOnTheExactFraction) {
    // 7 x 105 / 6 = 122.5 and 7 x 115 / 6 = 134.17; as doubles the first
    // comes out as 122.50000000000001.
    EXPECT_EQ(SampledArea(110, 110, 10, 10, {7, 7}, {6, 6}), QRect(122, 122, 12, 12));
    // 3 x 1 / 2 = 1.5 and 3 x 3 / 2 = 4.5: both to the even neighbour.
    EXPECT_EQ(SampledArea(2, 2, 2, 2, {3, 3}, {2, 2}), QRect(2, 2, 2, 2));
    // A view of one pixel has no half to either side: nothing is sampled.
    EXPECT_EQ(SampledArea(5, 5, 1, 1, {7, 7}, {6, 6}), QRect());
}

// A patterned canvas with the lens's two constructors.
struct Screen {
    Screen() : image(CodedPicture(400, 300, 1)), original(image.copy()) {}
    QImage image;
    QImage original;
    Canvas canvas{&image};
};

int CursorCount() {
    ShowCursor(true);
    return ShowCursor(false);
}

TEST(Magnifier, HasItsDefaultsAndSizesItsLens) {
    Screen s;
    TMagnifier lens(s.canvas, 400, 300);
    EXPECT_EQ(lens.Zoom(), 2);
    EXPECT_EQ(lens.LensWidth(), 144);
    EXPECT_EQ(lens.ViewHeight(), 72);
    EXPECT_EQ(lens.LensRect(), QRect());
    EXPECT_EQ(lens.SavedArea().size(), QSize(400, 300));
    lens.SetLensWidth(100);
    lens.SetLensHeight(75);
    EXPECT_EQ(lens.ViewWidth(), 50);
    EXPECT_EQ(lens.ViewHeight(), 37);
    EXPECT_EQ(lens.LensBitmap().size(), QSize(100, 75));
}

TEST(Magnifier, ShowsTheAreaAroundThePointerTwiceAsLargeInAGreenFrame) {
    Screen s;
    const int before = CursorCount();
    {
        TMagnifier lens(s.canvas, 400, 300);
        EXPECT_EQ(CursorCount(), before - 1);
        lens.MoveTo(200, 150);
        EXPECT_EQ(lens.LensRect(), QRect(128, 78, 144, 144));
        EXPECT_EQ(s.image.pixel(128, 100), qRgb(0, 128, 0));
        EXPECT_EQ(s.image.pixel(271, 221), qRgb(0, 128, 0));
        // 20 pixels right of the lens's centre shows the canvas 10 pixels right
        // of the pointer (the coded red is the column).
        EXPECT_NEAR(qRed(s.image.pixel(220, 150)), 210, 1);
        EXPECT_NEAR(qGreen(s.image.pixel(200, 170)), 160, 1);
    }
    EXPECT_EQ(CursorCount(), before);
    EXPECT_TRUE(SamePixels(s.image, s.original));
}

TEST(Magnifier, AMoveOfAFewPixelsRightRestoresOnlyThatStrip) {
    Screen s;
    TMagnifier lens(s.canvas, 400, 300);
    lens.MoveTo(200, 150);
    const QImage first = s.image.copy();
    const QRect oldLens = lens.LensRect();
    lens.MoveTo(203, 150);
    const QRect newLens = lens.LensRect();
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) {
            if (newLens.contains(x, y))
                continue;
            const bool strip = oldLens.contains(x, y) && x < newLens.left();
            const QRgb expected = strip ? s.original.pixel(x, y) : first.pixel(x, y);
            ASSERT_EQ(s.image.pixel(x, y), expected) << x << ", " << y;
        }
}

TEST(Magnifier, LeavesNoTraceFromCornersAndEdges) {
    Screen s;
    QImage outside = s.image.copy();
    {
        // The area is part of the canvas: nothing beyond it is drawn either.
        TMagnifier lens(s.canvas, 300, 200);
        for (auto [x, y] : {std::pair{0, 0},
                            {299, 0},
                            {0, 199},
                            {299, 199},
                            {150, 0},
                            {0, 100},
                            {299, 100},
                            {150, 199},
                            {-60, -60},
                            {380, 290},
                            {150, 100},
                            {152, 99}}) {
            lens.MoveTo(x, y);
            for (int row = 0; row < 300; ++row)
                for (int col = 0; col < 400; ++col) {
                    if (col >= 300 || row >= 200) {
                        ASSERT_EQ(s.image.pixel(col, row), outside.pixel(col, row));
                    }
                }
        }
    }
    EXPECT_TRUE(SamePixels(s.image, s.original));
}

TEST(Magnifier, ShowsTheBackgroundWhereThePictureDoesNotReach) {
    Screen s;
    // 100 x 50 in a 200 x 200 area: a 100 x 100 frame, the picture 25 rows down.
    TMagnifier lens(s.canvas, CodedPicture(100, 50, 3), 200, 200, Qt::red);
    EXPECT_EQ(lens.SourceBitmap().Size, QSize(100, 100));
    EXPECT_EQ(lens.SourceBitmap().Offset, QPoint(0, 25));
    lens.MoveTo(100, 20);  // samples rows -8 .. 28 of the frame
    EXPECT_EQ(s.image.pixel(100, 0), qRgb(255, 0, 0));
    EXPECT_EQ(test::TagOf(s.image.pixel(100, 86)), 3);
}

TEST(Magnifier, ALensOfAFewPixelsDrawsItsFrameOnly) {
    Screen s;
    TMagnifier lens(s.canvas, 400, 300);
    lens.SetLensWidth(3);
    lens.SetLensHeight(3);
    lens.MoveTo(50, 50);
    EXPECT_EQ(s.image.pixel(49, 49), qRgb(0, 128, 0));
    EXPECT_EQ(s.image.pixel(51, 51), qRgb(0, 128, 0));
    EXPECT_EQ(s.image.pixel(50, 50), qRgb(0, 0, 0));
    lens.SetLensWidth(0);
    lens.MoveTo(60, 60);
    EXPECT_EQ(s.image.pixel(50, 50), s.original.pixel(50, 50));
}

TEST(Magnifier, APanoramaIsNeverPaddedToTheAreasShape) {
    Screen s;
    QImage panorama(16000, 100, QImage::Format_RGB32);
    panorama.fill(Qt::gray);
    TMagnifier lens(s.canvas, panorama, 400, 300, Qt::black);
    EXPECT_EQ(lens.SourceBitmap().Size, QSize(16000, 12000));
    EXPECT_EQ(lens.SourceBitmap().Picture.size(), QSize(16000, 100));
    lens.SetLensWidth(100);
    lens.SetLensHeight(75);
    lens.MoveTo(200, 150);
    // 50 x 36 screen pixels, forty times as many picture pixels each way.
    EXPECT_EQ(lens.WorkBitmap().size(), QSize(2000, 1440));
}

}  // namespace
}  // namespace pagora
