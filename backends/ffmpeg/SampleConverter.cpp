#include "backends/ffmpeg/SampleConverter.h"

#include <algorithm>
#include <cstddef>

namespace quillo {

namespace {

template <typename T, int16_t (*Convert)(T)>
void ConvertPacked(const uint8_t* const* data, int channels, int outChannels, int first, int frames,
                   int16_t* out) {
  const T* in = reinterpret_cast<const T*>(data[0]) + static_cast<ptrdiff_t>(first) * channels;
  for (int i = 0; i < frames; ++i) {
    for (int c = 0; c < outChannels; ++c) out[c] = Convert(in[c]);
    in += channels;
    out += outChannels;
  }
}

template <typename T, int16_t (*Convert)(T)>
void ConvertPlanar(const uint8_t* const* data, int /*channels*/, int outChannels, int first,
                   int frames, int16_t* out) {
  for (int c = 0; c < outChannels; ++c) {
    const T* in = reinterpret_cast<const T*>(data[c]) + first;
    int16_t* o = out + c;
    for (int i = 0; i < frames; ++i) o[static_cast<ptrdiff_t>(i) * outChannels] = Convert(in[i]);
  }
}

}  // namespace

bool SampleConverter::Configure(AVSampleFormat format, int channels) {
  function_ = nullptr;
  format_ = AV_SAMPLE_FMT_NONE;
  channels_ = 0;
  outChannels_ = 0;
  if (channels <= 0) return false;

  Function function = nullptr;
  switch (format) {
    case AV_SAMPLE_FMT_U8:
      function = ConvertPacked<uint8_t, SampleFromU8>;
      break;
    case AV_SAMPLE_FMT_S16:
      function = ConvertPacked<int16_t, SampleFromS16>;
      break;
    case AV_SAMPLE_FMT_S32:
      function = ConvertPacked<int32_t, SampleFromS32>;
      break;
    case AV_SAMPLE_FMT_S64:
      function = ConvertPacked<int64_t, SampleFromS64>;
      break;
    case AV_SAMPLE_FMT_FLT:
      function = ConvertPacked<float, FloatToS16>;
      break;
    case AV_SAMPLE_FMT_DBL:
      function = ConvertPacked<double, DoubleToS16>;
      break;
    case AV_SAMPLE_FMT_U8P:
      function = ConvertPlanar<uint8_t, SampleFromU8>;
      break;
    case AV_SAMPLE_FMT_S16P:
      function = ConvertPlanar<int16_t, SampleFromS16>;
      break;
    case AV_SAMPLE_FMT_S32P:
      function = ConvertPlanar<int32_t, SampleFromS32>;
      break;
    case AV_SAMPLE_FMT_S64P:
      function = ConvertPlanar<int64_t, SampleFromS64>;
      break;
    case AV_SAMPLE_FMT_FLTP:
      function = ConvertPlanar<float, FloatToS16>;
      break;
    case AV_SAMPLE_FMT_DBLP:
      function = ConvertPlanar<double, DoubleToS16>;
      break;
    default:
      return false;
  }
  function_ = function;
  format_ = format;
  channels_ = channels;
  outChannels_ = std::min(channels, kMaxConvertedChannels);
  return true;
}

void SampleConverter::Convert(const uint8_t* const* data, int first, int frames,
                              int16_t* out) const {
  if (function_ != nullptr && frames > 0)
    function_(data, channels_, outChannels_, first, frames, out);
}

}  // namespace quillo
