#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <stdexcept>
#include <string>

#include "procedural/Colour.h"
#include "procedural/Noise.h"

namespace pagora {
namespace {

TEST(Noise, StaysInRangeAndVariesSmoothly) {
    double low = 1, high = 0, biggestStep = 0;
    for (int i = 0; i < 20000; ++i) {
        double x = i * 0.0137, y = std::sin(i * 0.01) * 40;
        double v = ValueNoise(x, y, 7), f = Fractal(x, y, 7, 6),
               tiled = Fractal(x, y, 7, 4, 0.7, {5, 3});
        low = std::min({low, v, f, tiled});
        high = std::max({high, v, f, tiled});
        biggestStep = std::max(biggestStep, std::abs(ValueNoise(x + 1e-3, y, 7) - v));
    }
    EXPECT_GE(low, 0.0);
    EXPECT_LE(high, 1.0);
    EXPECT_GT(high - low, 0.5);  // not stuck near one value
    EXPECT_LT(biggestStep, 0.01);
    // Cells meet without a seam, on both axes, also at negative coordinates.
    for (double at : {-3.0, 0.0, 5.0})
        for (double y : {-2.5, 0.3}) {
            EXPECT_NEAR(ValueNoise(at - 1e-9, y, 3), ValueNoise(at + 1e-9, y, 3), 1e-6);
            EXPECT_NEAR(ValueNoise(y, at - 1e-9, 3), ValueNoise(y, at + 1e-9, 3), 1e-6);
        }
    EXPECT_NE(ValueNoise(0.5, 0.5, 1), ValueNoise(0.5, 0.5, 2));
}

TEST(Noise, GeneratorRepeatsForASeedAndStaysInRange) {
    Rng a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        uint64_t x = a.Next();
        EXPECT_EQ(x, b.Next());
        differs |= x != c.Next();
        double u = a.Unit();
        b.Unit();
        EXPECT_GE(u, 0.0);
        EXPECT_LT(u, 1.0);
        int n = a.Below(7);
        b.Below(7);
        EXPECT_GE(n, 0);
        EXPECT_LT(n, 7);
    }
    EXPECT_TRUE(differs);
}

// ---- Noise that repeats, for tiles

struct WrapCase {
    const char* Name;
    NoiseWrap Wrap;
    int Octaves;  // 0: plain value noise
};

void PrintTo(const WrapCase& c, std::ostream* os) {
    *os << c.Name;
}

double Sample(const WrapCase& c, double x, double y) {
    return c.Octaves == 0 ? ValueNoise(x, y, 9, c.Wrap) : Fractal(x, y, 9, c.Octaves, 0.5, c.Wrap);
}

class NoiseRepeats : public testing::TestWithParam<WrapCase> {};

TEST_P(NoiseRepeats, AfterItsPeriodAndNowhereSooner) {
    const WrapCase& c = GetParam();
    const double px = c.Wrap.X, py = c.Wrap.Y;
    bool halfX = true, halfY = true, anyX = true, anyY = true;
    for (double x = -2.3; x < 2 * px + 3; x += 0.37)
        for (double y = -1.9; y < 2 * py + 3; y += 0.41) {
            double v = Sample(c, x, y);
            if (px > 0) {
                ASSERT_NEAR(Sample(c, x + px, y), v, 1e-9) << x << "," << y;
                ASSERT_NEAR(Sample(c, x - 3 * px, y), v, 1e-9) << x << "," << y;
                halfX &= std::abs(Sample(c, x + px / 2, y) - v) < 1e-9;
            } else {
                anyX &= std::abs(Sample(c, x + 7, y) - v) < 1e-9;
            }
            if (py > 0) {
                ASSERT_NEAR(Sample(c, x, y + py), v, 1e-9) << x << "," << y;
                halfY &= std::abs(Sample(c, x, y + py / 2) - v) < 1e-9;
            } else {
                anyY &= std::abs(Sample(c, x, y + 7) - v) < 1e-9;
            }
        }
    EXPECT_FALSE(halfX && px > 0);
    EXPECT_FALSE(halfY && py > 0);
    EXPECT_FALSE(anyX && px == 0) << "an unwrapped axis repeats";
    EXPECT_FALSE(anyY && py == 0) << "an unwrapped axis repeats";
}

TEST_P(NoiseRepeats, MeetsItsCopyWithoutASeam) {
    // Across the period's edge the noise flows on as it does inside a cell.
    const WrapCase& c = GetParam();
    for (double t = 0.13; t < 4; t += 0.29) {
        if (c.Wrap.X > 0) {
            EXPECT_NEAR(Sample(c, c.Wrap.X - 1e-7, t), Sample(c, c.Wrap.X + 1e-7, t), 1e-5) << t;
        }
        if (c.Wrap.Y > 0) {
            EXPECT_NEAR(Sample(c, t, c.Wrap.Y - 1e-7), Sample(c, t, c.Wrap.Y + 1e-7), 1e-5) << t;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Wraps, NoiseRepeats,
    testing::Values(WrapCase{"square", {4, 4}, 0}, WrapCase{"long_across", {2, 6}, 0},
                    WrapCase{"across_only", {3, 0}, 0}, WrapCase{"down_only", {0, 5}, 0},
                    WrapCase{"fractal_square", {3, 3}, 4}, WrapCase{"fractal_uneven", {2, 5}, 3}),
    [](const testing::TestParamInfo<WrapCase>& info) { return std::string(info.param.Name); });

// ---- Colour

TEST(ColourMix, BlendsEachChannelAndHoldsTToTheEnds) {
    QColor a(10, 200, 0, 255), b(30, 100, 255, 55);
    EXPECT_EQ(Mix(a, b, 0), a);
    EXPECT_EQ(Mix(a, b, 1), b);
    EXPECT_EQ(Mix(a, b, 0.5), QColor(20, 150, 128, 155));  // 127.5 rounds up
    EXPECT_EQ(Mix(a, b, -3), a);
    EXPECT_EQ(Mix(a, b, 7), b);
    EXPECT_EQ(Mix(a, b, 0.25), QColor(15, 175, 64, 205));
}

QImage Flat(QRgb colour, QImage::Format format = QImage::Format_RGB32) {
    QImage image(64, 48, format);
    image.fill(colour);
    return image;
}

TEST(Grain, MovesTheChannelsTogetherByAtMostTheAmount) {
    QImage image = Flat(qRgb(100, 150, 200));
    AddGrain(image, 3, 17);
    std::set<int> seen;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QRgb p = image.pixel(x, y);
            int g = qRed(p) - 100;
            ASSERT_EQ(qGreen(p) - 150, g);
            ASSERT_EQ(qBlue(p) - 200, g);
            ASSERT_LE(std::abs(g), 3);
            seen.insert(g);
        }
    EXPECT_EQ(seen.size(), 7u) << "every step from -3 to 3 turns up";
}

TEST(Grain, StopsAtBlackAndWhiteAndKeepsAlpha) {
    QImage image = Flat(qRgba(0, 255, 1, 77), QImage::Format_ARGB32);
    AddGrain(image, 4, 3);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QRgb p = image.pixel(x, y);
            ASSERT_LE(qRed(p), 4);
            ASSERT_GE(qGreen(p), 251);
            ASSERT_LE(qBlue(p), 5);
            ASSERT_EQ(qAlpha(p), 77);
        }
}

TEST(Grain, RepeatsForASeedAndDiffersBetweenSeeds) {
    QImage a = Flat(qRgb(128, 128, 128)), b = a, c = a, none = a;
    AddGrain(a, 2, 5);
    AddGrain(b, 2, 5);
    AddGrain(c, 2, 6);
    AddGrain(none, 0, 5);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(none, Flat(qRgb(128, 128, 128)));
}

TEST(Grain, RefusesPicturesWhoseColourItCannotMoveAlone) {
    for (QImage::Format format :
         {QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB888, QImage::Format_Grayscale8}) {
        QImage image = Flat(qRgb(1, 2, 3), format);
        EXPECT_THROW(AddGrain(image, 2, 1), std::invalid_argument) << format;
    }
}

}  // namespace
}  // namespace pagora
