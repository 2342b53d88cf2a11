#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/media/GenreTable.h"

namespace quillo {
namespace {

TEST(GenreTable, NamesAtBothEndsAndOutOfRange) {
  EXPECT_EQ(GenreName(0), "Blues");
  EXPECT_EQ(GenreName(17), "Rock");
  EXPECT_EQ(GenreName(79), "Hard Rock");
  EXPECT_EQ(GenreName(80), "Folk");
  EXPECT_EQ(GenreName(125), "Dance Hall");
  EXPECT_EQ(GenreName(146), "Jpop");
  EXPECT_EQ(GenreName(147), "Synthpop");
  EXPECT_EQ(GenreName(148), "");
  EXPECT_EQ(GenreName(255), "");
  EXPECT_EQ(GenreName(-1), "");
}

TEST(GenreTable, EveryNameIsPresentAndDistinct) {
  std::set<std::string_view> seen;
  for (int i = 0; i < kGenreCount; ++i) {
    EXPECT_FALSE(GenreName(i).empty()) << i;
    EXPECT_EQ(GenreName(i), GenreNames()[static_cast<size_t>(i)]);
    seen.insert(GenreName(i));
  }
  EXPECT_EQ(seen.size(), 148u);
}

}  // namespace
}  // namespace quillo
