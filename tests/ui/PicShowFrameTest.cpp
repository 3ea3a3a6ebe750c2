#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ShowPictures.h"
#include "gfx/Bitmap.h"
#include "views/PicShowFrame.h"
#include "views/PicShowRegions.h"
#include "views/PicShowStyles.h"

namespace pagora {
namespace {

using test::CodedPicture;
using test::TagOf;

constexpr int kOld = 1, kNew = 2;

// The two pictures of a transition and the display a frame is composed on.
struct Frames {
    Frames(int w, int h)
        : oldPic(CodedPicture(w, h, kOld)),
          pic(CodedPicture(w, h, kNew)),
          display(NewBitmap24(w, h)) {}
    QRect Compose(int style, int progress, uint64_t seed = 1) {
        ShowRandom random(seed);
        return ComposeShowFrame(style, progress, 4, oldPic, pic, canvas, random);
    }
    QImage oldPic, pic, display;
    Canvas canvas{&display};
};

struct ExtentsCase {
    const char* Name;
    int W, H, Progress, Step;
    int X, Y, J;
};

class ShowExtentsTest : public testing::TestWithParam<ExtentsCase> {};

TEST_P(ShowExtentsTest, FollowTheLongerSide) {
    const ExtentsCase& c = GetParam();
    const ShowExtents e = ComputeShowExtents(c.W, c.H, c.Progress, c.Step);
    EXPECT_EQ(e.X, c.X);
    EXPECT_EQ(e.Y, c.Y);
    EXPECT_EQ(e.J, c.J);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, ShowExtentsTest,
    testing::Values(ExtentsCase{"wide_at_40", 1000, 500, 40, 4, 400, 200, 44},
                    ExtentsCase{"tall_at_40", 500, 1000, 40, 4, 200, 400, 44},
                    ExtentsCase{"halves_round_away_from_zero", 7, 5, 50, 4, 4, 3, 0},
                    ExtentsCase{"square_at_100", 64, 64, 100, 100, 64, 64, 71},
                    ExtentsCase{"start", 640, 480, 0, 4, 0, 0, 28},
                    ExtentsCase{"single_pixel", 1, 1, 50, 4, 1, 1, 0},
                    ExtentsCase{"progress_past_100_clamps", 10, 10, 250, 4, 10, 10, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ShowFrame, Style5At40PercentShowsTheLeft400ColumnsNew) {
    Frames f(1000, 500);
    EXPECT_EQ(f.Compose(5, 40), QRect(0, 0, 400, 500));
    for (int y : {0, 250, 499})
        for (int x = 0; x < 1000; ++x) {
            const QRgb pixel = f.display.pixel(x, y);
            ASSERT_EQ(TagOf(pixel), x < 400 ? kNew : kOld) << x << ", " << y;
            ASSERT_EQ(qRed(pixel), x & 255);
        }
}

TEST(ShowFrame, EveryStyleShowsTheOldPictureAt0AndTheNewAt100) {
    for (auto [w, h] : {std::pair{37, 23}, {23, 37}}) {
        Frames f(w, h);
        for (int style = 0; style <= kMaxShowStyle; ++style) {
            f.Compose(style, 0);
            EXPECT_TRUE(test::SamePixels(f.display, f.oldPic)) << style;
            f.Compose(style, 100);
            EXPECT_TRUE(test::SamePixels(f.display, f.pic)) << style;
        }
    }
}

// Column (row) `at` of the display shows column (row) `from` of the new picture.
struct FoldCase {
    const char* Name;
    int Style, W, H, Progress;
    std::vector<std::pair<int, int>> Shows;
    std::vector<int> OldAt;
};

class MirroredFoldTest : public testing::TestWithParam<FoldCase> {};

TEST_P(MirroredFoldTest, ReversesTheStripAheadOfTheWipe) {
    const FoldCase& c = GetParam();
    Frames f(c.W, c.H);
    f.Compose(c.Style, c.Progress);
    const bool vertical = c.Style > 17;
    const auto at = [&](int i) { return vertical ? f.display.pixel(3, i) : f.display.pixel(i, 3); };
    for (auto [i, from] : c.Shows) {
        EXPECT_EQ(TagOf(at(i)), kNew) << i;
        EXPECT_EQ(vertical ? qGreen(at(i)) : qRed(at(i)), from) << i;
    }
    for (int i : c.OldAt)
        EXPECT_EQ(TagOf(at(i)), kOld) << i;
}

// 100 wide at p = 50: X = 50, the fold a tenth of the width.
INSTANTIATE_TEST_SUITE_P(
    Styles, MirroredFoldTest,
    testing::Values(
        FoldCase{
            "from_the_left", 14, 100, 40, 50, {{0, 0}, {49, 49}, {50, 69}, {59, 60}}, {60, 99}},
        FoldCase{
            "from_the_right", 15, 100, 40, 50, {{40, 39}, {49, 30}, {50, 50}, {99, 99}}, {0, 39}},
        FoldCase{"near_the_start", 14, 100, 40, 10, {{9, 9}, {10, 19}, {14, 15}}, {15}},
        FoldCase{"near_the_end", 14, 100, 40, 90, {{89, 89}, {90, 99}, {94, 95}}, {95}},
        FoldCase{"from_the_top", 31, 40, 100, 50, {{49, 49}, {50, 69}, {59, 60}}, {60}},
        FoldCase{"from_the_bottom", 32, 40, 100, 50, {{40, 39}, {49, 30}, {50, 50}}, {39}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ShowFrame, CrossFadeMixesEveryChannel) {
    Frames f(8, 4);
    f.oldPic.fill(qRgb(200, 100, 0));
    f.pic.fill(qRgb(100, 0, 250));
    f.Compose(118, 40);
    EXPECT_EQ(f.display.pixel(5, 2), qRgb(160, 60, 100));
}

TEST(ShowFrame, TheSmearNearTheRightEdgeIsClippedToThePicture) {
    // W div 20 = 5 columns from X reach past the right edge at X = 98: only
    // the 2 columns inside are read, onto the same share of the destination.
    Frames f(100, 10);
    const CopyParts parts = ShowStyleParts(16, ComputeShowExtents(100, 10, 98, 4));
    ASSERT_EQ(parts.Count, 2);
    EXPECT_EQ(parts.Part[1].S, QRect(98, 0, 5, 10));
    f.Compose(16, 98);
    for (int x = 0; x < 98; ++x)
        EXPECT_EQ(TagOf(f.display.pixel(x, 5)), kNew) << x;
    EXPECT_EQ(TagOf(f.display.pixel(99, 5)), kOld);
}

TEST(ShowFrame, TheTwinsRunDownWhereTheirRowsRunAcross) {
    const ShowExtents e = ComputeShowExtents(200, 100, 30, 4);  // X 60, Y 30
    const CopyParts squeeze = ShowStyleParts(18, e);
    ASSERT_EQ(squeeze.Count, 1);
    EXPECT_EQ(squeeze.Part[0].D, QRect(0, 70, 200, 30));
    EXPECT_EQ(squeeze.Part[0].S, QRect(0, 0, 200, 100));
    const CopyParts fold = ShowStyleParts(31, e);
    ASSERT_EQ(fold.Count, 2);
    EXPECT_EQ(fold.Part[0].Mirrored, CopyPart::TopBottom);
}

// Writes outside the display show in a guard band around it; reads outside the
// pictures (exact allocations) are caught by AddressSanitizer.
TEST(ShowFrame, NothingOutsideTheBitmapsAtAnySizeOrProgress) {
    constexpr int kGuard = 8;
    constexpr QRgb kMark = 0xff5a5a5a;
    for (auto [w, h] : {std::pair{1, 1}, {1, 9}, {9, 1}, {7, 5}, {1001, 499}}) {
        const int stride = w + 2 * kGuard;
        std::vector<QRgb> buffer(size_t(stride) * (h + 2 * kGuard), kMark);
        QImage display(reinterpret_cast<uchar*>(buffer.data() + kGuard * stride + kGuard), w, h,
                       stride * 4, kBitmapFormat);
        Canvas canvas(&display);
        const QImage oldPic = CodedPicture(w, h, kOld), pic = CodedPicture(w, h, kNew);
        for (int style = 0; style <= kMaxShowStyle; ++style)
            for (int p : {0, 1, 50, 99, 100}) {
                ShowRandom random(style);
                ComposeShowFrame(style, p, 4, oldPic, pic, canvas, random);
            }
        size_t touched = 0;
        for (int y = 0; y < h + 2 * kGuard; ++y)
            for (int x = 0; x < stride; ++x) {
                const bool inside = y >= kGuard && y < kGuard + h && x >= kGuard && x < kGuard + w;
                touched += !inside && buffer[size_t(y) * stride + x] != kMark;
            }
        EXPECT_EQ(touched, 0u) << w << " x " << h;
    }
}

struct ChecksumCase {
    const char* Name;
    int Style, Progress, W, H;
    uint64_t Seed;
    uint64_t Checksum;
};

class ShowChecksumTest : public testing::TestWithParam<ChecksumCase> {};

// Recorded after the contact sheet (fxsheet sheet) was looked at; a change
// here means the frames of that family look different now.
TEST_P(ShowChecksumTest, FrameIsAsRecorded) {
    const ChecksumCase& c = GetParam();
    Frames f(c.W, c.H);
    f.Compose(c.Style, c.Progress, c.Seed);
    EXPECT_EQ(test::PixelChecksum(f.display), c.Checksum)
        << std::hex << "0x" << test::PixelChecksum(f.display) << "ull";
}

INSTANTIATE_TEST_SUITE_P(
    Families, ShowChecksumTest,
    testing::Values(ChecksumCase{"squeeze_1", 1, 30, 64, 40, 1, 0xa1f909bedc384595ull},
                    ChecksumCase{"slide_4", 4, 45, 64, 40, 1, 0xaeb1a97b629ebc85ull},
                    ChecksumCase{"stretch_out_9", 9, 60, 64, 40, 1, 0x3b72b14d09dce285ull},
                    ChecksumCase{"halves_13", 13, 35, 64, 40, 1, 0xd74f2cd0f9bdd965ull},
                    ChecksumCase{"fold_15", 15, 50, 64, 40, 1, 0x42f4463a4d6b7fb5ull},
                    ChecksumCase{"smear_17", 17, 70, 64, 40, 1, 0x28ce1f6c9408c5d5ull},
                    ChecksumCase{"twin_slide_21_tall", 21, 45, 40, 64, 1, 0x3ba5a85d0ed92a0dull},
                    ChecksumCase{"twin_fold_32_tall", 32, 55, 40, 64, 1, 0x4e098c52f30c9145ull},
                    ChecksumCase{"corner_slide_41", 41, 40, 64, 40, 1, 0x8d855e8d52240085ull},
                    ChecksumCase{"centre_stretch_51", 51, 50, 64, 40, 1, 0xa37cb06e25e371a5ull},
                    ChecksumCase{"quarters_57", 57, 65, 64, 40, 1, 0xa011f47c522a0f6dull},
                    ChecksumCase{"curve_58", 58, 40, 64, 40, 1, 0xd550d494aee70aa5ull},
                    ChecksumCase{"bands_62", 62, 70, 64, 40, 1, 0x79797e0f54271685ull},
                    ChecksumCase{"ragged_67", 67, 50, 64, 40, 7, 0x470ac0d3e2542425ull},
                    ChecksumCase{"round_box_84", 84, 50, 64, 40, 1, 0x17d3e063f5d86625ull},
                    ChecksumCase{"round_frame_85", 85, 50, 64, 40, 1, 0xff6c60ea10d06da5ull},
                    ChecksumCase{"grid_91", 91, 60, 64, 40, 1, 0x8da82528cceeb8b5ull},
                    ChecksumCase{"lattice_99", 99, 60, 64, 40, 1, 0xddc3aaf6e8876e65ull},
                    ChecksumCase{"ragged_grid_109", 109, 40, 64, 40, 7, 0x6ecef7860cc8a985ull},
                    ChecksumCase{"triangle_113", 113, 30, 64, 40, 1, 0x4eb1fcbcc9ddff85ull},
                    ChecksumCase{"pinwheel_116", 116, 50, 64, 40, 1, 0x344817b2b4469a85ull},
                    ChecksumCase{"triangles_117", 117, 70, 64, 40, 1, 0x7dc7b62cf71e1325ull},
                    ChecksumCase{"cross_fade_118", 118, 30, 64, 40, 1, 0x77b49a7b6409e3e5ull},
                    ChecksumCase{"turn_119", 119, 50, 64, 40, 1, 0x85b2281e46d82603ull},
                    ChecksumCase{"turn_122_tall", 122, 70, 40, 64, 1, 0x95511b9e5595d6c7ull},
                    ChecksumCase{"bars_123", 123, 50, 64, 40, 7, 0xfa665eef2740d6a5ull},
                    ChecksumCase{"bars_126", 126, 50, 64, 40, 7, 0xb21cd37af2f9bae5ull},
                    ChecksumCase{"blocks_127", 127, 50, 64, 40, 7, 0xd177a3d0977962c5ull}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ShowRandomTest, RandomOfZeroIsZeroAndUsesUpNothing) {
    ShowRandom random(3), fresh(3);
    EXPECT_EQ(random.Random(0), 0);
    EXPECT_EQ(random.Random(-5), 0);
    EXPECT_EQ(random.Random(1000), fresh.Random(1000));
    for (int i = 0; i < 1000; ++i) {
        const int n = random.Random(7);
        ASSERT_GE(n, 0);
        ASSERT_LT(n, 7);
    }
}

// The pixels a list of rectangles covers inside a W x H picture.
std::set<std::pair<int, int>> Covered(const std::vector<QRect>& rects, int W, int H) {
    std::set<std::pair<int, int>> pixels;
    for (const QRect& r : rects)
        for (int y = std::max(r.top(), 0); y <= std::min(r.bottom(), H - 1); ++y)
            for (int x = std::max(r.left(), 0); x <= std::min(r.right(), W - 1); ++x)
                pixels.insert({x, y});
    return pixels;
}

struct BandsCase {
    const char* Name;
    int A, B, HKind, VKind, Margin;
    std::vector<QRect> Expected;
};

class InterlacedBandsTest : public testing::TestWithParam<BandsCase> {};

TEST_P(InterlacedBandsTest, CoverTheirSets) {
    const BandsCase& c = GetParam();
    std::vector<QRect> rects;
    AddInterlacedBands(rects, 20, 20, c.A, c.B, c.HKind, c.VKind, c.Margin);
    EXPECT_EQ(Covered(rects, 20, 20), Covered(c.Expected, 20, 20));
}

// A 20 x 20 picture: first-set rows 0-4 and 10-14, partners 5-9 and 15-19.
INSTANTIATE_TEST_SUITE_P(
    Kinds, InterlacedBandsTest,
    testing::Values(
        BandsCase{"first_phase_from_the_right", 8, 0, 1, 0, 0, {{12, 0, 8, 5}, {12, 10, 8, 5}}},
        BandsCase{"first_phase_from_the_left", 8, 0, 2, 0, 0, {{0, 0, 8, 5}, {0, 10, 8, 5}}},
        BandsCase{
            "margin_completes_the_first_phase", 15, 0, 1, 0, 6, {{0, 0, 20, 5}, {0, 10, 20, 5}}},
        BandsCase{"second_phase_from_the_right",
                  26,
                  0,
                  1,
                  0,
                  0,
                  {{0, 0, 20, 5}, {0, 10, 20, 5}, {14, 5, 6, 5}, {14, 15, 6, 5}}},
        BandsCase{"left_then_right",
                  26,
                  0,
                  4,
                  0,
                  0,
                  {{0, 0, 20, 5}, {0, 10, 20, 5}, {14, 5, 6, 5}, {14, 15, 6, 5}}},
        BandsCase{"right_then_left",
                  26,
                  0,
                  5,
                  0,
                  0,
                  {{0, 0, 20, 5}, {0, 10, 20, 5}, {0, 5, 6, 5}, {0, 15, 6, 5}}},
        BandsCase{"both_sets_at_once",
                  8,
                  0,
                  3,
                  0,
                  0,
                  {{12, 0, 8, 5}, {12, 10, 8, 5}, {0, 5, 8, 5}, {0, 15, 8, 5}}},
        BandsCase{"columns_from_the_top", 0, 8, 0, 2, 0, {{0, 0, 5, 8}, {10, 0, 5, 8}}},
        BandsCase{"rows_and_columns",
                  4,
                  4,
                  1,
                  1,
                  0,
                  {{16, 0, 4, 5}, {16, 10, 4, 5}, {0, 16, 5, 4}, {10, 16, 5, 4}}},
        BandsCase{"kind_0_adds_nothing", 8, 8, 0, 0, 0, {}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ShowRegions, RaggedBandsOnPicturesUnder7PixelsHaveStraightEdges) {
    std::vector<QRect> rects;
    ShowRandom random;
    AddRaggedBands(rects, 5, 6, 3, 0, 2, 0, random);
    EXPECT_EQ(Covered(rects, 5, 6), Covered({QRect(0, 0, 3, 6)}, 5, 6));
}

TEST(ShowRegions, RandomBlocksAppearWithTheirProbability) {
    ShowRandom random;
    std::vector<QRect> none, all;
    AddRandomBlocks(none, 100, 50, 0, random);
    AddRandomBlocks(all, 100, 50, 100, random);
    EXPECT_TRUE(none.empty());
    // Block size 10 + 1: a grid of 10 x 5 points.
    EXPECT_EQ(all.size(), 50u);
    EXPECT_EQ(all.front(), QRect(-11, -11, 22, 22));
}

TEST(ShowRegions, DissolvingBarsAtTheEndAreSolid) {
    ShowRandom random;
    std::vector<QRect> rects;
    AddDissolvingBars(rects, 40, 10, 40, 0, 2, 0, random);
    EXPECT_EQ(Covered(rects, 40, 10), Covered({QRect(0, 0, 40, 10)}, 40, 10));
    for (const QRect& r : rects)
        EXPECT_EQ(r.left(), 0);
}

}  // namespace
}  // namespace pagora
