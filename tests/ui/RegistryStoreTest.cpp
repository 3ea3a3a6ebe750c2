#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "TestFiles.h"
#include "platform/IniFile.h"
#include "platform/RegistryStore.h"
#include "platform/SectionName.h"

namespace pagora {
namespace {

using test::TempDir;

std::string FileText(const std::string& path) {
    test::Bytes bytes = test::ReadFile(path);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        ::closedir(d);
    }
    return names;
}

mode_t Mode(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(RegistryStore, RoundTrip) {
    TempDir dir;
    std::string path = dir.File("registry.ini");
    {
        RegistryStore store("Album", path);
        EXPECT_EQ(store.Read("TurnTime"), std::nullopt);
        store.Write("TurnTime", "500");
        store.Write("BackMusic", "/home/user/音乐/song.mp3");
        store.Write("BackPic", "");
        EXPECT_EQ(store.Read("TurnTime"), "500");  // before Save too
        store.Save();
        store.Write("TurnTime", "700");  // never saved
    }
    RegistryStore again("Album", path);
    EXPECT_EQ(again.Read("TurnTime"), "500");
    EXPECT_EQ(again.Read("turntime"), "500");
    EXPECT_EQ(again.Read("BackMusic"), "/home/user/音乐/song.mp3");
    EXPECT_EQ(again.Read("BackPic"), "");
    EXPECT_EQ(again.Read("PlayTime"), std::nullopt);
    EXPECT_EQ(RegistryStore("album", path).Read("TurnTime"), "500");  // names fold like Windows

    // A value name differing in case replaces the value and keeps its spelling.
    again.Write("TURNTIME", "800");
    again.Save();
    IniFile file(path);
    EXPECT_EQ(file.ReadString("Album", "TurnTime", ""), "800");
    ASSERT_EQ(file.Sections().size(), 1u);
    EXPECT_EQ(file.Sections()[0].Entries[0].Key, "TurnTime");
    EXPECT_EQ(file.Sections()[0].Entries.size(), 3u);
    // The file is private, and no temporary file is left behind.
    EXPECT_EQ(Mode(path), 0600u);
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"registry.ini"});
}

TEST(RegistryStore, TwoAlbumsInOneFile) {
    TempDir dir;
    std::string path = dir.File("registry.ini");
    RegistryStore first("First", path);
    RegistryStore second("Second", path);  // read before first saves
    first.Write("BackMusicOn", "false");
    first.Write("TurnTime", "600");
    first.Save();
    second.Write("BackMusicOn", "true");
    second.Save();  // keeps First's section

    RegistryStore firstAgain("First", path);
    // Another store of the same album, saved meanwhile: its other keys stay.
    RegistryStore firstOther("First", path);
    firstOther.Write("PlayTime", "5000");
    firstOther.Save();
    firstAgain.Write("TurnTime", "900");
    firstAgain.Save();
    EXPECT_EQ(firstAgain.Read("PlayTime"), "5000");  // what Save found in the file

    EXPECT_EQ(RegistryStore("First", path).Read("BackMusicOn"), "false");
    EXPECT_EQ(RegistryStore("First", path).Read("TurnTime"), "900");
    EXPECT_EQ(RegistryStore("First", path).Read("PlayTime"), "5000");
    EXPECT_EQ(RegistryStore("Second", path).Read("BackMusicOn"), "true");
    EXPECT_EQ(RegistryStore("Second", path).Read("TurnTime"), std::nullopt);
    EXPECT_EQ(IniFile(path).Sections().size(), 2u);
}

TEST(RegistryStore, KeepsSectionsWrittenByHand) {
    TempDir dir;
    std::string path = dir.File("registry.ini");
    test::WriteFile(
        path, test::TextBytes("[Mine]\nOld=1\n"
                              "[Hand Made]\nQuoted=\"'x'\"\nPlain= a b \n"
                              "[" +
                              std::string(300, 'L') + "]\nLong=" + std::string(5000, 'v') + "\n"));
    RegistryStore store("Mine", path);
    EXPECT_EQ(store.Read("Old"), "1");
    store.Write("New", "2");
    store.Save();
    IniFile file(path);
    EXPECT_EQ(file.ReadString("Mine", "Old", ""), "1");
    EXPECT_EQ(file.ReadString("Mine", "New", ""), "2");
    EXPECT_EQ(file.ReadString("Hand Made", "Quoted", ""), "'x'");
    EXPECT_EQ(file.ReadString("Hand Made", "Plain", ""), "a b");
    EXPECT_EQ(file.ReadString(std::string(300, 'L'), "Long", ""), std::string(5000, 'v'));
}

TEST(RegistryStore, NameNeedingEscaping) {
    TempDir dir;
    std::string path = dir.File("registry.ini");
    const std::string name = "山水之间 [2024] a=b; 100%\r\n";
    RegistryStore store(name, path);
    EXPECT_EQ(store.SectionName(), EscapeSectionName(name));
    store.Write("TurnTime", "1000");
    store.Save();
    RegistryStore plain("山水之间 [2024] a=b; 100%", path);  // a different name
    plain.Write("TurnTime", "2000");
    plain.Save();
    EXPECT_EQ(RegistryStore(name, path).Read("TurnTime"), "1000");
    EXPECT_EQ(RegistryStore("山水之间 [2024] a=b; 100%", path).Read("TurnTime"), "2000");
    std::string text = FileText(path);
    EXPECT_NE(text.find("[%E5%B1%B1%E6%B0%B4%E4%B9%8B%E9%97%B4 %5B2024%5D a%3Db%3B 100%25%0D%0A]"),
              std::string::npos)
        << text;
    // An empty album name is a name too.
    RegistryStore empty("", path);
    empty.Write("TurnTime", "3");
    empty.Save();
    EXPECT_EQ(RegistryStore("", path).Read("TurnTime"), "3");
    EXPECT_EQ(RegistryStore(name, path).Read("TurnTime"), "1000");
}

// Values are escaped, so line breaks, blanks at the ends, quotes and "%" come
// back as written and each value keeps to one line.
TEST(RegistryStore, AnyValueRoundTrips) {
    TempDir dir;
    std::string path = dir.File("registry.ini");
    const std::vector<std::string> values = {
        "line1\r\nline2\n[Evil]\nTurnTime=1",
        "  padded  ",
        "\"quoted\"",
        "'single'",
        "100% %41 %zz %",
        std::string("nul\0byte\x7F\t", 10),
        ";comment-like",
        "[section-like]",
        "/home/u/" + std::string(4000, 'p') + ".mp3",
        "中文 路径/音乐.mp3",
    };
    RegistryStore store("Album", path);
    for (size_t i = 0; i < values.size(); ++i)
        store.Write("Key" + std::to_string(i), values[i]);
    store.Save();
    RegistryStore again("Album", path);
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(again.Read("Key" + std::to_string(i)), values[i]) << i;

    IniFile file(path);
    ASSERT_EQ(file.Sections().size(), 1u);  // no [Evil] section
    EXPECT_EQ(file.Sections()[0].Entries.size(), values.size());
    EXPECT_EQ(file.ReadString("Album", "Key0", ""), "line1%0D%0Aline2%0A[Evil]%0ATurnTime=1");
    EXPECT_EQ(file.ReadString("Album", "Key9", ""), "中文 路径/音乐.mp3");  // as it stands
}

TEST(RegistryStore, RefusesKeysThatBreakTheFile) {
    TempDir dir;
    RegistryStore store("Album", dir.File("registry.ini"));
    for (const std::string& key :
         {std::string(""), std::string("a=b"), std::string("a\nb"), std::string(";a"),
          std::string("[a]"), std::string(" a"), std::string("a "), std::string("a\rb")})
        EXPECT_THROW(store.Write(key, "v"), std::invalid_argument) << key;
    store.Write("Back Music:1", "v");  // inner blanks and colons are fine
    store.Save();
    EXPECT_EQ(RegistryStore("Album", dir.File("registry.ini")).Read("back music:1"), "v");
}

TEST(RegistryStore, MakesMissingFolders) {
    TempDir dir;
    std::string path = dir.File("config/Bindwell/registry.ini");
    RegistryStore store("Album", path);
    EXPECT_EQ(store.Read("TurnTime"), std::nullopt);
    store.Write("TurnTime", "500");
    store.Save();
    EXPECT_EQ(RegistryStore("Album", path).Read("TurnTime"), "500");
    EXPECT_EQ(Mode(dir.File("config")), 0700u);
    EXPECT_EQ(Mode(dir.File("config/Bindwell")), 0700u);
}

TEST(RegistryStore, DefaultPathIsInTheConfigurationFolder) {
    TempDir dir;
    const char* old = ::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
    EXPECT_EQ(DefaultRegistryPath(), dir.Path() + "/Bindwell/registry.ini");
    RegistryStore store("Album");
    EXPECT_EQ(store.FilePath(), dir.Path() + "/Bindwell/registry.ini");
    store.Write("BackRangOn", "false");
    store.Save();
    EXPECT_EQ(IniFile(dir.File("Bindwell/registry.ini")).ReadString("Album", "BackRangOn", ""),
              "false");
    if (old)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

TEST(RegistryStore, FailuresLeaveTheFileAlone) {
    TempDir dir;
    // A file it cannot read (here: over the size limit) is not overwritten.
    std::string path = dir.File("registry.ini");
    std::string big = "[Other]\nKey=" + std::string(IniFile::kMaxSize, 'x') + "\n";
    test::WriteFile(path, test::TextBytes(big));
    RegistryStore store("Album", path);
    store.Write("TurnTime", "500");
    EXPECT_THROW(store.Save(), RegistryError);
    EXPECT_EQ(FileText(path), big);
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"registry.ini"});

    // A plain file where the folder should be.
    test::WriteFile(dir.File("notafolder"), test::TextBytes("x"));
    RegistryStore blocked("Album", dir.File("notafolder/registry.ini"));
    blocked.Write("TurnTime", "500");
    EXPECT_THROW(blocked.Save(), RegistryError);

    // No configuration folder at all.
    RegistryStore nowhere("Album", "");
    EXPECT_EQ(nowhere.Read("TurnTime"), std::nullopt);
    nowhere.Write("TurnTime", "500");
    EXPECT_THROW(nowhere.Save(), RegistryError);
}

TEST(RegistryStore, ReplacesALinkRatherThanWritingThroughIt) {
    TempDir dir;
    std::string target = dir.File("elsewhere.ini");
    test::WriteFile(target, test::TextBytes("[Album]\nTurnTime=1\n"));
    ASSERT_EQ(::symlink(target.c_str(), dir.File("registry.ini").c_str()), 0);
    RegistryStore store("Album", dir.File("registry.ini"));
    EXPECT_EQ(store.Read("TurnTime"), "1");
    store.Write("TurnTime", "2");
    store.Save();
    EXPECT_EQ(FileText(target), "[Album]\nTurnTime=1\n");
    struct stat st {};
    ASSERT_EQ(::lstat(dir.File("registry.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(RegistryStore("Album", dir.File("registry.ini")).Read("TurnTime"), "2");
}

}  // namespace
}  // namespace pagora
