#include <gtest/gtest.h>

#include "engine/media/TagInfo.h"

namespace quillo {
namespace {

TEST(TrackNumberFromText, LeadingDecimalNumber) {
  EXPECT_EQ(TrackNumberFromText("7"), 7);
  EXPECT_EQ(TrackNumberFromText("  12/14"), 12);
  EXPECT_EQ(TrackNumberFromText("+3"), 3);
  EXPECT_EQ(TrackNumberFromText("-4x"), -4);
  EXPECT_EQ(TrackNumberFromText("A1"), 0);
  EXPECT_EQ(TrackNumberFromText(""), 0);
  EXPECT_EQ(TrackNumberFromText("99999999999999"), 2147483647);
}

}  // namespace
}  // namespace quillo
