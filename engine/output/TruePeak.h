#pragma once

#include <array>
#include <cstdint>

namespace quillo {

// The true peak of one channel of 16-bit or wide audio: the highest magnitude of the
// signal reconstructed at four times its rate, as a fraction of full scale.
// Each input sample yields itself and the three points after it, found with a
// Hann-windowed sinc interpolator six samples wide on either side (the filter
// of the loudness standards' true-peak meters), once the six samples after it
// have arrived.
//
// Samples are taken in chunks. A chunk whose samples, with the history its
// points reach back to, stay below the peak found so far divided by the
// interpolator's gain bound cannot raise that peak: its points are skipped.
class TruePeakChannel {
 public:
  void Add(const int16_t* samples, int count);
  // Wide samples: full scale 1.0.
  void Add(const double* samples, int count);
  double Peak() const;
  // The highest magnitude of a sample itself.
  double SamplePeak() const { return samplePeak_; }

  // Samples around an in-between point: five before it, six after.
  static constexpr int kHistory = 11;
  static constexpr int kChunk = 256;

 private:
  // The highest point the first `count` pending samples complete, or 0 where
  // they cannot raise the peak.
  float PendingPoints(int count) const;
  // Adds samples that `scale` brings to full scale 1.0.
  template <typename Sample>
  void AddScaled(const Sample* samples, int count, float scale);

  // kHistory samples of history, then up to kChunk pending ones.
  std::array<float, kHistory + kChunk> buffer_{};
  int pending_ = 0;
  float samplePeak_ = 0.0f;  // full scale 1.0
  float peak_ = 0.0f;        // of the in-between points of every full chunk
};

}  // namespace quillo
