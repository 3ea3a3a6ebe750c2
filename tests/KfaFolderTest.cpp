// kfa make on folders of photos: which files count, their order, parallel
// making that does not change a byte, and photos turned without loss.
#include <gtest/gtest.h>
#include <sys/time.h>

#include <QImage>
#include <filesystem>
#include <memory>

#include "ExifPhoto.h"
#include "PictureWriters.h"
#include "SyntheticPhoto.h"
#include "TestFiles.h"
#include "archive/AlbumArchive.h"
#include "archive/AlbumProfile.h"
#include "archive/Gbk.h"
#include "archive/HotSpotRecord.h"
#include "archive/MemberNames.h"
#include "gfx/Orientation.h"
#include "gfx/PictureFile.h"

namespace pagora {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

test::ProcessResult Kfa(std::vector<std::string> args) {
    args.insert(args.begin(), KFA_PATH);
    return test::RunProgram(args);
}

Bytes Member(const AlbumArchive& album, const std::string& name) {
    auto bytes = album.Extract(name);
    if (!bytes)
        throw std::runtime_error("no member " + name);
    return *bytes;
}

// The pages' titles in page order; a photo's title is its file's stem here.
std::vector<std::string> Titles(const std::string& albumPath) {
    AlbumArchive album(albumPath, 0);
    const ProfileMember profile = ReadProfile(Member(album, kProfileMember));
    std::vector<std::string> titles;
    for (int k = 1; k <= profile.Profile.PictureCount; ++k)
        titles.push_back(GbkToUtf8(ReadHotSpots(Member(album, PageInfoName(k))).at(0).Title));
    return titles;
}

Bytes Shot(const std::string& when, int orientation = 1, int seed = 1) {
    return test::Jpeg(test::SyntheticPhoto(48, 32, seed), test::ExifSegment(orientation, when, ""));
}

Bytes Torn() {
    Bytes jpeg = Shot("2020:01:01 00:00:00");
    jpeg.resize(jpeg.size() / 3);
    return jpeg;
}

class KfaFolder : public testing::Test {
  protected:
    std::string Put(const std::string& name, const Bytes& bytes) {
        const std::string path = dir_.File(name);
        fs::create_directories(fs::path(path).parent_path());
        test::WriteFile(path, bytes);
        return path;
    }
    static void SetTime(const std::string& path, time_t when) {
        struct timeval times[2] = {{when, 0}, {when, 0}};
        ASSERT_EQ(::utimes(path.c_str(), times), 0);
    }
    test::ProcessResult Make(std::vector<std::string> sources, std::vector<std::string> options,
                             const std::string& album = "a.kfa") {
        sources.insert(sources.begin(), "make");
        sources.insert(sources.end(),
                       {"-o", dir_.File(album), "--screen", "1024x768", "--name", "Album"});
        sources.insert(sources.end(), options.begin(), options.end());
        return Kfa(sources);
    }
    test::TempDir dir_;
};

TEST_F(KfaFolder, PicturesInShootingOrderThenByName) {
    Put("trip/b.jpg", Shot("2020:01:02 10:00:00"));
    Put("trip/a.jpg", Shot("2020:01:02 10:00:00"));
    const std::string png = dir_.File("trip/c.png");
    ASSERT_TRUE(test::SyntheticPhoto(40, 30, 3).save(QString::fromStdString(png), "PNG"));
    SetTime(png, 1559390400);
    Put("trip/D.JPG", Shot("2021:05:06 07:08:09"));
    // Passed over: not pictures, hidden (and unreadable, so a read would show).
    Put("trip/notes.txt", test::TextBytes("a day out"));
    Put("trip/b.jpg.txt", test::TextBytes("a description"));
    Put("trip/album.kfa", test::NoiseBytes(100));
    Put("trip/README", test::NoiseBytes(100));
    Put("trip/.hidden.jpg", Torn());
    Put("trip/.thumbnails/x.jpg", Torn());
    Put("trip/sub/e.jpg", Shot("2018:03:04 05:06:07"));
    fs::create_directory_symlink(dir_.File("trip"), dir_.File("trip/loop"));
    const std::string named = Put("z.jpg", Shot("2022:01:01 00:00:00"));

    auto r = Make({named, dir_.File("trip")}, {});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(Titles(dir_.File("a.kfa")), (std::vector<std::string>{"z", "c", "a", "b", "D"}));
    // The sidecar still describes its photo.
    AlbumArchive album(dir_.File("a.kfa"), 0);
    EXPECT_EQ(ReadHotSpots(Member(album, PageInfoName(4))).at(0).Description, "a description");

    r = Make({dir_.File("trip")}, {"--recursive"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(Titles(dir_.File("a.kfa")), (std::vector<std::string>{"e", "c", "a", "b", "D"}));
}

TEST_F(KfaFolder, AFolderWithoutPicturesIsAnErrorWhenNothingElseIsLeft) {
    Put("empty/notes.txt", test::TextBytes("nothing here"));
    Put("deep/sub/e.jpg", Shot("2018:03:04 05:06:07"));
    fs::create_directory(dir_.File("bare"));

    for (const char* folder : {"empty", "deep", "bare"}) {
        SCOPED_TRACE(folder);
        auto r = Make({dir_.File(folder)}, {});
        EXPECT_EQ(r.Status, 2);
        EXPECT_NE(r.Err.find(dir_.File(folder) + ": no pictures in it"), std::string::npos)
            << r.Err;
        EXPECT_FALSE(fs::exists(dir_.File("a.kfa")));
    }
    EXPECT_NE(Make({dir_.File("deep")}, {}).Err.find("--recursive"), std::string::npos);

    // Beside other photos an empty folder is only noted.
    auto r = Make({dir_.File("empty"), dir_.File("deep")}, {"--recursive"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Err.find("no pictures in " + dir_.File("empty")), std::string::npos) << r.Err;
    EXPECT_EQ(Titles(dir_.File("a.kfa")), std::vector<std::string>{"e"});
}

TEST_F(KfaFolder, ABrokenPictureInAFolderStopsTheRun) {
    Put("trip/good.jpg", Shot("2020:01:01 00:00:00"));
    Put("trip/torn.jpg", Torn());
    auto r = Make({dir_.File("trip")}, {"--jobs", "2"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Err.find("torn.jpg"), std::string::npos) << r.Err;
    EXPECT_FALSE(fs::exists(dir_.File("a.kfa")));
}

// A skipped photo moves every later one to the facing page, whose paper is
// mirrored: the album must come out as if the photo had never been there.
TEST_F(KfaFolder, JobsDoNotChangeAByte) {
    for (int i = 0; i < 9; ++i) {
        const std::string when = "2020:01:01 00:00:0" + std::to_string(i);
        const QImage photo = test::SyntheticPhoto(40 + 8 * i, 90 - 5 * i, i);
        Put("clean/" + std::to_string(i) + ".jpg",
            test::Jpeg(photo, test::ExifSegment(1 + i % 8, when, "")));
    }
    fs::copy(dir_.File("clean"), dir_.File("with-bad"));
    Put("with-bad/3a.jpg", Torn());

    auto one = Make({dir_.File("with-bad")}, {"--skip-bad", "--jobs", "1"}, "one.kfa");
    ASSERT_EQ(one.Status, 0) << one.Err;
    EXPECT_NE(one.Err.find("3a.jpg"), std::string::npos) << one.Err;
    auto four = Make({dir_.File("with-bad")}, {"--skip-bad", "--jobs", "4"}, "four.kfa");
    ASSERT_EQ(four.Status, 0) << four.Err;
    auto clean = Make({dir_.File("clean")}, {"--jobs", "3"}, "clean.kfa");
    ASSERT_EQ(clean.Status, 0) << clean.Err;

    const Bytes album = test::ReadFile(dir_.File("one.kfa"));
    EXPECT_EQ(Titles(dir_.File("one.kfa")).size(), 9u);
    EXPECT_TRUE(album == test::ReadFile(dir_.File("four.kfa")));
    EXPECT_TRUE(album == test::ReadFile(dir_.File("clean.kfa")));
}

TEST_F(KfaFolder, JobsMustBeAWholeNumberOfOneOrMore) {
    const std::string photo = Put("p.jpg", Shot("2020:01:01 00:00:00"));
    for (const char* jobs : {"0", "-2", "many", "257"}) {
        auto r = Make({photo}, {"--jobs", jobs});
        EXPECT_EQ(r.Status, 2) << jobs;
        EXPECT_NE(r.Err.find("--jobs"), std::string::npos) << r.Err;
    }
}

// A photo stored turned, with its EXIF orientation, and whether the turn
// upright can be made on the JPEG's blocks: camera JPEGs have 16 x 16 MCUs,
// and a partial one must not move to the top or left edge.
//
// The photos are grey 8 x 8 blocks, each flat: such blocks decode alike in
// whatever order the decoder runs its passes, so a lossless turn must decode
// to the turned original pixel for pixel. (On photographs the two differ by
// the decoder's rounding, a level or two.)
struct TurnRow {
    std::string Name;
    int Index;  // the photo's place in the album
    int Width, Height;
    int Orientation;
    bool Lossless;
};

void PrintTo(const TurnRow& row, std::ostream* out) {
    *out << row.Name;
}

std::vector<TurnRow> TurnRows() {
    static const char* const kNames[] = {"",       "Upright",     "Mirrored",
                                         "Upside", "Flipped",     "Transposed",
                                         "Right",  "Transversed", "Left"};
    struct Size {
        const char* Name;
        int Width, Height;
    };
    static const Size kSizes[] = {
        {"Whole", 64, 48}, {"PartWide", 61, 48}, {"PartHigh", 64, 45}, {"PartBoth", 61, 45}};
    std::vector<TurnRow> rows;
    for (const Size& size : kSizes) {
        const bool wide = size.Width % 16 == 0, high = size.Height % 16 == 0;
        const bool lossless[] = {false, true, wide,         wide && high, high,
                                 true,  high, wide && high, wide};
        for (int o = 1; o <= 8; ++o)
            rows.push_back({std::string(kNames[o]) + size.Name, static_cast<int>(rows.size()),
                            size.Width, size.Height, o, lossless[o]});
    }
    return rows;
}

QImage GreyBlocks(int width, int height, int seed) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int level = 30 + (x / 8 * 37 + y / 8 * 71 + seed * 13) % 190;
            picture.setPixel(x, y, qRgb(level, level, level));
        }
    return picture;
}

class KfaTurn : public testing::TestWithParam<TurnRow> {
  protected:
    // One album of every row's photo, in the rows' order.
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        const std::vector<TurnRow> rows = TurnRows();
        std::vector<std::string> make = {"make"};
        for (const TurnRow& row : rows) {
            const std::string path = dir_->File(row.Name + ".jpg");
            test::WriteFile(path, test::Jpeg(GreyBlocks(row.Width, row.Height, row.Index),
                                             test::ExifSegment(row.Orientation, "", "")));
            make.push_back(path);
        }
        make.insert(make.end(), {"-o", dir_->File("turned.kfa"), "--screen", "1024x768"});
        const auto result = Kfa(make);
        ASSERT_EQ(result.Status, 0) << result.Err;
        album_ = new AlbumArchive(dir_->File("turned.kfa"), 0);
    }
    static void TearDownTestSuite() {
        delete album_;
        delete dir_;
    }
    static inline test::TempDir* dir_ = nullptr;
    static inline AlbumArchive* album_ = nullptr;
};

TEST_P(KfaTurn, StoredUprightWithoutLossWherePossible) {
    const TurnRow& row = GetParam();
    ASSERT_NE(album_, nullptr);
    const Bytes original = test::ReadFile(dir_->File(row.Name + ".jpg"));
    const Bytes stored = Member(*album_, PictureName(row.Index + 1));
    const QImage upright = OrientUpright(DecodeJpeg(original, "original"), row.Orientation);
    const QImage picture = DecodeJpeg(stored, "stored");
    ASSERT_EQ(picture.size(), upright.size());
    if (row.Orientation == 1) {
        EXPECT_TRUE(stored == original);
    } else if (row.Lossless) {
        EXPECT_EQ(test::MaxChannelDifference(picture, upright), 0);
        // The EXIF block goes along, no longer asking for a turn.
        EXPECT_EQ(test::StoredOrientation(stored), 1);
    } else {
        EXPECT_GT(test::Psnr(picture, upright), 30);
        EXPECT_EQ(test::StoredOrientation(stored), std::nullopt);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryOrientation, KfaTurn, testing::ValuesIn(TurnRows()),
                         [](const testing::TestParamInfo<TurnRow>& info) {
                             return info.param.Name;
                         });

}  // namespace
}  // namespace pagora
