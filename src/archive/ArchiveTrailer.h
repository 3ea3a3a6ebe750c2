#pragma once

#include <cstdint>
#include <string>

namespace pagora {

// The base offset an album file's trailer names: its last 8 bytes, used only
// when they name a place inside the file with room for a block before the
// trailer; otherwise 0 (a stand-alone album, or an executable without one).
// Throws AlbumError when the file cannot be read.
int64_t FindArchiveBase(const std::string& path);

}  // namespace pagora
