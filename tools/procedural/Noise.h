#pragma once

#include <cstdint>

namespace pagora {

// A small, fast generator: the same seed gives the same pictures on every build.
class Rng {
  public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    double Range(double low, double high) { return low + (high - low) * Unit(); }
    // Uniform in [0, n); n > 0.
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }

  private:
    uint64_t state_;
};

// Lattice cells after which noise repeats along x and along y; 0 never repeats.
struct NoiseWrap {
    int X = 0;
    int Y = 0;
};

// Smooth value noise in [0, 1], continuous in x and y, one lattice cell per unit.
double ValueNoise(double x, double y, uint32_t seed, NoiseWrap wrap = {});

// Octaves of value noise, each twice as fine and `gain` times as strong; in [0, 1].
// With a wrap (in cells of the first octave) every octave repeats with the
// first, so a tile of one period meets its copies without seams.
double Fractal(double x, double y, uint32_t seed, int octaves, double gain = 0.5,
               NoiseWrap wrap = {});

}  // namespace pagora
