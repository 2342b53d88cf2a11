#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/media/MediaSink.h"

namespace quillo {

// Passes the blocks of a join on to its sink and counts the frames, so that
// each joined file's start in the output is known. Used on the run's worker
// thread only, like the sink it wraps.
class CountingSink final : public MediaSink {
 public:
  explicit CountingSink(MediaSink& sink) : sink_(sink) {}

  // Every call goes on to the sink: none may fall back to a default body.
  void SetTags(const TagInfo& tags) override { sink_.SetTags(tags); }
  void SetPath(const std::string& path) override { sink_.SetPath(path); }
  void SetSampleRate(int hz) override { sink_.SetSampleRate(hz); }
  void SetChannels(int channels) override { sink_.SetChannels(channels); }
  void SetBitRate(int bitsPerSecond) override { sink_.SetBitRate(bitsPerSecond); }
  void SetCodecOptions(const SinkOptions& options) override { sink_.SetCodecOptions(options); }
  void SetSampleFormat(const SampleFormat& format) override { sink_.SetSampleFormat(format); }
  bool ResamplesItself() const override { return sink_.ResamplesItself(); }
  bool Open() override { return sink_.Open(); }
  bool Write(const int16_t* left, const int16_t* right, int frames) override {
    frames_ += frames;
    return sink_.Write(left, right, frames);
  }
  bool WriteWide(const double* left, const double* right, int frames) override {
    frames_ += frames;
    return sink_.WriteWide(left, right, frames);
  }
  bool Close() override { return sink_.Close(); }
  std::string ErrorText() const override { return sink_.ErrorText(); }
  std::optional<WrittenAudio> Written() const override { return sink_.Written(); }

  // The frames written so far.
  int64_t Frames() const { return frames_; }

 private:
  MediaSink& sink_;
  int64_t frames_ = 0;
};

}  // namespace quillo
