#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>

#if defined(__SANITIZE_THREAD__)
// Qt's image work runs in its thread pool, and the MIDI synthesiser in its
// OpenMP workers, both synchronised out of the sanitizer's sight: only what
// this program's own code does is judged.
extern "C" const char* __tsan_default_options() {
    return "ignore_noninstrumented_modules=1";
}
#endif

// Forms need a widget application; the offscreen platform needs no display.
// Its screen is 1024 x 768, the size the book's own figures are worked out for.
int main(int argc, char** argv) {
    // A working, silent sound device: music and the turn sound run for real.
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QByteArray screens;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        const QString config = QDir::tempPath() + "/pagora-ui-tests-screen-" +
                               QString::number(QCoreApplication::applicationPid()) + ".json";
        QFile file(config);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(R"({ "screens": [ { "name": "s", "x": 0, "y": 0, "width": 1024,
                "height": 768, "logicalDpi": 96, "physicalWidth": 270, "physicalHeight": 203 } ] })");
            file.close();
            screens = config.toLocal8Bit();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens);
        } else {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    if (!screens.isEmpty())
        QFile::remove(QString::fromLocal8Bit(screens));
    return status;
}
