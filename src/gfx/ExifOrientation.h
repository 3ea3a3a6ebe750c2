#pragma once

#include <cstdint>
#include <span>

namespace pagora {

// The EXIF orientation (1..8) a JPEG's pixels were stored with: 1 when the
// JPEG has no EXIF block, no orientation tag, a value outside 1..8, or a
// damaged block.
int ExifOrientation(std::span<const uint8_t> jpeg);

}  // namespace pagora
