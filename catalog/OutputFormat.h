#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "catalog/CodecChoice.h"

namespace quillo {

// Which sink writes a row's files.
enum class FormatBackend {
  Framework,     // the FFmpeg sink
  WindowsMedia,  // the Windows Media sink
  Amr,           // the AMR sink
};

// Format ids that other parts of the program branch on. The values are stored
// in the settings ("OutputFormat").
namespace format_id {
inline constexpr int32_t kMp3 = 1000;
inline constexpr int32_t kMp2 = 1100;
inline constexpr int32_t kMpa = 1200;
inline constexpr int32_t kMka = 1400;
inline constexpr int32_t kMmf = 1500;
inline constexpr int32_t kWav = 2000;
inline constexpr int32_t kFlac = 3200;
inline constexpr int32_t kWavPack = 3300;
inline constexpr int32_t kAc3 = 3400;
inline constexpr int32_t kFlv = 3650;
inline constexpr int32_t kOgg = 4000;
inline constexpr int32_t kOpus = 4100;
inline constexpr int32_t kAu = 5000;
inline constexpr int32_t kAiff = 5100;
inline constexpr int32_t kAmr = 5500;
inline constexpr int32_t kAwb = 5600;
inline constexpr int32_t kAac = 6000;
inline constexpr int32_t kAacDevice = 6100;
inline constexpr int32_t kAlac = 6200;
inline constexpr int32_t kM4a = 6500;
inline constexpr int32_t kMp4 = 6600;
inline constexpr int32_t kM4b = 6700;
inline constexpr int32_t kM4r = 6800;
inline constexpr int32_t kWma = 7100;
inline constexpr int32_t kWmv = 7200;
inline constexpr int32_t kAsf = 7300;
inline constexpr int32_t kAvi = 8000;
inline constexpr int32_t kMov = 8100;
inline constexpr int32_t kSwf = 8200;
inline constexpr int32_t k3g2 = 8300;
inline constexpr int32_t k3gp = 8350;
inline constexpr int32_t kVoc = 8400;
}  // namespace format_id

// One row of the output format catalog. The five fields from `autoEncParam`
// to `channels` are the row's settings (loaded, edited and saved); every
// other field is constant. Texts marked "or none" are empty when absent.
struct OutputFormat {
  int32_t formatId;
  int32_t autoEncParam;            // 1: the program chooses the parameters
  int32_t codecId;                 // stored codec id of the chosen codec
  int32_t sampleRate;              // Hz; 0 = the source's
  int32_t bitRate;                 // bit/s (G.726: bits per code word); 0 = automatic
  int32_t channels;                // 1, 2; 0 = the source's
  std::string_view menuLabel;      // or none
  std::string_view pageTitle;      // or none
  std::string_view extension;      // lower case, without the dot
  std::string_view settingsKey;    // or none
  std::string_view containerName;  // muxer short name, or none
  std::span<const CodecChoice* const> codecChoices;  // empty = none
  FormatBackend backend;
  bool carriesTags;  // whether tags are handed to the sink at all
};

}  // namespace quillo
