#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pagora {

// A sample in -1..1 as 16-bit PCM; beyond the range it clips instead of wrapping.
int16_t ToPcm16(double value);

// A canonical 44-byte-header PCM WAV file: mono, 16 bits, at the rate.
std::vector<uint8_t> WaveFileBytes(std::span<const int16_t> samples, int sampleRate);

}  // namespace pagora
