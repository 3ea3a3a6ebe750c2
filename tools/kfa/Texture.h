#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>
#include <vector>

namespace kfa {

// Smooth value noise on a lattice of cellsX x cellsY that wraps around, so a
// picture made from it tiles without seams. Coordinates are in cells.
class TileNoise {
  public:
    TileNoise(int cellsX, int cellsY, uint32_t seed);
    TileNoise(int cells, uint32_t seed) : TileNoise(cells, cells, seed) {}
    // In [0, 1].
    float At(float u, float v) const;
    int CellsX() const { return cellsX_; }
    int CellsY() const { return cellsY_; }

  private:
    int cellsX_, cellsY_;
    std::vector<float> values_;
};

// Several octaves of noise that repeat every `period` pixels; the coarsest
// has `cells` cells per period. In [0, 1].
class FractalNoise {
  public:
    FractalNoise(int period, int cells, int octaves, uint32_t seed);
    float At(float x, float y) const;

  private:
    int period_;
    std::vector<TileNoise> octaves_;
};

// Mixes two colours, t in [0, 1].
QRgb Mix(QColor a, QColor b, float t);

// Adds per-pixel grain of up to +-amount to every channel (deterministic).
void AddGrain(QImage& picture, int amount, uint32_t seed);

}  // namespace kfa
