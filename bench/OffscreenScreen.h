#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

namespace pagora::bench {

// Points Qt's offscreen platform at one screen of width x height device
// pixels through a configuration file named after the benchmark; returns the
// file, for removing at the end. Before the QApplication is made.
inline QString UseOffscreenScreen(const QString& name, int width, int height) {
    const QString config = QDir::tempPath() + "/" + name + "-screen.json";
    QFile file(config);
    file.open(QIODevice::WriteOnly);
    file.write(QString(R"({ "screens": [ { "name": "s", "x": 0, "y": 0, "width": %1,
        "height": %2, "logicalDpi": 96, "physicalWidth": 800, "physicalHeight": 450 } ] })")
                   .arg(width)
                   .arg(height)
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    return config;
}

}  // namespace pagora::bench
