#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <algorithm>
#include <array>

#include "book/TCanvasHint.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"

namespace pagora {
namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0), kYellow = qRgb(255, 255, 128);
constexpr int kW = 240, kH = 120, kTail = 40;  // the default balloon

// A window's back buffer whose every pixel tells where it is; none is white
// or yellow (red stays below 251).
struct Window {
    explicit Window(int w = 1024, int h = 768) : image(NewBitmap24(w, h)), canvas(&image) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y, qRgb(x % 251, y % 241, (x * 7 + y * 3) % 200));
        original = image.copy();
        canvas.SetChangeHook([this](const QRect& r) { reported |= r; });
    }
    bool Untouched() const { return image == original; }
    bool Changed(int x, int y) const { return image.pixel(x, y) != original.pixel(x, y); }
    // Every pixel changed since `before` must have been reported, or the
    // window shows stale ones.
    void ExpectReported(const QImage& before) const {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != before.pixel(x, y)) {
                    ASSERT_TRUE(reported.contains(x, y)) << x << "," << y;
                }
    }

    QImage image;
    Canvas canvas;
    QImage original;
    QRect reported;
};

QImage Balloon(const HintText& text, int orientation = 0, bool english = true) {
    return PaintBalloon({kW, kH}, 30, 45, kTail, 10, orientation, text, english);
}

// The black pixels inside the balloon's outline.
int Ink(const QImage& image, QRect area) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += image.pixel(x, y) == kBlack;
    return ink;
}

// The band of text row i in a balloon with its tail on top, short of the
// outline on either side.
QRect Band(int row, int top = kTail) {
    return {2, top + 8 + 16 * row, kW - 4, 16};
}

QRect InkBox(const QImage& image, QRect area) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == kBlack)
                box |= QRect(x, y, 1, 1);
    return box;
}

// Separate marks from left to right: runs of columns with ink.
int Marks(const QImage& image, QRect area) {
    int marks = 0;
    bool inMark = false;
    for (int x = area.left(); x <= area.right(); ++x) {
        const bool ink = Ink(image, QRect(x, area.top(), 1, area.height())) > 0;
        marks += ink && !inMark;
        inMark = ink;
    }
    return marks;
}

// A line that ends in "..." has only dot-high ink in its last column.
bool EndsInDots(const QImage& image, QRect band) {
    const QRect box = InkBox(image, band);
    return !box.isEmpty() &&
           InkBox(image, QRect(box.right(), band.top(), 1, band.height())).height() <= 2;
}

TEST(CanvasHintGeometry, TailAndCornerFollowTheSize) {
    Window window;
    TCanvasHint hint(window.canvas);
    EXPECT_EQ(hint.Size(), QSize(240, 120));
    EXPECT_EQ(hint.ShownAtX(), -1);
    EXPECT_FALSE(hint.Shown());
    EXPECT_FALSE(hint.TimerActive());
    EXPECT_EQ(hint.TickCount(), 0);
    struct Row {
        int w, h, x1, x2, tail, corner;
    };
    for (Row r : {Row{240, 120, 30, 45, 40, 10}, Row{300, 120, 37, 54, 40, 10},
                  Row{64, 40, 8, 12, 13, 3}, Row{48, 40, 6, 9, 13, 3}}) {
        hint.SetHintSize(QRect(0, 0, r.w, r.h));
        EXPECT_EQ(hint.Size(), QSize(r.w, r.h));
        EXPECT_EQ(hint.TailX1(), r.x1) << r.w;
        EXPECT_EQ(hint.TailX2(), r.x2) << r.w;
        EXPECT_EQ(hint.TailHeight(), r.tail) << r.h;
        EXPECT_EQ(hint.Corner(), r.corner) << r.h;
    }
    EXPECT_THROW(hint.SetHintSize(QRect(0, 0, 0, 40)), std::invalid_argument);
    EXPECT_THROW(hint.SetHintSize(QRect(0, 0, 1 << 20, 1 << 20)), std::invalid_argument);
    EXPECT_EQ(hint.Size(), QSize(48, 40));
}

TEST(CanvasHintTimer, DrawnAfterElevenTicksAndGoneAfterEightyOne) {
    Window window;
    TCanvasHint hint(window.canvas);
    hint.ShowHintDelayed(100, 100, {{"Title: ", "Lake"}});
    EXPECT_TRUE(hint.TimerActive());
    for (int tick = 1; tick <= 10; ++tick) {
        hint.Tick();
        EXPECT_EQ(hint.ShownAtX(), -1) << tick;
    }
    EXPECT_TRUE(window.Untouched());
    hint.Tick();
    EXPECT_TRUE(hint.Shown());
    EXPECT_EQ(hint.ShownAtX(), 100);
    EXPECT_EQ(hint.ShownAtY(), 100);
    EXPECT_FALSE(window.Untouched());
    window.ExpectReported(window.original);
    for (int tick = 12; tick <= 80; ++tick)
        hint.Tick();
    EXPECT_TRUE(hint.Shown());
    EXPECT_TRUE(hint.TimerActive());
    hint.Tick();
    EXPECT_FALSE(hint.Shown());
    EXPECT_FALSE(hint.TimerActive());
    EXPECT_EQ(hint.TickCount(), 0);
    EXPECT_EQ(hint.ShownAtX(), -1);
    EXPECT_TRUE(window.Untouched());
}

TEST(CanvasHintTimer, ANewRequestTakesTheBalloonAwayAndCountsAgain) {
    Window window;
    TCanvasHint hint(window.canvas);
    hint.ShowHintDelayed(100, 100, {{"", "Next"}});
    for (int tick = 0; tick < 30; ++tick)
        hint.Tick();
    ASSERT_EQ(hint.ShownAtX(), 100);

    hint.ShowHintDelayed(400, 200, {{"", "Page 3"}});
    EXPECT_TRUE(window.Untouched());
    EXPECT_FALSE(hint.Shown());
    EXPECT_EQ(hint.TickCount(), 0);
    EXPECT_TRUE(hint.TimerActive());
    for (int tick = 0; tick < 10; ++tick)
        hint.Tick();
    EXPECT_EQ(hint.ShownAtX(), -1);
    hint.Tick();
    EXPECT_EQ(hint.ShownAtX(), 400);
    EXPECT_EQ(hint.ShownAtY(), 200);

    hint.HideHint();
    EXPECT_FALSE(hint.TimerActive());
    EXPECT_TRUE(window.Untouched());
}

TEST(CanvasHintPlace, FlipsAwayFromTheScreensRightAndBottomEdges) {
    Window window;  // as large as the 1024 x 768 test screen
    TCanvasHint hint(window.canvas);
    struct Case {
        int px, py, orientation, x, y;
    };
    for (Case c :
         {Case{300, 300, 0, 300, 300}, Case{784, 648, 0, 784, 648}, Case{785, 300, 2, 545, 300},
          Case{1000, 300, 2, 760, 300}, Case{300, 649, 1, 300, 529}, Case{300, 750, 1, 300, 630},
          Case{1000, 750, 3, 760, 630}}) {
        hint.ShowHintNow(c.px, c.py, {{"", "Next"}});
        EXPECT_EQ(hint.Orientation(), c.orientation) << c.px << "," << c.py;
        EXPECT_EQ(hint.ShownAtX(), c.x) << c.px;
        EXPECT_EQ(hint.ShownAtY(), c.y) << c.py;
        // The tail's tip is at the pointer, the far corner on its side is clear.
        const bool right = c.orientation & 2, bottom = c.orientation & 1;
        const int inX = right ? -1 : 1, inY = bottom ? -1 : 1;
        const int tipX = c.px - (right ? 1 : 0), tipY = c.py - (bottom ? 1 : 0);
        bool tip = false;
        for (int d = 0; d < 3; ++d)
            tip = tip || window.Changed(tipX + inX * d, tipY + inY * d);
        EXPECT_TRUE(tip) << c.px << "," << c.py;
        EXPECT_FALSE(window.Changed(tipX + inX * (kW - 4), tipY + inY * 2)) << c.px;
        hint.HideHint();
        EXPECT_TRUE(window.Untouched()) << c.px << "," << c.py;
    }
}

TEST(CanvasHintRestore, PutsBackExactlyWhatWasThereAlsoPastTheEdges) {
    Window window(200, 100);  // smaller than the balloon
    TCanvasHint hint(window.canvas);
    for (QPoint at :
         {QPoint(-50, -30), QPoint(150, 60), QPoint(-1, 10), QPoint(-300, 20), QPoint(10, 5000)}) {
        window.reported = {};
        hint.ShowHintNow(at.x(), at.y(), {{"Shot: ", "2004-05-06 07:08"}});
        window.ExpectReported(window.original);
        const QImage shown = window.image.copy();
        window.reported = {};
        hint.HideHint();
        EXPECT_EQ(hint.ShownAtX(), -1);
        EXPECT_TRUE(window.Untouched()) << at.x() << "," << at.y();
        window.ExpectReported(shown);
    }
}

TEST(CanvasHintRestore, ASecondBalloonFirstPutsBackWhatTheFirstCovered) {
    Window window;
    TCanvasHint hint(window.canvas);
    hint.ShowHintNow(100, 100, {{"", "first"}});
    hint.ShowHintNow(130, 120, {{"", "second"}});
    // Where only the first one was, nothing is left of it.
    for (int y = 100; y < 100 + kH; ++y)
        for (int x = 100; x < 130; ++x)
            ASSERT_FALSE(window.Changed(x, y)) << x << "," << y;
    // A new size meanwhile: what is drawn still goes with its own size.
    hint.SetHintSize(QRect(0, 0, 64, 40));
    hint.HideHint();
    EXPECT_TRUE(window.Untouched());
}

TEST(CanvasHintPicture, WhiteShowsThroughAndTheBodyIsOutlinedPaleYellow) {
    Window window;
    TCanvasHint hint(window.canvas);
    hint.ShowHintNow(300, 300, {});
    auto at = [&](int x, int y) { return window.image.pixel(300 + x, 300 + y); };
    auto was = [&](int x, int y) { return window.original.pixel(300 + x, 300 + y); };
    // Beside the tail, far corners and the corner outside the rounded body.
    for (QPoint p : {QPoint(120, 20), QPoint(239, 0), QPoint(2, 30), QPoint(0, kTail),
                     QPoint(239, kTail), QPoint(0, 119), QPoint(239, 119)})
        EXPECT_EQ(at(p.x(), p.y()), was(p.x(), p.y())) << p.x() << "," << p.y();
    EXPECT_EQ(at(120, 80), kYellow);
    EXPECT_EQ(at(35, 38), kYellow);  // inside the tail
    for (QPoint p : {QPoint(120, kTail), QPoint(120, 119), QPoint(0, 80), QPoint(239, 80)})
        EXPECT_EQ(at(p.x(), p.y()), kBlack) << p.x() << "," << p.y();
    EXPECT_EQ(at(37, kTail), kYellow);  // the tail opens into the body
    hint.HideHint();

    // The mirrored shapes, on the balloon alone.
    const QImage bottomLeft = Balloon({}, 1), topRight = Balloon({}, 2),
                 bottomRight = Balloon({}, 3);
    EXPECT_EQ(bottomLeft.pixel(120, 80), kBlack);  // the body ends on the tail's base
    EXPECT_EQ(bottomLeft.pixel(120, 81), kWhite);
    EXPECT_EQ(bottomLeft.pixel(120, 0), kBlack);
    EXPECT_EQ(bottomLeft.pixel(37, 80), kYellow);
    EXPECT_EQ(bottomLeft.pixel(35, 82), kYellow);
    EXPECT_EQ(bottomLeft.pixel(120, 100), kWhite);
    EXPECT_EQ(topRight.pixel(203, kTail), kYellow);
    EXPECT_EQ(topRight.pixel(37, kTail), kBlack);
    EXPECT_EQ(topRight.pixel(2, 2), kWhite);
    EXPECT_EQ(bottomRight.pixel(203, 80), kYellow);
    EXPECT_EQ(bottomRight.pixel(204, 82), kYellow);
    EXPECT_EQ(bottomRight.pixel(2, 117), kWhite);
    for (const QImage* image : {&bottomLeft, &topRight, &bottomRight})
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const QRgb p = image->pixel(x, y);
                ASSERT_TRUE(p == kWhite || p == kBlack || p == kYellow) << x << "," << y;
            }
}

TEST(CanvasHintText, RowsKeepTheirStepsWithTheBoldLabelFirst) {
    for (int orientation : {0, 1}) {
        const int top = orientation == 0 ? kTail : 0;
        const QImage image = Balloon({{}, {}, {"", "Mm"}}, orientation);
        const QRect box = InkBox(image, QRect(4, top + 4, kW - 8, kH - kTail - 8));
        ASSERT_FALSE(box.isEmpty());
        EXPECT_TRUE(Band(2, top).contains(box)) << orientation;
        EXPECT_LE(box.left(), 10);
    }

    const QImage label = Balloon({{"MM", ""}}), value = Balloon({{"", "MM"}}),
                 both = Balloon({{"MM", "MM"}});
    const QRect row = Band(0);
    EXPECT_GT(Ink(label, row), Ink(value, row));  // bold
    EXPECT_NEAR(InkBox(label, row).left(), InkBox(value, row).left(), 1);
    // Both together are the label and the value moved just past it.
    int shift = 0;
    for (int s = 1; s < 100 && !shift; ++s) {
        bool same = true;
        for (int y = row.top(); y <= row.bottom() && same; ++y)
            for (int x = row.left(); x <= row.right() && same; ++x) {
                const bool valueInk = x - s >= row.left() && value.pixel(x - s, y) == kBlack;
                same = (both.pixel(x, y) == kBlack) == (label.pixel(x, y) == kBlack || valueInk);
            }
        if (same)
            shift = s;
    }
    EXPECT_GE(shift, InkBox(label, row).width()) << "value not placed after the label";
}

TEST(CanvasHintText, ALongValueGoesOnTheNextRowsLineAndEndsInDots) {
    // Every dot is a mark of its own: none is lost or doubled at the break.
    const QImage dots = Balloon({{"", QString(100, '.')}});
    EXPECT_GT(Marks(dots, Band(0)), 40);
    EXPECT_EQ(Marks(dots, Band(0)) + Marks(dots, Band(1)), 100);

    const QImage twoLines = Balloon({{"Title: ", QString(25, 'M')}, {"", "x"}});
    EXPECT_GT(Ink(twoLines, Band(1)), 0);
    EXPECT_FALSE(EndsInDots(twoLines, Band(1)));
    EXPECT_EQ(Ink(twoLines, Band(2)), 0);  // the next row stayed in its place

    const QImage cut = Balloon({{"Title: ", QString(60, 'M')}});
    EXPECT_FALSE(EndsInDots(cut, Band(0)));
    EXPECT_TRUE(EndsInDots(cut, Band(1)));
    EXPECT_EQ(Ink(cut, Band(2)), 0);

    // A label filling the row leaves the value no room but the dots.
    const QImage noRoom = Balloon({{QString(40, 'M'), "value"}});
    EXPECT_GT(Ink(noRoom, Band(0)), 0);
    EXPECT_EQ(Ink(noRoom, Band(1)), 0);  // its dots fall past the edge
}

TEST(CanvasHintText, AlbumTextsAreDrawnAsTheyAre) {
    // Markup-like text from an album is plain text on its own row.
    const QImage markup = Balloon({{"", "n%Lake b%<b>x</b>%n"}});
    EXPECT_GT(Ink(markup, Band(0)), 0);
    EXPECT_EQ(Ink(markup, Band(1)), 0);

    // Line breaks stay on the line; a control character that ends Qt's
    // measuring must not let a long value run past the balloon unbroken.
    const QImage breaks = Balloon({{"", "a\nb\r\nc\td"}});
    EXPECT_EQ(Ink(breaks, Band(1)), 0);
    const QImage stopper = Balloon({{"", "M" + QString(QChar(0x9c)) + QString(60, 'M')}});
    EXPECT_TRUE(EndsInDots(stopper, Band(1)));
}

TEST(CanvasHintText, HugeTextsAreCutShortQuickly) {
    const QString gbk255(255, QChar(0x4e2d));  // 中
    const QImage chinese = Balloon({{"标题：", gbk255}}, 0, false);
    EXPECT_GT(Ink(chinese, Band(0)), 0);
    EXPECT_TRUE(EndsInDots(chinese, Band(1)));

    const QImage huge = Balloon({{"", QString(100000, 'M')}});
    EXPECT_TRUE(EndsInDots(huge, Band(1)));

    QString faces;
    for (int i = 0; i < 50000; ++i)
        faces += QString::fromUcs4(U"\U0001F600");
    const QImage pairs = Balloon({{QString(100000, QChar(0x6807)), faces}});
    EXPECT_GT(Ink(pairs, Band(0)), 0);

    HintText many(100000, HintRow{"Row ", QString(1000, 'x')});
    const QImage rows = Balloon(many, 1);
    EXPECT_GT(Ink(rows, QRect(2, 2, kW - 4, 76)), 0);
    // Nothing spills onto the tail's side.
    const QRect tailSide(0, 81, kW, kH - 81);
    EXPECT_EQ(rows.copy(tailSide), Balloon({}, 1).copy(tailSide));

    Window window;
    TCanvasHint hint(window.canvas);
    hint.ShowHintDelayed(500, 400, many);
    for (int tick = 0; tick < 81; ++tick)
        hint.Tick();
    EXPECT_TRUE(window.Untouched());
}

}  // namespace
}  // namespace pagora
