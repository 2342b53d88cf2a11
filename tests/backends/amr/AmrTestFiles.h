#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "backends/amr/AmrDecoder.h"
#include "backends/amr/AmrEncoder.h"
#include "engine/MediaSource.h"

namespace quillo::test {

// Encodes whole frames of `samples` (a multiple of the band's frame size)
// into an AMR file at `path`.
inline void WriteAmr(const std::string& path, const AmrStorageFormat& format, int mode,
                     const std::vector<int16_t>& samples, bool dtx = false) {
  std::string error;
  auto encoder = AmrEncoder::Init(format, path, dtx, mode, error);
  ASSERT_TRUE(encoder) << error;
  for (size_t at = 0; at + format.frameSamples <= samples.size(); at += format.frameSamples)
    ASSERT_TRUE(encoder->Encode(samples.data() + at));
  ASSERT_TRUE(encoder->Quit()) << encoder->ErrorText();
}

// Every sample the decoder makes of the file, frame by frame.
inline std::vector<int16_t> DecodeFrames(const AmrStorageFormat& format, const std::string& path) {
  std::vector<int16_t> out;
  auto decoder = AmrDecoder::Init(format, path);
  if (!decoder) return out;
  const int16_t* samples = nullptr;
  uint64_t position = 0;
  for (int count; (count = decoder->Decode(&samples, &position)) > 0;)
    out.insert(out.end(), samples, samples + count);
  return out;
}

// Every sample a source delivers, with the size of each Read.
struct SourceReads {
  std::vector<int16_t> samples;
  std::vector<int> blocks;
};
inline SourceReads ReadToEnd(MediaSource& source) {
  SourceReads reads;
  std::vector<int16_t> left(kMaxBlockFrames, 0x5555);
  for (int count; (count = source.Read(left.data(), nullptr)) > 0;) {
    reads.blocks.push_back(count);
    reads.samples.insert(reads.samples.end(), left.begin(), left.begin() + count);
  }
  return reads;
}

}  // namespace quillo::test
