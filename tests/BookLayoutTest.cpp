#include <gtest/gtest.h>

#include "book/BookLayout.h"

namespace pagora {
namespace {

TEST(BookLayoutTest, FourThreeScreen) {
    BookLayout b = ComputeBookLayout(1024, 768);
    EXPECT_EQ(b.PageWidth, 493);
    EXPECT_EQ(b.PageHeight, 608);
    EXPECT_EQ(b.PageY, 80);
    EXPECT_EQ(b.RightPageX, 512);
    EXPECT_EQ(b.LeftPageX, 19);
    EXPECT_EQ(b.RightStack, 16);
    EXPECT_EQ(b.ShadeDepth, 5);
    EXPECT_EQ(b.EdgeStep, 3);
    EXPECT_EQ(b.SpineShade, 13);
    EXPECT_EQ(b.CurlLift, 77);
    EXPECT_EQ(b.PicWidth, 451);
    EXPECT_EQ(b.PicHeight, 579);
    EXPECT_EQ(b.PicY, 14);
    EXPECT_EQ(b.LeftPicX, 14);
    EXPECT_EQ(b.RightPicX, 28);
    EXPECT_EQ(b.LabelTop, 726);
    EXPECT_EQ(b.UpLabelLeft, 804);
    EXPECT_EQ(b.DownLabelLeft, 854);
    EXPECT_EQ(b.PageLabelLeft, 904);
}

TEST(BookLayoutTest, WideScreenRoundsHalvesToEven) {
    BookLayout b = ComputeBookLayout(1920, 1080);
    EXPECT_EQ(b.PageWidth, 922);  // 922.5
    EXPECT_EQ(b.PageHeight, 855);
    EXPECT_EQ(b.PicWidth, 845);
    EXPECT_EQ(b.PicHeight, 814);
}

TEST(BookLayoutTest, RatioOfExactlyOnePointFourTakesTheNarrowReference) {
    BookLayout b = ComputeBookLayout(1400, 1000);
    EXPECT_EQ(b.PageWidth, 674);   // round(1400 / 640 * 308) = round(673.75)
    EXPECT_EQ(b.PageHeight, 792);  // round(1000 / 480 * 380) = round(791.67)
}

TEST(BookLayoutTest, DegenerateScreensStayDefined) {
    BookLayout b = ComputeBookLayout(0, -5);
    EXPECT_EQ(b.ScreenW, 1);
    EXPECT_EQ(b.ScreenH, 1);
    EXPECT_GE(b.PageWidth, 0);
    BookLayout portrait = ComputeBookLayout(1080, 1920);
    EXPECT_LT(portrait.PageWidth * 2, 1080 + 2);
}

}  // namespace
}  // namespace pagora
