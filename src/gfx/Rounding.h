#pragma once

#include <cmath>
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

}  // namespace pagora
