#pragma once

#include <cstdint>

#include "engine/media/SampleScale.h"

extern "C" {
#include <libavutil/samplefmt.h>
}

namespace quillo {

// The most channels a frame keeps after conversion; further channels are
// dropped before the fold to stereo.
inline constexpr int kMaxConvertedChannels = 8;

// One decoded sample as signed 16-bit. Integers keep their top 16 bits;
// floating point is scaled by 32768, truncated toward zero and clamped
// (FloatToS16 and DoubleToS16).
inline int16_t SampleFromU8(uint8_t v) { return static_cast<int16_t>((v - 128) * 256); }
inline int16_t SampleFromS16(int16_t v) { return v; }
inline int16_t SampleFromS32(int32_t v) { return static_cast<int16_t>(v >> 16); }
inline int16_t SampleFromS64(int64_t v) { return static_cast<int16_t>(v >> 48); }

// One decoded sample as a double at full scale 1.0, every bit kept: an
// integer of b bits divided by 2^(b-1), floating point as it is (beyond
// -1.0..1.0 too).
inline double WideFromU8(uint8_t v) { return (v - 128) / 128.0; }
inline double WideFromS16(int16_t v) { return v / 32768.0; }
inline double WideFromS32(int32_t v) { return v / 2147483648.0; }
inline double WideFromS64(int64_t v) { return static_cast<double>(v) / 9223372036854775808.0; }
inline double WideFromFloat(float v) { return v; }
inline double WideFromDouble(double v) { return v; }

// Turns decoded samples of any FFmpeg sample format, packed or planar, into
// interleaved frames of at most kMaxConvertedChannels channels: 16-bit, or
// doubles (ConvertWide) for sources that keep more than 16 bits.
class SampleConverter {
 public:
  // Chooses the conversion for `format` and `channels`. False when the format
  // holds no samples this converter knows or the channel count is not positive.
  bool Configure(AVSampleFormat format, int channels);

  // Converts `frames` frames, starting at frame `first` of `data` (an
  // AVFrame's extended_data), into `out`, OutChannels() samples per frame.
  void Convert(const uint8_t* const* data, int first, int frames, int16_t* out) const;
  // As Convert, into doubles at full scale 1.0.
  void ConvertWide(const uint8_t* const* data, int first, int frames, double* out) const;

  // Samples per converted frame: the channel count, at most kMaxConvertedChannels.
  int OutChannels() const { return outChannels_; }
  int Channels() const { return channels_; }
  AVSampleFormat Format() const { return format_; }

 private:
  template <typename Out>
  using FunctionTo = void (*)(const uint8_t* const* data, int channels, int outChannels, int first,
                              int frames, Out* out);
  using Function = FunctionTo<int16_t>;
  using WideFunction = FunctionTo<double>;
  // The conversions of `format`; null for a format that holds no samples it knows.
  static Function Choose(AVSampleFormat format);
  static WideFunction ChooseWide(AVSampleFormat format);

  Function function_ = nullptr;
  WideFunction wideFunction_ = nullptr;
  AVSampleFormat format_ = AV_SAMPLE_FMT_NONE;
  int channels_ = 0;
  int outChannels_ = 0;
};

}  // namespace quillo
