#include "backends/files/AuHeader.h"

#include <optional>
#include <string_view>
#include <utility>

#include "engine/media/ByteReader.h"
#include "engine/media/MediaSource.h"

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

std::optional<AuByteOrder> MagicOrder(std::string_view magic) {
  using namespace std::string_view_literals;
  if (magic == ".snd"sv || magic == ".sd\0"sv) {
    return AuByteOrder::Big;
  }
  if (magic == "dns."sv || magic == "\0ds."sv) {
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
  constexpr std::pair<AuEncoding, int> kBits[] = {
      {AuEncoding::MuLaw, 8},     {AuEncoding::Linear8, 8},   {AuEncoding::ALaw, 8},
      {AuEncoding::Linear16, 16}, {AuEncoding::Linear24, 24}, {AuEncoding::Linear32, 32},
      {AuEncoding::Float, 32},    {AuEncoding::Double, 64},   {AuEncoding::G721, 4},
      {AuEncoding::G723_24, 3},   {AuEncoding::G723_40, 5}};
  for (const auto& [coding, bits] : kBits)
    if (static_cast<uint32_t>(coding) == encoding) return bits;
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
  ByteReader reader(head);
  const std::optional<AuByteOrder> order = MagicOrder(reader.Tag().value_or(""));
  if (!order) {
    return Fail(error, AuHeaderError::BadMagic);
  }

  // The 24 bytes checked above hold every field.
  const uint64_t dataOffset = reader.U32(*order).value_or(0);
  const uint32_t dataSizeField = reader.U32(*order).value_or(0);
  uint32_t encoding = reader.U32(*order).value_or(0);
  uint32_t rate = reader.U32(*order).value_or(0);
  uint32_t channels = reader.U32(*order).value_or(0);

  if (encoding >= kFirstInvalidCode) {
    // Some writers shift the fields by a few bytes; take the first value
    // below the limit at the following offsets, with rate and channels
    // after it. A try whose fields run past the examined bytes fails.
    bool found = false;
    for (size_t offset = kSearchFirstOffset; offset < kSearchFirstOffset + kSearchTries; ++offset) {
      ByteReader shifted(head);
      shifted.Skip(offset);
      const std::optional<uint32_t> candidate = shifted.U32(*order);
      if (candidate && *candidate < kFirstInvalidCode) {
        encoding = *candidate;
        rate = shifted.U32(*order).value_or(0);
        channels = shifted.U32(*order).value_or(0);
        found = shifted.ok();
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

  const uint64_t channelCount = channels == 0 ? 1 : channels;
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
  header.sampleRate = (rate < kMinRate || rate > kMaxRate) ? kFallbackRate : static_cast<int>(rate);
  header.channels = static_cast<int>(channelCount);
  header.bitsPerSample = bits;
  header.blockBytes = blockBytes;
  return true;
}

}  // namespace quillo
