#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "backends/files/AiffHeader.h"
#include "backends/files/AuSamples.h"
#include "backends/files/DwvwDecoder.h"
#include "base/FileHandle.h"
#include "engine/media/MediaSource.h"
#include "engine/media/TagInfo.h"

struct gsm_state;

namespace quillo {

// Reads AIFF and AIFF-C files: linear PCM of 1 to 32 bits in either byte
// order, 8-bit offset binary, G.711, 32- and 64-bit float, IMA4 ADPCM, GSM
// 06.10 and DWVW, delivered as 16-bit PCM (samples of more than 16 bits and
// float wide, through ReadWide) with more than two channels folded to
// stereo, and the tags of an "ID3 " chunk.
class AiffSource final : public MediaSource {
 public:
  AiffSource();

  void Close() override;
  bool Open(const std::string& path, int renderRate) override;
  int Read(int16_t* left, int16_t* right) override;
  SampleFormat GetSampleFormat() override { return format_; }
  int ReadWide(double* left, double* right) override;
  bool ReadTags(TagInfo& tags) override;
  std::optional<EarlyEnd> EndedEarly() override;

 private:
  struct GsmCloser {
    void operator()(gsm_state* state) const;
  };

  // Reads up to `bytes` bytes of sound data into `into`. A short read ends
  // the data: what follows it is never asked for.
  size_t ReadData(uint8_t* into, uint64_t bytes);
  int ReadCoded(int16_t* left, int16_t* right);
  template <typename Sample>
  int ReadSamples(Sample (*convert)(const uint8_t*), Sample* left, Sample* right);
  int ReadIma4(int16_t* left, int16_t* right);
  int ReadGsm(int16_t* left, int16_t* right);
  template <typename Sample>
  int ReadDwvw(Sample (*convert)(const uint8_t*), Sample* left, Sample* right);

  FileHandle file_;
  AiffHeader header_;
  uint64_t dataLeft_ = 0;
  // DWVW frames still to deliver when "COMM" gave their count.
  uint64_t framesLeft_ = 0;
  uint64_t delivered_ = 0;  // frames handed out since Open
  // The bytes of one Read, and the samples decoded from them (16-bit for
  // IMA4 and GSM, 32-bit for DWVW); sized by the validated header.
  std::unique_ptr<uint8_t[]> block_;
  std::unique_ptr<int16_t[]> decoded16_;
  std::unique_ptr<int32_t[]> decoded32_;
  AuSampleConverter convert_ = nullptr;
  AuWideConverter wideConvert_ = nullptr;  // for a wide format
  SampleFormat format_;
  std::unique_ptr<gsm_state, GsmCloser> gsm_;
  DwvwDecoder dwvw_;
  DwvwDecoder::Refill refill_;
  TagInfo tags_;
};

}  // namespace quillo
