#pragma once

#include <vector>

#include "backends/ffmpeg/ChannelFold.h"
#include "backends/ffmpeg/FfmpegDecoder.h"
#include "backends/ffmpeg/FfmpegInput.h"
#include "backends/ffmpeg/SampleConverter.h"

namespace quillo {

// Decodes the first audio stream of any container FFmpeg reads (audio files
// and the audio of video files) into 16-bit planar blocks, or wide ones for
// lossless and PCM codecs of more than 16 bits, folding more than two
// channels to stereo. Packets of other streams are discarded undecoded.
class FrameworkSource final : public FfmpegMediaSource {
 public:
  FrameworkSource();

  void Close() override;
  bool Open(const std::string& path, int renderRate) override;
  int Read(int16_t* left, int16_t* right) override;
  SampleFormat GetSampleFormat() override { return format_; }
  int ReadWide(double* left, double* right) override;
  bool ReadTags(TagInfo& tags) override;
  std::optional<EarlyEnd> EndedEarly() override;

 private:
  // Prepares the converter and the fold for `frame`'s format.
  bool PrepareFrame(const AVFrame& frame);
  // Converts and folds decoded frames into one block of `left` and `right`
  // through `convert` (into `converted`), as Read and ReadWide deliver it.
  template <typename Sample, typename Convert>
  int ReadBlock(Sample* left, Sample* right, std::vector<Sample>& converted, Convert convert);

  FfmpegDecoder decoder_;
  SampleConverter converter_;
  ChannelFold fold_;
  int cursor_ = 0;                  // first frame of the current one not yet handed out
  uint64_t delivered_ = 0;          // frames handed out since Open
  std::vector<int16_t> converted_;  // one block of converted frames
  std::vector<double> wide_;        // the same, for a wide format
  SampleFormat format_;
};

}  // namespace quillo
