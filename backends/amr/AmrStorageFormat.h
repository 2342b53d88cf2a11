#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace quillo {

// One band of the AMR storage format: a magic text, then codec frames that
// each start with a header byte (P F3 F2 F1 F0 Q P P: frame type, quality and
// three padding bits that writers clear and readers ignore).
struct AmrStorageFormat {
  std::string_view magic;
  int sampleRate;
  int frameSamples;
  int modes;  // speech modes 0..modes-1, also their frame types
  // Bytes of a frame of each type, header included. Types the band does not
  // define are a bare header, as the format's reserved types are.
  std::array<uint8_t, 16> frameBytes;
  // Bit t set: the band's decoder knows frame type t (speech, comfort
  // noise, lost or no data). It is given no other type.
  uint16_t decodedTypes;
};

inline constexpr AmrStorageFormat kAmrNarrowBand{
    "#!AMR\n", 8000, 160, 8, {13, 14, 16, 18, 20, 21, 27, 32, 6, 1, 1, 1, 1, 1, 1, 1}, 0x81FF};
inline constexpr AmrStorageFormat kAmrWideBand{
    "#!AMR-WB\n", 16000, 320, 9, {18, 24, 33, 37, 41, 47, 51, 59, 61, 6, 1, 1, 1, 1, 1, 1}, 0xC3FF};

// The most samples one frame of either band decodes to.
inline constexpr int kAmrMaxFrameSamples = 320;
// The bytes the band check reads; a shorter file is no AMR file of ours.
inline constexpr size_t kAmrHeadBytes = 9;

// The band whose magic starts `head` (the first kAmrHeadBytes bytes of a
// file), or null when it is shorter than that or has neither magic. The
// magic decides, whatever the file's extension says.
const AmrStorageFormat* AmrFormatOfHead(std::span<const uint8_t> head);

// The header byte of a frame without data: what a frame of a type the
// decoder does not know is decoded as, so that it still lasts its 20 ms.
inline constexpr uint8_t kAmrNoDataHeader = (15 << 3) | 0x04;

// The frame type of a header byte, whatever its padding bits hold.
int AmrFrameType(uint8_t header);

// A header byte with its padding bits cleared, as the decoders take it.
inline constexpr uint8_t AmrCleanHeader(uint8_t header) { return header & 0x7C; }

}  // namespace quillo
