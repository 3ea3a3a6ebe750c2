#pragma once

#include <QString>
#include <string>

namespace pagora {

// Album text (GBK bytes) for display; bytes GBK cannot decode show as U+FFFD.
QString FromGbk(const std::string& gbk);
// Text for the album; throws AlbumError naming the text when GBK cannot hold it.
std::string ToGbk(const QString& text);
// Control characters would be measured and drawn differently (tabs, line
// breaks, U+009C ends a measurement), so album text shows them as spaces.
QString Printable(QString text);

}  // namespace pagora
