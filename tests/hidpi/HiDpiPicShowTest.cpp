// The picture show and the lens on a scaled screen: pictures, frames, the lens
// and pointer positions are device pixels, shown one to one.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>

#include "HiDpiScreen.h"
#include "ShowPictures.h"
#include "platform/Form.h"
#include "platform/Messages.h"
#include "platform/ScreenScale.h"
#include "views/TCustomPicShow.h"
#include "views/TMagnifier.h"

namespace pagora {
namespace {

using test::CodedPicture;
using test::SamePixels;

TEST(HiDpiPicShow, ATransitionEndsOnThePictureOneToOne) {
    const ScreenScale scale(test::TestScreen().Ratio);
    Form form;
    form.ShowFullScreen();
    TPicShow show(&form);
    show.SetAlign(TAlign::alClient);
    show.SetThreaded(false);
    show.SetDelay(0);
    show.SetStep(25);
    show.SetStyle(5);
    show.show();
    ProcessMessages();
    const QSize device = show.PaintBuffer().size();
    EXPECT_EQ(device, scale.DeviceSize(show.size()));
    const QImage picture = CodedPicture(device.width(), device.height(), 2);
    show.SetPicture(picture);
    show.Execute();
    EXPECT_TRUE(SamePixels(show.PaintBuffer(), picture));
    const QImage window = show.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(SamePixels(window, picture));

    // The lens over it, at the pointer's device position, leaves no trace.
    QPoint down;
    show.OnMouseDown = [&](TCustomPicShow*, Qt::MouseButton, int x, int y) { down = {x, y}; };
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(100, 60),
                      show.mapToGlobal(QPointF(100, 60)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&show, &press);
    EXPECT_EQ(down, scale.DevicePoint(QPointF(100, 60)));
    {
        TMagnifier lens(show.GetCanvas(), device.width(), device.height());
        lens.SetLensWidth(device.width() / 4);
        lens.SetLensHeight(device.height() / 4);
        lens.MoveTo(down.x(), down.y());
        EXPECT_EQ(lens.LensRect().topLeft(),
                  down - QPoint(lens.LensWidth() / 2, lens.LensHeight() / 2));
    }
    EXPECT_TRUE(SamePixels(show.PaintBuffer(), picture));
}

TEST(HiDpiPicShow, AutoSizeCoversThePictureInDevicePixels) {
    TPicShow show;
    show.SetPicture(CodedPicture(301, 203, 1));
    const QSize device = show.DeviceSize();
    EXPECT_GE(device.width(), 301);
    EXPECT_GE(device.height(), 203);
    EXPECT_LE(device.width(), 303);
    EXPECT_LE(device.height(), 205);
}

}  // namespace
}  // namespace pagora
