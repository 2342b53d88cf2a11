#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "backends/ffmpeg/FfmpegDecoder.h"
#include "backends/ffmpeg/SampleConverter.h"

namespace quillo {

// The synchronous reader of the Windows Media layer: opens an ASF file
// (.wma, .wmv, .asf, ...) with FFmpeg's ASF demuxer, selects its first audio
// stream and hands out that stream's decompressed samples, one decoded frame
// at a time, as interleaved 16-bit frames with their presentation times.
// Only that stream is decoded; video packets are dropped undecoded.
class WmSyncReader {
 public:
  // False when the file is not an ASF file, holds no audio stream FFmpeg
  // knows, or its decoder does not open.
  bool Open(const std::string& path);
  void Close();

  // The first audio stream's number (streams count from 1); 0 before Open
  // found one.
  int AudioStreamNumber() const { return audioStream_; }
  // True when the last Open read the container but found no audio stream in it.
  bool NoAudioStream() const { return noAudioStream_; }

  // The decompressed output: its rate, channel count and layout. A sample
  // holds min(channels, kMaxConvertedChannels) values per frame.
  int OutputRate() const { return rate_; }
  int OutputChannels() const { return channels_; }
  const AVChannelLayout& OutputLayout() const { return decoder_.Codec().ch_layout; }

  // The container, for its attributes and duration.
  const AVFormatContext& Input() const { return decoder_.Input(); }
  const AVStream& Stream() const { return decoder_.Stream(); }

  // The next decompressed sample: its frames, interleaved, into `samples`
  // (resized, so a buffer reused for every sample soon stops allocating),
  // the frame count into `frames` and its time in 100-nanosecond units into
  // `time`. False at the end of the stream.
  bool GetNextSample(std::vector<int16_t>& samples, int& frames, int64_t& time);
  // After GetNextSample returned false, with `frames` frames handed out:
  // how far a stream that stopped on damage got (FfmpegDecoder::EarlyEndAfter).
  std::optional<EarlyEnd> EarlyEndAfter(uint64_t frames) const {
    return decoder_.EarlyEndAfter(frames, rate_);
  }

 private:
  FfmpegDecoder decoder_;
  SampleConverter converter_;
  int audioStream_ = 0;
  bool noAudioStream_ = false;
  int rate_ = 0;
  int channels_ = 0;
  int64_t nextTime_ = 0;  // for a frame without a time stamp: the end of the one before
};

}  // namespace quillo
