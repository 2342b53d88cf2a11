#include "backends/files/AiffHeader.h"

#include <array>
#include <climits>
#include <optional>
#include <string>
#include <string_view>

#include "backends/files/Ima4Decoder.h"
#include "base/AsciiCase.h"
#include "engine/media/MediaSource.h"

namespace quillo {
namespace {

constexpr uint32_t kAiffCommBytes = 18;
constexpr uint32_t kAifcCommBytes = 22;  // with the compression type
constexpr uint32_t kSsndFieldBytes = 8;  // offset and block size
// Real files have a handful of chunks; a walk that meets more than this many
// is in damaged data and stops there.
constexpr int kMaxChunks = 4096;
// A frame count of all ones, like one of 0, says the count is unknown.
constexpr uint32_t kNoFrameCount = 0xFFFFFFFFu;

constexpr uint64_t kDwvwInputBytes = 256;
constexpr int kMinDwvwBits = 8;
constexpr int kMaxDwvwBits = 24;
constexpr int kMaxPcmBits = 32;

bool Fail(AiffHeaderError& error, AiffHeaderError why) {
  error = why;
  return false;
}

// The coding of a compression type (upper-cased), with the byte order of
// linear PCM and the sample size the coding fixes (0: the size of "COMM").
struct CompressionRow {
  std::string_view type;
  AiffCoding coding;
  ByteOrder order;
  int bits;
};

constexpr CompressionRow kCompressions[] = {
    {"NONE", AiffCoding::Pcm, ByteOrder::Big, 0},
    {"TWOS", AiffCoding::Pcm, ByteOrder::Big, 0},
    {"IN24", AiffCoding::Pcm, ByteOrder::Big, 0},
    {"IN32", AiffCoding::Pcm, ByteOrder::Big, 0},
    {"SOWT", AiffCoding::Pcm, ByteOrder::Little, 0},
    {"23NI", AiffCoding::Pcm, ByteOrder::Little, 0},
    {"ULAW", AiffCoding::MuLaw, ByteOrder::Big, 8},
    {"ALAW", AiffCoding::ALaw, ByteOrder::Big, 8},
    {"FL32", AiffCoding::Float32, ByteOrder::Big, 32},
    {"FL64", AiffCoding::Float64, ByteOrder::Big, 64},
    {"IMA4", AiffCoding::Ima4, ByteOrder::Big, 4},
    {"RAW ", AiffCoding::Unsigned8, ByteOrder::Big, 8},
    {"GSM ", AiffCoding::Gsm, ByteOrder::Big, 0},
    {"DWVW", AiffCoding::Dwvw, ByteOrder::Big, 0},
};

std::optional<CompressionRow> FindCompression(std::string_view type) {
  const std::string upper = AsciiUpper(type);
  for (const CompressionRow& row : kCompressions)
    if (row.type == upper) return row;
  return std::nullopt;
}

// What the walk over the chunks found, not yet trusted.
struct Chunks {
  bool aifc = false;
  bool hasComm = false;
  uint32_t commSize = 0;
  std::array<uint8_t, kAifcCommBytes> comm{};
  size_t commRead = 0;
  bool hasSsnd = false;
  uint64_t ssndData = 0;  // file offset of the chunk's data
  uint32_t ssndSize = 0;
  std::array<uint8_t, kSsndFieldBytes> ssnd{};
  size_t ssndRead = 0;
  bool hasId3 = false;
};

// Walks the chunks after the form header; the first of each kind counts.
// The walk ends where a whole chunk header cannot be read.
void WalkChunks(const AiffReadAt& readAt, uint64_t fileSize, Chunks& found) {
  uint64_t position = 12;
  for (int n = 0; n < kMaxChunks && position + 8 <= fileSize; ++n) {
    std::array<uint8_t, 8> head{};
    if (readAt(position, head) < head.size()) return;
    ByteReader reader(head);
    const std::string_view id = reader.Tag().value_or("");
    const uint32_t size = reader.U32(ByteOrder::Big).value_or(0);
    const uint64_t data = position + 8;
    if (id == "COMM" && !found.hasComm) {
      found.hasComm = true;
      found.commSize = size;
      const size_t want = std::min<size_t>(size, found.comm.size());
      found.commRead = readAt(data, std::span(found.comm).first(want));
    } else if (id == "SSND" && !found.hasSsnd) {
      found.hasSsnd = true;
      found.ssndData = data;
      found.ssndSize = size;
      const size_t want = std::min<size_t>(size, found.ssnd.size());
      found.ssndRead = readAt(data, std::span(found.ssnd).first(want));
    } else if (id == "ID3 ") {
      found.hasId3 = true;
    }
    // A chunk of odd size is followed by a pad byte.
    position = data + size + (size & 1u);
  }
}

}  // namespace

uint32_t AiffExtendedToRate(std::span<const uint8_t, 10> bytes) {
  ByteReader reader(bytes);
  const uint16_t signAndExponent = reader.U16(ByteOrder::Big).value_or(0);
  const uint64_t mantissa = reader.U64(ByteOrder::Big).value_or(0);
  if ((signAndExponent & 0x8000u) != 0 || mantissa == 0) return 0;
  // The value is mantissa x 2^(exponent - 16383 - 63): the integer bit of
  // the mantissa is explicit.
  const int exponent = static_cast<int>(signAndExponent & 0x7FFFu) - 16383;
  if (exponent < 0) return 0;
  if (exponent > 31) return UINT32_MAX;
  return static_cast<uint32_t>(mantissa >> (63 - exponent));
}

bool ParseAiffHeader(const AiffReadAt& readAt, uint64_t fileSize, AiffHeader& header,
                     AiffHeaderError& error) {
  error = AiffHeaderError::None;
  std::array<uint8_t, 12> form{};
  const size_t formBytes = readAt(0, form);
  ByteReader formReader(std::span<const uint8_t>(form).first(formBytes));
  if (formReader.Tag().value_or("") != "FORM") return Fail(error, AiffHeaderError::NotForm);
  formReader.Skip(4);  // the form size says nothing the chunks do not
  const std::string_view formType = formReader.Tag().value_or("");
  if (formType != "AIFF" && formType != "AIFC") return Fail(error, AiffHeaderError::BadFormType);

  Chunks found;
  found.aifc = formType == "AIFC";
  WalkChunks(readAt, fileSize, found);
  if (!found.hasComm) return Fail(error, AiffHeaderError::NoComm);
  if (!found.hasSsnd) return Fail(error, AiffHeaderError::NoSsnd);

  const uint32_t commBytes = found.aifc ? kAifcCommBytes : kAiffCommBytes;
  if ((found.aifc ? found.commSize < commBytes : found.commSize != commBytes) ||
      found.commSize > kAiffWorkBufferBytes || found.commRead < commBytes)
    return Fail(error, AiffHeaderError::BadCommSize);
  ByteReader comm(std::span(found.comm).first(commBytes));
  const uint16_t channelField = comm.U16(ByteOrder::Big).value_or(0);
  const uint32_t frameField = comm.U32(ByteOrder::Big).value_or(0);
  const uint16_t bitsField = comm.U16(ByteOrder::Big).value_or(0);
  const std::span<const uint8_t> rateBytes = comm.Bytes(10).value_or(std::span<const uint8_t>());
  const uint32_t rate = rateBytes.size() == 10 ? AiffExtendedToRate(rateBytes.first<10>()) : 0;
  const std::optional<CompressionRow> compression =
      FindCompression(found.aifc ? comm.Tag().value_or("") : "NONE");

  if (found.ssndSize < kSsndFieldBytes || found.ssndRead < kSsndFieldBytes)
    return Fail(error, AiffHeaderError::BadSsnd);
  ByteReader ssnd(found.ssnd);
  const uint32_t offset = ssnd.U32(ByteOrder::Big).value_or(0);
  // The block size field is of no use to a reader.
  if (offset > found.ssndSize - kSsndFieldBytes) return Fail(error, AiffHeaderError::BadSsnd);

  if (!compression) return Fail(error, AiffHeaderError::BadCompression);
  const int channels = channelField == 0 ? 1 : channelField;
  const int bits = compression->bits != 0 ? compression->bits : bitsField;
  const AiffCoding coding = compression->coding;
  if (coding == AiffCoding::Pcm && (bits < 1 || bits > kMaxPcmBits))
    return Fail(error, AiffHeaderError::BadSampleSize);
  if (coding == AiffCoding::Dwvw && (bits < kMinDwvwBits || bits > kMaxDwvwBits))
    return Fail(error, AiffHeaderError::BadSampleSize);
  // A GSM frame holds 160 samples: one channel's, or 80 stereo pairs.
  if (coding == AiffCoding::Gsm && channels > 2) return Fail(error, AiffHeaderError::BadChannels);
  if (!IsSaneSampleRate(static_cast<int>(std::min<uint32_t>(rate, INT_MAX))))
    return Fail(error, AiffHeaderError::BadSampleRate);

  // The sound data starts `offset` bytes after the two fields. The chunk's
  // pad byte is not sound: taken as a sample it would add a click, and to
  // the DWVW bit stream, garbage.
  const uint64_t dataStart = found.ssndData + kSsndFieldBytes + offset;
  const uint64_t available = dataStart < fileSize ? fileSize - dataStart : 0;
  const uint64_t statedDataBytes = found.ssndSize - kSsndFieldBytes - offset;
  const uint64_t dataBytes = std::min<uint64_t>(statedDataBytes, available);

  const uint64_t channelCount = static_cast<uint64_t>(channels);
  const int sampleBytes = (bits + 7) / 8;
  uint64_t blockBytes = 0;
  uint64_t decodedBytes = 0;
  uint64_t frames = 0;
  switch (coding) {
    case AiffCoding::Ima4:
      blockBytes = kIma4PacketBytes * channelCount;
      decodedBytes = kIma4PacketSamples * channelCount * sizeof(int16_t);
      frames = dataBytes / blockBytes * kIma4PacketSamples;
      break;
    case AiffCoding::Gsm:
      blockBytes = kAiffGsmFrameBytes;
      decodedBytes = kAiffGsmFrameSamples * sizeof(int16_t);
      frames = dataBytes / kAiffGsmFrameBytes * kAiffGsmFrameSamples / channelCount;
      break;
    case AiffCoding::Dwvw:
      blockBytes = kDwvwInputBytes;
      decodedBytes = channelCount * kMaxBlockFrames * sizeof(int32_t);
      frames = frameField == kNoFrameCount ? 0 : frameField;
      break;
    default:
      blockBytes = channelCount * kMaxBlockFrames * static_cast<uint64_t>(sampleBytes);
      frames = dataBytes / (channelCount * static_cast<uint64_t>(sampleBytes));
      break;
  }
  if (blockBytes > kAiffWorkBufferBytes || decodedBytes > kAiffWorkBufferBytes)
    return Fail(error, AiffHeaderError::BlockTooLarge);

  header.coding = coding;
  header.byteOrder = compression->order;
  header.channels = channels;
  header.sampleBits = bits;
  header.sampleBytes = sampleBytes;
  header.sampleRate = static_cast<int>(rate);
  header.dataStart = dataStart;
  header.dataBytes = dataBytes;
  header.statedDataBytes = statedDataBytes;
  header.frames = frames;
  header.blockBytes = blockBytes;
  header.decodedBytes = decodedBytes;
  header.hasId3 = found.hasId3;
  return true;
}

}  // namespace quillo
