#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "platform/IniFile.h"
#include "platform/SectionName.h"

namespace pagora {
namespace {

using test::TempDir;
using test::TextBytes;
using test::WriteFile;

TEST(IniFile, MissingFileReadsAsEmpty) {
    TempDir dir;
    IniFile file(dir.File("Leafhall.ini"));
    EXPECT_TRUE(file.Sections().empty());
    EXPECT_FALSE(file.Unreadable());
    EXPECT_EQ(file.ReadString("Album", "TurnTime", "0"), "0");
    EXPECT_EQ(IniFile(dir.File("no/such/folder.ini")).ReadString("a", "b", "d"), "d");
}

TEST(IniFile, ReadsSectionsAndKeysIgnoringCase) {
    TempDir dir;
    WriteFile(dir.File("Leafhall.ini"), TextBytes("\xEF\xBB\xBF; settings\r\n"
                                                  "[My Album]\r\n"
                                                  "TurnTime=1500\r\n"
                                                  "  PlayTime =  4000  \r\n"
                                                  "BackMusicOn=TRUE\r\n"
                                                  "\r\n"
                                                  "[Other]\n"
                                                  "TurnTime=9\n"));
    IniFile file(dir.File("Leafhall.ini"));
    EXPECT_EQ(file.ReadString("My Album", "TurnTime", "0"), "1500");
    EXPECT_EQ(file.ReadString("MY ALBUM", "turntime", "0"), "1500");
    EXPECT_EQ(file.ReadString("my album", "PLAYTIME", "0"), "4000");
    EXPECT_EQ(file.ReadString("My Album", "BackMusicOn", "true"), "TRUE");
    EXPECT_EQ(file.ReadString("My Album", "BackPic", ""), "");
    EXPECT_EQ(file.ReadString("Other", "TurnTime", "0"), "9");
    EXPECT_EQ(file.ReadString("Missing", "TurnTime", "0"), "0");
    ASSERT_EQ(file.Sections().size(), 2u);
    EXPECT_EQ(file.Sections()[0].Entries.size(), 3u);
}

TEST(IniFile, FollowsWindowsProfileRules) {
    IniFile file = IniFile::FromText(
        "Orphan=1\n"  // before any section: not read
        "[a]\n"
        "Quoted=\"  spaced  \"\n"
        "Single='x'\n"
        "Half=\"x\n"
        "Inner=a \"b\" c\n"
        "Semicolon=C:\\music ;old\\a.mp3\n"  // no inline comments
        "#Hash=1\n"                          // "#" starts no comment
        "Colon:1\n"                          // ":" separates nothing
        "Equals=a=b\n"
        "  Indented=2\n"  // a key of its own, not a continuation
        "Empty=\n"
        "First=1\n"
        "first=2\n"
        "[broken\n"
        "Still=a\n"  // the broken header is skipped: still section a
        "[a]\n"
        "Second=1\n"  // a second section of the name is not searched
        "[]\n"
        "InNameless=yes\n"
        "[x]y]\n"
        "Bracket=1\r"  // a lone CR ends a line
        "After=2");
    EXPECT_EQ(file.ReadString("a", "Orphan", "-"), "-");
    EXPECT_EQ(file.ReadString("a", "Quoted", "-"), "  spaced  ");
    EXPECT_EQ(file.ReadString("a", "Single", "-"), "x");
    EXPECT_EQ(file.ReadString("a", "Half", "-"), "\"x");
    EXPECT_EQ(file.ReadString("a", "Inner", "-"), "a \"b\" c");
    EXPECT_EQ(file.ReadString("a", "Semicolon", "-"), "C:\\music ;old\\a.mp3");
    EXPECT_EQ(file.ReadString("a", "#Hash", "-"), "1");
    EXPECT_EQ(file.ReadString("a", "Colon", "-"), "-");
    EXPECT_EQ(file.ReadString("a", "Equals", "-"), "a=b");
    EXPECT_EQ(file.ReadString("a", "Indented", "-"), "2");
    EXPECT_EQ(file.ReadString("a", "Empty", "-"), "");
    EXPECT_EQ(file.ReadString("a", "First", "-"), "1");
    EXPECT_EQ(file.ReadString("a", "Still", "-"), "a");
    EXPECT_EQ(file.ReadString("a", "Second", "-"), "-");
    EXPECT_EQ(file.ReadString("", "InNameless", "-"), "yes");
    EXPECT_EQ(file.ReadString("x]y", "Bracket", "-"), "1");
    EXPECT_EQ(file.ReadString("x]y", "After", "-"), "2");
}

// Escaped Chinese album names are long section names, and paths make long
// lines: neither is cut.
TEST(IniFile, ReadsLongSectionNamesAndLines) {
    std::string section = EscapeSectionName("山水之间 Between Mountains and Water");
    ASSERT_GT(section.size(), 60u);
    std::string path = "/home/user/" + std::string(3000, 'm') + "/音乐.mp3";
    IniFile file =
        IniFile::FromText("[" + section + "]\nBackMusic=" + path + "\nBackMusicOn=false\n");
    EXPECT_EQ(file.ReadString(section, "BackMusic", ""), path);
    EXPECT_EQ(file.ReadString(section, "BackMusicOn", "true"), "false");
    EXPECT_EQ(file.ReadString(section.substr(0, 49), "BackMusicOn", "true"), "true");
}

TEST(IniFile, RefusesFilesOverOneMebibyte) {
    TempDir dir;
    std::string head = "[a]\nk=v\n";
    std::string exact = head + std::string(IniFile::kMaxSize - head.size(), ';');
    WriteFile(dir.File("exact.ini"), TextBytes(exact));
    EXPECT_EQ(IniFile(dir.File("exact.ini")).ReadString("a", "k", "-"), "v");

    WriteFile(dir.File("big.ini"), TextBytes(exact + ";"));
    IniFile big(dir.File("big.ini"));
    EXPECT_EQ(big.ReadString("a", "k", "-"), "-");
    EXPECT_TRUE(big.Sections().empty());
    EXPECT_TRUE(big.Unreadable());
}

TEST(IniFile, NonRegularFilesReadAsEmpty) {
    TempDir dir;
    IniFile folder(dir.Path());
    EXPECT_TRUE(folder.Sections().empty());
    EXPECT_TRUE(folder.Unreadable());
    // A FIFO would block a plain open until a writer came.
    ASSERT_EQ(::mkfifo(dir.File("fifo.ini").c_str(), 0600), 0);
    IniFile fifo(dir.File("fifo.ini"));
    EXPECT_TRUE(fifo.Sections().empty());
    EXPECT_TRUE(fifo.Unreadable());
}

TEST(IniFile, GarbageNeverThrows) {
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        test::Bytes noise = test::NoiseBytes(4096, seed);
        std::string text(noise.begin(), noise.end());
        text.insert(100, "\n[s]\n");
        EXPECT_NO_THROW({
            IniFile file = IniFile::FromText(text);
            file.ReadString("s", "k", "");
        });
    }
    std::string nuls("[a]\nk=v\0w\n", 10);
    EXPECT_EQ(IniFile::FromText(nuls).ReadString("a", "k", "-"), std::string("v\0w", 3));
}

}  // namespace
}  // namespace pagora
