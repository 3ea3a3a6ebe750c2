// kfa view, as a file manager starts it: the container is checked before any
// window, then the viewer answers its own open-file dialog with the album.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "ViewerHarness.h"

namespace pagora {
namespace {

namespace fs = std::filesystem;
using namespace test;

constexpr const char* kDamaged = "像册文件可能已经被损坏，不能打开！";

class KfaViewTest : public ViewerTest {
  protected:
    static void SetUpTestSuite() { MakeBaseAlbum(); }
    static void TearDownTestSuite() { DropBaseAlbum(); }

    static ViewerRun View(const std::string& album, std::vector<std::string> options = {},
                          std::vector<std::string> environment = {}) {
        std::vector<std::string> arguments = {"view", album};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return Start({.Program = KFA_PATH, .Arguments = arguments, .Environment = environment});
    }
    static ViewerRun ViewWith(const std::string& album) {
        return View(album, {"--viewer", PAGORA_PATH});
    }
    // Refused by kfa: status 2 and the reason, and no viewer ever started.
    static void ExpectRefusedUnseen(const ViewerRun& run, const std::string& reason) {
        EXPECT_EQ(run.Process.Status, 2) << run.Log();
        EXPECT_NE(run.Process.Err.find(reason), std::string::npos) << run.Process.Err;
        EXPECT_TRUE(run.Lines.empty()) << run.Log();
    }
};

TEST_F(KfaViewTest, ShowsTheBookWithTheAlbumsTitleAndNoDialog) {
    // No answers: a dialog really asked would be cancelled and show nothing.
    const ViewerRun run = ViewWith(Path("book.kfa"));
    ExpectBookAndEscape(run);
    EXPECT_EQ(run.Values("title"), std::vector<std::string>{"相册观赏-book"});
    ExpectNoWorkFolderLeft(run);
}

TEST_F(KfaViewTest, WithoutAnAlbumTheDialogAsks) {
    const ViewerRun run = Start({.Program = KFA_PATH,
                                 .Arguments = {"view", "--viewer", PAGORA_PATH},
                                 .Answers = {"open:" + Path("book.kfa")}});
    ExpectBookAndEscape(run);
    EXPECT_EQ(run.Values("open-dialog"), std::vector<std::string>{"相册文件|*.kfa"});
}

TEST_F(KfaViewTest, ADamagedAlbumGetsTheViewersMessage) {
    const ViewerRun run = ViewWith(Variant("damaged.kfa", Without(*base_, "profile.dat")));
    ExpectRefused(run, kDamaged);
    EXPECT_EQ(run.Values("title"), std::vector<std::string>{"相册观赏-damaged"});
}

TEST_F(KfaViewTest, WhatIsNoAlbumEndsBeforeAnyWindow) {
    const std::string noise = Path("noise.kfa");
    WriteFile(noise, NoiseBytes(20000));
    const std::string empty = Path("empty.kfa");
    WriteFile(empty, {});
    ExpectRefusedUnseen(ViewWith(Path("absent.kfa")), "absent.kfa: cannot open");
    ExpectRefusedUnseen(ViewWith(dir_->Path()), "not a file");
    ExpectRefusedUnseen(ViewWith(noise), "noise.kfa");
    ExpectRefusedUnseen(ViewWith(empty), "empty.kfa");
    ExpectRefusedUnseen(ViewWith("/dev/zero"), "not a file");
    ExpectRefusedUnseen(View(Path("book.kfa"), {"--viewer", Path("no-viewer")}),
                        "no-viewer: cannot start");
    ExpectRefusedUnseen(View(Path("book.kfa"), {"--frobnicate"}), "unknown option");
}

TEST_F(KfaViewTest, ASelfContainedAlbumRunsAsItIsWhenItCarriesTheViewer) {
    const TempDir folder;
    const std::string bundled = folder.File("Holiday.run");
    ProcessResult made =
        RunProgram({KFA_PATH, "bundle", Path("book.kfa"), "-o", bundled, "--viewer", PAGORA_PATH});
    ASSERT_EQ(made.Status, 0) << made.Err;
    const ViewerRun run = ViewWith(bundled);
    ExpectBookAndEscape(run);
    EXPECT_FALSE(run.Has("open-dialog")) << run.Log();
    EXPECT_EQ(run.Values("title"), std::vector<std::string>{"相册观赏-Holiday"});

    // Another program with an album appended is not run: a file manager
    // would start whatever a stranger named .kfa.
    const std::string program = folder.File("program");
    Bytes bytes = ReadFile("/bin/true");
    bytes.insert(bytes.end(), 8, 0);
    WriteFile(program, bytes);
    const std::string stranger = folder.File("stranger.kfa");
    made = RunProgram({KFA_PATH, "bundle", Path("book.kfa"), "-o", stranger, "--viewer", program});
    ASSERT_EQ(made.Status, 0) << made.Err;
    ExpectRefusedUnseen(ViewWith(stranger), "runs only albums bundled");
}

// Copies of kfa: one with the viewer beside it, one without, which must
// find it on PATH (or nowhere, since relative entries do not count).
TEST_F(KfaViewTest, FindsTheViewerBesideItselfThenOnPath) {
    const TempDir folder;
    fs::create_directories(folder.File("bin"));
    fs::create_directories(folder.File("lone"));
    fs::create_directories(folder.File("path"));
    for (const char* copy : {"bin/kfa", "lone/kfa"})
        fs::copy_file(KFA_PATH, folder.File(copy));
    fs::copy_file(PAGORA_PATH, folder.File("bin/pagora"));
    fs::copy_file(PAGORA_PATH, folder.File("path/pagora"));
    auto from = [&](const std::string& kfa, const std::string& path) {
        return Start({.Program = folder.File(kfa),
                      .Arguments = {"view", Path("book.kfa")},
                      .Environment = {"PATH=" + path}});
    };
    ExpectBookAndEscape(from("bin/kfa", "/nowhere"));
    ExpectBookAndEscape(from("lone/kfa", "/nowhere:" + folder.File("path")));
    ExpectRefusedUnseen(from("lone/kfa", "/nowhere:relative"), "no viewer found");
}

}  // namespace
}  // namespace pagora
