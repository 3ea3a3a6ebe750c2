#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <QImage>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <memory>

#include "ExifPhoto.h"
#include "TestFiles.h"
#include "archive/AlbumArchive.h"
#include "archive/AlbumProfile.h"
#include "archive/AlbumSetupInfo.h"
#include "archive/DateText.h"
#include "archive/Gbk.h"
#include "archive/HotSpotRecord.h"
#include "archive/LittleEndian.h"
#include "archive/MemberNames.h"
#include "gfx/PictureFile.h"

namespace pagora {
namespace {

using test::Bytes;
using test::ExifSegment;
using test::Jpeg;

const QRgb kRed = qRgb(220, 20, 30);
const QRgb kBlue = qRgb(20, 40, 220);
const QRgb kGreen = qRgb(20, 170, 40);

QImage Solid(int width, int height, QRgb colour) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// Upright: red above blue, 80 x 120. Stored turned a quarter counter-clockwise,
// which EXIF orientation 6 turns back.
QImage UprightTwoTone() {
    QImage picture = Solid(80, 120, kRed);
    for (int y = 60; y < 120; ++y)
        for (int x = 0; x < 80; ++x)
            picture.setPixel(x, y, kBlue);
    return picture;
}

bool Near(QRgb a, QRgb b, int tolerance = 40) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

double LocalTimeValue(time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    return DateTimeValue(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                         local.tm_min, local.tm_sec);
}

struct Album {
    explicit Album(const std::string& path) : Archive(std::make_unique<AlbumArchive>(path, 0)) {
        Profile = ReadProfile(Member(kProfileMember));
    }
    Bytes Member(const std::string& name) const {
        auto bytes = Archive->Extract(name);
        if (!bytes)
            throw std::runtime_error("no member " + name);
        return *bytes;
    }
    QImage Picture(const std::string& name) const { return DecodeJpeg(Member(name), name); }
    std::vector<HotSpotRecord> Records(const std::string& name) const {
        return ReadHotSpots(Member(name));
    }
    std::unique_ptr<AlbumArchive> Archive;
    ProfileMember Profile;
};

test::ProcessResult Kfa(std::vector<std::string> args) {
    args.insert(args.begin(), KFA_PATH);
    return test::RunProgram(args);
}

// Only the files a test put there: no album, no temporary file left behind.
std::vector<std::string> FileNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// One album made from a list and a photo on the command line, shared by the
// tests that read it back:
//   1. green.jpg   from the list: Chinese title, a description, a time
//   2. turned.jpg  from the list with an empty title: EXIF orientation 6,
//                  DateTimeOriginal and ImageDescription
//   3. plain.png   on the command line: no EXIF, a sidecar description, the file time
class KfaMadeAlbum : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        auto put = [](const std::string& name, const Bytes& bytes) {
            test::WriteFile(dir_->File(name), bytes);
            return dir_->File(name);
        };
        greenJpeg_ = Jpeg(Solid(120, 90, kGreen));
        put("green.jpg", greenJpeg_);
        put("turned.jpg", Jpeg(UprightTwoTone().transformed(QTransform().rotate(-90)),
                               ExifSegment(6, "2021:07:15 14:30:05", "Harbour at noon")));
        QImage plain = Solid(90, 90, kBlue);
        ASSERT_TRUE(plain.save(QString::fromStdString(dir_->File("plain.png")), "PNG"));
        put("plain.png.txt", test::TextBytes("A square\nin blue.\n"));
        plainTime_ = 1500000000;  // 2017-07-14 02:40:00 UTC
        struct timeval times[2] = {{plainTime_, 0}, {plainTime_, 0}};
        ASSERT_EQ(::utimes(dir_->File("plain.png").c_str(), times), 0);
        put("list.txt", test::TextBytes("# photo\ttitle\tdescription\ttime\n"
                                        "\n"
                                        "green.jpg\t绿色的田野\tFields in June\t2020-06-01 08:15\n"
                                        "turned.jpg\t\t\t\n"));
        put("tune.mp3", test::NoiseBytes(3000, 5));
        put("rain.wav", test::NoiseBytes(2000, 6));
        put("song.mid", test::NoiseBytes(100, 7));

        path_ = dir_->File("trip.kfa");
        result_ = new test::ProcessResult(Kfa({"make",        dir_->File("plain.png"),
                                               "--list",      dir_->File("list.txt"),
                                               "-o",          path_,
                                               "--name",      "夏天 Summer",
                                               "--password",  "secret",
                                               "--music",     dir_->File("tune.mp3"),
                                               "--music",     dir_->File("rain.wav"),
                                               "--music",     dir_->File("song.mid"),
                                               "--turn-time", "700",
                                               "--stay-time", "2500",
                                               "--show-info", "--back-color",
                                               "102030"}));
    }
    static void TearDownTestSuite() {
        delete result_;
        delete dir_;
    }
    void SetUp() override {
        ASSERT_NE(result_, nullptr);
        ASSERT_EQ(result_->Status, 0) << result_->Err;
        album_ = std::make_unique<Album>(path_);
    }

    static test::TempDir* dir_;
    static test::ProcessResult* result_;
    static std::string path_;
    static Bytes greenJpeg_;
    static time_t plainTime_;
    std::unique_ptr<Album> album_;
};

test::TempDir* KfaMadeAlbum::dir_ = nullptr;
test::ProcessResult* KfaMadeAlbum::result_ = nullptr;
std::string KfaMadeAlbum::path_;
Bytes KfaMadeAlbum::greenJpeg_;
time_t KfaMadeAlbum::plainTime_ = 0;

TEST_F(KfaMadeAlbum, ProfileAndSetupRecord) {
    const AlbumProfile& p = album_->Profile.Profile;
    EXPECT_EQ(p.PageCount, 4);  // three photos and a blank back page
    EXPECT_EQ(p.PictureCount, 3);
    EXPECT_EQ(GbkToUtf8(p.AlbumName), "夏天 Summer");
    EXPECT_EQ(p.Password, "secret");
    EXPECT_EQ(p.MusicName, "tune.mp3");
    EXPECT_EQ(album_->Profile.MusicList, (std::vector<std::string>{"rain.wav", "song.mid"}));

    MemoryStream stream(album_->Member(kSetupMember));
    TAlbumSetupInfo1_1 setup(&stream);
    setup.Load();
    EXPECT_EQ(setup.StoredVersion(), 2);
    EXPECT_EQ(setup.TurnTime, 700);
    EXPECT_EQ(setup.StayTime, 2500);
    EXPECT_TRUE(setup.ShowInfo);
    EXPECT_EQ(setup.BackColor, 0x302010);
}

TEST_F(KfaMadeAlbum, MusicIsStoredAsItsNameSays) {
    EXPECT_EQ(album_->Member("tune.mp3"), test::NoiseBytes(3000, 5));
    EXPECT_EQ(album_->Member("rain.wav"), test::NoiseBytes(2000, 6));
    for (const ArchiveEntry& e : album_->Archive->Entries()) {
        if (e.Name == "tune.mp3") {
            EXPECT_EQ(e.StoredLength, 3000);  // raw
        } else if (e.Name == "rain.wav" || e.Name == "song.mid") {
            EXPECT_FALSE(AlbumArchive::IsRawName(e.Name));
        }
    }
}

TEST_F(KfaMadeAlbum, BookPicturesHaveTheirSizes) {
    // The page pictures of a 1920 x 1080 screen: pages 922 x 855, picture area 845 x 814.
    for (const char* name : {"Cover.jpg", "CoverBack.jpg", "LeftPage.jpg", "RightPage.jpg"}) {
        QSize size = JpegSize(album_->Member(name), name);
        EXPECT_EQ(size, QSize(922, 855)) << name;
    }
    for (int page = 1; page <= 4; ++page)
        EXPECT_EQ(JpegSize(album_->Member(PagePictureName(page)), "page"), QSize(845, 814));
    EXPECT_EQ(JpegSize(album_->Member("Albumflash.jpg"), "splash"), QSize(558, 234));
    QSize strip = JpegSize(album_->Member("FilmBarPhoto.jpg"), "strip");
    EXPECT_EQ(strip.height(), 112);
    EXPECT_GE(strip.width(), 558);  // the splash box it scrolls through
    QImage tile = album_->Picture("back.jpg");
    ASSERT_EQ(tile.size(), QSize(256, 256));
    // Tiles meet without a seam: the colour changes across the tile's edge
    // about as much as between neighbours inside it.
    auto step = [&](QPoint a, QPoint b) {
        QRgb p = tile.pixel(a), q = tile.pixel(b);
        return std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
               std::abs(qBlue(p) - qBlue(q));
    };
    double acrossX = 0, insideX = 0, acrossY = 0, insideY = 0;
    for (int i = 0; i < 256; ++i) {
        acrossX += step({255, i}, {0, i});
        insideX += step({127, i}, {128, i});
        acrossY += step({i, 255}, {i, 0});
        insideY += step({i, 127}, {i, 128});
    }
    EXPECT_LT(acrossX, 2 * insideX + 256);
    EXPECT_LT(acrossY, 2 * insideY + 256);
}

TEST_F(KfaMadeAlbum, TheTurnSoundIsAShortWave) {
    Bytes wav = album_->Member("SndEffect.wav");
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(LoadLE(wav.data() + 20, 2), 1u);   // PCM
    EXPECT_EQ(LoadLE(wav.data() + 34, 2), 16u);  // bits
    double seconds = static_cast<double>(LoadI32(wav.data() + 40)) / LoadI32(wav.data() + 28);
    EXPECT_GT(seconds, 0.2);
    EXPECT_LT(seconds, 0.8);
    int peak = 0;
    for (size_t at = 44; at + 1 < wav.size(); at += 2)
        peak = std::max(peak, std::abs(static_cast<int16_t>(LoadLE(wav.data() + at, 2))));
    EXPECT_GT(peak, 8000);  // audible, not clipped silence
    EXPECT_LT(peak, 32767);
}

TEST_F(KfaMadeAlbum, PicturesCarryNumbersOfTheirOwnInformation) {
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE(k);
        auto number = album_->Archive->MemberNumber(PictureName(k));
        ASSERT_TRUE(number);
        // "Image" + K + ".dat" must not be a page's "image" + N + ".dat".
        EXPECT_GT(*number, album_->Profile.Profile.PageCount);
        auto info = album_->Records(PictureInfoName(*number));
        ASSERT_EQ(info.size(), 1u);
        EXPECT_EQ(info[0].PictureName, PictureName(k));
        EXPECT_EQ(info[0], album_->Records(PageInfoName(k)).at(0));
        QImage preview = album_->Picture(SmallPictureName(k));
        EXPECT_LE(preview.width(), (1920 - 48) / 5 - 4);
        EXPECT_LE(preview.height(), (1080 - 112) / 4 - 4);
    }
    EXPECT_TRUE(album_->Records(PageInfoName(4)).empty());
    EXPECT_FALSE(album_->Archive->Contains(PictureName(4)));
}

TEST_F(KfaMadeAlbum, PagesFollowTheListThenTheCommandLine) {
    // An upright JPEG keeps its own bytes.
    EXPECT_EQ(album_->Member(PictureName(1)), greenJpeg_);
    QImage turned = album_->Picture(PictureName(2));
    ASSERT_EQ(turned.size(), QSize(80, 120));  // upright: portrait
    EXPECT_TRUE(Near(turned.pixel(40, 10), kRed));
    EXPECT_TRUE(Near(turned.pixel(40, 110), kBlue));
    QImage square = album_->Picture(PictureName(3));
    EXPECT_EQ(square.size(), QSize(90, 90));
    EXPECT_TRUE(Near(square.pixel(45, 45), kBlue));
}

TEST_F(KfaMadeAlbum, TextsAndTimesComeFromListExifSidecarAndFile) {
    HotSpotRecord green = album_->Records(PageInfoName(1)).at(0);
    EXPECT_EQ(GbkToUtf8(green.Title), "绿色的田野");
    EXPECT_EQ(green.Title, Utf8ToGbk("绿色的田野"));
    EXPECT_EQ(green.Description, "Fields in June");
    EXPECT_DOUBLE_EQ(green.ShootTime, DateTimeValue(2020, 6, 1, 8, 15, 0));

    HotSpotRecord turned = album_->Records(PageInfoName(2)).at(0);
    EXPECT_EQ(turned.Title, "Harbour at noon");
    EXPECT_EQ(turned.Description, "");
    EXPECT_DOUBLE_EQ(turned.ShootTime, DateTimeValue(2021, 7, 15, 14, 30, 5));

    HotSpotRecord plain = album_->Records(PageInfoName(3)).at(0);
    EXPECT_EQ(plain.Title, "plain");
    EXPECT_EQ(plain.Description, "A square in blue.");
    EXPECT_NEAR(plain.ShootTime, LocalTimeValue(plainTime_), 1.0 / 86400);
}

// Scaled as the viewer scales it on the screen the album was made for, each
// hot spot lies on its photo in the page picture, and the photo ends near it.
TEST_F(KfaMadeAlbum, HotSpotsLieOnThePhotos) {
    const QRgb colours[][2] = {{kGreen, kGreen}, {kRed, kBlue}, {kBlue, kBlue}};
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE(k);
        HotSpotRecord r = album_->Records(PageInfoName(k)).at(0);
        auto screen = [](int units) { return static_cast<int>(std::nearbyint(units * 1.875)); };
        QRect spot(screen(r.Left), screen(r.Top), screen(r.Width), screen(r.Height));
        QImage page = album_->Picture(PagePictureName(k));
        ASSERT_TRUE(page.rect().contains(spot));
        EXPECT_GT(spot.width(), 300);
        // Inside each edge; the corners lie under the print's corner mounts.
        QRgb top = colours[k - 1][0], bottom = colours[k - 1][1];
        int inset = 4, cx = spot.center().x();
        int upper = spot.top() + spot.height() / 4, lower = spot.bottom() - spot.height() / 4;
        EXPECT_TRUE(Near(page.pixel(spot.left() + inset, upper), top));
        EXPECT_TRUE(Near(page.pixel(spot.right() - inset, upper), top));
        EXPECT_TRUE(Near(page.pixel(cx, spot.top() + inset), top));
        EXPECT_TRUE(Near(page.pixel(spot.left() + inset, lower), bottom));
        EXPECT_TRUE(Near(page.pixel(spot.right() - inset, lower), bottom));
        EXPECT_TRUE(Near(page.pixel(cx, spot.bottom() - inset), bottom));
        // A few pixels beyond each edge the print's white border begins.
        int out = 6;
        for (QPoint p : {QPoint(spot.left() - out, spot.center().y()),
                         QPoint(spot.right() + out, spot.center().y()),
                         QPoint(cx, spot.top() - out), QPoint(cx, spot.bottom() + out)})
            EXPECT_TRUE(Near(page.pixel(p), qRgb(250, 250, 245), 25))
                << p.x() << "," << p.y() << " is " << std::hex << page.pixel(p);
    }
}

TEST_F(KfaMadeAlbum, NoTemporaryFileStaysBehind) {
    for (const std::string& name : FileNames(dir_->Path()))
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

class KfaMake : public ::testing::Test {
  protected:
    std::string Put(const std::string& name, const Bytes& bytes) {
        test::WriteFile(dir_.File(name), bytes);
        return dir_.File(name);
    }
    test::TempDir dir_;
};

TEST_F(KfaMake, ABadPhotoStopsTheRunAndLeavesNoAlbum) {
    std::string good = Put("good.jpg", Jpeg(Solid(60, 40, kGreen)));
    Bytes damaged = Jpeg(Solid(60, 40, kRed));
    damaged.resize(damaged.size() / 3);
    std::string bad = Put("torn.jpg", damaged);
    std::vector<std::string> before = FileNames(dir_.Path());

    auto r = Kfa({"make", good, bad, good, "-o", dir_.File("a.kfa"), "--screen", "1024x768"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Err.find("torn.jpg"), std::string::npos) << r.Err;
    EXPECT_EQ(FileNames(dir_.Path()), before);

    r = Kfa(
        {"make", good, bad, good, "-o", dir_.File("a.kfa"), "--screen", "1024x768", "--skip-bad"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Err.find("torn.jpg"), std::string::npos) << r.Err;
    Album album(dir_.File("a.kfa"));
    EXPECT_EQ(album.Profile.Profile.PictureCount, 2);
    EXPECT_EQ(album.Profile.Profile.PageCount, 2);
    EXPECT_TRUE(album.Archive->Contains(PictureName(2)));
    EXPECT_FALSE(album.Archive->Contains(PictureName(3)));
    // Made for 1024 x 768: page pictures 451 x 579, hot spots in screen pixels.
    QImage page = album.Picture(PagePictureName(1));
    EXPECT_EQ(page.size(), QSize(451, 579));
    HotSpotRecord r1 = album.Records(PageInfoName(1)).at(0);
    QRect spot(r1.Left, r1.Top, r1.Width, r1.Height);
    EXPECT_TRUE(Near(page.pixel(spot.center()), kGreen));
    EXPECT_TRUE(Near(page.pixel(spot.left() + 3, spot.center().y()), kGreen));
    EXPECT_TRUE(Near(page.pixel(spot.right() - 3, spot.center().y()), kGreen));
    EXPECT_TRUE(Near(page.pixel(spot.center().x(), spot.top() + 3), kGreen));
    EXPECT_TRUE(Near(page.pixel(spot.center().x(), spot.bottom() - 3), kGreen));
    EXPECT_FALSE(Near(page.pixel(spot.left() - 5, spot.center().y()), kGreen));
}

TEST_F(KfaMake, OnlyBadPhotosMakeNoAlbumEvenWhenSkipped) {
    std::string bad = Put("empty.jpg", {});
    auto r = Kfa({"make", bad, "-o", dir_.File("a.kfa"), "--skip-bad"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("a.kfa")));
}

TEST_F(KfaMake, TextsGbkCannotHoldAreErrorsNamingPhotoAndText) {
    std::string photo = Put("cat.jpg", Jpeg(Solid(40, 30, kRed)));
    Put("list.txt", test::TextBytes("cat.jpg\tSmile \xF0\x9F\x98\x80\n"));  // an emoji
    auto r = Kfa({"make", "--list", dir_.File("list.txt"), "-o", dir_.File("a.kfa")});
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Err.find("cat.jpg"), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("Smile \xF0\x9F\x98\x80"), std::string::npos) << r.Err;
    EXPECT_FALSE(std::filesystem::exists(dir_.File("a.kfa")));
}

TEST_F(KfaMake, LongTextsAreCutAtACharacter) {
    std::string photo = Put("long.jpg", Jpeg(Solid(40, 30, kRed)));
    std::string title;
    for (int i = 0; i < 20; ++i)
        title += "山";  // 40 bytes in GBK
    Put("list.txt", test::TextBytes("long.jpg\ta" + title + "\n"));
    auto r = Kfa({"make", "--list", dir_.File("list.txt"), "-o", dir_.File("a.kfa")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Err.find("shortened"), std::string::npos);
    HotSpotRecord record = Album(dir_.File("a.kfa")).Records(PageInfoName(1)).at(0);
    EXPECT_EQ(record.Title, Utf8ToGbk("a" + title.substr(0, 15 * 3)));  // 31 bytes
}

TEST_F(KfaMake, PagesOnlyWithoutPictures) {
    std::string photo = Put("one.jpg", Jpeg(Solid(50, 50, kBlue)));
    auto r = Kfa({"make", photo, photo, "-o", dir_.File("a.kfa"), "--no-pictures"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    Album album(dir_.File("a.kfa"));
    EXPECT_EQ(album.Profile.Profile.PictureCount, 0);
    EXPECT_EQ(album.Profile.Profile.PageCount, 2);
    for (const ArchiveEntry& e : album.Archive->Entries()) {
        EXPECT_NE(e.Name.rfind("PIC", 0), 0u) << e.Name;
        EXPECT_NE(e.Name.rfind("SmallPIC", 0), 0u) << e.Name;
        EXPECT_NE(e.Name.rfind("Image", 0), 0u) << e.Name;
    }
    // The balloons still have their texts.
    EXPECT_EQ(album.Records(PageInfoName(2)).at(0).Title, "one");
}

TEST_F(KfaMake, MistakesInTheCallAreUsageErrors) {
    std::string photo = Put("p.jpg", Jpeg(Solid(20, 20, kRed)));
    Put("x.ogg", {1, 2, 3});
    Put("bad-list.txt", test::TextBytes("p.jpg\tT\tD\tyesterday\n"));
    const std::vector<std::vector<std::string>> calls = {
        {"make", "-o", dir_.File("a.kfa")},
        {"make", photo},
        {"make", photo, "-o", dir_.File("a.kfa"), "--music", dir_.File("x.ogg")},
        {"make", photo, "-o", dir_.File("a.kfa"), "--screen", "1920"},
        {"make", photo, "-o", dir_.File("a.kfa"), "--screen", "100x100"},
        {"make", photo, "-o", dir_.File("a.kfa"), "--back-color", "12345"},
        {"make", photo, "-o", dir_.File("a.kfa"), "--turn-time", "-1"},
        {"make", photo, "-o", dir_.File("a.kfa"), "--password", std::string(33, 'p')},
        {"make", "--list", dir_.File("bad-list.txt"), "-o", dir_.File("a.kfa")},
    };
    for (const auto& call : calls) {
        auto r = Kfa(call);
        EXPECT_EQ(r.Status, 2) << call.back();
        EXPECT_FALSE(r.Err.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.File("a.kfa")));
}

TEST_F(KfaMake, MusicNamesStayShortAndUnique) {
    std::string photo = Put("p.jpg", Jpeg(Solid(20, 20, kRed)));
    std::filesystem::create_directory(dir_.File("other"));
    std::string longName = std::string(40, 'm') + ".mp3";
    auto r = Kfa({"make", photo, "-o", dir_.File("a.kfa"), "--music", Put(longName, {1}), "--music",
                  Put("SndEffect.wav", {2}), "--music", Put("Song.MID", {3}), "--music",
                  Put("other/song.mid", {4})});
    ASSERT_EQ(r.Status, 0) << r.Err;
    Album album(dir_.File("a.kfa"));
    EXPECT_EQ(album.Profile.Profile.MusicName, std::string(28, 'm') + ".mp3");
    EXPECT_EQ(album.Profile.MusicList,
              (std::vector<std::string>{"SndEffect~2.wav", "Song.MID", "song~2.mid"}));
    EXPECT_EQ(album.Member(std::string(28, 'm') + ".mp3"), Bytes{1});
    EXPECT_EQ(album.Member("song~2.mid"), Bytes{4});
}

class KfaBundle : public KfaMake {
  protected:
    std::string MakeAlbum() {
        std::string photo = Put("p.jpg", Jpeg(Solid(30, 20, kGreen)));
        auto r = Kfa({"make", photo, "-o", dir_.File("a.kfa"), "--screen", "1024x768"});
        EXPECT_EQ(r.Status, 0) << r.Err;
        return dir_.File("a.kfa");
    }
    // A stand-in for the viewer: some bytes and the 8 zero bytes a viewer ends with.
    std::string Viewer() {
        Bytes bytes = test::NoiseBytes(5000, 9);
        bytes.insert(bytes.end(), 8, 0);
        return Put("viewer", bytes);
    }
};

TEST_F(KfaBundle, TheViewerCarriesTheAlbum) {
    std::string album = MakeAlbum(), viewer = Viewer();
    auto r = Kfa({"bundle", album, "-o", dir_.File("show"), "--viewer", viewer});
    ASSERT_EQ(r.Status, 0) << r.Err;
    Bytes bundle = test::ReadFile(dir_.File("show"));
    Bytes program = test::ReadFile(viewer);
    ASSERT_GT(bundle.size(), program.size() + 8);
    EXPECT_TRUE(std::equal(program.begin(), program.end(), bundle.begin()));
    EXPECT_EQ(LoadI64(bundle.data() + bundle.size() - 8), static_cast<int64_t>(program.size()));
    struct stat info;
    ASSERT_EQ(::stat(dir_.File("show").c_str(), &info), 0);
    EXPECT_TRUE(info.st_mode & S_IXUSR);

    auto listed = Kfa({"list", dir_.File("show")});
    ASSERT_EQ(listed.Status, 0) << listed.Err;
    EXPECT_EQ(listed.Out, Kfa({"list", album}).Out);
    AlbumArchive original(album, 0), carried(dir_.File("show"), program.size());
    for (const ArchiveEntry& e : original.Entries())
        EXPECT_EQ(carried.Extract(e.Name), original.Extract(e.Name)) << e.Name;

    // A bundle is no viewer for another album.
    r = Kfa({"bundle", album, "-o", dir_.File("twice"), "--viewer", dir_.File("show")});
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Err.find("already"), std::string::npos) << r.Err;
    EXPECT_FALSE(std::filesystem::exists(dir_.File("twice")));
}

TEST_F(KfaBundle, AMissingViewerIsAClearError) {
    std::string album = MakeAlbum();
    auto r = Kfa({"bundle", album, "-o", dir_.File("show"), "--viewer", dir_.File("nowhere")});
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Err.find("nowhere"), std::string::npos) << r.Err;
    EXPECT_FALSE(std::filesystem::exists(dir_.File("show")));
}

}  // namespace
}  // namespace pagora
