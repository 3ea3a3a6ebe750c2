// The thumbnail browser in the real book window: pages of twenty, previews
// made once and shown cell by cell, a page changed during a pass, the hot
// cell's picture opened full screen, bad previews, and the book's show kept
// across the way there and back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <vector>

#include "ExifPhoto.h"
#include "ViewsWindow.h"
#include "platform/Globals.h"
#include "views/TPicView.h"
#include "views/TfrmRowse.h"

namespace pagora {
namespace {

using namespace test;

const QRgb kBright = qRgb(0, 170, 0);
const QRgb kDark = qRgb(0, 85, 0);

class ThumbnailBrowserTest : public ViewsTest {
  protected:
    void ToBrowser(int pictures, const std::string& album = ViewsPath()) {
        OpenViews(pictures, album);
        Key(Qt::Key_F11);
        SettleBrowser();
        ASSERT_EQ(ViewMode, 3);
        ASSERT_EQ(ActiveCanvas, &Browser().GetCanvas());
    }
    void BrowserKey(int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&Browser(), &press);
    }
    // The picture whose colour fills the cell's centre; 0 for the form's colour.
    int CellShows(int c) const {
        const QImage& cell = Browser().Cells[c]->BackBuffer();
        const QRgb pixel = cell.pixel(cell.width() / 2, cell.height() / 2);
        for (int k = 1; k <= kViewsPictures; ++k)
            if (Near(pixel, PageColour(k), 25))
                return k;
        EXPECT_EQ(pixel, Browser().Color().rgb()) << "cell " << c;
        return 0;
    }
    std::vector<int> Page() const {
        std::vector<int> shown;
        for (int c = 0; c < 20; ++c)
            shown.push_back(CellShows(c));
        return shown;
    }
    static std::vector<int> Pictures(int first, int last) {
        std::vector<int> shown(20, 0);
        for (int k = first; k <= last; ++k)
            shown[(k - 1) % 20] = k;
        return shown;
    }
    QRgb Frame(int c) const { return Browser().Cells[c]->BackBuffer().pixel(0, 0); }
    QString Counter() const { return Browser().lblTotalPage->text(); }
};

TEST_F(ThumbnailBrowserTest, TwentyPicturesMakeOnePage) {
    ToBrowser(20);
    EXPECT_EQ(Counter(), QStringLiteral("1/1"));
    EXPECT_TRUE(Browser().lblUp->isHidden());
    EXPECT_TRUE(Browser().lblDown->isHidden());
    EXPECT_FALSE(Browser().NUpPage->isEnabled());
    EXPECT_FALSE(Browser().NDownPage->isEnabled());
    EXPECT_EQ(Page(), Pictures(1, 20));
    // The toolbar may call the page commands whatever the links show.
    Browser().NDownPageClick();
    Browser().NUpPageClick();
    EXPECT_EQ(Browser().ThumbPage.load(), 1);
    EXPECT_EQ(Counter(), QStringLiteral("1/1"));
}

TEST_F(ThumbnailBrowserTest, TwentyOnePicturesMakeTwoPagesAndPagingBackDecodesNothing) {
    ToBrowser(21);
    EXPECT_EQ(Counter(), QStringLiteral("1/2"));
    EXPECT_FALSE(Browser().lblDown->isHidden());
    std::vector<const QImage*> previews;
    for (int k = 0; k < 20; ++k)
        previews.push_back(Browser().PicRecs.Get(k));

    BrowserKey(Qt::Key_PageDown);
    EXPECT_EQ(Counter(), QStringLiteral("2/2"));
    EXPECT_FALSE(Browser().lblUp->isHidden());
    EXPECT_TRUE(Browser().lblDown->isHidden());
    EXPECT_TRUE(Browser().NUpPage->isEnabled());
    EXPECT_FALSE(Browser().NDownPage->isEnabled());
    SettleBrowser();
    EXPECT_EQ(Page(), Pictures(21, 21));
    // Cells past the last picture: frames only, the arrow, no click.
    Mouse(Browser().Cells[7], QEvent::MouseMove, 20, 20);
    EXPECT_EQ(Browser().Cells[7]->cursor().shape(), Qt::ArrowCursor);
    Browser().CellClick(7);
    EXPECT_EQ(ViewMode, 3);
    Mouse(Browser().Cells[0], QEvent::MouseMove, 20, 20);
    EXPECT_EQ(Browser().Cells[0]->cursor().shape(), Qt::PointingHandCursor);

    // Back to page 1: its previews show at once, the very same ones.
    Browser().lblUpClick();
    EXPECT_EQ(Page(), Pictures(1, 20));
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ(Browser().PicRecs.Get(k), previews[k]) << k;
    EXPECT_EQ(Counter(), QStringLiteral("1/2"));
    EXPECT_TRUE(Browser().lblUp->isHidden());
    EXPECT_FALSE(Browser().NUpPage->isEnabled());
    SettleBrowser();
}

TEST_F(ThumbnailBrowserTest, APageChangedDuringAPassIsFilledAndSoIsTheOldOne) {
    OpenViews(30);
    Key(Qt::Key_F11);
    Browser().lblDownClick();  // the first page's pass has barely begun
    SettleBrowser();
    EXPECT_EQ(Page(), Pictures(21, 30));
    Browser().lblUpClick();
    SettleBrowser();
    EXPECT_EQ(Page(), Pictures(1, 20));
}

TEST_F(ThumbnailBrowserTest, TheFrameFollowsThePointerAndStaysAcrossPages) {
    ToBrowser(30);
    for (int c = 0; c < 20; ++c)
        EXPECT_EQ(Frame(c), kDark) << c;
    Mouse(Browser().Cells[3], QEvent::MouseMove, 10, 10);
    EXPECT_EQ(Frame(3), kBright);
    Mouse(Browser().Cells[7], QEvent::MouseMove, 10, 10);
    EXPECT_EQ(Frame(3), kDark);
    EXPECT_EQ(Frame(7), kBright);
    Browser().lblDownClick();
    EXPECT_EQ(Browser().HotCell.load(), 7);
    EXPECT_EQ(Frame(7), kBright);
    // Frames at the cell's edges, the preview inside.
    const QImage& cell = Browser().Cells[0]->BackBuffer();
    EXPECT_EQ(cell.size(), QSize(195, 164));
    EXPECT_EQ(cell.pixel(194, 163), kDark);
    EXPECT_NE(cell.pixel(1, 1), kDark);
    SettleBrowser();
}

struct HotCellCase {
    const char* Name;
    int Pictures;
    int HoverPage;  // 0: no hover at all
    int HoverCell;
    int Opened;
};

class FullScreenFromBrowserTest : public ThumbnailBrowserTest,
                                  public testing::WithParamInterface<HotCellCase> {};

TEST_P(FullScreenFromBrowserTest, OpensTheHotCellsPictureOrTheFirst) {
    const HotCellCase& c = GetParam();
    ToBrowser(c.Pictures);
    for (int page = 1; page < c.HoverPage; ++page)
        Browser().lblDownClick();
    if (c.HoverPage > 0)
        Mouse(Browser().Cells[c.HoverCell], QEvent::MouseMove, 10, 10);
    BrowserKey(Qt::Key_F12);
    Settle();
    EXPECT_EQ(ViewMode, 2);
    EXPECT_EQ(Viewer().Tag, 2);
    EXPECT_EQ(Viewer().PictureNo, c.Opened);
    EXPECT_EQ(ShownPicture(), c.Opened);
    EXPECT_TRUE(!Browser().Loader || Browser().Loader->Idle());
}

INSTANTIATE_TEST_SUITE_P(Cells, FullScreenFromBrowserTest,
                         testing::Values(HotCellCase{"BeforeAnyHoverThePictureOne", 30, 0, 0, 1},
                                         HotCellCase{"CellFiveOfPageTwo", 30, 2, 5, 26},
                                         HotCellCase{"CellFiveOfPageTwoPastTheEnd", 25, 2, 5, 1},
                                         HotCellCase{"LastCellOfPageOne", 25, 1, 19, 20}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ThumbnailBrowserTest, BadPreviewsLeaveEmptyCellsThatAreNotTriedAgain) {
    Album album = Without(ViewsAlbum(), "SmallPIC2.jpg");
    album = Replace(album, "SmallPIC3.jpg", NoiseBytes(3000));
    Bytes turnedNoise = {0xFF, 0xD8};
    const Bytes exif = ExifSegment(6, "", ""), noise = NoiseBytes(300);
    turnedNoise.insert(turnedNoise.end(), exif.begin(), exif.end());
    turnedNoise.insert(turnedNoise.end(), noise.begin(), noise.end());
    album = Replace(album, "SmallPIC4.jpg", turnedNoise);
    ToBrowser(6, Variant("bad-previews.kfa", album));
    EXPECT_EQ(Page(),
              (std::vector<int>{1, 0, 0, 0, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    for (int k : {1, 2, 3}) {
        EXPECT_TRUE(Browser().PicRecs.Has(k)) << k;
        EXPECT_EQ(Browser().PicRecs.Get(k), nullptr) << k;
    }
    // Shown again: nothing is left to make.
    BrowserKey(Qt::Key_F10);
    Key(Qt::Key_F11);
    SettleBrowser();
    EXPECT_EQ(CellShows(4), 5);
}

TEST_F(ThumbnailBrowserTest, TheBookShowRunsOnAndIsAsItWasOnTheWayBack) {
    OpenViews(5);
    book->NPlayClick();
    Key(Qt::Key_F11);
    EXPECT_TRUE(book->BookTimer.Enabled()) << "the hidden book keeps turning";
    BrowserKey(Qt::Key_F10);
    EXPECT_EQ(ViewMode, 1);
    EXPECT_EQ(ActiveCanvas, &book->GetCanvas());
    EXPECT_TRUE(book->BookTimer.Enabled());
    EXPECT_TRUE(book->NPlay->isChecked());
    SettleBrowser();  // it parks after the preview in hand

    book->NPlayClick();
    Key(Qt::Key_F11);
    BrowserKey(Qt::Key_F10);
    EXPECT_FALSE(book->BookTimer.Enabled());
    EXPECT_FALSE(book->NPlay->isChecked());
}

TEST_F(ThumbnailBrowserTest, WithoutPicturesTheFirstPageIsEmpty) {
    OpenViews(0);
    Browser().ShowBrowser();
    SettleBrowser();
    EXPECT_EQ(Counter(), QStringLiteral("1/0"));
    EXPECT_TRUE(Browser().lblDown->isHidden());
    EXPECT_FALSE(Browser().NDownPage->isEnabled());
    Browser().lblDownClick();
    Browser().NAllScreenClick();
    Browser().CellClick(0);
    EXPECT_EQ(Browser().ThumbPage.load(), 1);
    EXPECT_EQ(Page(), std::vector<int>(20, 0));
    EXPECT_EQ(Viewer().HasPicture, 0);
}

TEST_F(ThumbnailBrowserTest, MenuCaptionsIconsAndKeys) {
    ToBrowser(3);
    const std::vector<QString> chinese = {"相册浏览", "全屏浏览", "", "上一个", "下一个",
                                          "",         "配置",     "", "退出"};
    std::vector<QString> texts;
    for (const QAction* action : Browser().PopupMenu->actions())
        texts.push_back(action->text());
    EXPECT_EQ(texts, chinese);
    EXPECT_FALSE(Browser().NAlbumRowse->icon().isNull());
    Mouse(Browser().Cells[4], QEvent::MouseButtonPress, 5, 5, Qt::RightButton);
    EXPECT_TRUE(Browser().PopupMenu->isVisible());
    Browser().PopupMenu->hide();
    EXPECT_EQ(ViewMode, 3);
    // The panel sits in the bottom-right corner.
    EXPECT_EQ(Browser().PnlBottom->geometry(), QRect(1024 - 425, 768 - 48, 425, 48));
}

}  // namespace
}  // namespace pagora
