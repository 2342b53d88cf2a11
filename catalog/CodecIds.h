#pragma once

#include <cstdint>

namespace quillo {

// Codec ids as they are stored in the settings. They keep the numbering of
// the media framework generation the settings were first written with; the
// framework sink maps them onto today's identifiers (several moved since).
namespace codec_id {
inline constexpr int32_t kPcmS16Le = 0x10000;
inline constexpr int32_t kPcmS16Be = 0x10001;
inline constexpr int32_t kPcmS8 = 0x10004;
inline constexpr int32_t kPcmU8 = 0x10005;
inline constexpr int32_t kPcmMulaw = 0x10006;
inline constexpr int32_t kPcmAlaw = 0x10007;
inline constexpr int32_t kPcmS32Le = 0x10008;
inline constexpr int32_t kPcmS32Be = 0x10009;
inline constexpr int32_t kPcmS24Le = 0x1000C;
inline constexpr int32_t kPcmS24Be = 0x1000D;
inline constexpr int32_t kPcmF32Be = 0x10014;
inline constexpr int32_t kPcmF32Le = 0x10015;
inline constexpr int32_t kPcmF64Be = 0x10016;
inline constexpr int32_t kPcmF64Le = 0x10017;
inline constexpr int32_t kAdpcmImaQt = 0x11000;
inline constexpr int32_t kAdpcmImaWav = 0x11001;
inline constexpr int32_t kAdpcmMs = 0x11006;
inline constexpr int32_t kAdpcmG726 = 0x1100B;
inline constexpr int32_t kAdpcmSwf = 0x1100D;
inline constexpr int32_t kAdpcmYamaha = 0x1100E;
inline constexpr int32_t kAmrNb = 0x12000;
inline constexpr int32_t kMp2 = 0x15000;
inline constexpr int32_t kMp3 = 0x15001;
inline constexpr int32_t kAac = 0x15002;
inline constexpr int32_t kAc3 = 0x15003;
inline constexpr int32_t kVorbis = 0x15005;
// Not offered by any framework row: the Windows Media writer encodes with it.
inline constexpr int32_t kWmaV2 = 0x15008;
inline constexpr int32_t kFlac = 0x1500E;
inline constexpr int32_t kAlac = 0x15012;
inline constexpr int32_t kGsm = 0x15014;
inline constexpr int32_t kGsmMs = 0x15020;
// WavPack keeps its number of that generation (today's is 0x15019). Opus came
// later and has no number there: it is stored with today's.
inline constexpr int32_t kWavPack = 0x1501B;
inline constexpr int32_t kOpus = 0x1503C;
}  // namespace codec_id

}  // namespace quillo
