#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/BlockCopy.h"
#include "gfx/Canvas.h"
#include "gfx/Draw.h"
#include "gfx/EllipseY.h"
#include "gfx/Fit.h"
#include "gfx/PictureError.h"
#include "gfx/Rounding.h"
#include "gfx/Shade.h"

namespace pagora {
namespace {

QImage Filled(int w, int h, QRgb colour) {
    QImage image = NewBitmap24(w, h);
    image.fill(colour);
    return image;
}

// Every pixel distinct, so a copy that lands one pixel off shows.
QImage Numbered(int w, int h) {
    QImage image = NewBitmap24(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x, y, (x * 7 + y * 13) & 255));
    return image;
}

struct FitCase {
    const char* name;
    int srcW, srcH, boxW, boxH;
    bool exact;
    int wantW, wantH;
};

void PrintTo(const FitCase& c, std::ostream* os) {
    *os << c.name;
}

class FitSizeTest : public testing::TestWithParam<FitCase> {};

TEST_P(FitSizeTest, GivesTheSize) {
    const FitCase& c = GetParam();
    EXPECT_EQ(FitSize(c.srcW, c.srcH, c.boxW, c.boxH, c.exact), QSize(c.wantW, c.wantH));
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, FitSizeTest,
    testing::Values(FitCase{"smaller_is_copied", 100, 50, 640, 480, false, 100, 50},
                    FitCase{"wide_fills_width", 1000, 500, 640, 480, false, 640, 320},
                    FitCase{"tall_fills_height", 500, 1000, 640, 480, false, 240, 480},
                    FitCase{"equal_width_is_scaled", 640, 100, 640, 480, false, 640, 100},
                    FitCase{"equal_height_is_scaled", 100, 480, 640, 480, false, 100, 480},
                    FitCase{"exact_takes_the_box", 100, 50, 640, 480, true, 640, 480},
                    // 480 * 3 / 8 = 180 exactly; 5 / 2 = 2.5 rounds to the even 2.
                    FitCase{"half_rounds_to_even", 5, 4, 2, 2, false, 2, 2},
                    FitCase{"half_rounds_to_even_up", 7, 2, 3, 3, false, 3, 1},
                    FitCase{"thin_never_zero", 10000, 1, 1024, 768, false, 1024, 1},
                    FitCase{"tall_thin_never_zero", 1, 10000, 1024, 768, false, 1, 768},
                    FitCase{"empty_source", 0, 50, 640, 480, false, 0, 0},
                    FitCase{"empty_box", 100, 50, 0, 480, false, 0, 0},
                    FitCase{"negative_box", 100, 50, 640, -1, true, 0, 0},
                    FitCase{"page_slot_1080p", 6000, 4000, 845, 814, false, 845, 563}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FitBitmapTest, FastRepeatsPixelsAndSmoothAverages) {
    QImage source = NewBitmap24(2, 1);
    source.setPixel(0, 0, qRgb(0, 0, 0));
    source.setPixel(1, 0, qRgb(200, 200, 200));
    QImage target;
    FitBitmap(source, target, true, 1, 4, true);
    ASSERT_EQ(target.size(), QSize(4, 1));
    EXPECT_EQ(target.format(), kBitmapFormat);
    for (int x = 0; x < 4; ++x)
        EXPECT_TRUE(qRed(target.pixel(x, 0)) == 0 || qRed(target.pixel(x, 0)) == 200);

    QImage checker = NewBitmap24(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? 0xffffffff : 0xff000000);
    FitBitmap(checker, target, false, 8, 8, true);
    ASSERT_EQ(target.size(), QSize(8, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_NEAR(qGreen(target.pixel(x, y)), 128, 8);
}

TEST(FitBitmapTest, ConvertsBothToTheBitmapFormat) {
    QImage source(50, 20, QImage::Format_Grayscale8);
    source.fill(90);
    QImage target;
    FitBitmap(source, target, false, 480, 640, false);
    EXPECT_EQ(source.format(), kBitmapFormat);
    EXPECT_EQ(target.size(), QSize(50, 20));
    EXPECT_EQ(target.pixel(10, 10), qRgb(90, 90, 90));
}

TEST(FitBitmapTest, EmptySourceOrHugeBox) {
    QImage empty, target = Filled(3, 3, 0xffff0000);
    FitBitmap(empty, target, true, 100, 100, false);
    EXPECT_TRUE(target.isNull() || target.size().isEmpty());
    QImage source = Filled(4, 4, 0xff00ff00);
    EXPECT_THROW(FitBitmap(source, target, true, 70000, 70000, true), PictureError);
}

TEST(BitmapTest, NewBitmapIsBlackAndBounded) {
    QImage b = NewBitmap24(3, 2);
    EXPECT_EQ(b.format(), kBitmapFormat);
    EXPECT_EQ(b.pixel(2, 1), 0xff000000u);
    EXPECT_TRUE(NewBitmap24(0, 5).size().isEmpty());
    EXPECT_THROW(NewBitmap24(-1, 5), PictureError);
    EXPECT_THROW(NewBitmap24(1 << 15, 1 << 14), PictureError);  // 2^29 pixels
    EXPECT_TRUE(PictureSizeAllowed(1 << 14, 1 << 14));
    EXPECT_FALSE(PictureSizeAllowed((1 << 14) + 1, 1 << 14));
}

TEST(RoundingTest, HalvesToEvenAndSaturates) {
    EXPECT_EQ(RoundHalfEven(922.5), 922);
    EXPECT_EQ(RoundHalfEven(923.5), 924);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(RoundHalfEven(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

TEST(ShadeTest, ShiftRectSaturatesColourBytesAndKeepsTheFourth) {
    QImage b = Filled(4, 4, qRgb(240, 20, 100));
    ShiftRect(b, 30, QRect(0, 0, 2, 4));
    EXPECT_EQ(b.pixel(0, 0), qRgb(255, 50, 130));
    EXPECT_EQ(b.pixel(2, 0), qRgb(240, 20, 100));  // right edge excluded
    ShiftRect(b, -30, QRect(2, 0, 2, 4));
    EXPECT_EQ(b.pixel(3, 3), qRgb(210, 0, 70));
    EXPECT_EQ(b.constScanLine(3)[3 * 4 + 3], 0xff);
}

TEST(ShadeTest, ShiftRectAgreesWithPerByteArithmeticOnWideRows) {
    for (int delta : {37, -37, 300, -300}) {
        QImage b = Numbered(37, 3), before = b.copy();
        ShiftRect(b, delta, QRect(1, 0, 35, 3));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 37; ++x)
                for (int i = 0; i < 4; ++i) {
                    int old = before.constScanLine(y)[x * 4 + i];
                    bool inside = x >= 1 && x < 36 && i < 3;
                    int want = inside ? std::clamp(old + delta, 0, 255) : old;
                    ASSERT_EQ(b.constScanLine(y)[x * 4 + i], want) << delta << " " << x << " " << i;
                }
    }
}

TEST(ShadeTest, ShiftRectClipsToTheBitmap) {
    QImage b = Filled(4, 3, qRgb(100, 100, 100));
    ShiftRect(b, 10, QRect(-5, -5, 100, 100));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(b.pixel(x, y), qRgb(110, 110, 110));
    ShiftRect(b, 10, QRect(4, 0, 5, 3));   // wholly right of the bitmap
    ShiftRect(b, 10, QRect(2, 2, -3, 1));  // right before left
    EXPECT_EQ(b.pixel(3, 0), qRgb(110, 110, 110));
    EXPECT_EQ(b.pixel(1, 2), qRgb(110, 110, 110));
}

TEST(ShadeTest, ShiftColorClampsEachChannel) {
    EXPECT_EQ(ShiftColor(QColor(250, 10, 128), 10), QColor(255, 20, 138));
    EXPECT_EQ(ShiftColor(QColor(250, 10, 128), -20), QColor(230, 0, 108));
    EXPECT_EQ(ShiftColor(QColor(), 5), QColor(5, 5, 5));
}

TEST(ShadeTest, ShadeFrameStripsAndCornerOverlaps) {
    QImage b = Filled(20, 20, qRgb(100, 100, 100));
    // left 2, top 2, right 12, bottom 12, thickness 3.
    ShadeFrame(b, 2, 2, 12, 12, 3, /*left*/ 1, /*top*/ 2, /*right*/ 4, /*bottom*/ 8);
    auto red = [&](int x, int y) { return qRed(b.pixel(x, y)) - 100; };
    EXPECT_EQ(red(6, 10), 8);       // bottom strip only
    EXPECT_EQ(red(14, 10), 8 + 4);  // bottom reaches right + t - 1, under the right strip
    EXPECT_EQ(red(15, 10), 0);      // ... and no further
    EXPECT_EQ(red(6, 3), 2);        // top strip
    EXPECT_EQ(red(3, 3), 2 + 1);    // top-left corner: both
    EXPECT_EQ(red(3, 11), 8 + 1);   // bottom-left corner
    EXPECT_EQ(red(10, 3), 2 + 4);   // top-right corner
    EXPECT_EQ(red(10, 11), 8 + 4);  // bottom-right corner
    EXPECT_EQ(red(6, 6), 0);        // inside untouched
    EXPECT_EQ(red(6, 12), 0);       // bottom row excluded
    ShadeFrame(b, -3, -3, 25, 25, 5, 1, 1, 1, 1);  // reaching past every edge: clipped
}

TEST(EllipseYTest, Values) {
    EXPECT_EQ(EllipseY(6, 6, 0), 6);
    EXPECT_EQ(EllipseY(6, 6, 6), 0);
    EXPECT_EQ(EllipseY(32, 20, 16), 17);
    EXPECT_EQ(EllipseY(6, 6, -6), 0);
    EXPECT_EQ(EllipseY(6, 6, 12), 10);  // beyond the ellipse: the absolute value
    // Page-sized arguments would overflow 32-bit products.
    EXPECT_EQ(EllipseY(100000, 100000, 0), 100000);
    EXPECT_EQ(EllipseY(46341, 46341, 46340), 304);  // sqrt(92681)
}

class CanvasTest : public testing::Test {
  protected:
    QImage image = Filled(32, 24, 0xffffffff);
    Canvas canvas{&image};
    std::vector<QRect> reports;
    void SetUp() override {
        canvas.SetChangeHook([this](const QRect& r) { reports.push_back(r); });
    }
    int CountBlack() const {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == 0xff000000u;
        return n;
    }
};

TEST_F(CanvasTest, LinesLeaveOutTheirEndPoint) {
    DrawLine(canvas, Qt::black, 1, 2, 3, 10, 3);
    EXPECT_EQ(CountBlack(), 8);
    EXPECT_EQ(image.pixel(9, 3), 0xff000000u);
    EXPECT_EQ(image.pixel(10, 3), 0xffffffffu);
    DrawLine(canvas, Qt::black, 1, 0, 0, 5, 5);  // diagonal
    EXPECT_EQ(image.pixel(4, 4), 0xff000000u);
    EXPECT_EQ(image.pixel(5, 5), 0xffffffffu);
    EXPECT_EQ(canvas.PenColor, QColor(Qt::black));
    EXPECT_EQ(canvas.PenWidth, 1);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_TRUE(reports[0].contains(QRect(2, 3, 8, 1)));
}

TEST_F(CanvasTest, DrawLineRestoresThePen) {
    canvas.PenColor = Qt::red;
    canvas.PenWidth = 3;
    DrawLine(canvas, Qt::blue, 2, 0, 10, 20, 10);
    EXPECT_EQ(canvas.PenColor, QColor(Qt::red));
    EXPECT_EQ(canvas.PenWidth, 3);
    EXPECT_EQ(image.pixel(5, 10), qRgb(0, 0, 255));
}

TEST_F(CanvasTest, DrawFrameColoursEachEdge) {
    DrawFrame(canvas, 2, 2, 12, 10, 1, Qt::red, Qt::green, Qt::blue, Qt::yellow);
    EXPECT_EQ(image.pixel(5, 10), QColor(Qt::yellow).rgb());
    EXPECT_EQ(image.pixel(5, 2), QColor(Qt::green).rgb());
    EXPECT_EQ(image.pixel(2, 6), QColor(Qt::red).rgb());
    EXPECT_EQ(image.pixel(12, 6), QColor(Qt::blue).rgb());
    EXPECT_EQ(image.pixel(12, 10), 0xffffffffu);  // no edge reaches the last corner
}

TEST_F(CanvasTest, RectangleCoversLeftTopUpToRightBottomExcluded) {
    canvas.BrushColor = Qt::black;
    canvas.PenColor = Qt::black;
    canvas.Rectangle(1, 1, 5, 4);
    EXPECT_EQ(CountBlack(), 4 * 3);
    EXPECT_EQ(image.pixel(4, 3), 0xff000000u);
    EXPECT_EQ(image.pixel(5, 3), 0xffffffffu);
}

TEST_F(CanvasTest, BlindsPaintEveryRowInSixteenSteps) {
    QImage big = Filled(40, 100, 0xffffffff);
    Canvas c(&big);
    int waits = 0, flushes = 0;
    c.SetChangeHook([&](const QRect&) { ++flushes; });
    BlindsToBlack(c, 40, 100, [&](int ms) {
        EXPECT_EQ(ms, 20);
        ++waits;
    });
    EXPECT_EQ(waits, 16);
    EXPECT_EQ(flushes, 16);  // one flush per step
    for (int y = 0; y < 100; ++y)
        EXPECT_EQ(big.pixel(39, y), 0xff000000u) << y;
}

TEST_F(CanvasTest, BlindsWithHeightZeroStillDrawRowsZeroToFifteen) {
    BlindsToBlack(canvas, 32, 0, [](int) {});
    for (int y = 0; y < 16; ++y)
        EXPECT_EQ(image.pixel(0, y), 0xff000000u) << y;
    EXPECT_EQ(image.pixel(0, 16), 0xffffffffu);
}

TEST_F(CanvasTest, BatchReportsOnce) {
    {
        CanvasBatch batch(canvas);
        DrawLine(canvas, Qt::black, 1, 0, 0, 4, 0);
        DrawLine(canvas, Qt::black, 1, 0, 20, 4, 20);
        EXPECT_TRUE(reports.empty());
    }
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].contains(QPoint(0, 0)) && reports[0].contains(QPoint(3, 20)));
}

TEST_F(CanvasTest, TransparentDrawSkipsTheKeyColour) {
    QImage sprite = Filled(4, 4, qRgb(255, 0, 255));
    sprite.setPixel(1, 1, qRgb(1, 2, 3));
    canvas.DrawTransparent(30, 22, sprite, qRgb(255, 0, 255));  // half outside
    canvas.DrawTransparent(5, 5, sprite, qRgb(255, 0, 255));
    EXPECT_EQ(image.pixel(6, 6), qRgb(1, 2, 3));
    EXPECT_EQ(image.pixel(5, 5), 0xffffffffu);
    EXPECT_EQ(image.pixel(31, 23), qRgb(1, 2, 3));  // the pixel inside is drawn
    EXPECT_EQ(image.pixel(30, 22), 0xffffffffu);
}

TEST_F(CanvasTest, TextIsDrawnAndReported) {
    canvas.Font = QFont("Liberation Sans", 12);
    canvas.BrushClear = true;
    canvas.TextOut(2, 2, "Hi");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_GT(canvas.TextExtent("Hi").width(), 4);
    bool dark = false;
    for (int y = 0; y < 24 && !dark; ++y)
        for (int x = 0; x < 32 && !dark; ++x)
            dark = qGray(image.pixel(x, y)) < 128;
    EXPECT_TRUE(dark);
}

TEST_F(CanvasTest, ClipRegionLimitsPainting) {
    canvas.SetClipRegion(QRegion(0, 0, 10, 10));
    canvas.BrushColor = Qt::black;
    canvas.FillRect(QRect(0, 0, 32, 24));
    EXPECT_EQ(CountBlack(), 100);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), QRect(0, 0, 10, 10));
    canvas.ClearClip();
    canvas.FillRect(QRect(0, 0, 32, 24));
    EXPECT_EQ(CountBlack(), 32 * 24);
}

TEST_F(CanvasTest, LockIsRecursiveAndExcludesOtherThreads) {
    canvas.Lock();
    EXPECT_TRUE(canvas.TryLock());  // the same thread again
    std::atomic<bool> other{true};
    std::thread([&] {
        other = canvas.TryLock();
        if (other)
            canvas.Unlock();
    }).join();
    EXPECT_FALSE(other);
    canvas.Unlock();
    canvas.Unlock();
    std::thread([&] {
        other = canvas.TryLock();
        if (other)
            canvas.Unlock();
    }).join();
    EXPECT_TRUE(other);
}

struct CopyCase {
    const char* name;
    QRect src;
    QPoint dst;
    QRect written;
};

void PrintTo(const CopyCase& c, std::ostream* os) {
    *os << c.name;
}

class CopyPixelsTest : public testing::TestWithParam<CopyCase> {};

// A 10 x 8 numbered source copied into a 12 x 6 destination.
TEST_P(CopyPixelsTest, ClipsAgainstBothBitmaps) {
    const CopyCase& c = GetParam();
    QImage src = Numbered(10, 8);
    QImage dst = Filled(12, 6, 0xff123456);
    QRect written = CopyPixels(dst, c.dst, src, c.src);
    EXPECT_EQ(written, c.written);
    QPoint offset = c.src.topLeft() - c.dst;  // source of destination pixel (0, 0)
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x) {
            QRgb want =
                written.contains(QPoint(x, y)) ? src.pixel(QPoint(x, y) + offset) : 0xff123456;
            ASSERT_EQ(dst.pixel(x, y), want) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Rects, CopyPixelsTest,
    testing::Values(
        CopyCase{"inside", QRect(1, 1, 3, 2), QPoint(4, 2), QRect(4, 2, 3, 2)},
        CopyCase{"destination_left_of_zero", QRect(0, 0, 5, 3), QPoint(-2, 0), QRect(0, 0, 3, 3)},
        CopyCase{"destination_past_right", QRect(0, 0, 5, 3), QPoint(10, 4), QRect(10, 4, 2, 2)},
        CopyCase{"source_above_top", QRect(2, -3, 4, 5), QPoint(0, 0), QRect(0, 3, 4, 2)},
        CopyCase{"source_past_right", QRect(8, 0, 5, 2), QPoint(0, 0), QRect(0, 0, 2, 2)},
        CopyCase{"column_one_past_the_end", QRect(10, 0, 1, 8), QPoint(3, 0), QRect()},
        CopyCase{"wholly_outside", QRect(0, 0, 3, 3), QPoint(20, 20), QRect()},
        CopyCase{"both_edges", QRect(-1, -1, 12, 10), QPoint(-1, -1), QRect(0, 0, 10, 6)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CopyPixelsOverlapTest, MovingWithinOneBitmapKeepsTheSource) {
    QImage image = Numbered(8, 8);
    QImage before = image.copy();
    CopyPixels(image, QPoint(0, 2), image, QRect(0, 0, 8, 6));
    for (int y = 2; y < 8; ++y)
        EXPECT_EQ(image.pixel(3, y), before.pixel(3, y - 2)) << y;
}

struct UnionCase {
    const char* name;
    std::vector<QRect> rects;
    std::vector<QRect> within;  // empty: no limit
};

void PrintTo(const UnionCase& c, std::ostream* os) {
    *os << c.name;
}

class CopyRectUnionTest : public testing::TestWithParam<UnionCase> {};

// Against the pixel-by-pixel definition, on a 60 x 40 destination from a 50 x 45 source.
TEST_P(CopyRectUnionTest, CopiesExactlyTheCoveredPixels) {
    const UnionCase& c = GetParam();
    const QImage src = Numbered(50, 45);
    QImage dst = Filled(60, 40, 0xff123456);
    CopyRectUnion(dst, src, c.rects, c.within.empty() ? nullptr : &c.within);
    const auto covered = [](const std::vector<QRect>& rects, int x, int y) {
        return std::any_of(rects.begin(), rects.end(),
                           [&](const QRect& r) { return !r.isEmpty() && r.contains(x, y); });
    };
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool copy =
                x < 50 && covered(c.rects, x, y) && (c.within.empty() || covered(c.within, x, y));
            ASSERT_EQ(dst.pixel(x, y), copy ? src.pixel(x, y) : 0xff123456u) << x << "," << y;
        }
}

// Columns in pairs (more than a band merges as spans) or a stack of rows.
std::vector<QRect> Comb(int count, bool columns) {
    std::vector<QRect> rects;
    for (int i = 0; i < count; ++i)
        if (!columns)
            rects.push_back(QRect(i % 5, i, 40, 1));
        else if (i % 3 != 2)
            rects.push_back(QRect(i, i % 7, 1, 30));
    return rects;
}

INSTANTIATE_TEST_SUITE_P(
    Unions, CopyRectUnionTest,
    testing::Values(
        UnionCase{"one_rectangle_past_every_edge", {QRect(-5, -5, 100, 100)}, {}},
        UnionCase{
            "overlapping", {QRect(2, 2, 10, 10), QRect(8, 5, 10, 10), QRect(4, 20, 3, 3)}, {}},
        UnionCase{"empty_and_inverted_ignored", {QRect(3, 3, 0, 5), QRect(10, 10, -4, 3)}, {}},
        UnionCase{"comb_of_columns", Comb(52, true), {}},
        UnionCase{"stack_of_rows", Comb(40, false), {}},
        UnionCase{"within_another_union",
                  {QRect(0, 0, 30, 30), QRect(35, 5, 10, 30)},
                  {QRect(10, 0, 5, 40), QRect(0, 12, 60, 3)}},
        UnionCase{"comb_within_a_comb", Comb(52, true), Comb(40, false)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClipStretchTest, KeepsTheMappingOfWhatRemains) {
    QImage src = NewBitmap24(10, 10);
    QRectF from(-10, 0, 20, 10), to(0, 0, 40, 20);  // 2x across, 2x down
    ASSERT_TRUE(ClipStretch(src, from, to));
    EXPECT_EQ(from, QRectF(0, 0, 10, 10));
    EXPECT_EQ(to, QRectF(20, 0, 20, 20));
    QRectF outside(20, 20, 5, 5), dst(0, 0, 5, 5);
    EXPECT_FALSE(ClipStretch(src, outside, dst));
}

TEST_F(CanvasTest, StretchedCopyFromPartlyOutsideSource) {
    QImage src = Filled(4, 4, 0xff000000);
    canvas.CopyRect(QRect(0, 0, 16, 8), src, QRect(-4, 0, 8, 4));  // left half is outside
    EXPECT_EQ(image.pixel(3, 3), 0xffffffffu);
    EXPECT_EQ(image.pixel(12, 3), 0xff000000u);
}

}  // namespace
}  // namespace pagora
