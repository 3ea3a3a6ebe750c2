#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>

namespace pagora {

// The colour t of the way from a to b, alpha included; t is held to [0, 1].
QColor Mix(const QColor& a, const QColor& b, double t);

// Adds grain to an RGB32 or ARGB32 picture: every pixel's red, green and blue move
// together by a whole number picked evenly from -amount..amount. The same
// seed gives the same grain.
void AddGrain(QImage& picture, int amount, uint64_t seed);

}  // namespace pagora
