#pragma once

#include "backends/ffmpeg/FfmpegInput.h"

namespace quillo {

// Reports a file's properties as FrameworkSource would, without opening a
// decoder: for filling the file list. Read yields nothing. Open succeeds for
// any container FFmpeg reads, also one without audio (HasAudioStream is then
// 0, as it is for a picture, which does not open), so that the adding can
// tell a file without audio from one it cannot read.
class FrameworkProbeSource final : public FfmpegMediaSource {
 public:
  void Close() override;
  bool Open(const std::string& path, int renderRate) override;
  int Read(int16_t*, int16_t*) override { return 0; }
  SampleFormat GetSampleFormat() override { return format_; }

 private:
  InputContextPtr input_;
  int streamIndex_ = -1;
  SampleFormat format_;
};

}  // namespace quillo
