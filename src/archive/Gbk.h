#pragma once

#include <cstddef>
#include <string>

namespace pagora {

// Album texts are GBK bytes; everything outside the album is UTF-8.
// Bytes GBK cannot decode become U+FFFD, so a damaged name still shows.
std::string GbkToUtf8(const std::string& gbk);
// Throws AlbumError naming the text when GBK cannot hold it.
std::string Utf8ToGbk(const std::string& utf8);
// The longest start of GBK text that fits in maxBytes without splitting a
// double-byte character.
std::string TruncateGbk(const std::string& gbk, size_t maxBytes);

}  // namespace pagora
