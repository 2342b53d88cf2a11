#include "backends/ffmpeg/FrameworkSinkBitRate.h"

#include <algorithm>

#include "backends/ffmpeg/CodecIdMap.h"
#include "catalog/CodecIds.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace quillo {

namespace {

bool HasNaturalBitRate(int32_t id) {
  using namespace codec_id;
  return IsPcmCodec(CodecIdFromStored(id)) || id == kAdpcmImaQt || id == kAdpcmImaWav ||
         id == kAdpcmMs || id == kAdpcmYamaha;
}

}  // namespace

EncoderRate EncoderRateFor(int32_t storedCodecId, int configuredBitRate, int sampleRate,
                           int channels) {
  EncoderRate rate;
  if (HasNaturalBitRate(storedCodecId)) {
    rate.bitRate =
        int64_t{av_get_bits_per_sample(CodecIdFromStored(storedCodecId))} * channels * sampleRate;
  } else if (storedCodecId == codec_id::kAdpcmG726) {
    rate.codeWordBits = configuredBitRate >= 2 && configuredBitRate <= 5 ? configuredBitRate : 4;
    rate.bitRate = int64_t{rate.codeWordBits} * sampleRate;
  } else if (storedCodecId == codec_id::kFlac || storedCodecId == codec_id::kWavPack) {
    rate.bitRate = 0;
  } else if (storedCodecId == codec_id::kOpus) {
    // libopus refuses more than 256 kbit/s per channel: a mono output of a
    // higher stereo rate gets its most.
    rate.bitRate = std::min<int64_t>(configuredBitRate, int64_t{256000} * channels);
  } else if (storedCodecId == codec_id::kGsm || storedCodecId == codec_id::kGsmMs) {
    rate.bitRate = 13000;
  } else {
    rate.bitRate = configuredBitRate;
  }
  return rate;
}

}  // namespace quillo
