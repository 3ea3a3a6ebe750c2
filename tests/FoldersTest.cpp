#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "TestFiles.h"
#include "archive/AtomicFile.h"
#include "gfx/Folders.h"
#include "gfx/Sound.h"

namespace pagora {
namespace {

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old, had_ = true;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

TEST(FoldersTest, WorkFolderIsPrivateCanonicalAndRemovedWithItsContents) {
    test::TempDir temp;
    ScopedEnv tmpdir("TMPDIR", temp.Path() + "//");
    RemoveWorkFolder();
    std::string folder = WorkFolder();
    EXPECT_EQ(folder, WorkFolder());  // one per run
    EXPECT_EQ(folder.rfind(temp.Path() + "/pagora-", 0), 0u) << folder;
    EXPECT_NE(folder.back(), '/');
    struct stat st {};
    ASSERT_EQ(lstat(folder.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // A link inside pointing out of the folder goes, its target stays.
    std::string outside = temp.File("keep.txt");
    test::WriteFile(outside, test::TextBytes("keep"));
    ASSERT_EQ(symlink(outside.c_str(), (folder + "/link").c_str()), 0);
    ASSERT_EQ(mkdir((folder + "/sub").c_str(), 0700), 0);
    test::WriteFile(folder + "/sub/file", test::TextBytes("x"));
    RemoveWorkFolder();
    EXPECT_NE(access(folder.c_str(), F_OK), 0);
    EXPECT_EQ(test::ReadFile(outside), test::TextBytes("keep"));
}

TEST(FoldersTest, FilesAreWrittenWithoutFollowingAPlantedLink) {
    test::TempDir temp;
    ScopedEnv tmpdir("TMPDIR", temp.Path());
    RemoveWorkFolder();
    std::string folder = WorkFolder();
    std::string victim = temp.File("victim");
    test::WriteFile(victim, test::TextBytes("untouched"));
    ASSERT_EQ(symlink(victim.c_str(), (folder + "/SndEffect.wav").c_str()), 0);
    {
        AtomicFile file(folder + "/SndEffect.wav");
        file.Out().Write("RIFF", 4);
        file.Commit();
    }
    EXPECT_EQ(test::ReadFile(victim), test::TextBytes("untouched"));
    EXPECT_EQ(test::ReadFile(folder + "/SndEffect.wav"), test::TextBytes("RIFF"));
    RemoveWorkFolder();
}

TEST(FoldersTest, UnusableTempFolderIsAnError) {
    ScopedEnv tmpdir("TMPDIR", "/nonexistent/folder");
    RemoveWorkFolder();
    EXPECT_THROW(WorkFolder(), FolderError);
}

TEST(FoldersTest, ConfigFolderFollowsXdgThenHome) {
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/x/config");
        EXPECT_EQ(WindowsFolder(), "/x/config");
    }
    ScopedEnv xdg("XDG_CONFIG_HOME", "");
    ScopedEnv home("HOME", "/home/someone/");
    EXPECT_EQ(WindowsFolder(), "/home/someone/.config");
}

TEST(SoundTest, DummyDriverCountsAsADevice) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    EXPECT_TRUE(SoundDevicePresent());
}

}  // namespace
}  // namespace pagora
