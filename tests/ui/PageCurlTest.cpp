#include <gtest/gtest.h>

#include <array>
#include <span>

#include "book/PageCurl.h"
#include "gfx/Bitmap.h"

namespace pagora {
namespace {

// The book at 1024 x 768: page width, height and the curl's lift band.
constexpr int PW = 493, PH = 608, L = 77, H = L + PH;

// Every pixel names its own column and row; `tag` tells pictures apart.
QImage Coded(int width, int height, int tag) {
    QImage image = NewBitmap24(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x & 255, y & 255, tag | (x >> 8) | (y >> 8) << 2));
    return image;
}
constexpr int kPage = 0, kBase = 64;

struct Pixel {
    int Tag, X, Y;
};
Pixel Decode(QRgb c) {
    const int b = qBlue(c);
    return {b & 0xF0, qRed(c) | (b & 3) << 8, qGreen(c) | (b >> 2 & 3) << 8};
}

// Frame column, page column shown there, and the lift in rows.
using Expected = std::array<int, 3>;

// The page's column shows first at frame row L - lift (clipped at the top),
// with the page row that the lift puts there.
void ExpectColumns(const QImage& frame, std::span<const Expected> expected) {
    for (auto [fx, sx, lift] : expected) {
        const int top = std::max(0, L - lift);
        if (top > 0) {
            EXPECT_EQ(Decode(frame.pixel(fx, top - 1)).Tag, kBase) << "column " << fx;
        }
        const Pixel at = Decode(frame.pixel(fx, top));
        EXPECT_EQ(at.Tag, kPage) << "column " << fx;
        EXPECT_EQ(at.X, sx) << "column " << fx;
        EXPECT_EQ(at.Y, top - L + lift) << "column " << fx;
        const int bottom = std::min(H, L - lift + PH) - 1;
        EXPECT_EQ(Decode(frame.pixel(fx, bottom)).Y, bottom - L + lift) << "column " << fx;
    }
}

class PageCurlTest : public testing::Test {
  protected:
    QImage page = Coded(PW, PH, kPage);
    QImage base = Coded(PW, H, kBase);
    QImage frame = NewBitmap24(PW, H);
};

TEST_F(PageCurlTest, PhaseWidthsFollowTheClock) {
    EXPECT_EQ(LiftWidth(PW, 300, 0), PW);
    EXPECT_EQ(LiftWidth(PW, 300, 150), 246);
    EXPECT_EQ(LiftWidth(PW, 300, 270), 49);
    EXPECT_EQ(LiftWidth(PW, 0, 0), 0);
    EXPECT_EQ(FallWidth(PW, 300, 0), 0);
    EXPECT_EQ(FallWidth(PW, 300, 100), 260);
    EXPECT_EQ(FallWidth(PW, 300, 282), PW);   // the overshoot
    EXPECT_EQ(FallWidth(PW, 300, 299), 491);  // settling back
}

TEST_F(PageCurlTest, ForwardLiftSqueezesThePageAndRaisesItsFreeEdge) {
    // Half way: 246 columns wide, lifted by up to 48 rows.
    EXPECT_EQ(ComposeCurlFrame(frame, {0, 0}, PW, H, base, 0, page, L, ForwardLiftColumns(PW, 246)),
              QRect(0, 0, PW, H));
    const Expected half[] = {{0, 0, 0}, {1, 2, 0}, {123, 247, 29}, {244, 490, 47}, {245, 492, 48}};
    ExpectColumns(frame, half);
    // Beyond the page the frame shows what it uncovers, column for column.
    const Pixel under = Decode(frame.pixel(300, 40));
    EXPECT_EQ(under.Tag, kBase);
    EXPECT_EQ(under.X, 300);
    EXPECT_EQ(under.Y, 40);

    // Late in the lift the free edge rises above the band: 83 rows > 77.
    frame.fill(0);
    ComposeCurlFrame(frame, {0, 0}, 60, H, base, 0, page, L, ForwardLiftColumns(PW, 49));
    const Expected late[] = {{0, 0, 0}, {1, 10, 2}, {24, 246, 52}, {47, 482, 82}, {48, 492, 83}};
    ExpectColumns(frame, late);
    EXPECT_EQ(frame.pixel(60, 100), 0xff000000u) << "nothing beyond the frame's width";
}

TEST_F(PageCurlTest, ForwardFallUnfoldsAgainstTheSpine) {
    // 260 columns, the saved left side shifted so its spine edge stays put.
    ComposeCurlFrame(frame, {0, 0}, 260, H, base, 260 - PW, page, L, ForwardFallColumns(PW, 260));
    const Pixel spine = Decode(frame.pixel(0, 300));
    EXPECT_EQ(spine.Tag, kBase);
    EXPECT_EQ(spine.X, PW - 260);
    const Expected columns[] = {{1, 1, 45}, {2, 3, 45}, {130, 246, 27}, {259, 491, 0}};
    ExpectColumns(frame, columns);
}

TEST_F(PageCurlTest, BackTurnIsTheMirrorImage) {
    ComposeCurlFrame(frame, {0, 0}, PW, H, base, 0, page, L, BackLiftColumns(PW, PW, 246));
    const Expected lift[] = {{247, 0, 39}, {248, 2, 39}, {370, 247, 31}, {492, 492, 3}};
    ExpectColumns(frame, lift);
    EXPECT_EQ(Decode(frame.pixel(246, 300)).Tag, kBase);

    frame.fill(0);
    ComposeCurlFrame(frame, {0, 0}, 260, H, base, 0, page, L, BackFallColumns(PW, 260));
    const Expected fall[] = {{0, 1, 0}, {1, 3, 4}, {129, 246, 43}, {259, 492, 55}};
    ExpectColumns(frame, fall);
}

TEST_F(PageCurlTest, EdgeFrameStandsTheLastColumnsOverTheWholeHeight) {
    ComposeEdgeFrame(frame, {0, 0}, 49, H, base, 0, page);
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(Decode(frame.pixel(x, 0)).X, PW - 3 + x);
        EXPECT_EQ(Decode(frame.pixel(x, 0)).Y, 0);
        EXPECT_EQ(Decode(frame.pixel(x, H - 1)).Y, PH - 1);
        EXPECT_EQ(Decode(frame.pixel(x, H / 2)).Y, H / 2 * PH / H);
    }
    EXPECT_EQ(Decode(frame.pixel(3, 10)).Tag, kBase);
}

TEST_F(PageCurlTest, FramesReachingPastTheirTargetOrPicturesAreClipped) {
    QImage screen = NewBitmap24(300, 200);
    for (QPoint origin : {QPoint(-100, -50), QPoint(250, 150), QPoint(-PW, 0), QPoint(300, 0)}) {
        const QRect written =
            ComposeCurlFrame(screen, origin, PW, H, base, 0, page, L, ForwardLiftColumns(PW, 100));
        EXPECT_TRUE(screen.rect().contains(written) || written.isEmpty());
        ComposeEdgeFrame(screen, origin, PW, H, base, -PW / 2, page);
    }
    // Small or empty pictures and columns pointing outside them.
    CurlColumns wild{-5, {-3, 0, 10000, 2}, {-1000, 1000, 5, 0}};
    ComposeCurlFrame(frame, {0, 0}, PW, H, NewBitmap24(3, 3), 0, NewBitmap24(2, 2), L, wild);
    ComposeCurlFrame(frame, {0, 0}, PW, H, QImage(), 0, QImage(), L, wild);
    ComposeEdgeFrame(frame, {0, 0}, PW, H, QImage(), 0, NewBitmap24(1, 1));
    EXPECT_TRUE(ComposeCurlFrame(frame, {0, 0}, 0, H, base, 0, page, L, {}).isEmpty());
}

}  // namespace
}  // namespace pagora
