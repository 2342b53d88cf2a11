#include "backends/ffmpeg/FrameworkSinkSamples.h"

#include <cstddef>

namespace quillo {

namespace {

struct ToU8 {
  uint8_t operator()(int16_t s) const { return static_cast<uint8_t>((s >> 8) + 128); }
};
struct ToS16 {
  int16_t operator()(int16_t s) const { return s; }
};
struct ToS32 {
  int32_t operator()(int16_t s) const { return static_cast<int32_t>(s) * 65536; }
};
struct ToS64 {
  int64_t operator()(int16_t s) const { return static_cast<int64_t>(s) * (int64_t{1} << 48); }
};
struct ToFloat {
  float operator()(int16_t s) const { return static_cast<float>(s) / 32768.0f; }
};
struct ToDouble {
  double operator()(int16_t s) const { return static_cast<double>(s) / 32768.0; }
};

template <typename T, typename Convert>
void PutPacked(const int16_t* left, const int16_t* right, int frames, int channels,
               uint8_t* const* data, int offset) {
  Convert convert;
  T* out = reinterpret_cast<T*>(data[0]) + static_cast<std::ptrdiff_t>(offset) * channels;
  if (channels == 1) {
    for (int i = 0; i < frames; ++i) out[i] = convert(left[i]);
    return;
  }
  for (int i = 0; i < frames; ++i) {
    out[2 * i] = convert(left[i]);
    out[2 * i + 1] = convert(right[i]);
  }
}

template <typename T, typename Convert>
void PutPlanar(const int16_t* left, const int16_t* right, int frames, int channels,
               uint8_t* const* data, int offset) {
  Convert convert;
  const int16_t* inputs[2] = {left, right};
  for (int c = 0; c < channels; ++c) {
    T* out = reinterpret_cast<T*>(data[c]) + offset;
    const int16_t* in = inputs[c];
    for (int i = 0; i < frames; ++i) out[i] = convert(in[i]);
  }
}

using Putter = void (*)(const int16_t* left, const int16_t* right, int frames, int channels,
                        uint8_t* const* data, int offset);

template <typename T, typename Convert>
Putter Pick(bool planar) {
  return planar ? PutPlanar<T, Convert> : PutPacked<T, Convert>;
}

// The conversion into `format`; null for a format it does not fill.
Putter PutterFor(AVSampleFormat format) {
  const bool planar = av_sample_fmt_is_planar(format) != 0;
  switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8:
      return Pick<uint8_t, ToU8>(planar);
    case AV_SAMPLE_FMT_S16:
      return Pick<int16_t, ToS16>(planar);
    case AV_SAMPLE_FMT_S32:
      return Pick<int32_t, ToS32>(planar);
    case AV_SAMPLE_FMT_S64:
      return Pick<int64_t, ToS64>(planar);
    case AV_SAMPLE_FMT_FLT:
      return Pick<float, ToFloat>(planar);
    case AV_SAMPLE_FMT_DBL:
      return Pick<double, ToDouble>(planar);
    default:
      return nullptr;
  }
}

}  // namespace

bool CanPutSamples(AVSampleFormat format) { return PutterFor(format) != nullptr; }

void PutSamples(const int16_t* left, const int16_t* right, int frames, int channels,
                AVSampleFormat format, uint8_t* const* data, int offset) {
  if (right == nullptr) right = left;
  if (const Putter put = PutterFor(format)) put(left, right, frames, channels, data, offset);
}

}  // namespace quillo
