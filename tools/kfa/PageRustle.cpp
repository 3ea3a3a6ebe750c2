#include "PageRustle.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "archive/WaveFile.h"

namespace kfa {
namespace {

constexpr double kSeconds = 0.4;
constexpr double kPeak = 0.6;  // of full scale

// A second-order band-pass filter (constant peak gain) whose centre may move.
class BandPass {
  public:
    double Run(double x, double centre, double q) {
        double w = 2 * std::numbers::pi * centre / kRustleSampleRate;
        double alpha = std::sin(w) / (2 * q);
        double a0 = 1 + alpha;
        double b0 = alpha / a0, b2 = -alpha / a0;
        double a1 = -2 * std::cos(w) / a0, a2 = (1 - alpha) / a0;
        double y = b0 * x + b2 * x2_ - a1 * y1_ - a2 * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

  private:
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

}  // namespace

std::vector<uint8_t> PageRustleWav() {
    const int count = static_cast<int>(kSeconds * kRustleSampleRate);
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    std::vector<double> sound(count, 0.0);

    // The sweep of the sheet: noise whose band rises and falls as the page
    // swings over, under a smooth swell.
    BandPass sweep;
    const double sweepEnd = 0.34 * kRustleSampleRate;
    for (int i = 0; i < count; ++i) {
        double t = i / sweepEnd;
        if (t >= 1)
            break;
        double swell = std::pow(std::sin(std::numbers::pi * t), 2) * (1 - 0.4 * t);
        double centre = 1400 + 2600 * std::sin(std::numbers::pi * t);
        sound[i] += 0.8 * swell * sweep.Run(noise(random), centre, 0.8);
    }

    // Crackles of the paper fibres: short bright grains.
    std::uniform_real_distribution<double> at(0.04, 0.33), length(0.003, 0.009),
        loudness(0.25, 0.7);
    for (int grain = 0; grain < 14; ++grain) {
        int start = static_cast<int>(at(random) * kRustleSampleRate);
        int span = static_cast<int>(length(random) * kRustleSampleRate);
        double gain = loudness(random);
        BandPass bright;
        for (int j = 0; j < span && start + j < count; ++j) {
            double decay = std::exp(-5.0 * j / span);
            sound[start + j] += gain * decay * bright.Run(noise(random), 5200, 1.2);
        }
    }

    // The sheet settling: a soft low flap.
    BandPass low;
    int flap = static_cast<int>(0.33 * kRustleSampleRate);
    for (int j = 0; flap + j < count; ++j) {
        double decay = std::exp(-j / (0.012 * kRustleSampleRate));
        sound[flap + j] += 0.9 * decay * low.Run(noise(random), 260, 0.9);
    }

    // Fade the last few milliseconds so the sound ends without a click.
    int fade = static_cast<int>(0.01 * kRustleSampleRate);
    for (int j = 0; j < fade; ++j)
        sound[count - 1 - j] *= static_cast<double>(j) / fade;

    double peak = 1e-9;
    for (double s : sound)
        peak = std::max(peak, std::fabs(s));
    std::vector<int16_t> samples(count);
    for (int i = 0; i < count; ++i)
        samples[i] = pagora::ToPcm16(sound[i] / peak * kPeak);
    return pagora::WaveFileBytes(samples, kRustleSampleRate);
}

}  // namespace kfa
