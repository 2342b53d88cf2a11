#include <gtest/gtest.h>

#include <random>

#include "engine/media/Downmix.h"

namespace quillo {
namespace {

// The fold written out independently: c x value truncated toward zero.
int C(int v) { return static_cast<int>(0.707f * static_cast<float>(v)); }
int Clamp(int v) { return v > 32767 ? 32767 : v < -32768 ? -32768 : v; }

std::pair<int, int> Expected(int n, const int16_t* f) {
  switch (n) {
    case 3: return {f[0] + C(f[2]), f[1] + C(f[2])};
    case 4: return {f[0] + f[2], f[1] + f[3]};
    case 5: return {f[0] + C(f[2]) + f[3], f[1] + C(f[2]) + f[4]};
    case 6: return {f[0] + C(f[2] + f[3]) + f[4], f[1] + C(f[2] + f[3]) + f[5]};
    case 7: return {f[0] + C(f[2] + f[3] + f[4]) + f[5], f[1] + C(f[2] + f[3] + f[4]) + f[6]};
    case 8: return {f[0] + C(f[2] + f[3]) + f[4] + f[6], f[1] + C(f[2] + f[3]) + f[5] + f[7]};
    default: return {f[0], f[1]};
  }
}

TEST(DownmixToStereo, RandomFramesForEveryChannelCount) {
  std::mt19937 rng(509);
  std::uniform_int_distribution<int> sample(-32768, 32767);
  for (int n = 2; n <= 10; ++n) {
    for (int i = 0; i < 509; ++i) {
      int16_t frame[10];
      for (auto& s : frame) s = static_cast<int16_t>(sample(rng) / (i % 2 ? 1 : 8));
      int16_t l = 0, r = 0;
      DownmixToStereo(n, frame, l, r);
      const auto [el, er] = Expected(n, frame);
      ASSERT_EQ(l, Clamp(el)) << n << " channels";
      ASSERT_EQ(r, Clamp(er)) << n << " channels";
    }
  }
}

TEST(DownmixToStereo, KnownValuesTruncateAndClamp) {
  int16_t l, r;
  // Centre 1000 scaled by 0.707 gives 707; -1001 gives -707 (toward zero).
  const int16_t three[] = {100, -100, 1000};
  DownmixToStereo(3, three, l, r);
  EXPECT_EQ(l, 807);
  EXPECT_EQ(r, 607);
  const int16_t threeNeg[] = {0, 0, -1001};
  DownmixToStereo(3, threeNeg, l, r);
  EXPECT_EQ(l, -707);
  // The six-channel centre and LFE are summed before the one multiplication.
  const int16_t six[] = {0, 0, 1, 1, 0, 0};
  DownmixToStereo(6, six, l, r);
  EXPECT_EQ(l, 1);  // 0.707 * 2 = 1.414 -> 1, whereas 0 + 0 would be the separate products
  const int16_t loud[] = {32767, -32768, 32767, 32767, 32767, -32768};
  DownmixToStereo(6, loud, l, r);
  EXPECT_EQ(l, 32767);
  EXPECT_EQ(r, Clamp(-32768 + C(65534) - 32768));
  const int16_t four[] = {30000, -30000, 30000, -30000};
  DownmixToStereo(4, four, l, r);
  EXPECT_EQ(l, 32767);
  EXPECT_EQ(r, -32768);
}

}  // namespace
}  // namespace quillo
