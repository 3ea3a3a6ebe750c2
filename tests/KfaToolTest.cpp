#include <gtest/gtest.h>

#include <filesystem>

#include "TestFiles.h"
#include "archive/AlbumProfile.h"
#include "archive/AlbumSetupInfo.h"
#include "archive/LittleEndian.h"

namespace pagora {
namespace {

using test::Bytes;
using test::RunProgram;

class KfaTool : public ::testing::Test {
  protected:
    test::ProcessResult Kfa(std::vector<std::string> args) {
        args.insert(args.begin(), KFA_PATH);
        return RunProgram(args);
    }
    std::string Put(const std::string& name, const Bytes& bytes) {
        std::string path = dir_.File(name);
        test::WriteFile(path, bytes);
        return path;
    }
    // An album with a profile, a setup record, a picture and a GBK-named member.
    std::string SampleAlbum() {
        ProfileMember profile;
        profile.Profile = {4, 1, "song.mp3", "\xC2\xC3\xD0\xD0", "", "pw"};  // 旅行
        profile.MusicList = {"tune.mid"};
        MemoryStream setup;
        TAlbumSetupInfo1_1 info(&setup);
        info.TurnTime = 1200;
        info.StayTime = 3000;
        info.BackColor = 0x00112233;
        info.Save();
        std::vector<std::string> files = {
            Put("profile.dat", WriteProfile(profile)), Put("AlbumProInfo.dat", setup.Bytes()),
            Put("PIC1.jpg", test::NoiseBytes(5000)), Put("封面.jpg", test::TextBytes("cover"))};
        std::string album = dir_.File("album.kfa");
        std::vector<std::string> args = {"pack", "-o", album};
        args.insert(args.end(), files.begin(), files.end());
        args.insert(args.end(), {"--number", "pic1.jpg=7"});
        EXPECT_EQ(Kfa(args).Status, 0);
        return album;
    }
    test::TempDir dir_;
};

TEST_F(KfaTool, ListShowsMembersInDirectoryOrder) {
    auto r = Kfa({"list", SampleAlbum()});
    ASSERT_EQ(r.Status, 0) << r.Err;
    std::vector<std::string> names;
    for (size_t at = 0; at < r.Out.size(); at = r.Out.find('\n', at) + 1)
        names.push_back(r.Out.substr(at, r.Out.find('\t', at) - at));
    EXPECT_EQ(names, (std::vector<std::string>{"AlbumProInfo.dat", "PIC1.jpg", "profile.dat",
                                               "封面.jpg"}));
    EXPECT_NE(r.Out.find("PIC1.jpg\t7\t5000\traw\n"), std::string::npos);
    EXPECT_NE(r.Out.find("\tzlib\n"), std::string::npos);
    EXPECT_NE(r.Out.find("封面.jpg\t0\t5\traw\n"), std::string::npos);
}

TEST_F(KfaTool, ExtractToStandardOutputOrFile) {
    std::string album = SampleAlbum();
    auto r = Kfa({"extract", album, "封面.JPG"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "cover");
    std::string out = dir_.File("pic.jpg");
    ASSERT_EQ(Kfa({"extract", album, "pic1.jpg", "-o", out}).Status, 0);
    EXPECT_EQ(test::ReadFile(out), test::NoiseBytes(5000));
}

TEST_F(KfaTool, MissingMemberExitsOneAndWritesNothing) {
    std::string album = SampleAlbum(), out = dir_.File("none");
    auto r = Kfa({"extract", album, "PIC2.jpg", "-o", out});
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Err.find("PIC2.jpg"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(Kfa({"extract", album, "a name that GBK cannot hold: \xF0\x9F\x98\x80"}).Status, 1);
}

TEST_F(KfaTool, InfoAsTextAndJson) {
    std::string album = SampleAlbum();
    auto text = Kfa({"info", album});
    ASSERT_EQ(text.Status, 0) << text.Err;
    EXPECT_EQ(text.Out,
              "base: 0\nmembers: 4\npages: 4\npictures: 1\nname: 旅行\nmusic: song.mp3 tune.mid\n"
              "password: yes\nsetup: version 2, turn time 1200 ms, stay time 3000 ms, show info "
              "no, back colour #332211\n");
    auto json = Kfa({"info", album, "--json"});
    EXPECT_EQ(json.Out,
              "{\"base\": 0, \"members\": 4, \"profile\": {\"pageCount\": 4, \"pictureCount\": 1, "
              "\"albumName\": \"旅行\", \"music\": [\"song.mp3\", \"tune.mid\"], "
              "\"hasPassword\": true}, \"setup\": {\"version\": 2, \"turnTime\": 1200, "
              "\"stayTime\": 3000, \"showInfo\": false, \"backColor\": \"#332211\"}}\n");
    EXPECT_EQ(json.Out.find("pw\""), std::string::npos);
}

TEST_F(KfaTool, InfoWithoutRecordsSaysNull) {
    std::string album = dir_.File("bare.kfa");
    ASSERT_EQ(Kfa({"pack", "-o", album, Put("x.dat", {})}).Status, 0);
    EXPECT_EQ(Kfa({"info", album, "--json"}).Out,
              "{\"base\": 0, \"members\": 1, \"profile\": null, \"setup\": null}\n");
}

TEST_F(KfaTool, AlbumAppendedToAnExecutableIsFoundByItsTrailer) {
    Bytes album = test::ReadFile(SampleAlbum());
    Bytes exe = test::TextBytes(
        "\x7f"
        "ELF pretend viewer");
    exe.resize(777, 0);
    Bytes bundled = exe;
    bundled.insert(bundled.end(), album.begin(), album.end());
    StoreI64(bundled.data() + bundled.size() - 8, 777);
    std::string path = Put("viewer", bundled);
    auto r = Kfa({"info", path, "--json"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out.rfind("{\"base\": 777, \"members\": 4", 0), 0u) << r.Out;
    EXPECT_EQ(Kfa({"extract", path, "封面.jpg"}).Out, "cover");
    // A wrong base given by hand is obeyed and fails cleanly.
    EXPECT_EQ(Kfa({"list", path, "--base", "0"}).Status, 2);
    EXPECT_EQ(Kfa({"list", path, "--base", "777"}).Status, 0);
}

TEST_F(KfaTool, UnreadableAlbumsExitTwoWithOneLine) {
    Bytes broken = test::ReadFile(SampleAlbum());
    StoreI64(broken.data(), 1 << 30);
    for (const std::string& path :
         {dir_.File("missing.kfa"), Put("text.kfa", test::TextBytes("not an album")),
          Put("broken.kfa", broken), dir_.Path()}) {
        for (const char* command : {"list", "info"}) {
            auto r = Kfa({command, path});
            EXPECT_EQ(r.Status, 2) << command << " " << path;
            EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
            EXPECT_TRUE(r.Out.empty());
        }
    }
}

TEST_F(KfaTool, DamagedProfileMakesInfoFail) {
    std::string album = dir_.File("short.kfa");
    ASSERT_EQ(Kfa({"pack", "-o", album, Put("profile.dat", Bytes(100, 0))}).Status, 0);
    auto r = Kfa({"info", album});
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Err.find("profile.dat"), std::string::npos);
}

TEST_F(KfaTool, HelpAndUsageMistakes) {
    EXPECT_EQ(Kfa({"--help"}).Status, 0);
    for (const char* command : {"list", "extract", "info", "pack"}) {
        auto r = Kfa({command, "--help"});
        EXPECT_EQ(r.Status, 0);
        EXPECT_NE(r.Out.find(std::string("Usage: kfa ") + command), std::string::npos);
    }
    EXPECT_EQ(Kfa({}).Status, 2);
    EXPECT_EQ(Kfa({"frobnicate"}).Status, 2);
    EXPECT_EQ(Kfa({"list"}).Status, 2);
    EXPECT_EQ(Kfa({"list", "a", "--base", "-1"}).Status, 2);
    EXPECT_EQ(Kfa({"pack", Put("a.dat", {})}).Status, 2);
    EXPECT_EQ(
        Kfa({"pack", "-o", dir_.File("o.kfa"), Put("b.dat", {}), "--number", "c.dat=1"}).Status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("o.kfa")));
}

TEST_F(KfaTool, PackRefusesDuplicateAndOverlongNamesLeavingNoFile) {
    std::string out = dir_.File("dup.kfa");
    std::filesystem::create_directory(dir_.File("sub"));
    auto r = Kfa({"pack", "-o", out, Put("a.dat", {}), Put("sub/A.DAT", {})});
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Err.find("twice"), std::string::npos);
    EXPECT_EQ(Kfa({"pack", "-o", out, Put(std::string(40, 'n'), {})}).Status, 2);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), {}), 3);
}

}  // namespace
}  // namespace pagora
