#pragma once

#include <cstdint>

namespace quillo {

// Rounds wide samples (double, full scale 1.0) to integers of fewer bits with
// triangular (TPDF) dither: the sum of two independent uniform values of one
// step each is added before rounding, so that the rounding error is noise
// independent of the signal instead of distortion that follows it. The
// generator is seeded the same way for every instance: one file converted
// twice gives the same output.
class TpdfDither {
 public:
  // `x` as a `bits`-bit integer (8 to 32), dithered, rounded and clamped to
  // the integer range. NaN gives 0.
  int32_t Quantize(double x, int bits);

 private:
  // A uniform value in [0, 1).
  double Uniform();

  uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

// `x` as a `bits`-bit integer, rounded to the nearest and clamped, without
// dither: for samples that already have no more bits than the target.
int32_t RoundToBits(double x, int bits);

}  // namespace quillo
