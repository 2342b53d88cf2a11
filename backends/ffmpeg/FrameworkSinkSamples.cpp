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

// Wide samples into integers of the rounding's significant bits, shifted into
// the top of a sample of `Bits` bits.
template <typename T, int Bits>
struct WideToInt {
  WideRounding rounding;
  T operator()(double x) const {
    const int bits = rounding.bits < Bits ? rounding.bits : Bits;
    const int32_t value =
        rounding.dither != nullptr ? rounding.dither->Quantize(x, bits) : RoundToBits(x, bits);
    // Multiplying instead of shifting keeps negative values well defined.
    return static_cast<T>(static_cast<int64_t>(value) * (int64_t{1} << (Bits - bits)));
  }
};
struct WideToU8 {
  WideRounding rounding;
  uint8_t operator()(double x) const {
    return static_cast<uint8_t>(WideToInt<int8_t, 8>{rounding}(x) + 128);
  }
};
// A 64-bit sample gets 32 significant bits, in its top half.
struct WideToS64 {
  WideRounding rounding;
  int64_t operator()(double x) const {
    return static_cast<int64_t>(WideToInt<int32_t, 32>{rounding}(x)) * (int64_t{1} << 32);
  }
};
struct WideToFloat {
  float operator()(double x) const { return static_cast<float>(x); }
};
struct WideToDouble {
  double operator()(double x) const { return x; }
};

template <typename T, typename In, typename Convert>
void PutPacked(const In* left, const In* right, int frames, int channels, uint8_t* const* data,
               int offset, const Convert& convert) {
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

template <typename T, typename In, typename Convert>
void PutPlanar(const In* left, const In* right, int frames, int channels, uint8_t* const* data,
               int offset, const Convert& convert) {
  const In* inputs[2] = {left, right};
  for (int c = 0; c < channels; ++c) {
    T* out = reinterpret_cast<T*>(data[c]) + offset;
    const In* in = inputs[c];
    for (int i = 0; i < frames; ++i) out[i] = convert(in[i]);
  }
}

// Fills `data` in the layout of `format` (packed or planar).
template <typename T, typename In, typename Convert>
void Put(AVSampleFormat format, const In* left, const In* right, int frames, int channels,
         uint8_t* const* data, int offset, const Convert& convert) {
  if (right == nullptr) right = left;
  if (av_sample_fmt_is_planar(format) != 0)
    PutPlanar<T>(left, right, frames, channels, data, offset, convert);
  else
    PutPacked<T>(left, right, frames, channels, data, offset, convert);
}

}  // namespace

bool CanPutSamples(AVSampleFormat format) {
  switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8:
    case AV_SAMPLE_FMT_S16:
    case AV_SAMPLE_FMT_S32:
    case AV_SAMPLE_FMT_S64:
    case AV_SAMPLE_FMT_FLT:
    case AV_SAMPLE_FMT_DBL:
      return true;
    default:
      return false;
  }
}

void PutSamples(const int16_t* left, const int16_t* right, int frames, int channels,
                AVSampleFormat format, uint8_t* const* data, int offset) {
  const auto put = [&](auto sample, const auto& convert) {
    Put<decltype(sample)>(format, left, right, frames, channels, data, offset, convert);
  };
  switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8:
      return put(uint8_t{}, ToU8{});
    case AV_SAMPLE_FMT_S16:
      return put(int16_t{}, ToS16{});
    case AV_SAMPLE_FMT_S32:
      return put(int32_t{}, ToS32{});
    case AV_SAMPLE_FMT_S64:
      return put(int64_t{}, ToS64{});
    case AV_SAMPLE_FMT_FLT:
      return put(float{}, ToFloat{});
    case AV_SAMPLE_FMT_DBL:
      return put(double{}, ToDouble{});
    default:
      return;
  }
}

void PutWideSamples(const double* left, const double* right, int frames, int channels,
                    AVSampleFormat format, WideRounding rounding, uint8_t* const* data,
                    int offset) {
  const auto put = [&](auto sample, const auto& convert) {
    Put<decltype(sample)>(format, left, right, frames, channels, data, offset, convert);
  };
  switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8:
      return put(uint8_t{}, WideToU8{rounding});
    case AV_SAMPLE_FMT_S16:
      return put(int16_t{}, WideToInt<int16_t, 16>{rounding});
    case AV_SAMPLE_FMT_S32:
      return put(int32_t{}, WideToInt<int32_t, 32>{rounding});
    case AV_SAMPLE_FMT_S64:
      return put(int64_t{}, WideToS64{rounding});
    case AV_SAMPLE_FMT_FLT:
      return put(float{}, WideToFloat{});
    case AV_SAMPLE_FMT_DBL:
      return put(double{}, WideToDouble{});
    default:
      return;
  }
}

}  // namespace quillo
