#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/media/MediaSource.h"

namespace quillo::test {

// Everything a source delivered, interleaved by its channel count, with the
// frame count of each Read.
struct Decoded {
  std::vector<int16_t> samples;
  int channels = 0;
  std::vector<int> blocks;
  bool rightTouched = false;  // a mono source wrote into the right buffer

  size_t Frames() const {
    return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0;
  }
  int LargestBlock() const {
    return blocks.empty() ? 0 : *std::max_element(blocks.begin(), blocks.end());
  }
  // Blocks below kMaxBlockFrames before the last.
  int ShortBlocks() const {
    if (blocks.empty()) return 0;
    return static_cast<int>(
        std::count_if(blocks.begin(), blocks.end() - 1, [](int n) { return n < kMaxBlockFrames; }));
  }
};

// Reads an opened source to its end. Fails the test where the source breaks
// its contract: a channel count other than one or two, or a block above
// kMaxBlockFrames (reading stops there). Bounded, so that a source that
// never ends fails the test instead of hanging it.
inline Decoded ReadAll(MediaSource& source) {
  Decoded decoded;
  decoded.channels = source.GetChannels();
  EXPECT_TRUE(decoded.channels == 1 || decoded.channels == 2) << decoded.channels << " channels";
  constexpr int16_t kUntouched = 0x5A5A;
  std::vector<int16_t> left(kMaxBlockFrames);
  std::vector<int16_t> right(kMaxBlockFrames, kUntouched);
  const bool stereo = decoded.channels == 2;
  // Twenty minutes at 48 kHz is far beyond any test file.
  for (int guard = 0; guard < 60000; ++guard) {
    const int n = source.Read(left.data(), stereo ? right.data() : nullptr);
    if (n <= 0) break;
    if (n > kMaxBlockFrames) {
      ADD_FAILURE() << "a block of " << n << " frames";
      break;
    }
    decoded.blocks.push_back(n);
    for (int i = 0; i < n; ++i) {
      decoded.samples.push_back(left[static_cast<size_t>(i)]);
      if (stereo) decoded.samples.push_back(right[static_cast<size_t>(i)]);
    }
  }
  if (!stereo)
    decoded.rightTouched =
        std::any_of(right.begin(), right.end(), [](int16_t v) { return v != kUntouched; });
  return decoded;
}

}  // namespace quillo::test
