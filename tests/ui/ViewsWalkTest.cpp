// The real viewer walking through the other views by itself: the picture
// viewer and its steps, the browser and its pages, a cell, back to the book,
// and Esc while both loaders are at work; under the sanitizers this is the
// run that must stay clean.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ViewerHarness.h"
#include "gfx/PictureFile.h"

namespace pagora {
namespace {

using namespace test;

constexpr int kPictures = 25;

class ViewsWalkTest : public ViewerTest {
  protected:
    static void SetUpTestSuite() {
        MakeBaseAlbum();
        std::vector<std::string> make = {KFA_PATH, "make"};
        for (int k = 1; k <= kPictures; ++k) {
            const std::string photo = Path("walk" + std::to_string(k) + ".jpg");
            WriteFile(photo, EncodeJpeg(Photo(k), 85));
            make.push_back(photo);
        }
        make.insert(make.end(), {"-o", Path("walk.kfa"), "--name", "Walk", "--screen", "1024x768"});
        const ProcessResult made = RunProgram(make);
        ASSERT_EQ(made.Status, 0) << made.Err;
    }
    static void TearDownTestSuite() { DropBaseAlbum(); }
};

TEST_F(ViewsWalkTest, StepsPagesACellBackAndEscWhileTheLoadersWork) {
    Launch launch;
    launch.Then = "views";
    launch.Settings = "[Walk]\nTurnTime=40\n";
    const ViewerRun run = Open(Path("walk.kfa"), launch);
    ExpectCleanEnd(run);
    EXPECT_EQ(run.Process.Status, 0) << run.Log();
    std::string steps = "steps";
    for (int k = 2; k <= kPictures; ++k)
        steps += " " + std::to_string(k);
    steps += " 1 2 1 25";
    EXPECT_EQ(run.Values("views"),
              (std::vector<std::string>{"open 1 mode 2", steps, "browser mode 3 1/2 2/2 1/2",
                                        "cell 2 mode 2", "back mode 1"}))
        << run.Log();
    EXPECT_TRUE(run.Has("exit")) << run.Log();
    EXPECT_TRUE(run.Values("message").empty()) << run.Log();
}

}  // namespace
}  // namespace pagora
