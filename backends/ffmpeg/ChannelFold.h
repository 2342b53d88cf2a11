#pragma once

#include <array>
#include <cstdint>

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace quillo {

// Folds converted frames (interleaved 16-bit, at most eight samples each) to
// the one or two channels a source delivers. A six-channel stream whose
// layout names front left and right, centre, LFE and the two surrounds is
// folded by those positions, so 5.1 material gives the same pair whatever
// order its decoder uses; other counts fold in the stream's own order.
class ChannelFold {
 public:
  // `layout` describes the decoded channels; `outChannels` is 1 or 2.
  void Configure(const AVChannelLayout& layout, int outChannels);

  // Folds `frames` frames from `in` into `left` and, for two output channels,
  // `right`.
  void Apply(const int16_t* in, int frames, int16_t* left, int16_t* right) const;

 private:
  int channels_ = 0;  // channels of the stream
  int stride_ = 0;    // samples per converted frame
  int outChannels_ = 0;
  bool byLayout_ = false;
  // Positions of L, R, C, LFE, Ls, Rs in a frame when byLayout_ is set.
  std::array<int, 6> positions_{};
};

}  // namespace quillo
