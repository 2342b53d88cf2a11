#include "backends/ffmpeg/FrameworkSinkSamples.h"

#include <cstddef>

namespace quillo {

namespace {

// A 16-bit sample as each sample type; the second argument only picks the type.
uint8_t FromS16(int16_t s, uint8_t) { return static_cast<uint8_t>((s >> 8) + 128); }
int16_t FromS16(int16_t s, int16_t) { return s; }
int32_t FromS16(int16_t s, int32_t) { return static_cast<int32_t>(s) * 65536; }
int64_t FromS16(int16_t s, int64_t) { return static_cast<int64_t>(s) * (int64_t{1} << 48); }
float FromS16(int16_t s, float) { return static_cast<float>(s) / 32768.0f; }
double FromS16(int16_t s, double) { return static_cast<double>(s) / 32768.0; }

// A wide sample as an integer of the rounding's significant bits (at most
// `bits`), shifted into the top of a `bits`-bit sample.
int64_t WideToTop(double x, int bits, const WideRounding& rounding) {
  const int kept = rounding.bits < bits ? rounding.bits : bits;
  const int32_t value =
      rounding.dither != nullptr ? rounding.dither->Quantize(x, kept) : RoundToBits(x, kept);
  // Multiplying instead of shifting keeps negative values well defined.
  return static_cast<int64_t>(value) * (int64_t{1} << (bits - kept));
}

// A wide sample as each sample type: integers rounded (a 64-bit sample gets
// 32 significant bits, in its top half), floats as they are.
uint8_t FromWide(double x, uint8_t, const WideRounding& r) {
  return static_cast<uint8_t>(WideToTop(x, 8, r) + 128);
}
int16_t FromWide(double x, int16_t, const WideRounding& r) {
  return static_cast<int16_t>(WideToTop(x, 16, r));
}
int32_t FromWide(double x, int32_t, const WideRounding& r) {
  return static_cast<int32_t>(WideToTop(x, 32, r));
}
int64_t FromWide(double x, int64_t, const WideRounding& r) {
  return WideToTop(x, 32, r) * (int64_t{1} << 32);
}
float FromWide(double x, float, const WideRounding&) { return static_cast<float>(x); }
double FromWide(double x, double, const WideRounding&) { return x; }

// Calls visit(T{}) with the sample type of `format` (packed or planar);
// false for a format without one here.
template <typename Visit>
bool ForSampleType(AVSampleFormat format, Visit visit) {
  switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8:
      visit(uint8_t{});
      return true;
    case AV_SAMPLE_FMT_S16:
      visit(int16_t{});
      return true;
    case AV_SAMPLE_FMT_S32:
      visit(int32_t{});
      return true;
    case AV_SAMPLE_FMT_S64:
      visit(int64_t{});
      return true;
    case AV_SAMPLE_FMT_FLT:
      visit(float{});
      return true;
    case AV_SAMPLE_FMT_DBL:
      visit(double{});
      return true;
    default:
      return false;
  }
}

// Fills `data` in the layout of `format` (packed or planar) with
// convert(sample) of each input sample.
template <typename T, typename In, typename Convert>
void Put(AVSampleFormat format, const In* left, const In* right, int frames, int channels,
         uint8_t* const* data, int offset, Convert convert) {
  if (right == nullptr) right = left;
  if (av_sample_fmt_is_planar(format) != 0) {
    const In* inputs[2] = {left, right};
    for (int c = 0; c < channels; ++c) {
      T* out = reinterpret_cast<T*>(data[c]) + offset;
      const In* in = inputs[c];
      for (int i = 0; i < frames; ++i) out[i] = convert(in[i]);
    }
    return;
  }
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

// A sample of each type at full scale 1.0, the inverse of FromS16 and
// FromWide for the values they make.
double ToUnit(uint8_t s) { return (static_cast<double>(s) - 128.0) / 128.0; }
double ToUnit(int16_t s) { return static_cast<double>(s) / 32768.0; }
double ToUnit(int32_t s) { return static_cast<double>(s) / 2147483648.0; }
double ToUnit(int64_t s) { return static_cast<double>(s) / 9223372036854775808.0; }
double ToUnit(float s) { return static_cast<double>(s); }
double ToUnit(double s) { return s; }

}  // namespace

bool CanPutSamples(AVSampleFormat format) {
  return ForSampleType(format, [](auto) {});
}

void PutSamples(const int16_t* left, const int16_t* right, int frames, int channels,
                AVSampleFormat format, uint8_t* const* data, int offset) {
  ForSampleType(format, [&](auto type) {
    using T = decltype(type);
    Put<T>(format, left, right, frames, channels, data, offset,
           [](int16_t s) { return FromS16(s, T{}); });
  });
}

void PutWideSamples(const double* left, const double* right, int frames, int channels,
                    AVSampleFormat format, WideRounding rounding, uint8_t* const* data,
                    int offset) {
  ForSampleType(format, [&](auto type) {
    using T = decltype(type);
    Put<T>(format, left, right, frames, channels, data, offset,
           [&rounding](double x) { return FromWide(x, T{}, rounding); });
  });
}

void HashSamples(const uint8_t* const* data, int frames, int channels, AVSampleFormat format,
                 SampleHash& hash) {
  ForSampleType(format, [&](auto type) {
    using T = decltype(type);
    const bool planar = av_sample_fmt_is_planar(format) != 0;
    for (int i = 0; i < frames; ++i) {
      for (int c = 0; c < channels; ++c) {
        const T* samples = reinterpret_cast<const T*>(data[planar ? c : 0]);
        hash.Add(ToUnit(samples[planar ? i : i * channels + c]));
      }
    }
  });
}

}  // namespace quillo
