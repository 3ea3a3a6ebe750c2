#include <gtest/gtest.h>

#include <string>

#include "gfx/Bitmap.h"
#include "gfx/Orientation.h"

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

}  // namespace
}  // namespace pagora
