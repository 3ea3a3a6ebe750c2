// The picture viewer in the real book window: steps that wrap both ways with
// their prefetched neighbours, the screen fit, the information text, the ways
// back, steps pressed during steps, damaged pictures and turned photos.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QToolButton>
#include <set>
#include <string>
#include <vector>

#include "ExifPhoto.h"
#include "ViewsWindow.h"
#include "archive/AlbumArchive.h"
#include "archive/MemberNames.h"
#include "gfx/PictureFile.h"
#include "platform/Globals.h"
#include "platform/ScreenCursor.h"
#include "shell/TfrmToolbar.h"
#include "views/TPicView.h"
#include "views/TfrmRowse.h"

namespace pagora {
namespace {

using namespace test;

class PictureViewerTest : public ViewsTest {
  protected:
    void TearDown() override {
        if (ToolbarForm == &toolbar_)
            ToolbarForm = nullptr;
        ViewsTest::TearDown();
    }
    // Opens the viewer from the book with F12 (the pointer on no picture).
    void FromBook(int pictures, const std::string& album = ViewsPath()) {
        OpenViews(pictures, album);
        Key(Qt::Key_F12);
        Settle();
    }
    std::string Slot(const PicSlot& slot) const {
        return slot.Ready ? slot.Name + "=" + std::to_string(Colour(slot.ScreenBitmap)) : "-";
    }
    // The picture whose colour fills the bitmap's centre.
    static int Colour(const QImage& bitmap) {
        if (bitmap.isNull())
            return 0;
        const QRgb pixel = bitmap.pixel(bitmap.width() / 2, bitmap.height() / 2);
        for (int k = 1; k <= kViewsPictures; ++k)
            if (Near(pixel, PageColour(k), 12))
                return k;
        return 0;
    }
    // Rows of the screen's top-left quarter with pixels of the text's orange.
    std::set<int> OrangeRows(int* leftmost = nullptr) const {
        const QImage& screen = Viewer().GetCanvas().Image();
        std::set<int> rows;
        int left = screen.width();
        for (int y = 0; y < screen.height() / 2; ++y)
            for (int x = 0; x < screen.width() / 2; ++x)
                if (Near(screen.pixel(x, y), qRgb(255, 187, 0), 40)) {
                    rows.insert(y);
                    left = std::min(left, x);
                }
        if (leftmost != nullptr)
            *leftmost = left;
        return rows;
    }
    TfrmToolbar toolbar_;
};

TEST_F(PictureViewerTest, FivePicturesWrapBothWaysAndSoDoTheirNeighbours) {
    OpenViews(5);
    Key(Qt::Key_F12);
    // Shown at once, before the neighbours arrive.
    EXPECT_EQ(ShownPicture(), 1);
    Settle();
    EXPECT_EQ(ViewMode, 2);
    EXPECT_EQ(ActiveCanvas, &Viewer().GetCanvas());
    EXPECT_EQ(Viewer().Tag, 1);
    EXPECT_EQ(Slot(Viewer().PrevSlot), "PIC5.jpg=5");
    EXPECT_EQ(Slot(Viewer().NextSlot), "PIC2.jpg=2");

    ViewerKey(Qt::Key_PageUp);
    Settle();
    EXPECT_EQ(ShownPicture(), 5);
    EXPECT_EQ(Slot(Viewer().PrevSlot), "PIC4.jpg=4");
    EXPECT_EQ(Slot(Viewer().NextSlot), "PIC1.jpg=1");

    std::vector<int> shown;
    for (int step = 0; step < 6; ++step) {
        // A step with its neighbour delivered shares that bitmap: nothing is decoded.
        const qint64 ahead = Viewer().NextSlot.ScreenBitmap.cacheKey();
        ViewerKey(Qt::Key_Space);
        EXPECT_EQ(Viewer().Current.ScreenBitmap.cacheKey(), ahead);
        Settle();
        shown.push_back(ShownPicture());
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 5, 1}));
    EXPECT_EQ(Slot(Viewer().PrevSlot), "PIC5.jpg=5");
    EXPECT_EQ(Slot(Viewer().NextSlot), "PIC2.jpg=2");

    // A step back finds its neighbour however its name was written.
    const qint64 behind = Viewer().PrevSlot.ScreenBitmap.cacheKey();
    Viewer().NUpPageClick();
    EXPECT_EQ(Viewer().Current.ScreenBitmap.cacheKey(), behind);
    Settle();
    EXPECT_EQ(ShownPicture(), 5);
    Wheel(-1);  // towards the user: the next picture
    Settle();
    EXPECT_EQ(ShownPicture(), 1);
    Wheel(1);
    Settle();
    EXPECT_EQ(ShownPicture(), 5);
    {
        WaitCursor busy;  // a change under way: the wheel waits
        Wheel(1);
    }
    EXPECT_EQ(Viewer().PictureNo, 5);
}

TEST_F(PictureViewerTest, ASinglePictureStepsOntoItself) {
    FromBook(1);
    EXPECT_EQ(ShownPicture(), 1);
    ViewerKey(Qt::Key_PageDown);
    Settle();
    EXPECT_EQ(ShownPicture(), 1);
    EXPECT_EQ(Viewer().PictureNo, 1);
}

struct FitCase {
    const char* Name;
    int Width, Height;
    QRect Shown;  // on the 1024 x 768 screen
};

class PictureFitTest : public PictureViewerTest, public testing::WithParamInterface<FitCase> {};

TEST_P(PictureFitTest, PicturesAreFittedIntoTheScreenAndCentred) {
    const FitCase& c = GetParam();
    const std::string album = Variant(
        std::string(c.Name) + ".kfa",
        Replace(ViewsAlbum(), "PIC2.jpg", EncodeJpeg(Plain(c.Width, c.Height, PageColour(2)), 90)));
    OpenViews(3, album);
    Viewer().Tag = 1;
    Viewer().ShowPicture(2);
    Settle();
    EXPECT_EQ(Viewer().Current.ScreenBitmap.size(), c.Shown.size());
    EXPECT_EQ(Viewer().Current.JpegSize, QSize(c.Width, c.Height));
    const QRect r = c.Shown;
    const int midX = r.center().x(), midY = r.center().y();
    EXPECT_EQ(ShownAt(r.left(), midY), 2);
    EXPECT_EQ(ShownAt(r.right(), midY), 2);
    EXPECT_EQ(ShownAt(midX, r.top()), 2);
    EXPECT_EQ(ShownAt(midX, r.bottom()), 2);
    const QRgb back = Viewer().BackColor.rgb();
    if (r.top() > 0) {
        EXPECT_EQ(Viewer().GetCanvas().Image().pixel(midX, r.top() - 1), back);
        EXPECT_EQ(Viewer().GetCanvas().Image().pixel(midX, r.bottom() + 1), back);
    }
    if (r.left() > 0) {
        EXPECT_EQ(Viewer().GetCanvas().Image().pixel(r.left() - 1, midY), back);
        EXPECT_EQ(Viewer().GetCanvas().Image().pixel(r.right() + 1, midY), back);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, PictureFitTest,
    testing::Values(FitCase{"WideShownAtScreenWidth", 3000, 2000, QRect(0, 42, 1024, 683)},
                    FitCase{"SmallShownAsItIs", 200, 150, QRect(412, 309, 200, 150)},
                    FitCase{"TallShownAtScreenHeight", 1000, 2000, QRect(320, 0, 384, 768)},
                    FitCase{"ScreenSizedAsItIs", 1024, 768, QRect(0, 0, 1024, 768)}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(PictureViewerTest, InformationRowsAndTheirAbsence) {
    FromBook(5);
    book->ShowInfo = 1;
    Viewer().Invalidate();
    int left = 0;
    std::set<int> rows = OrangeRows(&left);
    ASSERT_FALSE(rows.empty());
    EXPECT_GE(left, 8);
    EXPECT_LT(left, 12);
    EXPECT_GE(*rows.begin(), 32);
    EXPECT_LT(*rows.begin(), 36);
    // Title, date and description, a line every 24 rows.
    for (int top : {32, 56, 80})
        EXPECT_TRUE(rows.lower_bound(top) != rows.end() && *rows.lower_bound(top) < top + 14)
            << top;
    EXPECT_LT(*rows.rbegin(), 80 + 18);

    // Photo 4's title is a file name: the date moves up to 32.
    Viewer().ShowPicture(4);
    Settle();
    rows = OrangeRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_LT(*rows.begin(), 36);
    EXPECT_LT(*rows.rbegin(), 56 + 18);
    EXPECT_TRUE(rows.lower_bound(56) != rows.end());

    book->ShowInfo = 0;
    Viewer().Invalidate();
    EXPECT_TRUE(OrangeRows().empty());
}

TEST_F(PictureViewerTest, ReturnsWhereItWasOpenedFromAndStopsItsShow) {
    OpenViews(5);
    book->NPlayClick();  // the book's slide show on; it turns at once
    ASSERT_TRUE(book->BookTimer.Enabled());
    Key(Qt::Key_F12);
    Settle();
    EXPECT_FALSE(book->BookTimer.Enabled());
    // Ctrl+P, which the toolbar's auto-play button names; the button follows.
    ToolbarForm = &toolbar_;
    ViewerKey(Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(Viewer().Timer.Enabled());
    EXPECT_TRUE(toolbar_.ToolBtnPlay->isChecked());
    Viewer().TimerTimer();
    Settle();
    EXPECT_EQ(Viewer().PictureNo, 2);
    Mouse(&Viewer(), QEvent::MouseButtonPress, 300, 300, Qt::LeftButton);
    EXPECT_EQ(ViewMode, 1);
    EXPECT_EQ(ActiveCanvas, &book->GetCanvas());
    EXPECT_TRUE(book->BookTimer.Enabled());
    EXPECT_TRUE(book->NPlay->isChecked());
    EXPECT_FALSE(Viewer().Timer.Enabled());
    EXPECT_FALSE(toolbar_.ToolBtnPlay->isChecked());
    book->NPlayClick();

    // From the browser: a click goes back there, F10 to the book.
    Key(Qt::Key_F11);
    Browser().CellClick(2);
    Settle();
    EXPECT_EQ(Viewer().Tag, 2);
    EXPECT_EQ(ShownPicture(), 3);
    Viewer().ToolBtnPlayClick();
    Mouse(&Viewer(), QEvent::MouseButtonPress, 300, 300, Qt::LeftButton);
    EXPECT_EQ(ViewMode, 3);
    EXPECT_EQ(ActiveCanvas, &Browser().GetCanvas());
    EXPECT_FALSE(Viewer().Timer.Enabled());
    Browser().CellClick(0);
    Settle();
    ViewerKey(Qt::Key_F11);
    EXPECT_EQ(ViewMode, 3);
    Browser().CellClick(0);
    Settle();
    ViewerKey(Qt::Key_F10);
    EXPECT_EQ(ViewMode, 1);
    EXPECT_FALSE(book->BookTimer.Enabled());
    // A right click opens the menu and goes nowhere.
    Key(Qt::Key_F12);
    Settle();
    Mouse(&Viewer(), QEvent::MouseButtonPress, 300, 300, Qt::RightButton);
    EXPECT_TRUE(Viewer().PopupMenu->isVisible());
    Viewer().PopupMenu->hide();
    EXPECT_EQ(ViewMode, 2);
}

TEST_F(PictureViewerTest, StepsPressedDuringAStepAreIgnored) {
    FromBook(7);
    // Held PgDn: the presses queue up and arrive while steps wait for the loader.
    for (int i = 0; i < 12; ++i) {
        QCoreApplication::postEvent(&Viewer(), new QKeyEvent(QEvent::KeyPress, Qt::Key_PageDown,
                                                             Qt::NoModifier, QString(), true));
        QCoreApplication::postEvent(&Viewer(),
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier));
        Viewer().TimerTimer();
    }
    Settle();
    const int n = Viewer().PictureNo;
    EXPECT_EQ(ShownPicture(), n);
    EXPECT_EQ(Viewer().CurrentName, PictureName(n));
    EXPECT_EQ(Colour(Viewer().NextSlot.ScreenBitmap), n % 7 + 1);
    EXPECT_EQ(Colour(Viewer().PrevSlot.ScreenBitmap), (n + 5) % 7 + 1);
}

TEST_F(PictureViewerTest, DamagedPicturesShowTheBackgroundAndNeverStopTheLoader) {
    AlbumArchive archive(ViewsPath(), 0);
    const std::string info3 = PictureInfoName(*archive.MemberNumber("PIC3.jpg"));
    Album album = Without(ViewsAlbum(), "PIC2.jpg");
    album = Replace(album, "PIC3.jpg", NoiseBytes(5000));
    album = Replace(album, info3, NoiseBytes(700));
    album =
        Replace(album, "PIC4.jpg", Bytes(Find("PIC1.jpg").begin(), Find("PIC1.jpg").begin() + 600));
    FromBook(5, Variant("damaged.kfa", album));
    book->ShowInfo = 1;
    std::vector<int> shown;
    for (int step = 0; step < 6; ++step) {
        ViewerKey(Qt::Key_Space);
        Settle();
        shown.push_back(ShownPicture());
        EXPECT_EQ(Viewer().HasPicture, 1);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 0, 0, 5, 1, 0}));
    // Back over them, and into each again from the start.
    for (int step = 0; step < 5; ++step) {
        ViewerKey(Qt::Key_PageUp);
        Settle();
    }
    for (int n : {2, 3, 4}) {
        Viewer().ShowPicture(n);
        Settle();
        EXPECT_EQ(ShownPicture(), 0) << n;
    }
}

TEST_F(PictureViewerTest, TurnedPhotosAreShownUpright) {
    QImage halves(400, 300, kBitmapFormat);
    halves.fill(qRgb(220, 20, 20));
    QPainter(&halves).fillRect(200, 0, 200, 300, qRgb(20, 20, 220));
    const Album album = Replace(ViewsAlbum(), "PIC2.jpg", Jpeg(halves, ExifSegment(6, "", "")));
    OpenViews(3, Variant("turned.kfa", album));
    Viewer().Tag = 1;
    Viewer().ShowPicture(2);
    Settle();
    ASSERT_EQ(Viewer().Current.ScreenBitmap.size(), QSize(300, 400));
    EXPECT_EQ(Viewer().Current.JpegSize, QSize(300, 400));
    // Turned clockwise: the stored left half is on top.
    EXPECT_TRUE(Near(Viewer().GetCanvas().Image().pixel(512, 284), qRgb(220, 20, 20), 30));
    EXPECT_TRUE(Near(Viewer().GetCanvas().Image().pixel(512, 484), qRgb(20, 20, 220), 30));
}

TEST_F(PictureViewerTest, StepsRunRandomTransitionsFromWhatTheScreenShows) {
    OpenViews(5);
    Viewer().Tag = 1;
    Viewer().ShowPicture(3);  // shown directly, no transition
    ViewMode = 2;
    Settle();
    ASSERT_EQ(ShownPicture(), 3);
    std::set<int> styles;
    for (int step = 0; step < 8; ++step) {
        const int before = Viewer().PictureNo;
        ViewerKey(Qt::Key_Space);
        ASSERT_TRUE(Viewer().InTransition());
        EXPECT_TRUE(Viewer().PicShow->isVisible());
        styles.insert(Viewer().PicShow->Style());
        // It starts from the picture on the screen, whatever the control last showed.
        EXPECT_EQ(Colour(Viewer().PicShow->OldPic()), before);
        // A click meets the transition, not the way back.
        Mouse(&Viewer(), QEvent::MouseButtonPress, 300, 300, Qt::LeftButton);
        EXPECT_EQ(ViewMode, 2);
        if (step == 5)
            ViewerKey(Qt::Key_Space);  // a step during it: the newest shows at its end
        Settle();
        EXPECT_FALSE(Viewer().PicShow->isVisible());
        EXPECT_EQ(ShownPicture(), Viewer().PictureNo);
    }
    for (int style : styles) {
        EXPECT_GE(style, 1);
        EXPECT_LE(style, 127);
    }
    EXPECT_GT(styles.size(), 1u);
}

TEST_F(PictureViewerTest, TheLensMagnifiesTheScreenOrTheFullPictureAndLeavesNoTrace) {
    QImage large(3000, 2000, kBitmapFormat);
    for (int y = 0; y < large.height(); ++y)
        for (int x = 0; x < large.width(); ++x)
            large.setPixel(x, y, qRgb(x % 256, y % 256, 128));
    OpenViews(5, Variant("large.kfa", Replace(ViewsAlbum(), "PIC2.jpg", EncodeJpeg(large, 90))));
    ToolbarForm = &toolbar_;
    toolbar_.tbtnMagnifier->setChecked(true);
    Viewer().Tag = 1;
    Viewer().ShowPicture(1);
    ViewMode = 2;
    Settle();
    const auto press = [&](int x, int y) {
        Mouse(&Viewer(), QEvent::MouseButtonPress, x, y, Qt::LeftButton);
    };
    const auto release = [&] {
        Mouse(&Viewer(), QEvent::MouseButtonRelease, 0, 0, Qt::LeftButton);
    };

    // Picture 1 is not scaled down: the lens magnifies the screen.
    const QImage before = Viewer().GetCanvas().Image().copy();
    press(512, 384);
    ASSERT_TRUE(Viewer().LensIsUp());
    EXPECT_EQ(ViewMode, 2) << "with the magnifier the click stays";
    EXPECT_TRUE(Viewer().FullBitmap.isNull());
    EXPECT_EQ(Viewer().Magnifier->LensRect(), QRect(384, 288, 256, 192));
    EXPECT_EQ(Viewer().Magnifier->SourceBitmap().Picture.size(), QSize(1024, 768));
    Mouse(&Viewer(), QEvent::MouseMove, 600, 420);
    EXPECT_EQ(Viewer().Magnifier->LensRect(), QRect(472, 324, 256, 192));
    release();
    EXPECT_FALSE(Viewer().LensIsUp());
    EXPECT_EQ(Viewer().GetCanvas().Image(), before);

    // Picture 2 is: the lens reads its own pixels, decoded when first needed.
    ViewerKey(Qt::Key_Space);
    Settle();
    ASSERT_EQ(Viewer().Current.ScreenBitmap.size(), QSize(1024, 683));
    EXPECT_TRUE(Viewer().FullBitmap.isNull());
    const QImage scaled = Viewer().GetCanvas().Image().copy();
    press(100, 100);
    ASSERT_TRUE(Viewer().LensIsUp());
    EXPECT_EQ(Viewer().FullBitmap.size(), QSize(3000, 2000));
    EXPECT_EQ(Viewer().Magnifier->SourceBitmap().Picture.size(), QSize(3000, 2000));
    release();
    EXPECT_EQ(Viewer().GetCanvas().Image(), scaled);

    // Auto-play waits while the lens is up; a step, a lost focus take it down first.
    press(300, 300);
    Viewer().TimerTimer();
    EXPECT_EQ(Viewer().PictureNo, 2);
    EXPECT_TRUE(Viewer().LensIsUp());
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&Viewer(), &out);
    EXPECT_FALSE(Viewer().LensIsUp());
    EXPECT_EQ(Viewer().GetCanvas().Image(), scaled);
    press(300, 300);
    ViewerKey(Qt::Key_Space);
    EXPECT_FALSE(Viewer().LensIsUp());
    Settle();
    EXPECT_EQ(ShownPicture(), 3);

    // The magnifier button up: the click goes back.
    toolbar_.tbtnMagnifier->setChecked(false);
    press(300, 300);
    EXPECT_EQ(ViewMode, 1);
}

// The toolbar's buttons drive the real views, and each way between them
// shapes the toolbar.
TEST_F(PictureViewerTest, TheToolbarDrivesTheViewsAndFollowsThem) {
    ToolbarForm = &toolbar_;  // before the book hands it its commands
    OpenViews(25);
    EXPECT_FALSE(toolbar_.LeftTab());
    Key(Qt::Key_F12);
    Settle();
    ASSERT_EQ(ViewMode, 2);
    EXPECT_TRUE(toolbar_.LeftTab());
    EXPECT_EQ(ShownPicture(), 1);
    toolbar_.ToolBtnDown->click();
    Settle();
    EXPECT_EQ(ShownPicture(), 2);
    toolbar_.ToolbtnUp->click();
    Settle();
    EXPECT_EQ(ShownPicture(), 1);
    toolbar_.ToolBtnPlay->click();
    EXPECT_TRUE(Viewer().Timer.Enabled());
    EXPECT_TRUE(toolbar_.ToolBtnPlay->isChecked());

    toolbar_.ToolButton8->click();  // the thumbnails
    EXPECT_EQ(ViewMode, 3);
    EXPECT_FALSE(toolbar_.LeftTab());
    EXPECT_FALSE(Viewer().Timer.Enabled());
    EXPECT_FALSE(toolbar_.ToolBtnPlay->isChecked());
    toolbar_.ToolBtnDown->click();
    EXPECT_EQ(Browser().ThumbPage.load(), 2);
    toolbar_.ToolBtnDown->click();  // 25 pictures have no third page
    EXPECT_EQ(Browser().ThumbPage.load(), 2);
    SettleBrowser();
    Browser().CellClick(0);
    Settle();
    EXPECT_EQ(ViewMode, 2);
    EXPECT_EQ(ShownPicture(), 21);
    EXPECT_TRUE(toolbar_.LeftTab());

    toolbar_.ToolButton7->click();  // back to the book
    EXPECT_EQ(ViewMode, 1);
    EXPECT_EQ(ActiveCanvas, &book->GetCanvas());
    EXPECT_FALSE(toolbar_.LeftTab());
}

TEST_F(PictureViewerTest, MenuCaptionsIconsAndKeys) {
    OpenViews(3);
    const std::vector<QString> chinese = {"相册浏览", "缩略图浏览", "", "上一个", "下一个",
                                          "",         "配置",       "", "退出"};
    std::vector<QString> texts;
    for (const QAction* action : Viewer().PopupMenu->actions())
        texts.push_back(action->text());
    EXPECT_EQ(texts, chinese);
    EXPECT_FALSE(Viewer().NAlbumRowse->icon().isNull());
    EXPECT_EQ(Viewer().NExit->shortcut(), QKeySequence(Qt::Key_Escape));
}

}  // namespace
}  // namespace pagora
