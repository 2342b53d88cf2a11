// The constant tables of the output format catalog: value lists, codec
// choices, the choice lists of the rows, and the rows themselves.

#include <cstdint>
#include <vector>

#include "catalog/Catalog.h"

namespace quillo {
namespace {

using namespace codec_id;

// Sample rates, ascending, ended by kEndOfList.
constexpr int32_t kRatesAc3[] = {32000, 44100, 48000, kEndOfList};
constexpr int32_t kRatesAac[] = {8000, 11025, 16000, 22050, 24000, 32000, 44100, 48000, kEndOfList};
// Shared by MP3 and Vorbis.
constexpr int32_t kRatesMp3[] = {8000,  11025, 12000, 16000, 22050,
                                 24000, 32000, 44100, 48000, kEndOfList};
// ALAC: the MP3 rates and the high-resolution ones.
constexpr int32_t kRatesAlac[] = {8000,  11025, 12000, 16000, 22050,  24000,  32000,
                                  44100, 48000, 88200, 96000, 176400, 192000, kEndOfList};
constexpr int32_t kRatesMp2[] = {16000, 22050, 24000, 32000, 44100, 48000, kEndOfList};
constexpr int32_t kRatesSwf[] = {11025, 22050, 44100, kEndOfList};
constexpr int32_t kRatesPcm[] = {6000,  8000,  11025, 12000, 16000,  22050,  24000,     32000,
                                 44100, 48000, 88200, 96000, 176400, 192000, kEndOfList};
constexpr int32_t kRatesFlac[] = {8000,  16000, 22050, 24000,  32000,  44100,
                                  48000, 88200, 96000, 176400, 192000, kEndOfList};
constexpr int32_t kRatesMmf[] = {4000, 8000, 11025, 22050, 44100, kEndOfList};
constexpr int32_t kRates44100[] = {44100, kEndOfList};
constexpr int32_t kRates8000[] = {8000, kEndOfList};
// Opus codes at 48000 Hz; other rates are resampled to it.
constexpr int32_t kRates48000[] = {48000, kEndOfList};

// Bit rates, ascending, ended by kEndOfList.
constexpr int32_t kBitsAc3[] = {32000,  40000,  48000,  56000,  64000,  80000,     96000,
                                112000, 128000, 160000, 192000, 224000, 256000,    320000,
                                384000, 448000, 512000, 576000, 640000, kEndOfList};
constexpr int32_t kBitsAac[] = {16000,  24000,  32000,  40000,  48000,  56000,
                                64000,  80000,  96000,  112000, 128000, 144000,
                                160000, 192000, 224000, 256000, 320000, kEndOfList};
constexpr int32_t kBitsMp3[] = {8000,   16000,  24000,  32000,  40000,     48000,  56000,
                                64000,  80000,  96000,  112000, 128000,    144000, 160000,
                                192000, 224000, 256000, 320000, kEndOfList};
constexpr int32_t kBitsVorbis[] = {8000,   16000,  24000,  32000,  40000,  48000,  56000,
                                   64000,  80000,  96000,  112000, 128000, 144000, 160000,
                                   192000, 224000, 256000, 320000, 400000, 480000, kEndOfList};
// libopus takes 6 to 256 kbit/s per channel.
constexpr int32_t kBitsOpus[] = {6000,   8000,   12000,  16000,  24000,  32000,  48000,
                                 64000,  80000,  96000,  112000, 128000, 160000, 192000,
                                 224000, 256000, 320000, 384000, 448000, 510000, kEndOfList};
constexpr int32_t kBitsAmr[] = {4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200, kEndOfList};
// G.726 counts bits per code word, not bits per second.
constexpr int32_t kBitsG726[] = {2, 3, 4, 5, kEndOfList};

constexpr int32_t kMono = kMonoAllowed;
constexpr int32_t kStereo = kStereoAllowed;
constexpr int32_t kBoth = kMonoAllowed | kStereoAllowed;

constexpr CodecChoice kAmrNbChoice{kAmrNb, "Adaptive Multi-Rate (AMR) Narrow-Band", kRates8000,
                                   kBitsAmr, kMono};
constexpr CodecChoice kAlacChoice{kAlac, "ALAC (Apple Lossless Audio Codec)", kRatesAlac, nullptr,
                                  kBoth};
constexpr CodecChoice kAc3Choice{kAc3, "ATSC A/52A (AC-3)", kRatesAc3, kBitsAc3, kBoth};
constexpr CodecChoice kAacChoice{kAac, "AAC (Advanced Audio Codec)", kRatesAac, kBitsAac, kBoth};
// FLV carries AAC at 44100 Hz stereo only.
constexpr CodecChoice kAacFlvChoice{kAac, "AAC (Advanced Audio Codec)", kRates44100, kBitsAac,
                                    kStereo};
constexpr CodecChoice kSwfAdpcmChoice{kAdpcmSwf, "ADPCM", kRatesSwf, nullptr, kBoth};
constexpr CodecChoice kMp2Choice{kMp2, "MP2 (MPEG audio layer 2)", kRatesMp2, kBitsMp3, kBoth};
constexpr CodecChoice kMp3Choice{kMp3, "LAME MP3 (MPEG audio layer 3)", kRatesMp3, kBitsMp3, kBoth};
// SWF and FLV take MP3 only at the three Flash rates.
constexpr CodecChoice kMp3SwfChoice{kMp3, "LAME MP3 (MPEG audio layer 3)", kRatesSwf, kBitsMp3,
                                    kBoth};
constexpr CodecChoice kVorbisChoice{kVorbis, "Vorbis OGG Encoder", kRatesMp3, kBitsVorbis, kBoth};
constexpr CodecChoice kFlacChoice{kFlac, "FLAC (Free Lossless Audio Codec)", kRatesFlac, nullptr,
                                  kBoth};
constexpr CodecChoice kOpusChoice{kOpus, "Opus", kRates48000, kBitsOpus, kBoth};
// WavPack keeps any rate: the whole PCM list.
constexpr CodecChoice kWavPackChoice{kWavPack, "WavPack (lossless)", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kPcmU8Choice{kPcmU8, "PCM 8-bit", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kPcmS16LeChoice{kPcmS16Le, "PCM 16-bit", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kPcmS24LeChoice{kPcmS24Le, "PCM 24-bit", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kPcmS32LeChoice{kPcmS32Le, "PCM 32-bit", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kPcmF32LeChoice{kPcmF32Le, "PCM 32-bit Float", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kPcmF64LeChoice{kPcmF64Le, "PCM 64-bit Float", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kAlawChoice{kPcmAlaw, "CCITT a-Law (8-bit)", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kMulawChoice{kPcmMulaw, "CCITT mu-Law (8-bit)", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kMsAdpcmChoice{kAdpcmMs, "Microsoft ADPCM (4-bit)", kRatesPcm, nullptr,
                                     kBoth};
constexpr CodecChoice kImaWavChoice{kAdpcmImaWav, "IMA ADPCM (4-bit)", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kG726Choice{kAdpcmG726, "G.726 ADPCM", kRatesPcm, kBitsG726, kMono};
constexpr CodecChoice kYamahaChoice{kAdpcmYamaha, "Yamaha ADPCM (4-bit)", kRatesPcm, nullptr,
                                    kBoth};
// MMF holds mono Yamaha ADPCM at its own few rates.
constexpr CodecChoice kYamahaMmfChoice{kAdpcmYamaha, "Yamaha ADPCM (4-bit)", kRatesMmf, nullptr,
                                       kMono};
constexpr CodecChoice kPcmS8Choice{kPcmS8, "PCM 8-bit", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kPcmS16BeChoice{kPcmS16Be, "PCM 16-bit", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kPcmS24BeChoice{kPcmS24Be, "PCM 24-bit", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kPcmS32BeChoice{kPcmS32Be, "PCM 32-bit", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kPcmF32BeChoice{kPcmF32Be, "PCM 32-bit Float", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kPcmF64BeChoice{kPcmF64Be, "PCM 64-bit Float", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kImaQtChoice{kAdpcmImaQt, "IMA ADPCM (4-bit)", kRatesPcm, nullptr, kBoth};
constexpr CodecChoice kGsmMsChoice{kGsmMs, "Microsoft GSM", kRates8000, nullptr, kMono};
constexpr CodecChoice kGsmChoice{kGsm, "GSM", kRates8000, nullptr, kMono};

// The codec choices each row offers, in the order of its "Codec" list.
constexpr const CodecChoice* kList3gp[] = {&kAmrNbChoice, &kAacChoice};
constexpr const CodecChoice* kListAac[] = {&kAacChoice};
constexpr const CodecChoice* kListAc3[] = {&kAc3Choice};
constexpr const CodecChoice* kListAlac[] = {&kAlacChoice};
constexpr const CodecChoice* kListM4[] = {&kAacChoice, &kAlacChoice};
constexpr const CodecChoice* kListMp3[] = {&kMp3Choice};
constexpr const CodecChoice* kListMp2[] = {&kMp2Choice};
constexpr const CodecChoice* kListMpa[] = {&kMp2Choice, &kMp3Choice};
constexpr const CodecChoice* kListMmf[] = {&kYamahaMmfChoice};
constexpr const CodecChoice* kListMov[] = {&kAacChoice, &kAc3Choice, &kMp3Choice};
constexpr const CodecChoice* kListAvi[] = {&kAc3Choice,      &kMp2Choice,     &kMp3Choice,
                                           &kPcmS16LeChoice, &kMsAdpcmChoice, &kImaWavChoice};
constexpr const CodecChoice* kListMka[] = {&kAacChoice, &kAc3Choice, &kMp2Choice, &kMp3Choice};
constexpr const CodecChoice* kListFlac[] = {&kFlacChoice};
constexpr const CodecChoice* kListSwf[] = {&kMp3SwfChoice};
constexpr const CodecChoice* kListFlv[] = {&kMp3SwfChoice, &kAacFlvChoice, &kSwfAdpcmChoice};
constexpr const CodecChoice* kListOgg[] = {&kVorbisChoice, &kFlacChoice};
constexpr const CodecChoice* kListOpus[] = {&kOpusChoice};
constexpr const CodecChoice* kListWavPack[] = {&kWavPackChoice};
constexpr const CodecChoice* kListWav[] = {
    &kPcmU8Choice,    &kPcmS16LeChoice, &kPcmS24LeChoice, &kPcmS32LeChoice, &kPcmF32LeChoice,
    &kPcmF64LeChoice, &kAlawChoice,     &kMulawChoice,    &kMsAdpcmChoice,  &kImaWavChoice,
    &kG726Choice,     &kYamahaChoice,   &kGsmMsChoice,    &kMp3Choice};
constexpr const CodecChoice* kListVoc[] = {&kPcmU8Choice, &kPcmS16LeChoice, &kAlawChoice,
                                           &kMulawChoice};
constexpr const CodecChoice* kListAiff[] = {
    &kPcmS8Choice,    &kPcmS16BeChoice, &kPcmS24BeChoice, &kPcmS32BeChoice, &kPcmF32BeChoice,
    &kPcmF64BeChoice, &kAlawChoice,     &kMulawChoice,    &kImaQtChoice,    &kGsmChoice};
constexpr const CodecChoice* kListAu[] = {&kPcmS8Choice,    &kPcmS16BeChoice, &kPcmS24BeChoice,
                                          &kPcmS32BeChoice, &kPcmF32BeChoice, &kPcmF64BeChoice,
                                          &kAlawChoice,     &kMulawChoice};

constexpr std::span<const CodecChoice* const> kNoChoices{};

constexpr auto FW = FormatBackend::Framework;
constexpr auto WM = FormatBackend::WindowsMedia;
constexpr auto AMR = FormatBackend::Amr;

}  // namespace

std::vector<OutputFormat> BuildCatalog() {
  namespace fmt = format_id;
  // Fields: id, auto, codec, rate, bit rate, channels, menu label, page title,
  // extension, settings key, container, codec choices, back-end, tags.
  return {
      {fmt::k3g2, 0, kAmrNb, 8000, 10200, 1, "3G2 (audio only)", "", "3g2", "", "3g2", kList3gp, FW,
       true},
      {fmt::k3gp, 0, kAmrNb, 8000, 10200, 1, "3GP (audio only)", "", "3gp", "", "3gp", kList3gp, FW,
       true},
      {fmt::kAac, 1, kAac, 44100, 128000, 2, "", "", "aac", "", "adts", kListAac, FW, true},
      {fmt::kAacDevice, 1, kAac, 44100, 128000, 2,
       "AAC for iPod / iPhone / iPad / iTunes / DSi (*.m4a)", "AAC for iPod/DSi", "m4a",
       "AACDevice", "ipod", kListAac, FW, true},
      {fmt::kAc3, 1, kAc3, 44100, 128000, 2, "", "", "ac3", "", "ac3", kListAc3, FW, true},
      {fmt::kAiff, 1, kPcmS16Be, 44100, 128000, 2, "", "", "aiff", "", "aiff", kListAiff, FW,
       false},
      {fmt::kAlac, 1, kAlac, 44100, 0, 2, "ALAC (Apple Lossless) (*.m4a)", "ALAC", "m4a", "ALAC",
       "ipod", kListAlac, FW, true},
      {fmt::kAmr, 0, 0, 0, 0, 0, "", "", "amr", "", "", kNoChoices, AMR, false},
      {fmt::kAsf, 0, 0, 0, 0, 0, "ASF (audio only)", "", "asf", "", "", kNoChoices, WM, true},
      {fmt::kAu, 1, kPcmS16Be, 44100, 128000, 2, "", "", "au", "", "au", kListAu, FW, false},
      {fmt::kAvi, 1, kMp3, 44100, 128000, 2, "AVI (audio only)", "", "avi", "", "avi", kListAvi, FW,
       true},
      {fmt::kAwb, 0, 0, 0, 0, 0, "", "", "awb", "", "", kNoChoices, AMR, false},
      {fmt::kFlac, 1, kFlac, 44100, 128000, 2, "", "", "flac", "", "flac", kListFlac, FW, true},
      {fmt::kFlv, 1, kMp3, 44100, 128000, 2, "FLV (audio only)", "", "flv", "", "flv", kListFlv, FW,
       false},
      {fmt::kM4a, 1, kAac, 44100, 128000, 2, "M4A (MPEG-4 audio)", "", "m4a", "", "ipod", kListM4,
       FW, true},
      {fmt::kM4b, 1, kAac, 44100, 128000, 2, "M4B (MPEG-4 audiobook)", "", "m4b", "", "ipod",
       kListM4, FW, true},
      {fmt::kM4r, 1, kAac, 44100, 128000, 2, "M4R (iPhone ringtone)", "", "m4r", "", "ipod",
       kListM4, FW, true},
      {fmt::kMka, 1, kMp2, 44100, 128000, 2, "", "", "mka", "", "matroska", kListMka, FW, true},
      {fmt::kMmf, 1, kAdpcmYamaha, 44100, 0, 2, "", "", "mmf", "", "mmf", kListMmf, FW, false},
      {fmt::kMov, 1, kAac, 44100, 128000, 2, "MOV (audio only)", "", "mov", "", "mov", kListMov, FW,
       true},
      {fmt::kMp2, 1, kMp2, 44100, 128000, 2, "", "", "mp2", "", "mp2", kListMp2, FW, true},
      {fmt::kMp3, 1, kMp3, 44100, 128000, 2, "", "", "mp3", "", "mp3", kListMp3, FW, true},
      {fmt::kMp4, 1, kAac, 44100, 128000, 2, "MP4 (audio only)", "", "mp4", "", "mp4", kListAac, FW,
       true},
      {fmt::kMpa, 1, kMp2, 44100, 128000, 2, "", "", "mpa", "", "mpeg", kListMpa, FW, true},
      {fmt::kOgg, 1, kVorbis, 44100, 128000, 2, "", "", "ogg", "", "ogg", kListOgg, FW, true},
      // Opus starts at 128 kbit/s with the source's channels, where the
      // automatic choice would take 192 kbit/s for a stereo 48000 Hz output.
      {fmt::kOpus, 0, kOpus, 48000, 128000, 0, "", "", "opus", "", "opus", kListOpus, FW, true},
      {fmt::kSwf, 1, kMp3, 44100, 128000, 2, "SWF (audio only)", "", "swf", "", "swf", kListSwf, FW,
       false},
      {fmt::kVoc, 0, kPcmU8, 22050, 0, 1, "", "", "voc", "", "voc", kListVoc, FW, false},
      {fmt::kWav, 1, kPcmS16Le, 44100, 128000, 2, "", "", "wav", "", "wav", kListWav, FW, false},
      {fmt::kWma, 0, 0, 0, 0, 0, "", "", "wma", "", "", kNoChoices, WM, true},
      {fmt::kWmv, 0, 0, 0, 0, 0, "WMV (audio only)", "", "wmv", "", "", kNoChoices, WM, true},
      {fmt::kWavPack, 1, kWavPack, 44100, 0, 2, "WavPack (*.wv)", "WavPack", "wv", "", "wv",
       kListWavPack, FW, true},
  };
}

}  // namespace quillo
