#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <stdexcept>

#include "gfx/Bitmap.h"
#include "platform/ScreenCapture.h"
#include "platform/ScreenCursor.h"

namespace pagora {
namespace {

// The override cursor's shape; Qt::ArrowCursor when there is none.
Qt::CursorShape Shown() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

class ScreenCursorTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
        ASSERT_EQ(ScreenCursor(), Qt::ArrowCursor);
    }
    void TearDown() override {
        SetScreenCursor(Qt::ArrowCursor);
        // Nothing of ours is left on Qt's override stack.
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
};

TEST_F(ScreenCursorTest, SetsAndRestoresTheApplicationCursor) {
    SetScreenCursor(Qt::PointingHandCursor);
    EXPECT_EQ(ScreenCursor(), Qt::PointingHandCursor);
    EXPECT_EQ(Shown(), Qt::PointingHandCursor);
    SetScreenCursor(Qt::DragMoveCursor);
    EXPECT_EQ(Shown(), Qt::DragMoveCursor);
    SetScreenCursor(Qt::ArrowCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ScreenCursorTest, ShowCountHidesBelowZero) {
    EXPECT_EQ(ShowCursor(false), -1);
    EXPECT_EQ(Shown(), Qt::BlankCursor);
    EXPECT_EQ(ShowCursor(false), -2);
    SetScreenCursor(Qt::WaitCursor);  // still hidden
    EXPECT_EQ(Shown(), Qt::BlankCursor);
    EXPECT_EQ(ShowCursor(true), -1);
    EXPECT_EQ(Shown(), Qt::BlankCursor);
    EXPECT_EQ(ShowCursor(true), 0);
    EXPECT_EQ(Shown(), Qt::WaitCursor);
    SetScreenCursor(Qt::ArrowCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ShowCursor(true), 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ShowCursor(false), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ScreenCursorTest, WaitCursorNestsAndRestores) {
    SetScreenCursor(Qt::PointingHandCursor);
    {
        WaitCursor outer;
        EXPECT_EQ(Shown(), Qt::WaitCursor);
        {
            WaitCursor inner;
            EXPECT_EQ(Shown(), Qt::WaitCursor);
        }
        EXPECT_EQ(Shown(), Qt::WaitCursor);
    }
    EXPECT_EQ(ScreenCursor(), Qt::PointingHandCursor);
    EXPECT_EQ(Shown(), Qt::PointingHandCursor);
    SetScreenCursor(Qt::ArrowCursor);
    { WaitCursor wait; }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ScreenCursorTest, WaitCursorRestoresOnException) {
    auto work = [] {
        WaitCursor wait;
        EXPECT_EQ(Shown(), Qt::WaitCursor);
        throw std::runtime_error("failed");
    };
    EXPECT_THROW(work(), std::runtime_error);
    EXPECT_EQ(ScreenCursor(), Qt::ArrowCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ScreenCursorTest, WaitCursorWhileHidden) {
    EXPECT_EQ(ShowCursor(false), -1);
    {
        WaitCursor wait;
        EXPECT_EQ(Shown(), Qt::BlankCursor);
        EXPECT_EQ(ShowCursor(true), 0);
        EXPECT_EQ(Shown(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(ScreenCapture, TheScreenSizeAsABitmap) {
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    QImage capture = CaptureScreen();
    EXPECT_EQ(capture.size(), screen->size());
    EXPECT_EQ(capture.format(), kBitmapFormat);
    EXPECT_EQ(capture.devicePixelRatio(), 1.0);
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        // The offscreen platform gives nothing to capture: black.
        for (int y = 0; y < capture.height(); ++y)
            for (int x = 0; x < capture.width(); ++x)
                ASSERT_EQ(capture.pixel(x, y), 0xff000000u) << x << "," << y;
    }
}

}  // namespace
}  // namespace pagora
