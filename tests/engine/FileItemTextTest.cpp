#include <gtest/gtest.h>

#include "engine/FileItemText.h"

namespace quillo {
namespace {

TEST(FileItemText, CellsAsTheListShowsThem) {
  EXPECT_EQ(DurationCell(0), "");
  EXPECT_EQ(DurationCell(59), "00:59");
  EXPECT_EQ(DurationCell(3599), "59:59");
  EXPECT_EQ(DurationCell(3723), "1:02:03");
  EXPECT_EQ(BitRateCell(0), "");
  EXPECT_EQ(BitRateCell(128), "128 kbps");
  EXPECT_EQ(SampleRateCell(44100), "44100 Hz");
  EXPECT_EQ(SampleRateCell(0), "");
  const char* const names[] = {"Mono", "Mono", "Stereo", "2.1", "4.0", "5.0", "5.1", "6.1", "7.1", "9"};
  for (int c = 0; c <= 9; ++c) EXPECT_EQ(ChannelsCell(c), names[c]) << c;
}

}  // namespace
}  // namespace quillo
