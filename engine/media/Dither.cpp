#include "engine/media/Dither.h"

#include <cmath>

namespace quillo {

namespace {

// 2^(bits - 1): full scale of a `bits`-bit integer. Scaling by it is exact
// (a power of two), and a shift is much cheaper than ldexp per sample.
double FullScale(int bits) { return static_cast<double>(int64_t{1} << (bits - 1)); }

int32_t ClampToBits(double scaled, int bits) {
  const double top = FullScale(bits);
  if (scaled != scaled) return 0;
  if (scaled >= top - 1.0) return static_cast<int32_t>(top - 1.0);
  if (scaled <= -top) return static_cast<int32_t>(-top);
  return static_cast<int32_t>(scaled);
}

}  // namespace

double TpdfDither::Uniform() {
  // xorshift64*: fast, and good enough for noise.
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  return static_cast<double>((state_ * 0x2545F4914F6CDD1Dull) >> 11) * 0x1.0p-53;
}

int32_t TpdfDither::Quantize(double x, int bits) {
  const double noise = Uniform() - Uniform();
  return ClampToBits(std::floor(x * FullScale(bits) + noise + 0.5), bits);
}

int32_t RoundToBits(double x, int bits) {
  return ClampToBits(std::floor(x * FullScale(bits) + 0.5), bits);
}

}  // namespace quillo
