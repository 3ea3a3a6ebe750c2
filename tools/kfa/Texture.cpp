#include "Texture.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace kfa {
namespace {

float Smooth(float t) {
    return t * t * (3 - 2 * t);
}

int Wrap(int i, int n) {
    i %= n;
    return i < 0 ? i + n : i;
}

}  // namespace

TileNoise::TileNoise(int cellsX, int cellsY, uint32_t seed)
    : cellsX_(std::max(cellsX, 1)), cellsY_(std::max(cellsY, 1)) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(0.f, 1.f);
    values_.resize(static_cast<size_t>(cellsX_) * cellsY_);
    for (float& v : values_)
        v = value(random);
}

float TileNoise::At(float u, float v) const {
    int i = static_cast<int>(std::floor(u)), j = static_cast<int>(std::floor(v));
    float fu = Smooth(u - i), fv = Smooth(v - j);
    // Wrapped once here rather than in each of the four lookups.
    int i0 = Wrap(i, cellsX_), j0 = Wrap(j, cellsY_);
    int i1 = i0 + 1 == cellsX_ ? 0 : i0 + 1, j1 = j0 + 1 == cellsY_ ? 0 : j0 + 1;
    const float* row0 = values_.data() + static_cast<size_t>(j0) * cellsX_;
    const float* row1 = values_.data() + static_cast<size_t>(j1) * cellsX_;
    float top = row0[i0] + (row0[i1] - row0[i0]) * fu;
    float bottom = row1[i0] + (row1[i1] - row1[i0]) * fu;
    return top + (bottom - top) * fv;
}

FractalNoise::FractalNoise(int period, int cells, int octaves, uint32_t seed)
    : period_(std::max(period, 1)) {
    for (int o = 0; o < octaves; ++o)
        octaves_.emplace_back(cells << o, seed + 7919u * o);
}

float FractalNoise::At(float x, float y) const {
    float sum = 0, weight = 0, amplitude = 1;
    for (const TileNoise& octave : octaves_) {
        // Each octave has twice the cells of the one before over the same period.
        float scale = static_cast<float>(octave.CellsX()) / period_;
        sum += amplitude * octave.At(x * scale, y * scale);
        weight += amplitude;
        amplitude *= 0.5f;
    }
    return weight > 0 ? sum / weight : 0.5f;
}

QRgb Mix(QColor a, QColor b, float t) {
    t = std::clamp(t, 0.f, 1.f);
    auto channel = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return qRgb(channel(a.red(), b.red()), channel(a.green(), b.green()),
                channel(a.blue(), b.blue()));
}

void AddGrain(QImage& picture, int amount, uint32_t seed) {
    std::minstd_rand random(seed);
    std::uniform_int_distribution<int> grain(-amount, amount);
    for (int y = 0; y < picture.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            int g = grain(random);
            QRgb p = row[x];
            row[x] = qRgb(std::clamp(qRed(p) + g, 0, 255), std::clamp(qGreen(p) + g, 0, 255),
                          std::clamp(qBlue(p) + g, 0, 255));
        }
    }
}

}  // namespace kfa
