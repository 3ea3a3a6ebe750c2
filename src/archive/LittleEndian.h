#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace pagora {

// Album formats are little-endian whatever the host is.
inline uint64_t LoadLE(const uint8_t* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}
inline int32_t LoadI32(const uint8_t* p) {
    return static_cast<int32_t>(LoadLE(p, 4));
}
inline int64_t LoadI64(const uint8_t* p) {
    return static_cast<int64_t>(LoadLE(p, 8));
}
inline double LoadF64(const uint8_t* p) {
    uint64_t bits = LoadLE(p, 8);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

inline void StoreLE(uint8_t* p, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i, v >>= 8)
        p[i] = static_cast<uint8_t>(v);
}
inline void StoreI32(uint8_t* p, int32_t v) {
    StoreLE(p, static_cast<uint32_t>(v), 4);
}
inline void StoreI64(uint8_t* p, int64_t v) {
    StoreLE(p, static_cast<uint64_t>(v), 8);
}
inline void StoreF64(uint8_t* p, double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    StoreLE(p, bits, 8);
}

// A string[n] field: a length byte, then n bytes of which the first length are text.
// A length byte above n is taken as n: the field cannot hold more.
inline std::string LoadShortString(const uint8_t* p, int capacity) {
    int length = p[0] > capacity ? capacity : p[0];
    return std::string(reinterpret_cast<const char*>(p + 1), length);
}
// Writes text cut to the field's capacity; the rest of the field is zeroed.
inline void StoreShortString(uint8_t* p, int capacity, const std::string& text) {
    size_t length = text.size() < static_cast<size_t>(capacity) ? text.size() : capacity;
    std::memset(p, 0, capacity + 1);
    p[0] = static_cast<uint8_t>(length);
    std::memcpy(p + 1, text.data(), length);
}

}  // namespace pagora
