#include "backends/ffmpeg/SampleConverter.h"

#include <algorithm>
#include <cstddef>

namespace quillo {

namespace {

template <typename T, typename Out, Out (*Convert)(T)>
void ConvertPacked(const uint8_t* const* data, int channels, int outChannels, int first, int frames,
                   Out* out) {
  const T* in = reinterpret_cast<const T*>(data[0]) + static_cast<ptrdiff_t>(first) * channels;
  for (int i = 0; i < frames; ++i) {
    for (int c = 0; c < outChannels; ++c) out[c] = Convert(in[c]);
    in += channels;
    out += outChannels;
  }
}

template <typename T, typename Out, Out (*Convert)(T)>
void ConvertPlanar(const uint8_t* const* data, int /*channels*/, int outChannels, int first,
                   int frames, Out* out) {
  for (int c = 0; c < outChannels; ++c) {
    const T* in = reinterpret_cast<const T*>(data[c]) + first;
    Out* o = out + c;
    for (int i = 0; i < frames; ++i) o[static_cast<ptrdiff_t>(i) * outChannels] = Convert(in[i]);
  }
}

template <typename T, auto Convert>
auto Pick(bool planar) {
  using Out = decltype(Convert(T{}));
  return planar ? ConvertPlanar<T, Out, Convert> : ConvertPacked<T, Out, Convert>;
}

// The conversion of `format` through the converter of its stored type; null
// for a format that holds no samples the converters know.
template <auto U8, auto S16, auto S32, auto S64, auto Flt, auto Dbl>
auto ChooseAmong(AVSampleFormat format) -> decltype(Pick<uint8_t, U8>(false)) {
  const bool planar = av_sample_fmt_is_planar(format) != 0;
  switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8:
      return Pick<uint8_t, U8>(planar);
    case AV_SAMPLE_FMT_S16:
      return Pick<int16_t, S16>(planar);
    case AV_SAMPLE_FMT_S32:
      return Pick<int32_t, S32>(planar);
    case AV_SAMPLE_FMT_S64:
      return Pick<int64_t, S64>(planar);
    case AV_SAMPLE_FMT_FLT:
      return Pick<float, Flt>(planar);
    case AV_SAMPLE_FMT_DBL:
      return Pick<double, Dbl>(planar);
    default:
      return nullptr;
  }
}

}  // namespace

SampleConverter::Function SampleConverter::Choose(AVSampleFormat format) {
  return ChooseAmong<SampleFromU8, SampleFromS16, SampleFromS32, SampleFromS64, FloatToS16,
                     DoubleToS16>(format);
}

SampleConverter::WideFunction SampleConverter::ChooseWide(AVSampleFormat format) {
  return ChooseAmong<WideFromU8, WideFromS16, WideFromS32, WideFromS64, WideFromFloat,
                     WideFromDouble>(format);
}

bool SampleConverter::Configure(AVSampleFormat format, int channels) {
  function_ = nullptr;
  wideFunction_ = nullptr;
  format_ = AV_SAMPLE_FMT_NONE;
  channels_ = 0;
  outChannels_ = 0;
  const Function function = Choose(format);
  if (channels <= 0 || function == nullptr) return false;
  function_ = function;
  wideFunction_ = ChooseWide(format);
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

void SampleConverter::ConvertWide(const uint8_t* const* data, int first, int frames,
                                  double* out) const {
  if (wideFunction_ != nullptr && frames > 0)
    wideFunction_(data, channels_, outChannels_, first, frames, out);
}

}  // namespace quillo
