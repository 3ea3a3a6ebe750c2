// End-to-end runs of the real viewer on a good album and on albums it must
// refuse: progress, layout, the first painted book, passwords and languages.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "ViewerHarness.h"
#include "archive/AlbumProfile.h"
#include "archive/VersionResource.h"

namespace pagora {
namespace {

namespace fs = std::filesystem;
using namespace test;

constexpr const char* kWrongPassword = "密码输入有误，请重新输入！";
constexpr const char* kWrongPasswordEnglish =
    "The password you typed is incorrect.Please retype your password.";
constexpr const char* kDamaged = "像册文件可能已经被损坏，不能打开！";
constexpr const char* kDamagedEnglish = "The file may have already been damage！";
constexpr const char* kPassword = "Abc1";

class StartUpTest : public ViewerTest {
  protected:
    static void SetUpTestSuite() {
        MakeBaseAlbum();
        ProfileMember profile = ReadProfile(Find("profile.dat"));
        profile.Profile.Password = kPassword;
        WriteAlbum(Path("secret.kfa"), With(*base_, "profile.dat", WriteProfile(profile)));
    }
    static void TearDownTestSuite() { DropBaseAlbum(); }

    static void ExpectProgressSequence(const ViewerRun& run) {
        std::vector<int> percents;
        std::vector<double> times;
        for (const std::string& value : run.Values("progress")) {
            std::istringstream words(value);
            int percent = -1;
            double ms = -1;
            words >> percent >> ms;
            percents.push_back(percent);
            times.push_back(ms);
        }
        EXPECT_EQ(percents, (std::vector<int>{0, 2, 20, 40, 60, 75, 90, 100})) << run.Log();
        EXPECT_TRUE(std::is_sorted(times.begin(), times.end())) << run.Log();
        // Painting comes after the splash has reached 100.
        auto index = [&](const std::string& start) {
            return std::find_if(run.Lines.begin(), run.Lines.end(),
                                [&](const std::string& l) { return l.rfind(start, 0) == 0; }) -
                   run.Lines.begin();
        };
        EXPECT_LT(index("progress 100"), index("painted")) << run.Log();
    }

    // The first painted book: the tiled background everywhere but on the
    // closed book, the cover on the right page, bevelled.
    static void ExpectBookPixels(const ViewerRun& run, const std::map<std::string, int>& layout) {
        const QImage& shot = run.Snapshot;
        ASSERT_FALSE(shot.isNull()) << "no snapshot";
        const int PW = layout.at("PageWidth"), PH = layout.at("PageHeight");
        const int X = layout.at("RightPageX"), Y = layout.at("PageY");
        const int S = layout.at("RightStack"), D = layout.at("ShadeDepth");

        // Around the closed book (its stack reaches right and down).
        const QRect book(QPoint(X - 2, Y - 3), QPoint(X + PW + S + 24, Y + PH + S + 24));
        const QImage tile = TilePicture();
        const int tw = tile.width(), th = tile.height();
        int misplaced = 0, unlike = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                if (book.contains(x, y))
                    continue;
                if (shot.pixel(x, y) != shot.pixel(x % tw, y % th))
                    ++misplaced;
                if (!Near(shot.pixel(x, y), tile.pixel(x % tw, y % th), 16))
                    ++unlike;
            }
        EXPECT_EQ(misplaced, 0) << "background pixels that break the tile's period";
        EXPECT_EQ(unlike, 0) << "background pixels unlike the album's tile";
        for (int y = 0; y < shot.height(); ++y)
            ASSERT_EQ(shot.pixel(X - 3, y), shot.pixel((X - 3) % tw, y % th)) << "row " << y;

        // Inside the bevel and right of the hinge groove: the cover picture.
        const QImage cover =
            CoverPicture().scaled(PW, PH, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const int clearOfGroove = PW / 16;
        int differing = 0, compared = 0;
        for (int y = D; y < PH - D; y += 3)
            for (int x = clearOfGroove; x < PW - D; x += 3) {
                ++compared;
                if (!Near(shot.pixel(X + x, Y + y), cover.pixel(x, y), 16))
                    ++differing;
            }
        EXPECT_GT(compared, 1000);
        EXPECT_EQ(differing, 0) << "of " << compared << " cover pixels";

        // The bevel: top and left rings lighter, bottom and right rings darker.
        for (int j = 0; j < D; ++j) {
            const int mx = PW / 2, my = PH / 2;
            EXPECT_GT(Brightness(shot.pixel(X + mx, Y + j)), Brightness(cover.pixel(mx, j)) + 40)
                << "top ring " << j;
            EXPECT_GT(Brightness(shot.pixel(X + j, Y + my)), Brightness(cover.pixel(j, my)) + 40)
                << "left ring " << j;
            EXPECT_LT(Brightness(shot.pixel(X + mx, Y + PH - 1 - j)),
                      Brightness(cover.pixel(mx, PH - 1 - j)) - 40)
                << "bottom ring " << j;
            EXPECT_LT(Brightness(shot.pixel(X + PW - 1 - j, Y + my)),
                      Brightness(cover.pixel(PW - 1 - j, my)) - 40)
                << "right ring " << j;
        }
    }
};

TEST_F(StartUpTest, OpensTheBookAt1024x768) {
    const ViewerRun run = Open(Path("book.kfa"), {.Snapshot = true});
    ExpectBookAndEscape(run);
    EXPECT_EQ(run.Values("open-dialog"), std::vector<std::string>{"相册文件|*.kfa"});
    EXPECT_EQ(run.Values("title"), std::vector<std::string>{"相册观赏-book"});
    ExpectProgressSequence(run);
    ASSERT_EQ(run.Values("layout").size(), 1u) << run.Log();
    const auto layout = ParseLayout(run.Values("layout")[0]);
    const std::map<std::string, int> expected = {
        {"PageWidth", 493},  {"PageHeight", 608}, {"PageY", 80},     {"LeftPageX", 19},
        {"RightPageX", 512}, {"RightStack", 16},  {"ShadeDepth", 5}, {"PicWidth", 451},
        {"PicHeight", 579},  {"LabelTop", 726}};
    EXPECT_EQ(layout, expected);
    ExpectBookPixels(run, layout);
    ExpectNoWorkFolderLeft(run);
}

TEST_F(StartUpTest, OpensTheBookAt1920x1080) {
    const ViewerRun run = Open(Path("book.kfa"), {.Width = 1920, .Height = 1080, .Snapshot = true});
    ExpectBookAndEscape(run);
    ExpectProgressSequence(run);
    ASSERT_EQ(run.Values("layout").size(), 1u) << run.Log();
    const auto layout = ParseLayout(run.Values("layout")[0]);
    // 922.5 rounds to even; s = 1.35, so the stack's 13.5 does too.
    const std::map<std::string, int> expected = {
        {"PageWidth", 922},  {"PageHeight", 855}, {"PageY", 112},    {"LeftPageX", 38},
        {"RightPageX", 960}, {"RightStack", 14},  {"ShadeDepth", 4}, {"PicWidth", 845},
        {"PicHeight", 814},  {"LabelTop", 1020}};
    EXPECT_EQ(layout, expected);
    ASSERT_EQ(run.Snapshot.size(), QSize(1920, 1080));
    ExpectBookPixels(run, layout);
}

TEST_F(StartUpTest, MakerBesideTheViewerMustBeVersion146) {
    const std::string album = Path("book.kfa");
    auto viewerWith = [](const std::string& folder, const Bytes* maker) {
        fs::create_directories(folder);
        const std::string viewer = folder + "/pagora";
        fs::copy_file(PAGORA_PATH, viewer, fs::copy_options::overwrite_existing);
        if (maker != nullptr)
            test::WriteFile(folder + "/Quillsmith.exe", *maker);
        return viewer;
    };
    const test::TempDir folders;

    const ViewerRun missing =
        Start({.Program = viewerWith(folders.File("none"), nullptr), .Arguments = {album}});
    ExpectRefused(missing, "can't find main application!");
    EXPECT_FALSE(missing.Has("open-dialog"));

    for (const auto& [minor, name] : {std::pair{45, "1.45"}, std::pair{460, "1.460"}}) {
        const Bytes maker = MakeVersionedExecutable(1, minor);
        const ViewerRun wrong =
            Start({.Program = viewerWith(folders.File(name), &maker), .Arguments = {album}});
        ExpectRefused(wrong, "The application is error!");
    }

    // Not an executable at all: the version text is "0.00".
    const Bytes junk = test::TextBytes("MZ but nothing more");
    ExpectRefused(Start({.Program = viewerWith(folders.File("junk"), &junk), .Arguments = {album}}),
                  "The application is error!");

    // Only the first argument names the album.
    const Bytes maker = MakeVersionedExecutable(1, 46);
    const ViewerRun right = Start({.Program = viewerWith(folders.File("right"), &maker),
                                   .Arguments = {album, Path("no-such-album.kfa")}});
    ExpectBookAndEscape(right);
    EXPECT_FALSE(right.Has("open-dialog"));
    EXPECT_EQ(right.Values("title"), std::vector<std::string>{"相册观赏-book"});
}

TEST_F(StartUpTest, CancelledDialogEndsQuietly) {
    for (const char* answer : {"open:", ""}) {
        const ViewerRun run = Start({.Answers = {answer}});
        ExpectCleanEnd(run);
        EXPECT_EQ(run.Process.Status, 0) << run.Log();
        EXPECT_TRUE(run.Has("open-dialog")) << run.Log();
        EXPECT_TRUE(run.Values("message").empty()) << run.Log();
        EXPECT_FALSE(run.Has("title")) << run.Log();
        EXPECT_FALSE(run.ShowedBook()) << run.Log();
    }
}

TEST_F(StartUpTest, AlbumWithoutAWholeProfileIsDamaged) {
    const Bytes& profile = Find("profile.dat");
    ASSERT_GE(profile.size(), 172u);
    const std::string missing = Variant("no-profile.kfa", Without(*base_, "profile.dat"));
    const std::string shorter =
        Variant("short-profile.kfa",
                With(*base_, "profile.dat", Bytes(profile.begin(), profile.begin() + 171)));
    const std::string empty = Variant("empty-profile.kfa", With(*base_, "profile.dat", {}));
    for (const std::string& album : {missing, shorter, empty}) {
        ExpectRefused(Open(album), kDamaged);
        ExpectRefused(Open(album, {.English = true}), kDamagedEnglish);
    }
}

TEST_F(StartUpTest, AlbumThatCannotBeReadIsNamedInTheMessage) {
    const std::string noise = Path("noise.kfa");
    test::WriteFile(noise, test::NoiseBytes(20000));
    const std::string cut = Path("cut.kfa");
    const Bytes whole = test::ReadFile(Path("book.kfa"));
    test::WriteFile(cut, Bytes(whole.begin(), whole.begin() + whole.size() / 2));
    for (const std::string& album : {Path("absent.kfa"), noise, cut, dir_->Path()}) {
        const ViewerRun run = Open(album);
        ExpectCleanEnd(run);
        EXPECT_NE(run.Process.Status, 0) << run.Log();
        ASSERT_EQ(run.Values("message").size(), 1u) << run.Log();
        EXPECT_NE(run.Values("message")[0].find(album), std::string::npos) << run.Log();
        EXPECT_FALSE(run.ShowedBook()) << run.Log();
    }
}

TEST_F(StartUpTest, MissingOrUndecodableBookPictureEndsWithTheDecodersMessage) {
    const Bytes garbage = test::NoiseBytes(3000, 7);
    Bytes cutCover = Find("Cover.jpg");
    cutCover.resize(40);
    const struct {
        const char* Name;
        Album Variant;
    } cases[] = {
        {"Cover.jpg", Without(*base_, "Cover.jpg")},
        {"Cover.jpg", With(*base_, "Cover.jpg", garbage)},
        {"Cover.jpg", With(*base_, "Cover.jpg", cutCover)},
        {"LeftPage.jpg", With(*base_, "LeftPage.jpg", garbage)},
        {"CoverBack.jpg", Without(*base_, "CoverBack.jpg")},
        {"RightPage.jpg", With(*base_, "RightPage.jpg", garbage)},
        {"back.jpg", Without(*base_, "back.jpg")},
        {"back.jpg", With(*base_, "back.jpg", garbage)},
    };
    int k = 0;
    for (const auto& c : cases) {
        const ViewerRun run = Open(Variant("pictures" + std::to_string(++k) + ".kfa", c.Variant));
        SCOPED_TRACE(c.Name + std::string(" case ") + std::to_string(k));
        ExpectCleanEnd(run);
        EXPECT_NE(run.Process.Status, 0) << run.Log();
        const auto messages = run.Values("message");
        ASSERT_EQ(messages.size(), 1u) << run.Log();
        EXPECT_NE(messages[0].find(c.Name), std::string::npos) << run.Log();
        EXPECT_FALSE(run.Has("painted")) << run.Log();
        ExpectNoWorkFolderLeft(run);
    }
}

TEST_F(StartUpTest, RightPasswordOpensTheBook) {
    const ViewerRun run =
        Open(Path("secret.kfa"), {.Answers = {std::string("password:") + kPassword}});
    EXPECT_EQ(run.Values("password-prompt"),
              std::vector<std::string>{"相册登陆|密码：|确定(&O)|取消(&C)"});
    ExpectBookAndEscape(run);
    EXPECT_FALSE(run.Has("password-kept"));

    // No password in the profile: no prompt.
    EXPECT_FALSE(Open(Path("book.kfa")).Has("password-prompt"));
}

TEST_F(StartUpTest, WrongPasswordsAreRefusedAndKeptUntilTheRightOne) {
    const ViewerRun run =
        Open(Path("secret.kfa"), {.Answers = {"password:abc1", "password:Abc1 ", "password:ABC1",
                                              std::string("password:") + kPassword}});
    EXPECT_EQ(run.Values("message"), std::vector<std::string>(3, kWrongPassword)) << run.Log();
    EXPECT_EQ(run.Values("password-kept"),
              (std::vector<std::string>{"abc1 focused", "Abc1  focused", "ABC1 focused"}))
        << run.Log();
    EXPECT_EQ(run.Values("password-prompt").size(), 1u);
    ExpectCleanEnd(run);
    EXPECT_EQ(run.Process.Status, 0) << run.Log();
    EXPECT_TRUE(run.Has("painted")) << run.Log();
}

TEST_F(StartUpTest, CancelledOrClosedPromptEndsTheProgram) {
    for (const char* answer : {"password:<cancel>", "password:<close>"}) {
        SCOPED_TRACE(answer);
        const ViewerRun run = Open(Path("secret.kfa"), {.Answers = {"password:wrong", answer}});
        ExpectCleanEnd(run);
        EXPECT_TRUE(run.Has("password-prompt")) << run.Log();
        // Only the wrong answer's message; the ending itself says nothing.
        EXPECT_EQ(run.Values("message"), std::vector<std::string>{kWrongPassword}) << run.Log();
        EXPECT_FALSE(run.ShowedBook()) << run.Log();
    }
}

TEST_F(StartUpTest, EnglishTexts) {
    const ViewerRun run =
        Open(Path("secret.kfa"),
             {.Answers = {"password:x", std::string("password:") + kPassword}, .English = true});
    EXPECT_EQ(run.Values("open-dialog"), std::vector<std::string>{"Album File|*.kfa"});
    EXPECT_EQ(run.Values("title"), std::vector<std::string>{"Pagora-secret"});
    EXPECT_EQ(run.Values("password-prompt"),
              std::vector<std::string>{"Input Password|Password:|Ok(&O)|Cancel(&C)"});
    EXPECT_EQ(run.Values("message"), std::vector<std::string>{kWrongPasswordEnglish});
    EXPECT_EQ(run.Values("menu"),
              std::vector<std::string>{"Full Screen|Thumbnails|Back|Next|Start Slide Show|Export|"
                                       "Bitmap Image|JPEG Image|Options ..|Exit"});
    EXPECT_EQ(run.Values("labels"), std::vector<std::string>{"Back|Next|4 Pages "});
    EXPECT_TRUE(run.Has("painted")) << run.Log();
    EXPECT_EQ(run.Process.Status, 0) << run.Log();
}

TEST_F(StartUpTest, AlbumWithoutPicturesHidesThePictureViews) {
    const ViewerRun run = Open(std::string(SAMPLE_ALBUM_DIR) + "/sample-nopictures.kfa");
    ExpectCleanEnd(run);
    EXPECT_EQ(run.Values("menu"),
              std::vector<std::string>{"上一页|下一页|自动播放|导出|"
                                       "位图图片（Bmp）|压缩图片（Jpg）|配置|退出"});
    EXPECT_TRUE(run.Has("painted")) << run.Log();
}

TEST_F(StartUpTest, BundledAlbumOpensWithoutTheDialog) {
    const test::TempDir folder;
    const std::string bundled = folder.File("Holiday.run");
    const test::ProcessResult made = test::RunProgram(
        {KFA_PATH, "bundle", Path("book.kfa"), "-o", bundled, "--viewer", PAGORA_PATH});
    ASSERT_EQ(made.Status, 0) << made.Err;
    const ViewerRun run = Start({.Program = bundled, .Snapshot = true});
    ExpectBookAndEscape(run);
    EXPECT_FALSE(run.Has("open-dialog")) << run.Log();
    EXPECT_EQ(run.Values("title"), std::vector<std::string>{"相册观赏-Holiday"});
    EXPECT_EQ(run.Values("menu"),
              std::vector<std::string>{"全屏观赏|缩略图浏览|上一页|下一页|自动播放|导出|"
                                       "位图图片（Bmp）|压缩图片（Jpg）|配置|退出"});
    EXPECT_EQ(run.Values("labels"), std::vector<std::string>{"上一页 |下一页 |共4页 "});
    ASSERT_EQ(run.Values("layout").size(), 1u) << run.Log();
    ExpectBookPixels(run, ParseLayout(run.Values("layout")[0]));
}

}  // namespace
}  // namespace pagora
