#include <gtest/gtest.h>

#include <cmath>

#include "TestFiles.h"
#include "archive/AlbumError.h"
#include "archive/AlbumProfile.h"
#include "archive/AlbumSetupInfo.h"
#include "archive/HotSpotRecord.h"
#include "archive/LittleEndian.h"

namespace pagora {
namespace {

using test::Bytes;

Bytes ProfileBytes(int32_t musicCount, int extraNames) {
    Bytes b(176 + 33 * extraNames, 0);
    StoreI32(b.data(), 12);
    StoreI32(b.data() + 4, 10);
    StoreShortString(b.data() + 8, 32, "first.mp3");
    StoreShortString(b.data() + 41, 64, "Holiday");
    StoreShortString(b.data() + 139, 32, "secret");
    StoreI32(b.data() + 172, musicCount);
    for (int i = 0; i < extraNames; ++i)
        StoreShortString(b.data() + 176 + 33 * i, 32, "m" + std::to_string(i) + ".mid");
    return b;
}

TEST(Profile, ReadsFieldsAndTheFurtherMusicNames) {
    ProfileMember m = ReadProfile(ProfileBytes(3, 2));
    EXPECT_EQ(m.Profile.PageCount, 12);
    EXPECT_EQ(m.Profile.PictureCount, 10);
    EXPECT_EQ(m.Profile.MusicName, "first.mp3");
    EXPECT_EQ(m.Profile.AlbumName, "Holiday");
    EXPECT_EQ(m.Profile.Password, "secret");
    EXPECT_EQ(m.MusicList, (std::vector<std::string>{"m0.mid", "m1.mid"}));
    EXPECT_EQ(m.PlayOrder(), (std::vector<std::string>{"first.mp3", "m0.mid", "m1.mid"}));
}

TEST(Profile, MusicCountIsClampedToTheNamesPresent) {
    struct Case {
        int32_t count;
        int names;
        size_t expected;
    };
    for (Case c : {Case{0x7FFFFFFF, 2, 2}, Case{1, 2, 0}, Case{0, 2, 0}, Case{-5, 2, 0},
                   Case{INT32_MIN, 2, 0}, Case{3, 1, 1}}) {
        EXPECT_EQ(ReadProfile(ProfileBytes(c.count, c.names)).MusicList.size(), c.expected)
            << c.count << " with " << c.names;
    }
    Bytes cut = ProfileBytes(3, 2);
    cut.resize(176 + 33 + 20);  // the second name is cut off
    EXPECT_EQ(ReadProfile(cut).MusicList.size(), 1u);
}

TEST(Profile, ShortMembers) {
    EXPECT_THROW(ReadProfile(Bytes(171, 0)), AlbumError);
    EXPECT_THROW(ReadProfile({}), AlbumError);
    for (size_t size : {172, 175}) {
        Bytes b = ProfileBytes(3, 0);
        b.resize(size);
        EXPECT_TRUE(ReadProfile(b).MusicList.empty());
        EXPECT_EQ(ReadProfile(b).Profile.AlbumName, "Holiday");
    }
}

TEST(Profile, FullLengthTextsAndOverlongLengthBytes) {
    Bytes b = ProfileBytes(1, 0);
    StoreShortString(b.data() + 139, 32, std::string(32, 'p'));
    StoreShortString(b.data() + 41, 64, std::string(64, 'n'));
    EXPECT_EQ(ReadProfile(b).Profile.Password, std::string(32, 'p'));
    EXPECT_EQ(ReadProfile(b).Profile.AlbumName, std::string(64, 'n'));
    b[8] = 200;  // more than a string[32] can hold
    EXPECT_EQ(ReadProfile(b).Profile.MusicName.size(), 32u);
}

TEST(Profile, WriteThenReadKeepsEverything) {
    ProfileMember m;
    m.Profile = {24, 20, "a.mp3", "\xC4\xEA", "reserved", "pw"};
    m.MusicList = {"b.wav", "c.mid"};
    ProfileMember back = ReadProfile(WriteProfile(m));
    EXPECT_EQ(back.Profile.PageCount, 24);
    EXPECT_EQ(back.Profile.AlbumName, "\xC4\xEA");
    EXPECT_EQ(back.Profile.Reserved, "reserved");
    EXPECT_EQ(back.MusicList, m.MusicList);
}

Bytes SetupBytes(uint8_t version, int32_t turn, int32_t stay, uint8_t show) {
    Bytes b(10);
    b[0] = version;
    StoreI32(b.data() + 1, turn);
    StoreI32(b.data() + 5, stay);
    b[9] = show;
    return b;
}

TAlbumSetupInfo1_1 LoadSetup(const Bytes& bytes) {
    static MemoryStream stream;
    stream = MemoryStream(bytes);
    TAlbumSetupInfo1_1 info(&stream);
    info.Load();
    return info;
}

TEST(SetupInfo, EmptyOrCutShortKeepsTheDefaults) {
    for (size_t size : {0, 1, 3, 4}) {
        Bytes b = SetupBytes(2, 500, 600, 1);
        b.resize(size);
        TAlbumSetupInfo1_1 info = LoadSetup(b);
        EXPECT_EQ(info.TurnTime, 3) << size;
        EXPECT_EQ(info.StayTime, 3) << size;
        EXPECT_FALSE(info.ShowInfo) << size;
        EXPECT_EQ(info.BackColor, 0) << size;
    }
    Bytes b = SetupBytes(1, 500, 600, 1);
    b.resize(7);
    EXPECT_EQ(LoadSetup(b).TurnTime, 500);
    EXPECT_EQ(LoadSetup(b).StayTime, 3);
}

TEST(SetupInfo, VersionOneSetsTheBaseValuesOnly) {
    TAlbumSetupInfo1_1 info = LoadSetup(SetupBytes(1, 1500, 4000, 1));
    EXPECT_EQ(info.StoredVersion(), 1);
    EXPECT_EQ(info.TurnTime, 1500);
    EXPECT_EQ(info.StayTime, 4000);
    EXPECT_TRUE(info.ShowInfo);
    EXPECT_EQ(info.BackColor, 0);
    EXPECT_FALSE(LoadSetup(SetupBytes(1, 0, 0, 2)).ShowInfo);
    EXPECT_EQ(LoadSetup(SetupBytes(0, 1500, 0, 0)).TurnTime, 3);
}

TEST(SetupInfo, VersionTwoRoundTripsThroughSave) {
    MemoryStream stream;
    TAlbumSetupInfo1_1 written(&stream);
    written.TurnTime = 2500;
    written.StayTime = 7000;
    written.ShowInfo = true;
    written.Value1 = -4;
    written.Text1 = std::string(80, 't');  // cut to 64
    written.Text2 = "two";
    written.BackColor = 0x00336699;
    written.Save();
    ASSERT_EQ(stream.Size(), 152);

    TAlbumSetupInfo1_1 info = LoadSetup(stream.Bytes());
    EXPECT_EQ(info.StoredVersion(), 2);
    EXPECT_EQ(info.TurnTime, 2500);
    EXPECT_EQ(info.StayTime, 7000);
    EXPECT_TRUE(info.ShowInfo);
    EXPECT_EQ(info.Value1, -4);
    EXPECT_EQ(info.Text1, std::string(64, 't'));
    EXPECT_EQ(info.Text2, "two");
    EXPECT_EQ(info.BackColor, 0x00336699);

    Bytes cut = stream.Bytes();
    cut.resize(150);  // the colour is cut short
    EXPECT_EQ(LoadSetup(cut).BackColor, 0);
    EXPECT_EQ(LoadSetup(cut).Text2, "two");
}

TEST(SetupInfo, AssignCopiesAndSaves) {
    MemoryStream source, target;
    TAlbumSetupInfo1_1 from(&source), to(&target);
    from.TurnTime = 900;
    from.BackColor = 0xFF;
    to.Assign(from);
    EXPECT_EQ(LoadSetup(target.Bytes()).TurnTime, 900);
    EXPECT_EQ(LoadSetup(target.Bytes()).BackColor, 0xFF);
}

HotSpotRecord Spot(int i) {
    HotSpotRecord r;
    r.Left = i;
    r.Top = -i;
    r.Width = 100 + i;
    r.Height = 200;
    r.PictureName = "PIC" + std::to_string(i) + ".jpg";
    r.Title = "title";
    r.Description = std::string(255, 'd');
    r.ShootTime = 38288.5 + i;
    return r;
}

TEST(HotSpots, RoundTripAtTheirOffsets) {
    std::vector<HotSpotRecord> spots = {Spot(1), Spot(2)};
    Bytes bytes = WriteHotSpots(spots);
    ASSERT_EQ(bytes.size(), 4u + 2 * 352);
    EXPECT_EQ(LoadI32(bytes.data() + 4 + 352 + 8), 102);
    EXPECT_EQ(bytes[4 + 20], 8);  // "PIC1.jpg"
    EXPECT_EQ(LoadF64(bytes.data() + 4 + 344), 38289.5);
    EXPECT_EQ(ReadHotSpots(bytes), spots);
}

TEST(HotSpots, CountsAreClampedToWholeRecords) {
    Bytes bytes = WriteHotSpots({Spot(1), Spot(2), Spot(3)});
    StoreI32(bytes.data(), 1000000);
    EXPECT_EQ(ReadHotSpots(bytes).size(), 3u);
    bytes.resize(4 + 352 * 2 + 351);
    EXPECT_EQ(ReadHotSpots(bytes).size(), 2u);
    StoreI32(bytes.data(), -1);
    EXPECT_TRUE(ReadHotSpots(bytes).empty());
    EXPECT_TRUE(ReadHotSpots(Bytes(3, 0xFF)).empty());
    EXPECT_TRUE(ReadHotSpots({}).empty());
}

TEST(HotSpots, OverlongLengthBytesReadTheWholeField) {
    Bytes bytes = WriteHotSpots({Spot(1)});
    bytes[4 + 20] = 0xFF;
    bytes[4 + 53] = 33;
    HotSpotRecord r = ReadHotSpots(bytes).at(0);
    EXPECT_EQ(r.PictureName.size(), 32u);
    EXPECT_EQ(r.Title.size(), 32u);
    EXPECT_EQ(r.Description.size(), 255u);
}

}  // namespace
}  // namespace pagora
