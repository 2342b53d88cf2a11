#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "backends/amr/AmrState.h"

namespace quillo {

// An opencore-amrnb encoder state: 8000 Hz mono speech in frames of 160
// samples, out as storage-format frames (a table-of-contents byte, then the
// speech bits), at most 32 bytes each.
class AmrNbEncoder {
 public:
  static constexpr int kFrameSamples = 160;
  static constexpr int kSampleRate = 8000;
  static constexpr int kMaxFrameBytes = 32;

  // Null when the library could not make an encoder.
  static std::unique_ptr<AmrNbEncoder> Create(bool dtx);

  // The mode (0 = 4.75 ... 7 = 12.2 kbit/s) nearest to a bit rate, the lower
  // one on a tie; a bit rate of 0 or less asks for the best mode.
  static int ModeForBitRate(int bitsPerSecond);
  static int BitRateOfMode(int mode);

  // Encodes one frame of kFrameSamples samples; returns the bytes written to
  // `out` (room for kMaxFrameBytes), or 0 or less on failure.
  int Encode(int mode, const int16_t* samples, uint8_t* out);

 private:
  explicit AmrNbEncoder(AmrStatePtr state) : state_(std::move(state)) {}

  AmrStatePtr state_;
};

}  // namespace quillo
