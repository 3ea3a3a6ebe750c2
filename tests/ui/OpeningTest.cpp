// The opening animation: its thread on a bare canvas (order of the copies,
// clipping at every edge, termination), and the real book window's opening at
// 1024 x 768, watched each time the waiting UI thread shows what was drawn.
#include <gtest/gtest.h>

#include <QImage>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "BookWindow.h"
#include "book/TBootFlash.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "platform/Messages.h"

namespace pagora {
namespace {

using namespace test;
using Clock = std::chrono::steady_clock;

// A bitmap with a canvas over it, as the thread sees a window's buffer; the
// rectangles it reports are kept with the index being revealed.
struct Target {
    Target(int width, int height, QRgb colour) : Image(NewBitmap24(width, height)) {
        Image.fill(colour);
        Surface = std::make_unique<Canvas>(&Image);
    }
    void Watch(const TBootFlash& flash) {
        Surface->SetChangeHook([this, &flash](const QRect& rect) {
            std::lock_guard lock(Mutex);
            Reports.emplace_back(flash.CurrentIndex(), rect);
        });
    }
    QImage Image;
    std::unique_ptr<Canvas> Surface;
    std::mutex Mutex;
    std::vector<std::pair<int, QRect>> Reports;
};

QImage Gradient(int width, int height, int seed) {
    QImage image = NewBitmap24(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + seed) % 256, (y * 5 + seed * 3) % 256, seed % 256));
    return image;
}

void RunToEnd(TBootFlash& flash) {
    flash.StartAnimation();
    flash.WaitFor();
    EXPECT_FALSE(flash.Running());
}

TEST(BootFlashTest, PicturesComeInTurnRowsByPassesThenFromTheTopAndAThirdNeverShows) {
    Target target(60, 40, qRgb(0, 0, 0));
    const QImage back = Gradient(60, 40, 1), book = Plain(10, 8, qRgb(0, 200, 0)),
                 third = Plain(10, 8, qRgb(0, 0, 200));
    TBootFlash flash(*target.Surface);
    target.Watch(flash);
    flash.SetSeed(11);
    flash.AddPicture(&back, {0, 0});
    flash.AddPicture(&book, {5, 5});
    flash.AddPicture(&third, {40, 20});
    RunToEnd(flash);
    EXPECT_EQ(flash.CurrentIndex(), 2);

    std::vector<int> rows, tops;
    for (const auto& [index, rect] : target.Reports) {
        EXPECT_LT(index, 2) << "the third picture was drawn";
        if (index == 0) {
            EXPECT_EQ(rect, QRect(0, rect.y(), 60, 1));
            rows.push_back(rect.y());
        } else {
            EXPECT_TRUE(QRect(5, 5, 10, 8).contains(rect)) << rect.x() << "," << rect.y();
            tops.push_back(rect.y());
        }
    }
    std::vector<int> expected;
    for (int pass = 0; pass < 16; ++pass)
        for (int r = pass; r < 40; r += 16)
            expected.push_back(r);
    EXPECT_EQ(rows, expected);
    EXPECT_TRUE(std::is_sorted(tops.begin(), tops.end()));
    QImage want = back.copy();
    Canvas(&want).Draw(5, 5, book);
    EXPECT_EQ(target.Image, want);
}

TEST(BootFlashTest, ATerminationMidwayStopsTheCopiesAndClearsRunning) {
    Target target(200, 200, qRgb(0, 0, 0));
    const QImage back = Gradient(200, 200, 3);
    TBootFlash flash(*target.Surface);
    target.Watch(flash);
    flash.AddPicture(&back, {0, 0});
    flash.AddPicture(&back, {0, 0});
    flash.StartAnimation();
    EXPECT_TRUE(flash.Running());
    const auto end = Clock::now() + std::chrono::seconds(30);
    auto reported = [&] {
        std::lock_guard lock(target.Mutex);
        return target.Reports.size();
    };
    while (reported() < 20 && Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    flash.Terminate();
    flash.WaitFor();
    EXPECT_FALSE(flash.Running());
    const size_t count = reported();
    const QImage shown = target.Image.copy();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(reported(), count);
    EXPECT_EQ(target.Image, shown);
    EXPECT_NE(target.Image, back);
}

TEST(BootFlashTest, AThreadTerminatedBeforeItRanFinishesWithoutRunning) {
    Target target(4, 4, qRgb(0, 0, 0));
    TBootFlash flash(*target.Surface);
    flash.Terminate();
    flash.StartAnimation();
    flash.WaitFor();
    EXPECT_TRUE(flash.Finished());
}

struct DissolveCase {
    const char* Name;
    QSize Canvas, Picture;
    QPoint At;
    uint32_t Seed;
};

void PrintTo(const DissolveCase& c, std::ostream* out) {
    *out << c.Name;
}

class DissolveTest : public testing::TestWithParam<DissolveCase> {};

// Squares picked at the picture's last column and rows, and the bands above
// its top, reach past both bitmaps; only what lies inside both is copied.
TEST_P(DissolveTest, CopiesOnlyWhatLiesInsideBothBitmaps) {
    const DissolveCase& c = GetParam();
    const QImage empty, picture = Gradient(c.Picture.width(), c.Picture.height(), 9);
    Target target(c.Canvas.width(), c.Canvas.height(), qRgb(1, 2, 3));
    TBootFlash flash(*target.Surface);
    flash.SetSeed(c.Seed);
    flash.AddPicture(&empty, {0, 0});
    flash.AddPicture(&picture, c.At);
    RunToEnd(flash);
    for (int y = 0; y < c.Canvas.height(); ++y)
        for (int x = 0; x < c.Canvas.width(); ++x) {
            const QPoint p = QPoint(x, y) - c.At;
            const QRgb want = picture.rect().contains(p) ? picture.pixel(p) : qRgb(1, 2, 3);
            EXPECT_EQ(target.Image.pixel(x, y), want) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Opening, DissolveTest,
    testing::Values(DissolveCase{"OnePixel", {3, 3}, {1, 1}, {1, 1}, 1},
                    DissolveCase{"FiveByThreePastTheRightAndBottom", {6, 4}, {5, 3}, {3, 2}, 2},
                    DissolveCase{"FiveByThreeBeforeTheLeftAndTop", {6, 4}, {5, 3}, {-2, -1}, 3}),
    [](const testing::TestParamInfo<DissolveCase>& info) { return std::string(info.param.Name); });

// --- The book's opening ----------------------------------------------------

class OpeningTest : public BookWindowTest {
  protected:
    static void SetUpTestSuite() {
        SetUpBook(4, [](int page) { return Bytes{uint8_t(page), 0, 0, 0}; });
    }
    static void TearDownTestSuite() { TearDownBook(); }
};

bool SameRow(const QImage& a, int ya, int xa, const QImage& b, int yb, int xb, int width) {
    return std::memcmp(a.constScanLine(ya) + xa * 4, b.constScanLine(yb) + xb * 4,
                       size_t(width) * 4) == 0;
}

// What one look at the screen during the opening saw.
struct Look {
    int BackgroundPrefix = -1;  // rows shown in the line reveal's order; -1: not that phase
    int SolidBookRows = -1;     // leading rows of the closed book shown; -1: not that phase
    bool Valid = false;
};

TEST_F(OpeningTest, TheScreenThenTheBackgroundPassByPassThenTheBookFromTheTop) {
    playOpening_ = true;
    const QImage shot = Plain(1024, 768, qRgb(255, 0, 255));
    std::vector<Look> looks;
    QImage last;
    // The line reveal's order of rows.
    std::vector<int> order;
    for (int pass = 0; pass < 16; ++pass)
        for (int r = pass; r < 768; r += 16)
            order.push_back(r);
    beforeShow_ = [&](TVudadezErozNew& b) {
        // Offscreen, the screen taken at the end of start-up is black.
        ASSERT_EQ(b.ScreenShot.size(), QSize(1024, 768));
        EXPECT_EQ(b.ScreenShot.pixel(500, 400), qRgb(0, 0, 0));
        b.ScreenShot = shot;
        b.OpeningShown = [&](const QImage& screen) {
            const QImage& back = b.Background;
            const QImage& closed = b.ClosedBook;
            const QRect area(QPoint(b.RightPageX, b.PageY), closed.size());
            Look look;
            // The background coming in over the screen as it was.
            bool rowsKnown = true;
            int prefix = 0;
            while (prefix < 768 && SameRow(screen, order[prefix], 0, back, order[prefix], 0, 1024))
                ++prefix;
            for (int i = prefix; i < 768 && rowsKnown; ++i)
                rowsKnown = SameRow(screen, order[i], 0, shot, order[i], 0, 1024);
            if (rowsKnown) {
                look.BackgroundPrefix = prefix;
                look.Valid = true;
            }
            // The book coming in over the background, solid from the top, the
            // squares at most 19 rows ahead.
            if (prefix == 768 || !rowsKnown) {
                bool outside = true;
                for (int y = 0; y < 768 && outside; ++y) {
                    if (y < area.top() || y > area.bottom())
                        outside = SameRow(screen, y, 0, back, y, 0, 1024);
                    else
                        outside = SameRow(screen, y, 0, back, y, 0, area.left());
                }
                int solid = 0;
                while (solid < area.height() && SameRow(screen, area.top() + solid, area.left(),
                                                        closed, solid, 0, area.width()))
                    ++solid;
                bool ahead = true;
                for (int r = solid + 20; r < area.height() && ahead; ++r)
                    ahead = SameRow(screen, area.top() + r, area.left(), back, area.top() + r,
                                    area.left(), area.width());
                if (outside && ahead) {
                    look.SolidBookRows = solid;
                    look.Valid = true;
                }
            }
            looks.push_back(look);
            last = screen.copy();
        };
    };
    Open(4, 0);
    ASSERT_TRUE(WaitUntil([&] { return !book->FirstPaint; }));

    ASSERT_FALSE(looks.empty());
    int prefix = 0, solid = 0;
    bool partialLines = false, partialBook = false, bookBegun = false;
    for (size_t i = 0; i < looks.size(); ++i) {
        const Look& look = looks[i];
        ASSERT_TRUE(look.Valid) << "look " << i;
        if (look.SolidBookRows > 0 || (look.SolidBookRows == 0 && look.BackgroundPrefix < 0))
            bookBegun = true;
        if (!bookBegun) {
            EXPECT_GE(look.BackgroundPrefix, prefix) << "look " << i;
            prefix = look.BackgroundPrefix;
            partialLines |= prefix > 0 && prefix < 768;
        } else {
            ASSERT_GE(look.SolidBookRows, solid) << "look " << i;
            solid = look.SolidBookRows;
            partialBook |= solid > 0 && solid < book->PageHeight + book->RightStack;
        }
    }
    EXPECT_TRUE(partialLines);
    EXPECT_TRUE(partialBook);
    EXPECT_EQ(solid, book->PageHeight + book->RightStack);

    // The opening ends on exactly the book that every paint shows.
    const QImage opened = book->GetCanvas().Image().copy();
    EXPECT_EQ(last, opened);
    EXPECT_TRUE(book->ScreenShot.isNull());
    EXPECT_TRUE(book->ClosedBook.isNull());

    // Shown again, the book is painted at once, without a thread.
    const size_t seen = looks.size();
    book->hide();
    ProcessMessages();
    book->ShowFullScreen();
    ProcessMessages();
    EXPECT_EQ(looks.size(), seen);
    EXPECT_EQ(book->GetCanvas().Image(), opened);
}

}  // namespace
}  // namespace pagora
