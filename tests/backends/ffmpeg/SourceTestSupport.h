#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/media/MediaSource.h"

namespace quillo::test {

// Runs the ffmpeg program with `arguments` (inputs, codecs) writing `output`;
// true when it succeeded and the file exists.
bool MakeMedia(const std::string& arguments, const std::string& output);

// Writes interleaved 16-bit samples as raw little-endian PCM.
void WriteRawPcm(const std::string& path, const std::vector<int16_t>& samples);

// Everything a source delivered, interleaved by its channel count, with how
// it arrived.
struct Decoded {
  std::vector<int16_t> samples;
  int channels = 0;
  int blocks = 0;
  int shortBlocks = 0;        // blocks below kMaxBlockFrames before the last
  bool rightTouched = false;  // a mono source wrote into the right buffer
  size_t Frames() const { return channels > 0 ? samples.size() / channels : 0; }
};

// Reads an opened source to its end (bounded, so a source that never ends
// fails the test instead of hanging it).
Decoded ReadAll(MediaSource& source);

// Stereo pattern with every 16-bit value on the left and pseudo-random
// values on the right, `frames` frames.
std::vector<int16_t> TestPattern(int frames);

// Largest absolute difference of two equally long sample vectors.
int MaxDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b);

}  // namespace quillo::test
