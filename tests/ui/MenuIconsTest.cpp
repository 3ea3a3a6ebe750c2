#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <algorithm>
#include <cstdlib>

#include "platform/MenuIcons.h"

namespace pagora {
namespace {

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128;
    return count;
}

// The largest difference of two pictures in any channel, alpha included.
int Difference(const QImage& a, const QImage& b) {
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int shift : {0, 8, 16, 24})
                most =
                    std::max(most, std::abs(int((p >> shift) & 0xff) - int((q >> shift) & 0xff)));
        }
    return most;
}

TEST(MenuIcons, NineIconsOfSixteenPixels) {
    const std::vector<QIcon>& icons = MenuIcons();
    ASSERT_EQ(icons.size(), size_t(kMenuIconCount));
    EXPECT_EQ(&MenuIcons(), &icons);  // made once
    for (const QIcon& icon : icons) {
        ASSERT_FALSE(icon.isNull());
        EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16)));
        EXPECT_EQ(icon.pixmap(16, 16).size(), QSize(16, 16));
    }
}

TEST(MenuIcons, EachIconIsDrawnAndDistinct) {
    std::vector<QImage> images;
    for (int i = 0; i < kMenuIconCount; ++i) {
        QImage image = DrawMenuIcon(i, 16);
        ASSERT_EQ(image.size(), QSize(16, 16));
        int opaque = OpaquePixels(image);
        EXPECT_GT(opaque, 30) << i;   // something to see
        EXPECT_LT(opaque, 256) << i;  // on a transparent ground
        for (const QImage& other : images)
            EXPECT_NE(image, other) << i;
        images.push_back(image);
    }
    // Back and next are mirror images (but for antialiasing).
    EXPECT_LE(Difference(images[kIconBack].mirrored(true, false), images[kIconNext]), 8);
    // The two export pictures differ only in their badge (lower right).
    QImage b = images[kIconExportBitmap], j = images[kIconExportJpeg];
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(b.pixel(x, y), j.pixel(x, y)) << x << "," << y;
}

TEST(MenuIcons, ScaledDrawingsKeepTheirShape) {
    for (int i = 0; i < kMenuIconCount; ++i) {
        QImage large = DrawMenuIcon(i, 64);
        QImage small = large.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QImage direct = DrawMenuIcon(i, 16);
        int far = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                far += std::abs(qAlpha(small.pixel(x, y)) - qAlpha(direct.pixel(x, y))) > 128;
        EXPECT_LE(far, 8) << i;
    }
}

}  // namespace
}  // namespace pagora
