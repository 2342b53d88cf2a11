#pragma once

#include <optional>
#include <string>

#include "engine/media/ExtraTags.h"
#include "engine/media/MediaSink.h"
#include "engine/output/LoudnessMeter.h"

namespace quillo {

// Passes the blocks of a conversion on to its sink and measures them on the
// way: the ReplayGain values of the audio as written, before it is encoded.
class MeasuredSink final : public MediaSink {
 public:
  // `rate` and `channels` are those of the blocks Write receives.
  MeasuredSink(MediaSink& sink, int rate, int channels) : sink_(sink), meter_(false) {
    measuring_ = meter_.StartFile(rate, channels);
  }

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
    if (measuring_) meter_.Add(left, right, frames);
    return sink_.Write(left, right, frames);
  }
  bool WriteWide(const double* left, const double* right, int frames) override {
    if (measuring_) meter_.Add(left, right, frames);
    return sink_.WriteWide(left, right, frames);
  }
  bool Close() override { return sink_.Close(); }
  std::string ErrorText() const override { return sink_.ErrorText(); }
  std::optional<WrittenAudio> Written() const override { return sink_.Written(); }

  // The track gain to the ReplayGain reference and the sample peak; none
  // when the audio has no gated loudness (silence, or too short).
  std::optional<TrackGain> Gain() const {
    if (!measuring_) return std::nullopt;
    return ReplayGainOf(meter_);
  }

  // Hands what was measured over to `meter` (for the album's values), after Gain.
  void HandOver(LoudnessMeter& meter) {
    if (measuring_) meter.Absorb(meter_);
    measuring_ = false;
  }

 private:
  MediaSink& sink_;
  LoudnessMeter meter_;
  bool measuring_ = false;
};

}  // namespace quillo
