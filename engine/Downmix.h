#pragma once

#include <cstdint>

namespace quillo {

// Folds one frame of `channels` samples (3 to 8; any other count keeps the
// first two) into one stereo pair. Products are truncated toward zero and the
// sums clamped to the 16-bit range.
void DownmixToStereo(int channels, const int16_t* frame, int16_t& left, int16_t& right);

}  // namespace quillo
