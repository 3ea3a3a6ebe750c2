#include <gtest/gtest.h>

#include "TestFiles.h"
#include "app/AlbumSource.h"
#include "archive/AlbumSetupInfo.h"
#include "archive/LittleEndian.h"
#include "archive/VersionResource.h"
#include "book/BookSettings.h"
#include "platform/IniFile.h"

namespace pagora {
namespace {

TEST(StartUpLogic, MakerMustBeBesideTheViewerWithVersionExactly146) {
    test::TempDir dir;
    EXPECT_EQ(CheckMaker(dir.Path()), MakerCheck::MakerMissing);
    const std::string maker = dir.File("Quillsmith.exe");
    test::WriteFile(maker, MakeVersionedExecutable(1, 46, 3, 0));
    EXPECT_EQ(CheckMaker(dir.Path()), MakerCheck::Passed);
    for (auto [major, minor] : {std::pair{1, 45}, {1, 460}, {2, 46}}) {
        test::WriteFile(maker, MakeVersionedExecutable(major, minor));
        EXPECT_EQ(CheckMaker(dir.Path()), MakerCheck::WrongVersion) << major << "." << minor;
    }
    test::WriteFile(maker, test::TextBytes("not an executable"));
    EXPECT_EQ(CheckMaker(dir.Path()), MakerCheck::WrongVersion);
}

TEST(StartUpLogic, OnlyAPlausibleTrailerNamesAnAppendedAlbum) {
    test::TempDir dir;
    const std::string exe = dir.File("viewer");
    test::Bytes viewer = test::NoiseBytes(10000);
    auto withTrailer = [&](int64_t base) {
        test::Bytes bytes = viewer;
        bytes.resize(bytes.size() + 8);
        StoreI64(bytes.data() + bytes.size() - 8, base);
        return bytes;
    };
    test::WriteFile(exe, withTrailer(0));
    EXPECT_EQ(AppendedAlbumBase(exe), 0);
    test::Bytes album = test::PackAlbum({{"profile.dat", test::NoiseBytes(200)}});
    test::Bytes bundled = viewer;
    bundled.insert(bundled.end(), album.begin(), album.end());
    viewer = bundled;
    test::WriteFile(exe, withTrailer(10000));
    EXPECT_EQ(AppendedAlbumBase(exe), 10000);
    for (int64_t bad : {int64_t{-1}, int64_t{1} << 40, int64_t(bundled.size())}) {
        test::WriteFile(exe, withTrailer(bad));
        EXPECT_EQ(AppendedAlbumBase(exe), 0) << bad;
    }
    EXPECT_EQ(AppendedAlbumBase(dir.File("missing")), 0);
}

TEST(StartUpLogic, TitleNameDropsFolderAndLastExtension) {
    EXPECT_EQ(AlbumTitleName("/home/a/Summer.kfa"), "Summer");
    EXPECT_EQ(AlbumTitleName("Album.2024.kfa"), "Album.2024");
    EXPECT_EQ(AlbumTitleName("/opt/viewer"), "viewer");
    EXPECT_EQ(AlbumTitleName("/x/.hidden"), ".hidden");
}

TEST(BookSettingsTest, SetupRecordIsHeldToTheOptionsRanges) {
    MemoryStream stream;
    TAlbumSetupInfo1_1 record(&stream);
    record.TurnTime = 800;
    record.StayTime = 3000;
    record.ShowInfo = true;
    record.BackColor = int32_t(0x7F102030);
    BookSettings settings;
    ApplySetupRecord(settings, record);
    EXPECT_EQ(settings.TurnTime, 800);
    EXPECT_EQ(settings.TimerInterval, 3800);
    EXPECT_TRUE(settings.ShowInfo);
    EXPECT_EQ(settings.BackColor, 0x102030u);

    record.TurnTime = std::numeric_limits<int32_t>::max();
    record.StayTime = std::numeric_limits<int32_t>::max();
    ApplySetupRecord(settings, record);
    EXPECT_EQ(settings.TurnTime, kMaxTurnTime);
    EXPECT_EQ(settings.TimerInterval, int64_t{kMaxTurnTime} + kMaxStayTime);
    record.TurnTime = -5;
    record.StayTime = -5;
    ApplySetupRecord(settings, record);
    EXPECT_EQ(settings.TurnTime, 0);
    EXPECT_EQ(settings.TimerInterval, 0);
}

TEST(BookSettingsTest, SettingsFileOverridesOnlyWithNumbers) {
    const IniFile file = IniFile::FromText(
        "[Other]\nTurnTime=50\n"
        "[Trip]\nTurnTime=1200\nPlayTime=9000\nBackMusic=/m/a.mp3\nBackPic=/p/b.png\n"
        "BackMusicOn=FALSE\nBackRangOn=True\n"
        "[Bad]\nTurnTime=fast\nPlayTime=12x\n"
        "[Zero]\nTurnTime=0\nPlayTime=0\n");
    BookSettings trip;
    ApplySettingsFile(trip, file, "Trip");
    EXPECT_EQ(trip.TurnTime, 1200);
    EXPECT_EQ(trip.TimerInterval, 9000);
    EXPECT_EQ(trip.BackMusic, "/m/a.mp3");
    EXPECT_EQ(trip.BackPic, "/p/b.png");
    EXPECT_FALSE(trip.BackMusicOn);
    EXPECT_TRUE(trip.BackRangOn);

    for (const char* section : {"Bad", "Zero", "Missing"}) {
        BookSettings kept;
        kept.TurnTime = 700;
        kept.TimerInterval = 2700;
        ApplySettingsFile(kept, file, section);
        EXPECT_EQ(kept.TurnTime, 700) << section;
        EXPECT_EQ(kept.TimerInterval, 2700) << section;
        EXPECT_TRUE(kept.BackMusicOn) << section;
    }
}

TEST(BookSettingsTest, IntegersAreWholeNumbersOnly) {
    int64_t value = 0;
    EXPECT_TRUE(ParseInteger(" 42 ", value));
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(ParseInteger("-7", value));
    EXPECT_EQ(value, -7);
    for (const char* bad : {"", " ", "4 2", "0x10", "1e3", "99999999999999999999", "+"})
        EXPECT_FALSE(ParseInteger(bad, value)) << bad;
}

}  // namespace
}  // namespace pagora
