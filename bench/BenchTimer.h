#pragma once

#include <algorithm>
#include <chrono>
#include <functional>

namespace pagora::bench {

// Best of a few runs, in milliseconds: the machine is shared and noisy.
inline double BestMs(const std::function<void()>& work, int runs = 5) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        auto elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, std::chrono::duration<double, std::milli>(elapsed).count());
    }
    return best;
}

}  // namespace pagora::bench
