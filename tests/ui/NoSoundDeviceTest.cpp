// The real viewer where SDL has no sound device: a book with music and a turn
// sound is read through silently, without a message.
#include <gtest/gtest.h>

#include "ViewerHarness.h"
#include "archive/AlbumProfile.h"
#include "archive/MemberNames.h"

namespace pagora {
namespace {

using namespace test;

class NoSoundDeviceTest : public ViewerTest {
  protected:
    static void SetUpTestSuite() { MakeBaseAlbum(); }
    static void TearDownTestSuite() { DropBaseAlbum(); }
};

TEST_F(NoSoundDeviceTest, ABookWithMusicIsReadThroughSilently) {
    ProfileMember profile = ReadProfile(Find(kProfileMember));
    profile.Profile.MusicName = "A.wav";
    profile.MusicList = {"B.wav"};
    Album album = With(*base_, kProfileMember, WriteProfile(profile));
    album = With(album, "A.wav", ToneWav(0.2, 440));
    album = With(album, "B.wav", ToneWav(0.2, 300));
    Launch launch;
    launch.AudioDriver = "no-such-driver";
    launch.Then = "read";
    launch.Settings = "[Test album]\nTurnTime=40\n";
    const ViewerRun run = Open(Variant("music.kfa", album), launch);
    ExpectCleanEnd(run);
    EXPECT_EQ(run.Process.Status, 0) << run.Log();
    EXPECT_TRUE(run.Has("read")) << run.Log();
    EXPECT_TRUE(run.Values("message").empty()) << run.Log();
}

}  // namespace
}  // namespace pagora
