#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pagora {

// One picture placed on a page: its rectangle in 1024-wide screen units from
// the top-left of the page's picture, and its texts (GBK bytes).
struct HotSpotRecord {
    static constexpr int kSize = 352;

    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    std::string PictureName;  // string[32], e.g. "PIC12.jpg"
    std::string Title;        // string[32]
    std::string Description;  // string[255]
    double ShootTime = 0;     // days since 1899-12-30

    bool operator==(const HotSpotRecord&) const = default;
};

// The information member of a page or a picture: an int32 count, then the
// records. A count beyond what the member holds reads the whole records that
// are there; a negative count or an empty member means none.
std::vector<HotSpotRecord> ReadHotSpots(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> WriteHotSpots(const std::vector<HotSpotRecord>& records);

}  // namespace pagora
