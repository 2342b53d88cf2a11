#pragma once

#include <cmath>
#include <cstdint>

namespace quillo {

// A value already on the 16-bit scale as a sample: truncated toward zero and
// clamped to -32768..32767, so that overshoots clip instead of wrapping
// around. NaN gives silence.
template <typename T>
int16_t ClampToS16(T scaled) {
  if (scaled >= T{32767}) return 32767;
  if (scaled <= T{-32768}) return -32768;
  if (scaled != scaled) return 0;
  return static_cast<int16_t>(scaled);
}

// A floating-point sample (full scale -1.0..1.0) as 16-bit: scaled by 32768,
// so that 16-bit data stored as float comes back unchanged, 1.0 gives 32767
// and -1.0 gives -32768.
inline int16_t FloatToS16(float v) { return ClampToS16(v * 32768.0f); }
inline int16_t DoubleToS16(double v) { return ClampToS16(v * 32768.0); }

// A wide sample (full scale 1.0) of a source's `isFloat` format as the 16-bit
// sample its Read delivers: integers keep their top 16 bits (rounded down, as
// a shift does), floats are truncated toward zero and clamped (DoubleToS16).
inline int16_t WideToS16(double v, bool isFloat) {
  return isFloat ? DoubleToS16(v) : ClampToS16(std::floor(v * 32768.0));
}

}  // namespace quillo
