#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "backends/wm/WmWriter.h"
#include "engine/media/MediaSink.h"
#include "engine/media/WindowsMediaRuntime.h"

namespace quillo {

// The sink of the Windows Media rows (.wma, and .wmv and .asf holding audio
// only): a one-stream profile in the format that the runtime's PickFormat
// chose (SetCodecOptions: the format; SetBitRate: its bit rate), fed with
// 16-bit PCM at the rate and channel count given to SetSampleRate and
// SetChannels, which the writer converts to the format's own. The tags
// become the file's attributes.
class WmSink final : public MediaSink {
 public:
  explicit WmSink(const WindowsMediaRuntime& runtime) : runtime_(runtime) {}

  void SetTags(const TagInfo& tags) override;
  void SetPath(const std::string& path) override { path_ = path; }
  void SetSampleRate(int hz) override { sampleRate_ = hz; }
  void SetChannels(int channels) override { channels_ = channels; }
  void SetBitRate(int bitsPerSecond) override { bitRate_ = bitsPerSecond; }
  void SetCodecOptions(const SinkOptions& options) override {
    format_ = options.windowsMediaFormat;
  }
  // The writer converts the rate and the channel count to the format's own.
  bool ResamplesItself() const override { return true; }

  bool Open() override;
  bool Write(const int16_t* left, const int16_t* right, int frames) override;
  bool Close() override;
  std::string ErrorText() const override { return error_; }

  // The presentation time of the next sample: `time` advanced by `frames`
  // frames at `rate`, in 100-nanosecond units (truncated).
  static int64_t AdvanceSampleTime(int64_t time, int frames, int rate);

 private:
  // Releases the writer and forgets the configuration; returns false.
  bool Fail(const std::string& reason);
  void Clear();

  const WindowsMediaRuntime& runtime_;
  TagInfo tags_;
  int trackNumber_ = 0;
  std::string path_;
  int sampleRate_ = 0;
  int channels_ = 0;
  WindowsMediaFormat format_;
  int bitRate_ = 0;
  std::unique_ptr<WmWriter> writer_;
  int64_t sampleTime_ = 0;
  std::string error_;
};

}  // namespace quillo
