#include <gtest/gtest.h>

#include <memory>

#include "gfx/Bitmap.h"
#include "platform/Messages.h"
#include "shell/TfrmFlash.h"

namespace pagora {
namespace {

const QRgb kBar = qRgb(238, 153, 153), kGrey = qRgb(128, 128, 128);

QImage Snapshot(BufferedWidget& widget) {
    CanvasLock lock(widget.GetCanvas());
    return widget.BackBuffer().copy();
}

int Count(const QImage& image, QRect area, QRgb colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

// Every pixel tells its place: red + 256 * green is x, blue is y.
QImage Numbered(int width, int height) {
    QImage image = NewBitmap24(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x & 255, x >> 8, y));
    return image;
}

// The picture from an offset, then once more from its start, else the form colour.
QImage Expected(const TfrmFlash& splash, int offset) {
    const QImage& picture = splash.FilmPicture;
    QImage strip(558, 112, kBitmapFormat);
    for (int y = 0; y < 112; ++y)
        for (int x = 0; x < 558; ++x) {
            int col = offset + x < picture.width() ? offset + x : offset + x - picture.width();
            bool inside = col < picture.width() && y < picture.height();
            strip.setPixel(x, y, inside ? picture.pixel(col, y) : splash.FormColor().rgb());
        }
    return strip;
}

// No frame leaves this colour anywhere, so what is found later was drawn after.
void Smudge(TfrmFlash& splash) {
    CanvasLock lock(splash.PaintBoxBottom->GetCanvas());
    splash.PaintBoxBottom->GetCanvas().Image().fill(qRgb(1, 2, 3));
}

// Waits for a frame whose offset is wanted and checks every pixel of it.
int CheckFrame(TfrmFlash& splash, const std::function<bool(int)>& wanted) {
    Smudge(splash);
    QImage strip;
    int offset = -1;
    WaitUntil([&] {
        strip = Snapshot(*splash.PaintBoxBottom);
        offset = qRed(strip.pixel(0, 0)) + 256 * qGreen(strip.pixel(0, 0));
        return qBlue(strip.pixel(0, 0)) == 0 && wanted(offset);
    });
    EXPECT_EQ(offset % kFilmStep, 0);
    // An offset equal to the width also starts with column 0.
    EXPECT_TRUE(strip == Expected(splash, offset) ||
                (offset == 0 && strip == Expected(splash, splash.FilmPicture.width())));
    return offset;
}

TEST(Splash, LayoutInBothLanguagesAndTheSmallBox) {
    for (int language : {0, 1}) {
        TfrmFlash splash(nullptr, language);
        const int bodyHeight = language ? 278 : 234;
        EXPECT_EQ(splash.size(), QSize(560, language ? 392 : 348));
        EXPECT_EQ(splash.PaintBoxBody->geometry(), QRect(1, 1, 558, bodyHeight));
        EXPECT_EQ(splash.PaintBoxProgress->geometry(), QRect(1, 1 + bodyHeight, 558, 0));
        EXPECT_EQ(splash.PaintBoxBottom->geometry(), QRect(1, 1 + bodyHeight, 558, 112));
        splash.SetSmallLayout();
        EXPECT_EQ(splash.size(), QSize(132, 44));
        EXPECT_EQ(splash.PaintBoxBody->geometry(), QRect(1, 1, 130, 42));
        EXPECT_FALSE(splash.HasPicture());
    }
}

TEST(Splash, ProgressLineBarTextAndFrame) {
    TfrmFlash splash(nullptr, 0), small(nullptr, 1);
    splash.MainPicture = NewBitmap24(558, 234);
    small.SetSmallLayout();
    for (TfrmFlash* shown : {&splash, &small}) {
        shown->ShowSplash();
        const int w = shown->PaintBoxBody->width(), h = shown->PaintBoxBody->height(), a = w - 125;
        for (int percent : {0, 57, 100, 150}) {
            shown->SetProgress(percent);  // at once: no messages processed
            const QImage body = Snapshot(*shown->PaintBoxBody);
            const QRgb back = body.pixel(0, 0);
            EXPECT_EQ(Count(body, QRect(a, h - 18, shown->Progress(), 4), kBar),
                      4 * std::min(percent, 100));
            EXPECT_EQ(Count(body, body.rect(), kBar), 4 * shown->Progress());
            EXPECT_EQ(Count(body, QRect(a, h - 20, 100, 1), kGrey) +
                          Count(body, QRect(a, h - 13, 100, 1), kGrey),
                      200);
            EXPECT_EQ(Count(body, body.rect(), kGrey), 200);
            EXPECT_LT(Count(body, QRect(a, h - 32, 100, 11), back), 1100 - 20);  // the text
        }
    }
    EXPECT_EQ(small.PaintBoxBody->BackBuffer().pixel(0, 0), qRgb(255, 255, 255));
    const QImage form = Snapshot(splash);
    EXPECT_EQ(Count(form, form.rect(), qRgb(204, 255, 221)), 2 * 560 + 2 * 348 - 4);
    EXPECT_EQ(Count(form, form.rect().adjusted(1, 1, -1, -1), qRgb(204, 255, 221)), 0);
}

TEST(Splash, PictureSmallerThanTheBodyKeepsTheTextClean) {
    auto shown = [](int first, int second) {
        TfrmFlash splash(nullptr, 0);
        splash.MainPicture = NewBitmap24(300, 100);
        splash.ShowSplash();
        splash.SetProgress(first);
        splash.SetProgress(second);
        return Snapshot(*splash.PaintBoxBody);
    };
    const QImage body = shown(88, 11);
    EXPECT_EQ(body, shown(11, 11));
    EXPECT_EQ(body.pixel(299, 99), qRgb(0, 0, 0));
    EXPECT_NE(body.pixel(300, 0), qRgb(0, 0, 0));
    EXPECT_NE(body.pixel(0, 100), qRgb(0, 0, 0));
}

TEST(Splash, FilmStripScrollsAndWraps) {
    TfrmFlash splash(nullptr, 0);
    splash.FilmPicture = Numbered(600, 112);
    splash.ShowSplash();
    const int first = CheckFrame(splash, [](int offset) { return offset > 600 - 558; });
    CheckFrame(splash, [&](int offset) { return offset != first; });

    QImage target = NewBitmap24(558, 112);
    Canvas canvas(&target);
    DrawFilmFrame(canvas, splash.FilmPicture, 600, 558, 112);
    EXPECT_EQ(target, Expected(splash, 0));
}

TEST(Splash, FilmCopiesStayInsideShortNarrowAndEmptyPictures) {
    TfrmFlash low(nullptr, 0), narrow(nullptr, 0), empty(nullptr, 0);
    low.FilmPicture = Numbered(600, 40);
    narrow.FilmPicture = Numbered(100, 112);
    for (TfrmFlash* splash : {&low, &narrow, &empty})
        splash->ShowSplash();
    CheckFrame(low, [](int offset) { return offset > 600 - 558; });
    const int late = CheckFrame(narrow, [](int offset) { return offset >= 60; });
    CheckFrame(narrow, [&](int offset) { return offset < late; });
    for (int round = 0; round < 2; ++round) {  // drawn again and again
        Smudge(empty);
        WaitUntil([&] {
            return Count(Snapshot(*empty.PaintBoxBottom), QRect(0, 0, 558, 112),
                         empty.FormColor().rgb()) == 558 * 112;
        });
    }
}

TEST(Splash, DestroyingAnUnshownSplashEndsItsThread) {
    auto splash = std::make_unique<TfrmFlash>(nullptr, 0);
    EXPECT_TRUE(splash->FilmThread().Suspended());
    splash.reset();
}

}  // namespace
}  // namespace pagora
