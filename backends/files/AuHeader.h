#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/media/ByteReader.h"

namespace quillo {

// The sample codings an AU file may hold, by their header codes.
enum class AuEncoding : uint32_t {
  MuLaw = 1,
  Linear8 = 2,
  Linear16 = 3,
  Linear24 = 4,
  Linear32 = 5,
  Float = 6,
  Double = 7,
  G721 = 23,
  G723_24 = 25,
  G723_40 = 26,
  ALaw = 27,
};

using AuByteOrder = ByteOrder;

// Why a header was refused.
enum class AuHeaderError {
  None,
  TooShort,       // fewer than 24 bytes
  BadMagic,       // not an AU file
  BadDataOffset,  // below 24 or past the end of the file
  BadEncoding,    // not a coding of the table, also after the damaged-header search
  BadChannels,    // ADPCM with more than two channels
  BlockTooLarge,  // one block would not fit the work buffer
};

// A validated header: every value here is safe to compute with.
struct AuHeader {
  AuByteOrder byteOrder = AuByteOrder::Big;
  AuEncoding encoding = AuEncoding::Linear16;
  uint64_t dataOffset = 0;
  // The sound data's length, never more than the file holds after the offset.
  uint64_t dataSize = 0;
  int sampleRate = 0;
  int channels = 0;
  int bitsPerSample = 0;
  // Bytes one Read asks for: channels x bits x 1152 / 8.
  uint64_t blockBytes = 0;
};

// The header lies in the first this many bytes; a damaged one is searched
// there too.
inline constexpr size_t kAuHeaderScanBytes = 120;
// The largest block the reader allocates for; a header asking more is refused.
inline constexpr uint64_t kAuWorkBufferBytes = 8u * 1024u * 1024u;

// Bits per sample of a header code, 0 for a code the reader does not know.
int AuBitsPerSample(uint32_t encoding);
bool AuIsAdpcm(AuEncoding encoding);

// Reads and validates the header from the first bytes of a file (`head`,
// up to kAuHeaderScanBytes) and the file's size. Allocates nothing; on
// failure returns false and sets `error`.
bool ParseAuHeader(std::span<const uint8_t> head, uint64_t fileSize, AuHeader& header,
                   AuHeaderError& error);

}  // namespace quillo
