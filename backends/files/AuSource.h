#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "backends/files/AuHeader.h"
#include "backends/files/AuSamples.h"
#include "backends/files/G72xState.h"
#include "base/FileHandle.h"
#include "engine/media/MediaSource.h"

namespace quillo {

// Reads Sun/NeXT AU files of either byte order: linear PCM of 8 to 32 bits,
// float, double, G.711 and the G.721/G.723 ADPCM codings, delivered as 16-bit
// PCM (24- and 32-bit integers and float wide, through ReadWide) with more
// than two channels folded to stereo.
class AuSource final : public MediaSource {
 public:
  void Close() override;
  bool Open(const std::string& path, int renderRate) override;
  int Read(int16_t* left, int16_t* right) override;
  SampleFormat GetSampleFormat() override { return format_; }
  int ReadWide(double* left, double* right) override;

 private:
  using AdpcmDecoder = int16_t (*)(int code, G72xState& state);

  // Reads the next block of the data; returns its size in bytes.
  size_t ReadBlock();
  template <typename Sample>
  int ConvertSamples(size_t bytes, Sample (*convert)(const uint8_t*), Sample* left, Sample* right);
  int DecodeAdpcm(size_t bytes, int16_t* left, int16_t* right);
  // The next code from the data, least significant bit first.
  int NextCode(const uint8_t*& data, const uint8_t* end);

  std::unique_ptr<uint8_t[]> buffer_;
  FileHandle file_;
  AuHeader header_;
  int sampleBytes_ = 0;
  AuSampleConverter convert_ = nullptr;
  AuWideConverter wideConvert_ = nullptr;
  SampleFormat format_;
  AdpcmDecoder adpcmDecode_ = nullptr;
  G72xState adpcmState_;
  uint32_t bitBuffer_ = 0;
  int bitCount_ = 0;
};

}  // namespace quillo
