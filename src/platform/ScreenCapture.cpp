#include "platform/ScreenCapture.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include "gfx/Bitmap.h"
#include "platform/ScreenScale.h"

namespace pagora {

QImage CaptureScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QImage();
    const QSize size = ScreenDeviceSize();
    // Qt's offscreen platform paints its windows over an uninitialised picture
    // of the screen: it counts as giving nothing.
    QImage image;
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        image = screen->grabWindow(0).toImage();
    if (image.isNull())
        return NewBitmap24(size.width(), size.height());  // black
    // The grab has device pixels already; a platform that gives another
    // size is met halfway.
    if (image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(1);
    MakeBitmap24(image);
    return image;
}

}  // namespace pagora
