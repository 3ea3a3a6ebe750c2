#pragma once

namespace pagora {

// The height of an ellipse with half-axes a (across) and b (up) at distance x
// from its centre, rounded halves to even; all in doubles, so page-sized
// arguments cannot overflow. Beyond the ellipse (|x| > a) it grows again.
int EllipseY(int a, int b, int x);

}  // namespace pagora
