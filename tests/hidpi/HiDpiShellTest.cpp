// The skinned options dialog and the toolbar on a scaled screen keep their
// physical size: their canvases are in device pixels, their fixed sizes
// scaled once.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QToolButton>

#include "HiDpiScreen.h"
#include "platform/MediaPlayer.h"
#include "platform/Messages.h"
#include "platform/Timer.h"
#include "shell/SkinPainter.h"
#include "shell/SkinPictures.h"
#include "shell/TButtonXp.h"
#include "shell/TPaintBoxXp.h"
#include "shell/TfrmOption.h"
#include "shell/TfrmToolbar.h"
#include "shell/ToolbarShape.h"

namespace pagora {
namespace {

using namespace test;

TEST(HiDpiShell, TheOptionsDialogDrawsItsSkinInDevicePixels) {
    const ScreenScale scale(TestScreen().Ratio);
    int32_t turn = 900;
    Timer timer;
    uint8_t music = 1, rang = 1;
    MediaPlayer player;
    OptionTarget target;
    target.AlbumName = "Album";
    target.TurnTime = &turn;
    target.BookTimer = &timer;
    target.BackMusicOn = &music;
    target.BackRangOn = &rang;
    target.Player = &player;
    QTemporaryDir folder;
    TfrmOption dialog(nullptr, target, folder.filePath("registry.ini").toStdString());
    dialog.SetLooksActive(true);
    dialog.show();
    ProcessMessages();

    const QImage& form = dialog.BackBuffer();
    EXPECT_EQ(form.size(), scale.DeviceSize(QSize(416, 252)));
    EXPECT_EQ(dialog.TitleBox()->BackBuffer().height(), scale.Scaled(kTitleHeight));
    EXPECT_EQ(dialog.CloseButton()->BackBuffer().size(), scale.DeviceSize(QSize(21, 21)));
    EXPECT_EQ(dialog.ButtonXp()->Entries()[2].Box->BackBuffer().size(),
              scale.DeviceSize(QSize(67, 22)));
    // The frame: three design pixels on each side, as many device pixels as
    // they cover; the form's ground inside.
    const QRgb frame = FrameColor(Skin(scale), scale, true).rgb();
    const int mid = form.height() / 2;
    for (int x = 0; x < scale.Scaled(3); ++x) {
        EXPECT_EQ(form.pixel(x, mid), frame) << x;
        EXPECT_EQ(form.pixel(form.width() - 1 - x, mid), frame) << x;
    }
    EXPECT_EQ(form.pixel(scale.Scaled(3), mid), dialog.Color.rgb());
    EXPECT_EQ(Skin(scale).Title.size(), scale.DeviceSize(QSize(32, 28)));
}

TEST(HiDpiShell, TheToolbarsTabsAndGlyphsKeepTheirSize) {
    const HiDpiScreen screen = TestScreen();
    const ScreenScale scale(screen.Ratio);
    TfrmToolbar toolbar;
    toolbar.ShowToolbar();
    ProcessMessages();
    // Laid out in logical pixels across the screen; its buffer in device pixels.
    EXPECT_EQ(toolbar.BackBuffer().width(), screen.Width);
    EXPECT_EQ(toolbar.mask(), ToolbarRegion(false, true, toolbar.width()));
    EXPECT_EQ(toolbar.CoolBarLeft->BackBuffer().size(), scale.DeviceSize(QSize(205, 26)));
    const QIcon icon = toolbar.ToolButton2->icon();
    EXPECT_TRUE(icon.availableSizes().contains(QSize(scale.Scaled(16), scale.Scaled(16))));
}

}  // namespace
}  // namespace pagora
