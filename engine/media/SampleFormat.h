#pragma once

namespace quillo {

// The resolution of a source's samples, or of what a sink is asked to keep.
// Samples of up to 16 bits travel through the engine as int16_t; wider ones
// ("wide") as double at full scale 1.0, where an integer sample s of b bits is
// s / 2^(b-1). Every integer of up to 32 bits and every float sample is exact
// in that form.
struct SampleFormat {
  int bits = 16;         // significant bits: 8, 16, 24, 32 (64 for double floats)
  bool isFloat = false;  // IEEE floating point

  bool IsWide() const { return isFloat || bits > 16; }
  friend bool operator==(const SampleFormat&, const SampleFormat&) = default;
};

// The wider of two formats: what a stream that carries both must keep.
inline SampleFormat Widest(const SampleFormat& a, const SampleFormat& b) {
  if (a.isFloat != b.isFloat) return a.isFloat ? a : b;
  return a.bits >= b.bits ? a : b;
}

}  // namespace quillo
