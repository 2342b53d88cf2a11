#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/media/MediaSink.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {

// What a framework sink is opened with in a test.
struct SinkSetup {
  std::string path;
  std::string container;
  int32_t codecId = 0;
  int sampleRate = 44100;
  int channels = 2;
  int bitRate = 0;
  int variableBitRate = 1;   // Opus
  int compressionLevel = 1;  // WavPack
};

// Configures `sink` with `setup`.
void Configure(MediaSink& sink, const SinkSetup& setup);

// Writes interleaved samples to an opened sink as planar blocks of
// `blockFrames` frames; false when a Write failed.
bool WriteAll(MediaSink& sink, const std::vector<int16_t>& interleaved, int channels,
              int blockFrames);

// Creates, opens, fills and closes a framework sink; false when Open failed.
bool EncodeWithSink(const SinkSetup& setup, const std::vector<int16_t>& interleaved,
                    int blockFrames = 1152);

}  // namespace quillo::test
