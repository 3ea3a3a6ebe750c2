#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

namespace pagora::bench {

// Writes a screen description for Qt's offscreen platform, width x height
// pixels at 96 dpi, and has this process use it; returns the file, which the
// caller removes at the end.
inline QString UseOffscreenScreen(const QString& name, int width, int height) {
    const QString config = QDir::tempPath() + "/" + name + "-screen.json";
    QFile file(config);
    file.open(QIODevice::WriteOnly);
    // A physical size that gives the 96 dpi the logical one says.
    file.write(QString(R"({ "screens": [ { "name": "s", "x": 0, "y": 0, "width": %1,
        "height": %2, "logicalDpi": 96, "physicalWidth": %3, "physicalHeight": %4 } ] })")
                   .arg(width)
                   .arg(height)
                   .arg(width * 254 / 960)
                   .arg(height * 254 / 960)
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    return config;
}

}  // namespace pagora::bench
