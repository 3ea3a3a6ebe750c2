#include "archive/AlbumArchive.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include "TestFiles.h"
#include "archive/AlbumError.h"
#include "archive/AlbumWriter.h"
#include "archive/ArchiveTrailer.h"
#include "archive/LittleEndian.h"

namespace pagora {
namespace {

using test::Bytes;
using test::TempDir;

constexpr int64_t kBlock = AlbumArchive::kBlockSize;
// Where the writer puts directory entry i (entries sorted by folded name).
constexpr size_t EntryOffset(int i) {
    return 8 + 4 + 72 * i;
}

class ArchiveTest : public ::testing::Test {
  protected:
    std::string Save(const Bytes& bytes, const std::string& name = "album.kfa") {
        std::string path = dir_.File(name);
        test::WriteFile(path, bytes);
        return path;
    }
    TempDir dir_;
};

TEST_F(ArchiveTest, MembersRoundTripWithTheirNumbers) {
    MemoryStream stream;
    AlbumWriter writer(stream, 0);
    Bytes photo = test::NoiseBytes(10000, 7), text = test::TextBytes(std::string(20000, 'x'));
    writer.Add("PIC1.jpg", photo, 42);
    writer.Add("Image42.dat", text);
    writer.Add("song.MP3", test::NoiseBytes(5, 3));
    writer.Finish();
    AlbumArchive album(Save(stream.Bytes()), 0);

    EXPECT_EQ(album.MemberCount(), 3);
    EXPECT_EQ(album.Extract("PIC1.jpg"), photo);
    EXPECT_EQ(album.Extract("Image42.dat"), text);
    EXPECT_EQ(album.Extract("song.mp3"), test::NoiseBytes(5, 3));
    EXPECT_EQ(album.MemberNumber("pic1.JPG"), 42);
    EXPECT_EQ(album.MemberNumber("Image42.dat"), 0);
    EXPECT_EQ(album.MemberNumber("PIC2.jpg"), std::nullopt);
    EXPECT_FALSE(album.Extract("PIC2.jpg"));
}

TEST_F(ArchiveTest, NamesAreFoundInAnyLetterCase) {
    AlbumArchive album(Save(test::PackAlbum({{"profile.dat", test::TextBytes("p")},
                                             {"Cover.jpg", test::TextBytes("c")}})),
                       0);
    for (const char* name : {"profile.dat", "PROFILE.DAT", "Profile.Dat", "pRoFiLe.dAt"})
        EXPECT_TRUE(album.Contains(name)) << name;
    EXPECT_FALSE(album.Contains("profile.da"));
    EXPECT_FALSE(album.Contains("profile.datx"));
    EXPECT_FALSE(album.Contains(std::string(40, 'a')));
}

TEST(ArchiveNames, RawMembersAreThoseEndingInJpgOrMp3) {
    for (const char* raw : {"a.jpg", "B.JPG", "c.Jpg", "d.mp3", "E.MP3", "jpg", "xjpg"})
        EXPECT_TRUE(AlbumArchive::IsRawName(raw)) << raw;
    for (const char* packed : {"a.jpeg", "profile.dat", "SndEffect.wav", "BaseFunction.dll",
                               "a.mid", "pg", "", "a.jpg.dat"})
        EXPECT_FALSE(AlbumArchive::IsRawName(packed)) << packed;
}

TEST_F(ArchiveTest, RawMembersAreStoredAsTheyAreAndOthersCompressed) {
    Bytes content(9000, 'z');
    AlbumArchive album(Save(test::PackAlbum({{"a.JPG", content}, {"a.jpeg", content}})), 0);
    for (const ArchiveEntry& e : album.Entries()) {
        if (e.Name == "a.JPG")
            EXPECT_EQ(e.StoredLength, 9000);
        else
            EXPECT_LT(e.StoredLength, 100);
    }
    EXPECT_EQ(album.Extract("a.jpeg"), content);
}

TEST_F(ArchiveTest, LengthsAroundWholeBlocksExtractExactly) {
    test::Members members;
    for (size_t n : {0, 1, 4079, 4080, 4081, 8160, 8161, 3 * 4080}) {
        members.push_back({"raw" + std::to_string(n) + ".jpg", test::NoiseBytes(n, n)});
        members.push_back({"zip" + std::to_string(n) + ".dat", test::NoiseBytes(n, n)});
    }
    Bytes bytes = test::PackAlbum(members);
    AlbumArchive album(Save(bytes), 0);
    for (const auto& [name, content] : members)
        EXPECT_EQ(album.Extract(name), content) << name;

    // A member filling its last block exactly ends the chain with link -1.
    const ArchiveEntry* full = nullptr;
    for (const ArchiveEntry& e : album.Entries())
        if (e.Name == "raw8160.jpg")
            full = &e;
    ASSERT_NE(full, nullptr);
    int64_t second = LoadI64(bytes.data() + full->FirstBlock + 4088);
    EXPECT_EQ(LoadI64(bytes.data() + second), full->FirstBlock);  // back link
    EXPECT_EQ(LoadI64(bytes.data() + second + 4088), -1);
}

TEST_F(ArchiveTest, EmptyAndNegativeDirectoriesOpenWithNoMembers) {
    for (int32_t count : {0, -1, INT32_MIN}) {
        Bytes bytes = test::PackAlbum({{"a.dat", test::TextBytes("x")}});
        StoreI32(bytes.data() + 8, count);
        AlbumArchive album(Save(bytes), 0);
        EXPECT_EQ(album.MemberCount(), 0);
        EXPECT_FALSE(album.Contains("a.dat"));
        EXPECT_EQ(album.MemberNumber("a.dat"), std::nullopt);
    }
}

TEST_F(ArchiveTest, EqualNamesAreBothKeptAndDirectoryOrderIsKept) {
    Bytes bytes = test::PackAlbum({{"b.dat", test::TextBytes("1")},
                                   {"a.dat", test::TextBytes("2")},
                                   {"c.dat", test::TextBytes("3")}});
    // Reverse the stored order and make the last name equal to the first.
    std::swap_ranges(bytes.begin() + EntryOffset(0), bytes.begin() + EntryOffset(1),
                     bytes.begin() + EntryOffset(2));
    bytes[EntryOffset(2) + 1] = 'C';
    AlbumArchive album(Save(bytes), 0);
    ASSERT_EQ(album.MemberCount(), 3);
    std::vector<std::string> sorted, stored;
    for (const ArchiveEntry& e : album.Entries())
        sorted.push_back(e.Name);
    for (const ArchiveEntry& e : album.DirectoryOrder())
        stored.push_back(e.Name);
    EXPECT_EQ(sorted, (std::vector<std::string>{"b.dat", "C.dat", "c.dat"}));
    EXPECT_EQ(stored, (std::vector<std::string>{"c.dat", "b.dat", "C.dat"}));
}

TEST_F(ArchiveTest, ManyMembersNeedALongerDirectoryAndStaySorted) {
    test::Members members;
    for (int i = 300; i > 0; --i)
        members.push_back({"image" + std::to_string(i) + ".dat", {}});
    AlbumArchive album(Save(test::PackAlbum(members)), 0);
    EXPECT_EQ(album.MemberCount(), 300);
    for (int i = 1; i <= 300; ++i)
        EXPECT_TRUE(album.Contains("IMAGE" + std::to_string(i) + ".DAT"));
    for (size_t i = 1; i < album.Entries().size(); ++i)
        EXPECT_LT(album.Entries()[i - 1].Name, album.Entries()[i].Name);
}

TEST_F(ArchiveTest, ContainerBeyondFourGibibytesIsFoundByItsTrailer) {
    const int64_t base = (int64_t{5} << 30) + 123;
    std::string path = dir_.File("big.bin");
    {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        FileStream file(fd, path);
        file.Write("ELF", 3);
        AlbumWriter writer(file, base);
        writer.Add("PIC1.jpg", test::NoiseBytes(9000, 1), 7);
        writer.Add("profile.dat", test::TextBytes("profile"));
        writer.Finish();
    }
    ASSERT_EQ(FindArchiveBase(path), base);
    AlbumArchive album(path, base);
    EXPECT_EQ(album.Extract("PIC1.jpg"), test::NoiseBytes(9000, 1));
    EXPECT_EQ(album.Extract("profile.dat"), test::TextBytes("profile"));
    EXPECT_EQ(album.MemberNumber("PIC1.jpg"), 7);
}

TEST_F(ArchiveTest, TrailerNamingNoPlausibleBaseMeansZero) {
    Bytes bytes = test::PackAlbum({{"a.dat", {}}});
    EXPECT_EQ(FindArchiveBase(Save(bytes)), 0);
    for (int64_t trailer : {int64_t{-1}, int64_t{1} << 40, static_cast<int64_t>(bytes.size())}) {
        StoreI64(bytes.data() + bytes.size() - 8, trailer);
        EXPECT_EQ(FindArchiveBase(Save(bytes)), 0) << trailer;
    }
    EXPECT_EQ(FindArchiveBase(Save(Bytes(5, 0))), 0);
}

TEST_F(ArchiveTest, ExtractToFileWritesTheMemberOrLeavesNoFile) {
    AlbumArchive album(Save(test::PackAlbum({{"SndEffect.wav", test::TextBytes("RIFF")}})), 0);
    std::string target = dir_.File("sound.wav");
    album.ExtractToFile("sndeffect.WAV", target);
    EXPECT_EQ(test::ReadFile(target), test::TextBytes("RIFF"));

    album.ExtractToFile("missing.wav", target);  // an old file goes too
    EXPECT_FALSE(std::filesystem::exists(target));
    album.ExtractToFile("missing.wav", target);
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), {}), 1);
}

TEST_F(ArchiveTest, ExtractToFileReplacesAPlantedLinkWithoutFollowingIt) {
    AlbumArchive album(Save(test::PackAlbum({{"SndEffect.wav", test::TextBytes("RIFF")}})), 0);
    std::string victim = dir_.File("victim"), link = dir_.File("sound.wav");
    test::WriteFile(victim, test::TextBytes("precious"));
    ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);
    album.ExtractToFile("SndEffect.wav", link);
    EXPECT_EQ(test::ReadFile(victim), test::TextBytes("precious"));
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::ReadFile(link), test::TextBytes("RIFF"));
}

TEST_F(ArchiveTest, ThreadsExtractFromOneObjectAtOnce) {
    test::Members members;
    for (int i = 0; i < 8; ++i)
        members.push_back({"m" + std::to_string(i) + (i % 2 ? ".jpg" : ".dat"),
                           test::NoiseBytes(30000 + i * 977, i)});
    AlbumArchive album(Save(test::PackAlbum(members)), 0);
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round) {
                const auto& [name, content] = members[(t + round) % members.size()];
                if (album.Extract(name) != content)
                    ++wrong;
            }
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(wrong, 0);
}

// Damaged containers: each is a good album with one thing broken.
struct Damage {
    const char* Name;
    std::function<void(Bytes&)> Break;
    const char* Member;   // extracted after opening; nullptr: opening itself fails
    const char* Message;  // a piece of the error's text
};

// Members: "a.dat" (compressed, one block at 4096), "b.jpg" (raw, 3 blocks at 8192).
Bytes GoodAlbum() {
    return test::PackAlbum({{"a.dat", test::TextBytes(std::string(5000, 'a'))},
                            {"b.jpg", test::NoiseBytes(10000, 2)}});
}
constexpr size_t kA = EntryOffset(0), kB = EntryOffset(1);

const Damage kDamages[] = {
    {"DirectoryLongerThanFile", [](Bytes& b) { StoreI64(b.data(), 1 << 30); }, nullptr,
     "not an album container"},
    {"DirectoryLengthNegative", [](Bytes& b) { StoreI64(b.data(), -100); }, nullptr,
     "not an album container"},
    {"DirectoryTooShortForItsCount", [](Bytes& b) { StoreI64(b.data(), 3); }, nullptr,
     "not an album container"},
    {"CountBeyondDirectory", [](Bytes& b) { StoreI32(b.data() + 8, 1000000); }, nullptr,
     "damaged directory"},
    {"DirectoryLinkOutsideFile",
     [](Bytes& b) {
         StoreI64(b.data(), 5000);  // a second directory block is needed
         StoreI64(b.data() + 4088, int64_t{1} << 50);
     },
     nullptr, "outside the album"},
    {"MemberLinkOutsideFile", [](Bytes& b) { StoreI64(b.data() + 8192 + 4088, 1 << 30); }, "b.jpg",
     "outside the album"},
    {"MemberLinkNegative", [](Bytes& b) { StoreI64(b.data() + 8192 + 4088, -4096); }, "b.jpg",
     "outside the album"},
    {"MemberLinkMisaligned", [](Bytes& b) { StoreI64(b.data() + 8192 + 4088, 100); }, "b.jpg",
     "outside the album"},
    {"FirstBlockOutsideFile", [](Bytes& b) { StoreI64(b.data() + kB + 64, 1 << 30); }, "b.jpg",
     "outside the album"},
    {"FirstBlockOverflows", [](Bytes& b) { StoreI64(b.data() + kB + 64, INT64_MAX); }, "b.jpg",
     "outside the album"},
    {"FirstBlockNegative", [](Bytes& b) { StoreI64(b.data() + kB + 64, INT64_MIN); }, "b.jpg",
     "outside the album"},
    {"StoredLengthLargerThanFile", [](Bytes& b) { StoreI64(b.data() + kB + 56, 1 << 30); }, "b.jpg",
     "larger than the album"},
    {"StoredLengthNegative", [](Bytes& b) { StoreI64(b.data() + kB + 56, -5); }, "b.jpg",
     "larger than the album"},
    {"ChainLoopsLongerThanFile",
     [](Bytes& b) {
         StoreI64(b.data() + kB + 56, static_cast<int64_t>(b.size()) - 8);
         StoreI64(b.data() + 8192 + 4088, 8192);
     },
     "b.jpg", "larger than the album"},
    {"UncompressedLengthBeyondDeflate",
     [](Bytes& b) {
         int64_t stored = LoadI64(b.data() + kA + 56);
         StoreI64(b.data() + 4096 + 8 + stored - 8, (stored - 8) * 1033);
     },
     "a.dat", "damaged"},
    {"UncompressedLengthTwoGibibytes",
     [](Bytes& b) {
         StoreI64(b.data() + 4096 + 8 + LoadI64(b.data() + kA + 56) - 8, int64_t{1} << 31);
     },
     "a.dat", "damaged"},
    {"UncompressedLengthNegative",
     [](Bytes& b) { StoreI64(b.data() + 4096 + 8 + LoadI64(b.data() + kA + 56) - 8, -1); }, "a.dat",
     "damaged"},
    {"UncompressedLengthTooLong",
     [](Bytes& b) { StoreI64(b.data() + 4096 + 8 + LoadI64(b.data() + kA + 56) - 8, 5001); },
     "a.dat", "5000 of 5001 bytes"},
    {"CompressedDataCorrupt", [](Bytes& b) { b[4096 + 8 + 2] ^= 0xFF; }, "a.dat", "damaged"},
    {"CompressedMemberShorterThanItsLength", [](Bytes& b) { StoreI64(b.data() + kA + 56, 5); },
     "a.dat", "too short"},
};

class DamagedArchive : public ArchiveTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedArchive, FailsWithAMessageNamingAlbumAndMember) {
    Bytes bytes = GoodAlbum();
    GetParam().Break(bytes);
    std::string path = Save(bytes);
    try {
        AlbumArchive album(path, 0);
        ASSERT_NE(GetParam().Member, nullptr) << "opening should have failed";
        album.Extract(GetParam().Member);
        FAIL() << "extraction should have failed";
    } catch (const AlbumError& e) {
        std::string message = e.what();
        EXPECT_NE(message.find(path), std::string::npos) << message;
        EXPECT_NE(message.find(GetParam().Message), std::string::npos) << message;
        if (GetParam().Member) {
            EXPECT_NE(message.find(GetParam().Member), std::string::npos) << message;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Archive, DamagedArchive, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ArchiveTest, NameLongerThanItsFieldDropsOnlyThatEntry) {
    Bytes bytes = GoodAlbum();
    bytes[kA] = 40;
    AlbumArchive album(Save(bytes), 0);
    EXPECT_EQ(album.MemberCount(), 1);
    EXPECT_EQ(album.Extract("b.jpg"), test::NoiseBytes(10000, 2));
    bytes[kA] = 39;  // the longest name is still a name
    EXPECT_EQ(AlbumArchive(Save(bytes), 0).MemberCount(), 2);
}

TEST_F(ArchiveTest, ChainThatLoopsWithinTheFileEnds) {
    Bytes bytes = GoodAlbum();
    StoreI64(bytes.data() + 8192 + 4088, 8192);
    AlbumArchive album(Save(bytes), 0);
    auto content = album.Extract("b.jpg");
    ASSERT_TRUE(content);
    EXPECT_EQ(content->size(), 10000u);
}

TEST_F(ArchiveTest, FilesThatAreNoContainerAreRefused) {
    std::string fifo = dir_.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path :
         {Save({}, "empty"), Save(test::TextBytes("hello"), "text"),
          Save(test::NoiseBytes(20000), "noise"), dir_.File("missing"), dir_.Path(), fifo}) {
        try {
            AlbumArchive album(path, 0);
            ADD_FAILURE() << path << " opened";
        } catch (const AlbumError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(AlbumArchive(Save(GoodAlbum()), -4096), AlbumError);
    EXPECT_THROW(AlbumArchive(Save(GoodAlbum()), 1), AlbumError);
}

TEST_F(ArchiveTest, WriterRefusesNamesTheDirectoryCannotHold) {
    MemoryStream stream;
    AlbumWriter writer(stream, 0);
    writer.Add("a.dat", {});
    EXPECT_THROW(writer.Add("A.DAT", {}), AlbumError);
    EXPECT_THROW(writer.Add("", {}), AlbumError);
    EXPECT_THROW(writer.Add(std::string(40, 'n'), {}), AlbumError);
    writer.Add(std::string(39, 'n'), {});
}

}  // namespace
}  // namespace pagora
