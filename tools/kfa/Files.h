#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kfa {

// A whole file; throws AlbumError naming it when it cannot be read or is
// larger than maxSize bytes.
std::vector<uint8_t> ReadWholeFile(const std::string& path, int64_t maxSize = INT64_MAX);

// The last component of a slash-separated path.
std::string BaseName(const std::string& path);

}  // namespace kfa
