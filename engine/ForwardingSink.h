#pragma once

#include <optional>
#include <string>

#include "engine/media/MediaSink.h"

namespace quillo {

// A sink that passes every call on to another: the base of the sinks that
// watch a conversion's blocks on their way (counting, measuring). Every call
// goes on: none may fall back to MediaSink's default body.
class ForwardingSink : public MediaSink {
 public:
  explicit ForwardingSink(MediaSink& sink) : sink_(sink) {}

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
    return sink_.Write(left, right, frames);
  }
  bool WriteWide(const double* left, const double* right, int frames) override {
    return sink_.WriteWide(left, right, frames);
  }
  bool Close() override { return sink_.Close(); }
  std::string ErrorText() const override { return sink_.ErrorText(); }
  std::optional<WrittenAudio> Written() const override { return sink_.Written(); }

 private:
  MediaSink& sink_;
};

}  // namespace quillo
