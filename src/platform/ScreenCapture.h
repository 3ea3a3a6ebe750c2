#pragma once

#include <QImage>

namespace pagora {

// The whole primary screen as a bitmap (kBitmapFormat) of the screen's size
// in device pixels, grabbed with QScreen::grabWindow(0). Where the
// platform gives nothing (offscreen, Wayland) the picture is black; without
// any screen it is empty.
QImage CaptureScreen();

}  // namespace pagora
