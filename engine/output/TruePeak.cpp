#include "engine/output/TruePeak.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace quillo {
namespace {

constexpr int kPhases = 4;
constexpr int kTaps = TruePeakChannel::kHistory + 1;  // samples weighed for one point
constexpr int kChunk = TruePeakChannel::kChunk;
constexpr float kScale = 1.0f / 32768.0f;

struct Interpolator {
  // coefficients[p][k]: the weight of sample n - 5 + k for the point n + p/4.
  std::array<std::array<float, kTaps>, kPhases> coefficients{};
  // The largest sum of absolute weights of a phase: no point exceeds it times
  // the largest sample it weighs.
  float gainBound = 1.0f;

  Interpolator() {
    for (int p = 1; p < kPhases; ++p) {
      float sum = 0.0f;
      for (int k = 0; k < kTaps; ++k) {
        const double t = static_cast<double>(p) / kPhases + 5 - k;  // 0 < |t| < 6
        const double x = std::numbers::pi * t;
        const double window = 0.5 * (1.0 + std::cos(x / 6.0));
        coefficients[p][k] = static_cast<float>(std::sin(x) / x * window);
        sum += std::fabs(coefficients[p][k]);
      }
      gainBound = std::max(gainBound, sum);
    }
  }
};

const Interpolator kInterpolator;

}  // namespace

void TruePeakChannel::Add(const int16_t* samples, int count) { AddScaled(samples, count, kScale); }

void TruePeakChannel::Add(const double* samples, int count) { AddScaled(samples, count, 1.0f); }

template <typename Sample>
void TruePeakChannel::AddScaled(const Sample* samples, int count, float scale) {
  while (count > 0) {
    const int n = std::min(count, kChunk - pending_);
    float* to = buffer_.data() + kHistory + pending_;
    float peak = samplePeak_;
    for (int i = 0; i < n; ++i) {
      to[i] = static_cast<float>(samples[i]) * scale;
      peak = std::max(peak, std::fabs(to[i]));
    }
    samplePeak_ = peak;
    samples += n;
    count -= n;
    pending_ += n;
    if (pending_ < kChunk) return;
    peak_ = std::max(peak_, PendingPoints(kChunk));
    std::copy(buffer_.end() - kHistory, buffer_.end(), buffer_.begin());
    pending_ = 0;
  }
}

double TruePeakChannel::Peak() const {
  return std::max({static_cast<double>(samplePeak_), static_cast<double>(peak_),
                   static_cast<double>(PendingPoints(pending_))});
}

float TruePeakChannel::PendingPoints(int count) const {
  if (count == 0) return 0.0f;
  float reach = 0.0f;
  for (int i = 0; i < kHistory + count; ++i) reach = std::max(reach, std::fabs(buffer_[i]));
  const float known = std::max(peak_, samplePeak_);
  if (reach * kInterpolator.gainBound <= known) return 0.0f;

  // Point i of a phase lies after the sample buffer_[i + 5]: it weighs
  // buffer_[i .. i + 11]. The loops run over the whole chunk, so
  // they vectorize; only the first `count` points are complete.
  std::array<float, kChunk> high{};
  std::array<float, kChunk> low{};
  for (int p = 1; p < kPhases; ++p) {
    std::array<float, kChunk> point{};
    for (int k = 0; k < kTaps; ++k) {
      const float c = kInterpolator.coefficients[p][k];
      for (int i = 0; i < kChunk; ++i) point[i] += c * buffer_[i + k];
    }
    for (int i = 0; i < kChunk; ++i) {
      high[i] = std::max(high[i], point[i]);
      low[i] = std::min(low[i], point[i]);
    }
  }
  float found = 0.0f;
  for (int i = 0; i < count; ++i) found = std::max({found, high[i], -low[i]});
  return found;
}

}  // namespace quillo
