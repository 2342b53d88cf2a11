#include "tests/backends/ffmpeg/SourceTestSupport.h"

#include <algorithm>
#include <cstdlib>

#include "tests/support/TestSupport.h"

namespace quillo::test {

void WriteRawPcm(const std::string& path, const std::vector<int16_t>& samples) {
  std::vector<uint8_t> bytes;
  for (int16_t s : samples) PutInt(bytes, static_cast<uint16_t>(s), 2, false);
  WriteFile(path, bytes);
}

std::vector<int16_t> TestPattern(int frames) {
  std::vector<int16_t> samples(static_cast<size_t>(frames) * 2);
  uint32_t state = 12345;
  for (int i = 0; i < frames; ++i) {
    samples[2 * i] = static_cast<int16_t>(static_cast<uint16_t>(i * 7 + 32768));
    state = state * 1664525u + 1013904223u;
    samples[2 * i + 1] = static_cast<int16_t>(state >> 16);
  }
  return samples;
}

int MaxDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b) {
  int worst = 0;
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    worst = std::max(worst, std::abs(a[i] - b[i]));
  return worst;
}

}  // namespace quillo::test
