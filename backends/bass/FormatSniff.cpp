#include "backends/bass/FormatSniff.h"

#include <algorithm>
#include <cstring>

namespace quillo::audio {

namespace {

bool StartsWith(std::span<const uint8_t> data, size_t at, const char* text) {
  const size_t n = std::strlen(text);
  return data.size() >= at + n && std::memcmp(data.data() + at, text, n) == 0;
}

// The length of the ADTS frame at `h`, or 0 when it is no ADTS header.
size_t AdtsFrameLength(std::span<const uint8_t> h) {
  if (h.size() < 7 || h[0] != 0xFF || (h[1] & 0xF6) != 0xF0) return 0;
  if (((h[2] >> 2) & 0x0F) > 12) return 0;  // sampling frequency index
  const size_t length = ((h[3] & 0x03u) << 11) | (h[4] << 3) | (h[5] >> 5);
  return length >= 7 ? length : 0;
}

}  // namespace

size_t Id3v2TagSize(std::span<const uint8_t> head) {
  if (head.size() < 10 || !StartsWith(head, 0, "ID3")) return 0;
  for (int i = 6; i < 10; ++i)
    if (head[i] & 0x80) return 0;
  size_t size =
      (size_t{head[6]} << 21) | (size_t{head[7]} << 14) | (size_t{head[8]} << 7) | head[9];
  size += 10;
  if (head[5] & 0x10) size += 10;  // footer
  return size;
}

bool IsFlacHead(std::span<const uint8_t> head) { return StartsWith(head, 0, "fLaC"); }

bool IsWavPackHead(std::span<const uint8_t> head) { return StartsWith(head, 0, "wvpk"); }

bool IsMp4Head(std::span<const uint8_t> head) { return StartsWith(head, 4, "ftyp"); }

bool IsAdxHead(std::span<const uint8_t> head) {
  ByteReader reader(head);
  if (head.size() < 16 || reader.U16(ByteOrder::Big) != 0x8000) return false;
  const size_t copyrightOffset = reader.U16(ByteOrder::Big).value_or(0);
  // The header ends with "(c)CRI" just before the data.
  return copyrightOffset >= 6 && StartsWith(head, copyrightOffset - 2, "(c)CRI");
}

bool IsCdaHead(std::span<const uint8_t> head) {
  return StartsWith(head, 0, "RIFF") && StartsWith(head, 8, "CDDA");
}

bool IsOggFlacHead(std::span<const uint8_t> head) {
  return StartsWith(head, 0, "OggS") && StartsWith(head, 28,
                                                   "\x7F"
                                                   "FLAC");
}

bool LooksLikeAdts(std::span<const uint8_t> head) {
  const std::span<const uint8_t> data = head;
  const size_t first = AdtsFrameLength(data);
  if (first == 0) return false;
  if (first >= data.size()) return data.size() == first;  // a single-frame file
  return AdtsFrameLength(data.subspan(first)) != 0;
}

size_t MpegFrameLength(const uint8_t* h) {
  static const int kBitrates[2][3][16] = {
      // MPEG-1: layers I, II, III
      {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
       {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
       {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
      // MPEG-2 and 2.5
      {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}}};
  static const int kRates[3] = {44100, 48000, 32000};
  if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0) return 0;
  const int version = (h[1] >> 3) & 3;  // 0: 2.5, 1: reserved, 2: 2, 3: 1
  const int layer = (h[1] >> 1) & 3;    // 1: III, 2: II, 3: I
  const int bitrateIndex = h[2] >> 4;
  const int rateIndex = (h[2] >> 2) & 3;
  if (version == 1 || layer == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
    return 0;
  const bool mpeg1 = version == 3;
  int rate = kRates[rateIndex];
  if (version == 2) rate /= 2;
  if (version == 0) rate /= 4;
  const int layerIndex = 3 - layer;  // 0: I, 1: II, 2: III
  const int kbps = kBitrates[mpeg1 ? 0 : 1][layerIndex][bitrateIndex];
  const int padding = (h[2] >> 1) & 1;
  if (layerIndex == 0) return static_cast<size_t>((12 * kbps * 1000 / rate + padding) * 4);
  const int factor = (layerIndex == 2 && !mpeg1) ? 72 : 144;
  return static_cast<size_t>(factor * kbps * 1000 / rate + padding);
}

bool LooksLikeMpegAudio(std::span<const uint8_t> data) {
  // Encoders may leave a little padding in front of the first frame. A frame
  // header can appear by chance in other data, so three in a row must agree
  // (fewer only when the file ends with them).
  constexpr int kChain = 3;
  const size_t searchLimit = std::min<size_t>(data.size(), 1024);
  for (size_t at = 0; at + 4 <= searchLimit; ++at) {
    const uint8_t* first = data.data() + at;
    if (MpegFrameLength(first) == 0) continue;
    size_t pos = at;
    int found = 0;
    bool agrees = true;
    while (found < kChain) {
      const uint8_t* h = data.data() + pos;
      const size_t length = MpegFrameLength(h);
      // Same version, layer and sampling rate as the first header.
      if (length == 0 || (h[1] & 0xFE) != (first[1] & 0xFE) || (h[2] & 0x0C) != (first[2] & 0x0C)) {
        agrees = false;
        break;
      }
      ++found;
      pos += length;
      if (pos + 4 > data.size()) break;
    }
    if (agrees && (found == kChain || pos >= data.size())) return true;
  }
  return false;
}

bool HasPcmContainerSignature(std::span<const uint8_t> head) {
  static const char* const kMagic[] = {"RIFF", "RIFX", "RF64", "riff", "FORM", "OggS",
                                       ".snd", "dns.", "caff", "Crea", "NIST", "2BIT",
                                       "PVF1", "Exte", "MATL", "ALaw"};
  for (const char* magic : kMagic)
    if (StartsWith(head, 0, magic)) return true;
  // IRCAM headers: a magic number in either byte order.
  static const uint8_t kIrcam[][4] = {{0x64, 0xA3, 0x01, 0x00}, {0x00, 0x01, 0xA3, 0x64},
                                      {0x64, 0xA3, 0x02, 0x00}, {0x00, 0x02, 0xA3, 0x64},
                                      {0x64, 0xA3, 0x03, 0x00}, {0x00, 0x03, 0xA3, 0x64},
                                      {0x64, 0xA3, 0x04, 0x00}, {0x00, 0x04, 0xA3, 0x64}};
  for (const auto& magic : kIrcam)
    if (head.size() >= 4 && std::memcmp(head.data(), magic, 4) == 0) return true;
  return false;
}

}  // namespace quillo::audio
