// The real viewer reading a whole book on screens of several shapes: every
// turn, the pointer over every spread, jumps along the stacks, and Esc in the
// middle of a turn; under the sanitizers this is the run that must stay clean.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BookWindow.h"
#include "archive/AlbumProfile.h"
#include "archive/HotSpotRecord.h"
#include "archive/MemberNames.h"
#include "gfx/PictureFile.h"

namespace pagora {
namespace {

using namespace test;

constexpr int kPages = 12;

class ReadingRunTest : public ViewerTest {
  protected:
    static void SetUpTestSuite() {
        MakeBaseAlbum();
        Album album = *base_;
        HotSpotRecord spot;
        spot.Width = 200;
        spot.Height = 150;
        spot.PictureName = "PIC1.jpg";
        spot.Title = "A title";
        spot.Description = std::string(255, 'x');
        for (int page = 1; page <= kPages; ++page) {
            album =
                Put(album, PagePictureName(page), EncodeJpeg(Plain(64, 48, PageColour(page)), 90));
            album = Put(album, PageInfoName(page), WriteHotSpots({spot}));
        }
        ProfileMember profile = ReadProfile(Find(kProfileMember));
        profile.Profile.PageCount = kPages;
        album = With(album, kProfileMember, WriteProfile(profile));
        WriteAlbum(Path("reading.kfa"), album);
    }
    static void TearDownTestSuite() { DropBaseAlbum(); }
};

TEST_F(ReadingRunTest, EveryTurnHoverAndJumpOnScreensOfEveryShape) {
    for (auto [width, height] : {std::pair{640, 480}, {1024, 768}, {1920, 1080}, {1080, 1920}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        Launch launch;
        launch.Width = width;
        launch.Height = height;
        launch.Then = "read";
        launch.Opening = true;
        launch.Settings = "[Test album]\nTurnTime=40\n";
        const ViewerRun run = Open(Path("reading.kfa"), launch);
        ExpectCleanEnd(run);
        EXPECT_EQ(run.Process.Status, 0) << run.Log();
        EXPECT_EQ(run.Values("read"),
                  (std::vector<std::string>{"forward 7 14", "back 7 0", "jumps 12 0"}))
            << run.Log();
        EXPECT_TRUE(run.Has("exit")) << run.Log();
        EXPECT_TRUE(run.Values("message").empty()) << run.Log();
    }
}

}  // namespace
}  // namespace pagora
