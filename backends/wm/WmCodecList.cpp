#include "backends/wm/WmCodecList.h"

#include <algorithm>

#include "backends/ffmpeg/FfmpegPtr.h"

namespace quillo {

namespace {

// The rates and bit rates tried. The encoder itself decides which of them
// it takes (it refuses, for one, rates above 48000 Hz and bit rates below
// 24000 bit/s); the list holds what it accepted.
constexpr int kRates[] = {8000, 11025, 16000, 22050, 32000, 44100, 48000};
constexpr int kBitRates[] = {16000, 20000, 24000,  32000,  40000,  48000,  64000,
                             80000, 96000, 128000, 160000, 192000, 256000, 320000};

// Whether the wmav2 encoder opens for `format`.
bool EncoderAccepts(const AVCodec& encoder, const WindowsMediaFormat& format) {
  CodecContextPtr context(avcodec_alloc_context3(&encoder));
  if (!context) return false;
  context->sample_rate = format.sampleRate;
  av_channel_layout_default(&context->ch_layout, format.channels);
  context->bit_rate = format.bitRate;
  context->sample_fmt =
      encoder.sample_fmts != nullptr ? encoder.sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
  context->time_base = AVRational{1, format.sampleRate};
  return avcodec_open2(context.get(), &encoder, nullptr) >= 0;
}

}  // namespace

bool WmCodecList::Build() {
  const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
  if (encoder == nullptr) return false;
  entries_.clear();
  for (int rate : kRates)
    for (int channels : {2, 1})
      for (int bitRate : kBitRates) {
        const WindowsMediaFormat format{rate, channels, bitRate};
        if (EncoderAccepts(*encoder, format)) Insert(format);
      }
  return true;
}

void WmCodecList::Insert(const WindowsMediaFormat& format) {
  if (format.channels < 1 || format.channels > 2) return;
  if (std::find(entries_.begin(), entries_.end(), format) != entries_.end()) return;
  const auto position = std::find_if(entries_.begin(), entries_.end(), [&](const auto& entry) {
    return entry.sampleRate > format.sampleRate ||
           (entry.sampleRate == format.sampleRate && entry.bitRate >= format.bitRate);
  });
  entries_.insert(position, format);
}

std::optional<WindowsMediaFormat> PickWmFormat(const std::vector<WindowsMediaFormat>& list,
                                               int rate, int bitRate, int channels) {
  const WindowsMediaFormat* candidate = nullptr;
  for (const WindowsMediaFormat& entry : list) {
    if (entry.channels != channels) continue;
    if (entry.sampleRate < rate) {
      candidate = &entry;
    } else if (entry.sampleRate == rate) {
      if (entry.bitRate == bitRate) return entry;
      if (entry.bitRate < bitRate) {
        candidate = &entry;
        continue;
      }
      // The first bit rate above the wanted one, unless the one below it is
      // strictly nearer.
      const bool belowIsNearer = candidate != nullptr && candidate->sampleRate == rate &&
                                 bitRate - candidate->bitRate < entry.bitRate - bitRate;
      return belowIsNearer ? *candidate : entry;
    } else {
      if (candidate != nullptr && candidate->sampleRate == rate) return *candidate;
      return entry;
    }
  }
  if (candidate == nullptr) return std::nullopt;
  return *candidate;
}

}  // namespace quillo
