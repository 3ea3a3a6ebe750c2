#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "archive/DateText.h"
#include "archive/Gbk.h"
#include "book/HotSpotScale.h"

namespace pagora {
namespace {

// A rectangle of page-picture pixels on a screen of some width.
struct CoverCase {
    const char* Name;
    int ScreenW;
    int X, Y, Width, Height;
};

const CoverCase kCoverCases[] = {
    {"Wide1920", 1920, 72, 69, 701, 526},  {"Wide1920Portrait", 1920, 211, 69, 423, 564},
    {"Exact1024", 1024, 38, 49, 375, 281}, {"Laptop1366", 1366, 55, 60, 600, 450},
    {"Narrow800", 800, 33, 40, 280, 210},  {"Huge3840", 3840, 143, 140, 1402, 1052},
    {"OddSizes1600", 1600, 1, 1, 3, 3},    {"AtTheCorner1920", 1920, 0, 0, 845, 814},
};

class HotSpotCoveringTest : public ::testing::TestWithParam<CoverCase> {};

// The hover test scales the stored values and takes both edges in; every
// pixel it takes in must be on the photo, and it may miss at most about one
// unit's worth of the photo on each side.
TEST_P(HotSpotCoveringTest, ScaledBackItLiesOnTheRectangleAndCoversIt) {
    const CoverCase& c = GetParam();
    HotSpotUnits u = HotSpotCovering(c.X, c.Y, c.Width, c.Height, c.ScreenW);
    int left = HotSpotToScreen(u.Left, c.ScreenW), top = HotSpotToScreen(u.Top, c.ScreenW);
    int right = left + HotSpotToScreen(u.Width, c.ScreenW);
    int bottom = top + HotSpotToScreen(u.Height, c.ScreenW);
    EXPECT_GE(left, c.X);
    EXPECT_GE(top, c.Y);
    EXPECT_LE(right, c.X + c.Width - 1);
    EXPECT_LE(bottom, c.Y + c.Height - 1);
    int slack = static_cast<int>(std::ceil(c.ScreenW / 1024.0)) + 1;
    EXPECT_LE(left - c.X, slack);
    EXPECT_LE(top - c.Y, slack);
    EXPECT_LE(c.X + c.Width - 1 - right, slack);
    EXPECT_LE(c.Y + c.Height - 1 - bottom, slack);
}

INSTANTIATE_TEST_SUITE_P(Screens, HotSpotCoveringTest, ::testing::ValuesIn(kCoverCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(HotSpotScaleTest, ScalesHalvesToEven) {
    // 1.875 * 2 = 3.75 -> 4; 1.5 * 1 = 1.5 -> 2; 1.5 * 5 = 7.5 -> 8; 1.5 * 3 = 4.5 -> 4.
    EXPECT_EQ(HotSpotToScreen(2, 1920), 4);
    EXPECT_EQ(HotSpotToScreen(1, 1536), 2);
    EXPECT_EQ(HotSpotToScreen(5, 1536), 8);
    EXPECT_EQ(HotSpotToScreen(3, 1536), 4);
}

TEST(HotSpotScaleTest, EmptyOrNegativeRectanglesGiveNothing) {
    HotSpotUnits u = HotSpotCovering(10, 10, 0, 5, 1920);
    EXPECT_EQ(u.Width, 0);
    EXPECT_EQ(u.Height, 0);
    u = HotSpotCovering(-20, -20, 10, 10, 1920);
    EXPECT_EQ(u.Width, 0);
}

struct DateCase {
    int Year, Month, Day, Hour, Minute, Second;
    double Value;
};

TEST(DateTimeValueTest, CountsDaysSinceTheEndOf1899) {
    const DateCase cases[] = {
        {1899, 12, 30, 0, 0, 0, 0.0},      {1900, 1, 1, 0, 0, 0, 2.0},
        {1900, 3, 1, 0, 0, 0, 61.0},       {2000, 2, 29, 12, 0, 0, 36585.5},
        {2024, 6, 11, 18, 0, 0, 45454.75}, {1899, 12, 29, 6, 0, 0, -1.25},
        {1, 1, 1, 0, 0, 0, -693593.0},     {9999, 12, 31, 0, 0, 0, 2958465.0},
    };
    for (const DateCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Year) + "-" + std::to_string(c.Month) + "-" +
                     std::to_string(c.Day));
        EXPECT_DOUBLE_EQ(DateTimeValue(c.Year, c.Month, c.Day, c.Hour, c.Minute, c.Second),
                         c.Value);
    }
}

TEST(DateTimeValueTest, TheDateTextsReadItBack) {
    char buffer[kDateTextBufferSize];
    ASSERT_EQ(DateTimeToEnglishDateTime(DateTimeValue(2004, 10, 28, 20, 0, 0), buffer), 1);
    EXPECT_STREQ(buffer, "Thursday, October 28, 2004 8:00 PM");
    ASSERT_EQ(DateTimeToEnglishDateTime(DateTimeValue(1850, 7, 4, 9, 30, 0), buffer), 1);
    EXPECT_STREQ(buffer, "Thursday, July 4, 1850 9:30 AM");
}

TEST(TruncateGbkTest, NeverSplitsADoubleByteCharacter) {
    std::string mixed = Utf8ToGbk("ab湖光c");  // a b [2] [2] c
    EXPECT_EQ(TruncateGbk(mixed, 100), mixed);
    EXPECT_EQ(TruncateGbk(mixed, 7), mixed);
    EXPECT_EQ(TruncateGbk(mixed, 6), Utf8ToGbk("ab湖光"));
    EXPECT_EQ(TruncateGbk(mixed, 5), Utf8ToGbk("ab湖"));
    EXPECT_EQ(TruncateGbk(mixed, 4), Utf8ToGbk("ab湖"));
    EXPECT_EQ(TruncateGbk(mixed, 3), "ab");
    EXPECT_EQ(TruncateGbk(mixed, 0), "");
}

}  // namespace
}  // namespace pagora
