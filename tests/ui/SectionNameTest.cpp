#include <gtest/gtest.h>

#include "platform/SectionName.h"

namespace pagora {
namespace {

TEST(SectionName, PlainNamesStayAsTheyAre) {
    EXPECT_EQ(EscapeSectionName(""), "");
    EXPECT_EQ(EscapeSectionName("My Album 2024 (summer)!"), "My Album 2024 (summer)!");
    EXPECT_EQ(EscapeSectionName(" ~{}<>\"'/\\"), " ~{}<>\"'/\\");
}

TEST(SectionName, EscapesEverythingElse) {
    EXPECT_EQ(EscapeSectionName("[x]=y;%"), "%5Bx%5D%3Dy%3B%25");
    EXPECT_EQ(EscapeSectionName("\r\n"), "%0D%0A");
    EXPECT_EQ(EscapeSectionName("名字"), "%E5%90%8D%E5%AD%97");
    EXPECT_EQ(EscapeSectionName(std::string("a\0b\x7F\t", 5)), "a%00b%7F%09");
    EXPECT_EQ(EscapeSectionName("\xFF\x80"), "%FF%80");
    EXPECT_EQ(EscapeSectionName("../../etc/passwd"), "../../etc/passwd");
}

TEST(SectionName, DistinctNamesStayDistinct) {
    EXPECT_NE(EscapeSectionName("%41"), EscapeSectionName("A"));
    EXPECT_NE(EscapeSectionName("a%5Bb"), EscapeSectionName("a[b"));
}

TEST(SafeFileNamePart, HostileNames) {
    EXPECT_EQ(SafeFileNamePart("../../etc/passwd"), ".__.__etc_passwd");
    EXPECT_EQ(SafeFileNamePart("a/b"), "a_b");
    EXPECT_EQ(SafeFileNamePart(".."), "._");
    EXPECT_EQ(SafeFileNamePart("."), "_");
    EXPECT_EQ(SafeFileNamePart("..."), "._.");
    EXPECT_EQ(SafeFileNamePart("a....b"), "a._._b");
    EXPECT_EQ(SafeFileNamePart("名字"), "名字");
    EXPECT_EQ(SafeFileNamePart("[x]=y;%"), "[x]=y;%");
    EXPECT_EQ(SafeFileNamePart("\r\n"), "__");
    EXPECT_EQ(SafeFileNamePart(""), "");
    EXPECT_EQ(SafeFileNamePart(std::string("a\0b", 3)), "a_b");
    EXPECT_EQ(SafeFileNamePart("a\x7F\tb"), "a__b");
    EXPECT_EQ(SafeFileNamePart("a\xC2\x85"
                               "b"),
              "a_b");                                     // C1 control NEL
    EXPECT_EQ(SafeFileNamePart("\xC2\xA0"), "\xC2\xA0");  // no-break space stays
    EXPECT_EQ(SafeFileNamePart("\xFF\xE5\x90"
                               "x"),
              "___x");                                   // not UTF-8
    EXPECT_EQ(SafeFileNamePart("\xED\xA0\x80"), "___");  // a surrogate
    EXPECT_EQ(SafeFileNamePart("\xC0\xAF"), "__");       // overlong "/"
    EXPECT_EQ(SafeFileNamePart("music.mp3"), "music.mp3");
}

TEST(SafeFileNamePart, AtMost200BytesBetweenCharacters) {
    EXPECT_EQ(SafeFileNamePart(std::string(500, 'a')), std::string(200, 'a'));
    // 名 is 3 bytes: 66 of them make 198; the 67th would make 201.
    std::string chinese;
    for (int i = 0; i < 100; ++i)
        chinese += "名";
    std::string safe = SafeFileNamePart(chinese);
    EXPECT_EQ(safe.size(), 198u);
    EXPECT_EQ(safe, chinese.substr(0, 198));
    EXPECT_EQ(SafeFileNamePart("a" + chinese).size(), 199u);
    EXPECT_EQ(SafeFileNamePart("ab" + chinese).size(), 200u);
    EXPECT_EQ(SafeFileNamePart(std::string(199, 'a') + ".."), std::string(199, 'a') + ".");
}

TEST(SafeFileNamePart, NothingHostileSurvives) {
    const std::string inputs[] = {"../../etc/passwd", "a/b",       "..", ".", "名字",
                                  "[x]=y;%",          "\r\n",      "",   "/", "//..//",
                                  ".../...",          "..\xC0\xAE"};
    for (const std::string& input : inputs) {
        std::string safe = SafeFileNamePart(input);
        EXPECT_EQ(safe.find('/'), std::string::npos) << input;
        EXPECT_EQ(safe.find(".."), std::string::npos) << input;
        EXPECT_NE(safe, ".");
        for (char c : safe)
            EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20) << input;
    }
}

}  // namespace
}  // namespace pagora
