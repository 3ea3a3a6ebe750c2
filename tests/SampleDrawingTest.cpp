#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <stdexcept>

#include "Elements.h"
#include "PhotoEffects.h"
#include "SampleFiles.h"

namespace pagora::sample {
namespace {

QImage Filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

TEST(SampleBlur, LeavesAnEvenPictureAsItIsUpToTheEdges) {
    QImage image = Filled(37, 23, qRgba(200, 100, 50, 255));
    Blur(image, 6);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), qRgba(200, 100, 50, 255)) << x << "," << y;
}

TEST(SampleBlur, SpreadsAPointEvenlyAndKeepsItsLight) {
    QImage image = Filled(41, 41, qRgba(0, 0, 0, 0));
    for (int y = 18; y <= 22; ++y)
        for (int x = 18; x <= 22; ++x)
            image.setPixel(x, y, qRgba(255, 255, 255, 255));
    Blur(image, 8);
    long total = 0;
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 41; ++x)
            total += qAlpha(image.pixel(x, y));
    EXPECT_GT(qAlpha(image.pixel(20, 20)), qAlpha(image.pixel(24, 20)));
    EXPECT_EQ(image.pixel(16, 20), image.pixel(24, 20));
    EXPECT_EQ(image.pixel(20, 16), image.pixel(20, 24));
    EXPECT_EQ(image.pixel(16, 20), image.pixel(20, 16));
    // Nothing leaves a picture this large; rounding may move a little either way.
    EXPECT_NEAR(total, 25 * 255, 25 * 255 / 10);
}

QImage Stripes(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(y * 9 % 256, x * 7 % 256, (x + y) % 256));
    return image;
}

TEST(SampleWater, StillClearWaterMirrorsTheRowsAboveTheLine) {
    QImage image = Stripes(30, 40), before = image;
    Reflect(image, {.Waterline = 25, .Ripple = 0, .TintNear = 0, .TintFar = 0});
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(image.pixel(x, y), before.pixel(x, y)) << "above the line " << x << "," << y;
    for (int y = 25; y < 40; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(image.pixel(x, y), before.pixel(x, 2 * 25 - 1 - y)) << x << "," << y;
}

TEST(SampleWater, DeepWaterTakesTheTintAndSmearOnlyTouchesTheWater) {
    QImage image = Stripes(30, 40), before = image;
    Reflect(image, {.Waterline = 10,
                    .Ripple = 3,
                    .Tint = QColor(10, 20, 30),
                    .TintNear = 1,
                    .TintFar = 1,
                    .Smear = 4});
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(image.pixel(x, y), before.pixel(x, y));
    for (int y = 10; y < 40; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(image.pixel(x, y), qRgb(10, 20, 30)) << x << "," << y;
}

TEST(SampleFinish, DarkensTheCornersAndRepeatsForASeed) {
    QImage a(200, 150, QImage::Format_RGB32);
    a.fill(qRgb(128, 128, 128));
    QImage b = a;
    FinishPhoto(a, 5, 0, 0.4);
    FinishPhoto(b, 5, 0, 0.4);
    EXPECT_EQ(a, b);
    EXPECT_LT(qGray(a.pixel(0, 0)) + 20, qGray(a.pixel(100, 75)));
    QImage grainy = QImage(200, 150, QImage::Format_RGB32), again;
    grainy.fill(qRgb(128, 128, 128));
    again = grainy;
    FinishPhoto(grainy, 1, 4, 0);
    FinishPhoto(again, 2, 4, 0);
    EXPECT_NE(grainy, again);
}

TEST(SampleRidge, LiesBetweenItsBaseAndItsHeightAndLiftsAtTheSummit) {
    Ridge flat(500, 100, 80, 9, true);
    Ridge lifted(500, 100, 80, 9, true);
    lifted.Lift(300, 50, 200);
    for (double x = 0; x < 1000; x += 3.7) {
        EXPECT_LE(flat.Top(x), 500);
        EXPECT_GE(flat.Top(x), 400);
    }
    EXPECT_NEAR(flat.Top(300) - lifted.Top(300), 200, 1e-9);
    EXPECT_NEAR(flat.Top(900), lifted.Top(900), 1e-6);
    QPolygonF shape = flat.Shape(100, 700, 10);
    EXPECT_EQ(shape.front(), QPointF(-10, 700));
    EXPECT_EQ(shape.back(), QPointF(110, 700));
}

TEST(SampleLayer, CoversThePhotoWhenTheSizeIsNotAMultipleOfTheShrink) {
    int calls = 0;
    QImage layer = ComputeLayer(QSize(10, 7), 4, [&](double x, double y) {
        ++calls;
        EXPECT_LT(x, 12);
        EXPECT_LT(y, 8);
        return QColor(255, 0, 0, 128);
    });
    EXPECT_EQ(layer.size(), QSize(3, 2));
    EXPECT_EQ(calls, 6);
    EXPECT_EQ(layer.pixel(0, 0), qPremultiply(qRgba(255, 0, 0, 128)));
}

Scene Photo(const char* title, const char* description) {
    return {"a.jpg", 10, 10, title, description, "2025-01-02 03:04", nullptr, 1};
}

TEST(SampleList, OneTabSeparatedLinePerPhoto) {
    std::string text = ListText({Photo("湖 Lake", "描述 Text"), Photo("T", "")});
    EXPECT_EQ(text.substr(text.find('\n') + 1),
              "a.jpg\t湖 Lake\t描述 Text\t2025-01-02 03:04\n"
              "a.jpg\tT\t\t2025-01-02 03:04\n");
    EXPECT_EQ(text[0], '#');
}

TEST(SampleList, TextsMustFitTheAlbumRecords) {
    std::string title16(16 * 3, 0), description(255, 'd');
    for (int i = 0; i < 16; ++i)
        title16.replace(i * 3, 3, "山");  // 2 GBK bytes each: 32 in all
    EXPECT_NO_THROW(ListText({Photo(title16.c_str(), description.c_str())}));
    std::string title33 = title16 + "a", description256 = description + "d";
    EXPECT_THROW(ListText({Photo(title33.c_str(), "")}), std::length_error);
    EXPECT_THROW(ListText({Photo("t", description256.c_str())}), std::length_error);
    EXPECT_THROW(ListText({Photo("a\tb", "")}), std::invalid_argument);
    EXPECT_THROW(ListText({Photo("t", "two\nlines")}), std::invalid_argument);
}

}  // namespace
}  // namespace pagora::sample
