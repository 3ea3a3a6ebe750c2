#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TestFiles.h"
#include "archive/Gbk.h"
#include "archive/HelperLibrary.h"
#include "archive/LittleEndian.h"
#include "archive/VersionResource.h"

namespace pagora {
namespace {

using test::Bytes;

// 2004-10-28, a Thursday, counted from 1899-12-30.
constexpr double kThursday = 38288;
constexpr double kHour = 1.0 / 24;

class HelperLibrary : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(LoadHelperLibrary("BaseFunction.dll")); }
    void TearDown() override { FreeHelperLibrary(); }

    static std::string Chinese(double dateTime) { return GbkToUtf8(ChineseDateText(dateTime)); }
};

TEST_F(HelperLibrary, ChineseWordingHasTheShapeOfTheViewersLabel) {
    EXPECT_EQ(Chinese(kThursday + 20 * kHour), "2004年10月28 星期四 晚上 8:00");
    // The text is GBK bytes, as the album's own texts are.
    EXPECT_EQ(ChineseDateText(kThursday + 20 * kHour), Utf8ToGbk("2004年10月28 星期四 晚上 8:00"));
}

TEST_F(HelperLibrary, ChinesePeriodsFollowTheHour) {
    struct Case {
        double hours;
        const char* text;
    };
    const Case cases[] = {
        {0.5, "凌晨 0:30"}, {4.99, "凌晨 4:59"},   {5, "早上 5:00"},   {7.5, "早上 7:30"},
        {8, "上午 8:00"},   {10.75, "上午 10:45"}, {11, "中午 11:00"}, {12.5, "中午 12:30"},
        {13, "下午 1:00"},  {17.99, "下午 5:59"},  {18, "晚上 6:00"},  {23.99, "晚上 11:59"},
    };
    for (const Case& c : cases) {
        std::string text = Chinese(kThursday + c.hours * kHour);
        EXPECT_EQ(text.substr(text.size() - std::string(c.text).size()), c.text)
            << c.hours << " h gave " << text;
    }
}

TEST_F(HelperLibrary, EnglishWordingUsesTwelveHourClock) {
    EXPECT_EQ(EnglishDateText(kThursday + 20 * kHour), "Thursday, October 28, 2004 8:00 PM");
    EXPECT_EQ(EnglishDateText(kThursday), "Thursday, October 28, 2004 12:00 AM");
    EXPECT_EQ(EnglishDateText(kThursday + 12 * kHour), "Thursday, October 28, 2004 12:00 PM");
    EXPECT_EQ(EnglishDateText(0), "Saturday, December 30, 1899 12:00 AM");
    EXPECT_EQ(EnglishDateText(36585), "Tuesday, February 29, 2000 12:00 AM")
        << "leap day of a century divisible by 400";
}

TEST_F(HelperLibrary, NegativeDatesTakeTheFractionAsTimeOfDay) {
    // -1.25 is the day before the epoch at 6:00, not 18:00 two days before.
    EXPECT_EQ(EnglishDateText(-1.25), "Friday, December 29, 1899 6:00 AM");
}

TEST_F(HelperLibrary, TimeRoundsToTheMinuteAcrossMidnight) {
    EXPECT_EQ(EnglishDateText(kThursday + 1 - 1e-9), "Friday, October 29, 2004 12:00 AM");
}

TEST_F(HelperLibrary, DatesOutsideYearsOneTo9999AreNoDates) {
    EXPECT_EQ(EnglishDateText(-693593), "Monday, January 1, 1 12:00 AM");
    EXPECT_EQ(EnglishDateText(2958465.5), "Friday, December 31, 9999 12:00 PM");
    for (double bad :
         {-693594.0, 2958466.0, 1e300, -1e300, std::numeric_limits<double>::quiet_NaN(),
          std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(ChineseDateText(bad), "") << bad;
        EXPECT_EQ(EnglishDateText(bad), "") << bad;
    }
}

TEST_F(HelperLibrary, VersionTextIsMajorDotMinorOfTheFileVersion) {
    test::TempDir dir;
    test::WriteFile(dir.File("maker.exe"), MakeVersionedExecutable(1, 46, 7, 9));
    EXPECT_EQ(FileVersionText(dir.File("maker.exe")), "1.46");
    test::WriteFile(dir.File("maker.exe"), MakeVersionedExecutable(1, 460));
    EXPECT_EQ(FileVersionText(dir.File("maker.exe")), "1.460");
}

TEST_F(HelperLibrary, VersionFallsBackWhenThereIsNoVersionToRead) {
    test::TempDir dir;
    test::WriteFile(dir.File("text.exe"), test::TextBytes("MZ but nothing more"));
    test::WriteFile(dir.File("empty.exe"), {});
    EXPECT_EQ(FileVersionText(dir.File("missing.exe")), "0.00");
    EXPECT_EQ(FileVersionText(dir.File("text.exe")), "0.00");
    EXPECT_EQ(FileVersionText(dir.File("empty.exe")), "0.00");
    EXPECT_EQ(FileVersionText(dir.Path()), "0.00");
}

TEST(HelperLibraryUnbound, ServicesGiveTheirFallbacks) {
    test::TempDir dir;
    test::WriteFile(dir.File("maker.exe"), MakeVersionedExecutable(1, 46));
    FreeHelperLibrary();
    EXPECT_EQ(ChineseDateText(kThursday), "");
    EXPECT_EQ(EnglishDateText(kThursday), "");
    EXPECT_EQ(FileVersionText(dir.File("maker.exe")), "0.00");
    LoadHelperLibrary("BaseFunction.dll");
    EXPECT_EQ(FileVersionText(dir.File("maker.exe")), "1.46");
    FreeHelperLibrary();
    EXPECT_EQ(FileVersionText(dir.File("maker.exe")), "0.00");
}

// The executable is the maker's, but nothing stops a stranger's file sitting in its place.
class DamagedExecutable : public HelperLibrary {
  protected:
    std::string Version(const Bytes& bytes) {
        test::WriteFile(dir_.File("maker.exe"), bytes);
        return FileVersionText(dir_.File("maker.exe"));
    }
    test::TempDir dir_;
    const Bytes good_ = MakeVersionedExecutable(1, 46);
};

TEST_F(DamagedExecutable, EveryTruncationFallsBack) {
    ASSERT_EQ(Version(good_), "1.46");
    size_t last = 0x200 + 0x58 + 6 + 32 + 2 + 52;  // end of the fixed file info
    for (size_t size = 0; size < last; ++size)
        EXPECT_EQ(Version(Bytes(good_.begin(), good_.begin() + size)), "0.00") << size;
}

TEST_F(DamagedExecutable, HostileFieldsFallBackWithoutReadingOutside) {
    auto patched = [&](size_t offset, uint32_t value, int bytes) {
        Bytes b = good_;
        StoreLE(b.data() + offset, value, bytes);
        return Version(b);
    };
    EXPECT_EQ(patched(0x3C, 0xFFFFFFF0, 4), "0.00") << "PE header beyond the file";
    EXPECT_EQ(patched(0x40 + 4 + 2, 0xFFFF, 2), "0.00") << "section count beyond the file";
    EXPECT_EQ(patched(0x40 + 4 + 16, 0, 2), "0.00") << "no room for the data directories";
    EXPECT_EQ(patched(0x40 + 24 + 92, 2, 4), "0.00") << "no resource directory entry";
    EXPECT_EQ(patched(0x40 + 24 + 112, 0xFFFFF000, 4), "0.00") << "resources at no section";
    EXPECT_EQ(patched(0x40 + 24 + 224 + 20, 0xFFFFFF00, 4), "0.00") << "raw data past the end";
    EXPECT_EQ(patched(0x200 + 14, 0xFFFF, 2), "0.00") << "entry count past the section";
    EXPECT_EQ(patched(0x200 + 0x58 + 6, 'X', 2), "0.00") << "not a version resource";
    EXPECT_EQ(patched(0x200 + 0x58 + 40, 0, 4), "0.00") << "no fixed info signature";
    // Directories that point at themselves end after the three levels of the tree.
    EXPECT_EQ(patched(0x200 + 20, 0x80000000, 4), "0.00");
    EXPECT_EQ(patched(0x200 + 0x18 + 20, 0x80000018, 4), "0.00");
}

TEST_F(DamagedExecutable, NoSingleByteChangeCrashes) {
    // Each byte of the headers and the resource tree flipped in turn: whatever the result, it is
    // a version text or the fallback, and the sanitizers see no stray read.
    for (size_t i = 0; i < good_.size(); ++i) {
        Bytes b = good_;
        b[i] ^= 0xFF;
        std::string v = Version(b);
        EXPECT_TRUE(v == "0.00" || v.find('.') != std::string::npos) << i;
    }
}

}  // namespace
}  // namespace pagora
