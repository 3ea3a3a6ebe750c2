// The views' parts that need no window: the browser's grid and pages, its
// preview cache and budget, and the lines of a picture's information.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/HelperLibrary.h"
#include "views/BrowserGrid.h"
#include "views/PictureInfoText.h"
#include "views/PreviewCache.h"

namespace pagora {
namespace {

struct GridCase {
    const char* Name;
    int Width, Height;
    double Scale;
    QSize CellSize;
    QPoint Cell6, Cell19;
    QSize Preview;
};

class BrowserGridTest : public testing::TestWithParam<GridCase> {};

TEST_P(BrowserGridTest, FiveByFourCellsWithTheirGaps) {
    const GridCase& c = GetParam();
    const BrowserGrid grid(c.Width, c.Height,
                           [&c](int pixels) { return int(pixels * c.Scale + 0.5); });
    EXPECT_EQ(QSize(grid.CellWidth(), grid.CellHeight()), c.CellSize);
    EXPECT_EQ(grid.Cell(6).topLeft(), c.Cell6);
    EXPECT_EQ(grid.Cell(19).topLeft(), c.Cell19);
    EXPECT_EQ(grid.Cell(19).size(), c.CellSize);
    EXPECT_EQ(grid.PreviewBox(), c.Preview);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, BrowserGridTest,
    testing::Values(
        GridCase{"Screen1024x768", 1024, 768, 1, {195, 164}, {211, 204}, {820, 548}, {191, 160}},
        GridCase{"Screen1280x1024", 1280, 1024, 1, {246, 228}, {262, 268}, {1024, 740}, {242, 224}},
        GridCase{"DoubleScaleTwiceEverything",
                 2048,
                 1536,
                 2,
                 {390, 328},
                 {422, 408},
                 {1640, 1096},
                 {382, 320}},
        GridCase{"TinyScreenOnePixelCells", 40, 60, 1, {1, 1}, {17, 41}, {44, 59}, {1, 1}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(BrowserPages, CountsAndRanges) {
    EXPECT_EQ(ThumbPageCount(0), 0);
    EXPECT_EQ(ThumbPageCount(1), 1);
    EXPECT_EQ(ThumbPageCount(20), 1);
    EXPECT_EQ(ThumbPageCount(21), 2);
    EXPECT_EQ(ThumbPageCount(5000), 250);
    const auto range = [](int page, int count) {
        const PageRange r = PagePictures(page, count);
        return std::to_string(r.First) + ".." + std::to_string(r.Last);
    };
    EXPECT_EQ(range(1, 20), "0..19");
    EXPECT_EQ(range(2, 21), "20..20");
    EXPECT_EQ(range(250, 5000), "4980..4999");
    EXPECT_EQ(range(1, 0), "0..-1");
    EXPECT_EQ(range(2, 20), "0..-1");
    EXPECT_EQ(range(0, 20), "0..-1");
}

QImage Preview(int bytes) {
    // 32-bit pixels, one row.
    return QImage(bytes / 4, 1, QImage::Format_RGB32);
}

TEST(PreviewCache, RecordsAreStoredOnceAndMarksOfFailuresStay) {
    PreviewCache cache(45, 20, 1 << 20);
    EXPECT_FALSE(cache.Has(3));
    EXPECT_EQ(cache.Get(3), nullptr);
    cache.Store(3, Preview(400));
    const QImage* first = cache.Get(3);
    ASSERT_NE(first, nullptr);
    cache.Store(3, Preview(800));
    EXPECT_EQ(cache.Get(3), first);
    EXPECT_EQ(cache.Bytes(), 400);
    cache.Store(4, QImage());
    EXPECT_TRUE(cache.Has(4));
    EXPECT_EQ(cache.Get(4), nullptr);
    // Out of range: nothing, and no harm.
    cache.Store(45, Preview(400));
    cache.Store(-1, Preview(400));
    EXPECT_FALSE(cache.Has(45));
    EXPECT_EQ(cache.Get(-1), nullptr);
}

TEST(PreviewCache, PastItsBudgetTheFarthestPagesGoFirst) {
    // Five pages of 20; two previews of 400 bytes on each.
    PreviewCache cache(100, 20, 2000);
    for (int page = 1; page <= 5; ++page)
        for (int i = 0; i < 2; ++i)
            cache.Store((page - 1) * 20 + i, Preview(400));
    cache.Store(41, QImage());  // a failed one on page 3
    ASSERT_EQ(cache.Bytes(), 4000);
    cache.Trim(3);
    // Pages 5 and 1 are farthest (5 first), then 4: 1600 bytes are within.
    std::string kept;
    for (int page = 1; page <= 5; ++page)
        kept += cache.Has((page - 1) * 20) ? '+' : '-';
    EXPECT_EQ(kept, "-++--");
    EXPECT_EQ(cache.Bytes(), 1600);
    EXPECT_TRUE(cache.Has(41));
    // Within the budget nothing more goes.
    cache.Trim(1);
    EXPECT_EQ(cache.Bytes(), 1600);
    // Past it on a page's own previews alone, the others all go.
    PreviewCache tight(100, 20, 500);
    for (int k : {0, 1, 20})
        tight.Store(k, Preview(400));
    tight.Trim(1);
    EXPECT_TRUE(tight.Has(0));
    EXPECT_TRUE(tight.Has(1));
    EXPECT_FALSE(tight.Has(20));
}

HotSpotRecord Record(const std::string& picture, const std::string& title,
                     const std::string& description) {
    HotSpotRecord record;
    record.PictureName = picture;
    record.Title = title;
    record.Description = description;
    record.ShootTime = 44392.6;  // 2021-07-15 14:24
    return record;
}

struct InfoCase {
    const char* Name;
    std::vector<HotSpotRecord> Records;
    std::string Picture;
    std::vector<int> Tops;
    std::vector<std::string> Texts;  // "*" stands for the date line
};

class PictureInfoTest : public testing::TestWithParam<InfoCase> {
  protected:
    static void SetUpTestSuite() { LoadHelperLibrary("BaseFunction.dll"); }
    static void TearDownTestSuite() { FreeHelperLibrary(); }
};

TEST_P(PictureInfoTest, LinesOfTheRecordNamingThePicture) {
    const InfoCase& c = GetParam();
    const std::vector<InfoLine> lines = PictureInfoLines(c.Records, c.Picture, true);
    std::vector<int> tops;
    std::vector<std::string> texts;
    for (const InfoLine& line : lines) {
        tops.push_back(line.Top);
        texts.push_back(line.Text.toStdString());
    }
    std::vector<std::string> expected = c.Texts;
    for (std::string& text : expected)
        if (text == "*")
            text = EnglishDateText(44392.6) + "   ";
    EXPECT_EQ(tops, c.Tops);
    EXPECT_EQ(texts, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Records, PictureInfoTest,
    testing::Values(
        InfoCase{"TitleDateDescription",
                 {Record("PIC3.jpg", "Harbour", "Boats at noon")},
                 "PIC3.jpg",
                 {32, 56, 80},
                 {"Harbour", "*", "Boats at noon"}},
        InfoCase{"FileNameTitleLeftOut",
                 {Record("PIC3.jpg", "beach.JPG", "Sand")},
                 "PIC3.jpg",
                 {32, 56},
                 {"*", "Sand"}},
        InfoCase{
            "BitmapNameTitleLeftOut", {Record("PIC3.jpg", "x.bmp", "")}, "PIC3.jpg", {32}, {"*"}},
        InfoCase{"EmptyTitleKeepsItsLine",
                 {Record("PIC3.jpg", "", "D")},
                 "PIC3.jpg",
                 {32, 56, 80},
                 {"", "*", "D"}},
        InfoCase{"NamesMatchInEitherCase",
                 {Record("PIC2.jpg", "Other", "O"), Record("pic3.JPG", "Mine", "")},
                 "PIC3.jpg",
                 {32, 56},
                 {"Mine", "*"}},
        InfoCase{"NoRecordNoLines", {Record("PIC2.jpg", "Other", "O")}, "PIC3.jpg", {}, {}},
        InfoCase{"ControlCharactersShowAsSpaces",
                 {Record("PIC3.jpg", "a\tb", "c\nd")},
                 "PIC3.jpg",
                 {32, 56, 80},
                 {"a b", "*", "c d"}}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace pagora
