#pragma once

#include <atomic>
#include <mutex>

#include "backends/wm/WmCodecList.h"
#include "engine/media/WindowsMediaRuntime.h"

namespace quillo {

// Windows Media support is FFmpeg's ASF demuxer and muxer with its WMA
// decoders (v1, v2, Pro, Lossless) and the wmav2 encoder; it is loaded when
// this FFmpeg build has all of them. Loading also builds the list of the
// encoding formats, once; after that the runtime is only read, so runs on
// several threads may share it.
class WmRuntime final : public WindowsMediaRuntime {
 public:
  bool IsLoaded() const override { return loaded_.load(std::memory_order_acquire); }
  // Checks the FFmpeg build the first time; the answer stands for the life
  // of the process (a library's codecs do not change while it runs).
  bool Load() override;
  std::vector<WindowsMediaFormat> Formats() const override;
  std::optional<WindowsMediaFormat> PickFormat(int rate, int bitRate, int channels) const override;

 private:
  std::once_flag once_;
  std::atomic<bool> loaded_{false};
  WmCodecList codecList_;
};

}  // namespace quillo
