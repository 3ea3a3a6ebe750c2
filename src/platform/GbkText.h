#pragma once

#include <QString>
#include <string>

namespace pagora {

// Album text (GBK bytes) for display; bytes GBK cannot decode show as U+FFFD.
QString FromGbk(const std::string& gbk);
// Text for the album; throws AlbumError naming the text when GBK cannot hold it.
std::string ToGbk(const QString& text);

}  // namespace pagora
