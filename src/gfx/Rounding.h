#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace pagora {

// Round to the nearest integer, halves to the even neighbour; values beyond
// int's range saturate and NaN gives 0, so hostile inputs stay defined.
inline int RoundHalfEven(double value) {
    if (std::isnan(value))
        return 0;
    double r = std::nearbyint(value);  // the default rounding mode is to-nearest-even
    if (r >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}

// num / den rounded to the nearest integer, halves to the even neighbour,
// worked out on the exact fraction (a double can break a tie). den != 0, and
// |num|, |den| below 2^62.
inline int64_t RoundDivHalfEven(int64_t num, int64_t den) {
    if (den < 0)
        num = -num, den = -den;
    int64_t q = num / den, r = num % den;
    if (r < 0)
        --q, r += den;  // floor, so 0 <= r < den
    if (2 * r > den || (2 * r == den && (q & 1) != 0))
        ++q;
    return q;
}

}  // namespace pagora
