#pragma once

#include <cstdint>
#include <vector>

namespace kfa {

constexpr int kRustleSampleRate = 22050;

// A short page-turn rustle, synthesised (the same every time): a WAV file of
// 16-bit mono PCM, about 0.4 s long.
std::vector<uint8_t> PageRustleWav();

}  // namespace kfa
