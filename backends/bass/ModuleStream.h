#pragma once

#include <memory>
#include <string>

#include "backends/bass/AudioStream.h"
#include "backends/bass/LibraryHandles.h"

namespace quillo::audio {

// A tracker module (.mod .xm .it .s3m .mtm .umx .mo3 and the other formats
// libopenmpt reads) rendered as 16-bit stereo at a chosen rate, played once.
// The length is the song's length found by a scan at load; the stream ends
// there.
class ModuleStream final : public AudioStream {
 public:
  static std::unique_ptr<AudioStream> Open(const std::string& path, int rate);

 protected:
  size_t Decode(uint8_t* buffer, size_t bytes) override;

 private:
  ModuleStream() = default;

  ModulePtr module_;
};

// A render rate the synthesizers take: 0 asks for `fallback`, others are
// held within `lowest`..`highest`.
int RenderRate(int requested, int fallback, int lowest, int highest);

}  // namespace quillo::audio
