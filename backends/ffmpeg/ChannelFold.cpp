#include "backends/ffmpeg/ChannelFold.h"

#include <algorithm>
#include <cstddef>

#include "backends/ffmpeg/SampleConverter.h"
#include "engine/media/ChannelOrder.h"

namespace quillo {

std::vector<int> SpeakersOf(const AVChannelLayout& layout) {
  if (layout.order != AV_CHANNEL_ORDER_NATIVE && layout.order != AV_CHANNEL_ORDER_CUSTOM) return {};
  std::vector<int> speakers;
  for (int i = 0; i < layout.nb_channels; ++i) {
    const int channel = av_channel_layout_channel_from_index(&layout, static_cast<unsigned>(i));
    speakers.push_back(channel >= 0 ? channel : kUnknownSpeaker);
  }
  return speakers;
}

void ChannelFold::Configure(const AVChannelLayout& layout, int outChannels) {
  channels_ = layout.nb_channels;
  stride_ = std::min(channels_, kMaxConvertedChannels);
  outChannels_ = outChannels;
  fold_ = StereoFold(channels_, SpeakersOf(layout));
}

void ChannelFold::Apply(const int16_t* in, int frames, int16_t* left, int16_t* right) const {
  Fold(in, frames, left, right);
}

void ChannelFold::Apply(const double* in, int frames, double* left, double* right) const {
  Fold(in, frames, left, right);
}

template <typename Sample>
void ChannelFold::Fold(const Sample* in, int frames, Sample* left, Sample* right) const {
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
    Sample l = 0;
    Sample r = 0;
    fold_.Apply(in, l, r);
    left[i] = l;
    if (stereo) right[i] = r;
  }
}

}  // namespace quillo
