#include "backends/ffmpeg/ChannelFold.h"

#include <algorithm>
#include <cstddef>

#include "backends/ffmpeg/SampleConverter.h"
#include "engine/Downmix.h"

namespace quillo {

namespace {

int Position(const AVChannelLayout& layout, AVChannel first, AVChannel second = AV_CHAN_NONE) {
  int index = av_channel_layout_index_from_channel(&layout, first);
  if (index < 0 && second != AV_CHAN_NONE)
    index = av_channel_layout_index_from_channel(&layout, second);
  return index;
}

}  // namespace

void ChannelFold::Configure(const AVChannelLayout& layout, int outChannels) {
  channels_ = layout.nb_channels;
  stride_ = std::min(channels_, kMaxConvertedChannels);
  outChannels_ = outChannels;
  byLayout_ = false;
  if (channels_ != 6) return;

  // Surrounds are "side" in some layouts and "back" in others.
  positions_ = {Position(layout, AV_CHAN_FRONT_LEFT),
                Position(layout, AV_CHAN_FRONT_RIGHT),
                Position(layout, AV_CHAN_FRONT_CENTER),
                Position(layout, AV_CHAN_LOW_FREQUENCY),
                Position(layout, AV_CHAN_SIDE_LEFT, AV_CHAN_BACK_LEFT),
                Position(layout, AV_CHAN_SIDE_RIGHT, AV_CHAN_BACK_RIGHT)};
  byLayout_ = std::all_of(positions_.begin(), positions_.end(), [](int p) { return p >= 0; });
}

void ChannelFold::Apply(const int16_t* in, int frames, int16_t* left, int16_t* right) const {
  if (channels_ <= 0 || frames <= 0) return;
  const bool stereo = outChannels_ == 2 && right != nullptr;

  if (channels_ == 1) {
    std::copy_n(in, frames, left);
    if (stereo) std::copy_n(in, frames, right);
    return;
  }
  if (channels_ == 2) {
    for (int i = 0; i < frames; ++i) {
      left[i] = in[2 * i];
      if (stereo) right[i] = in[2 * i + 1];
    }
    return;
  }

  for (int i = 0; i < frames; ++i, in += stride_) {
    int16_t l = 0;
    int16_t r = 0;
    if (byLayout_) {
      // DownmixToStereo's six-channel order is L, R, C, LFE, Ls, Rs.
      const int16_t ordered[6] = {in[positions_[0]], in[positions_[1]], in[positions_[2]],
                                  in[positions_[3]], in[positions_[4]], in[positions_[5]]};
      DownmixToStereo(6, ordered, l, r);
    } else {
      DownmixToStereo(channels_, in, l, r);
    }
    left[i] = l;
    if (stereo) right[i] = r;
  }
}

}  // namespace quillo
