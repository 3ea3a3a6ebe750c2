#pragma once

#include <cstdint>

#include "procedural/Noise.h"

namespace pagora {

// The random numbers of the ragged, dissolving and block transitions. The
// sequence is our own (splitmix64), not a standard library distribution's,
// so a seed gives the same frames on every build.
class ShowRandom {
  public:
    static constexpr uint64_t kDefaultSeed = 0x5eed;

    explicit ShowRandom(uint64_t seed = kDefaultSeed) : rng_(seed) {}
    void Seed(uint64_t seed) { rng_ = Rng(seed); }

    // Uniform in [0, n); 0 when n <= 0, which uses up no number.
    int Random(int n) { return n <= 0 ? 0 : rng_.Below(n); }

  private:
    Rng rng_;
};

}  // namespace pagora
