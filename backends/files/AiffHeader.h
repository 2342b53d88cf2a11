#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "engine/media/ByteReader.h"

namespace quillo {

// How the sound data of an AIFF or AIFF-C file is coded.
enum class AiffCoding {
  Pcm,        // signed linear PCM of 1 to 32 bits, either byte order
  Unsigned8,  // "raw ": 8-bit offset binary
  MuLaw,
  ALaw,
  Float32,
  Float64,
  Ima4,  // IMA ADPCM, one 34-byte packet of 64 samples per channel
  Gsm,   // GSM 06.10, 33-byte frames of 160 samples
  Dwvw,  // Delta With Variable Word width, 8 to 24 bits
};

// Why a file was refused.
enum class AiffHeaderError {
  None,
  NotForm,         // no "FORM" at the start
  BadFormType,     // neither "AIFF" nor "AIFC"
  NoComm,          // no "COMM" chunk
  NoSsnd,          // no "SSND" chunk
  BadCommSize,     // "COMM" not 18 bytes in AIFF, under 22 in AIFF-C, or absurdly large
  BadSsnd,         // "SSND" under 8 bytes, or its offset past its end
  BadCompression,  // a compression type the reader does not know
  BadSampleSize,   // PCM over 32 bits or of 0, DWVW outside 8 to 24
  BadChannels,     // GSM with more than two channels
  BadSampleRate,   // a rate no real file has
  BlockTooLarge,   // one block would not fit the work buffer
};

// A validated header: every value here is safe to compute with.
struct AiffHeader {
  AiffCoding coding = AiffCoding::Pcm;
  ByteOrder byteOrder = ByteOrder::Big;  // linear PCM only
  int channels = 1;
  // Bits of a sample: from "COMM" for PCM, GSM and DWVW, else the coding's.
  int sampleBits = 16;
  // Bytes of one stored sample for the codings read sample by sample.
  int sampleBytes = 2;
  int sampleRate = 0;
  // File offset of the first sample byte and the bytes of sound data there,
  // never more than the file holds.
  uint64_t dataStart = 0;
  uint64_t dataBytes = 0;
  // The bytes of sound data as "SSND" states them: more than dataBytes in a
  // file that was cut short.
  uint64_t statedDataBytes = 0;
  // Sample frames the data holds. For DWVW, whose bit stream does not tell
  // its own end, the count of "COMM", and 0 when that says nothing.
  uint64_t frames = 0;
  // Bytes one Read takes from the file.
  uint64_t blockBytes = 0;
  // Bytes of memory one Read decodes into (0 for codings that need none).
  uint64_t decodedBytes = 0;
  // Whether the file has an "ID3 " chunk.
  bool hasId3 = false;
};

// A GSM 06.10 frame: its bytes and the samples it decodes to.
inline constexpr size_t kAiffGsmFrameBytes = 33;
inline constexpr size_t kAiffGsmFrameSamples = 160;

// The work buffer of one Read is never larger than this; a header asking
// more is refused.
inline constexpr uint64_t kAiffWorkBufferBytes = 8u * 1024u * 1024u;

// Reads up to `into.size()` bytes at `offset` of the file; returns how many
// it got (fewer at the end of the file or on an error).
using AiffReadAt = std::function<size_t(uint64_t offset, std::span<uint8_t> into)>;

// Walks the chunks of a file of `fileSize` bytes, read through `readAt`, and
// validates what it finds. Reads only chunk headers and the fields it needs,
// allocates nothing; on failure returns false and sets `error`.
bool ParseAiffHeader(const AiffReadAt& readAt, uint64_t fileSize, AiffHeader& header,
                     AiffHeaderError& error);

// The 80-bit IEEE 754 extended value of "COMM" as a whole number of hertz,
// truncated; 0 for a negative or tiny value, UINT32_MAX when it is larger.
uint32_t AiffExtendedToRate(std::span<const uint8_t, 10> bytes);

}  // namespace quillo
