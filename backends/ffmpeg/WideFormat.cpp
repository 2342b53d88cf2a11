#include "backends/ffmpeg/WideFormat.h"

namespace quillo {

namespace {

SampleFormat WideFormatOf(AVCodecID id, int rawBits, AVSampleFormat decoded) {
  const AVCodecDescriptor* descriptor = avcodec_descriptor_get(id);
  if (descriptor == nullptr || (descriptor->props & AV_CODEC_PROP_LOSSLESS) == 0) return {};
  // A codec that is lossy in one mode and lossless in another (DTS) decodes
  // its lossy mode to float; WavPack's float is its lossless float mode.
  const bool lossy = (descriptor->props & AV_CODEC_PROP_LOSSY) != 0 && id != AV_CODEC_ID_WAVPACK;
  switch (av_get_packed_sample_fmt(decoded)) {
    case AV_SAMPLE_FMT_FLT:
      return lossy ? SampleFormat{} : SampleFormat{32, true};
    case AV_SAMPLE_FMT_DBL:
      return lossy ? SampleFormat{} : SampleFormat{64, true};
    case AV_SAMPLE_FMT_S32: {
      // Decoders align narrower samples to the top of 32 bits; the raw
      // resolution says how many of them are significant (0: unknown).
      const int bits = rawBits;
      if (bits > 0 && bits <= 16) return {};
      return {bits > 0 && bits <= 24 ? 24 : 32, false};
    }
    default:
      return {};
  }
}

}  // namespace

SampleFormat WideFormatOf(const AVCodecContext& codec, AVSampleFormat decoded) {
  return WideFormatOf(codec.codec_id, codec.bits_per_raw_sample, decoded);
}

SampleFormat WideFormatOf(const AVCodecParameters& stream) {
  const auto known = static_cast<AVSampleFormat>(stream.format);
  if (known != AV_SAMPLE_FMT_NONE)
    return WideFormatOf(stream.codec_id, stream.bits_per_raw_sample, known);
  const int bits =
      stream.bits_per_raw_sample > 0 ? stream.bits_per_raw_sample : stream.bits_per_coded_sample;
  if (bits <= 16) return {};
  return WideFormatOf(stream.codec_id, bits, AV_SAMPLE_FMT_S32);
}

}  // namespace quillo
