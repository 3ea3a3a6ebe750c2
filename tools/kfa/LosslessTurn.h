#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kfa {

// The JPEG turned upright in the DCT domain, as EXIF orientation 2..8 asks,
// with its markers kept and the orientation tag of its EXIF block set to 1.
// Nothing when no perfect transform exists (a partial MCU at an edge the turn
// moves, which would be lost), when the orientation needs no turn, when the
// tag cannot be found to be set, or when the file is not sequential, too
// damaged or too large to transform; decoding then says why.
std::optional<std::vector<uint8_t>> TurnUprightLosslessly(std::span<const uint8_t> jpeg,
                                                          int orientation);

// Sets the orientation tag of the JPEG's EXIF block in place; false when the
// block or the tag is missing or malformed.
bool SetExifOrientation(std::span<uint8_t> jpeg, int orientation);

}  // namespace kfa
