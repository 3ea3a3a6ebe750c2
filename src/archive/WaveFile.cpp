#include "archive/WaveFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "archive/LittleEndian.h"

namespace pagora {

int16_t ToPcm16(double value) {
    double scaled = std::round(value * 32767);
    return static_cast<int16_t>(std::clamp(scaled, -32768.0, 32767.0));
}

std::vector<uint8_t> WaveFileBytes(std::span<const int16_t> samples, int sampleRate) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    if (sampleRate <= 0 || samples.size() > (UINT32_MAX - 36) / 2)
        throw std::invalid_argument("a WAV file cannot hold this sound");
    std::vector<uint8_t> out(44 + dataBytes);
    uint8_t* p = out.data();
    std::memcpy(p, "RIFF", 4);
    StoreLE(p + 4, 36 + dataBytes, 4);
    std::memcpy(p + 8, "WAVEfmt ", 8);
    StoreLE(p + 16, 16, 4);                                     // fmt chunk size
    StoreLE(p + 20, 1, 2);                                      // PCM
    StoreLE(p + 22, 1, 2);                                      // mono
    StoreLE(p + 24, static_cast<uint32_t>(sampleRate), 4);      // frames per second
    StoreLE(p + 28, static_cast<uint32_t>(sampleRate) * 2, 4);  // bytes per second
    StoreLE(p + 32, 2, 2);                                      // bytes per frame
    StoreLE(p + 34, 16, 2);                                     // bits per sample
    std::memcpy(p + 36, "data", 4);
    StoreLE(p + 40, dataBytes, 4);
    for (size_t i = 0; i < samples.size(); ++i)
        StoreLE(p + 44 + 2 * i, static_cast<uint16_t>(samples[i]), 2);
    return out;
}

}  // namespace pagora
