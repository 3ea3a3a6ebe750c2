#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <tuple>

#include "book/BackgroundTile.h"
#include "book/BookLayout.h"
#include "book/CoverShade.h"
#include "book/PageStacks.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/PictureError.h"

namespace pagora {
namespace {

QImage Solid(int w, int h, QRgb colour) {
    QImage image = NewBitmap24(w, h);
    image.fill(colour);
    return image;
}

// x, y and the grey value there.
void ExpectGreys(const QImage& image, std::span<const std::array<int, 3>> xyv) {
    for (auto [x, y, v] : xyv)
        EXPECT_EQ(image.pixel(x, y), qRgb(v, v, v)) << x << "," << y;
}

TEST(CoverShadeTest, RingsGrooveClampingAndDepthBeyondTheBitmap) {
    QImage cover = Solid(20, 16, qRgb(100, 100, 100));
    ShadeCover(cover, 3, 4);  // rings of 90, 60, 30; grooves in columns 4-5, 5-6, 6-7
    const std::array<int, 3> rings[] = {{0, 0, 255},  {19, 0, 100}, {0, 15, 100}, {19, 15, 0},
                                        {19, 8, 0},   {18, 8, 10},  {1, 1, 220},  {2, 13, 100},
                                        {10, 13, 70}, {4, 0, 130},  {4, 8, 40},   {5, 8, 30},
                                        {6, 8, 60},   {7, 8, 90},   {3, 8, 100}};
    ExpectGreys(cover, rings);
    EXPECT_EQ(cover.copy(8, 3, 9, 10), Solid(9, 10, qRgb(100, 100, 100)));

    QImage back = Solid(3, 3, qRgb(100, 100, 100));
    ShadeBackCover(back, 5);  // inner rings run backwards: nothing
    const std::array<int, 3> backRings[] = {{0, 0, 255}, {1, 0, 250}, {2, 0, 100},
                                            {0, 1, 250}, {1, 1, 120}, {2, 1, 0},
                                            {0, 2, 150}, {1, 2, 0},   {2, 2, 0}};
    ExpectGreys(back, backRings);
}

constexpr QRgb kStale = qRgb(128, 128, 128), kCover = qRgb(255, 0, 0),
               kCoverEdge = qRgb(255, 0, 255), kLeftPaper = qRgb(255, 255, 0),
               kRightPaper = qRgb(0, 160, 0), kPen = qRgb(0, 255, 255), kPage = qRgb(1, 2, 3),
               kBackground = 0;  // stands for the background's own pixel there

using Sample = std::tuple<int, int, QRgb>;  // x, y, colour there

// Solid pictures, so each screen pixel tells where it came from; the cover's
// bottom rows differ from the rest, the background differs at every pixel.
struct Book {
    Book(int w, int h) : layout(ComputeBookLayout(w, h)), screen(Solid(w, h, kStale)) {
        const int PW = layout.PageWidth, PH = layout.PageHeight;
        background = NewBitmap24(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                background.setPixel(x, y, qRgb(x % 251, y % 241, 200));
        cover = Solid(PW, PH, kCover);
        for (int y = PH - layout.EdgeStep; y >= 0 && y < PH; ++y)
            std::fill_n(reinterpret_cast<QRgb*>(cover.scanLine(y)), PW, kCoverEdge);
        canvas.PenColor = kPen;
    }
    StackScene Scene() const { return {layout, background, cover, leftPaper, rightPaper}; }
    void Expect(std::span<const Sample> samples) const {
        for (auto [x, y, c] : samples)
            EXPECT_EQ(screen.pixel(x, y), c == kBackground ? background.pixel(x, y) : c)
                << x << "," << y;
    }
    bool Finds(QRgb colour, QRect area) const {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (screen.valid(x, y) && screen.pixel(x, y) == colour)
                    return true;
        return false;
    }

    BookLayout layout;
    QImage background, cover, screen;
    QImage leftPaper = Solid(layout.PageWidth, layout.PageHeight, kLeftPaper);
    QImage rightPaper = Solid(layout.PageWidth, layout.PageHeight, kRightPaper);
    QImage page = Solid(layout.PageWidth, layout.PageHeight, kPage);
    Canvas canvas{&screen};
};

TEST(PageStacksTest, StacksAt1024x768TakeEachPixelFromItsPicture) {
    Book book(1024, 768);
    ASSERT_EQ(book.layout.RightStack, 16);
    int flushes = 0;
    book.canvas.SetChangeHook([&](const QRect&) { ++flushes; });
    DrawRightPage(book.canvas, book.Scene(), 16, book.page);
    EXPECT_EQ(flushes, 1);
    // Restores (one past the screen's edge), the cover's side and bottom,
    // the first sheet's side, bottom and corner, the page.
    const Sample right[] = {
        {1023, 100, kBackground}, {700, 710, kBackground}, {600, 730, kStale},
        {1018, 300, kCover},      {800, 701, kCoverEdge},  {1005, 400, kRightPaper},
        {700, 688, kRightPaper},  {514, 688, kCover},      {512, 80, kPage}};
    book.Expect(right);
    // The corner line takes the bottom strip's colour, never the pen's.
    EXPECT_TRUE(book.Finds(kCoverEdge, QRect(512, 688, 16, 12)));
    EXPECT_FALSE(book.Finds(kPen, book.screen.rect()));

    DrawLeftPage(book.canvas, book.Scene(), 16, book.page);
    EXPECT_EQ(flushes, 2);
    const Sample left[] = {{0, 100, kBackground},  {6, 400, kBackground},  {300, 720, kBackground},
                           {4, 400, kCover},       {300, 701, kCoverEdge}, {10, 400, kLeftPaper},
                           {300, 688, kLeftPaper}, {509, 688, kCover},     {19, 80, kPage}};
    book.Expect(left);
    EXPECT_TRUE(book.Finds(kCoverEdge, QRect(495, 686, 18, 17)));
    EXPECT_FALSE(book.Finds(kPen, book.screen.rect()));
}

TEST(PageStacksTest, ThinStacksDrawOnlyWhatTheirThicknessAllows) {
    for (int S : {2, 3}) {  // E is 3: below it only restores, at it no sheets yet
        Book book(1024, 768);
        DrawRightStack(book.canvas, book.Scene(), S);
        DrawLeftStack(book.canvas, book.Scene(), S);
        const Sample restored[] = {{600, 710, kBackground}, {0, 300, kBackground}};
        book.Expect(restored);
        EXPECT_EQ(book.Finds(kCover, book.screen.rect()), S == 3);
        EXPECT_FALSE(book.Finds(kPen, book.screen.rect()));
        EXPECT_FALSE(book.Finds(kLeftPaper, book.screen.rect()));
        EXPECT_FALSE(book.Finds(kRightPaper, book.screen.rect()));
    }
}

TEST(PageStacksTest, EveryCopyStaysOnScreensOfAnySize) {
    for (QSize size : {QSize(640, 480), QSize(1024, 768), QSize(1920, 1080), QSize(3840, 2160),
                       QSize(1080, 1920), QSize(100, 80), QSize(8, 6), QSize(1, 1)}) {
        Book book(size.width(), size.height());
        const BookLayout& b = book.layout;
        for (int S : {0, b.EdgeStep, b.RightStack, size.width() * 10 / 640, 3 * b.PageHeight}) {
            DrawLeftPage(book.canvas, book.Scene(), S, book.page);
            DrawRightPage(book.canvas, book.Scene(), S, book.page);
        }
        ASSERT_EQ(book.screen.size(), size);
        if (b.PageWidth > 0) {
            const Sample pages[] = {{b.LeftPageX, b.PageY, kPage}, {b.RightPageX, b.PageY, kPage}};
            book.Expect(pages);
        }
    }
}

TEST(BackgroundTileTest, OneFillEqualsTileByTileDrawing) {
    QImage tile = NewBitmap24(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            tile.setPixel(x, y, qRgb(x * 30, y * 50, 99));
    for (const QImage& t : {tile, tile.convertToFormat(QImage::Format_RGB888),
                            tile.scaled(300, 200), tile.copy(2, 1, 1, 1)}) {
        QImage background = NewBitmap24(100, 61), naive = NewBitmap24(100, 61);
        TileBackground(background, t);
        QPainter painter(&naive);
        for (int j = 0; j <= 61 / t.height(); ++j)
            for (int i = 0; i <= 100 / t.width(); ++i)
                painter.drawImage(i * t.width(), j * t.height(), t);
        EXPECT_EQ(background, naive) << t.width() << "x" << t.height();
    }
    QImage screen = NewBitmap24(3840, 2160);
    TileBackground(screen, Solid(1, 1, qRgb(12, 34, 56)));
    EXPECT_EQ(screen, Solid(3840, 2160, qRgb(12, 34, 56)));
}

TEST(BackgroundTileTest, EmptyTileIsRefused) {
    QImage background = Solid(4, 4, kStale);
    for (const QImage& empty : {QImage(), NewBitmap24(0, 0), QImage(0, 5, kBitmapFormat)}) {
        try {
            TileBackground(background, empty);
            ADD_FAILURE() << "an empty tile was accepted";
        } catch (const PictureError& e) {
            EXPECT_NE(std::string(e.what()).find("empty"), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(background, Solid(4, 4, kStale));
}

}  // namespace
}  // namespace pagora
