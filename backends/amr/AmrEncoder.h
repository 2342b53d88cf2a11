#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "backends/amr/AmrState.h"
#include "backends/amr/AmrStorageFormat.h"
#include "base/FileHandle.h"

namespace quillo {

class AmrNbEncoder;

// Writes an AMR storage-format file of one band: the magic, then one frame
// per call, encoded by opencore-amrnb (narrow band) or vo-amrwbenc (wide
// band): the amrnbenc and amrwbenc entry points of the AMR layer. Every
// failure to encode or write is reported with its reason.
class AmrEncoder {
 public:
  ~AmrEncoder();  // out of line: AmrNbEncoder is complete only there
  // Creates or replaces the file at `path` and writes the magic. `mode` is
  // the band's mode (0..7 narrow, 0..8 wide). Null with `error` set on
  // failure.
  static std::unique_ptr<AmrEncoder> Init(const AmrStorageFormat& format, const std::string& path,
                                          bool dtx, int mode, std::string& error);

  const AmrStorageFormat& format() const { return format_; }

  // Encodes and appends one frame of format().frameSamples samples. False
  // when the encoder refused it or the file did not take it.
  bool Encode(const int16_t* samples);
  // Finishes and closes the file; false when the last bytes could not be
  // written. The encoder takes no frames afterwards.
  bool Quit();
  // Why the last Encode or Quit failed.
  const std::string& ErrorText() const { return error_; }

 private:
  AmrEncoder(const AmrStorageFormat& format, FileHandle file, bool dtx, int mode);
  bool Fail(std::string reason);
  bool WriteBytes(const uint8_t* bytes, size_t count);

  const AmrStorageFormat& format_;
  FileHandle file_;  // closed by Quit, which reports how closing went
  bool dtx_;
  int mode_;
  std::unique_ptr<AmrNbEncoder> narrowBand_;
  AmrStatePtr wideBand_{nullptr, nullptr};
  std::string error_;
};

}  // namespace quillo
