#include "archive/HotSpotRecord.h"

#include "archive/LittleEndian.h"

namespace pagora {

std::vector<HotSpotRecord> ReadHotSpots(const std::vector<uint8_t>& bytes) {
    std::vector<HotSpotRecord> records;
    if (bytes.size() < 4)
        return records;
    int64_t count = LoadI32(bytes.data());
    int64_t present = static_cast<int64_t>((bytes.size() - 4) / HotSpotRecord::kSize);
    for (int64_t i = 0; i < count && i < present; ++i) {
        const uint8_t* p = bytes.data() + 4 + i * HotSpotRecord::kSize;
        HotSpotRecord r;
        r.Left = LoadI32(p);
        r.Top = LoadI32(p + 4);
        r.Width = LoadI32(p + 8);
        r.Height = LoadI32(p + 12);
        r.PictureName = LoadShortString(p + 20, 32);
        r.Title = LoadShortString(p + 53, 32);
        r.Description = LoadShortString(p + 86, 255);
        r.ShootTime = LoadF64(p + 344);
        records.push_back(std::move(r));
    }
    return records;
}

std::vector<uint8_t> WriteHotSpots(const std::vector<HotSpotRecord>& records) {
    std::vector<uint8_t> bytes(4 + records.size() * HotSpotRecord::kSize, 0);
    StoreI32(bytes.data(), static_cast<int32_t>(records.size()));
    uint8_t* p = bytes.data() + 4;
    for (const HotSpotRecord& r : records) {
        StoreI32(p, r.Left);
        StoreI32(p + 4, r.Top);
        StoreI32(p + 8, r.Width);
        StoreI32(p + 12, r.Height);
        StoreShortString(p + 20, 32, r.PictureName);
        StoreShortString(p + 53, 32, r.Title);
        StoreShortString(p + 86, 255, r.Description);
        StoreF64(p + 344, r.ShootTime);
        p += HotSpotRecord::kSize;
    }
    return bytes;
}

}  // namespace pagora
