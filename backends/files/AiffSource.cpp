#include "backends/files/AiffSource.h"

#include <gsm.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "backends/files/FrameSplit.h"
#include "backends/files/Ima4Decoder.h"
#include "backends/tags/TagReader.h"
#include "base/RegularFile.h"

namespace quillo {
namespace {

int16_t Unsigned8(const uint8_t* p) { return static_cast<int16_t>((p[0] - 128) * 256); }

// Samples our decoders produced, read back in the host's byte order.
int16_t Decoded16(const uint8_t* p) {
  int16_t value = 0;
  std::memcpy(&value, p, sizeof value);
  return value;
}
int16_t Decoded32(const uint8_t* p) {
  int32_t value = 0;
  std::memcpy(&value, p, sizeof value);
  return static_cast<int16_t>(value >> 16);
}
double DecodedWide32(const uint8_t* p) {
  int32_t value = 0;
  std::memcpy(&value, p, sizeof value);
  return value / 2147483648.0;
}

// The converter of the codings read sample by sample; null for the others.
AuSampleConverter ConverterFor(const AiffHeader& header) {
  switch (header.coding) {
    case AiffCoding::Pcm: {
      constexpr AuEncoding kBySize[] = {AuEncoding::Linear8, AuEncoding::Linear16,
                                        AuEncoding::Linear24, AuEncoding::Linear32};
      return AuConverterFor(kBySize[header.sampleBytes - 1], header.byteOrder);
    }
    case AiffCoding::Unsigned8:
      return Unsigned8;
    case AiffCoding::MuLaw:
      return AuConverterFor(AuEncoding::MuLaw, ByteOrder::Big);
    case AiffCoding::ALaw:
      return AuConverterFor(AuEncoding::ALaw, ByteOrder::Big);
    case AiffCoding::Float32:
      return AuConverterFor(AuEncoding::Float, ByteOrder::Big);
    case AiffCoding::Float64:
      return AuConverterFor(AuEncoding::Double, ByteOrder::Big);
    case AiffCoding::Ima4:
    case AiffCoding::Gsm:
    case AiffCoding::Dwvw:
      break;
  }
  return nullptr;
}

// The codings of more than 16 bits, and float, are read wide: linear PCM
// aligned to its stored bytes, DWVW aligned to 32 bits by its decoder.
SampleFormat FormatOf(const AiffHeader& header) {
  switch (header.coding) {
    case AiffCoding::Pcm:
      if (header.sampleBits <= 16) return {};
      return {8 * header.sampleBytes, false};
    case AiffCoding::Float32:
      return {32, true};
    case AiffCoding::Float64:
      return {64, true};
    case AiffCoding::Dwvw:
      return header.sampleBits > 16 ? SampleFormat{24, false} : SampleFormat{};
    default:
      return {};
  }
}

AuWideConverter WideConverterFor(const AiffHeader& header) {
  switch (header.coding) {
    case AiffCoding::Pcm:
      return AuWideConverterFor(
          header.sampleBytes == 3 ? AuEncoding::Linear24 : AuEncoding::Linear32, header.byteOrder);
    case AiffCoding::Float32:
      return AuWideConverterFor(AuEncoding::Float, ByteOrder::Big);
    case AiffCoding::Float64:
      return AuWideConverterFor(AuEncoding::Double, ByteOrder::Big);
    default:
      return DecodedWide32;
  }
}

TagInfo Id3Tags(const std::string& path) {
  // The audio library's tag reader finds the "ID3 " chunk in the file.
  TagInfo tags;
  if (!audio::ReadTagInfo(path, tags)) return {};
  return tags;
}

}  // namespace

void AiffSource::GsmCloser::operator()(gsm_state* state) const { gsm_destroy(state); }

AiffSource::AiffSource()
    : refill_([this](uint8_t* into, size_t max) { return ReadData(into, max); }) {}

void AiffSource::Close() {
  file_.reset();
  header_ = AiffHeader{};
  dataLeft_ = 0;
  framesLeft_ = 0;
  delivered_ = 0;
  block_.reset();
  decoded16_.reset();
  decoded32_.reset();
  convert_ = nullptr;
  wideConvert_ = nullptr;
  format_ = {};
  gsm_.reset();
  tags_ = TagInfo{};
  ResetState();
}

bool AiffSource::Open(const std::string& path, int /*renderRate*/) {
  Close();
  uint64_t fileSize = 0;
  FileHandle file = OpenRegularFile(path, fileSize);
  if (!file) return false;

  const int fd = fileno(file.get());
  const AiffReadAt readAt = [fd](uint64_t offset, std::span<uint8_t> into) {
    size_t got = 0;
    while (got < into.size()) {
      const ssize_t n =
          pread(fd, into.data() + got, into.size() - got, static_cast<off_t>(offset + got));
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    return got;
  };
  AiffHeader header;
  AiffHeaderError error = AiffHeaderError::None;
  if (!ParseAiffHeader(readAt, fileSize, header, error)) return false;
  if (fseeko(file.get(), static_cast<off_t>(header.dataStart), SEEK_SET) != 0) return false;

  // Only a validated header sizes the buffers.
  block_ = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(header.blockBytes));
  switch (header.coding) {
    case AiffCoding::Ima4:
    case AiffCoding::Gsm:
      decoded16_ = std::make_unique_for_overwrite<int16_t[]>(
          static_cast<size_t>(header.decodedBytes / sizeof(int16_t)));
      break;
    case AiffCoding::Dwvw:
      decoded32_ = std::make_unique_for_overwrite<int32_t[]>(
          static_cast<size_t>(header.decodedBytes / sizeof(int32_t)));
      break;
    default:
      break;
  }
  if (header.coding == AiffCoding::Gsm) {
    gsm_.reset(gsm_create());
    if (!gsm_) return false;
  }
  dwvw_.Reset(header.coding == AiffCoding::Dwvw ? header.sampleBits : 16);
  if (header.hasId3) tags_ = Id3Tags(path);

  file_ = std::move(file);
  header_ = header;
  dataLeft_ = header.dataBytes;
  framesLeft_ = header.frames;
  convert_ = ConverterFor(header);
  format_ = FormatOf(header);
  if (format_.IsWide()) wideConvert_ = WideConverterFor(header);

  sourceChannels_ = header.channels;
  channels_ = header.channels < 2 ? 1 : 2;
  sampleRate_ = header.sampleRate;
  bitsPerSample_ = format_.bits;
  bytesPerSample_ = format_.bits / 8;
  progressTotal_ = fileSize;
  progressPosition_ = std::min(header.dataStart, fileSize);

  const auto rate = static_cast<uint64_t>(header.sampleRate);
  const uint64_t seconds = header.frames / rate;
  duration_ = static_cast<int>(std::min<uint64_t>(seconds, INT_MAX));
  const uint64_t kbps = seconds != 0 ? fileSize / (seconds * 125)
                                     : static_cast<uint64_t>(header.sampleBits) *
                                           static_cast<uint64_t>(header.channels) * rate / 1000;
  bitRate_ = static_cast<int>(std::min<uint64_t>(kbps, INT_MAX));
  return true;
}

size_t AiffSource::ReadData(uint8_t* into, uint64_t bytes) {
  if (!file_) return 0;
  const auto request = static_cast<size_t>(std::min(bytes, dataLeft_));
  const size_t got = std::fread(into, 1, request, file_.get());
  dataLeft_ = got < request ? 0 : dataLeft_ - got;
  progressPosition_ += got;
  return got;
}

int AiffSource::Read(int16_t* left, int16_t* right) {
  if (!file_ || left == nullptr) return 0;
  const int frames = ReadCoded(left, right);
  if (frames > 0) delivered_ += static_cast<uint64_t>(frames);
  return frames;
}

int AiffSource::ReadWide(double* left, double* right) {
  if (!file_ || left == nullptr || wideConvert_ == nullptr) return 0;
  const int frames = header_.coding == AiffCoding::Dwvw ? ReadDwvw(wideConvert_, left, right)
                                                        : ReadSamples(wideConvert_, left, right);
  if (frames > 0) delivered_ += static_cast<uint64_t>(frames);
  return frames;
}

// The length the header states: the frames of "SSND"'s stated size (DWVW:
// the count of "COMM", when it gives one). Sound data that ends well before
// it was cut short.
std::optional<EarlyEnd> AiffSource::EndedEarly() {
  if (!file_ || header_.sampleRate <= 0) return std::nullopt;
  const auto rate = static_cast<double>(header_.sampleRate);
  double stated = static_cast<double>(header_.frames);
  if (header_.coding != AiffCoding::Dwvw && header_.dataBytes > 0)
    stated *= static_cast<double>(header_.statedDataBytes) / static_cast<double>(header_.dataBytes);
  const EarlyEnd early{static_cast<double>(delivered_) / rate, stated / rate};
  if (FallsShort(early.decodedSeconds, early.announcedSeconds)) return early;
  return std::nullopt;
}

int AiffSource::ReadCoded(int16_t* left, int16_t* right) {
  switch (header_.coding) {
    case AiffCoding::Ima4:
      return ReadIma4(left, right);
    case AiffCoding::Gsm:
      return ReadGsm(left, right);
    case AiffCoding::Dwvw:
      return ReadDwvw(Decoded32, left, right);
    default:
      return ReadSamples(convert_, left, right);
  }
}

template <typename Sample>
int AiffSource::ReadSamples(Sample (*convert)(const uint8_t*), Sample* left, Sample* right) {
  const size_t got = ReadData(block_.get(), header_.blockBytes);
  const size_t sampleBytes = static_cast<size_t>(header_.sampleBytes);
  const size_t frameBytes = static_cast<size_t>(header_.channels) * sampleBytes;
  // A partial frame at the end of the data is dropped.
  const int frames = static_cast<int>(got / frameBytes);
  SplitFrames(block_.get(), frames, header_.channels, sampleBytes, convert, left, right);
  return frames;
}

int AiffSource::ReadIma4(int16_t* left, int16_t* right) {
  const auto blockBytes = static_cast<size_t>(header_.blockBytes);
  if (dataLeft_ < blockBytes || ReadData(block_.get(), blockBytes) < blockBytes) return 0;
  // Each channel has its own packet; decoding them `channels` samples apart
  // interleaves them into frames.
  const auto channels = static_cast<size_t>(header_.channels);
  for (size_t c = 0; c < channels; ++c)
    DecodeIma4Packet(block_.get() + c * kIma4PacketBytes, decoded16_.get() + c, channels);
  SplitFrames(reinterpret_cast<const uint8_t*>(decoded16_.get()),
              static_cast<int>(kIma4PacketSamples), header_.channels, sizeof(int16_t), Decoded16,
              left, right);
  return static_cast<int>(kIma4PacketSamples);
}

int AiffSource::ReadGsm(int16_t* left, int16_t* right) {
  // A frame the decoder refuses is damaged: it is skipped and decoding goes
  // on with the next one.
  while (dataLeft_ >= kAiffGsmFrameBytes) {
    if (ReadData(block_.get(), kAiffGsmFrameBytes) < kAiffGsmFrameBytes) return 0;
    if (gsm_decode(gsm_.get(), block_.get(), decoded16_.get()) < 0) continue;
    // Two channels take the 160 samples as 80 interleaved pairs.
    const int frames = static_cast<int>(kAiffGsmFrameSamples) / header_.channels;
    SplitFrames(reinterpret_cast<const uint8_t*>(decoded16_.get()), frames, header_.channels,
                sizeof(int16_t), Decoded16, left, right);
    return frames;
  }
  return 0;
}

template <typename Sample>
int AiffSource::ReadDwvw(Sample (*convert)(const uint8_t*), Sample* left, Sample* right) {
  // The bit stream does not tell where its last sample ends: when "COMM"
  // gives the count, decoding stops there, else at the end of the data.
  uint64_t frames = kMaxBlockFrames;
  if (header_.frames != 0) frames = std::min(frames, framesLeft_);
  const auto channels = static_cast<size_t>(header_.channels);
  const size_t samples = dwvw_.Decode(refill_, decoded32_.get(), frames * channels);
  const size_t whole = samples / channels;
  if (header_.frames != 0) framesLeft_ -= whole;
  SplitFrames(reinterpret_cast<const uint8_t*>(decoded32_.get()), static_cast<int>(whole),
              header_.channels, sizeof(int32_t), convert, left, right);
  return static_cast<int>(whole);
}

bool AiffSource::ReadTags(TagInfo& tags) {
  if (tags_ == TagInfo{}) return false;
  tags = tags_;
  return true;
}

}  // namespace quillo
