#include "engine/media/Dither.h"

#include <cmath>

namespace quillo {

namespace {

int32_t ClampToBits(double scaled, int bits) {
  const double top = std::ldexp(1.0, bits - 1);
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
  return ClampToBits(std::floor(std::ldexp(x, bits - 1) + noise + 0.5), bits);
}

int32_t RoundToBits(double x, int bits) {
  return ClampToBits(std::floor(std::ldexp(x, bits - 1) + 0.5), bits);
}

}  // namespace quillo
