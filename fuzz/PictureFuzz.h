#pragma once

#include <cstdint>

// Pictures the fuzz targets decode stay below this: a tiny input claiming the
// full 2^28 pixels would spend each run filling a gigabyte, and the limit's
// check is the same code at any size.
constexpr int64_t kFuzzMaxArea = int64_t(1) << 22;
