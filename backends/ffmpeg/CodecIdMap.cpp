#include "backends/ffmpeg/CodecIdMap.h"

#include <array>
#include <utility>

#include "catalog/CodecIds.h"

namespace quillo {

namespace {

using Entry = std::pair<int32_t, AVCodecID>;

// Every codec id of the catalog. Beware the moved ids: the stored ALAC id
// 0x15012 is today's GSM, so a stored id must never be used as an AVCodecID
// directly.
constexpr std::array kCodecIds{
    Entry{codec_id::kPcmS16Le, AV_CODEC_ID_PCM_S16LE},
    Entry{codec_id::kPcmS16Be, AV_CODEC_ID_PCM_S16BE},
    Entry{codec_id::kPcmS8, AV_CODEC_ID_PCM_S8},
    Entry{codec_id::kPcmU8, AV_CODEC_ID_PCM_U8},
    Entry{codec_id::kPcmMulaw, AV_CODEC_ID_PCM_MULAW},
    Entry{codec_id::kPcmAlaw, AV_CODEC_ID_PCM_ALAW},
    Entry{codec_id::kPcmS32Le, AV_CODEC_ID_PCM_S32LE},
    Entry{codec_id::kPcmS32Be, AV_CODEC_ID_PCM_S32BE},
    Entry{codec_id::kPcmS24Le, AV_CODEC_ID_PCM_S24LE},
    Entry{codec_id::kPcmS24Be, AV_CODEC_ID_PCM_S24BE},
    Entry{codec_id::kPcmF32Be, AV_CODEC_ID_PCM_F32BE},
    Entry{codec_id::kPcmF32Le, AV_CODEC_ID_PCM_F32LE},
    Entry{codec_id::kPcmF64Be, AV_CODEC_ID_PCM_F64BE},
    Entry{codec_id::kPcmF64Le, AV_CODEC_ID_PCM_F64LE},
    Entry{codec_id::kAdpcmImaQt, AV_CODEC_ID_ADPCM_IMA_QT},
    Entry{codec_id::kAdpcmImaWav, AV_CODEC_ID_ADPCM_IMA_WAV},
    Entry{codec_id::kAdpcmMs, AV_CODEC_ID_ADPCM_MS},
    Entry{codec_id::kAdpcmG726, AV_CODEC_ID_ADPCM_G726},
    Entry{codec_id::kAdpcmSwf, AV_CODEC_ID_ADPCM_SWF},
    Entry{codec_id::kAdpcmYamaha, AV_CODEC_ID_ADPCM_YAMAHA},
    Entry{codec_id::kAmrNb, AV_CODEC_ID_AMR_NB},
    Entry{codec_id::kMp2, AV_CODEC_ID_MP2},
    Entry{codec_id::kMp3, AV_CODEC_ID_MP3},
    Entry{codec_id::kAac, AV_CODEC_ID_AAC},
    Entry{codec_id::kAc3, AV_CODEC_ID_AC3},
    Entry{codec_id::kVorbis, AV_CODEC_ID_VORBIS},
    Entry{codec_id::kWmaV2, AV_CODEC_ID_WMAV2},
    Entry{codec_id::kFlac, AV_CODEC_ID_FLAC},
    Entry{codec_id::kAlac, AV_CODEC_ID_ALAC},
    Entry{codec_id::kGsm, AV_CODEC_ID_GSM},
    Entry{codec_id::kGsmMs, AV_CODEC_ID_GSM_MS},
    Entry{codec_id::kWavPack, AV_CODEC_ID_WAVPACK},
    Entry{codec_id::kOpus, AV_CODEC_ID_OPUS},
};

}  // namespace

AVCodecID CodecIdFromStored(int32_t storedId) {
  for (const auto& [stored, id] : kCodecIds)
    if (stored == storedId) return id;
  return AV_CODEC_ID_NONE;
}

}  // namespace quillo
