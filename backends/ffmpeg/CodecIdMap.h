#pragma once

#include <cstdint>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace quillo {

// The FFmpeg codec for a codec id as the settings store it. Stored ids keep
// the numbers of the FFmpeg generation the settings were first written with;
// most still match, but FLAC, ALAC, GSM and Microsoft GSM moved since.
// AV_CODEC_ID_NONE for an id the catalog does not use.
AVCodecID CodecIdFromStored(int32_t storedId);

// Whether `id` is one of FFmpeg's PCM codecs (linear, float and G.711), which
// it numbers in one block, ahead of the ADPCM codecs.
inline bool IsPcmCodec(AVCodecID id) {
  return id >= AV_CODEC_ID_PCM_S16LE && id < AV_CODEC_ID_ADPCM_IMA_QT;
}

}  // namespace quillo
