#include "Noise.h"

#include <cmath>

namespace pagora {

uint64_t Rng::Next() {
    // splitmix64: every seed, even 0, gives a well-spread sequence.
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

namespace {

double Lattice(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 0x27D4EB2Du ^ static_cast<uint32_t>(y) * 0x165667B1u ^
                 seed * 0x9E3779B9u;
    h ^= h >> 15;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0xFFFFFF);
}

double Smooth(double t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

// The lattice index i, and the one after it, taken around a period.
struct Corners {
    int32_t First, Next;
};
Corners Around(int32_t i, int period) {
    if (period <= 0)
        return {i, i + 1};
    int32_t first = i % period;
    if (first < 0)
        first += period;
    return {first, first + 1 == period ? 0 : first + 1};
}

}  // namespace

double ValueNoise(double x, double y, uint32_t seed, NoiseWrap wrap) {
    double fx = std::floor(x), fy = std::floor(y);
    Corners ix = Around(static_cast<int32_t>(fx), wrap.X);
    Corners iy = Around(static_cast<int32_t>(fy), wrap.Y);
    double tx = Smooth(x - fx), ty = Smooth(y - fy);
    double a = Lattice(ix.First, iy.First, seed), b = Lattice(ix.Next, iy.First, seed);
    double c = Lattice(ix.First, iy.Next, seed), d = Lattice(ix.Next, iy.Next, seed);
    double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double Fractal(double x, double y, uint32_t seed, int octaves, double gain, NoiseWrap wrap) {
    bool wraps = wrap.X > 0 || wrap.Y > 0;
    double sum = 0, weight = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * ValueNoise(x, y, seed + 101 * i, wrap);
        total += weight;
        weight *= gain;
        if (wraps) {
            // Twice the cells over the same period; a turn would break the repeat.
            x *= 2;
            y *= 2;
            wrap = {wrap.X * 2, wrap.Y * 2};
        } else {
            // A rotation between octaves hides the lattice's grid.
            double nx = 1.6 * x - 1.2 * y, ny = 1.2 * x + 1.6 * y;
            x = nx + 17.3;
            y = ny + 5.1;
        }
    }
    return total > 0 ? sum / total : 0.5;
}

}  // namespace pagora
