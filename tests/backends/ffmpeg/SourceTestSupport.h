#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillo::test {

// Writes interleaved 16-bit samples as raw little-endian PCM.
void WriteRawPcm(const std::string& path, const std::vector<int16_t>& samples);

// Stereo pattern with every 16-bit value on the left and pseudo-random
// values on the right, `frames` frames.
std::vector<int16_t> TestPattern(int frames);

// Largest absolute difference of two equally long sample vectors.
int MaxDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b);

}  // namespace quillo::test
