#pragma once

#include <memory>
#include <string>

#include "backends/bass/AudioStream.h"
#include "backends/bass/LibraryHandles.h"

namespace quillo::audio {

// MPEG audio layers I to III through libmpg123: the whole file is scanned at
// open, so the length is exact, and encoder delay and padding are trimmed.
class Mpg123Stream final : public AudioStream {
 public:
  static std::unique_ptr<AudioStream> Open(const std::string& path);

 protected:
  size_t Decode(uint8_t* buffer, size_t bytes) override;

 private:
  Mpg123Stream() = default;

  Mpg123Ptr handle_;
  bool ended_ = false;
};

}  // namespace quillo::audio
