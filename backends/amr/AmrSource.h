#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "backends/amr/AmrDecoder.h"
#include "engine/media/MediaSource.h"

namespace quillo {

// Reads ".amr" and ".awb" files: narrow or wide band as the file's magic
// says, one channel at 8000 or 16000 Hz. Blocks are filled from whole
// decoded frames; the part of a frame that does not fit waits for the next
// Read. Progress counts the file's bytes. The duration and bit rate stay 0:
// the file does not state them.
class AmrSource final : public MediaSource {
 public:
  void Close() override;
  // The render rate is not used: the band fixes the rate.
  bool Open(const std::string& path, int renderRate) override;
  // Fills `left` only; `right` is not touched.
  int Read(int16_t* left, int16_t* right) override;

 private:
  std::unique_ptr<AmrDecoder> decoder_;
  // Samples of the last decoded frame that the previous block had no room for.
  std::array<int16_t, kAmrMaxFrameSamples> pending_{};
  int pendingCount_ = 0;
};

}  // namespace quillo
