#pragma once

#include <vector>

#include "backends/ffmpeg/ChannelFold.h"
#include "backends/ffmpeg/FfmpegDecoder.h"
#include "backends/ffmpeg/FfmpegInput.h"
#include "backends/ffmpeg/SampleConverter.h"

namespace quillo {

// Decodes the first audio stream of any container FFmpeg reads (audio files
// and the audio of video files) into 16-bit planar blocks, folding more than
// two channels to stereo. Packets of other streams are discarded undecoded.
class FrameworkSource final : public FfmpegMediaSource {
 public:
  FrameworkSource();

  void Close() override;
  bool Open(const std::string& path, int renderRate) override;
  int Read(int16_t* left, int16_t* right) override;
  bool ReadTags(TagInfo& tags) override;
  std::optional<EarlyEnd> EndedEarly() override;

 private:
  // Prepares the converter and the fold for `frame`'s format.
  bool PrepareFrame(const AVFrame& frame);

  FfmpegDecoder decoder_;
  SampleConverter converter_;
  ChannelFold fold_;
  int cursor_ = 0;                  // first frame of the current one not yet handed out
  uint64_t delivered_ = 0;          // frames handed out since Open
  std::vector<int16_t> converted_;  // one block of converted frames
};

}  // namespace quillo
