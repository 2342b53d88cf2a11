#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace quillo::test {

// The least-squares fit of a sine of `hz` (free amplitude and phase) over the
// middle three quarters of `samples`, so that start and end transients do not
// count: the fitted amplitude and phase, and the SNR in dB of the samples
// against the fit. Used by the resampler's test and its recipe benchmark.
struct SineFit {
  double amplitude = 0.0;
  double phase = 0.0;
  double snr = 0.0;
};

inline SineFit FitSine(const std::vector<int16_t>& samples, int rate, double hz) {
  const size_t from = samples.size() / 8;
  const size_t to = samples.size() - samples.size() / 8;
  const auto angle = [&](size_t i) {
    return 2 * std::numbers::pi * hz * static_cast<double>(i) / rate;
  };
  double ss = 0, sc = 0, cc = 0, ys = 0, yc = 0;
  for (size_t i = from; i < to; ++i) {
    const double s = std::sin(angle(i)), c = std::cos(angle(i)), y = samples[i];
    ss += s * s;
    sc += s * c;
    cc += c * c;
    ys += y * s;
    yc += y * c;
  }
  const double det = ss * cc - sc * sc;
  const double a = (ys * cc - yc * sc) / det;
  const double b = (yc * ss - ys * sc) / det;
  double signal = 0, noise = 0;
  for (size_t i = from; i < to; ++i) {
    const double fit = a * std::sin(angle(i)) + b * std::cos(angle(i));
    signal += fit * fit;
    noise += (samples[i] - fit) * (samples[i] - fit);
  }
  return {std::hypot(a, b), std::atan2(b, a), 10 * std::log10(signal / std::max(noise, 1e-9))};
}

}  // namespace quillo::test
