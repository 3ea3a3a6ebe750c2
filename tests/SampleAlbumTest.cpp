#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "Scenes.h"
#include "TestFiles.h"
#include "archive/AlbumArchive.h"
#include "archive/AlbumProfile.h"
#include "archive/Gbk.h"
#include "archive/HotSpotRecord.h"
#include "archive/MemberNames.h"
#include "gfx/PictureFile.h"

namespace pagora {
namespace {

std::string SampleFile(const std::string& name) {
    return std::string(SAMPLE_ALBUM_DIR) + "/" + name;
}

std::vector<uint8_t> Member(const AlbumArchive& album, const std::string& name) {
    auto bytes = album.Extract(name);
    if (!bytes)
        throw std::runtime_error(album.Path() + " has no member " + name);
    return *bytes;
}

// Days since 1899-12-30, worked out apart from the album code.
double DayCount(int year, unsigned month, unsigned day, int hour, int minute) {
    using namespace std::chrono;
    auto days = sys_days(std::chrono::year(year) / month / day) - sys_days(1899y / December / 30);
    return days.count() + (hour * 60 + minute) / 1440.0;
}

struct Variant {
    const char* File;
    int Pages;
    int Pictures;  // photos shown; the profile says 0 when the album has no pictures
    bool HasPictures;
    const char* Password;
    std::vector<std::string> Music;  // in play order
};

void PrintTo(const Variant& v, std::ostream* out) {
    *out << v.File;
}

class SampleAlbum : public ::testing::TestWithParam<Variant> {};

TEST_P(SampleAlbum, ProfileCountsPasswordAndMusic) {
    const Variant& v = GetParam();
    AlbumArchive album(SampleFile(v.File), 0);
    ProfileMember profile = ReadProfile(Member(album, kProfileMember));
    EXPECT_EQ(profile.Profile.PageCount, v.Pages);
    EXPECT_EQ(profile.Profile.PageCount % 2, 0);
    EXPECT_EQ(profile.Profile.PictureCount, v.HasPictures ? v.Pictures : 0);
    EXPECT_EQ(profile.Profile.Password, v.Password);
    EXPECT_EQ(profile.PlayOrder(), v.Music);
    for (const std::string& track : v.Music)
        EXPECT_TRUE(album.Contains(track)) << track;
    for (const char* track : {"morning-piano.wav", "spring-melody.mid"})
        if (std::find(v.Music.begin(), v.Music.end(), track) == v.Music.end()) {
            EXPECT_FALSE(album.Contains(track)) << track;
        }
}

TEST_P(SampleAlbum, EveryPageAndPictureDecodes) {
    const Variant& v = GetParam();
    AlbumArchive album(SampleFile(v.File), 0);
    QSize pageSize;
    for (int page = 1; page <= v.Pages; ++page) {
        QImage picture = DecodeJpeg(Member(album, PagePictureName(page)), PagePictureName(page));
        if (page > 1) {
            EXPECT_EQ(picture.size(), pageSize) << "page " << page;
        }
        pageSize = picture.size();
        std::vector<HotSpotRecord> spots = ReadHotSpots(Member(album, PageInfoName(page)));
        EXPECT_EQ(spots.size(), page <= v.Pictures ? 1u : 0u) << "page " << page;
    }
    EXPECT_FALSE(album.Contains(PagePictureName(v.Pages + 1)));
    for (int k = 1; k <= v.Pictures; ++k) {
        ASSERT_EQ(album.Contains(PictureName(k)), v.HasPictures) << k;
        if (!v.HasPictures)
            continue;
        QImage full = DecodeJpeg(Member(album, PictureName(k)), PictureName(k));
        QImage small = DecodeJpeg(Member(album, SmallPictureName(k)), SmallPictureName(k));
        EXPECT_GE(std::max(full.width(), full.height()), 1600);
        EXPECT_LT(small.width() * small.height(), full.width() * full.height());
    }
    if (!v.HasPictures) {
        EXPECT_FALSE(album.Contains(SmallPictureName(1)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Variants, SampleAlbum,
    ::testing::Values(
        Variant{"sample.kfa", 12, 12, true, "", {"morning-piano.wav", "spring-melody.mid"}},
        Variant{"sample-password.kfa", 2, 2, true, "1234", {"spring-melody.mid"}},
        Variant{"sample-odd.kfa", 4, 3, true, "", {"spring-melody.mid"}},
        Variant{"sample-nomusic.kfa", 2, 2, true, "", {}},
        Variant{"sample-nopictures.kfa", 2, 2, false, "", {"spring-melody.mid"}}),
    [](const auto& info) {
        std::string name = info.param.File;
        name = name.substr(0, name.find('.'));
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

TEST(SampleAlbumTexts, TitlesDescriptionsAndTimesReadBackInChineseAndEnglish) {
    AlbumArchive album(SampleFile("sample.kfa"), 0);
    const auto& scenes = sample::Scenes();
    ASSERT_EQ(scenes.size(), 12u);
    for (size_t i = 0; i < scenes.size(); ++i) {
        int page = static_cast<int>(i) + 1;
        std::vector<HotSpotRecord> spots = ReadHotSpots(Member(album, PageInfoName(page)));
        ASSERT_EQ(spots.size(), 1u) << "page " << page;
        EXPECT_EQ(GbkToUtf8(spots[0].Title), scenes[i].Title);
        EXPECT_EQ(GbkToUtf8(spots[0].Description), scenes[i].Description);
        int year, month, day, hour, minute;
        ASSERT_EQ(
            std::sscanf(scenes[i].Time, "%d-%d-%d %d:%d", &year, &month, &day, &hour, &minute), 5);
        EXPECT_NEAR(spots[0].ShootTime, DayCount(year, month, day, hour, minute), 1e-6)
            << scenes[i].Time;
        // The full-size picture is the photo's own JPEG, byte for byte.
        EXPECT_EQ(Member(album, GbkToUtf8(spots[0].PictureName)),
                  test::ReadFile(SampleFile(std::string("sample/") + scenes[i].File)));
    }
    ProfileMember profile = ReadProfile(Member(album, kProfileMember));
    EXPECT_EQ(GbkToUtf8(profile.Profile.AlbumName), "山水之间 Between Mountains and Water");
}

TEST(SampleAlbumTexts, MusicTracksAreTheGeneratedFiles) {
    AlbumArchive album(SampleFile("sample.kfa"), 0);
    for (const char* track : {"morning-piano.wav", "spring-melody.mid"})
        EXPECT_EQ(Member(album, track), test::ReadFile(SampleFile(std::string("sample/") + track)))
            << track;
}

class SampleGenerator : public ::testing::Test {
  protected:
    test::ProcessResult Generate(const std::vector<std::string>& args) {
        std::vector<std::string> argv = {SAMPLE_GENERATOR_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        return test::RunProgram(argv);
    }
    test::TempDir dir_;
};

TEST_F(SampleGenerator, DrawsTheSamePhotoEveryTime) {
    // Photo 4 has water, clouds, stars and glows: every kind of randomness the scenes use.
    const std::string file = sample::Scenes()[3].File;
    for (const char* folder : {"a", "b"}) {
        auto r = Generate({"-o", dir_.File(folder), "--only", "4"});
        ASSERT_EQ(r.Status, 0) << r.Err;
    }
    test::Bytes first = test::ReadFile(dir_.File("a/" + file));
    EXPECT_GT(first.size(), 50000u);
    EXPECT_EQ(first, test::ReadFile(dir_.File("b/" + file)));
    EXPECT_EQ(first, test::ReadFile(SampleFile("sample/" + file)));
    // --only draws that photo and nothing else.
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.File("a")))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1u);
}

TEST_F(SampleGenerator, RefusesPhotoNumbersOutOfRange) {
    for (const char* n : {"0", "13", "x", "-1"}) {
        auto r = Generate({"-o", dir_.File("out"), "--only", n});
        EXPECT_EQ(r.Status, 2) << n;
        EXPECT_NE(r.Err.find("--only"), std::string::npos) << n;
    }
    EXPECT_EQ(Generate({"--only", "1"}).Status, 2);  // no folder
    EXPECT_FALSE(std::filesystem::exists(dir_.File("out")));
}

}  // namespace
}  // namespace pagora
