#pragma once

#include <optional>
#include <string>

#include "engine/ForwardingSink.h"
#include "engine/media/ExtraTags.h"
#include "engine/output/LoudnessMeter.h"

namespace quillo {

// Passes the blocks of a conversion on to its sink and measures them on the
// way: the ReplayGain values of the audio as written, before it is encoded.
class MeasuredSink final : public ForwardingSink {
 public:
  // `rate` and `channels` are those of the blocks Write receives.
  MeasuredSink(MediaSink& sink, int rate, int channels) : ForwardingSink(sink), meter_(false) {
    measuring_ = meter_.StartFile(rate, channels);
  }

  bool Write(const int16_t* left, const int16_t* right, int frames) override {
    if (measuring_) meter_.Add(left, right, frames);
    return ForwardingSink::Write(left, right, frames);
  }
  bool WriteWide(const double* left, const double* right, int frames) override {
    if (measuring_) meter_.Add(left, right, frames);
    return ForwardingSink::WriteWide(left, right, frames);
  }

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
  LoudnessMeter meter_;
  bool measuring_ = false;
};

}  // namespace quillo
