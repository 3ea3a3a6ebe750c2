// Albums from strangers, end to end: each crafted album opens or is refused
// with its message, without a crash or a hang, without writing anything
// outside the run's work folder and without following links planted beside it.
#include <gtest/gtest.h>
#include <zlib.h>

#include <QBuffer>
#include <QImage>
#include <climits>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "BookWindow.h"
#include "TestFiles.h"
#include "ViewerHarness.h"
#include "archive/AlbumProfile.h"
#include "archive/AlbumSetupInfo.h"
#include "archive/Gbk.h"
#include "archive/HotSpotRecord.h"
#include "archive/LittleEndian.h"
#include "archive/Stream.h"
#include "archive/WaveFile.h"
#include "gfx/PictureFile.h"
#include "platform/SectionName.h"

namespace pagora {
namespace {

namespace fs = std::filesystem;
using namespace test;

constexpr const char* kTune = "tune.wav";

Bytes Tune() {
    const std::vector<int16_t> samples(800, 0);
    return WaveFileBytes(samples, 8000);
}

Bytes Png(const QImage& image) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return Bytes(data.begin(), data.end());
}

// The PNG with its width set to 0, its header's checksum made right again, so
// that only the size is wrong.
Bytes ZeroWidthPng() {
    Bytes png = Png(Plain(4, 4, qRgb(1, 2, 3)));
    StoreI32(png.data() + 16, 0);
    const uint32_t crc = static_cast<uint32_t>(crc32(0, png.data() + 12, 17));
    for (int i = 0; i < 4; ++i)
        png[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    return png;
}

// A baseline JPEG whose frame header says it has no rows.
Bytes NoRowsJpeg() {
    Bytes jpeg = EncodeJpeg(TilePicture(), 90);
    for (size_t i = 0; i + 6 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = jpeg[i + 6] = 0;
            return jpeg;
        }
    throw std::runtime_error("no baseline frame header");
}

Bytes SetupRecord(int32_t turn, int32_t stay) {
    MemoryStream stream;
    TAlbumSetupInfo1_1 record(&stream);
    record.TurnTime = turn;
    record.StayTime = stay;
    record.Save();
    return stream.TakeBytes();
}

class DamagedAlbumTest : public ViewerTest {
  protected:
    static void SetUpTestSuite() { MakeBaseAlbum(); }
    static void TearDownTestSuite() { DropBaseAlbum(); }

    static ProfileMember Profile() { return ReadProfile(Find("profile.dat")); }

    // The test album with its profile replaced and, when it names music, the music.
    static Album WithProfile(const ProfileMember& profile, Album album = *base_) {
        album = With(std::move(album), "profile.dat", WriteProfile(profile));
        if (!profile.Profile.MusicName.empty())
            album = With(std::move(album), profile.Profile.MusicName, Tune());
        return album;
    }

    static ViewerRun Run(const std::string& album, Launch launch) {
        launch.Watched.push_back(dir_->Path());
        ViewerRun run = Open(album, std::move(launch));
        ExpectNothingWritten(run);
        int workFolders = 0;
        for (const std::string& entry : run.TempEntries) {
            EXPECT_EQ(entry.rfind("pagora-", 0), 0u) << entry << " made in the temp folder";
            ++workFolders;
        }
        EXPECT_LE(workFolders, 1);
        return run;
    }

    // Painted, left by Esc, and nothing written outside the work folder.
    static ViewerRun ExpectOpens(const std::string& album, Launch launch = {}) {
        ViewerRun run = Run(album, std::move(launch));
        ExpectBookAndEscape(run);
        return run;
    }

    // Refused with the decoder's message, and nothing written.
    static void ExpectRefusedWith(const std::string& album, const std::string& message,
                                  Launch launch = {}) {
        const ViewerRun run = Run(album, std::move(launch));
        ExpectCleanEnd(run);
        EXPECT_NE(run.Process.Status, 0) << run.Log();
        EXPECT_EQ(run.Values("message"), std::vector<std::string>{message}) << run.Log();
        EXPECT_FALSE(run.Has("painted")) << run.Log();
    }

    static std::string Settings(const ViewerRun& run) {
        const auto values = run.Values("settings");
        return values.size() == 1 ? values[0] : "(" + std::to_string(values.size()) + " lines)";
    }

    // The right page shows the cover, the left one the background.
    static void ExpectClosedBook(const ViewerRun& run) {
        ASSERT_EQ(run.Values("layout").size(), 1u) << run.Log();
        const auto layout = ParseLayout(run.Values("layout")[0]);
        const int PW = layout.at("PageWidth"), PH = layout.at("PageHeight");
        const int y = layout.at("PageY") + PH / 2;
        const QImage& shot = run.Snapshot;
        ASSERT_FALSE(shot.isNull()) << "no snapshot";
        const QImage cover =
            CoverPicture().scaled(PW, PH, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_TRUE(
            Near(shot.pixel(layout.at("RightPageX") + PW / 2, y), cover.pixel(PW / 2, PH / 2), 16));
        const QImage tile = TilePicture();
        const int x = layout.at("LeftPageX") + PW / 2;
        EXPECT_TRUE(Near(shot.pixel(x, y), tile.pixel(x % tile.width(), y % tile.height()), 16));
    }
};

TEST_F(DamagedAlbumTest, ProfileWithoutMusicListOrWithAHugeCountOpens) {
    ProfileMember profile = Profile();
    profile.Profile.MusicName = kTune;
    profile.MusicList = {kTune, kTune};
    Bytes exact = WriteProfile(profile);
    exact.resize(AlbumProfile::kSize);
    Bytes huge = WriteProfile(profile);
    StoreI32(huge.data() + AlbumProfile::kSize, INT32_MAX);
    Bytes cutName = huge;
    cutName.resize(AlbumProfile::kSize + 4 + 33 + 10);
    int k = 0;
    for (const Bytes& bytes : {exact, huge, cutName}) {
        SCOPED_TRACE("profile of " + std::to_string(bytes.size()) + " bytes");
        const ViewerRun run =
            ExpectOpens(Variant("profile" + std::to_string(++k) + ".kfa",
                                With(WithProfile(profile), "profile.dat", bytes)));
        EXPECT_EQ(run.WorkFiles.count(std::string("Test album") + kTune), 1u) << run.Log();
    }
}

TEST_F(DamagedAlbumTest, HostileAlbumAndMusicNamesStayInsideTheWorkFolder) {
    const QRgb colour = qRgb(211, 17, 190);
    const std::string backPic = Path("distinct.png");
    WriteFile(backPic, Png(Plain(40, 30, colour)));
    const struct {
        const char* Album;
        const char* Music;
        const char* Stored;  // the music file's name in the work folder
    } cases[] = {
        {"../../x[a]=b;%\r\n", "../../m.wav", ".__.__x[a]=b;%__.__.__m.wav"},
        {"/", "/../../n.wav", "__.__.__n.wav"},
        {"山水/..", "..", "山水_._._"},
        {"", "../o.wav", ".__o.wav"},
    };
    int k = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Album);
        ProfileMember profile = Profile();
        profile.Profile.AlbumName = Utf8ToGbk(c.Album);
        profile.Profile.MusicName = c.Music;
        const std::string album =
            Variant("named" + std::to_string(++k) + ".kfa", WithProfile(profile));
        const std::string section = EscapeSectionName(c.Album);
        EXPECT_EQ(section.find_first_of("[]=;\r\n"), std::string::npos) << section;
        const ViewerRun run = ExpectOpens(
            album, {.Snapshot = true, .Settings = "[" + section + "]\nBackPic=" + backPic + "\n"});
        EXPECT_EQ(run.WorkFiles.count(c.Stored), 1u) << run.Log();
        if (run.Snapshot.isNull())
            continue;
        for (const QPoint corner : {QPoint(0, 0), QPoint(1023, 767), QPoint(0, 767)})
            EXPECT_EQ(run.Snapshot.pixel(corner), colour) << corner.x() << "," << corner.y();
    }
}

TEST_F(DamagedAlbumTest, TurnAndStayTimesAreHeldToTheirRange) {
    const Bytes record = SetupRecord(700, 2000);
    const struct {
        Bytes Record;
        const char* Expected;
    } cases[] = {
        {record, "TurnTime=700 Interval=2700"},
        {SetupRecord(INT32_MAX, INT32_MAX), "TurnTime=10000 Interval=3610000"},
        {SetupRecord(-1, INT32_MIN), "TurnTime=0 Interval=0"},
        // Cut inside the first number: the record's own defaults.
        {Bytes(record.begin(), record.begin() + 3), "TurnTime=3 Interval=6"},
        {Bytes(record.begin(), record.begin() + 7), "TurnTime=700 Interval=703"},
    };
    int k = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Expected);
        const ViewerRun run = ExpectOpens(Variant("times" + std::to_string(++k) + ".kfa",
                                                  With(*base_, "AlbumProInfo.dat", c.Record)));
        EXPECT_EQ(Settings(run), c.Expected) << run.Log();
    }
}

TEST_F(DamagedAlbumTest, SettingsThatAreNotNumbersKeepTheAlbumsValues) {
    const std::string album =
        Variant("settings.kfa", With(*base_, "AlbumProInfo.dat", SetupRecord(700, 2000)));
    const struct {
        const char* Values;
        const char* Expected;
    } cases[] = {
        {"TurnTime=fast\nPlayTime=12x\n", "TurnTime=700 Interval=2700"},
        {"TurnTime=99999999999999999999\nPlayTime=0x10\n", "TurnTime=700 Interval=2700"},
        {"TurnTime=1500\nPlayTime=4000\n", "TurnTime=1500 Interval=4000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Values);
        const ViewerRun run =
            ExpectOpens(album, {.Settings = std::string("[Test album]\n") + c.Values});
        EXPECT_EQ(Settings(run), c.Expected) << run.Log();
    }
}

TEST_F(DamagedAlbumTest, LinksPlantedInTheTempFolderAreNotFollowed) {
    ProfileMember profile = Profile();
    profile.Profile.MusicName = kTune;
    const std::string album = Variant("music.kfa", WithProfile(profile));
    const std::string music = std::string("Test album") + kTune;
    auto plant = [&](const std::string& temp) {
        const std::string outside = temp + "/../outside";
        fs::create_directories(outside + "/folder");
        WriteFile(outside + "/victim", TextBytes("mine"));
        for (const std::string name :
             {"SndEffect.wav", "BaseFunction.dll", "pagora-", music.c_str()})
            fs::create_symlink(outside + "/victim", temp + "/" + name);
        fs::create_symlink(outside + "/folder", temp + "/pagora-AAAAAA");
        fs::create_symlink(outside + "/new", temp + "/pagora-XXXXXX");
    };
    const ViewerRun run = ExpectOpens(album, {.Prepare = plant});
    // The members went to the work folder; the links and what they name are
    // unchanged (the run's home holds both).
    EXPECT_EQ(run.WorkFiles.count("SndEffect.wav"), 1u) << run.Log();
    EXPECT_EQ(run.WorkFiles.count(music), 1u) << run.Log();
    EXPECT_FALSE(fs::exists(run.TempFolder + "/../outside/new"));
}

TEST_F(DamagedAlbumTest, PageAndPictureCountsAreHeldToTheMembers) {
    const std::string members = std::to_string(base_->size());
    const struct {
        int32_t Pages, Pictures;
        std::string Shown;
        bool PictureViews;
    } cases[] = {
        {-5, -1, "0", false},
        {INT32_MIN, 2, "0", true},
        {INT32_MAX, INT32_MAX, members, true},
        {100000, 0, members, false},
    };
    int k = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.Pages) + " pages, " + std::to_string(c.Pictures) +
                     " pictures");
        ProfileMember profile = Profile();
        profile.Profile.PageCount = c.Pages;
        profile.Profile.PictureCount = c.Pictures;
        const ViewerRun run =
            ExpectOpens(Variant("counts" + std::to_string(++k) + ".kfa", WithProfile(profile)),
                        {.Snapshot = true});
        EXPECT_EQ(run.Values("labels"),
                  std::vector<std::string>{"上一页 |下一页 |共" + c.Shown + "页 "});
        ASSERT_EQ(run.Values("menu").size(), 1u) << run.Log();
        EXPECT_EQ(run.Values("menu")[0].rfind("全屏观赏|缩略图浏览|上一页", 0) == 0, c.PictureViews)
            << run.Values("menu")[0];
        ExpectClosedBook(run);
    }
}

TEST_F(DamagedAlbumTest, OnePixelBackgroundFillsA4kScreen) {
    const Bytes pixel = EncodeJpeg(Plain(1, 1, qRgb(30, 160, 220)), 95);
    const QRgb colour = DecodeJpeg(pixel, "pixel").pixel(0, 0);
    const ViewerRun run = ExpectOpens(Variant("pixel.kfa", With(*base_, "back.jpg", pixel)),
                                      {.Width = 3840, .Height = 2160, .Snapshot = true});
    ASSERT_EQ(run.Snapshot.size(), QSize(3840, 2160));
    ASSERT_EQ(run.Values("layout").size(), 1u) << run.Log();
    const auto layout = ParseLayout(run.Values("layout")[0]);
    const int X = layout.at("RightPageX"), Y = layout.at("PageY");
    const int PW = layout.at("PageWidth"), PH = layout.at("PageHeight");
    const int S = layout.at("RightStack");
    const QRect book(QPoint(X - 2, Y - 3), QPoint(X + PW + S + 24, Y + PH + S + 24));
    int other = 0;
    for (int y = 0; y < run.Snapshot.height(); y += 2)
        for (int x = 0; x < run.Snapshot.width(); x += 2)
            if (!book.contains(x, y) && run.Snapshot.pixel(x, y) != colour)
                ++other;
    EXPECT_EQ(other, 0);
}

TEST_F(DamagedAlbumTest, EmptyOrUndecodableBackgroundIsRefusedWithTheDecodersMessage) {
    ExpectRefusedWith(Variant("back-empty.kfa", With(*base_, "back.jpg", {})),
                      "back.jpg: empty file");
    ExpectRefusedWith(Variant("back-norows.kfa", With(*base_, "back.jpg", NoRowsJpeg())),
                      "back.jpg: cannot decode JPEG: Empty JPEG image (DNL not supported)");
}

TEST_F(DamagedAlbumTest, AChosenBackgroundThatNoLongerDecodesGivesWayToTheAlbums) {
    const std::string zeroWidth = Path("zero-width.png"), empty = Path("empty.png");
    const std::string unknown = Path("picture.xyz");
    WriteFile(zeroWidth, ZeroWidthPng());
    WriteFile(empty, {});
    WriteFile(unknown, Png(Plain(4, 4, qRgb(1, 2, 3))));
    // The book comes up after the message, and Esc ends it.
    const auto opens = [](const ViewerRun& run, const std::string& message) {
        ExpectCleanEnd(run);
        EXPECT_EQ(run.Process.Status, 0) << run.Log();
        EXPECT_TRUE(run.Has("painted")) << run.Log();
        ASSERT_EQ(run.Values("message").size(), 1u) << run.Log();
        EXPECT_NE(run.Values("message")[0].find(message), std::string::npos) << run.Log();
    };
    const ViewerRun plain = ExpectOpens(Path("book.kfa"), {.Snapshot = true});
    ASSERT_FALSE(plain.Snapshot.isNull()) << plain.Log();
    for (const auto& [picture, message] :
         {std::pair{zeroWidth, zeroWidth + ": cannot decode PNG: Invalid IHDR data"},
          std::pair{empty, empty + ": empty file"},
          std::pair{unknown, std::string("Unknown picture file extension (.xyz)")}}) {
        SCOPED_TRACE(picture);
        const ViewerRun run =
            Run(Path("book.kfa"),
                {.Snapshot = true, .Settings = "[Test album]\nBackPic=" + picture + "\n"});
        opens(run, message);
        if (run.Snapshot.isNull())
            continue;
        for (const QPoint corner : {QPoint(0, 0), QPoint(1023, 767), QPoint(0, 767)})
            EXPECT_EQ(run.Snapshot.pixel(corner), plain.Snapshot.pixel(corner))
                << corner.x() << "," << corner.y();
    }
    // A file that has gone away says so too.
    opens(Run(Path("book.kfa"), {.Settings = "[Test album]\nBackPic=" + Path("gone.png") + "\n"}),
          Path("gone.png"));
}

TEST_F(DamagedAlbumTest, SplashPicturesOfAnySizeOpen) {
    const struct {
        const char* Member;
        QSize Size;
    } cases[] = {
        {"FilmBarPhoto.jpg", {8, 8}}, {"FilmBarPhoto.jpg", {2000, 300}},
        {"FilmBarPhoto.jpg", {1, 1}}, {"Albumflash.jpg", {1400, 900}},
        {"Albumflash.jpg", {1, 1}},
    };
    int k = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Member + std::string(" ") + std::to_string(c.Size.width()) + " x " +
                     std::to_string(c.Size.height()));
        ExpectOpens(Variant(
            "splash" + std::to_string(++k) + ".kfa",
            With(*base_, c.Member,
                 EncodeJpeg(Plain(c.Size.width(), c.Size.height(), qRgb(9, 99, 199)), 90))));
    }
}

TEST_F(DamagedAlbumTest, AlbumsHelperLibraryIsNeverWritten) {
    const ViewerRun run =
        ExpectOpens(Variant("library.kfa", With(*base_, "BaseFunction.dll", NoiseBytes(5000, 3))));
    // The watch saw the work folder: the page-turn sound went there.
    EXPECT_EQ(run.WorkFiles.count("SndEffect.wav"), 1u) << run.Log();
    for (const std::string& name : run.WorkFiles)
        EXPECT_EQ(name.find("BaseFunction"), std::string::npos) << name;
}

}  // namespace
}  // namespace pagora

namespace pagora {
namespace {

HotSpotRecord Covering(const std::string& picture, const std::string& title,
                       const std::string& description, double shootTime) {
    HotSpotRecord spot;
    spot.Left = -1000;
    spot.Top = -1000;
    spot.Width = INT32_MAX;
    spot.Height = INT32_MAX;
    spot.PictureName = picture;
    spot.Title = title;
    spot.Description = description;
    spot.ShootTime = shootTime;
    return spot;
}

// Pages that do not decode and hot-spot records with hostile names, markup,
// half characters, dates that are no dates and rectangles at the ends of the
// range: read through, hovered and jumped over, the book stays whole.
TEST_F(DamagedAlbumTest, HostilePagesAndHotSpotsAreReadThrough) {
    ProfileMember profile = Profile();
    profile.Profile.PageCount = 6;
    Album album = WithProfile(profile);
    album = test::Put(album, "image1.JPG", TextBytes("not a picture"));
    album = test::Put(album, "image2.JPG", NoRowsJpeg());
    album = test::Put(album, "image3.JPG", EncodeJpeg(Plain(8, 8, qRgb(1, 2, 3)), 80));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    Bytes markup =
        WriteHotSpots({Covering("PICab.jpg", "n%b%n%b%", std::string(255, 'n') + "%b%", nan)});
    markup[0] = 0xFF;  // a record count far beyond the member
    markup[3] = 0x7F;
    album = test::Put(album, "image1.dat", markup);
    album = test::Put(album, "image2.dat", {1, 0, 0});
    album = test::Put(album, "image3.dat",
                      WriteHotSpots({Covering("../../../etc/passwd", std::string(32, '\x81'),
                                              std::string(255, '\xB0'), inf)}));
    album = test::Put(album, "image4.dat",
                      WriteHotSpots({Covering("PIC1.jpg", "", "sYsTeMsEtNo", -1e300)}));
    HotSpotRecord far = Covering("x", "far", "far", 1e300);
    far.Left = INT32_MIN;
    far.Width = INT32_MIN;
    album = test::Put(album, "image5.dat", WriteHotSpots({far, far}));
    album = test::Put(album, "image6.dat", {});
    const ViewerRun run = Run(Variant("hostile-pages.kfa", album),
                              {.Then = "read", .Settings = "[Test album]\nTurnTime=40\n"});
    ExpectCleanEnd(run);
    EXPECT_EQ(run.Process.Status, 0) << run.Log();
    EXPECT_EQ(run.Values("read"),
              (std::vector<std::string>{"forward 4 8", "back 4 0", "jumps 6 0"}))
        << run.Log();
    EXPECT_TRUE(run.Values("message").empty()) << run.Log();
}

}  // namespace
}  // namespace pagora
