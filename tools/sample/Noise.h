#pragma once

#include <cstdint>

namespace pagora::sample {

// A small, fast generator with a fixed seed, so the same build draws the same photos.
class Rng {
  public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    double Range(double low, double high) { return low + (high - low) * Unit(); }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }

  private:
    uint64_t state_;
};

// Smooth value noise in [0, 1], continuous in x and y, one lattice cell per unit.
double ValueNoise(double x, double y, uint32_t seed);

// Octaves of value noise, each twice as fine and `gain` times as strong; in [0, 1].
double Fractal(double x, double y, uint32_t seed, int octaves, double gain = 0.5);

}  // namespace pagora::sample
