#include <gtest/gtest.h>

#include <functional>
#include <string>

#include <QPainter>

#include "ExifPhoto.h"
#include "TestFiles.h"
#include "gfx/Bitmap.h"
#include "gfx/ExifOrientation.h"
#include "gfx/Orientation.h"
#include "gfx/PictureFile.h"

namespace pagora {
namespace {

// A 2 x 3 picture stored as
//   a b
//   c d
//   e f
// and each EXIF orientation's upright picture, row by row.
struct OrientationCase {
    int Orientation;
    const char* Name;
    int Width, Height;
    const char* Rows;
};

const OrientationCase kCases[] = {
    {1, "AsStored", 2, 3, "ab/cd/ef"},
    {2, "MirroredLeftRight", 2, 3, "ba/dc/fe"},
    {3, "Turned180", 2, 3, "fe/dc/ba"},
    {4, "MirroredTopBottom", 2, 3, "ef/cd/ab"},
    {5, "Transposed", 3, 2, "ace/bdf"},
    {6, "TurnedClockwise", 3, 2, "eca/fdb"},
    {7, "Transversed", 3, 2, "fdb/eca"},
    {8, "TurnedCounterClockwise", 3, 2, "bdf/ace"},
    {0, "UnknownZeroAsStored", 2, 3, "ab/cd/ef"},
    {9, "UnknownNineAsStored", 2, 3, "ab/cd/ef"},
};

QRgb Colour(char letter) {
    return qRgb(40 * (letter - 'a' + 1), 255 - 30 * (letter - 'a'), 7);
}

char Letter(QRgb pixel) {
    for (char c = 'a'; c <= 'f'; ++c)
        if ((pixel & 0xFFFFFF) == (Colour(c) & 0xFFFFFF))
            return c;
    return '?';
}

class OrientationTest : public ::testing::TestWithParam<OrientationCase> {};

TEST_P(OrientationTest, TurnsTheStoredPixelsUpright) {
    const OrientationCase& c = GetParam();
    // Stored in a format other than the bitmap format, so the result's format is checked too.
    QImage stored(2, 3, QImage::Format_ARGB32);
    const char* letters = "abcdef";
    for (int i = 0; i < 6; ++i)
        stored.setPixel(i % 2, i / 2, Colour(letters[i]));

    QImage upright = OrientUpright(stored, c.Orientation);
    ASSERT_EQ(upright.width(), c.Width);
    ASSERT_EQ(upright.height(), c.Height);
    EXPECT_EQ(upright.format(), kBitmapFormat);
    std::string rows;
    for (int y = 0; y < upright.height(); ++y) {
        if (y > 0)
            rows += '/';
        for (int x = 0; x < upright.width(); ++x)
            rows += Letter(upright.pixel(x, y));
    }
    EXPECT_EQ(rows, c.Rows);
    // The stored picture is left as it was.
    EXPECT_EQ(Letter(stored.pixel(0, 0)), 'a');
}

INSTANTIATE_TEST_SUITE_P(EveryOrientation, OrientationTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// A picture whose left half is red and right half blue, 60 x 40 as stored.
QImage Halves() {
    QImage stored(60, 40, kBitmapFormat);
    stored.fill(qRgb(220, 20, 20));
    QPainter(&stored).fillRect(30, 0, 30, 40, qRgb(20, 20, 220));
    return stored;
}

test::Bytes Turned(int orientation) {
    return test::Jpeg(Halves(), test::ExifSegment(orientation, "", ""));
}

struct ExifCase {
    const char* Name;
    std::function<test::Bytes()> Make;
    int Orientation;
};

class ExifOrientationTest : public ::testing::TestWithParam<ExifCase> {};

TEST_P(ExifOrientationTest, ReadsTheTagOrUpright) {
    EXPECT_EQ(ExifOrientation(GetParam().Make()), GetParam().Orientation);
}

// ExifSegment's block sits right after SOI: its length at 4, the TIFF header at 12.
const ExifCase kExifCases[] = {
    {"NoBlock", [] { return test::Jpeg(Halves()); }, 1},
    {"Six", [] { return Turned(6); }, 6},
    {"Eight", [] { return Turned(8); }, 8},
    {"ValueNineIsUpright", [] { return Turned(9); }, 1},
    {"ValueZeroIsUpright", [] { return Turned(0); }, 1},
    {"DirectoryPastTheBlock",
     [] {
         test::Bytes b = Turned(6);
         b[16] = 0xF0;  // IFD0's offset far beyond the block
         return b;
     },
     1},
    {"BlockCutShort",
     [] {
         test::Bytes b = Turned(6);
         b[4] = 0;
         b[5] = 12;  // APP1 ends inside the TIFF header
         return b;
     },
     1},
    {"NotAJpeg", [] { return test::NoiseBytes(200); }, 1},
};

INSTANTIATE_TEST_SUITE_P(Blocks, ExifOrientationTest, ::testing::ValuesIn(kExifCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(UprightJpeg, TurnedPicturesDecodeUprightIntoTheirBox) {
    const test::Bytes turned = Turned(6);
    EXPECT_EQ(UprightJpegSize(turned, "t.jpg"), QSize(40, 60));
    EXPECT_EQ(UprightJpegSize(test::Jpeg(Halves()), "u.jpg"), QSize(60, 40));
    for (const QImage& upright : {DecodeUprightJpeg(turned, "t.jpg"),
                                  DecodeUprightJpegToBox(turned, "t.jpg", 20, 30, false, false)}) {
        SCOPED_TRACE(upright.width());
        ASSERT_EQ(upright.width() * 3, upright.height() * 2);
        // Turned clockwise: the stored left (red) half is now on top.
        EXPECT_GT(qRed(upright.pixel(upright.width() / 2, upright.height() / 4)), 150);
        EXPECT_GT(qBlue(upright.pixel(upright.width() / 2, upright.height() * 3 / 4)), 150);
    }
    EXPECT_EQ(DecodeUprightJpegToBox(turned, "t.jpg", 20, 30, false, false).size(), QSize(20, 30));
    // A box the other way round: the upright picture is fitted into it.
    EXPECT_EQ(DecodeUprightJpegToBox(turned, "t.jpg", 30, 30, false, false).size(), QSize(20, 30));
}

}  // namespace
}  // namespace pagora
