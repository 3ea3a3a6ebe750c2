#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>

#include "HiDpiScreen.h"

// The suites run on a scaled offscreen screen: PAGORA_TEST_SCALE gives Qt's
// scale factor and the screen's size in device pixels, as "2:2048x1536".
int main(int argc, char** argv) {
    const pagora::test::HiDpiScreen screen = pagora::test::TestScreen();
    const QString config = QDir::tempPath() + "/pagora-hidpi-tests-screen-" +
                           QString::number(QCoreApplication::applicationPid()) + ".json";
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 2;
    file.write(QStringLiteral(R"({ "screens": [ { "name": "s", "x": 0, "y": 0, "width": %1,
        "height": %2, "logicalDpi": 96, "physicalWidth": 270, "physicalHeight": 203 } ] })")
                   .arg(screen.Width)
                   .arg(screen.Height)
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    qputenv("QT_SCALE_FACTOR", QByteArray::number(screen.Ratio));
    // A working, silent sound device, as in the other suites.
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    QFile::remove(config);
    return status;
}
