#include "backends/files/AuHeader.h"

#include <array>
#include <optional>

#include "engine/MediaSource.h"

namespace quillo {
namespace {

constexpr uint64_t kMinHeaderBytes = 24;
// Codes from this value on cannot be an encoding: the header is taken to be
// shifted and the encoding is searched at the next byte offsets.
constexpr uint32_t kFirstInvalidCode = 28;
constexpr size_t kSearchFirstOffset = 13;
constexpr size_t kSearchTries = 20;
constexpr uint32_t kUnknownDataSize = 0xFFFFFFFFu;
constexpr uint32_t kMinRate = 1000;
constexpr uint32_t kMaxRate = 100000;
constexpr int kFallbackRate = 8000;

std::optional<uint32_t> Field(std::span<const uint8_t> head, size_t offset, AuByteOrder order) {
  if (offset + 4 > head.size()) {
    return std::nullopt;
  }
  const uint8_t* p = head.data() + offset;
  if (order == AuByteOrder::Big) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
  }
  return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | uint32_t{p[0]};
}

std::optional<AuByteOrder> MagicOrder(std::span<const uint8_t> head) {
  const std::array<uint8_t, 4> magic{head[0], head[1], head[2], head[3]};
  if (magic == std::array<uint8_t, 4>{0x2E, 0x73, 0x6E, 0x64} ||
      magic == std::array<uint8_t, 4>{0x2E, 0x73, 0x64, 0x00}) {
    return AuByteOrder::Big;
  }
  if (magic == std::array<uint8_t, 4>{0x64, 0x6E, 0x73, 0x2E} ||
      magic == std::array<uint8_t, 4>{0x00, 0x64, 0x73, 0x2E}) {
    return AuByteOrder::Little;
  }
  return std::nullopt;
}

bool Fail(AuHeaderError& error, AuHeaderError why) {
  error = why;
  return false;
}

}  // namespace

int AuBitsPerSample(uint32_t encoding) {
  switch (static_cast<AuEncoding>(encoding)) {
    case AuEncoding::MuLaw:
    case AuEncoding::Linear8:
    case AuEncoding::ALaw:
      return 8;
    case AuEncoding::Linear16:
      return 16;
    case AuEncoding::Linear24:
      return 24;
    case AuEncoding::Linear32:
    case AuEncoding::Float:
      return 32;
    case AuEncoding::Double:
      return 64;
    case AuEncoding::G721:
      return 4;
    case AuEncoding::G723_24:
      return 3;
    case AuEncoding::G723_40:
      return 5;
  }
  return 0;
}

bool AuIsAdpcm(AuEncoding encoding) {
  return encoding == AuEncoding::G721 || encoding == AuEncoding::G723_24 ||
         encoding == AuEncoding::G723_40;
}

bool ParseAuHeader(std::span<const uint8_t> head, uint64_t fileSize, AuHeader& header,
                   AuHeaderError& error) {
  error = AuHeaderError::None;
  if (head.size() > kAuHeaderScanBytes) {
    head = head.first(kAuHeaderScanBytes);
  }
  if (head.size() < kMinHeaderBytes || fileSize < kMinHeaderBytes) {
    return Fail(error, AuHeaderError::TooShort);
  }
  const std::optional<AuByteOrder> order = MagicOrder(head);
  if (!order) {
    return Fail(error, AuHeaderError::BadMagic);
  }

  const uint64_t dataOffset = *Field(head, 4, *order);
  const uint32_t dataSizeField = *Field(head, 8, *order);
  uint32_t encoding = *Field(head, 12, *order);
  std::optional<uint32_t> rate = Field(head, 16, *order);
  std::optional<uint32_t> channels = Field(head, 20, *order);

  if (encoding >= kFirstInvalidCode) {
    // Some writers shift the fields by a few bytes; take the first value
    // below the limit at the following offsets, with rate and channels
    // after it. A try whose fields run past the examined bytes fails.
    bool found = false;
    for (size_t offset = kSearchFirstOffset; offset < kSearchFirstOffset + kSearchTries; ++offset) {
      const std::optional<uint32_t> candidate = Field(head, offset, *order);
      if (candidate && *candidate < kFirstInvalidCode) {
        encoding = *candidate;
        rate = Field(head, offset + 4, *order);
        channels = Field(head, offset + 8, *order);
        found = rate && channels;
        break;
      }
    }
    if (!found) {
      return Fail(error, AuHeaderError::BadEncoding);
    }
  }

  if (dataOffset < kMinHeaderBytes || dataOffset > fileSize) {
    return Fail(error, AuHeaderError::BadDataOffset);
  }
  const int bits = AuBitsPerSample(encoding);
  if (bits == 0) {
    return Fail(error, AuHeaderError::BadEncoding);
  }
  const auto coding = static_cast<AuEncoding>(encoding);

  const uint64_t channelCount = *channels == 0 ? 1 : *channels;
  // ADPCM codes of more than two channels have no defined interleaving; the
  // file is left to the framework.
  if (AuIsAdpcm(coding) && channelCount > 2) {
    return Fail(error, AuHeaderError::BadChannels);
  }
  const uint64_t blockBytes = channelCount * static_cast<uint64_t>(bits) * kMaxBlockFrames / 8;
  if (blockBytes > kAuWorkBufferBytes) {
    return Fail(error, AuHeaderError::BlockTooLarge);
  }

  // A declared size beyond the end of the file is cut to what the file
  // holds, so that the length and the progress match the data there is.
  const uint64_t available = fileSize - dataOffset;
  uint64_t dataSize = dataSizeField == kUnknownDataSize ? available : dataSizeField;
  if (dataSize > available) {
    dataSize = available;
  }

  header.byteOrder = *order;
  header.encoding = coding;
  header.dataOffset = dataOffset;
  header.dataSize = dataSize;
  header.sampleRate =
      (*rate < kMinRate || *rate > kMaxRate) ? kFallbackRate : static_cast<int>(*rate);
  header.channels = static_cast<int>(channelCount);
  header.bitsPerSample = bits;
  header.blockBytes = blockBytes;
  return true;
}

}  // namespace quillo
