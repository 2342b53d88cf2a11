#include "backends/files/AuSource.h"

#include <algorithm>
#include <array>
#include <climits>

#include "backends/files/FrameSplit.h"
#include "backends/files/G721Decoder.h"
#include "backends/files/G723Decoder.h"
#include "base/RegularFile.h"

namespace quillo {

void AuSource::Close() {
  file_.reset();
  buffer_.reset();
  ResetState();
  header_ = AuHeader{};
  sampleBytes_ = 0;
  convert_ = nullptr;
  wideConvert_ = nullptr;
  format_ = {};
  adpcmDecode_ = nullptr;
  adpcmState_.Reset();
  bitBuffer_ = 0;
  bitCount_ = 0;
}

bool AuSource::Open(const std::string& path, int /*renderRate*/) {
  Close();
  // Only regular files: a directory or a device has no size to check against.
  uint64_t fileSize = 0;
  FileHandle file = OpenRegularFile(path, fileSize);
  if (!file) return false;

  std::array<uint8_t, kAuHeaderScanBytes> head{};
  const size_t headBytes = std::fread(head.data(), 1, head.size(), file.get());
  AuHeader header;
  AuHeaderError error = AuHeaderError::None;
  if (!ParseAuHeader(std::span(head.data(), headBytes), fileSize, header, error)) {
    return false;
  }
  if (fseeko(file.get(), static_cast<off_t>(header.dataOffset), SEEK_SET) != 0) {
    return false;
  }

  // Only a validated header sizes the work buffer: one block of its frames.
  buffer_ = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(header.blockBytes));
  file_ = std::move(file);
  header_ = header;
  sampleBytes_ = header.bitsPerSample / 8;
  convert_ = AuConverterFor(header.encoding, header.byteOrder);
  wideConvert_ = AuWideConverterFor(header.encoding, header.byteOrder);
  format_ = AuSampleFormat(header.encoding);
  switch (header.encoding) {
    case AuEncoding::G721:
      adpcmDecode_ = G721Decode;
      break;
    case AuEncoding::G723_24:
      adpcmDecode_ = G723Decode24;
      break;
    case AuEncoding::G723_40:
      adpcmDecode_ = G723Decode40;
      break;
    default:
      adpcmDecode_ = nullptr;
      break;
  }

  sourceChannels_ = header.channels;
  channels_ = header.channels < 2 ? 1 : 2;
  sampleRate_ = header.sampleRate;
  bitsPerSample_ = format_.bits;
  bytesPerSample_ = format_.IsWide() ? sampleBytes_ : 2;
  progressTotal_ = header.dataSize;
  progressPosition_ = 0;

  const uint64_t bitsPerFrame = static_cast<uint64_t>(header.bitsPerSample) * header.channels;
  const uint64_t rate = static_cast<uint64_t>(header.sampleRate);
  const uint64_t seconds = progressTotal_ * 8 / bitsPerFrame / rate;
  duration_ = static_cast<int>(std::min<uint64_t>(seconds, INT_MAX));
  const uint64_t kbps =
      seconds != 0 ? progressTotal_ / (seconds * 125) : bitsPerFrame * rate / 1000;
  bitRate_ = static_cast<int>(std::min<uint64_t>(kbps, INT_MAX));
  return true;
}

size_t AuSource::ReadBlock() {
  const uint64_t request = std::min(header_.blockBytes, progressTotal_ - progressPosition_);
  progressPosition_ += request;
  return std::fread(buffer_.get(), 1, static_cast<size_t>(request), file_.get());
}

int AuSource::Read(int16_t* left, int16_t* right) {
  if (!file_ || left == nullptr || progressPosition_ >= progressTotal_) {
    return 0;
  }
  const size_t bytes = ReadBlock();
  return adpcmDecode_ ? DecodeAdpcm(bytes, left, right)
                      : ConvertSamples(bytes, convert_, left, right);
}

int AuSource::ReadWide(double* left, double* right) {
  if (!file_ || left == nullptr || wideConvert_ == nullptr || progressPosition_ >= progressTotal_) {
    return 0;
  }
  return ConvertSamples(ReadBlock(), wideConvert_, left, right);
}

template <typename Sample>
int AuSource::ConvertSamples(size_t bytes, Sample (*convert)(const uint8_t*), Sample* left,
                             Sample* right) {
  const size_t sampleBytes = static_cast<size_t>(sampleBytes_);
  const size_t frameBytes = static_cast<size_t>(header_.channels) * sampleBytes;
  const int frames = static_cast<int>(std::min<size_t>(bytes / frameBytes, kMaxBlockFrames));
  SplitFrames(buffer_.get(), frames, header_.channels, sampleBytes, convert, left, right);
  return frames;
}

int AuSource::NextCode(const uint8_t*& data, const uint8_t* end) {
  const int bits = header_.bitsPerSample;
  if (bitCount_ < bits && data < end) {
    bitBuffer_ |= static_cast<uint32_t>(*data++) << bitCount_;
    bitCount_ += 8;
  }
  const int code = static_cast<int>(bitBuffer_ & ((1u << bits) - 1));
  bitBuffer_ >>= bits;
  bitCount_ = std::max(bitCount_ - bits, 0);
  return code;
}

int AuSource::DecodeAdpcm(size_t bytes, int16_t* left, int16_t* right) {
  const uint64_t bitsPerFrame = static_cast<uint64_t>(header_.bitsPerSample) * header_.channels;
  const int frames =
      static_cast<int>(std::min<uint64_t>(bytes * 8 / bitsPerFrame, kMaxBlockFrames));
  const uint8_t* data = buffer_.get();
  const uint8_t* end = data + bytes;
  for (int f = 0; f < frames; ++f) {
    left[f] = adpcmDecode_(NextCode(data, end), adpcmState_);
    if (header_.channels == 2) {
      // Both channels run through the file's one decoder state.
      const int16_t r = adpcmDecode_(NextCode(data, end), adpcmState_);
      if (right != nullptr) {
        right[f] = r;
      }
    }
  }
  return frames;
}

}  // namespace quillo
