#pragma once

#include <QByteArray>
#include <QList>

namespace pagora::test {

// The scaled screen a suite runs on: Qt's factor and the device pixels.
struct HiDpiScreen {
    double Ratio = 2;
    int Width = 2048, Height = 1536;
};

// From PAGORA_TEST_SCALE ("RATIO:WIDTHxHEIGHT"), else scale 2 at 2048 x 1536.
inline HiDpiScreen TestScreen() {
    HiDpiScreen screen;
    const QList<QByteArray> fields = qgetenv("PAGORA_TEST_SCALE").split(':');
    if (fields.size() == 2) {
        const QList<QByteArray> size = fields[1].split('x');
        if (size.size() == 2) {
            screen.Ratio = fields[0].toDouble();
            screen.Width = size[0].toInt();
            screen.Height = size[1].toInt();
        }
    }
    return screen;
}

}  // namespace pagora::test
