// The real book on a scaled screen: laid out, decoded and shown in device
// pixels, its chrome at the physical size it has on an unscaled screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QRegion>
#include <cstdlib>

#include "HiDpiScreen.h"
#include "archive/AlbumProfile.h"
#include "archive/HotSpotRecord.h"
#include "archive/MemberNames.h"
#include "gfx/Bitmap.h"
#include "gfx/PictureFile.h"
#include "platform/ScreenScale.h"
#include "ui/BookWindow.h"

namespace pagora {
namespace {

using namespace test;

Bytes PageSpots(int page) {
    HotSpotRecord spot;
    spot.Left = 10;
    spot.Top = 20;
    spot.Width = 100;
    spot.Height = 80;
    spot.PictureName = "PIC1.jpg";
    spot.Title = "Lake " + std::to_string(page);
    spot.Description = "A quiet lake under the hills";
    spot.ShootTime = 38288.5;
    return WriteHotSpots({spot});
}

// One-pixel stripes, black and white: any resampling on the way to the
// screen blurs or doubles them.
QImage Stripes(int width, int height) {
    QImage image = NewBitmap24(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return image;
}

// The bounds of the black pixels in an area.
QRect Ink(const QImage& image, const QRect& area) {
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.valid(x, y) && image.pixel(x, y) == qRgb(0, 0, 0))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

class HiDpiBookTest : public BookWindowTest {
  protected:
    static void SetUpTestSuite() {
        SetUpBook(6, PageSpots);
        const HiDpiScreen screen = TestScreen();
        const BookLayout layout = ComputeBookLayout(screen.Width, screen.Height);
        WriteAlbum(Path("stripes.kfa"),
                   Put(ReadAlbum(BookPath()), "Cover.jpg",
                       EncodeJpeg(Stripes(layout.PageWidth, layout.PageHeight), 100)));
    }
    static void TearDownTestSuite() { TearDownBook(); }

    // What the window shows, one device pixel to one pixel.
    QImage Shown() const {
        QImage image = book->grab().toImage().convertToFormat(QImage::Format_RGB32);
        image.setDevicePixelRatio(1);
        return image;
    }
    // The pointer over a device pixel of the book.
    void Move(int x, int y) {
        const QPointF at = QPointF(x, y) / screen_.Ratio;
        QMouseEvent event(QEvent::MouseMove, at, book->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(book.get(), &event);
    }
    QRgb PictureMiddle(bool right) {
        return Screen(
            (right ? book->RightPageX + book->RightPicX : book->LeftPageX + book->LeftPicX) +
                book->PicWidth / 2,
            book->PageY + book->PicY + book->PicHeight / 2);
    }
    int FilePageCount() { return ReadProfile(Find(kProfileMember)).Profile.PageCount; }

    const HiDpiScreen screen_ = TestScreen();
};

TEST_F(HiDpiBookTest, LaidOutDecodedAndShownInDevicePixels) {
    Open(6, 0, Path("stripes.kfa"));
    EXPECT_EQ(book->Scale().Ratio(), screen_.Ratio);
    const ScreenScale scale(screen_.Ratio);
    // The book as on any screen of as many pixels; the labels' offsets are
    // chrome, at the physical size they have on an unscaled screen.
    const BookLayout layout = ComputeBookLayout(screen_.Width, screen_.Height,
                                                [&](int pixels) { return scale.Scaled(pixels); });
    BookLayout geometry = ComputeBookLayout(screen_.Width, screen_.Height);
    geometry.LabelTop = layout.LabelTop;
    geometry.UpLabelLeft = layout.UpLabelLeft;
    geometry.DownLabelLeft = layout.DownLabelLeft;
    geometry.PageLabelLeft = layout.PageLabelLeft;
    EXPECT_EQ(geometry, layout);
    EXPECT_EQ(layout.DownLabelLeft, screen_.Width - scale.Scaled(170));
    EXPECT_EQ(book->Layout(), layout);
    EXPECT_EQ(book->RightPageBmp.size(), QSize(layout.PageWidth, layout.PageHeight));

    const QImage shown = Shown();
    const QImage& buffer = book->GetCanvas().Image();
    ASSERT_EQ(shown.size(), QSize(screen_.Width, screen_.Height));
    // The buffer reaches the screen pixel for pixel, to the last row and
    // column; only the labels are drawn over it, each where it says.
    QRegion labels;
    for (const TStrongLabel* label : {&book->lblUP, &book->lblDown, &book->lblPage})
        if (label->Visible())
            labels += label->DeviceRect().adjusted(-1, -1, 1, 1);
    int overLabels = 0, elsewhere = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixel(x, y) != buffer.pixel(x, y))
                ++(labels.contains(QPoint(x, y)) ? overLabels : elsewhere);
    EXPECT_EQ(elsewhere, 0);
    EXPECT_GT(overLabels, 100);

    // Neighbouring columns of the striped cover still differ on the screen.
    const int y = layout.PageY + layout.PageHeight / 2,
              x0 = layout.RightPageX + layout.PageWidth / 4;
    int alternations = 0;
    for (int x = x0; x < x0 + 200; ++x)
        alternations +=
            std::abs(Brightness(shown.pixel(x, y)) - Brightness(shown.pixel(x + 1, y))) > 100;
    EXPECT_GE(alternations, 196);

    // The labels at their device places, with letters of a constant physical size.
    EXPECT_EQ(book->lblDown.DeviceRect().topLeft(), QPoint(layout.DownLabelLeft, layout.LabelTop));
    EXPECT_EQ(book->lblPage.DeviceRect().topLeft(), QPoint(layout.PageLabelLeft, layout.LabelTop));
    EXPECT_EQ(book->lblDown.font().pixelSize(), scale.Scaled(14));
    EXPECT_EQ(book->lblDown.DeviceRect().size(),
              QFontMetrics(book->lblDown.font()).size(Qt::TextSingleLine, book->lblDown.Caption()) +
                  QSize(2, 2) * scale.Scaled(1));
}

TEST_F(HiDpiBookTest, ThePointerFindsHotSpotsAndTheBalloonKeepsItsSize) {
    Open(6, 0);
    Key(Qt::Key_Space);
    ASSERT_EQ(book->CurrentPage, 2);
    // The spot covers 10..110 x 20..100 of a page picture made for 1024 wide.
    const int factor = book->ScreenW, x = book->RightPageX + book->RightPicX + 60 * factor / 1024,
              y = book->PageY + book->PicY + 60 * factor / 1024;
    Move(x, y);
    EXPECT_EQ(book->HotZone, 2);
    EXPECT_EQ(book->HotPicture, QStringLiteral("PIC1.jpg"));
    TCanvasHint& hint = *book->BookHint;
    for (int tick = 0; tick < 11; ++tick)
        hint.Tick();
    ASSERT_EQ(hint.ShownAtX(), x);
    EXPECT_EQ(hint.ShownAtY(), y);
    const ScreenScale scale(screen_.Ratio);
    EXPECT_EQ(hint.Size(), scale.DeviceSize(QSize(300, 120)));

    // Its letters and rows are as many times taller as the screen's scale.
    const int inset = scale.Scaled(4);
    const QRect text = Ink(book->GetCanvas().Image(),
                           QRect(x, y, hint.Size().width(), hint.Size().height())
                               .adjusted(inset, hint.TailHeight() + inset, -inset, -inset));
    const HintText rows = {
        {QStringLiteral("标    题："), QStringLiteral("Lake 2")},
        {QStringLiteral("拍摄时间："), QStringLiteral("-")},
        {QStringLiteral("描    述："), QStringLiteral("A quiet lake under the hills")}};
    const QImage plain = PaintBalloon(QSize(300, 120), 37, 54, 40, 10, 0, rows, false);
    const int plainHeight = Ink(plain, QRect(4, 44, 292, 72)).height();
    EXPECT_NEAR(text.height(), plainHeight * screen_.Ratio, 1 + 2 * screen_.Ratio);
}

TEST_F(HiDpiBookTest, AnAnimatedTurnEndsOnTheRightPages) {
    Open(6, 300);
    Key(Qt::Key_Space);
    Key(Qt::Key_Space);
    EXPECT_EQ(book->CurrentPage, 4);
    EXPECT_TRUE(Near(PictureMiddle(false), PageColour(3), 8));
    EXPECT_TRUE(Near(PictureMiddle(true), PageColour(4), 8));
    Key(Qt::Key_Return);
    EXPECT_EQ(book->CurrentPage, 2);
    EXPECT_TRUE(Near(PictureMiddle(false), PageColour(1), 8));
    EXPECT_TRUE(Near(PictureMiddle(true), PageColour(2), 8));
}

TEST_F(HiDpiBookTest, TheSameBookAsOnAnUnscaledScreenOfAsManyPixels) {
    Launch plain;
    plain.Width = screen_.Width;
    plain.Height = screen_.Height;
    plain.Snapshot = true;
    const ViewerRun run = ViewerTest::Open(BookPath(), plain);
    ExpectBookAndEscape(run);
    ASSERT_FALSE(run.Snapshot.isNull());
    Open(FilePageCount(), 0);
    EXPECT_EQ(run.Snapshot.convertToFormat(kBitmapFormat), book->GetCanvas().Image());
}

}  // namespace
}  // namespace pagora
