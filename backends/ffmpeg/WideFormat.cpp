#include "backends/ffmpeg/WideFormat.h"

namespace quillo {

SampleFormat WideFormatOf(const AVCodecContext& codec, AVSampleFormat decoded) {
  const AVCodecDescriptor* descriptor = avcodec_descriptor_get(codec.codec_id);
  if (descriptor == nullptr || (descriptor->props & AV_CODEC_PROP_LOSSLESS) == 0) return {};
  // A codec that is lossy in one mode and lossless in another (DTS) decodes
  // its lossy mode to float; WavPack's float is its lossless float mode.
  const bool lossy =
      (descriptor->props & AV_CODEC_PROP_LOSSY) != 0 && codec.codec_id != AV_CODEC_ID_WAVPACK;
  switch (av_get_packed_sample_fmt(decoded)) {
    case AV_SAMPLE_FMT_FLT:
      return lossy ? SampleFormat{} : SampleFormat{32, true};
    case AV_SAMPLE_FMT_DBL:
      return lossy ? SampleFormat{} : SampleFormat{64, true};
    case AV_SAMPLE_FMT_S32: {
      // Decoders align narrower samples to the top of 32 bits; the raw
      // resolution says how many of them are significant (0: unknown).
      const int bits = codec.bits_per_raw_sample;
      if (bits > 0 && bits <= 16) return {};
      return {bits > 0 && bits <= 24 ? 24 : 32, false};
    }
    default:
      return {};
  }
}

}  // namespace quillo
