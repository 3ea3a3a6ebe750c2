// The picture viewer and the thumbnail browser on a scaled screen: pictures
// fitted to the screen's device pixels and shown one to one, the browser's
// grid and previews in device pixels with its margins at their physical size.
#include <gtest/gtest.h>

#include "HiDpiScreen.h"
#include "archive/HotSpotRecord.h"
#include "gfx/PictureFile.h"
#include "platform/Globals.h"
#include "platform/Messages.h"
#include "platform/ScreenScale.h"
#include "ui/BookWindow.h"
#include "views/TPicView.h"
#include "views/TfrmRowse.h"

namespace pagora {
namespace {

using namespace test;

class HiDpiViewsTest : public BookWindowTest {
  protected:
    static void SetUpTestSuite() {
        SetUpBook(4, [](int) { return WriteHotSpots({}); });
    }
    static void TearDownTestSuite() { TearDownBook(); }

    const HiDpiScreen screen_ = TestScreen();
};

TEST_F(HiDpiViewsTest, PicturesAndPreviewsInDevicePixels) {
    Open(4, 0);
    Key(Qt::Key_F12);
    TPicView& viewer = *PicViewForm;
    WaitUntil([&] { return viewer.Settled(); });
    ASSERT_EQ(viewer.GetCanvas().Image().size(), QSize(screen_.Width, screen_.Height));
    // The album's photos are 320 x 240: smaller than the screen, shown as they are.
    const QImage& picture = viewer.Current.ScreenBitmap;
    ASSERT_EQ(picture.size(), QSize(320, 240));
    QImage shown = viewer.grab().toImage().convertToFormat(QImage::Format_RGB32);
    shown.setDevicePixelRatio(1);
    ASSERT_EQ(shown.size(), QSize(screen_.Width, screen_.Height));
    const QPoint at((screen_.Width - 320) / 2, (screen_.Height - 240) / 2);
    int differ = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            differ += shown.pixel(at.x() + x, at.y() + y) != picture.pixel(x, y);
    EXPECT_EQ(differ, 0);

    viewer.NSmallPicClick();
    TfrmRowse& browser = *RowseForm;
    WaitUntil([&] { return browser.Loader->Idle(); });
    const ScreenScale scale(screen_.Ratio);
    EXPECT_EQ(browser.CellWidth, (screen_.Width - scale.Scaled(48)) / 5);
    for (int c : {0, 6, 19}) {
        const QSize cell = browser.Cells[c]->BackBuffer().size();
        EXPECT_NEAR(cell.width(), browser.CellWidth, 1) << c;
        EXPECT_NEAR(cell.height(), browser.CellHeight, 1) << c;
    }
    ASSERT_NE(browser.PicRecs.Get(0), nullptr);
    // A preview smaller than its box keeps its own pixels.
    EXPECT_EQ(browser.PicRecs.Get(0)->size(), JpegSize(Find("SmallPIC1.jpg"), "SmallPIC1.jpg"));
}

}  // namespace
}  // namespace pagora
