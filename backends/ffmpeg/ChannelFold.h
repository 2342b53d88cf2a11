#pragma once

#include <cstdint>
#include <vector>

#include "engine/media/Downmix.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace quillo {

// The speaker of each channel of `layout` (AVChannel numbers the first ones
// as a WAV channel mask does); empty when the layout names none.
std::vector<int> SpeakersOf(const AVChannelLayout& layout);

// Folds converted frames (interleaved 16-bit or wide, at most eight samples each) to
// the one or two channels a source delivers. Frames of three to eight
// channels fold by the speakers the layout names, so that material folds
// alike whatever order its decoder uses; a layout that names none folds as
// WAV order.
class ChannelFold {
 public:
  // `layout` describes the decoded channels; `outChannels` is 1 or 2.
  void Configure(const AVChannelLayout& layout, int outChannels);

  // Folds `frames` frames from `in` into `left` and, for two output channels,
  // `right`.
  void Apply(const int16_t* in, int frames, int16_t* left, int16_t* right) const;
  void Apply(const double* in, int frames, double* left, double* right) const;

 private:
  template <typename Sample>
  void Fold(const Sample* in, int frames, Sample* left, Sample* right) const;

  int channels_ = 0;  // channels of the stream
  int stride_ = 0;    // samples per converted frame
  int outChannels_ = 0;
  StereoFold fold_;
};

}  // namespace quillo
