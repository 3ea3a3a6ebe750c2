// The floating toolbar over the real book: its tabs cut from the window, the
// shape each view switch gives it, its buttons by view, its hints, and the
// exit and minimise it offers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QToolButton>

#include "BookWindow.h"
#include "archive/HotSpotRecord.h"
#include "platform/Globals.h"
#include "platform/MenuIcons.h"
#include "platform/Messages.h"
#include "platform/ToolbarPictures.h"
#include "shell/TPaintBoxXp.h"
#include "shell/TfrmToolbar.h"
#include "shell/ToolbarShape.h"
#include "views/TPicView.h"

namespace pagora {
namespace {

using namespace test;

struct MaskPoint {
    const char* Name;
    QPoint At;
    bool Left;   // inside with the left tab shown
    bool Right;  // inside the right tab, on a screen 1024 wide
};

class ToolbarMask : public testing::TestWithParam<MaskPoint> {};

TEST_P(ToolbarMask, PointsAreInsideTheirTabsOnly) {
    const MaskPoint& p = GetParam();
    EXPECT_EQ(ToolbarRegion(true, true, 1024).contains(p.At), p.Left || p.Right);
    EXPECT_EQ(ToolbarRegion(false, true, 1024).contains(p.At), p.Right);
    EXPECT_EQ(ToolbarRegion(true, false, 1024).contains(p.At), p.Left);
}

INSTANTIATE_TEST_SUITE_P(Toolbar, ToolbarMask,
                         testing::Values(MaskPoint{"LeftStrip", {10, 10}, true, false},
                                         MaskPoint{"BelowLeftStrip", {10, 21}, false, false},
                                         MaskPoint{"LeftCurve", {170, 5}, true, false},
                                         MaskPoint{"BelowLeftCurve", {170, 18}, false, false},
                                         MaskPoint{"PastLeftCurve", {186, 2}, false, false},
                                         MaskPoint{"RightStrip", {1010, 10}, false, true},
                                         MaskPoint{"RightCurve", {960, 2}, false, true},
                                         MaskPoint{"BelowRightCurve", {960, 15}, false, false},
                                         MaskPoint{"BeforeRightCurve", {950, 2}, false, false},
                                         MaskPoint{"ImageRight", {600, 10}, false, false}),
                         [](const testing::TestParamInfo<MaskPoint>& info) {
                             return std::string(info.param.Name);
                         });

TEST(ToolbarGlyphs, NineDistinctGlyphsSharingTheMenusDrawings) {
    ASSERT_EQ(ToolbarGlyphs().size(), size_t(kToolbarGlyphCount));
    std::vector<QImage> glyphs;
    for (int i = 0; i < kToolbarGlyphCount; ++i) {
        glyphs.push_back(DrawToolbarGlyph(i, 16));
        EXPECT_FALSE(ToolbarGlyphs()[i].isNull()) << i;
        for (int k = 0; k < i; ++k)
            EXPECT_NE(glyphs[k], glyphs[i]) << k << " and " << i;
    }
    EXPECT_EQ(glyphs[kGlyphExit], DrawMenuIcon(kIconExit, 16));
    EXPECT_EQ(glyphs[kGlyphPrevious], DrawMenuIcon(kIconBack, 16));
    EXPECT_EQ(DrawToolbarPicture(ToolbarPicture::CoolBarLeft, ScreenScale(2)).size(),
              QSize(410, 52));
}

Bytes NoSpots(int) {
    return WriteHotSpots({});
}

class ToolbarTest : public BookWindowTest {
  protected:
    static void SetUpTestSuite() { SetUpBook(6, NoSpots); }
    static void TearDownTestSuite() { TearDownBook(); }

    void SetUp() override {
        ClearEndedLoops();
        toolbar = std::make_unique<TfrmToolbar>();
        ToolbarForm = toolbar.get();
        Open(6, 0);
    }
    void TearDown() override {
        BookWindowTest::TearDown();
        ToolbarForm = nullptr;
        toolbar.reset();
        LanguageFlag = 0;
    }

    std::unique_ptr<TfrmToolbar> toolbar;
};

TEST_F(ToolbarTest, TheBookShowsItAndEachViewSwitchShapesIt) {
    EXPECT_TRUE(toolbar->Shown());
    EXPECT_EQ(toolbar->geometry(), QRect(0, 0, 1024, 23));
    EXPECT_EQ(toolbar->CoolbarRight->geometry(), QRect(1024 - 117, -4, 125, 28));
    EXPECT_EQ(toolbar->CoolBarLeft->geometry(), QRect(-6, -5, 205, 26));
    EXPECT_EQ(toolbar->ImageRight->geometry(), QRect(567, 0, 121, 27));
    EXPECT_FALSE(toolbar->mask().intersects(toolbar->ImageRight->geometry()));
    EXPECT_FALSE(toolbar->LeftTab());
    EXPECT_EQ(toolbar->mask(), ToolbarRegion(false, true, 1024));

    Key(Qt::Key_F12);  // the book opens the picture viewer
    EXPECT_EQ(ViewMode, 2);
    EXPECT_TRUE(toolbar->LeftTab());
    EXPECT_TRUE(toolbar->RightTab());
    EXPECT_EQ(toolbar->mask(), ToolbarRegion(true, true, 1024));

    ViewMode = 1;
    Key(Qt::Key_F11);  // the book's thumbnails
    EXPECT_EQ(ViewMode, 3);
    EXPECT_FALSE(toolbar->LeftTab());
    EXPECT_EQ(toolbar->mask(), ToolbarRegion(false, true, 1024));
}

TEST_F(ToolbarTest, PageButtonsActOnTheViewInFront) {
    ASSERT_EQ(book->CurrentPage, 0);
    ViewMode = 0;
    toolbar->ToolBtnDown->click();
    EXPECT_EQ(book->CurrentPage, 0) << "no view in front";
    ViewMode = 1;
    toolbar->ToolBtnDown->click();
    EXPECT_EQ(book->CurrentPage, 2);
    toolbar->ToolBtnDown->click();
    EXPECT_EQ(book->CurrentPage, 4);
    toolbar->ToolbtnUp->click();
    EXPECT_EQ(book->CurrentPage, 2);
    // The other views' commands are theirs; the book's spread stays.
    for (const int mode : {2, 3}) {
        ViewMode = mode;
        toolbar->ToolBtnDown->click();
        toolbar->ToolbtnUp->click();
        EXPECT_EQ(book->CurrentPage, 2);
    }
}

TEST_F(ToolbarTest, NeitherTheWindowNorItsButtonsTakeTheFocus) {
    EXPECT_TRUE(toolbar->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(toolbar->windowFlags() & Qt::WindowStaysOnTopHint);
    const auto buttons = toolbar->findChildren<QToolButton*>();
    EXPECT_EQ(buttons.size(), 10);
    for (QToolButton* button : buttons)
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus) << button->toolTip().toStdString();
    book->activateWindow();
    book->setFocus();
    ProcessMessages();
    QWidget* focused = QApplication::focusWidget();
    ViewMode = 1;
    toolbar->ToolBtnDown->click();
    EXPECT_EQ(QApplication::focusWidget(), focused);
    EXPECT_TRUE(toolbar->tbtnMagnifier->isCheckable());
    toolbar->tbtnMagnifier->click();
    EXPECT_TRUE(toolbar->MagnifierDown());
}

TEST_F(ToolbarTest, HintsInBothLanguagesKeepTheMagnifiersChinese) {
    const std::vector<std::tuple<QToolButton*, const char*, const char*>> hints = {
        {toolbar->ToolButton1, "最小化", "Minimized"},
        {toolbar->ToolButton2, "退出相册", "Exit"},
        {toolbar->ToolButton7, "相册浏览（F10）", "Album rowse(F10)"},
        {toolbar->ToolButton8, "缩略图浏览（F11）", "Small Pic Rowse(F11)"},
        {toolbar->tbtnMagnifier, "放大镜", "放大镜"},
        {toolbar->ToolbtnUp, "上一页（PgUp）", "Previous(PgUp)"},
        {toolbar->ToolBtnDown, "下一页（PgDn）", "Next(PgDn)"},
        {toolbar->ToolBtnPlay, "自动播放（Ctrl-P）", "Auto Play(Ctrl - P)"},
    };
    for (const auto& [button, chinese, english] : hints)
        EXPECT_EQ(button->toolTip().toStdString(), chinese);
    LanguageFlag = 1;
    TfrmToolbar english;
    const std::vector<QToolButton*> buttons = {
        english.ToolButton1,   english.ToolButton2, english.ToolButton7, english.ToolButton8,
        english.tbtnMagnifier, english.ToolbtnUp,   english.ToolBtnDown, english.ToolBtnPlay};
    for (size_t i = 0; i < hints.size(); ++i)
        EXPECT_EQ(buttons[i]->toolTip().toStdString(), std::get<2>(hints[i]));
    EXPECT_FALSE(english.ToolButton4->isEnabled());
    EXPECT_TRUE(english.ToolButton4->toolTip().isEmpty());
}

TEST_F(ToolbarTest, ThePlayButtonShowsWhetherTheViewersShowRuns) {
    bool playing = false;
    int toggles = 0;
    ToolbarTargets targets = book->ToolbarCommands();
    targets.ViewerPlay = [&] {
        playing = !playing;
        ++toggles;
    };
    targets.ViewerPlaying = [&] { return playing; };
    toolbar->SetTargets(targets);
    toolbar->ToolBtnPlay->click();
    EXPECT_EQ(toggles, 1);
    EXPECT_TRUE(toolbar->ToolBtnPlay->isChecked());
    // Leaving the viewer stops its show; the next shape shows it off.
    playing = false;
    toolbar->SetToolbarShape(false, true);
    EXPECT_FALSE(toolbar->ToolBtnPlay->isChecked());
}

TEST_F(ToolbarTest, ExitWipesTheViewInFrontAndEndsWithStatusZero) {
    Form mainForm;
    mainForm.show();
    MainForm = &mainForm;
    ActiveCanvas = &book->GetCanvas();
    QTimer::singleShot(0, [this] { toolbar->ToolButton2->click(); });
    QEventLoop loop;
    EXPECT_EQ(loop.exec(), 0);
    EXPECT_FALSE(mainForm.isVisible());
    const QImage& screen = book->GetCanvas().Image();
    for (const QPoint p : {QPoint(0, 0), QPoint(512, 384), QPoint(1023, 767)})
        EXPECT_EQ(screen.pixel(p), qRgb(0, 0, 0)) << p.x() << "," << p.y();
    MainForm = nullptr;
    ClearEndedLoops();
}

TEST_F(ToolbarTest, MinimisingTakesEveryWindowAndARestoredViewBringsItBack) {
    toolbar->ToolButton1->click();
    ProcessMessages();
    EXPECT_TRUE(book->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(toolbar->windowState() & Qt::WindowMinimized);
    book->showFullScreen();
    ProcessMessages();
    EXPECT_FALSE(toolbar->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(toolbar->isVisible());
}

}  // namespace
}  // namespace pagora
