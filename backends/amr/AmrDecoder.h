#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "backends/amr/AmrState.h"
#include "backends/amr/AmrStorageFormat.h"
#include "base/FileHandle.h"

namespace quillo {

// Reads an AMR storage-format file of one band and decodes it frame by frame
// with opencore-amrnb (narrow band) or opencore-amrwb (wide band): the
// amrnbdec and amrwbdec entry points of the AMR layer. Destroying it
// releases the decoder and its file.
class AmrDecoder {
 public:
  // Opens `path` and reads past the band's magic; null when the file cannot
  // be read, lacks the magic or no decoder state could be made.
  static std::unique_ptr<AmrDecoder> Init(const AmrStorageFormat& format, const std::string& path);

  // Decodes the next frame: returns its sample count (the band's frame size)
  // with `samples` pointing at them until the next call and `position` at
  // the file offset reached; 0 at the end of the file or of its last whole
  // frame. Bytes that cannot start a frame are skipped.
  int Decode(const int16_t** samples, uint64_t* position);

 private:
  AmrDecoder(const AmrStorageFormat& format, FileHandle file, AmrStatePtr state);

  const AmrStorageFormat& format_;
  FileHandle file_;
  AmrStatePtr state_;
  uint64_t position_ = 0;
  std::array<uint8_t, 64> frame_{};
  std::array<int16_t, kAmrMaxFrameSamples> samples_{};
};

}  // namespace quillo
