#pragma once

#include "engine/WindowsMediaRuntime.h"

namespace quillo {

// Windows Media support is FFmpeg's ASF demuxer and muxer with its WMA
// decoders and the wmav2 encoder; it is "loaded" when this FFmpeg build has
// all of them.
class WmRuntime final : public WindowsMediaRuntime {
 public:
  bool IsLoaded() const override { return loaded_; }
  bool Load() override;

 private:
  bool loaded_ = false;
};

}  // namespace quillo
