#pragma once

#include <memory>
#include <string>
#include <vector>

#include "backends/bass/AudioStream.h"
#include "backends/bass/LibraryHandles.h"

namespace quillo::audio {

// WavPack (.wv, with its .wvc correction file when present) through libwavpack.
// 8-bit files stay 8-bit, 16-bit files 16-bit; 24- and 32-bit integers and
// float are delivered wide, as doubles that keep every bit.
class WavPackStream final : public AudioStream {
 public:
  static std::unique_ptr<AudioStream> Open(const std::string& path);

 protected:
  size_t Decode(uint8_t* buffer, size_t bytes) override;

 private:
  WavPackStream() = default;

  WavPackPtr context_;
  int bytesPerSample_ = 2;
  bool float_ = false;
  std::vector<int32_t> unpacked_;
};

}  // namespace quillo::audio
