#include <gtest/gtest.h>

#include <cmath>

#include "platform/ScreenScale.h"

namespace pagora {
namespace {

struct ScaleCase {
    const char* name;
    double ratio;
    int chrome14, chrome1;  // Scaled(14), Scaled(1)
    QRect logical, device;  // DeviceRect(logical)
};

class ScreenScaleTest : public testing::TestWithParam<ScaleCase> {};

TEST_P(ScreenScaleTest, ConvertsBothWaysWithoutGapsOrDrift) {
    const ScaleCase& c = GetParam();
    const ScreenScale scale(c.ratio);
    EXPECT_EQ(scale.Scaled(14), c.chrome14);
    EXPECT_EQ(scale.Scaled(1), c.chrome1);
    EXPECT_EQ(scale.DeviceRect(c.logical), c.device);
    // Rectangles side by side stay side by side in device pixels.
    const QRect next(c.logical.right() + 1, c.logical.y(), 7, c.logical.height());
    EXPECT_EQ(scale.DeviceRect(next).left(), c.device.right() + 1);
    // A window's buffer covers it exactly.
    EXPECT_EQ(scale.DeviceSize(QSize(1280, 720)),
              QSize(int(std::floor(1280 * scale.Ratio() + 0.5)),
                    int(std::floor(720 * scale.Ratio() + 0.5))));

    for (int x = 0; x < 40; ++x) {
        // A device pixel found through its logical position comes back
        // exactly, as the pointer's does.
        const QPoint device(x, 3 * x + 1);
        EXPECT_EQ(scale.DevicePoint(QPointF(device) / scale.Ratio()), device) << x;
        // The logical cover of a device rectangle holds it, with less than
        // one logical pixel to spare on each side.
        const QRect rect(x, 2 * x, x % 7 + 1, 5);
        const QRect cover = scale.LogicalCover(rect);
        const QRect back = scale.DeviceCover(cover);
        EXPECT_TRUE(back.contains(rect)) << x;
        EXPECT_LT(rect.left() - back.left(), scale.Ratio() + 1) << x;
        EXPECT_LT(back.right() - rect.right(), scale.Ratio() + 1) << x;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ratios, ScreenScaleTest,
    testing::Values(ScaleCase{"unscaled", 1, 14, 1, {3, 5, 10, 20}, {3, 5, 10, 20}},
                    ScaleCase{"at125", 1.25, 18, 1, {3, 5, 10, 20}, {4, 6, 12, 25}},
                    ScaleCase{"at150", 1.5, 21, 2, {3, 5, 10, 20}, {5, 8, 15, 30}},
                    ScaleCase{"at200", 2, 28, 2, {3, 5, 10, 20}, {6, 10, 20, 40}},
                    ScaleCase{"nonsense", -3, 14, 1, {3, 5, 10, 20}, {3, 5, 10, 20}}),
    [](const testing::TestParamInfo<ScaleCase>& info) { return info.param.name; });

}  // namespace
}  // namespace pagora
