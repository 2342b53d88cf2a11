#pragma once

#include <cmath>
#include <cstdint>

namespace quillo::audio {

// A float sample (full scale -1.0..1.0) as 16-bit: scaled by 32768 so that
// 16-bit data stored as float comes back unchanged, clamped to the 16-bit
// range so that overshoots clip instead of wrapping around.
inline int16_t FloatToS16(float value) {
  if (!(value == value)) return 0;  // NaN
  const float scaled = value * 32768.0f;
  if (scaled >= 32767.0f) return 32767;
  if (scaled <= -32768.0f) return -32768;
  return static_cast<int16_t>(std::lrintf(scaled));
}

// A signed 16-bit sample of 8-bit data as the unsigned byte it came from.
inline uint8_t S16ToU8(int16_t value) { return static_cast<uint8_t>((value >> 8) + 128); }

}  // namespace quillo::audio
