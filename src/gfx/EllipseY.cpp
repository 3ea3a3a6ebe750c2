#include "gfx/EllipseY.h"

#include <cmath>

#include "gfx/Rounding.h"

namespace pagora {

int EllipseY(int a, int b, int x) {
    const double A = a, B = b, X = x;
    return RoundHalfEven(std::sqrt(std::fabs(A * A * B * B - B * B * X * X) / (A * A)));
}

}  // namespace pagora
