#pragma once

#include <QImage>
#include <cstdint>

namespace pagora::test {

// A kBitmapFormat picture with what a photograph has and flat test patterns
// lack: smooth gradients, soft edges, mid-scale texture and fine grain. The
// same size and seed give the same pixels.
QImage SyntheticPhoto(int width, int height, uint32_t seed = 1);

// Peak signal-to-noise ratio of b against a over R, G and B, in dB; the
// sizes must match. Identical pictures give infinity.
double Psnr(const QImage& a, const QImage& b);

}  // namespace pagora::test
